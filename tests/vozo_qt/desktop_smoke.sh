#!/usr/bin/env bash
# Starts the desktop program on a virtual X display, answers the console dialogue with
# simulated key strokes, and checks that the report equals the terminal program's on
# the same files and that Exit ends the program with code 0.
# Usage: desktop_smoke.sh GEMINO GEMINO_TERM EXAMPLES_DIR
# Exit code 77 (skipped) when Xvfb, xdotool or the example files are missing.
set -u
gemino=$1
term=$2
examples=$3
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
[ -f "$examples/params.txt" ] && [ -f "$examples/data.txt" ] ||
  { echo "skipped: no example files in $examples"; exit 77; }

work=$(mktemp -d)
display=""
xvfb_pid=""
gemino_pid=""
cleanup() {
  [ -n "$gemino_pid" ] && kill "$gemino_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  for log in xvfb.log gemino.log; do [ -s "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }; done
  exit 1
}

cp "$examples/params.txt" "$examples/data.txt" "$work/"
cd "$work" || exit 1
printf '\nparams.txt\ndata.txt\nexpected.txt\n' | "$term" >term.log 2>&1 ||
  fail "the terminal program failed"

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >xvfb.log 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
  [ -s display.txt ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.1
done
[ -s display.txt ] || fail "Xvfb did not become ready"
display=":$(head -n 1 display.txt)"
export DISPLAY=$display

"$gemino" >gemino.log 2>&1 &
gemino_pid=$!
window=""
for _ in $(seq 300); do
  kill -0 "$gemino_pid" 2>/dev/null || fail "the program ended before its frame appeared"
  window=$(xdotool search --name '^gemino$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "the frame did not appear"
sleep 1
xdotool windowfocus --sync "$window"

# Each answer waits for the program to show its next question: text typed before the
# question would land in front of it, outside the line the program reads.
answer() {
  [ -n "$1" ] && xdotool type --delay 30 "$1"
  xdotool key Return
  sleep 1
}
answer ""
answer params.txt
answer data.txt
answer report.txt

# The run writes the report and then waits in the frame until the user exits.
for _ in $(seq 600); do
  cmp -s report.txt expected.txt && break
  sleep 0.2
done
cmp report.txt expected.txt || fail "the report differs from the terminal program's"

# File menu, Exit, and No to the save prompt.
xdotool mousemove --window "$window" 20 8 click 1
sleep 0.5
xdotool key x
sleep 0.5
xdotool key alt+n
for _ in $(seq 100); do
  kill -0 "$gemino_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$gemino_pid" 2>/dev/null && fail "Exit did not end the program"
wait "$gemino_pid"
code=$?
gemino_pid=""
[ "$code" = 0 ] || fail "exit code $code"
echo "passed"
