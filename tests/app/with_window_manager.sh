#!/usr/bin/env bash
# Runs a program on a virtual display of its own under a real window manager, once per
# session: the program starts afresh each time, as a user starts it, while the display
# and the manager stay.
#   with_window_manager.sh MANAGER WIDTHxHEIGHT SESSIONS PROGRAM [ARGUMENT]...
# MANAGER is openbox or xfwm4. Ends with the first failing session's status, 77 (skipped)
# where a tool is missing.
set -euo pipefail
manager=$1
size=$2
sessions=$3
shift 3
for tool in Xvfb "$manager" xprop xwininfo dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

scratch=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT

# The display's number, as the server picks a free one and tells it.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$scratch/display" ] && break
  sleep 0.05
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start"; exit 1; }
DISPLAY=":$(head -n1 "$scratch/display")"
export DISPLAY

# The manager's own settings stay out of the user's home.
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch"
case "$manager" in
  # xfwm4 reads its settings over a session bus of its own.
  xfwm4) dbus-run-session -- xfwm4 --compositor=off >"$scratch/manager.log" 2>&1 & ;;
  *) "$manager" >"$scratch/manager.log" 2>&1 & ;;
esac
pids+=($!)
# A manager is at work once it names its check window on the root window.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "$manager did not start"; cat "$scratch/manager.log"; exit 1; }

for session in $(seq "$sessions"); do
  echo "session $session of $sessions under $manager on $size"
  QT_QPA_PLATFORM=xcb "$@"
done
