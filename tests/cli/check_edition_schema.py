#!/usr/bin/env python3
"""Holds every edition file given against the JSON Schema of the format, as an editor does
while the association writes one: the schema must take every edition the program takes."""
import json
import sys

import jsonschema

schema_file, *editions = sys.argv[1:]
with open(schema_file, encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
failed = False
for edition in editions:
    with open(edition, encoding="utf-8") as f:
        errors = sorted(validator.iter_errors(json.load(f)), key=lambda e: list(e.path))
    for error in errors:
        failed = True
        print(f"{edition}: {'/'.join(map(str, error.path))}: {error.message}")
sys.exit(1 if failed else 0)
