#!/usr/bin/python3
"""The first screen the build wrote into the page, against the one the program builds.

    first_screen_test.py ENGINE SITE_DIR [OUTPUT_DIR]

ENGINE is chromium, firefox or webkit (engines.py). The page is served with its program held
back until the first screen has been seen: at the sizes of sizes_test.py (Chromium) or at
a phone's, a tablet's and the tests' own size (Firefox, WebKit), every window, control,
text and picture of the first screen stands where, and as, the program then draws its own,
and the display's scale is the program's. A click and Enter on the start button before the
program is ready find it plainly not live (greyed, never the keyboard's) and do nothing
once the program runs; the program's own start button then starts the drill. From a file
share the first screen comes the same. Screenshots land in OUTPUT_DIR (failures as
fail.png).
"""

import os
import shutil
import sys
import tempfile

from browser import QuietHandler, log
from engines import HEIGHT, WIDTH
from page_test import check, form, play, sel
from sizes_test import SIZES

PROGRAM = "/honderdtafels.js"
SOME_SIZES = [(360, 640), (1024, 768), (WIDTH, HEIGHT)]
# How far apart the two may stand, in the page's pixels: a subpixel of a text's baseline.
SLACK = 0.5
GREY = "rgb(128, 128, 128)"

# What stands where: every element of the windows that is seen, by its window's or its own
# name (the build's copy names them data-first-form and data-first-name), with its text,
# picture and box in the page; and the advice to turn the phone.
SNAPSHOT = """
var prefix = arguments[0];
var out = [];
var named = document.querySelectorAll('[data-' + prefix + 'form], [data-' + prefix + 'name]');
named.forEach(function (e) {
  if (!e.getClientRects().length) return;
  var r = e.getBoundingClientRect();
  var picture = e.querySelector('img');
  out.push({form: e.getAttribute('data-' + prefix + 'form'),
            name: e.getAttribute('data-' + prefix + 'name'),
            tag: e.tagName, text: e.textContent,
            picture: picture ? picture.getAttribute('src') : null,
            box: [r.left, r.top, r.width, r.height]});
});
var turn = document.getElementById('turn');
if (turn) {
  var r = turn.getBoundingClientRect();
  out.push({form: null, name: 'turn', tag: turn.tagName, text: turn.textContent, picture: null,
            box: [r.left, r.top, r.width, r.height]});
}
return {scale: getComputedStyle(document.documentElement).getPropertyValue('--scale').trim(),
        elements: out};
"""


class Held(QuietHandler):
    """The site, with the program's script held back: a stand-in comes in its place, and
    loads the program when the test calls releaseProgram(). (Held on the wire, the script
    would hold back the page's load, and with it the driver.)"""

    def do_GET(self):
        if self.path != PROGRAM:
            return super().do_GET()
        body = ("window.releaseProgram = function () {"
                " var s = document.createElement('script');"
                " s.src = '%s?released'; document.head.append(s); };" % PROGRAM[1:]).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/javascript")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)


def snapshot(page, prefix):
    return page.js(SNAPSHOT, prefix)


def ready(page):
    return page.js("return !!(window.Module && Module.calledRun)")


def compare(size, first, program):
    """The build's first screen against the program's, element by element."""
    check("at %dx%d the first screen's scale %s, the program's %s" % (
        *size, first["scale"], program["scale"]), float(first["scale"]) == float(program["scale"]))
    names = lambda snap: [(e["form"], e["name"]) for e in snap["elements"]]
    check("at %dx%d the first screen shows %s, the program %s" % (
        *size, names(first), names(program)), names(first) == names(program))
    for a, b in zip(first["elements"], program["elements"]):
        what = "at %dx%d %s" % (size[0], size[1], a["name"] or a["form"])
        for key in ("tag", "text", "picture"):
            check("%s: the first screen's %s %r, the program's %r" % (what, key, a[key], b[key]),
                  a[key] == b[key])
        check("%s stands at %s in the first screen, at %s in the program" % (what, a["box"], b["box"]),
              all(abs(x - y) <= SLACK for x, y in zip(a["box"], b["box"])))


def held_start(engine, page, url, size):
    """The page at size with its program held back; the first screen as it stands."""
    engine.resize(*size)
    engine.get(url)
    page.wait("no first screen at %dx%d" % size, lambda: page.shown(form("frmmecenaat1").replace(
        "data-form", "data-first-form")), 10)
    check("the program ran before its script came", not ready(page))
    return snapshot(page, "first-")


def release(page):
    """Lets the program come, once the page has asked for it (after its first screen)."""
    page.wait("the page did not ask for its program",
              lambda: page.js("return typeof releaseProgram === 'function'"), 10)
    page.js("releaseProgram()")
    page.wait("the program is not ready", lambda: ready(page), 20)


def check_places(engine, page, url, sizes):
    for size in sizes:
        first = held_start(engine, page, url, size)
        release(page)
        program = snapshot(page, "")
        compare(size, first, program)
        check("the first screen is left in the page",
              not page.exists("[data-first-screen]"))
        log("at %dx%d the first screen stands as the program's: %d elements, scale %s" % (
            *size, len(first["elements"]), first["scale"]))


def check_early_input(engine, page, url, from_file):
    """A click and Enter before the program is ready: the start button is plainly not live,
    and they do nothing once it is; the program's start button then works. The first
    screen is the one a file share gave."""
    first = held_start(engine, page, url, (WIDTH, HEIGHT))
    compare((WIDTH, HEIGHT), from_file, first)
    log("the first screen comes from a file:// address as from a server")
    start = sel("cmdkombinnen").replace("data-name", "data-first-name")
    check("the start button looks live before the program: %s" % page.style(start, "color"),
          page.style(start, "color") == GREY)
    page.shot("first-screen")
    # At its place on the page: a driver refuses to aim at a control that is not live.
    button, body = page.rect(start), page.rect("body")
    engine.click("body", round(button["left"] + button["width"] / 2 - body["width"] / 2),
                 round(button["top"] + button["height"] / 2 - body["height"] / 2))
    engine.press("Enter")
    check("the start button took the keyboard before the program",
          not page.js("return document.activeElement === document.querySelector(arguments[0])",
                      start))
    release(page)
    page.wait("no welcome screen from the program", lambda: page.shown(form("frmmecenaat1")))
    check("the early click or key started the drill", not page.shown(form("Tafels")))
    page.shot("program")
    engine.click(sel("cmdkombinnen"))
    page.wait("no drill after the program's start button", lambda: page.shown(form("Tafels")))
    log("input before the program is ready finds the start button not live")


def first_from_file(engine, page, site):
    """From a file share, the program left out: the first screen alone. First of all, at the
    tests' size: WebKit's driver shows a smaller page in a frame, where no file:// page
    loads."""
    with tempfile.TemporaryDirectory(prefix="honderdtafels-first-screen-") as share:
        copy = os.path.join(share, "site")
        shutil.copytree(site, copy)
        for script in ("honderdtafels.js", "honderdtafels.wasm.js"):
            with open(os.path.join(copy, script), "w") as empty:
                empty.write("// left out: the first screen alone\n")
        engine.get("file://" + os.path.join(copy, "index.html"))
        page.wait("no first screen from a file:// address", lambda: page.exists(
            "[data-first-screen]"), 10)
        return snapshot(page, "first-")


def main(name, site, out="web-first-screen-output"):
    def steps(engine, page, site, url):
        from_file = first_from_file(engine, page, site)
        check_early_input(engine, page, url, from_file)
        check_places(engine, page, url, SIZES if name == "chromium" else SOME_SIZES)

    return play(name, site, out, steps, handler=Held)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
