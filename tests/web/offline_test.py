#!/usr/bin/python3
"""The page without a network after one visit, installable, and updated to a new version.

    offline_test.py SITE_DIR OUTPUT_DIR CMAKE

Serves a copy of SITE_DIR (what `make web` builds) on a local port and opens it once in
headless Chromium, until its service worker controls the page; checks that the worker keeps
every file of the site and that Chromium finds the page installable. Then it stops the
server and reloads: the program starts, the drill opens, a round starts and a typed answer
scores, and the classroom shows pictures the first visit never loaded. Last, a new version
comes onto the server as a school copies it, its worker first: a worker whose files the
server does not yet hold is not installed, and once they are all there the new version
takes over the worker, while the old page plays its round on with its own version's files;
the next start is the new version, and the old version's cache is gone. The new version is
written with the build's own generator (CMAKE -P).
"""

import base64
import collections
import hashlib

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the shared steps below come from the source tree
from browser import QuietHandler, chromium, log, run, serve
from browser import SeleniumPage as Page, check, fonts_loaded, problem

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2])
CMAKE = sys.argv[3] if len(sys.argv) > 3 else None  # only to write a new version
SOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shell", "web")
# Only for a page opened from a file, which runs no service worker.
FILE_COPIES = {"fonts-inline.js", "honderdtafels.wasm.js"}


class SchoolServer(QuietHandler):
    """Caches as a school's server tells the browser to: the page, its worker and its
    manifest are asked for again each time, the rest is kept. Counts what it is asked for."""
    asked = collections.Counter()
    always_asked = {"/", "/index.html", "/service-worker.js", "/manifest.webmanifest"}

    def do_GET(self):
        self.asked[self.path.split("?")[0]] += 1
        super().do_GET()

    def end_headers(self):
        fresh = self.path.split("?")[0] in self.always_asked
        self.send_header("Cache-Control", "no-cache" if fresh else "max-age=3600")
        super().end_headers()


def worker_version(site):
    with open(os.path.join(site, "service-worker.js"), encoding="utf-8") as worker:
        text = worker.read()
    return (re.search(r"const VERSION = '([0-9.]+-[0-9a-f]+)';", text).group(1),
            dict(re.findall(r"^  '([^']+)': '(sha256-[^']+)',$", text, re.M)))


def integrity(path):
    with open(path, "rb") as contents:
        return "sha256-" + base64.b64encode(hashlib.sha256(contents.read()).digest()).decode()


def site_files(site):
    """The site's files a browser may ask for: not the compressed copies a server sends in
    their place, nor IIS's web.config."""
    return {os.path.relpath(os.path.join(folder, name), site)
            for folder, _, names in os.walk(site) for name in names
            if not name.endswith((".gz", ".br")) and name != "web.config"}


def rewrite_worker(site, files):
    """Writes the site's worker as the build does, from the same template and script, for
    the program's version that the site's worker names."""
    program_version = worker_version(site)[0].split("-")[0]
    subprocess.run([CMAKE, "-DSITE=" + site, "-DPROJECT_VERSION=" + program_version,
                    "-DFILES=" + ",".join(os.path.join(site, f) for f in files),
                    "-DTEMPLATE=" + os.path.join(SOURCES, "service-worker.js.in"),
                    "-DOUTPUT=" + os.path.join(site, "service-worker.js"),
                    "-P", os.path.join(SOURCES, "service_worker.cmake")], check=True)


def run_async(page, script):
    """Runs a script that ends in a promise, and returns its value."""
    return page.d.execute_async_script(
        "var done = arguments[arguments.length - 1];"
        "Promise.resolve().then(function () { return " + script + "; })"
        ".then(done, function (e) { done('error: ' + e); });")


def cache_names(page):
    """The caches of the program's versions (not the worker's record of open pages)."""
    return [name for name in run_async(page, "caches.keys()")
            if not name.startswith("honderdtafels pages ")]


def versions_kept(page):
    return sorted(name.rsplit(" ", 1)[1] for name in cache_names(page))


# Asks the page's service worker registration for an update and waits for the new worker's
# fate: "activated" when it took over, "redundant" when its install failed.
UPDATE = """navigator.serviceWorker.getRegistration().then(function (reg) {
  return new Promise(function (done) {
    function watch(worker) {
      if (!worker) return;
      var check = function () {
        if (worker.state === 'redundant' || worker.state === 'activated') done(worker.state);
      };
      worker.addEventListener('statechange', check);
      check();
    }
    reg.addEventListener('updatefound', function () { watch(reg.installing); });
    watch(reg.installing);
    reg.update().catch(function () {});
  });
})"""


