#!/usr/bin/python3
"""The program in a browser engine, played as a child plays it.

    page_test.py ENGINE SITE_DIR [OUTPUT_DIR]

ENGINE is chromium, firefox or webkit (engines.py). Serves SITE_DIR (what `make web`
builds) on a free local port, opens it in the engine, and checks what the page shows:
start-up (from a file share too), one real-time round of "x 4" with typed answers to its
verdict and pencil, a letter giving the message box, the red light, a lesson "x 7" going
green and then black, "terug", and the stop button, after which the program ends by
itself about 11.3 s later; on the way, the 3-D frames' edges in the screenshots. Clicks,
typing and pointer moves are real browser input. Screenshots land in OUTPUT_DIR
(failures as fail.png).
"""

import os
import sys
import time

from PIL import Image

from browser import (TWIPS_PER_PIXEL, Failure, QuietHandler, fonts_loaded, log, problem, px,
                     run, serve, wait_until)
from engines import ENGINES

NAVY = "rgb(0, 0, 128)"
GREEN = "rgb(0, 255, 0)"
BOX_YELLOW = "rgb(255, 255, 0)"
BLACK = "rgb(0, 0, 0)"
RED = "rgb(255, 0, 0)"

# The 3-D edges as the desktop draws them, band by band from the outside in, per side.
LIGHT, FACE, SHADOW, DARK = (255, 255, 255), (212, 208, 200), (128, 128, 128), (64, 64, 64)
EDGES = {
    "window": {"left": [FACE, LIGHT], "top": [FACE, LIGHT], "right": [DARK, SHADOW],
               "bottom": [DARK, SHADOW]},
    "raised": {"left": [LIGHT], "top": [LIGHT], "right": [DARK, SHADOW], "bottom": [DARK, SHADOW]},
    "sunken": {"left": [SHADOW, DARK], "top": [SHADOW, DARK], "right": [LIGHT], "bottom": [LIGHT]},
}

# Kept by the page from the round's start: each change of the countdown with its time, and
# the clicks and message boxes that start, pause and resume the clock.
CLOCK_RECORDER = """
var record = window.roundClock = {ticks: [], marks: []};
var now = function () { return performance.now(); };
var label = document.querySelector('[data-name="Lblchrono"]');
new MutationObserver(function () { record.ticks.push([now(), label.textContent]); })
    .observe(label, {childList: true, characterData: true, subtree: true});
var memo = document.querySelector('[data-name="Lblmemo"]');
new MutationObserver(function () { if (!memo.hidden) record.ticks.push([now(), 'end']); })
    .observe(memo, {attributes: true, attributeFilter: ['hidden']});
addEventListener('click', function (e) {
  var named = e.target.closest && e.target.closest('[data-name]');
  record.marks.push([now(), named ? named.dataset.name : '']);
}, true);
new MutationObserver(function (changes) {
  changes.forEach(function (c) {
    c.addedNodes.forEach(function (n) { if (n.tagName === 'DIALOG') record.marks.push([now(), 'dialog']); });
    c.removedNodes.forEach(function (n) { if (n.tagName === 'DIALOG') record.marks.push([now(), 'closed']); });
  });
}).observe(document.body, {childList: true});
"""
TICK = 1000.0  # the countdown's interval, ms
LATE = 50.0  # how late the round may end, ms, as on the desktop
JITTER = 200.0  # how late one tick may come on a busy machine, ms; the next is on time again


# A classroom's interactive whiteboard, where the round is played by mouse.
WHITEBOARD = 1920, 1080


def sel(name):
    return '[data-name="%s"]' % name


def form(name):
    return '[data-form="%s"]' % name


