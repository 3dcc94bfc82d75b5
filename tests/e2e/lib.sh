# shellcheck shell=bash
# Shared by the end-to-end scripts: a private X server, a window manager, the program under
# test, and reading its windows and colours off the screen. A script sources it with its own
# arguments, PROGRAM [OUTPUT_DIR]; screenshots of failed checks land in OUTPUT_DIR.
#
# PROGRAM is the desktop program or the Windows one (a path ending in .exe), which runs
# under Wine in a prefix of its own (tests/wine/prefix.sh). The Windows program's windows
# are read through the Win32 API by tests/wine/probe.cpp, built beside it as probe.exe
# (or HONDERDTAFELS_PROBE), which runs under the same Wine server.

program=$(realpath "${1:?usage: $(basename "$0") PROGRAM [OUTPUT_DIR]}")
out=$(realpath -m "${2:-e2e-output}")
mkdir -p "$out"
rm -f "$out"/fail-*.png
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

windows=false
[[ "$program" == *.exe ]] && windows=true

work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid="" extra_pids=()
cleanup() {
  local pid
  for pid in "$app_pid" "${extra_pids[@]}" "$wm_pid" "$xvfb_pid"; do
    if [[ -n "$pid" ]]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  if [[ -n "${WINEPREFIX:-}" ]]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$work"
  return 0
}
trap cleanup EXIT

now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
log() { printf '[%6.2f s] %s\n' "$(seconds_since "$started")" "$*"; }
fail() {
  local shot="$out/fail-$1.png"
  import -window root "$shot" 2>/dev/null || true
  echo "FAIL: $2 (screenshot: $shot)" >&2
  describe_windows >&2
  exit 1
}

# What the screenshot of a failure cannot show: whether the window manager still runs, and
# for each of the program's windows what it offers the window manager (Wine takes the close
# out of a disabled window's Motif functions, 0x20) and in which state it is.
describe_windows() {
  [[ -n "${DISPLAY:-}" ]] || return 0
  if [[ -n "$wm_pid" ]]; then
    kill -0 "$wm_pid" 2>/dev/null && echo "the window manager runs" || echo "the window manager has ended"
  fi
  local id
  for id in $(xdotool search --onlyvisible --class "${program_class:-.}" 2>/dev/null); do
    echo "window $id: $(xprop -id "$id" WM_NAME _MOTIF_WM_HINTS _NET_WM_STATE 2>/dev/null | tr '\n' ' ')"
  done
}

