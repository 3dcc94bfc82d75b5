#!/usr/bin/env bash
# The real program in a real X server: Xvfb with openbox, driven by real mouse clicks and
# typed digits (xdotool), checked by the colours on screen (ImageMagick's import).
#
#   tests/e2e/run.sh PROGRAM [OUTPUT_DIR]
#
# PROGRAM is the desktop program or the Windows program's .exe, played under Wine.
#
# It starts the program, checks the welcome screen, opens the drill, plays one round of
# "x 4" to its verdict with a visit to the classroom and a lesson "x 7" on the way, then
# stops the drill and waits for the program to end itself. Screenshots of failed checks
# land in OUTPUT_DIR.
set -euo pipefail

source "$(dirname "$0")/lib.sh" "$@"

start_x
start_openbox

# --- Start-up: the main window with the welcome screen -----------------------------------
start_main_window session

# The client area is the main window's colour; the welcome screen stands in it.
expect_colour client-area $((main_x + 5)) $((main_y + main_h - 5)) "$main_back"
expect_colour welcome-left $((welcome_x + $(px 200))) $((welcome_y + $(px 2000))) "$pale_yellow"
expect_colour welcome-right $((welcome_x + $(px 11000))) $((welcome_y + $(px 2000))) "$pale_yellow"
snapshot welcome "$welcome_x" "$welcome_y" "$(px 11160)" "$(px 6720)"
log "welcome screen shown"
if $windows; then expect_names welcome; fi

open_drill
expect_colour verdict-before-round "$memo_x" "$memo_y" "$light_orange"
expect_colour pencil-before-round "$pencil_x" "$pencil_y" "$light_orange"
[[ "$(pixel "$fall_x" "$fall_y")" != "$navy" ]] || fail mushroom "the falling area is bare before a round"
snapshot drill-idle "$drill_x" "$drill_y" "$drill_w" "$drill_h"
if $windows; then expect_names drill; fi

# --- A round of "x 4" ---------------------------------------------------------------------
start_round_of_4
# Five answers, or as many as a busy machine lets be typed in the first half of the round.
while ((correct < 5)) && awk -v s="$(seconds_since "$round_started")" 'BEGIN { exit !(s < 30) }'; do
  answer_one || fail round-too-short "the round ended after $correct answers"
done
((correct > 0)) || fail no-answer "no answer counted in the first half of the round"
clear_with_button=false
xdotool mousemove "$main_x" "$((main_y + main_h - 1))" # no tooltip in the picture
sleep 0.3
snapshot round "$drill_x" "$drill_y" "$drill_w" "$drill_h"
log "$correct answers counted"

# --- The red light: the classroom and a lesson "x 7" --------------------------------------
open_classroom
sevens=(0 7 14 21 28 35 42 49 56 63 70)
others=(1 8 13 22 50 71 77 100)
expect_boxes "$box_yellow" before "${sevens[@]}" "${others[@]}"
expect_colour keuze-before $keuze_x $keuze_y "$keuze_back"
expect_colour terug-hidden-before $terug_x $terug_y "$classroom_back"
snapshot classroom "$room_x" "$room_y" "$room_w" "$room_h"

lesson_button 7
click_at "$sx" "$sy"
lesson_started=$(now)
expect_boxes "$green" lesson "${sevens[@]}"
expect_boxes "$box_yellow" lesson "${others[@]}"
expect_colour keuze-hidden $keuze_x $keuze_y "$classroom_back"
log "x 7: the eleven products are green"

box_point 70
expect_colour lesson-black "$bx" "$by" "$black" 12
turned_black=$(seconds_since "$lesson_started")
expect_boxes "$black" reveal "${sevens[@]}"
expect_boxes "$box_yellow" reveal "${others[@]}"
log "the products turned black after $turned_black s"
awk -v t="$turned_black" 'BEGIN { exit !(t > 9.5 && t < 11.0) }' ||
  fail lesson-timing "the products turned black after $turned_black s, not 10 s"

expect_colour lesson-end $keuze_x $keuze_y "$keuze_back" 7
lesson_ended=$(seconds_since "$lesson_started")
[[ "$(pixel $terug_x $terug_y)" != "$classroom_back" ]] || fail terug "no terug after the lesson"
log "the table buttons and terug came back after $lesson_ended s"
awk -v t="$lesson_ended" 'BEGIN { exit !(t > 14.5 && t < 16.0) }' ||
  fail lesson-end-timing "the lesson ended after $lesson_ended s, not 15 s"

back_to_round

# --- The rest of the round, to its verdict ------------------------------------------------
while answer_one; do :; done
round_length=$(seconds_since "$round_started")
counted=$(awk -v a="$round_length" -v p="$paused" 'BEGIN { printf "%.2f", a - p }')
log "round over after $round_length s ($counted s without the help), $correct answers"
awk -v t="$counted" 'BEGIN { exit !(t > 60.0 && t < 64.0) }' ||
  fail round-length "the round counted $counted s, not 61"

# The verdict's colour by the number of correct answers; at a boundary one answer may
# have counted just as the round ended, so the neighbour is accepted there.
verdict_colour() {
  if (($1 >= 40)); then echo "$green"; elif (($1 >= 25)); then echo "$blue"
  elif (($1 >= 15)); then echo "255,255,0"; else echo "$red"; fi
}
want=$(verdict_colour "$correct")
got=$(pixel "$memo_x" "$memo_y")
for n in $((correct - 1)) $((correct + 1)); do
  [[ "$got" == "$(verdict_colour "$n")" ]] && want=$got
done
expect_colour verdict "$memo_x" "$memo_y" "$want"
expect_colour verdict-pencil "$pencil_x" "$pencil_y" "$want"
log "verdict on rgb($want) with its pencil"

# --- Stop: the information screen ends the program ----------------------------------------
click_at "$clear_x" "$clear_y" # the stop button stands there now
stopped_at=$(now)
window_gone "$drill_title"
place_form 10185 5925
info_x=$form_x info_y=$form_y
expect_colour info-screen $((info_x + $(px 1660))) $((info_y + $(px 460))) "$pale_yellow"
log "information screen shown"
snapshot information "$info_x" "$info_y" "$(px 10185)" "$(px 5925)"
if $windows; then expect_progress_on_status_bar; fi

wait_for_end no-end stop
ended=$(seconds_since "$stopped_at")
log "the program ended $ended s after stop, status $status"
((status == 0)) || fail exit-status "the program ended with status $status"
awk -v t="$ended" 'BEGIN { exit !(t > 10.5 && t < 13.0) }' ||
  fail end-timing "the program ended $ended s after stop, not about 11.3 s"
log "PASS"