class Page:
    """The page in one of engines.py's drivers; its screenshots go to out."""

    def __init__(self, engine, out):
        self.e, self.out = engine, out

    def js(self, script, *args):
        return self.e.js(script, *args)

    def text(self, selector):
        return self.js("return document.querySelector(arguments[0]).textContent", selector)

    def value(self, name):
        return self.js("return document.querySelector(arguments[0]).value", sel(name))

    def exists(self, selector):
        return self.js("return !!document.querySelector(arguments[0])", selector)

    def shown(self, selector):
        return self.js("var e = document.querySelector(arguments[0]);"
                       "return !!e && e.getClientRects().length > 0", selector)

    def style(self, selector, prop):
        return self.js("return getComputedStyle(document.querySelector(arguments[0]))"
                       ".getPropertyValue(arguments[1])", selector, prop)

    def rect(self, selector):
        return self.js("var r = document.querySelector(arguments[0]).getBoundingClientRect();"
                       "return {left: r.left, top: r.top, width: r.width, height: r.height}",
                       selector)

    def focus(self, name):
        self.js("document.querySelector(arguments[0]).focus()", sel(name))

    def focused(self):
        return self.js(
            "var e = document.activeElement; return e && e.dataset ? e.dataset.name || '' : ''")

    def dialog_open(self):
        return self.js("var d = document.querySelector('dialog'); return !!(d && d.open)")

    def shot(self, name):
        path = os.path.join(self.out, name + ".png")
        self.e.screenshot(path)
        return path

    def wait(self, what, condition, timeout=3.0):
        wait_until(what, condition, timeout)

    def viewport(self):
        return self.js(
            "return [document.documentElement.clientWidth, document.documentElement.clientHeight]")

    def scale(self):
        """How many of the page's pixels one pixel of the program takes."""
        return float(self.js("return getComputedStyle(document.documentElement)"
                             ".getPropertyValue('--scale') || '1'"))

    def resize(self, width, height):
        """The page at width x height, once the program has taken its new scale."""
        if self.viewport() == [width, height]:
            return
        before = self.scale()
        # The program listens from its start, so it has answered when this listener hears it.
        self.js("window.resized = false;"
                "addEventListener('resize', function () { window.resized = true; }, {once: true})")
        self.e.resize(width, height)
        self.wait("the page is %s, not %dx%d" % (self.viewport(), width, height),
                  lambda: self.viewport() == [width, height] and self.js("return window.resized"))
        log("the page is %dx%d: scale %.3g, was %.3g" % (width, height, self.scale(), before))

    def centred_at(self, outer_w, outer_h):
        """Where the design's arithmetic puts a window of this outer size (twips) on the
        display, in the page's pixels, and how far off the page may round it."""
        scale, (width, height) = self.scale(), self.viewport()
        return ((px((width / scale * TWIPS_PER_PIXEL - outer_w) / 2) * scale,
                 px((height / scale * TWIPS_PER_PIXEL - outer_h) / 2) * scale), max(1, scale))


def check(what, condition):
    if not condition:
        raise Failure(what)


def answer(page):
    """Types the product of the falling problem; returns when the next problem came."""
    a, b = problem(page)
    before = page.text(sel("Lbltotaal"))
    page.e.type(str(a * b))
    page.wait("the right answer %d was not counted" % (a * b),
              lambda: page.text(sel("Lbltotaal")) != before and page.value("txtAntwoord") == "")


BELGIAN_NUMBER_ROW = {"1": "&", "2": "é", "3": '"', "4": "'", "5": "(", "6": "§", "7": "è",
                      "8": "!", "9": "ç", "0": "à"}


def check_edges(page, shot, selector, kind):
    """The 3-D edge of the element in the screenshot, each side a third along it (Firefox
    may leave a seam of one blended pixel in the middle of a long edge)."""
    r = page.rect(selector)
    image = Image.open(shot).convert("RGB")
    left, top = round(r["left"]), round(r["top"])
    right, bottom = left + round(r["width"]) - 1, top + round(r["height"]) - 1
    x, y = left + (right - left) // 3, top + (bottom - top) // 3
    steps = {"left": lambda i: (left + i, y), "top": lambda i: (x, top + i),
             "right": lambda i: (right - i, y), "bottom": lambda i: (x, bottom - i)}
    for side, bands in EDGES[kind].items():
        seen = [image.getpixel(steps[side](i)) for i in range(len(bands))]
        check("%s's %s edge in %s at %s is %s, not %s" % (
            selector, side, os.path.basename(shot), r, seen, bands), seen == bands)


