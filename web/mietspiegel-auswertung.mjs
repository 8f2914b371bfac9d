#!/usr/bin/env node
// mietspiegel-auswertung under Node: the command-line evaluator's WebAssembly build, with
// its options, outputs, refusals and exit codes. Everything is decided in the module;
// this file hands in the arguments and the locale's decimal separator and writes out.
import { writeSync } from 'node:fs';
import createCommandLineModule from './command_line_module.cjs';

// The locale as the native evaluator takes it: LC_ALL, then LC_NUMERIC, then LANG.
function localeName() {
  for (const name of ['LC_ALL', 'LC_NUMERIC', 'LANG']) {
    const value = process.env[name];
    if (value) return value;
  }
  return 'C';
}

function decimalSeparatorOf(locale) {
  const tag = locale.replace(/[.@].*$/, '').replace('_', '-');
  if (tag === 'C' || tag === 'POSIX' || tag === '') return '.';
  try {
    const parts = new Intl.NumberFormat(tag).formatToParts(1.5);
    return parts.find((part) => part.type === 'decimal')?.value ?? '.';
  } catch {
    return '.';
  }
}

function writeAll(fd, text) {
  const bytes = Buffer.from(text, 'utf8');
  for (let at = 0; at < bytes.length;) at += writeSync(fd, bytes, at);
}

function withStrings(module, strings, use) {
  const pointers = strings.map((text) => {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  });
  try {
    return use(pointers);
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}

const module = await createCommandLineModule();
const args = process.argv.slice(2);
const status = withStrings(module, [...args, decimalSeparatorOf(localeName())], (pointers) => {
  const argv = module._malloc(4 * Math.max(args.length, 1));
  args.forEach((_, i) => module.HEAP32.set([pointers[i]], argv / 4 + i));
  try {
    return module._msr_run(args.length, argv, pointers[args.length]);
  } finally {
    module._free(argv);
  }
});
try {
  writeAll(1, module.UTF8ToString(module._msr_standard_output()));
} catch {
  // A closed output is the caller's choice; the status says what the run did.
}
writeAll(2, module.UTF8ToString(module._msr_standard_error()));
process.exitCode = status;
