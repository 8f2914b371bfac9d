#!/usr/bin/env bash
# The preview read over AT-SPI, as a screen reader reads it: a session bus of its own
# (which starts the accessibility bus on demand) and a virtual display.
#   test_report_atspi.sh PREVIEW_PROGRAM READER_SCRIPT
set -euo pipefail
# Debian's Python, which has the bindings (python3-pyatspi), whatever else is first in PATH.
python=/usr/bin/python3
for tool in dbus-run-session xvfb-run "$python"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
"$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$python" "$2" "$1"
