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
#
# A wrong digit from the keyboard is reported and the run goes on to the other checks.
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

# The number row without Shift: on AZERTY "&é"'(§è!çà", and digits in the answer box. In
# groups that are no product of 4, so that none counts and empties the box; a new problem
# empties it too, and then the group is typed once more.
number_row_key() { echo $(($1 == 0 ? 19 : 9 + $1)); } # X key codes on every PC keyboard
answer_box_text() {
  probe_windows
  awk -F'\t' '$3 == "Edit" { print $4; exit }' "$work/windows.txt"
}
if $windows; then
  for group in 1234 5678 90; do
    for attempt in 1 2; do
      for ((i = 0; i < ${#group}; i++)); do press_key_code "$(number_row_key "${group:i:1}")"; done
      typed=""
      for _ in $(seq 10); do
        typed=$(answer_box_text)
        [[ ${#typed} -ge ${#group} ]] && break
        sleep 0.2
      done
      [[ -n "$typed" ]] && break
    done
    if [[ "$typed" != "$group" ]]; then
      check_failed azerty "the number row's $group without Shift typed '$typed' into the answer box"
      xdotool key Return # the message that only digits may be typed, if it came
      sleep 0.5
      xdotool key ctrl+a BackSpace
      break
    fi
    xdotool key ctrl+a BackSpace
  done
  [[ " ${failed_checks[*]} " == *" azerty "* ]] ||
    log "AZERTY: the number row without Shift typed 1234567890 into the answer box"
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
# The round lasts 61 s of its own time, the help not counted, and longer by the time a
# message held its countdown (a wrong key above): the wait is generous.
deadline=$(awk -v s="$round_started" -v p="$paused" 'BEGIN { printf "%.3f", s + p + 100 }')
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
wait_for_end main-close "its main window was closed"
((status == 0)) || fail main-close-status "closing the main window ended the program with status $status"
log "the window manager's close of the main window ended the program, status 0"
end_checks
