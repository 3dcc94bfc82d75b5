#!/usr/bin/python3
"""The page's figures in headless Chromium, for `make bench`.

    web_load.py SITE_DIR BENCH_DIR [ROUNDS]

SITE_DIR is what `make web` builds; BENCH_DIR holds honderdtafels_bench.js and .wasm, the
same program on a clock the page advances (bench/web_clock_main.cpp). Serves both, with a
static page that has the welcome screen's pictures and fonts, as a school's nginx serves
them (scripts/serve-site: the school's nginx lines, compressed copies and caching headers),
and measures in headless Chromium:

- what a first visit transfers, in a browser of its own with its HTTP cache on, as a
  child's browser has it: every byte nginx sends (headers included, bodies as sent) for
  the page, everything it loads and what its service worker fetches, from nginx's access
  log, and for how many paths (each asked for once, where nothing is fetched twice); once
  from an nginx without its brotli module (the gzip copies) and once with it (the brotli
  copies);
- the time from navigation to the welcome screen painted, against the static page, each
  opened ROUNDS times in turn with the browser cache off. A page counts as painted at the
  second animation frame after it shows what it shows: the welcome window the build wrote
  into the page (or the program's, should it come first) with its pictures, in its fonts,
  or the static page's pictures and text in their fonts;
- the CPU of all of Chromium's processes (the tree under the chromedriver this script
  started) and of the page's renderer alone, over 10 s idle on the welcome screen (with
  the timers and animation frames the page asked for meanwhile), against the static page
  idle as long in the same browser, and over real rounds of 61 ticks, from the click on
  "x 4" until the verdict (the drill is opened and still before), whose clock-time length
  the page itself measures, each with a bare page's round played at the same time in a
  browser of its own, five pairs of new browsers in turn of which the middle one by their
  ratio counts: one element of the falling problem's size moved ten times a second as the
  page moves it (a transform), one number changed each second, and a text box with the
  keyboard (its caret blinks), all at the scale the page is drawn at; and beside both, in a
  third browser, the page's own window a second into a round, copied without its program
  and moved by the same script: what drawing the whole window costs;
- the WebAssembly memory of the test-clock program after 1, 100 and 500 rounds played
  as a child plays them: a table, ten right answers, the rest of the 61 ticks, verdict;
- what each file of the site weighs: raw, as nginx sends it with gzip (its gzip copy, or as
  it is where nginx compresses nothing) and with brotli (its brotli copy).

Prints one "name value" line per figure for bench/run.sh to put into its table.
"""

import collections
import gzip
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

SITE = os.path.abspath(sys.argv[1])
BENCH = os.path.abspath(sys.argv[2])
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 7
IDLE_SECONDS = 10
MEMORY_ROUNDS = (1, 100, 500)
# A round with the bare page's round beside it, this many times in turn: the two share the
# same seconds of the machine, and still one pair's ratio moves with its load by a fifth.
ROUND_PAIRS = 5

STATIC_PAGE = """<!DOCTYPE html>
<html lang="nl"><head><meta charset="utf-8"><title>static</title>
<link rel="stylesheet" href="fonts.css"><link rel="stylesheet" href="page.css"></head>
<body style="background:#eae28a">
<div style="font:bold 11.25pt 'Honderdtafels Sans'">Educatieve software voor de basisschool.</div>
<img src="pictures/welcome-photo.svg" alt=""><img src="pictures/welcome-side.svg" alt="">
<img src="pictures/weblink.svg" alt=""><img src="pictures/program-icon.svg" alt="">
<div style="font:18pt 'Honderdtafels Sans'">Kwikstaart <b>Klik hier en start !</b></div>
<div style="font:18pt 'Comic Neue'">300 x 4 = ?</div>
</body></html>
"""