def fetched(page, file):
    return run_async(page, "fetch(%r).then(function (r) { return r.text(); })" % file)


def kept_files(page, name):
    return run_async(page, "caches.open(%r).then(function (c) { return c.keys(); })"
                           ".then(function (r) { return r.map(function (q) { return q.url; }); })"
                     % name)


def controlled(page):
    return page.d.execute_script("return !!navigator.serviceWorker.controller")


def pictures_shown(page, form):
    """The pictures of a window as (source, drawn) pairs."""
    return page.d.execute_script(
        "return Array.from(arguments[0].querySelectorAll('img')).map(function (i) {"
        "  return [i.getAttribute('src'), i.complete && i.naturalWidth > 0]; })",
        page.window(form))


def check_installable(page):
    manifest = page.d.execute_cdp_cmd("Page.getAppManifest", {})
    check(page, "manifest errors: %s" % manifest.get("errors"), manifest.get("errors") == [])
    check(page, "no manifest at %s" % manifest.get("url"),
          manifest.get("url", "").endswith("/manifest.webmanifest"))
    errors = page.d.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    check(page, "not installable: %s" % errors, errors == [])
    log("the manifest has no errors and Chromium can install the page")


def first_visit(page, url, version, files, asked=lambda: SchoolServer.asked):
    """The page's first visit, until its service worker keeps every file; asked() counts
    the server's requests by path."""
    page.d.get(url)
    page.wait("no welcome screen online", lambda: page.window_shown("frmmecenaat1"), 20)
    page.wait("the service worker does not control the page", lambda: controlled(page), 20)
    names = cache_names(page)
    check(page, "caches after the first visit: %s" % names,
          len(names) == 1 and names[0].endswith(" " + version))
    kept = {u[len(url):] for u in kept_files(page, names[0])}
    check(page, "the worker keeps %s, not the files %s" % (sorted(kept), sorted(files)),
          kept == set(files))
    log("the service worker controls the page and keeps its %d files" % len(kept))
    twice = sorted(path for path, count in asked().items()
                   if count > 1 and path not in SchoolServer.always_asked)
    check(page, "the first visit asked the server twice for %s" % twice, not twice)
    log("the worker took what the page had loaded from the browser's cache")
    check_installable(page)


def offline_session(page, url):
    page.d.refresh()
    page.wait("no welcome screen offline", lambda: page.window_shown("frmmecenaat1"), 20)
    check(page, "the network is not off: a file outside the cache came",
          run_async(page, "fetch('not-kept.txt').then(function () { return 'came'; },"
                          " function () { return 'failed'; })") == "failed")
    check(page, "fonts offline: %s" % fonts_loaded(page),
          fonts_loaded(page) == {("Honderdtafels Sans", "loaded"), ("Comic Neue", "loaded")})
    log("offline: the welcome screen, with its fonts")
    page.control("cmdkombinnen").click()
    page.wait("no drill offline", lambda: page.window_shown("Tafels"))
    page.control("cmdstarter(3)").click()
    page.wait("no problem falls offline", lambda: problem(page) is not None)
    a, b = problem(page)
    box = page.control("txtAntwoord")
    box.send_keys(str(a * b))
    page.wait("the answer %d did not score offline" % (a * b),
              lambda: page.control("Lbltotaal").text.strip() == "1")
    log("offline: a round of x 4 runs and %d x %d = %d scores" % (a, b, a * b))
    page.wait("the drill's pictures are missing offline",
              lambda: all(drawn for _, drawn in pictures_shown(page, "Tafels")))
    # The classroom's pictures were never loaded online: they come from the worker's cache.
    page.control("cmdrood").click()
    page.wait("no classroom offline", lambda: page.window_shown("Aklas"))
    page.wait("the classroom's pictures are missing offline: %s" % pictures_shown(page, "Aklas"),
              lambda: pictures_shown(page, "Aklas") and
              all(drawn for _, drawn in pictures_shown(page, "Aklas")))
    page.shot("offline-classroom")
    log("offline: the classroom and its pictures")