def check_round_clock(record):
    """The countdown ticked on the clock: 59 down to 0 and the verdict, 61 ticks, each one
    interval after the one before or after the round started or resumed (ticks come late,
    never early, and the round ends on its time, as on the desktop), none while
    the classroom was open, and of those falling due behind the message box only one, as
    it closes. Counted in ticks, a tick the message box swallowed cannot pass for time."""
    values = [value for _, value in record["ticks"]]
    check("the countdown showed %s" % values,
          values == [str(n) for n in range(59, -1, -1)] + ["end"])
    marks = record["marks"]
    at = {name: [t for t, n in marks if n == name] for name in
          ("cmdstarter(3)", "cmdrood", "Cmdterug", "dialog", "closed")}
    start, paused, resumed = at["cmdstarter(3)"][0], at["cmdrood"][0], at["Cmdterug"][0]
    opened, closed = at["dialog"][0], at["closed"][0]
    phase, count, swallowed = start, 0, None
    for t, value in record["ticks"]:
        check("tick %s at %.0f ms while the classroom was open" % (value, t - start),
              not paused < t < resumed)
        check("tick %s at %.0f ms behind the message box" % (value, t - start),
              not opened < t < closed)
        if t > resumed and phase < resumed:
            phase, count = resumed, 0
        due = int((closed - phase) // TICK)  # ticks due by the time the message box closed
        if closed < t and count < due:
            check("the tick held back by the message box came %.0f ms after it closed"
                  % (t - closed), 0 <= t - closed < JITTER)
            swallowed, count = due - count - 1, due
            continue
        count += 1
        late = t - (phase + count * TICK)
        check("tick %s came %.0f ms off its time" % (value, late),
              -1 < late < (LATE if value == "end" else JITTER))
    check("no tick came as the message box closed", swallowed is not None)
    return swallowed


def check_centred(page, selector, outer_w, outer_h, origin=(0, 0)):
    r = page.rect(selector)
    (left, top), slack = page.centred_at(outer_w, outer_h)
    check("%s at %s, expected %.1f,%.1f" % (selector, r, left, top),
          abs(r["left"] - origin[0] - left) <= slack and abs(r["top"] - origin[1] - top) <= slack)
    return r


def session(page):
    """At the page's first size (scale 1) the welcome screen; on a whiteboard the drill and a
    round by mouse; the classroom's lesson at the first size again, the page resized
    mid-round, and back on the whiteboard to the round's end and the end."""
    e = page.e
    first = page.viewport()

    # --- Start-up: the page is the main window, with the welcome screen in it ----------------
    page.wait("no welcome screen", lambda: page.shown(form("frmmecenaat1")), 20)
    log("welcome screen shown")
    check("menu title is %r" % page.text(sel("aftrek")), page.text(sel("aftrek")).strip() == "OPENEN")
    check("the client area has the main window's colour",
          page.style("#client", "background-color") == "rgb(234, 226, 138)")
    # Centred by its own arithmetic against the page's size, inside the client area.
    client = page.rect("#client")
    check_centred(page, form("frmmecenaat1"), 11160 + 2 * 3 * TWIPS_PER_PIXEL,
                  6720 + 2 * 3 * TWIPS_PER_PIXEL, (client["left"], client["top"]))
    check("fonts: %s" % fonts_loaded(page),
          fonts_loaded(page) == {("Honderdtafels Sans", "loaded"), ("Comic Neue", "loaded")})
    shot = page.shot("welcome")
    check_edges(page, shot, form("frmmecenaat1"), "window")
    # The start button has the keyboard from the first moment, its ring over its edge.
    check("the keyboard is on %r, not on the start button" % page.focused(),
          page.focused() == "cmdkombinnen")

    # --- The drill, on a whiteboard ---------------------------------------------------------
    page.resize(*WHITEBOARD)
    check("the whiteboard's scale is %s" % page.scale(), page.scale() > 1.5)
    e.click(sel("cmdkombinnen"))
    page.wait("no drill after the start button", lambda: page.shown(form("Tafels")))
    page.wait("the welcome screen stays", lambda: not page.shown(form("frmmecenaat1")))
    check("the drill has a title bar", not page.exists(form("Tafels") + " .titlebar"))
    # Its load centres it on the display, thin frame included.
    drill_at = check_centred(page, form("Tafels"), 10440 + 2 * TWIPS_PER_PIXEL,
                             7410 + 2 * TWIPS_PER_PIXEL)
    log("drill shown")
    page.shot("drill-idle")

    # What a screen reader gets, from the engine's own accessibility tree where its driver
    # can read it (Chromium's DevTools): the names the desktop program gives.
    if hasattr(e, "accessible_names"):
        named = e.accessible_names()
        for role, name in (("button", "x 4"),
                           ("textbox", "Vul hier zo snel mogelijk de oplossing in"),
                           ("dialog", "Tafels oefenen"), ("button", "Stop de oefening")):
            check("no %s named %r for a screen reader" % (role, name), (role, name) in named)

    # Hover tips come from the toolkit's own hit-testing of real pointer moves.
    e.move(sel("cmdstarter(3)"))
    page.wait("no explanation when the pointer is on x 4",
              lambda: page.text(sel("lbluitleg")).strip() != "")
    log("hover over x 4: %r" % page.text(sel("lbluitleg")))

    # Tab goes along the table buttons as they stand on the screen, not as the design lists
    # them (x 4 is cmdstarter(3), x 5 cmdstarter(4)); Shift+Tab goes back.
    page.focus("cmdstarter(3)")
    e.press("Tab")
    check("Tab from x 4 went to %r" % page.focused(), page.focused() == "cmdstarter(4)")
    e.press("Tab", shift=True)
    check("Shift+Tab from x 5 went to %r" % page.focused(), page.focused() == "cmdstarter(3)")

    # --- A round of "x 4" -------------------------------------------------------------------
    page.js(CLOCK_RECORDER)
    e.click(sel("cmdstarter(3)"))
    page.wait("no problem falls", lambda: problem(page) is not None)
    check("the answer box does not have the keyboard (%r has)" % page.focused(),
          page.focused() == "txtAntwoord")
    check("the problem is not of x 4: %s" % (problem(page),), problem(page)[1] == 4)
    for _ in range(6):
        answer(page)
    # On a Belgian keyboard the number row gives & é " ' ( § è ! ç à without Shift; the
    # answer box takes the key's place, so the child still types digits. Only Chromium's
    # DevTools send a key whose place and character differ.
    if hasattr(e, "press_by_place"):
        a, b = problem(page)
        before = page.text(sel("Lbltotaal"))
        for digit in str(a * b):
            e.press_by_place("Digit" + digit, BELGIAN_NUMBER_ROW[digit], ord(digit))
        page.wait("%d typed on a Belgian keyboard was not counted" % (a * b),
                  lambda: page.text(sel("Lbltotaal")) != before and page.value("txtAntwoord") == "")
        log("one answer typed on a Belgian keyboard")
    else:
        answer(page)
    log("7 answers counted")
    page.shot("drill-round")

    # A letter: the message box, modal, and nothing reaches the program while it is open.
    e.type("a")
    page.wait("no message box after a letter", page.dialog_open)
    title = page.text("dialog .titlebar")
    check("message box title %r" % title, title == "Let eens op !!")
    check("message box text %r" % page.text("dialog p"),
          page.text("dialog p") == "Je mag alleen cijfers invoegen")
    check("message box without information icon", page.exists("dialog svg"))
    buttons = page.js("return Array.from(document.querySelectorAll('dialog button'))"
                      ".map(function (b) { return b.textContent; })")
    check("message box buttons %s" % buttons, buttons == ["OK"])
    page.shot("message-box")
    seconds = page.text(sel("Lblchrono"))
    falling = page.rect(sel("lblvalprobleem"))["top"]
    time.sleep(2.2)
    check("the clock ran on behind the message box", page.text(sel("Lblchrono")) == seconds)
    check("the problem fell on behind the message box",
          page.rect(sel("lblvalprobleem"))["top"] == falling)
    e.click("dialog button")
    page.wait("the message box stays open", lambda: not page.dialog_open())
    page.wait("the letter stays in the answer box", lambda: page.value("txtAntwoord") == "")
    page.wait("the clock does not run after the message box",
              lambda: page.text(sel("Lblchrono")) != seconds, 2.5)
    check("the answer box lost the keyboard", page.focused() == "txtAntwoord")
    for _ in range(5):
        answer(page)
    log("message box closed; 12 answers counted")

    # --- The red light: the classroom and a lesson "x 7", the page at its first size -------
    e.click(sel("cmdrood"))
    page.wait("no classroom after the red light", lambda: page.shown(form("Aklas")))
    page.wait("the drill stays", lambda: not page.shown(form("Tafels")))
    caption = page.text(form("Aklas") + " .titlebar")
    check("classroom caption %r" % caption, caption.strip() == "A klas")
    outer_w, outer_h = 11880 + 2 * 4 * TWIPS_PER_PIXEL, 8010 + (2 * 4 + 19) * TWIPS_PER_PIXEL
    check_centred(page, form("Aklas"), outer_w, outer_h)
    page.resize(*first)
    check_centred(page, form("Aklas"), outer_w, outer_h)
    log("classroom shown, centred again on a smaller page")

    # Return on the window itself (no control has the keyboard) moves the focus on.
    # A bare spot of the classroom, below its board and right of its pupils (offsets from
    # the middle of the client area).
    e.click(form("Aklas") + " .client", -96, 173)
    check("a click on the bare classroom gave a control the keyboard: %r" % page.focused(),
          page.focused() == "")
    e.press("Enter")
    page.wait("Return on the classroom did not move the focus", lambda: page.focused() != "")
    log("Return on the classroom: focus to %s" % page.focused())

    sevens = [0, 7, 14, 21, 28, 35, 42, 49, 56, 63, 70]
    others = [1, 8, 13, 22, 50, 71, 77, 100]

    def colours(numbers):
        # In one call, so that a poll sees the field at one moment.
        return page.js(
            "return arguments[0].map(function (k) { return getComputedStyle(document.querySelector("
            "'[data-name=\"Text2(' + k + ')\"]')).backgroundColor; })", numbers)

    check("the field is not yellow before the lesson", set(colours(sevens + others)) == {BOX_YELLOW})
    # Return on a focused table button presses it.
    page.focus("Cmd7")
    e.press("Enter")
    lesson_started = time.monotonic()
    page.wait("x 7 did not light its products green", lambda: set(colours(sevens)) == {GREEN})
    check("x 7 coloured other boxes", set(colours(others)) == {BOX_YELLOW})
    shot = page.shot("classroom-lesson")
    check_edges(page, shot, form("Aklas"), "window")
    check_edges(page, shot, sel("Text2(50)"), "sunken")
    log("x 7: the eleven products are green; the frames have the desktop's edges")
    page.wait("the products did not turn black", lambda: set(colours(sevens)) == {BLACK}, 12)
    turned_black = time.monotonic() - lesson_started
    check("the products turned black after %.2f s, not 10 s" % turned_black,
          9.5 < turned_black < 11.0)
    log("the products turned black after %.2f s" % turned_black)
    page.wait("no terug after the lesson", lambda: page.shown(sel("Cmdterug")), 7)
    ended = time.monotonic() - lesson_started
    check("the lesson ended after %.2f s, not 15 s" % ended, 14.5 < ended < 16.0)
    check_edges(page, page.shot("classroom-answers"), sel("Cmd3"), "raised")
    log("the table buttons and terug came back after %.2f s" % ended)

    page.resize(*WHITEBOARD)
    e.click(sel("Cmdterug"))
    page.wait("the classroom stays after terug", lambda: not page.shown(form("Aklas")))
    page.wait("no drill after terug", lambda: page.shown(form("Tafels")))
    check("the drill came back elsewhere", page.rect(form("Tafels")) == drill_at)
    page.wait("the answer box has not the keyboard after terug",
              lambda: page.focused() == "txtAntwoord")
    log("terug: back in the round")

    # --- The rest of the round, unanswered, to its verdict -----------------------------------
    memo = sel("Lblmemo")
    page.wait("the round did not end", lambda: page.shown(memo), 70)
    swallowed = check_round_clock(page.js("return window.roundClock"))
    log("round over after 61 ticks of the clock, each on its time (%d swallowed behind the "
        "message box)" % swallowed)
    check("score %r" % page.text(sel("Lbltotaal")), page.text(sel("Lbltotaal")) == "12")
    check("verdict %r" % page.text(memo), page.text(memo).strip() == "Nog wat oefenen")
    check("verdict colour", page.style(memo, "background-color") == RED)
    check("no red pencil", page.shown(sel("Imgpotloodrood")))
    page.shot("drill-verdict")

    # --- Stop: the information screen, then the end ------------------------------------------
    e.click(sel("Cmdstop"))
    stopped_at = time.monotonic()
    page.wait("no information screen after stop", lambda: page.shown(form("frminfo")))
    page.wait("the drill stays after stop", lambda: not page.shown(form("Tafels")))
    bar, panel = sel("ProgressBar1"), sel("StatusBar1") + " > .panel:nth-of-type(2)"
    inside = page.js("return document.querySelector(arguments[0]).parentElement.dataset.name", bar)
    check("the progress bar is not in the status bar but in %r" % inside, inside == "StatusBar1")
    b, p = page.rect(bar), page.rect(panel)
    check("progress bar %s not over the second panel %s" % (b, p),
          all(abs(b[k] - p[k]) <= 1 for k in ("left", "top", "width", "height")))
    page.wait("the progress bar does not move",
              lambda: page.js("return document.querySelector(arguments[0]).value", bar) > 10, 3)
    page.shot("information")
    log("information screen shown")
    page.wait("the program did not end",
              lambda: page.js("return document.body.dataset.ended === 'true'"), 15)
    ended = time.monotonic() - stopped_at
    log("the program ended %.2f s after stop" % ended)
    check("the program ended %.2f s after stop, not about 11.3 s" % ended, 10.5 < ended < 13.0)
    check("windows left after the end", not page.exists(".window, #mdi"))
    page.shot("ended")


def start_from_file(engine, page, site):
    """From a file share, as a school may put it there: the program starts with its fonts."""
    engine.get("file://" + os.path.join(site, "index.html"))
    page.wait("no welcome screen from a file:// address",
              lambda: page.shown(form("frmmecenaat1")), 20)
    check("fonts from a file:// address: %s" % fonts_loaded(page), fonts_loaded(page) == {
        ("Honderdtafels Sans", "loaded"), ("Comic Neue", "loaded")})
    log("the page runs from a file:// address")


def play(name, site, out, steps, handler=QuietHandler):
    """The frame every test of the page shares: serves site, opens the engine with its
    screenshots in out, and runs steps(engine, page, site, url) in it."""
    site, out = os.path.abspath(site), os.path.abspath(out)
    os.makedirs(out, exist_ok=True)
    server = serve(site, handler=handler)
    url = "http://127.0.0.1:%d/" % server.server_address[1]
    engine = ENGINES[name]()
    page = Page(engine, out)
    log("%s started" % name)
    return run(engine, lambda: steps(engine, page, site, url), os.path.join(out, "fail.png"),
               server.shutdown)


def main(name, site, out="web-e2e-output"):
    def steps(engine, page, site, url):
        start_from_file(engine, page, site)
        # The menu "OPENEN " > "&Basis" opens the drill as the start button does.
        engine.click(sel("aftrek"))
        engine.click(sel("aftrek2"))
        page.wait("no drill from the menu", lambda: page.shown(form("Tafels")))
        page.wait("the welcome screen stays after the menu",
                  lambda: not page.shown(form("frmmecenaat1")))
        log("the menu opens the drill")
        engine.get(url)
        session(page)

    return play(name, site, out, steps)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