# The floor of a round: the falling area, the falling problem moved two pixels every 100 ms
# by a transform from where it was placed, as the page moves it (a layer of its own asked for
# once, at its first move), and the countdown changed
# each second, in the page's fonts; beside them the answer box with the keyboard, its caret
# blinking as the child sees it. All of it drawn at the scale the page was drawn at
# (?scale=, read from the page after its round), as the page draws its display.
FLOOR_PAGE = """<!DOCTYPE html>
<html lang="nl"><head><meta charset="utf-8"><title>floor</title>
<link rel="stylesheet" href="fonts.css"></head>
<body style="background:#eae28a;margin:0">
<div id="desk" style="position:absolute;left:0;top:0;transform-origin:0 0">
<div style="position:absolute;left:0;top:0;width:417px;height:321px;background:#000080">
<div id="problem" style="position:absolute;left:32px;top:16px;width:169px;height:33px;
 color:#fff;font:18pt 'Comic Neue'">300 x 4 = ?</div></div>
<div id="seconds" style="position:absolute;left:512px;top:248px;width:32px;height:37px;
 font:bold 13.5pt 'Honderdtafels Sans'">60</div>
<input id="answer" aria-label="antwoord" style="position:absolute;left:136px;top:340px;
 width:121px;height:53px;box-sizing:border-box;background:#000080;color:#fff;
 text-align:center;font:bold 24pt 'Honderdtafels Sans'"></div>
<script>
var scale = Number(new URLSearchParams(location.search).get('scale')) || 1;
document.getElementById('desk').style.transform = 'scale(' + scale + ')';
document.getElementById('answer').focus();
var problem = document.getElementById('problem'), seconds = document.getElementById('seconds');
var fallen = 0, moves = false;
setInterval(function () {
  fallen = 16 + fallen + 2 + 33 > 321 ? 0 : fallen + 2;
  problem.style.transform = fallen ? 'translate(0px, ' + fallen + 'px)' : '';
  if (fallen && !moves) {
    moves = true;
    problem.style.willChange = 'transform';
  }
}, 100);
setInterval(function () {
  var left = Number(seconds.textContent);
  seconds.textContent = String(left > 0 ? left - 1 : 60);
}, 1000);
</script>
</body></html>
"""

# The test-clock program in a page of its own, loaded as the real page loads the program.
CLOCK_PAGE = """<!DOCTYPE html>
<html lang="nl"><head><meta charset="utf-8"><title>Honderdtafels on a test clock</title>
<link rel="stylesheet" href="page.css"><link rel="stylesheet" href="fonts.css"></head>
<body>
<script>
  var Module = {
    preRun: [function () {
      addRunDependency('fonts');
      Promise.all(Array.from(document.fonts, function (face) { return face.load(); }))
        .catch(function () {})
        .then(function () { removeRunDependency('fonts'); });
    }],
  };
</script>
<script src="honderdtafels_bench.js"></script>
</body></html>
"""

PAINTED = """
var done = arguments[arguments.length - 1];
function welcome(selector) {
  var w = document.querySelector(selector);
  return w && w.getClientRects().length > 0 &&
         Array.prototype.every.call(w.querySelectorAll('img'), function (i) { return i.complete; });
}
var shown = arguments[0] === 'program'
  ? function () { return welcome('[data-form="frmmecenaat1"]'); }
  : arguments[0] === 'first'
  ? function () {
      // The page's own first screen, or the program's if it came first, in its fonts.
      return (welcome('[data-first-form="frmmecenaat1"]') || welcome('[data-form="frmmecenaat1"]')) &&
             document.fonts.status === 'loaded';
    }
  : function () {
      return document.readyState === 'complete' && document.fonts.status === 'loaded';
    };
(function wait() {
  if (!shown()) { setTimeout(wait, 1); return; }
  requestAnimationFrame(function () { requestAnimationFrame(function () { done(performance.now()); }); });
})();
"""

# Counts from now on the timers and animation frames the page asks for.
COUNT_WAKE_UPS = """
window.benchWakeUps = 0;
['setTimeout', 'setInterval', 'requestAnimationFrame'].forEach(function (name) {
  var original = window[name];
  window[name] = function () { window.benchWakeUps++; return original.apply(window, arguments); };
});
"""

