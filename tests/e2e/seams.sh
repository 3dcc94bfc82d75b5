#!/usr/bin/env bash
# Where the program meets the window system and the keyboard, in one real-time round, in
# Xvfb with openbox and a Belgian AZERTY keyboard:
#
#   - Enter on the focused start button opens the drill, and on the classroom's focused
#     table button starts its lesson;
#   - the number row without Shift types digits into the answer box (the Windows program:
#     the probe reads the box through the Win32 API);
#   - Alt+F4 and the window manager's close leave the drill during a round and the
#     classroom open;
#   - a key pressed just as the round ends presses the table just played, not stop: the
#     drill stays, a new round begins, no information screen comes;
#   - the window manager's close of the main window ends the program, with status 0.
#
#   tests/e2e/seams.sh PROGRAM [OUTPUT_DIR]
set -euo pipefail

source "$(dirname "$0")/lib.sh" "$@"

start_x
start_openbox
setxkbmap be
log "keyboard: Belgian AZERTY"

# --- Enter on the start button, which has the keyboard from the first moment -------------
start_main_window seams
xdotool key Return
find_drill
log "Enter on the start button opened the drill"

# --- A round: the number row, and closes refused ------------------------------------------
start_round_of_4

# The number row's fourth key without Shift: "'" on AZERTY, and "4" in the answer box.
number_row_4=13 # its X key code on every PC keyboard
if $windows; then
  press_key_code "$number_row_4"
  for _ in $(seq 10); do
    probe_windows
    typed=$(awk -F'\t' '$3 == "Edit" { print $4; exit }' "$work/windows.txt")
    [[ -n "$typed" ]] && break
    sleep 0.2
  done
  [[ "$typed" == 4 ]] || fail azerty "the number row's 4 without Shift typed '$typed' into the answer box"
  xdotool key BackSpace
  log "AZERTY: the number row without Shift typed 4 into the answer box"
fi

close_refused "$drill_title" drill
expect_colour round-goes-on "$fall_x" "$fall_y" "$navy"
log "Alt+F4 and the window manager's close leave the drill and its round"

open_classroom
close_refused "$classroom_title" classroom
log "Alt+F4 and the window manager's close leave the classroom"

# --- Enter on the classroom's first table button, which has the keyboard ------------------
xdotool key Return
expect_boxes "$green" lesson-by-enter 0 1 2 5 10
expect_colour keuze-hidden "$keuze_x" "$keuze_y" "$classroom_back"
log "Enter on the focused x 1 started its lesson"
expect_colour lesson-end "$keuze_x" "$keuze_y" "$keuze_back" 20
back_to_round

# --- A key just as the round ends ---------------------------------------------------------
# The round lasts 61 s of its own time, the help not counted.
deadline=$(awk -v s="$round_started" -v p="$paused" 'BEGIN { printf "%.3f", s + p + 70 }')
while round_running && awk -v t="$(now)" -v d="$deadline" 'BEGIN { exit !(t < d) }'; do
  sleep 0.05
done
round_running && fail round-end "the round did not end"
xdotool key space
ended=$(seconds_since "$round_started")
sleep 0.5 # the key is handled: what it did shows now
window_id "$drill_title" >/dev/null || fail key-after-round "a key just after the round closed the drill"
expect_colour next-round "$fall_x" "$fall_y" "$navy"
log "a key just after the round ($ended s) started the next round of x 4, not stop"

# --- The same close on the main window ends the program: the closes above arrived ---------
wm_close "$(window_id "$main_title")"
for _ in $(seq 150); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail main-close "the program still runs 15 s after its main window was closed"
status=0
wait "$app_pid" || status=$?
app_pid=""
((status == 0)) || fail main-close-status "closing the main window ended the program with status $status"
log "the window manager's close of the main window ended the program, status 0"
log "PASS"