def new_version(page, site, old, files):
    """A school copies the next build onto its server while the page is open, the worker
    first. Its version differs in the page's style and in a picture the page has not shown."""
    build = os.path.join(os.path.dirname(site), "next")
    shutil.copytree(site, build)
    picture = sorted(f for f in files if f.startswith("pictures/"))[0]
    with open(os.path.join(build, "index.html"), encoding="utf-8") as html:
        page_text = html.read()
    with open(os.path.join(build, "index.html"), "w", encoding="utf-8") as html:
        html.write(page_text.replace("</style>", "body { --test-version: 2; }\n</style>", 1))
    with open(os.path.join(build, picture), "a", encoding="utf-8") as svg:
        svg.write("<!-- 2 -->\n")
    rewrite_worker(build, files)
    new, _ = worker_version(build)
    check(page, "a changed style gave the worker the same version %s" % new, new != old)
    with open(os.path.join(site, picture), encoding="utf-8") as svg:
        old_picture = svg.read()

    def version_running():
        return page.d.execute_script(
            "return getComputedStyle(document.body).getPropertyValue('--test-version').trim()")

    # Online again with only the new worker there: its files are not the server's, so it is
    # not installed, and the first start plays the old version from its cache.
    shutil.copy(os.path.join(build, "service-worker.js"), site)
    page.d.refresh()
    page.wait("no welcome screen after going online", lambda: page.window_shown("frmmecenaat1"), 20)
    check(page, "the new version started before it was kept", version_running() == "")
    outcome = run_async(page, UPDATE)
    check(page, "a worker whose files the server lacks was %s" % outcome, outcome == "redundant")
    check(page, "a half-copied version was kept: %s" % versions_kept(page),
          versions_kept(page) == [old])
    log("a new worker without its files on the server is not installed; %s goes on" % old)

    page.control("cmdkombinnen").click()
    page.wait("no drill online", lambda: page.window_shown("Tafels"))
    page.control("cmdstarter(3)").click()
    page.wait("no problem falls online", lambda: problem(page) is not None)
    # The rest of the new version arrives: it takes over the worker, not the page's program.
    shutil.copytree(build, site, dirs_exist_ok=True)
    outcome = run_async(page, UPDATE)
    check(page, "the whole new version was %s, not taken over" % outcome, outcome == "activated")
    check(page, "the open page's version was not kept beside the new one: %s" % versions_kept(page),
          versions_kept(page) == sorted([old, new]))
    seconds = page.control("Lblchrono").text
    page.wait("the round stopped when the new version came",
              lambda: page.control("Lblchrono").text != seconds, 2.5)
    a, b = problem(page)
    before = page.control("Lbltotaal").text
    page.control("txtAntwoord").send_keys(str(a * b))
    page.wait("an answer after the new version came did not score",
              lambda: page.control("Lbltotaal").text != before)
    check(page, "the page changed its program during a round", version_running() == "")
    check(page, "the open page was served the new version's %s" % picture,
          fetched(page, picture) == old_picture)
    log("the new version %s took over the worker; the round of the old one played on with "
        "its own files" % new)

    # The next start is the new version, and nothing keeps the old one any more.
    page.d.refresh()
    page.wait("no welcome screen in the new version", lambda: page.window_shown("frmmecenaat1"), 20)
    check(page, "the next start is not the new version", version_running() == "2")
    check(page, "the new worker does not control the page", controlled(page))
    page.wait("the old version's cache outlived its page: %s" % versions_kept(page),
              lambda: versions_kept(page) == [new])
    log("the next start runs the new version %s; the old cache is gone" % new)


def main():
    os.makedirs(OUT, exist_ok=True)
    version, files = worker_version(SITE)
    site = os.path.join(tempfile.mkdtemp(prefix="honderdtafels-offline-"), "site")
    shutil.copytree(SITE, site)
    servers = [serve(site, handler=SchoolServer)]
    port = servers[0].server_address[1]
    url = "http://127.0.0.1:%d/" % port
    driver = chromium()
    page = Page(driver)

    def steps():
        everything = site_files(SITE) - FILE_COPIES - {"service-worker.js"}
        check(page, "the worker leaves out %s and keeps %s besides" % (
            sorted(everything - set(files)), sorted(set(files) - everything)),
            set(files) == everything)
        wrong = sorted(f for f in files if files[f] != integrity(os.path.join(SITE, f)))
        check(page, "the worker's integrity of %s is not the files' hash" % wrong, not wrong)
        first_visit(page, url, version, files)
        servers[-1].shutdown()
        servers[-1].server_close()
        log("the server is stopped")
        offline_session(page, url)
        servers.append(serve(site, port, SchoolServer))  # the page's origin again
        new_version(page, site, version, files)

    def stop():
        for server in servers:
            server.shutdown()

    return run(driver, steps, os.path.join(OUT, "fail-offline.png"), stop,
               ignored=lambda message: "not-kept.txt" in message)


if __name__ == "__main__":
    sys.exit(main())