# Waits until a service worker the page registers has kept its files (at most 20 s).
WORKER_READY = """
var done = arguments[arguments.length - 1];
if (!navigator.serviceWorker) { done(false); return; }
setTimeout(function () { done(false); }, 20000);
navigator.serviceWorker.getRegistration().then(function (registration) {
  if (!registration) { done(false); return; }
  navigator.serviceWorker.ready.then(function () { done(true); });
});
"""

# Opens the drill and waits a second there, so that the round's measure starts with the
# drill drawn and still.
OPEN_DRILL = """
var done = arguments[arguments.length - 1];
function control(name) { return document.querySelector('[data-name="' + name + '"]'); }
control('cmdkombinnen').click();
(function wait() {
  var table = control('cmdstarter(3)');
  if (!table || table.getClientRects().length === 0) { setTimeout(wait, 50); return; }
  setTimeout(done, 1000);
})();
"""

# Clicks "x 4" and returns when the verdict appears, with both moments as the page's clock
# saw them. Only the verdict is watched: a watch on the whole page would run, and lay the
# page out, at each of the problem's moves.
# The page as it stands a second into a round, without its scripts: the window the child
# sees, every element of it, for a copy that the bare page's script moves (WINDOW_SCRIPT).
SNAPSHOT_ROUND = """
var done = arguments[arguments.length - 1];
function control(name) { return document.querySelector('[data-name="' + name + '"]'); }
control('cmdstarter(3)').click();
setTimeout(function () {
  var copy = document.documentElement.cloneNode(true);
  copy.querySelectorAll('script, link[rel="manifest"]').forEach(function (e) { e.remove(); });
  done('<!DOCTYPE html>' + copy.outerHTML);
}, 1000);
"""

# What moves in the copy of the page: its falling problem as the bare page moves its own, its
# countdown changed each second, its answer box with the keyboard.
WINDOW_SCRIPT = """<script>
function control(name) { return document.querySelector('[data-name="' + name + '"]'); }
var problem = control('lblvalprobleem'), seconds = control('Lblchrono');
var box = control('txtAntwoord');
(box.querySelector('input') || box).focus();
var fallen = 0, moves = false;
setInterval(function () {
  fallen = 16 + fallen + 2 + 33 > 321 ? 0 : fallen + 2;
  problem.style.transform = fallen ? 'translate(0px, ' + fallen + 'px)' : '';
  if (fallen && !moves) { moves = true; problem.style.willChange = 'transform'; }
}, 100);
var left = 60;
setInterval(function () {
  left = left > 0 ? left - 1 : 60;
  seconds.textContent = String(left);
}, 1000);
</script>"""

PLAY_ROUND = """
var done = arguments[arguments.length - 1];
function control(name) { return document.querySelector('[data-name="' + name + '"]'); }
var memo = control('Lblmemo');
var started = performance.now();
var watch = new MutationObserver(function () {
  if (memo.getClientRects().length > 0 && memo.textContent.trim() !== '') {
    watch.disconnect();
    done([started, performance.now()]);
  }
});
watch.observe(memo, {attributes: true, childList: true, characterData: true, subtree: true});
control('cmdstarter(3)').click();
"""

