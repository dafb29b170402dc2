#!/usr/bin/env bash
# Runs a show program on a fresh virtual X screen and drives it as a person
# would: waits for its window, takes a picture of it, presses Space, then
# presses q (or sends SIGTERM), and records how the program ended.
#   run_window.sh PROGRAM DEPTH OUTPUT_DIR [q|sigterm]
# Writes OUTPUT_DIR/window.xwd, OUTPUT_DIR/geometry and OUTPUT_DIR/status
# ("none" when no window appeared, "hung" when it did not end).
set -u
program=$1 depth=$2 out=$3 ending=${4:-q}
rm -f "$out/window.xwd" "$out/geometry" "$out/status"
# One virtual X server at a time: runs started together would race for a
# display number, and the machine has little to spare anyway.
exec 9>"${TMPDIR:-/tmp}/quombrax-run-window.lock"
flock 9
# For a sanitizer build: SDL's own leaks are not the program's.
export LSAN_OPTIONS="suppressions=$(dirname "$(readlink -f "$0")")/sdl_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# A display number picked at random: other runs of xvfb-run -a starting at
# the same moment would otherwise race for the first free one.
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x$depth" bash -c '
  program=$1 out=$2 ending=$3
  "$program" 2>"$out/stderr" & pid=$!
  window=$(timeout 30 xdotool search --sync --name "^QUOMBRAX$" | head -1)
  if [ -z "$window" ]; then kill -9 $pid; echo none >"$out/status"; exit 0; fi
  # Key events go where the pointer and the focus are, as for a person.
  xdotool mousemove --window "$window" 128 128 windowfocus "$window"
  sleep 1
  xwininfo -id "$window" >"$out/geometry"
  xwd -silent -id "$window" >"$out/window.xwd"
  # Held for a while, as a person holds a key; quick taps are tried in
  # run_screen.sh.
  press() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }
  press space
  sleep 1
  if [ "$ending" = sigterm ]; then kill -TERM $pid; else press q; fi
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
  if kill -0 $pid 2>/dev/null; then kill -9 $pid; wait $pid; echo hung >"$out/status"; exit 0; fi
  wait $pid
  echo $? >"$out/status"
' run_window "$program" "$out" "$ending"
