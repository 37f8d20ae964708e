#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the desktop program on a virtual X display and drives it as a user would:
# 1. the console dialogue answered by simulated key strokes, the data file chosen with
#    File > Browse... (Ctrl+O); the report must equal the terminal program's on the same
#    files, and Exit end the program with code 0;
# 2. the whole dialogue pasted at once from the clipboard (xclip), with the same report;
# 3. a long run (150,000,000 starting tensors, minutes of work): the count in the status
#    bar moves, and File > Exit asks whether to stop the inversion; Yes, then No to the
#    save prompt, ends the program before the run is done, with a report marked incomplete
#    and exit code 3. The times measured are printed, never judged: the machine may be
#    busy with other work;
# 4. File > New run... (Ctrl+N) answered in its dialog by key strokes: the report equals
#    the terminal program's; a long run started the same way is stopped with Esc (its
#    report ends with the incomplete line); a second run on a copy of the data with
#    another CRSS writes its own report; Exit then ends the program with exit code 3.
# With SMOKE_SHOTS set to a folder, a screenshot of each step of 4 is kept there.
# Usage: desktop_smoke.sh GEMINO GEMINO_TERM EXAMPLES_DIR
# Exit code 77 (skipped) when Xvfb, xdotool, import (ImageMagick) or the example files are
# missing; the paste is left out (and said so) without xclip.
set -u
gemino=$1
term=$2
examples=$3
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
[ -f "$examples/params.txt" ] && [ -f "$examples/data.txt" ] ||
  { echo "skipped: no example files in $examples"; exit 77; }

