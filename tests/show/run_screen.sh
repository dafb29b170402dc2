#!/usr/bin/env bash
# Runs a show program on a fresh virtual X screen of a given size, under the
# openbox window manager or under none (as a kiosk that starts one program
# with xinit), and drives it with quick taps as `xdotool key` sends them: a
# press and its release some 12 ms apart, shorter than a frame.
#   run_screen.sh PROGRAM SIZE openbox|none OUTPUT_DIR taps COUNT
#     COUNT runs of the program, each ended by one tap of q. OUTPUT_DIR/taps
#     gets a line a run: its exit status, "hung" when the tap did not end
#     it, "none" when no window appeared.
#   run_screen.sh PROGRAM SIZE openbox|none OUTPUT_DIR screen
#     once the show's picture is up, the window's geometry
#     (OUTPUT_DIR/geometry.0) and a picture of the whole X screen
#     (screen.xwd), then a tap of q; OUTPUT_DIR/status as above.
#   run_screen.sh PROGRAM SIZE openbox|none OUTPUT_DIR switch
#     as "screen", then after Alt+Enter the geometry again (geometry.1) and
#     a picture of the whole screen (switched.xwd), and after a second
#     Alt+Enter (geometry.2), then a tap of q; status.
# A geometry file holds the shell lines of `xdotool getwindowgeometry
# --shell`: WINDOW, X, Y, WIDTH, HEIGHT.
set -u
program=$1 size=$2 manager=$3 out=$4 scenario=$5 count=${6:-1}
rm -f "$out"/taps "$out"/status "$out"/geometry.* "$out"/*.xwd
# One virtual X server at a time (see run_window.sh).
exec 9>"${TMPDIR:-/tmp}/quombrax-run-window.lock"
flock 9
export LSAN_OPTIONS="suppressions=$(dirname "$(readlink -f "$0")")/sdl_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
  program=$1 manager=$2 out=$3 scenario=$4 count=$5
  # A run whose window manager never came up says so instead of running
  # without one.
  if [ "$manager" = openbox ]; then
    openbox --sm-disable 2>>"$out/stderr" & manager_pid=$!
    for _ in $(seq 300); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
      sleep 0.1
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
      echo "openbox did not start" >>"$out/stderr"
      if [ "$scenario" = taps ]; then echo "no window manager" >"$out/taps"
      else echo "no window manager" >"$out/status"; fi
      exit 0
    fi
  fi

  # Searched for again and again rather than with --sync: a search that
  # meets a window being destroyed (a frame of openbox, say) gives up.
  window_of_show() {
    local found
    for _ in $(seq 150); do
      found=$(xdotool search --name "^QUOMBRAX$" 2>/dev/null | head -1)
      [ -n "$found" ] && { echo "$found"; return; }
      sleep 0.2
    done
  }
  geometry() { xdotool getwindowgeometry --shell "$(window_of_show)"; }
  width_of() { sed -n "s/^WIDTH=//p" "$1"; }

  # Starts the program and waits for its window to take the keyboard.
  start() {
    "$program" 2>>"$out/stderr" & pid=$!
    window=$(window_of_show)
    [ -n "$window" ] || return 1
    xdotool mousemove --window "$window" 100 100 windowfocus --sync "$window" 2>/dev/null
    sleep 0.5
  }
  # The window stays black while the show starts and fades in: waits (up to
  # twenty seconds) until a byte of its pixels is neither 0 nor 255 (the
  # byte beside the colour may be either), then a moment more.
  wait_until_lit() {
    local bytes
    for _ in $(seq 80); do
      eval "$(geometry)"
      bytes=$(xwd -silent -id "$window" 2>/dev/null | tail -c $((WIDTH * HEIGHT * 4)) |
              tr -d "\000\377" | head -c 1 | wc -c)
      [ "$bytes" = 1 ] && break
      sleep 0.25
    done
    sleep 0.3
  }
  # Taps q once and says how the program ended.
  tap_q_and_wait() {
    xdotool key q
    for _ in $(seq 75); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
    if kill -0 $pid 2>/dev/null; then kill -9 $pid; wait $pid; echo hung; return; fi
    wait $pid
    echo $?
  }
  no_window() {
    { echo "no window; the program is $(kill -0 $pid 2>/dev/null && echo running || echo gone); windows:"
      xwininfo -root -tree | grep "^ *0x" | head -20; } >>"$out/stderr" 2>&1
    kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null; echo none
  }
  # Alt+Enter, then up to ten seconds for the window to change its width.
  switch_and_wait() {
    local before=$(width_of "$1")
    xdotool key alt+Return
    for _ in $(seq 50); do
      geometry >"$2"
      [ "$(width_of "$2")" != "$before" ] && break
      sleep 0.2
    done
    sleep 0.5
    geometry >"$2"
  }

  case $scenario in
    taps)
      for _ in $(seq "$count"); do
        if start; then tap_q_and_wait; else no_window; fi >>"$out/taps"
      done ;;
    screen)
      if start; then
        wait_until_lit
        geometry >"$out/geometry.0"
        xwd -silent -root >"$out/screen.xwd"
        tap_q_and_wait
      else no_window; fi >"$out/status" ;;
    switch)
      if start; then
        wait_until_lit
        geometry >"$out/geometry.0"
        xwd -silent -root >"$out/screen.xwd"
        switch_and_wait "$out/geometry.0" "$out/geometry.1"
        xwd -silent -root >"$out/switched.xwd"
        switch_and_wait "$out/geometry.1" "$out/geometry.2"
        tap_q_and_wait
      else no_window; fi >"$out/status" ;;
  esac
  if [ -n "${manager_pid:-}" ]; then
    kill -0 $manager_pid 2>/dev/null || echo "openbox ended during the run" >>"$out/stderr"
    kill $manager_pid 2>/dev/null && wait $manager_pid
  fi
  true
' run_screen "$program" "$manager" "$out" "$scenario" "$count"
