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
# Ends the display and manager started so far.
finish_started() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  pids=()
}
finish() {
  finish_started
  rm -rf "$scratch"
}
trap finish EXIT

# The manager's own settings stay out of the user's home.
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch"

# A display with its manager at work, or 1. The display's number is picked by the server,
# which tells it once it listens.
start_display_and_manager() {
  rm -f "$scratch/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.05
  done
  [ -s "$scratch/display" ] || { echo "Xvfb did not start"; return 1; }
  DISPLAY=":$(head -n1 "$scratch/display")"
  export DISPLAY
  case "$manager" in
    # xfwm4 reads its settings over a session bus of its own.
    xfwm4) dbus-run-session -- xfwm4 --compositor=off >"$scratch/manager.log" 2>&1 & ;;
    *) "$manager" >"$scratch/manager.log" 2>&1 & ;;
  esac
  pids+=($!)
  # A manager is at work once it names its check window on the root window.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  echo "$manager did not start on $DISPLAY"
  cat "$scratch/manager.log"
  return 1
}

# A display that another test's server was just leaving can vanish under the new one (the
# old server removes its socket as it goes): then a fresh display, up to three times.
for attempt in 1 2 3; do
  start_display_and_manager && break
  finish_started
  [ "$attempt" -lt 3 ] || exit 1
done

for session in $(seq "$sessions"); do
  echo "session $session of $sessions under $manager on $size"
  QT_QPA_PLATFORM=xcb "$@"
done
