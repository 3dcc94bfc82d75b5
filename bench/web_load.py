#!/usr/bin/python3
"""Time from navigation to the welcome screen painted, in headless Chromium.

    web_load.py SITE_DIR [ROUNDS]

Serves SITE_DIR (what `make web` builds) and, for comparison, a static page with the same
pictures and fonts as the welcome screen, and opens each ROUNDS times in turn with the
browser cache off. A page counts as painted at the second animation frame after it shows
what it shows: the program's welcome window, or the static page's pictures and text in
their fonts. Prints the median of each, in milliseconds since navigation started, and the
site's size raw and gzip-compressed.
"""

import functools
import gzip
import http.server
import os
import shutil
import statistics
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

SITE = os.path.abspath(sys.argv[1])
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 7

STATIC_PAGE = """<!DOCTYPE html>
<html lang="nl"><head><meta charset="utf-8"><title>static</title>
<link rel="stylesheet" href="fonts.css"><link rel="stylesheet" href="page.css"></head>
<body style="background:#eae28a">
<div style="font:bold 11.25pt 'Liberation Sans'">Educatieve software voor de basisschool.</div>
<img src="pictures/welcome-photo.svg" alt=""><img src="pictures/welcome-side.svg" alt="">
<img src="pictures/weblink.svg" alt=""><img src="pictures/program-icon.svg" alt="">
<div style="font:18pt 'Liberation Sans'">Kwikstaart <b>Klik hier en start !</b></div>
<div style="font:18pt 'Comic Neue'">300 x 4 = ?</div>
</body></html>
"""

PAINTED = """
var done = arguments[arguments.length - 1];
var shown = arguments[0] === 'program'
  ? function () {
      var w = document.querySelector('[data-form="frmmecenaat1"]');
      return w && w.getClientRects().length > 0 &&
             Array.prototype.every.call(w.querySelectorAll('img'), function (i) { return i.complete; });
    }
  : function () {
      return document.readyState === 'complete' && document.fonts.status === 'loaded';
    };
(function wait() {
  if (!shown()) { setTimeout(wait, 1); return; }
  requestAnimationFrame(function () { requestAnimationFrame(function () { done(performance.now()); }); });
})();
"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


# What only a page opened from a file share loads.
FILE_SHARE_ONLY = {"fonts-inline.css", "honderdtafels.wasm.js"}


def size(directory, skip=()):
    raw = packed = 0
    for root, _, files in os.walk(directory):
        for name in files:
            if name in skip or name.startswith("COPYING"):
                continue
            with open(os.path.join(root, name), "rb") as f:
                data = f.read()
            raw += len(data)
            packed += len(gzip.compress(data, 9))
    return raw, packed


def main():
    work = tempfile.mkdtemp(prefix="honderdtafels-load-")
    shutil.copytree(SITE, os.path.join(work, "site"))
    with open(os.path.join(work, "site", "static.html"), "w") as f:
        f.write(STATIC_PAGE)
    handler = functools.partial(QuietHandler, directory=os.path.join(work, "site"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d/" % server.server_address[1]

    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1280,1024"):
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + os.path.join(work, "profile"))
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
    driver.set_script_timeout(30)
    times = {"program": [], "static": []}
    try:
        for _ in range(ROUNDS):
            for kind, path in (("program", ""), ("static", "static.html")):
                driver.get("about:blank")
                driver.get(base + path)
                times[kind].append(driver.execute_async_script(PAINTED, kind))
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)
    program, static = statistics.median(times["program"]), statistics.median(times["static"])
    raw, packed = size(SITE)
    web_raw, web_packed = size(SITE, FILE_SHARE_ONLY)
    print("welcome screen painted %.0f ms after navigation (median of %d)" % (program, ROUNDS))
    print("static page with the same pictures and fonts %.0f ms" % static)
    print("ratio %.2f" % (program / static))
    print("folder %d bytes, %d bytes gzip-compressed (without the licences)" % (raw, packed))
    print("loaded from a web server %d bytes, %d bytes gzip-compressed" % (web_raw, web_packed))


if __name__ == "__main__":
    main()
