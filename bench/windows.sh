#!/usr/bin/env bash
# The Windows program's figures under Wine, printed as one table: bench/run.sh runs it after
# the desktop's and the page's, and it runs alone as well.
#
# In a private Xvfb with openbox and a Wine prefix of its own, as the end-to-end tests set
# them up (tests/e2e/lib.sh, with tests/wine/probe.exe beside EXE), a wineserver kept
# running: the .exe's size; start to first window mapped, against a bare Win32 program of
# the same shape (bench/bare_win32.cpp), median of alternating starts; the working set of
# each once settled, read from the Linux side (VmRSS of the Wine process, median of
# alternating starts), unasked and once a screen reader has asked; CPU while idle; and CPU
# during rounds of "x 4", each started by a real click, with the bare program's round (a
# label falling every 100 ms, a countdown each second) played beside them in a prefix of its
# own, each with its wineserver's CPU over the same seconds.
#
#   bench/windows.sh EXE BARE_EXE [OUTPUT_DIR]
set -euo pipefail

here=$(dirname "$(realpath "$0")")
bare=$(realpath "${2:?usage: windows.sh EXE BARE_EXE [OUTPUT_DIR]}")
# The X server, the window manager, the prefix, the probe of the program's windows and the
# steps of a session are the end-to-end tests' own.
source "$here/../tests/e2e/lib.sh" "${1:?usage: windows.sh EXE BARE_EXE [OUTPUT_DIR]}" \
  "${3:-$(mktemp -d)}"
exe=$program
starts=${BENCH_STARTS:-15}
idle_seconds=10
round_seconds=58 # measured inside each round of 61 ticks, which starts at the click
round_pairs=3

# --- The targets (the project's design, section 6) -------------------------------------------
max_start_ratio=1.1       # start to first window, against the bare program
max_rss_ratio=1.1         # the working set settled, against the bare program
max_idle_cpu=0.05         # percent of a core: nothing runs while idle, beyond rounding
max_round_ratio=1.2       # CPU during a round with its wineserver's, against the bare round's
max_exe_bytes=3145728     # the .exe, 3 MiB

start_x >&2
start_openbox
# A wineserver kept running, as on a desktop where Wine has run before.
wineserver -p
clock_ticks=$(getconf CLK_TCK)