work=$(mktemp -d)
xvfb_pid=""
gemino_pid=""
xclip_pid=""
cleanup() {
  [ -n "$gemino_pid" ] && kill "$gemino_pid" 2>/dev/null
  [ -n "$xclip_pid" ] && kill "$xclip_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  for log in "$work"/xvfb.log "$work"/*/gemino.log; do
    [ -s "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }
  done
  exit 1
}
now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

cd "$work" || exit 1
# The program's settings file goes to the test's folder, never the user's.
export XDG_CONFIG_HOME="$work/config"
cp "$examples/params.txt" "$examples/data.txt" "$work/"
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
export DISPLAY=":$(head -n 1 display.txt)"

# Starts the program in a fresh directory holding the example files; sets window.
start_in() {
  mkdir -p "$work/$1"
  cp "$work/params.txt" "$work/data.txt" "$work/$1/"
  cd "$work/$1" || exit 1
  "$gemino" >gemino.log 2>&1 &
  gemino_pid=$!
  window=""
  for _ in $(seq 300); do
    kill -0 "$gemino_pid" 2>/dev/null || fail "the program ended before its frame appeared"
    window=$(xdotool search --onlyvisible --name '^gemino$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || fail "the frame did not appear"
  sleep 1
  xdotool windowfocus --sync "$window"
}

# Each answer waits for the program to show its next question: text typed before the
# question would land in front of it, outside the line the program reads.
answer() {
  [ -n "$1" ] && xdotool type --delay 30 "$1"
  xdotool key Return
  sleep 1
}

wait_for_report() {
  for _ in $(seq 600); do
    cmp -s report.txt ../expected.txt && return
    sleep 0.2
  done
  cmp report.txt ../expected.txt || fail "$1: the report differs from the terminal program's"
}

# File menu, Exit: the save prompt (a box captioned VOZO) must come at once; No ends
# the program. With a run going, Exit first asks whether to stop it (a box captioned
# VOZO too): "yes" as second argument answers Yes to it. Sets prompt_time and exit_time
# (seconds) and exit_code; expects exit code $3 (0 by default).
exit_from_menu() {
  xdotool mousemove --window "$window" 20 8 click 1
  sleep 0.5
  local asked
  asked=$(now)
  xdotool key x
  local prompt=""
  for _ in $(seq 600); do
    prompt=$(xdotool search --name '^VOZO$' 2>/dev/null | head -1)
    [ -n "$prompt" ] && break
    sleep 0.05
  done
  [ -n "$prompt" ] || fail "$1: no save prompt after Exit"
  prompt_time=$(seconds_since "$asked")
  if [ "${2:-}" = yes ]; then
    xdotool key alt+y
    for _ in $(seq 600); do
      sleep 0.05
      local next
      next=$(xdotool search --name '^VOZO$' 2>/dev/null | head -1)
      [ -n "$next" ] && break
    done
  fi
  local answered
  answered=$(now)
  # No to each console's save prompt, one after the other.
  for _ in $(seq 1200); do
    kill -0 "$gemino_pid" 2>/dev/null || break
    xdotool search --name '^VOZO$' >/dev/null 2>&1 && { xdotool key alt+n; sleep 0.3; }
    sleep 0.05
  done
  kill -0 "$gemino_pid" 2>/dev/null && fail "$1: Exit did not end the program"
  exit_time=$(seconds_since "$answered")
  wait "$gemino_pid"
  exit_code=$?
  gemino_pid=""
  [ "$exit_code" = "${3:-0}" ] || fail "$1: exit code $exit_code"
}

incomplete_line='*** RAPPORT INCOMPLET : calcul interrompu ***'
ends_incomplete() {
  [ "$(tail -n 1 "$1" | tr -d '\r')" = "$incomplete_line" ]
}

shot() {
  [ -n "${SMOKE_SHOTS:-}" ] || return 0
  mkdir -p "$SMOKE_SHOTS"
  import -silent -window root "$SMOKE_SHOTS/$1.png" 2>/dev/null
}

# The New run dialog: waits for it, types the three names (each field emptied first),
# the CRSS when given, and Return.
new_run_dialog() {
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+n
  local dialog=""
  for _ in $(seq 300); do
    dialog=$(xdotool search --onlyvisible --name '^New run$' 2>/dev/null | head -1)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "no New run dialog after Ctrl+N"
  sleep 0.5
  local field
  for field in "$1" "$2" "$3"; do
    xdotool key ctrl+a BackSpace
    xdotool type --delay 10 "$field"
    xdotool key Tab
  done
  if [ -n "${4:-}" ]; then
    xdotool key ctrl+a
    xdotool type --delay 10 "$4"
  fi
  shot "$5"
  xdotool key Return
  sleep 1
}

# 1. Typed answers; the data file through Browse.
start_in typed
answer ""
answer params.txt
xdotool key ctrl+o
sleep 1.5
xdotool type --delay 30 data.txt
xdotool key Return
sleep 1
answer report.txt
wait_for_report "typed answers"
exit_from_menu "typed answers"
echo "typed answers and Browse: report identical"

# 2. The whole dialogue pasted at once.
if command -v xclip >/dev/null; then
  start_in pasted
  printf '\nparams.txt\ndata.txt\nreport.txt\n' | xclip -quiet -selection clipboard \
    >/dev/null 2>&1 &
  xclip_pid=$!
  sleep 0.5
  xdotool key ctrl+v
  wait_for_report "pasted answers"
  kill "$xclip_pid" 2>/dev/null
  xclip_pid=""
  exit_from_menu "pasted answers"
  echo "pasted answers: report identical"
else
  echo "xclip not installed: the paste of the whole dialogue left out"
fi

# 3. Exit during a long run.
start_in long
sed -i 's/^1 200 100 10 900 0 0$/1 150000000 100 10 900 0 0/' params.txt
grep -q "^1 150000000 " params.txt || fail "the example's run parameters have changed"
answer ""
answer params.txt
answer data.txt
answer report.txt
# The computation is working: the count in the status bar moves, as the user sees it.
# The bottom rows of the frame (its status bar) are taken as pixels again and again until
# they have changed twice, so that the count has moved on at least once. The loop's length
# only guards against a hang; how soon the count moves depends on the machine's load.
eval "$(xdotool getwindowgeometry --shell "$window")"
status_bar() {
  import -silent -window "$window" -crop "${WIDTH}x30+0+$((HEIGHT - 30))" rgb:- 2>/dev/null |
    md5sum
}
shown=$(status_bar)
changes=0
for _ in $(seq 600); do
  kill -0 "$gemino_pid" 2>/dev/null || fail "long run: the program ended during the run"
  now_shown=$(status_bar)
  if [ "$now_shown" != "$shown" ]; then
    changes=$((changes + 1))
    shown=$now_shown
    [ "$changes" -ge 2 ] && break
  fi
  sleep 0.1
done
[ "$changes" -ge 2 ] || fail "long run: the status bar's count does not move"
exit_from_menu "long run" yes 3
# Ended before the run was done: the report holds no tensor yet, and says it is incomplete.
grep -q 'SIGMA 1' report.txt && fail "long run: Exit waited for the run to finish"
ends_incomplete report.txt || fail "long run: the report does not say it is incomplete"
echo "long run: the count moved; question after ${prompt_time} s, program ended" \
  "${exit_time} s after the answers"

# 4. New run through its dialog, Stop, a second run.
start_in runs
mkdir -p "$work/runs/long" "$work/runs/second"
cp "$work/params.txt" "$work/data.txt" "$work/runs/long/"
cp "$work/params.txt" "$work/data.txt" "$work/runs/second/"
sed -i 's/^1 200 100 10 900 0 0$/1 150000000 100 10 900 0 0/' "$work/runs/long/params.txt"
shot 1-started
new_run_dialog "$work/runs/params.txt" data.txt report.txt "" 2-new-run-dialog
wait_for_report "New run"
shot 3-new-run-done
new_run_dialog "$work/runs/long/params.txt" data.txt report.txt "" 4-long-run-dialog
for _ in $(seq 100); do
  [ -s long/report.txt ] && break
  sleep 0.1
done
sleep 2
shot 5-long-run-going
xdotool key Escape
for _ in $(seq 300); do
  ends_incomplete long/report.txt && break
  sleep 0.1
done
ends_incomplete long/report.txt || fail "Stop: the report does not end with the incomplete line"
sleep 0.5
shot 6-stopped
new_run_dialog "$work/runs/second/params.txt" data.txt report.txt 20 7-second-run-dialog
for _ in $(seq 600); do
  cmp -s second/report.txt ../expected.txt && break
  sleep 0.2
done
cmp second/report.txt ../expected.txt || fail "second run: the report differs"
sleep 0.5
shot 8-second-run-done
exit_from_menu "runs" no 3
echo "New run, Stop and a second run: reports as expected, exit code 3"
echo "passed"