# Plays rounds on the test clock, as a child plays them, and notes the WebAssembly memory
# after the rounds asked for. Each round starts from a task of its own, as a click does.
CLOCK_ROUNDS = """
var marks = arguments[0], done = arguments[arguments.length - 1];
var last = marks[marks.length - 1], memory = {}, round = 0;
function control(name) { return document.querySelector('[data-name="' + name + '"]'); }
function shown(e) { return !!e && e.getClientRects().length > 0; }
var tables = [];
function answer() {
  var m = /(\\d+) x (\\d+) = \\?/.exec(control('lblvalprobleem').textContent);
  if (!m) return false;
  var box = control('txtAntwoord');
  box.value = String(Number(m[1]) * Number(m[2]));
  box.dispatchEvent(new Event('input', {bubbles: true}));
  return true;
}
function play() {
  try { playRound(); } catch (e) { done({error: String(e)}); }
}
function playRound() {
  tables[round % tables.length].click();
  var right = 0, spent = 0;
  for (var i = 0; i < 10; i++) {
    Module._bench_advance(700); spent += 700;
    if (answer()) right++;
  }
  Module._bench_advance(61000 - spent + 50);
  var memo = control('Lblmemo');
  if (!shown(memo) || memo.textContent.trim() === '') {
    done({error: 'round ' + (round + 1) + ' gave no verdict'});
    return;
  }
  var counted = Number(control('Lbltotaal').textContent);
  if (counted !== right) {
    done({error: 'round ' + (round + 1) + ' counted ' + counted + ' of ' + right + ' answers'});
    return;
  }
  round++;
  if (marks.indexOf(round) >= 0) {
    memory[round] = Module._bench_memory_bytes();
  }
  if (round === last) { done(memory); return; }
  setTimeout(play, 0);
}
(function start() {
  var welcome = control('cmdkombinnen');
  if (!shown(welcome) || typeof Module._bench_advance !== 'function') { setTimeout(start, 10); return; }
  welcome.click();
  tables = Array.prototype.slice.call(document.querySelectorAll('[data-name^="cmdstarter("]'));
  if (tables.length === 0) { done({error: 'no table buttons'}); return; }
  setTimeout(play, 0);
})();
"""


SERVE_SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts",
                          "serve-site")
# The page carries its style inside; the static page and the clock page link it as a file.
PAGE_CSS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shell", "web",
                        "page.css")
# What nginx leaves as it is (packaging/web/nginx-rules.conf): compressed already.
SENT_AS_IT_IS = (".woff2", ".png")


class Server:
    """The site as a school's nginx serves it, on a free port of 127.0.0.1, with or without
    its brotli module, with a line per request in its access log: request, status, bytes
    sent."""

    def __init__(self, root, work, brotli_module=True):
        self.log = os.path.join(work, "access-%s.log" % ("brotli" if brotli_module else "gzip"))
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        flags = [] if brotli_module else ["--no-brotli"]
        self.process = subprocess.Popen([SERVE_SITE, root, "--port", str(port),
                                         "--log", self.log] + flags, stdout=subprocess.DEVNULL)
        self.base = "http://127.0.0.1:%d/honderdtafels/" % port
        self.read = 0
        deadline = time.monotonic() + 10
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), 1).close()
                break
            except OSError:
                if time.monotonic() > deadline or self.process.poll() is not None:
                    raise RuntimeError("nginx does not listen on port %d" % port)
                time.sleep(0.05)

    def requests(self):
        """(status, bytes sent, path) of each request since the last call."""
        with open(self.log) as f:
            f.seek(self.read)
            lines = f.readlines()
            self.read = f.tell()
        return [(int(status), int(sent), request.split()[1])
                for request, status, sent in (line.rstrip("\n").rsplit(" ", 2) for line in lines)]

    def stop(self):
        self.process.terminate()
        self.process.wait()


