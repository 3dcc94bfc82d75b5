#!/usr/bin/env bash
# The program's figures beside honest floors, in one run, printed as two tables.
#
# Desktop, in a private Xvfb on the xcb platform: the program against a bare Qt Widgets
# program of the same shape (bench/bare_window.cpp): start to first window shown, peak
# memory, CPU while idle, and three real rounds of 61 ticks (bench/round_clock), each
# against the bare program's round beside it (bare_window --round: a label falling every
# 100 ms, a countdown each second), the pair whose ratio is the middle one counting, and
# the rounds' clock-time length (bench/desktop_round.sh).
# Web, in headless Chromium, the site served by nginx with a school's lines
# (scripts/serve-site; bench/web_load.py): what a first visit transfers with the browser's
# cache on, with gzip and with brotli, navigation to the welcome screen painted against a
# static page with the same pictures and fonts, CPU of the browser idle and during three
# real rounds, each followed by a bare page's round as long, the rounds' length,
# WebAssembly memory over 500 rounds on a test clock, and what each file of the site
# weighs. Lighthouse's scores join the web table when its tool is installed
# (scripts/install-deps --lighthouse).
#
# Windows, under Wine in Xvfb with openbox (bench/windows.sh): the .exe's size, start to
# first window against a bare Win32 program of the same shape (bench/bare_win32.cpp),
# the peak working set, CPU while idle and during a real round.
#
# The real rounds run one after the other, not at once, so that no program's round shares
# the machine with another's.
#
#   bench/run.sh BUILD_DIR SITE_DIR WEB_BENCH_DIR [WINDOWS_DIR]
#     BUILD_DIR      with honderdtafels, bare_window and round_clock built
#     SITE_DIR       the page as `make web` builds it
#     WEB_BENCH_DIR  with honderdtafels_bench.js and .wasm, the page on a test clock
#     WINDOWS_DIR    with honderdtafels.exe, probe.exe and bare_win32.exe: the Windows table
set -euo pipefail

build=$(realpath "${1:?usage: run.sh BUILD_DIR SITE_DIR WEB_BENCH_DIR}")
site=$(realpath "${2:?usage: run.sh BUILD_DIR SITE_DIR WEB_BENCH_DIR}")
web_bench=$(realpath "${3:?usage: run.sh BUILD_DIR SITE_DIR WEB_BENCH_DIR}")
windows=${4:+$(realpath "$4")}
here=$(dirname "$(realpath "$0")")
program=$build/honderdtafels
bare=$build/bare_window
starts=${BENCH_STARTS:-15}
round_pairs=3
idle_seconds=10

# --- The targets (the project's design, section 6) -------------------------------------------
max_start_ratio=1.1       # start to first window, against the bare program
max_rss_ratio=1.1         # peak RSS, against the bare program
max_idle_cpu=0.05         # percent of a core: nothing runs while idle, beyond rounding
max_round_ratio=1.2       # CPU during a round, against the bare program's round
round_length=61.00        # seconds of clock time for 61 ticks of 1000 ms ...
round_tolerance=0.05      # ... give or take this
max_load_ratio=1.1        # web: navigation to the welcome screen painted, against the static page
max_first_visit=204800    # web: bytes nginx sends on a first visit, browser cache on (200 KiB),
                          # with gzip ...
max_first_visit_br=179200 # ... and where nginx has brotli (175 KiB)
max_page_round_ratio=1.2  # web: the page's renderer during a round, against a bare page's
min_performance=98        # web: Lighthouse performance, simulated phone on slow 4G
min_accessibility=100     # web: Lighthouse accessibility ...
min_best_practices=100    # ... and best practices

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

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb HONDERDTAFELS_REPORT_SHOWN=1
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
clock_ticks=$(getconf CLK_TCK)

now_us() { echo $(($(date +%s%N) / 1000)); }

