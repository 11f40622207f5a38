#!/usr/bin/env bash
# Runs a command on an X server of its own: Xvfb, one 1024x768 screen of
# 24 bits, reached only through its local socket. Tests that open windows
# run through it side by side, each with its own screen and keyboard focus.
# Xvfb picks a free display number itself and writes it once it accepts
# clients, so two of these never race for one number. A listing of a test
# program's cases opens no window and gets no server.
#   OwnDisplay.sh <command> [arguments...]
set -u
for arg in "$@"; do
  [ "$arg" = "--gtest_list_tests" ] && exec "$@"
done

dir=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2> /dev/null
    wait "$xvfb" 2> /dev/null
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$dir/display" 2> "$dir/log" &
xvfb=$!
number=
read -r number < "$dir/display"
if [ -z "$number" ]; then
  echo "Xvfb did not start:"
  cat "$dir/log"
  exit 1
fi
DISPLAY=:$number "$@"
