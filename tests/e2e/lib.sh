# Shared by the end-to-end scripts: a private X server, a window manager, and reading
# the program's windows and colours off the screen. A script sources it with its own
# arguments, PROGRAM [OUTPUT_DIR]; screenshots of failed checks land in OUTPUT_DIR.

program=$(realpath "${1:?usage: $(basename "$0") PROGRAM [OUTPUT_DIR]}")
out=$(realpath -m "${2:-e2e-output}")
mkdir -p "$out"
rm -f "$out"/fail-*.png

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
  exit 1
}

started=$(now)

# Starts Xvfb on a display nobody uses, screen_width x screen_height, and exports DISPLAY.
start_x() {
  screen_width=1280 screen_height=1024
  Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp \
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
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
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

# The welcome screen, centred on the display inside the client area of the main window at
# main_x, main_y: sets mdi_top, welcome_x, welcome_y and the middle of its start button,
# start_button_x, start_button_y.
place_welcome() {
  mdi_top=$(client_area_top)
  welcome_x=$((main_x + (screen_width - $(px 11160)) / 2))
  welcome_y=$((mdi_top + (screen_height - $(px 6720)) / 2))
  start_button_x=$((welcome_x + $(px $((3600 + 3855 / 2)))))
  start_button_y=$((welcome_y + $(px $((1080 + 3495 / 2)))))
}

# The program's visible window titled exactly $1 (as the window manager shows it): its id.
window_id() {
  local id
  for id in $(xdotool search --onlyvisible --class '^honderdtafels$' 2>/dev/null); do
    if [[ "$(xwininfo -id "$id" | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p')" == "$1" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits for the window titled $1: sets win_x, win_y, win_w, win_h.
find_window() {
  local id="" info
  for _ in $(seq 50); do
    id=$(window_id "$1") && break
    sleep 0.1
  done
  [[ -n "$id" ]] || fail window "no visible window titled '$1'"
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