def descendants(root):
    """The processes under root, by their parents in /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            children.setdefault(int(fields[1]), []).append(int(entry))
    found, todo = [], [root]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def cpu_seconds(pids):
    """CPU time of each process that is still there, summed over its threads, to the
    nanosecond (the scheduler's own count, finer than the clock ticks of /proc/PID/stat)."""
    used = {}
    for pid in pids:
        try:
            total = 0
            for task in os.listdir("/proc/%d/task" % pid):
                with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                    total += int(f.read().split()[0])
            used[pid] = total / 1e9
        except (OSError, ValueError):
            pass
    return used


def renderer_of_page(pids, driver):
    """The renderer process that runs the page: the one whose CPU the page's work raises."""
    renderers = []
    for pid in pids:
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                if b"--type=renderer" in f.read():
                    renderers.append(pid)
        except OSError:
            pass
    before = cpu_seconds(renderers)
    driver.execute_script("var t = performance.now(); while (performance.now() - t < 300) {}")
    after = cpu_seconds(renderers)
    return max(renderers, key=lambda p: after.get(p, 0) - before.get(p, 0))


class Usage:
    """CPU of the browser's processes over a stretch of time, as percent of one core."""

    def __init__(self, browser, renderer):
        self.browser, self.renderer = browser, renderer

    def __enter__(self):
        self.pids = descendants(self.browser)
        self.used = cpu_seconds(self.pids)
        self.started = time.monotonic()
        return self

    def __exit__(self, *args):
        seconds = time.monotonic() - self.started
        now = cpu_seconds(self.pids)
        used = {p: now[p] - self.used[p] for p in now if p in self.used}
        self.all = 100.0 * sum(used.values()) / seconds
        self.page = 100.0 * used.get(self.renderer, 0) / seconds


def chromium(profile, cache=True, eager=False):
    """Debian's headless Chromium; with cache=False every load is a first visit: nothing
    from the HTTP cache, nor from a service worker. With eager=True a page's load returns
    once its document is parsed, before its pictures, fonts and scripts have come, so that
    a page that paints before them can be timed."""
    options = webdriver.ChromeOptions()
    if eager:
        options.page_load_strategy = "eager"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1280,1024"):
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + profile)
    options.binary_location = "/usr/bin/chromium"
    service = Service("/usr/bin/chromedriver")
    driver = webdriver.Chrome(service=service, options=options)
    if not cache:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
    driver.set_script_timeout(300)
    return driver, service.process.pid


def first_visit(server, profile, name):
    """What nginx sends to a browser that has never seen the page, its cache on, until the
    page's service worker has every file: figures for the table, named name_*, and the
    requests."""
    driver, _ = chromium(profile)
    try:
        server.requests()
        driver.get(server.base)
        driver.execute_async_script(PAINTED, "program")
        time.sleep(1)  # the page registers its worker once it is loaded
        if not driver.execute_async_script(WORKER_READY):
            raise RuntimeError("the page's service worker did not become ready")
    finally:
        driver.quit()
    requests = server.requests()
    asked = collections.Counter(path for _, _, path in requests)
    return [(name + "_requests", len(requests)),
            (name + "_bytes", sum(sent for _, sent, _ in requests)),
            (name + "_paths", len(asked))], requests


def round_beside_floors(base, profiles):
    """One real round of the page, from the click on "x 4" until the verdict, with at the
    same time, each in a browser of its own, the bare page's round at the page's scale and
    the page's own window copied without its program (window.html) moved the same way. Each
    browser is new, as a browser that loaded page after page grows dearer to run. Returns
    the round's clock time and the CPU (Usage) of the page, the bare page and the copy over
    the same seconds."""
    browsers = [chromium(profile, cache=False, eager=True) for profile in profiles]
    try:
        (driver, browser), (floor_driver, floor_browser), (copy_driver, copy_browser) = browsers
        driver.get(base)
        driver.execute_async_script(PAINTED, "program")
        renderer = renderer_of_page(descendants(browser), driver)
        scale = driver.execute_script(
            "return getComputedStyle(document.documentElement).getPropertyValue('--scale')")
        floor_driver.get(base + "floor.html?scale=" + (scale.strip() or "1"))
        floor_driver.execute_async_script(PAINTED, "static")
        floor_renderer = renderer_of_page(descendants(floor_browser), floor_driver)
        copy_driver.get(base + "window.html")
        copy_driver.execute_async_script(PAINTED, "static")
        copy_renderer = renderer_of_page(descendants(copy_browser), copy_driver)
        driver.execute_async_script(OPEN_DRILL)
        with Usage(floor_browser, floor_renderer) as floor, \
                Usage(copy_browser, copy_renderer) as copy, Usage(browser, renderer) as page:
            started, ended = driver.execute_async_script(PLAY_ROUND)
    finally:
        for each, _ in browsers:
            each.quit()
    return (ended - started) / 1000, page, floor, copy


