#!/usr/bin/env bash
# The desktop program's round beside its floor. The real program plays a round of 61 ticks
# on the real clock (bench/round_clock: from the click on "x 4" until the verdict) while the
# bare program plays its own round at the same time (bare_window --round: a label falling
# every 100 ms, a countdown each second). A round costs a third of a percent of a core,
# and the machine's other work moves one pair's ratio by more than a target's margin, so
# PAIRS pairs are played one after the other and the pair whose ratio is the middle one
# counts, as the page's rounds are counted (bench/web_load.py).
#
#   bench/desktop_round.sh BUILD_DIR [PAIRS]
#     BUILD_DIR  with bare_window and round_clock built
#     PAIRS      how many pairs, 3 unless told
# Runs in the X server that DISPLAY names, on the platform QT_QPA_PLATFORM names. Prints
# what bench/run.sh reads, one "name value" a line: the CPU of both rounds of the middle
# pair in percent of a core, every pair's ratio in turn, and the clock time of the round
# furthest from 61 s.
set -euo pipefail

build=$(realpath "${1:?usage: desktop_round.sh BUILD_DIR [PAIRS]}")
pairs=${2:-3}
bare=$build/bare_window
round=$build/round_clock

work=$(mktemp -d)
bare_pid=
stop_bare() {
  if [[ -n $bare_pid ]]; then
    kill "$bare_pid" 2>/dev/null || true
    wait "$bare_pid" 2>/dev/null || true
    bare_pid=
  fi
}

now_us() { echo $(($(date +%s%N) / 1000)); }
# CPU time of a process to the nanosecond, summed over its threads (the scheduler's count).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ n += $1 } END { printf "%.0f", n }'; }

# The bare round on an X display of its own: on one display only one window has the
# keyboard, and the program's drill takes it, so that the bare round's answer box would
# never blink its caret.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
trap 'stop_bare; kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb for the bare round did not start" >&2; exit 1; }
bare_display=":$(head -n1 "$work/display")"

# Starts the bare round and waits until its window is shown; sets bare_pid.
start_bare() {
  DISPLAY=$bare_display HONDERDTAFELS_REPORT_SHOWN=1 "$bare" --round >"$work/bare.out" 2>/dev/null &
  bare_pid=$!
  for _ in $(seq 1000); do
    grep -q '^shown ' "$work/bare.out" 2>/dev/null && return 0
    sleep 0.01
  done
  echo "the bare round showed no window" >&2
  return 1
}

# One line a pair: the program's round in seconds, its CPU and the bare round's, in percent.
: >"$work/pairs"
for pair in $(seq "$pairs"); do
  echo "desktop: round $pair of $pairs beside the bare round (about a minute) ..." >&2
  start_bare
  b0=$(cpu_ns "$bare_pid") t0=$(now_us)
  "$round" >"$work/round.out"
  b1=$(cpu_ns "$bare_pid") t1=$(now_us)
  stop_bare
  awk -v bare_ns=$((b1 - b0)) -v wall_us=$((t1 - t0)) '
    $1 == "round_seconds" { seconds = $2 }
    $1 == "round_cpu_seconds" { cpu = $2 }
    END { printf "%.3f %.6f %.6f\n", seconds, 100 * cpu / seconds, 100 * bare_ns / 1e9 / (wall_us / 1e6) }' \
    "$work/round.out" >>"$work/pairs"
done

awk '{ seconds[NR] = $1; program[NR] = $2; bare[NR] = $3; ratio[NR] = $2 / $3 }
END {
  # The middle ratio: the one with as many pairs below it as above (ties by turn).
  for (i = 1; i <= NR; ++i) {
    below = 0
    for (j = 1; j <= NR; ++j) below += (ratio[j] < ratio[i] || (ratio[j] == ratio[i] && j < i))
    if (below == int(NR / 2)) middle = i
    list = list (i > 1 ? "," : "") sprintf("%.3f", ratio[i])
    off = seconds[i] - 61; if (off < 0) off = -off
    if (i == 1 || off > furthest_off) { furthest = seconds[i]; furthest_off = off }
  }
  printf "round_seconds %.3f\n", furthest
  printf "round_cpu_program %.6f\n", program[middle]
  printf "round_cpu_bare %.6f\n", bare[middle]
  printf "round_ratios %s\n", list
}' "$work/pairs"