# A failed check after which the run can go on: kept, with its screenshot, and reported by
# end_checks at the end.
failed_checks=()
check_failed() {
  import -window root "$out/fail-$1.png" 2>/dev/null || true
  echo "FAIL: $2 (screenshot: $out/fail-$1.png)" >&2
  failed_checks+=("$1")
}
end_checks() {
  ((${#failed_checks[@]} == 0)) || { echo "FAIL: ${failed_checks[*]}" >&2; exit 1; }
  log "PASS"
}

started=$(now)

# Starts Xvfb on a display nobody uses, screen_width x screen_height, and exports DISPLAY.
# -noreset: a server that resets when its last client leaves drops a client that is still
# connecting at that moment (a window manager or a program starting while xprop or xdotool
# ends), which then finds no display.
start_x() {
  screen_width=1280 screen_height=1024
  Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
  [[ -s "$work/display" ]] || { cat "$work/xvfb.log" >&2; fail xvfb "Xvfb did not start"; }
  export DISPLAY=":$(head -n1 "$work/display")"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  log "Xvfb on $DISPLAY"
}

start_openbox() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$work/openbox.log" >&2
  fail openbox "openbox did not take the screen"
}

# --- The program ---------------------------------------------------------------------------
if $windows; then
  probe_exe=$(realpath "${HONDERDTAFELS_PROBE:-$(dirname "$program")/probe.exe}")
  [[ -f "$probe_exe" ]] || { echo "no probe at $probe_exe" >&2; exit 1; }
  eval "$("$e2e_dir/../wine/prefix.sh" "$work/prefix")"
  # The X class Wine gives a program's windows is its file name.
  program_class='^honderdtafels\.exe$'
else
  program_class='^honderdtafels$'
fi

# Starts the program, its output in $out/program-$1.log: sets app_pid (under Wine, the
# process that ends with the program's own exit status).
start_program() {
  if $windows; then
    wine "$program" >"$out/program-$1.log" 2>&1 &
  else
    "$program" >"$out/program-$1.log" 2>&1 &
  fi
  app_pid=$!
}

stop_program() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  if $windows; then wineserver -k 2>/dev/null || true; fi
}

# The Windows program's visible windows, one a line, as tests/wine/probe.cpp lists them:
# handle, parent ("desktop" for a top-level window), class, text, client area on the screen
# (x,y,w,h), MSAA role and name.
probe() {
  timeout 30 wine "$probe_exe" "$@"
}
# Lists the windows as probe does into $work/windows.txt.
probe_windows() {
  probe windows >"$work/windows.txt"
}

# Sets win_x, win_y, win_w, win_h from the probe's line for a window (its client area).
client_area_from() {
  IFS=, read -r win_x win_y win_w win_h <<<"$(cut -f5 <<<"$1")"
}

# The role, name and description a screen reader reads for the Windows program's first
# window of class $1 titled $2, as probe_windows last listed them, tab-separated.
accessible() {
  awk -F'\t' -v class="$1" -v text="$2" '$3 == class && $4 == text { print $6 "\t" $7 "\t" $8; exit }' "$work/windows.txt"
}

# What a screen reader reads of the welcome screen or the drill ($1) through MSAA, as far
# as Wine gives it: the start button and the table buttons by their names, the table
# buttons with their explanations, the answer box as a text named by what it asks. (Wine's
# own object for a button gives the role of a plain client area: the roles of buttons are
# kept, not checked.) The whole list is kept in $out/names-$1.txt.
expect_names() {
  local screen=$1 table got
  cut -f3,4,6- "$work/windows.txt" >"$out/names-$screen.txt"
  expect_read() { # class text name description (- for any)
    got=$(accessible "$1" "$2")
    [[ "$(cut -f2 <<<"$got")" == "$3" && ("$4" == - || "$(cut -f3 <<<"$got")" == "$4") ]] ||
      fail "name-$screen" "$screen: a screen reader reads the $1 '$2' as '$got', not '$3' ('$4')"
  }
  case $screen in
    welcome)
      expect_read Button "Klik hier en start !" "Klik hier en start !" -
      log "welcome: the start button is read as: $(accessible Button "Klik hier en start !" | tr '\t' '|')"
      ;;
    drill)
      expect_read Button alles alles "Alle tafels door elkaar oefenen"
      for table in 2 3 4 5 6 7 8 9; do
        expect_read Button "x $table" "x $table" "Alleen tafel $table oefenen"
      done
      got=$(awk -F'\t' '$3 == "Edit" { print $6 "\t" $7; exit }' "$work/windows.txt")
      [[ "$got" == "text"$'\t'"Vul hier zo snel mogelijk de oplossing in" ]] ||
        fail name-answer-box "the answer box is read as '$got', not the text 'Vul hier zo snel mogelijk de oplossing in'"
      log "drill: the table buttons are read as: $(accessible Button "x 4" | tr '\t' '|') ..., the answer box as: $(tr '\t' '|' <<<"$got")"
      ;;
  esac
}

# The information screen's progress bar stands on its status bar, over panel 2 exactly, as
# the Win32 API tells (the probe reads SB_GETRECT inside the program).
expect_progress_on_status_bar() {
  local report status=0
  report=$(probe statusbar) || status=$?
  printf '%s\n' "$report" >"$out/statusbar.txt"
  ((status == 0)) || fail status-bar "the progress bar does not cover panel 2 of the status bar: $(tr '\n\t' '; ' <<<"$report")"
  log "the progress bar is a child of the status bar and covers panel 2: $(grep '^panel 2' <<<"$report" | cut -f2)"
}

