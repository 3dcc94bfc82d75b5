#!/usr/bin/env bash
# Measures the program against a bare Qt Widgets window, side by side in one run, in a
# private Xvfb: start to first window shown, peak memory, CPU while idle and during a
# round, and the clock-time length of a round of 61 ticks.
#
#   bench/run.sh BUILD_DIR      (with honderdtafels, bare_window and round_clock built)
set -euo pipefail

build=$(realpath "${1:?usage: run.sh BUILD_DIR}")
program=$build/honderdtafels
bare=$build/bare_window
round=$build/round_clock
starts=${BENCH_STARTS:-7}
idle_seconds=10

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb HONDERDTAFELS_REPORT_SHOWN=1
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
clock_ticks=$(getconf CLK_TCK)

now_us() { echo $(($(date +%s%N) / 1000)); }

# Starts $2 in the background with its output in $work/$1.out; sets started_pid.
launch() {
  "$2" >"$work/$1.out" 2>/dev/null &
  started_pid=$!
  pids+=("$started_pid")
}

# Waits for the "shown" line of $1 and prints its time stamp.
shown_at() {
  for _ in $(seq 1000); do
    if grep -q '^shown ' "$work/$1.out" 2>/dev/null; then
      sed -n 's/^shown //p' "$work/$1.out"
      return 0
    fi
    sleep 0.01
  done
  echo "$1 showed no window" >&2
  return 1
}

stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
peak_rss_kib() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# --- Start to first window shown, alternating so both see the same machine --------------
echo "Measuring start-up ($starts starts each) ..." >&2
: >"$work/start.program" && : >"$work/start.bare"
for _ in $(seq "$starts"); do
  for who in bare program; do
    exe=$bare
    [[ $who == program ]] && exe=$program
    t0=$(now_us)
    launch "$who" "$exe"
    t1=$(shown_at "$who")
    stop "$started_pid"
    echo $((t1 - t0)) >>"$work/start.$who"
  done
done
start_program=$(median <"$work/start.program")
start_bare=$(median <"$work/start.bare")

# --- Idle: both programs side by side, nothing to do for ten seconds ---------------------
echo "Measuring ${idle_seconds} s idle ..." >&2
launch program "$program"
program_pid=$started_pid
launch bare "$bare"
bare_pid=$started_pid
shown_at program >/dev/null && shown_at bare >/dev/null
sleep 1
p0=$(cpu_ticks "$program_pid") b0=$(cpu_ticks "$bare_pid")
sleep "$idle_seconds"
p1=$(cpu_ticks "$program_pid") b1=$(cpu_ticks "$bare_pid")
rss_program=$(peak_rss_kib "$program_pid")
rss_bare=$(peak_rss_kib "$bare_pid")
stop "$program_pid"

# --- A round: the real program plays 61 ticks while the bare window sits beside it -------
echo "Measuring a round of 61 ticks (about a minute) ..." >&2
r0=$(cpu_ticks "$bare_pid") rt0=$(now_us)
"$round" >"$work/round.out"
r1=$(cpu_ticks "$bare_pid") rt1=$(now_us)
stop "$bare_pid"
round_seconds=$(awk '/^round_seconds/ { print $2 }' "$work/round.out")
round_cpu=$(awk '/^round_cpu_seconds/ { print $2 }' "$work/round.out")

# --- The figures --------------------------------------------------------------------------
awk -v sp="$start_program" -v sb="$start_bare" -v mp="$rss_program" -v mb="$rss_bare" \
  -v ip=$((p1 - p0)) -v ib=$((b1 - b0)) -v hz="$clock_ticks" -v idle="$idle_seconds" \
  -v rl="$round_seconds" -v rc="$round_cpu" -v rb=$((r1 - r0)) -v rw=$(((rt1 - rt0))) \
  -v n="$starts" 'BEGIN {
  printf "%-34s %14s %14s %7s  %s\n", "", "honderdtafels", "bare window", "ratio", "target"
  printf "%-34s %11.1f ms %11.1f ms %7.2f  %s\n", "start to first window (median of " n ")", sp / 1000, sb / 1000, sp / sb, "< 1.2"
  printf "%-34s %10.1f MiB %10.1f MiB %7.2f  %s\n", "peak RSS", mp / 1024, mb / 1024, mp / mb, "< 1.3"
  printf "%-34s %12.2f %% %12.2f %% %7s  %s\n", "CPU idle for " idle " s", 100 * ip / hz / idle, 100 * ib / hz / idle, "", "0 %"
  printf "%-34s %12.2f %% %12.2f %% %7s  %s\n", "CPU during a round of 61 ticks", 100 * rc / rl, 100 * rb / hz / (rw / 1e6), "", "< 1 %"
  printf "%-34s %12.3f s %14s %7s  %s\n", "round of 61 ticks, clock time", rl, "", "", "61.00 s +- 0.05 s"
}'