def window_copy(driver, base):
    """The page's window a second into a round, with the bare page's script that moves it."""
    driver.get(base)
    driver.execute_async_script(PAINTED, "program")
    driver.execute_async_script(OPEN_DRILL)
    page = driver.execute_async_script(SNAPSHOT_ROUND)
    return page.replace("</body>", WINDOW_SCRIPT + "</body>", 1)


def round_figures(pairs):
    """The figures of the pair whose renderers' ratio is the middle one, every pair's ratio,
    the copy of the window beside each, and the clock time of the round furthest from 61 s."""
    def ratio(pair):
        return pair[1].page / pair[2].page

    def to_copy(pair):
        return pair[1].page / pair[3].page
    middle = sorted(pairs, key=ratio)[len(pairs) // 2]
    _, page, floor, copy = middle
    furthest = max((seconds for seconds, _, _, _ in pairs), key=lambda s: abs(s - 61))
    return [("round_seconds", furthest), ("round_cpu_all", page.all),
            ("round_cpu_page", page.page), ("round_cpu_all_floor", floor.all),
            ("round_cpu_page_floor", floor.page), ("round_cpu_page_copy", copy.page),
            ("round_ratios", ",".join("%.3f" % ratio(pair) for pair in pairs)),
            ("round_copy_ratios", ",".join("%.3f" % to_copy(pair) for pair in pairs))]


def site_weights(site):
    """Each file of the site: raw, and as nginx sends it with gzip and with brotli."""
    lines = []
    for folder, _, files in sorted(os.walk(site)):
        for name in sorted(files):
            path = os.path.join(folder, name)
            if name.endswith((".gz", ".br")) or name == "web.config":
                continue
            with open(path, "rb") as f:
                data = f.read()
            if os.path.exists(path + ".gz"):
                sent = os.path.getsize(path + ".gz")
            elif name.endswith(SENT_AS_IT_IS):
                sent = len(data)
            else:
                sent = len(gzip.compress(data, 9))  # nginx's gzip on the fly, near enough
            if os.path.exists(path + ".br"):
                packed = os.path.getsize(path + ".br")
            elif name.endswith(SENT_AS_IT_IS):
                packed = len(data)
            else:
                packed = sent  # without a brotli copy, nginx sends it with gzip
            lines.append((os.path.relpath(path, site), len(data), sent, packed))
    return lines


def main():
    work = tempfile.mkdtemp(prefix="honderdtafels-bench-")
    root = os.path.join(work, "site")
    shutil.copytree(SITE, root)
    for name in ("honderdtafels_bench.js", "honderdtafels_bench.wasm"):
        shutil.copy(os.path.join(BENCH, name), root)
    with open(os.path.join(root, "static.html"), "w") as f:
        f.write(STATIC_PAGE)
    with open(os.path.join(root, "clock.html"), "w") as f:
        f.write(CLOCK_PAGE)
    with open(os.path.join(root, "floor.html"), "w") as f:
        f.write(FLOOR_PAGE)
    # With the compressed copies the build writes beside a site's files, which nginx sends.
    shutil.copy(PAGE_CSS, root)
    subprocess.run(["gzip", "-9", "-n", "-k", "-f", os.path.join(root, "page.css")], check=True)
    subprocess.run(["brotli", "-q", "11", "-k", "-f", os.path.join(root, "page.css")], check=True)
    figures = []
    # --- A first visit: everything nginx sends, a service worker's files included, with
    # gzip and with brotli ---------------------------------------------------------------------
    print("web: a first visit with gzip, the browser's cache on ...", file=sys.stderr)
    gzip_only = Server(root, work, brotli_module=False)
    try:
        visit, requests = first_visit(gzip_only, os.path.join(work, "first-visit-gzip"),
                                      "transfer")
        figures += visit
    finally:
        gzip_only.stop()
    server = Server(root, work)
    base = server.base
    driver = None
    try:
        print("web: a first visit with brotli, the browser's cache on ...", file=sys.stderr)
        visit, brotli_requests = first_visit(server, os.path.join(work, "first-visit-brotli"),
                                             "transfer_br")
        figures += visit
        driver, browser = chromium(os.path.join(work, "profile"), cache=False, eager=True)
        driver.get(base)
        driver.execute_async_script(PAINTED, "program")

        # --- Navigation to the welcome screen painted, against the static page ----------
        print("web: %d loads of the page and of the static page ..." % ROUNDS, file=sys.stderr)
        times = {"program": [], "static": []}
        for _ in range(ROUNDS):
            for kind, path in (("static", "static.html"), ("program", "")):
                driver.get("about:blank")
                driver.get(base + path)
                painted = "first" if kind == "program" else kind
                times[kind].append(driver.execute_async_script(PAINTED, painted))
        figures += [("load_program_ms", statistics.median(times["program"])),
                    ("load_static_ms", statistics.median(times["static"])),
                    ("loads", ROUNDS)]

        # --- Idle on the welcome screen -------------------------------------------------
        print("web: %d s idle on the welcome screen ..." % IDLE_SECONDS, file=sys.stderr)
        renderer = renderer_of_page(descendants(browser), driver)
        time.sleep(1)
        driver.execute_script(COUNT_WAKE_UPS)
        with Usage(browser, renderer) as idle:
            time.sleep(IDLE_SECONDS)
        figures += [("idle_cpu_all", idle.all), ("idle_cpu_page", idle.page),
                    ("idle_seconds", IDLE_SECONDS),
                    ("idle_wake_ups", driver.execute_script("return window.benchWakeUps"))]

        # --- The floor: the static page idle as long, in the same browser -------------------
        print("web: %d s idle on the static page ..." % IDLE_SECONDS, file=sys.stderr)
        driver.get(base + "static.html")
        driver.execute_async_script(PAINTED, "static")
        static_renderer = renderer_of_page(descendants(browser), driver)
        time.sleep(1)
        with Usage(browser, static_renderer) as floor:
            time.sleep(IDLE_SECONDS)
        figures += [("idle_cpu_all_static", floor.all), ("idle_cpu_page_static", floor.page)]
        # --- Real rounds, each with the bare page's round and the window's copy beside it ----
        with open(os.path.join(root, "window.html"), "w") as f:
            f.write(window_copy(driver, base))
        # A server reads the site as it was when it started: one more, with the copy.
        rounds_server = Server(root, work)
        try:
            pairs = []
            for n in range(1, ROUND_PAIRS + 1):
                print("web: round %d of %d, the bare page and the window's copy beside it"
                      " (a minute) ..." % (n, ROUND_PAIRS), file=sys.stderr)
                profiles = [os.path.join(work, "round-%d-%s" % (n, kind))
                            for kind in ("page", "floor", "copy")]
                pairs.append(round_beside_floors(rounds_server.base, profiles))
        finally:
            rounds_server.stop()
        figures += round_figures(pairs)

        # --- Memory over rounds on the test clock ---------------------------------------------
        print("web: %d rounds on the test clock ..." % MEMORY_ROUNDS[-1], file=sys.stderr)
        driver.get(base + "clock.html")
        memory = driver.execute_async_script(CLOCK_ROUNDS, list(MEMORY_ROUNDS))
        if "error" in memory:
            raise RuntimeError("test-clock rounds: " + memory["error"])
        for n in MEMORY_ROUNDS:
            figures.append(("memory_%d" % n, memory[str(n)]))
    finally:
        if driver:
            driver.quit()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)
    for name, value in figures:
        print("%s %s" % (name, value))
    for status, sent, path in requests:
        print("request %s %d %d" % (path, status, sent))
    for status, sent, path in brotli_requests:
        print("request_br %s %d %d" % (path, status, sent))
    for name, raw, sent, packed in site_weights(SITE):
        print("file %s %d %d %s" % (name, raw, sent, packed))


if __name__ == "__main__":
    main()