# --- Reading the screen -------------------------------------------------------------------
# "r,g,b" of one pixel of the screen.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# Waits up to $5 seconds (default 3) until pixel $2,$3 has the colour $4.
expect_colour() {
  local name=$1 x=$2 y=$3 want=$4 limit=${5:-3} got="" deadline
  deadline=$(awk -v t="$(now)" -v l="$limit" 'BEGIN { printf "%.3f", t + l }')
  while :; do
    got=$(pixel "$x" "$y")
    [[ "$got" == "$want" ]] && return 0
    awk -v t="$(now)" -v d="$deadline" 'BEGIN { exit !(t > d) }' && break
    sleep 0.1
  done
  fail "$name" "$name: pixel $x,$y is rgb($got), expected rgb($want)"
}

# The first row of the main window's client area, under its menu bar, for the main window
# at main_x, main_y.
client_area_top() {
  local row
  row=$(import -window root -crop "1x80+$((main_x + 2))+$main_y" -depth 8 txt:- 2>/dev/null |
    awk -F'[:, ]+' -v c="($main_back)" 'index($0, c) { print $2; exit }')
  [[ -n "$row" ]] || fail client-area "no client area of rgb($main_back) under the menu bar"
  echo $((main_y + row))
}

# The client area of a screen inside the main window at main_x, main_y, $1 x $2 twips: sets
# form_x, form_y. The Windows program's MDI child of that size is asked where it stands;
# the desktop program's stands centred on the display, taken inside the main window's
# client area.
place_form() {
  local width height line=""
  width=$(px "$1") height=$(px "$2")
  if $windows; then
    for _ in $(seq 20); do
      probe_windows
      line=$(awk -F'\t' -v size="$width,$height" '$5 ~ ("," size "$") { print; exit }' "$work/windows.txt")
      [[ -n "$line" ]] && break
      sleep 0.2
    done
    [[ -n "$line" ]] || fail form "no window with a client area of ${width}x${height}"
    client_area_from "$line"
    form_x=$win_x form_y=$win_y
  else
    mdi_top=$(client_area_top)
    form_x=$((main_x + (screen_width - width) / 2))
    form_y=$((mdi_top + (screen_height - height) / 2))
  fi
}

# The welcome screen: sets welcome_x, welcome_y and the middle of its start button,
# start_button_x, start_button_y.
place_welcome() {
  place_form 11160 6720
  welcome_x=$form_x welcome_y=$form_y
  start_button_x=$((welcome_x + $(px $((3600 + 3855 / 2)))))
  start_button_y=$((welcome_y + $(px $((1080 + 3495 / 2)))))
}

trailing_trimmed() { sed 's/ *$//'; }