# Starts $2 with the arguments after it in the background, its output in $work/$1.out; sets
# started_pid.
launch() {
  "${@:2}" >"$work/$1.out" 2>/dev/null &
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

# --- Desktop: start to first window shown, alternating so both see the same machine ---------
echo "desktop: start-up ($starts starts each) ..." >&2
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

# --- Desktop: both programs side by side, nothing to do for ten seconds ---------------------
echo "desktop: ${idle_seconds} s idle ..." >&2
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
stop "$bare_pid"

# --- Desktop: the real program plays 61 ticks while the bare program plays its round beside -
"$here/desktop_round.sh" "$build" "$round_pairs" >"$work/round.out"
round_value() { awk -v name="$1" '$1 == name { print $2 }' "$work/round.out"; }
round_seconds=$(round_value round_seconds)
round_program=$(round_value round_cpu_program)
round_bare=$(round_value round_cpu_bare)
round_ratios=$(round_value round_ratios)

# --- Web: the page in headless Chromium --------------------------------------------------------
/usr/bin/python3 "$here/web_load.py" "$site" "$web_bench" "$starts" >"$work/web.out"

# --- Web: Lighthouse's scores, where its tool is installed -------------------------------------
lighthouse=$here/../tools/lighthouse/run-lighthouse
: >"$work/lighthouse.out"
if [[ -x $lighthouse && -x $here/../tools/lighthouse/node_modules/.bin/lighthouse ]]; then
  echo "web: Lighthouse ..." >&2
  "$lighthouse" "$site" --report-dir "$work/lighthouse" 2>/dev/null |
    grep '^lighthouse' >>"$work/lighthouse.out" || echo "Lighthouse failed; its scores are left out" >&2
else
  echo "Lighthouse is not installed (scripts/install-deps --lighthouse): no scores" >&2
fi

# --- Windows: the .exe under Wine, in an X server and a prefix of its own -----------------------
# A failure there leaves the other tables standing; run.sh then ends with a failure.
windows_status=0
if [[ -n $windows ]]; then
  "$here/windows.sh" "$windows/honderdtafels.exe" "$windows/bare_win32.exe" "$windows/bench" \
    >"$work/windows.out" || windows_status=$?
fi

# --- The tables ----------------------------------------------------------------------------------
echo
echo "Desktop"
awk -v sp="$start_program" -v sb="$start_bare" -v mp="$rss_program" -v mb="$rss_bare" \
  -v ip=$((p1 - p0)) -v ib=$((b1 - b0)) -v hz="$clock_ticks" -v idle="$idle_seconds" \
  -v rl="$round_seconds" -v pr="$round_program" -v br="$round_bare" -v rr="$round_ratios" \
  -v n="$starts" -v n_pairs="$round_pairs" -v t_start="$max_start_ratio" -v t_rss="$max_rss_ratio" \
  -v t_idle="$max_idle_cpu" -v t_round="$max_round_ratio" -v t_len="$round_length" \
  -v t_tol="$round_tolerance" 'function met(ok) { return ok ? "yes" : "no" }
BEGIN {
  f = "%-34s %14s %14s %6s  %-22s %s\n"
  printf f, "", "honderdtafels", "bare program", "ratio", "target", "met"
  printf f, "start to first window (median of " n ")", sprintf("%.1f ms", sp / 1000),
    sprintf("%.1f ms", sb / 1000), sprintf("%.3f", sp / sb), "at most " t_start " x bare", met(sp / sb <= t_start)
  printf f, "peak RSS", sprintf("%.1f MiB", mp / 1024), sprintf("%.1f MiB", mb / 1024),
    sprintf("%.3f", mp / mb), "at most " t_rss " x bare", met(mp / mb <= t_rss)
  pi = 100 * ip / hz / idle; bi = 100 * ib / hz / idle
  printf f, "CPU idle for " idle " s (welcome)", sprintf("%.2f %%", pi), sprintf("%.2f %%", bi), "",
    "0 %", met(pi < t_idle)
  printf f, "CPU during a round of 61 ticks", sprintf("%.2f %%", pr), sprintf("%.2f %%", br),
    sprintf("%.3f", pr / br), "at most " t_round " x bare", met(pr / br <= t_round)
  printf f, "  ratios of the " n_pairs " pairs, in turn", "", "", "", rr " (the middle one above)", ""
  d = rl - t_len; if (d < 0) d = -d
  printf f, "round of 61 ticks, clock time", sprintf("%.3f s", rl), "", "",
    sprintf("%.2f s +- %.2f s", t_len, t_tol), met(d <= t_tol)
}'

echo
echo "Web (headless Chromium, the site served by nginx with a school's lines)"
awk -v t_load="$max_load_ratio" -v t_visit="$max_first_visit" -v t_visit_br="$max_first_visit_br" \
  -v t_idle="$max_idle_cpu" \
  -v t_round="$max_page_round_ratio" -v t_len="$round_length" -v t_tol="$round_tolerance" \
  -v t_perf="$min_performance" -v t_a11y="$min_accessibility" -v t_bp="$min_best_practices" \
  'function met(ok) { return ok ? "yes" : "no" }
function kib(bytes) { return sprintf("%.1f KiB", bytes / 1024) }
FNR == NR { v[$1] = $2; next }
{ score[$2] = $3 }
END {
  f = "%-56s %12s  %-38s %s\n"
  printf f, "", "value", "target (floor)", "met"
  printf f, "a first visit with gzip, all nginx sends, browser cache on", kib(v["transfer_bytes"]),
    sprintf("at most %.0f KiB", t_visit / 1024), met(v["transfer_bytes"] <= t_visit)
  printf f, sprintf("  (%d requests for %d paths)", v["transfer_requests"], v["transfer_paths"]),
    "", "", ""
  printf f, "  with brotli (nginx with brotli_static)", kib(v["transfer_br_bytes"]),
    sprintf("at most %.0f KiB", t_visit_br / 1024), met(v["transfer_br_bytes"] <= t_visit_br)
  printf f, sprintf("  (%d requests for %d paths)", v["transfer_br_requests"], v["transfer_br_paths"]),
    "", "", ""
  p = ("performance" in score) ? score["performance"] : "-"
  printf f, "Lighthouse performance (simulated phone, slow 4G)", p, "at least " t_perf,
    (p == "-") ? "-" : met(p >= t_perf)
  r = v["load_program_ms"] / v["load_static_ms"]
  printf f, "navigation to welcome painted (median of " v["loads"] ")",
    sprintf("%.0f ms", v["load_program_ms"]),
    sprintf("at most %s x static (%.0f ms): %.3f x", t_load, v["load_static_ms"], r), met(r <= t_load)
  rr = v["round_cpu_page"] / v["round_cpu_page_floor"]
  printf f, "the renderer of the page during a round", sprintf("%.2f %%", v["round_cpu_page"]),
    sprintf("at most %s x a bare page (%.2f %%): %.3f x", t_round, v["round_cpu_page_floor"], rr),
    met(rr <= t_round)
  n = split(v["round_ratios"], pairs, ",")
  printf f, "  ratios of the " n " pairs, in turn", "", v["round_ratios"] " (the middle one above)", ""
  printf f, "  the window of the page copied without its program, moved alike", "",
    sprintf("(%.2f %%): %.3f x", v["round_cpu_page_copy"], v["round_cpu_page"] / v["round_cpu_page_copy"]), ""
  printf f, "  the page against that copy, in turn", "", v["round_copy_ratios"], ""
  printf f, "  all Chromium processes", sprintf("%.2f %%", v["round_cpu_all"]),
    sprintf("(a bare page: %.2f %%)", v["round_cpu_all_floor"]), ""
  a = ("accessibility" in score) ? score["accessibility"] : "-"
  b = ("best-practices" in score) ? score["best-practices"] : "-"
  printf f, "Lighthouse accessibility / best practices", a " / " b, t_a11y " / " t_bp,
    (a == "-") ? "-" : met(a >= t_a11y && b >= t_bp)
  d = v["round_seconds"] - t_len; if (d < 0) d = -d
  printf f, "round of 61 ticks, clock time", sprintf("%.3f s", v["round_seconds"]),
    sprintf("%.2f s +- %.2f s", t_len, t_tol), met(d <= t_tol)
  printf f, "CPU idle for " v["idle_seconds"] " s, all Chromium processes", sprintf("%.2f %%", v["idle_cpu_all"]),
    sprintf("0 %% (static page %.2f %%)", v["idle_cpu_all_static"]), met(v["idle_cpu_all"] < t_idle)
  printf f, "  the renderer of the page alone", sprintf("%.2f %%", v["idle_cpu_page"]),
    sprintf("0 %% (static page %.2f %%)", v["idle_cpu_page_static"]), met(v["idle_cpu_page"] < t_idle)
  printf f, "  timers and frames the page asked for", v["idle_wake_ups"], "none", met(v["idle_wake_ups"] == 0)
  printf f, "WebAssembly memory after 1 round", sprintf("%.2f MiB", v["memory_1"] / 1048576), "", ""
  printf f, "  after 100 rounds", sprintf("%.2f MiB", v["memory_100"] / 1048576), "", ""
  printf f, "  after 500 rounds (test clock)", sprintf("%.2f MiB", v["memory_500"] / 1048576),
    "no growth over 500 rounds", met(v["memory_500"] <= v["memory_1"])
}' "$work/web.out" "$work/lighthouse.out"

echo
echo "The site's files: raw, as nginx sends them with gzip and with brotli (copy or as is)"
awk '$1 == "file" {
  printf "%-40s %10.1f KiB %10.1f KiB %10s\n", $2, $3 / 1024, $4 / 1024,
    ($5 == "-") ? "-" : sprintf("%.1f KiB", $5 / 1024)
  raw += $3; sent += $4; packed += $5
}
END { printf "%-40s %10.1f KiB %10.1f KiB %10.1f KiB\n", "all of them", raw / 1024, sent / 1024, packed / 1024 }' \
  "$work/web.out"

if [[ -n $windows ]]; then
  if ((windows_status == 0)); then
    cat "$work/windows.out"
  else
    echo
    echo "Windows: the bench under Wine failed (status $windows_status); screenshots in $windows/bench"
    exit "$windows_status"
  fi
fi