now_us() { echo "${EPOCHREALTIME/./}"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# CPU time of a process to the nanosecond, summed over its threads (the scheduler's count).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ n += $1 } END { printf "%.0f", n }'; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Starts $1 under Wine with the arguments after it; sets started_pid, the Linux process that
# runs it.
launch() {
  forget_maps
  wine "$@" >/dev/null 2>&1 &
  started_pid=$!
  extra_pids+=("$started_pid")
}

# The X server tells of every window mapped on the screen as it happens (xev on the root
# window's substructure, a line at a time): a start is timed to that event, not to a poll.
coproc MAPS { exec stdbuf -oL xev -root -event substructure; }
extra_pids+=("$MAPS_PID")
exec {maps}<&"${MAPS[0]}" # a copy that subshells keep, as the coprocess's own is not
# What was told before a launch belongs to the program before.
forget_maps() {
  local line
  while read -r -t 0 <&"$maps"; do read -r line <&"$maps"; done
}

# Waits until the process $1 has a window mapped on the screen: the window manager maps a
# top-level window, and it holds a visible window of that process. Prints the moment of the
# map, in microseconds (now_us).
first_window() {
  local line moment
  while read -r -t 30 line <&"$maps"; do
    [[ $line == MapNotify* ]] || continue
    moment=${EPOCHREALTIME/./}
    read -r -t 1 line <&"$maps" || break # "event 0x.., window 0x.., override NO"
    [[ $line == *"override NO"* ]] || continue
    if xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1; then
      echo "$moment"
      return 0
    fi
  done
  echo "process $1 showed no window" >&2
  return 1
}

# The wineserver of this prefix: other prefixes may have theirs.
prefix_server() {
  local pid
  for pid in $(pgrep wineserver); do
    # A server that ends meanwhile (another prefix's) leaves no environment to read.
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && {
      echo "$pid"
      return 0
    }
  done
  echo "no wineserver runs for $WINEPREFIX" >&2
  return 1
}

stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# One start of each first: Wine's own services start with the first program.
for who in "$bare" "$exe"; do
  launch "$who"
  first_window "$started_pid" >/dev/null
  stop "$started_pid"
done

# --- Start to first window, alternating so both see the same machine --------------------------
echo "windows: start-up ($starts starts each) ..." >&2
: >"$work/start.honderdtafels" && : >"$work/start.bare_win32"
for _ in $(seq "$starts"); do
  for who in bare_win32 honderdtafels; do
    t0=${EPOCHREALTIME/./}
    if [[ $who == bare_win32 ]]; then launch "$bare"; else launch "$exe"; fi
    t1=$(first_window "$started_pid")
    echo $((t1 - t0)) >>"$work/start.$who"
    stop "$started_pid"
  done
done
start_program=$(median <"$work/start.honderdtafels")
start_bare=$(median <"$work/start.bare_win32")

# --- The working set of each, alone and settled, unasked and asked ---------------------------
# What is resident two seconds after the first window, not the peak (VmHWM): the peak holds
# whatever Wine's start-up touched for a moment, and moved by 5 MiB between starts of one
# build while the settled set kept within 1.5 MiB. A screen reader's question (the probe
# reads every window's role and name) makes both load oleacc.dll and oleaut32.dll.
settled_rss() { # asked|unasked EXE
  launch "$2"
  first_window "$started_pid" >/dev/null
  if [[ $1 == asked ]]; then probe windows >/dev/null; fi
  sleep 2
  rss_kib "$started_pid"
  stop "$started_pid"
}
memory_starts=5
echo "windows: the working set ($memory_starts starts each, unasked and asked) ..." >&2
for kind in unasked asked; do
  : >"$work/rss-$kind.honderdtafels" && : >"$work/rss-$kind.bare_win32"
  for _ in $(seq "$memory_starts"); do
    settled_rss "$kind" "$bare" >>"$work/rss-$kind.bare_win32"
    settled_rss "$kind" "$exe" >>"$work/rss-$kind.honderdtafels"
  done
done
rss_program=$(median <"$work/rss-unasked.honderdtafels")
rss_bare=$(median <"$work/rss-unasked.bare_win32")
rss_read=$(median <"$work/rss-asked.honderdtafels")
rss_read_bare=$(median <"$work/rss-asked.bare_win32")

# --- Both programs side by side, nothing to do ---------------------------------------------------
echo "windows: ${idle_seconds} s idle ..." >&2
start_main_window bench >&2
program_pid=$app_pid
launch "$bare"
bare_pid=$started_pid
first_window "$bare_pid" >/dev/null
server_pid=$(prefix_server)
# The pointer rests on the main window's empty client area, then on the start button: a
# button under the pointer follows it to light up and to go dark when it leaves.
xdotool mousemove 5 $((screen_height - 5))
sleep 1
p0=$(cpu_ticks "$program_pid") b0=$(cpu_ticks "$bare_pid") s0=$(cpu_ticks "$server_pid")
sleep "$idle_seconds"
p1=$(cpu_ticks "$program_pid") b1=$(cpu_ticks "$bare_pid") s1=$(cpu_ticks "$server_pid")
# The bare window, started last, covers the program's.
stop "$bare_pid"
xdotool mousemove "$start_button_x" "$start_button_y"
sleep 1
h0=$(cpu_ticks "$program_pid") hs0=$(cpu_ticks "$server_pid")
sleep "$idle_seconds"
h1=$(cpu_ticks "$program_pid") hs1=$(cpu_ticks "$server_pid")

# --- Rounds of "x 4", each beside the bare program's round ------------------------------------
# The bare program plays its round the whole time in a prefix of its own, with a wineserver of
# its own, while the program plays round after round: each figure is of the same seconds of
# the same machine. The pair with the middle ratio counts: one pair moves with the machine's
# load by more than the target's margin.
echo "windows: $round_pairs rounds of x 4, the bare program's round beside them ..." >&2
server_pid=$(prefix_server)
floor_prefix=$work/floor-prefix
"$here/../tests/wine/prefix.sh" "$floor_prefix" >/dev/null
WINEPREFIX=$floor_prefix wineserver -p
WINEPREFIX=$floor_prefix launch "$bare" --round
floor_pid=$started_pid
first_window "$floor_pid" >/dev/null
floor_server=$(WINEPREFIX=$floor_prefix prefix_server)
# The program in front, where its buttons are clicked and its round is seen.
xdotool windowactivate --sync "$(window_id "$main_title")" >&2
open_drill >&2
: >"$work/rounds"
for pair in $(seq "$round_pairs"); do
  start_round_of_4 >&2
  # A child types the answers; the pointer rests aside, off the buttons.
  xdotool mousemove 5 $((screen_height - 5))
  r0=$(cpu_ns "$program_pid") rs0=$(cpu_ns "$server_pid")
  f0=$(cpu_ns "$floor_pid") fs0=$(cpu_ns "$floor_server") t0=$(now_us)
  sleep "$round_seconds"
  r1=$(cpu_ns "$program_pid") rs1=$(cpu_ns "$server_pid")
  f1=$(cpu_ns "$floor_pid") fs1=$(cpu_ns "$floor_server") t1=$(now_us)
  echo "$((r1 - r0)) $((rs1 - rs0)) $((f1 - f0)) $((fs1 - fs0)) $((t1 - t0))" >>"$work/rounds"
  echo "windows: round $pair of $round_pairs: $(tail -n1 "$work/rounds") (ns: program, its server, floor, its server; us)" >&2
  while round_running; do sleep 0.5; done # the verdict; the table buttons come back
done
stop "$floor_pid"
WINEPREFIX=$floor_prefix wineserver -k || true
stop_program
# Each pair's ratio, then the pair with the middle one: program, its wineserver, floor, its
# wineserver (ns) and the seconds measured.
round_ratios=$(awk '{ printf "%s%.3f", (NR > 1 ? "," : ""), ($1 + $2) / ($3 + $4) }' "$work/rounds")
read -r rc rs fc fs rw < <(awk '{ print ($1 + $2) / ($3 + $4), $0 }' "$work/rounds" | sort -n |
  awk '{ v[NR] = $0 } END { print v[int((NR + 1) / 2)] }' | cut -d' ' -f2-)

# --- The table -------------------------------------------------------------------------------------
echo
echo "Windows (under $(wine --version), Xvfb with openbox; load average $(cut -d' ' -f1-3 /proc/loadavg))"
awk -v sp="$start_program" -v sb="$start_bare" -v mp="$rss_program" -v mb="$rss_bare" -v mr="$rss_read" -v mrb="$rss_read_bare" \
  -v ip=$((p1 - p0)) -v ib=$((b1 - b0)) -v is=$((s1 - s0)) \
  -v ih=$((h1 - h0)) -v ihs=$((hs1 - hs0)) -v hz="$clock_ticks" -v idle="$idle_seconds" \
  -v rc="$rc" -v rs="$rs" -v rw="$rw" -v size="$(stat -c %s "$exe")" \
  -v fc="$fc" -v fs="$fs" -v ratios="$round_ratios" -v pairs="$round_pairs" -v t_round="$max_round_ratio" \
  -v bsize="$(stat -c %s "$bare")" -v n="$starts" -v ms="$memory_starts" -v t_start="$max_start_ratio" -v t_rss="$max_rss_ratio" \
  -v t_idle="$max_idle_cpu" -v t_size="$max_exe_bytes" \
  'function met(ok) { return ok ? "yes" : "no" }
BEGIN {
  f = "%-44s %14s %14s %6s  %-22s %s\n"
  printf f, "", "honderdtafels", "bare Win32", "ratio", "target", "met"
  printf f, "the .exe", sprintf("%.2f MiB", size / 1048576), sprintf("%.2f MiB", bsize / 1048576), "",
    "at most " t_size / 1048576 " MiB", met(size <= t_size)
  printf f, "start to first window (median of " n ")", sprintf("%.1f ms", sp / 1000),
    sprintf("%.1f ms", sb / 1000), sprintf("%.3f", sp / sb), "at most " t_start " x bare", met(sp / sb <= t_start)
  printf f, "working set settled (VmRSS, median of " ms ")", sprintf("%.1f MiB", mp / 1024),
    sprintf("%.1f MiB", mb / 1024), sprintf("%.3f", mp / mb), "at most " t_rss " x bare", met(mp / mb <= t_rss)
  printf f, "  once a screen reader has asked (MSAA)", sprintf("%.1f MiB", mr / 1024),
    sprintf("%.1f MiB", mrb / 1024), sprintf("%.3f", mr / mrb), "at most " t_rss " x bare", met(mr / mrb <= t_rss)
  pi = 100 * ip / hz / idle; bi = 100 * ib / hz / idle
  printf f, "CPU idle for " idle " s (welcome, pointer aside)", sprintf("%.2f %%", pi), sprintf("%.2f %%", bi), "",
    "0 %", met(pi < t_idle)
  printf f, "  wineserver meanwhile (both)", sprintf("%.2f %%", 100 * is / hz / idle), "", "", "", ""
  hi = 100 * ih / hz / idle
  printf f, "  the pointer on the start button", sprintf("%.2f %%", hi), "", "", "0 %", met(hi < t_idle)
  printf f, "  wineserver meanwhile", sprintf("%.2f %%", 100 * ihs / hz / idle), "", "", "", ""
  secs = rw / 1e6; pr = rc / 1e7 / secs; ps = rs / 1e7 / secs
  br = fc / 1e7 / secs; bs = fs / 1e7 / secs
  ratio = (pr + ps) / (br + bs)
  printf f, sprintf("CPU during %.0f s of a round, with wineserver", secs), sprintf("%.2f %%", pr + ps),
    sprintf("%.2f %%", br + bs), sprintf("%.3f", ratio), "at most " t_round " x bare", met(ratio <= t_round)
  printf f, "  ratios of the " pairs " pairs, in turn", "", "", "", ratios " (the middle one above)", ""
  printf f, "  the program alone", sprintf("%.2f %%", pr), sprintf("%.2f %%", br), "", "", ""
  printf f, "  its wineserver", sprintf("%.2f %%", ps), sprintf("%.2f %%", bs), "", "", ""
}'