# The program's visible window titled $1 (as the window manager shows it; spaces at the
# end, which no title bar shows, do not count): its id.
window_id() {
  local id
  for id in $(xdotool search --onlyvisible --class "$program_class" 2>/dev/null); do
    if [[ "$(xwininfo -id "$id" | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p' | trailing_trimmed)" == "$(trailing_trimmed <<<"$1")" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits for the window titled $1: sets its client area (the menu bar included)
# win_x, win_y, win_w, win_h. The Windows program's top-level window is asked for its
# client area, where its frame may be drawn by Windows rather than the window manager.
find_window() {
  local id="" info line
  for _ in $(seq 50); do
    id=$(window_id "$1") && break
    sleep 0.1
  done
  [[ -n "$id" ]] || fail window "no visible window titled '$1'"
  if $windows; then
    # A window just mapped may not stand where the window manager puts it yet (on a busy
    # machine Wine reported a new window at 1,1 for a while): its place is read until two
    # readings agree.
    local before=""
    for _ in $(seq 50); do
      probe_windows
      line=$(awk -F'\t' -v OFS='\t' -v title="$(trailing_trimmed <<<"$1")" \
        '$2 == "desktop" { sub(/ *$/, "", $4) } $2 == "desktop" && $4 == title { print; exit }' "$work/windows.txt")
      [[ -n "$line" ]] || fail window "Windows knows no window titled '$1'"
      [[ "$line" == "$before" ]] && break
      before=$line
      sleep 0.2
    done
    client_area_from "$line"
    return 0
  fi
  info=$(xwininfo -id "$id")
  win_x=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
  win_y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
  win_w=$(awk '/Width:/ { print $2 }' <<<"$info")
  win_h=$(awk '/Height:/ { print $2 }' <<<"$info")
}

window_gone() {
  for _ in $(seq 30); do
    window_id "$1" >/dev/null || return 0
    sleep 0.1
  done
  fail gone "the window '$1' is still on screen"
}

# Design positions are in twips, 15 to a pixel.
px() { echo $((($1 + 7) / 15)); }
click_at() { xdotool mousemove "$1" "$2" click 1; }

# Presses and releases the key with X key code $1, by its place on the keyboard whatever
# the layout makes of it (XTest).
press_key_code() {
  /usr/bin/python3 - "$1" <<'PYTHON'
import sys
from Xlib import X, display
from Xlib.ext import xtest
screen = display.Display()
for kind in (X.KeyPress, X.KeyRelease):
    xtest.fake_input(screen, kind, int(sys.argv[1]))
screen.sync()
PYTHON
}

# Saves the screen's rectangle $2,$3 $4x$5 as $out/screen-$1.png, a picture of one window.
snapshot() {
  import -window root -crop "${4}x${5}+$2+$3" +repage "$out/screen-$1.png" 2>/dev/null ||
    fail "snapshot-$1" "no screenshot of the $1"
}

# --- The steps of a session, shared by the scripts ------------------------------------------
main_title=" Alle kinderen moeten alle kansen krijgen."
# The drill has no caption: Qt titles its window with the program's name, Windows with
# the name a screen reader reads.
if $windows; then drill_title="Tafels oefenen"; else drill_title="Honderdtafels"; fi
classroom_title="A klas "

# Starts the program and waits for its main window with the welcome screen: sets main_x,
# main_y (its client area) and the welcome screen's places (place_welcome).
start_main_window() {
  start_program "$1"
  find_window "$main_title"
  main_x=$win_x main_y=$win_y main_w=$win_w main_h=$win_h
  log "main window at $main_x,$main_y, ${main_w}x${main_h}"
  place_welcome
}

# Twips inside the drill to screen pixels: sets sx, sy.
in_drill() {
  sx=$((drill_x + $(px "$1"))) sy=$((drill_y + $(px "$2")))
}

# Waits for the drill: sets drill_x, drill_y, drill_w, drill_h and its places: the falling
# area's corner, the answer box, the verdict's memo and pencil, the clear button.
find_drill() {
  find_window "$drill_title"
  drill_x=$win_x drill_y=$win_y drill_w=$win_w drill_h=$win_h
  in_drill 200 4700
  fall_x=$sx fall_y=$sy
  in_drill 2040 5100 # the answer box, within its frame
  box_x=$((sx + 6)) box_y=$((sy + 6)) box_w=$(($(px 1815) - 12)) box_h=$(($(px 795) - 12))
  in_drill $((7560 + 45)) $((3060 + 120))
  memo_x=$sx memo_y=$sy
  in_drill $((6840 + 630)) $((2880 + 330))
  pencil_x=$sx pencil_y=$sy
  in_drill $((4080 + 487)) $((5040 + 427))
  clear_x=$sx clear_y=$sy
}

# "Klik hier en start !" opens the drill.
open_drill() {
  click_at "$start_button_x" "$start_button_y"
  find_drill
  log "drill at $drill_x,$drill_y, ${drill_w}x${drill_h}"
}

# Clicks "x 4" and waits for the round: sets round_started.
start_round_of_4() {
  in_drill $((3360 + 487)) $((6360 + 487))
  click_at "$sx" "$sy"
  round_started=$(now)
  expect_colour round-started "$fall_x" "$fall_y" "$navy"
  log "round of x 4 started"
}

# The falling area is bare navy during a round, a picture otherwise. Two places far apart
# at its foot are read, so that a problem landing over one of them is no end of the round.
round_running() {
  local seen
  seen=$(pixels "$fall_x" "$fall_y" "$((fall_x + $(px 5400)))" "$fall_y")
  [[ $'\n'"$seen"$'\n' == *$'\n'"$navy"$'\n'* ]]
}

# How much of the answer box's inside (within its frame) is white rather than navy: the
# typed digits, white on navy, read in the blue channel, where a yellow text cursor does
# not count and a white one is a thin line.
box_ink() { # in millionths
  import -window root -crop "${box_w}x${box_h}+${box_x}+${box_y}" \
    -format '%[fx:int(1000000 * (mean.b - 128/255) * 255/127)]' info:- 2>/dev/null
}
box_empty() { (($(box_ink) < 6000)); }

# Waits up to $1 whole seconds until the command $2... succeeds. It asks again at once:
# every question looks at the screen, which takes a while of its own.
wait_until() {
  local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
  shift
  until "$@"; do
    ((${EPOCHREALTIME/./} > deadline)) && return 1
  done
}

# Types one product: all digits but the last, which must show in the box, then the last,
# which either counts (the box empties itself) or shows beside the others. Seeing the first
# digits first tells a counted answer from one not yet drawn, however slow the program
# draws. Returns 0 when it counted, 1 when it did not (wrong, or the problem landed and
# took the digits with it), 2 when the round ended.
type_product() {
  local product=$1 before over=false
  # Each look at the box that finds nothing yet also looks whether the round is over, so
  # that the round's end is seen as it comes.
  ended_meanwhile() { ! round_running && over=true; }
  shown() { ink=$(box_ink) && ((ink > 8000)) || ended_meanwhile; }
  counted_or_grown() { ink=$(box_ink) && ((ink < 6000 || ink > before + 4000)) || ended_meanwhile; }
  xdotool type --delay 15 "${product%?}"
  wait_until 5 shown && ! $over || { $over && return 2; return 1; }
  before=$ink
  xdotool type "${product: -1}"
  wait_until 5 counted_or_grown && ! $over || { $over && return 2; return 1; }
  ((ink < 6000)) || return 1
  round_running || return 2
}

# Types the products 400 .. 4000 in turn until one counts; a wrong one is erased (the clear
# button while clear_with_button, the keyboard later). Fails when the round ends.
correct=0 clear_with_button=true
answer_one() {
  local product status
  round_running || return 1
  for product in 400 800 1200 1600 2000 2400 2800 3200 3600 4000; do
    status=0
    type_product "$product" || status=$?
    ((status == 0)) && { correct=$((correct + 1)); return 0; }
    ((status == 2)) && return 1
    # The stop button takes the clear button's place when the round ends, so a click
    # late in the round could stop the drill: the button only in its first part.
    if $clear_with_button; then
      click_at "$clear_x" "$clear_y"
    else
      xdotool key --delay 15 ctrl+a BackSpace
    fi
    cleared_or_ended() { box_empty || ! round_running; }
    wait_until 5 cleared_or_ended || fail clear "the answer box still holds $product after it was cleared"
    round_running || return 1
  done
  return 0 # the problem landed meanwhile; the next one comes
}

# The red light: waits for the classroom in the drill's place. Sets paused_at, room_x,
# room_y, room_w, room_h and the places of the table buttons' frame and of "terug".
open_classroom() {
  in_drill $((5400 + 487)) $((5040 + 427))
  click_at "$sx" "$sy"
  paused_at=$(now)
  find_window "$classroom_title"
  room_x=$win_x room_y=$win_y room_w=$win_w room_h=$win_h
  window_gone "$drill_title"
  log "classroom at $room_x,$room_y"
  keuze_x=$((room_x + $(px $((10680 + 950))))) keuze_y=$((room_y + $(px $((1800 + 2000)))))
  terug_x=$((room_x + $(px $((8760 + 1507))))) terug_y=$((room_y + $(px $((7200 + 367)))))
}

# The middle of the classroom's lesson button "x $1": sets sx, sy.
lesson_button() {
  sx=$((room_x + $(px $((10680 + 120 + 367))))) sy=$((room_y + $(px $((1800 + 240 + 480 * ($1 - 1) + 187)))))
}

# Box k of the hundred-field, a point inside its border clear of its number: sets bx, by.
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
# "r,g,b" of each screen point x y ... given, one a line, from one picture of the screen.
pixels() {
  local format="" x y
  while (($# >= 2)); do
    x=$1 y=$2
    shift 2
    format+="%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]\\n"
  done
  import -window root png:- 2>/dev/null | convert png:- -format "$format" info:-
}

# Waits up to 2 s until every box k given has the colour $1 ($2 names the check), all
# read from one picture of the screen at a time.
expect_boxes() { # colour name k...
  local colour=$1 name=$2 points=() k got="" deadline
  shift 2
  for k in "$@"; do
    box_point "$k"
    points+=("$bx" "$by")
  done
  deadline=$(awk -v t="$(now)" 'BEGIN { printf "%.3f", t + 2 }')
  while :; do
    got=$(pixels "${points[@]}" | paste -sd' ')
    [[ -z "$(tr ' ' '\n' <<<"$got" | grep -vx "$colour")" ]] && return 0
    awk -v t="$(now)" -v d="$deadline" 'BEGIN { exit !(t > d) }' && break
    sleep 0.1
  done
  fail "$name-boxes" "$name: boxes $* are rgb $got, expected all rgb($colour)"
}

# "terug" after a lesson: back in the round, in the drill's old place. Sets paused (the
# seconds of help from the red light to terug).
back_to_round() {
  click_at "$terug_x" "$terug_y"
  paused=$(seconds_since "$paused_at")
  window_gone "$classroom_title"
  find_window "$drill_title"
  [[ "$win_x,$win_y" == "$drill_x,$drill_y" ]] || fail drill-moved "the drill came back elsewhere"
  expect_colour resumed "$fall_x" "$fall_y" "$navy"
  log "terug: back in the round after $paused s of help"
}

# Waits up to 15 s for the program to end and sets status to its exit status; fails the
# check $1 if it still runs then ($2 says what should have ended it).
wait_for_end() { # check what
  for _ in $(seq 150); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "$1" "the program still runs 15 s after $2"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
}

# Asks the window manager to close the window with X id $1, as its close box does.
wm_close() {
  /usr/bin/python3 - "$1" <<'PYTHON'
import sys
from Xlib import X, display, protocol
screen = display.Display()
root = screen.screen().root
close = protocol.event.ClientMessage(
    window=screen.create_resource_object("window", int(sys.argv[1])),
    client_type=screen.intern_atom("_NET_CLOSE_WINDOW"), data=(32, [X.CurrentTime, 2, 0, 0, 0]))
root.send_event(close, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
screen.flush()
PYTHON
}

# Alt+F4 and the window manager's close leave the window titled $1 open; $2 names it in
# messages.
close_refused() {
  local title=$1 name=$2 id
  id=$(window_id "$title") || fail "close-$name" "no $name to close"
  xdotool key --clearmodifiers alt+F4
  sleep 0.5 # nothing is to happen: give the key time to be handled
  window_id "$title" >/dev/null || fail "alt-f4-$name" "Alt+F4 closed the $name"
  wm_close "$id"
  sleep 0.5
  window_id "$title" >/dev/null || fail "close-box-$name" "the window manager's close closed the $name"
}

# --- Colours of the design tables ---------------------------------------------------------
main_back="234,226,138"
pale_yellow="255,255,192"
light_orange="255,192,128"
navy="0,0,128"
classroom_back="255,255,128"
keuze_back="192,255,192"
box_yellow="255,255,0"
green="0,255,0"
blue="0,0,255"
red="255,0,0"
black="0,0,0"

