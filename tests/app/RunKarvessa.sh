#!/usr/bin/env bash
# Runs the karvessa program from the build folder on an X server of its own
# (Xvfb, through tests/support/OwnDisplay.sh), as a player would: it must
# reach the main menu, then Escape, the Yes button and Escape on the
# purchase screen end it with exit code 0.
#   RunKarvessa.sh <karvessa program> <build folder>
set -u
prog=$1
build=$2
for tool in Xvfb xdotool; do
  if ! command -v "$tool" > /dev/null; then
    echo "$tool is not installed"
    exit 77
  fi
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT
display=$(cd "$(dirname "$0")/../support" && pwd)/OwnDisplay.sh
cd "$build" || exit 1
# KARVESSA_TIME_LIMIT only guards against a hang; the keys end the run.
bash "$display" bash -c '
  prog=$1; log=$2
  KARVESSA_TIME_LIMIT=55 "$prog" > "$log" 2>&1 &
  pid=$!
  wait_for() { for _ in $(seq 1 400); do grep -q "$1" "$log" && return 0; sleep 0.1; done; return 1; }
  tap() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; sleep 0.4; }
  wait_for "state 0 -> 1" || { kill $pid; exit 2; }
  xdotool search --sync --name "Project Karvessa" windowfocus 2> /dev/null
  # Full screen: the window covers the whole 1024 x 768 screen.
  xdotool search --name "Project Karvessa" getwindowgeometry >> "$log" 2> /dev/null
  sleep 1.5
  tap Escape
  # The cursor starts at the screen centre (400, 300); the mouse moves it
  # 1.2 pixels a step; the Yes button sits around (359, 539).
  xdotool mousemove_relative -- -34 199
  sleep 0.4
  xdotool mousedown 1; sleep 0.25; xdotool mouseup 1
  wait_for "state 1 -> 12" || echo "the Yes button was not reached"
  sleep 0.5
  tap Escape
  wait $pid
  echo "exit code $?" >> "$log"
' bash "$prog" "$log"
cat "$log" | grep -v "^ALSA\|^AL lib"
grep -q "state 0 -> 1" "$log" || { echo "FAIL: the main menu was never reached"; exit 1; }
grep -q "state 1 -> 12" "$log" || { echo "FAIL: the exit screen was never reached"; exit 1; }
grep -q "Geometry: 1024x768" "$log" || { echo "FAIL: the window does not cover the screen"; exit 1; }
grep -q "time limit reached" "$log" && { echo "FAIL: the keys did not end the run"; exit 1; }
grep -q "exit code 0" "$log" || { echo "FAIL: the program did not end with exit code 0"; exit 1; }
echo "PASS"
