#!/usr/bin/env bash
# The real program in a real X server: Xvfb with openbox, driven by real mouse clicks and
# typed digits (xdotool), checked by the colours on screen (ImageMagick's import).
#
#   tests/e2e/run.sh PROGRAM [OUTPUT_DIR]
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
"$program" >"$out/program.log" 2>&1 &
app_pid=$!
find_window " Alle kinderen moeten alle kansen krijgen."
main_x=$win_x main_y=$win_y
log "main window at $main_x,$main_y, ${win_w}x${win_h}"

# The client area starts under the menu bar; the welcome screen stands centred on the
# display, taken inside the client area.
place_welcome
expect_colour client-area $((main_x + 5)) $((main_y + win_h - 5)) "$main_back"
expect_colour welcome-left $((welcome_x + $(px 200))) $((welcome_y + $(px 2000))) "$pale_yellow"
expect_colour welcome-right $((welcome_x + $(px 11000))) $((welcome_y + $(px 2000))) "$pale_yellow"
log "welcome screen shown"

# "Klik hier en start !" opens the drill.
click_at "$start_button_x" "$start_button_y"
find_window "Honderdtafels"
drill_x=$win_x drill_y=$win_y
log "drill at $drill_x,$drill_y, ${win_w}x${win_h}"
in_drill() { # twips inside the drill to screen pixels: sets sx, sy
  sx=$((drill_x + $(px "$1"))) sy=$((drill_y + $(px "$2")))
}

# Places in the drill (twips): the falling area's corner, the answer box, the verdict.
in_drill 200 4700
fall_x=$sx fall_y=$sy
in_drill 2040 5100
box_x=$((sx + 10)) box_y=$((sy + 12)) box_w=$(($(px 1815) - 20)) box_h=$(($(px 795) - 24))
in_drill $((7560 + 45)) $((3060 + 120))
memo_x=$sx memo_y=$sy
in_drill $((6840 + 630)) $((2880 + 330))
pencil_x=$sx pencil_y=$sy

expect_colour verdict-before-round "$memo_x" "$memo_y" "$light_orange"
expect_colour pencil-before-round "$pencil_x" "$pencil_y" "$light_orange"
[[ "$(pixel "$fall_x" "$fall_y")" != "$navy" ]] || fail mushroom "the falling area is bare before a round"

# --- A round of "x 4" ---------------------------------------------------------------------
in_drill $((3360 + 487)) $((6360 + 487))
click_at "$sx" "$sy"
round_started=$(now)
expect_colour round-started "$fall_x" "$fall_y" "$navy"
log "round of x 4 started"

box_empty() {
  local mean
  mean=$(import -window root -crop "${box_w}x${box_h}+${box_x}+${box_y}" -format '%[fx:mean.r]' info:- 2>/dev/null)
  # White digits on navy; a blinking text cursor alone stays far below this.
  awk -v m="$mean" 'BEGIN { exit !(m < 0.04) }'
}
round_running() { [[ "$(pixel "$fall_x" "$fall_y")" == "$navy" ]]; }
in_drill $((4080 + 487)) $((5040 + 427))
clear_x=$sx clear_y=$sy

# Types the products 400 .. 4000 in turn until one counts (the box empties itself); a
# wrong one stays in the box and the clear button empties it. Fails when the round ends.
correct=0
answer_one() {
  local product
  round_running || return 1
  for product in 400 800 1200 1600 2000 2400 2800 3200 3600 4000; do
    xdotool type --delay 15 "$product"
    sleep 0.08
    if box_empty; then
      round_running || return 1
      correct=$((correct + 1))
      return 0
    fi
    round_running || return 1
    # The stop button takes the clear button's place when the round ends, so a click
    # late in the round could stop the drill: the clear button is used only in the first
    # part of the round, and later the wrong answer is erased with the keyboard.
    if ((correct < 5)); then
      click_at "$clear_x" "$clear_y"
    else
      xdotool key --delay 15 ctrl+a BackSpace
    fi
    for _ in $(seq 20); do box_empty && break; sleep 0.05; done
    box_empty || round_running || return 1
    box_empty || fail clear "the answer box still holds $product after it was cleared"
  done
  return 0 # the problem landed meanwhile; the next one comes
}

while ((correct < 5)); do
  answer_one || fail round-too-short "the round ended after $correct answers"
done
log "$correct answers counted"

# --- The red light: the classroom and a lesson "x 7" --------------------------------------
in_drill $((5400 + 487)) $((5040 + 427))
click_at "$sx" "$sy"
paused_at=$(now)
find_window "A klas "
room_x=$win_x room_y=$win_y
window_gone "Honderdtafels"
log "classroom at $room_x,$room_y"

# Box k of the hundred-field, a point inside its border clear of its number.
box_point() {
  local k=$1 left top
  local columns=(120 600 1080 1560 2050 2560 3100 3590 4080 4560)
  if ((k == 0)); then
    left=4560 top=200
  else
    left=${columns[$(((k - 1) % 10))]} top=$((480 + 400 * ((k - 1) / 10)))
    if ((k % 10 == 1 && k != 1 && k != 81)); then left=110; fi
    if ((k == 26)); then top=1320; fi
  fi
  bx=$((room_x + $(px $((5520 + left))) + 3)) by=$((room_y + $(px $((1800 + top))) + 3))
}
expect_boxes() { # colour name k...
  local colour=$1 name=$2 k
  shift 2
  for k in "$@"; do
    box_point "$k"
    expect_colour "$name-box-$k" "$bx" "$by" "$colour" 1
  done
}
sevens=(0 7 14 21 28 35 42 49 56 63 70)
others=(1 8 13 22 50 71 77 100)
keuze_x=$((room_x + $(px $((10680 + 950))))) keuze_y=$((room_y + $(px $((1800 + 2000)))))
terug_x=$((room_x + $(px $((8760 + 1507))))) terug_y=$((room_y + $(px $((7200 + 367)))))

expect_boxes "$box_yellow" before "${sevens[@]}" "${others[@]}"
expect_colour keuze-before $keuze_x $keuze_y "$keuze_back"
expect_colour terug-hidden-before $terug_x $terug_y "$classroom_back"

click_at $((room_x + $(px $((10680 + 120 + 367))))) $((room_y + $(px $((1800 + 240 + 480 * 6 + 187)))))
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

click_at $terug_x $terug_y
window_gone "A klas "
find_window "Honderdtafels"
paused=$(seconds_since "$paused_at")
[[ "$win_x,$win_y" == "$drill_x,$drill_y" ]] || fail drill-moved "the drill came back elsewhere"
expect_colour resumed "$fall_x" "$fall_y" "$navy"
log "terug: back in the round after $paused s of help"

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
in_drill $((4080 + 487)) $((5040 + 427))
click_at "$sx" "$sy"
stopped_at=$(now)
window_gone "Honderdtafels"
info_x=$((main_x + (screen_width - $(px 10185)) / 2))
info_y=$((mdi_top + (screen_height - $(px 5925)) / 2))
expect_colour info-screen $((info_x + $(px 1660))) $((info_y + $(px 460))) "$pale_yellow"
log "information screen shown"

for _ in $(seq 150); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail no-end "the program still runs 15 s after stop"
status=0
wait "$app_pid" || status=$?
app_pid=""
ended=$(seconds_since "$stopped_at")
log "the program ended $ended s after stop, status $status"
((status == 0)) || fail exit-status "the program ended with status $status"
awk -v t="$ended" 'BEGIN { exit !(t > 10.5 && t < 13.0) }' ||
  fail end-timing "the program ended $ended s after stop, not about 11.3 s"
log "PASS"
