#!/usr/bin/env bash
# The real program against real window systems, where the windows meet them:
#
#   1. a bare X server without a window manager (a kiosk): the main window covers the
#      screen and the welcome screen with its start button is in sight;
#   2. X with openbox: the pointer passing from a table button onto the waiting answer
#      box keeps the explanation, and neither Alt+F4 nor the window manager's close
#      closes the drill during a round or the classroom;
#   3. a Wayland compositor (weston, headless) with XWayland: the program runs as an X
#      client there, so every window keeps its designed place and frame;
#   4. the same compositor without an X display: the program runs on Wayland itself.
#
#   tests/e2e/window_system.sh PROGRAM [OUTPUT_DIR]
set -euo pipefail

source "$(dirname "$0")/lib.sh" "$@"

# The explanation strip holds text when more than its background colour shows in it.
strip_has_text() {
  local colours
  colours=$(import -window root -crop "$(px 6255)x$(px 255)+$strip_x+$strip_y" -format '%k' info:- \
    2>/dev/null)
  ((colours > 1))
}

# --- 1. No window manager -----------------------------------------------------------------
start_x
start_program bare
find_window "$main_title"
main_x=$win_x main_y=$win_y
[[ "$win_x,$win_y ${win_w}x${win_h}" == "0,0 ${screen_width}x${screen_height}" ]] ||
  fail bare-main "without a window manager the main window is ${win_w}x${win_h} at $win_x,$win_y"
place_welcome
expect_colour bare-welcome $((welcome_x + $(px 11000))) $((welcome_y + $(px 6500))) "$pale_yellow"
((start_button_y < screen_height)) || fail bare-start "the start button lies below the screen"
log "bare X: the main window covers the screen, the start button is in sight"
stop_program

# --- 2. openbox: the pointer and closes -------------------------------------------------
start_openbox
start_main_window openbox
open_drill
in_drill 120 6000
strip_x=$sx strip_y=$sy

in_drill $((4440 + 487)) $((6360 + 487)) # "x 5"
xdotool mousemove "$sx" "$sy"
for _ in $(seq 30); do strip_has_text && break; sleep 0.1; done
strip_has_text || fail hover-button "passing over x 5 wrote no explanation"
in_drill $((2040 + 900)) $((5100 + 400)) # the answer box, waiting for the first round
xdotool mousemove "$sx" "$sy" mousemove_relative 3 2
sleep 0.5 # nothing is to happen: give the move time to be handled
strip_has_text || fail hover-answer-box "the waiting answer box cleared the explanation"
log "openbox: the waiting answer box keeps the explanation of x 5"

start_round_of_4
close_refused "$drill_title" drill
expect_colour round-goes-on "$fall_x" "$fall_y" "$navy"
open_classroom
close_refused "$classroom_title" classroom
log "openbox: Alt+F4 and the window manager's close leave the drill and the classroom open"
stop_program
kill "$wm_pid" "$xvfb_pid" 2>/dev/null || true
wait "$wm_pid" "$xvfb_pid" 2>/dev/null || true
wm_pid="" xvfb_pid=""

# --- 3. and 4. A Wayland compositor -------------------------------------------------------
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_weston() { # with or without XWayland
  : >"$work/weston.log"
  weston --backend=headless-backend.so --socket=honderdtafels-test --idle-time=0 \
    --log="$work/weston.log" "$@" 2>"$work/weston.err" &
  extra_pids+=($!)
  for _ in $(seq 50); do [[ -S "$XDG_RUNTIME_DIR/honderdtafels-test" ]] && break; sleep 0.1; done
  [[ -S "$XDG_RUNTIME_DIR/honderdtafels-test" ]] || { cat "$work/weston.log" >&2; fail weston "weston did not start"; }
}
stop_weston() {
  kill "${extra_pids[@]}" 2>/dev/null || true
  wait "${extra_pids[@]}" 2>/dev/null || true
  extra_pids=()
}

start_weston --xwayland
display=""
for _ in $(seq 50); do
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
  [[ -n "$display" ]] && break
  sleep 0.1
done
[[ -n "$display" ]] || fail xwayland "weston offered no X display"
export DISPLAY=$display WAYLAND_DISPLAY=honderdtafels-test XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
start_program xwayland
for _ in $(seq 100); do
  xdotool search --onlyvisible --class "$program_class" >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --onlyvisible --class "$program_class" >/dev/null 2>&1 ||
  fail xwayland-client "on a Wayland desktop with XWayland the program made no X window"
log "Wayland with XWayland: the program runs as an X client"
stop_program
stop_weston

start_weston
unset DISPLAY
start_program wayland
sleep 2 # the program must still run: it found a platform and made its windows
kill -0 "$app_pid" 2>/dev/null || {
  cat "$out/program-wayland.log" >&2
  fail wayland-only "without an X display the program did not run on Wayland"
}
grep -qi 'could not\|failed' "$out/program-wayland.log" &&
  fail wayland-log "the program reported a failure on Wayland: $(head -n3 "$out/program-wayland.log")"
log "Wayland without X: the program runs"
stop_program
stop_weston
log "PASS"
