#!/usr/bin/python3
"""The program on a tablet and a phone: headless Chromium emulating a touch screen, landscape
(1024 x 768) and portrait (768 x 1024), and a phone on its side (844 x 390), played with taps that reach the page as real touch
events and digits that come as an on-screen keyboard sends them.

    touch_test.py SITE_DIR [OUTPUT_DIR]

For each orientation: every window shown fits the page or, where its design is larger,
stands where the desktop's arithmetic puts it and a finger can scroll to each of its edges;
a tap presses a button once; a finger on a table button or a light shows its explanation
in the strip before it lifts, as hovering does; the tap that starts a round gives the
answer box (a number pad) the keyboard; digits score; nothing zooms, and no element a
finger taps lets a double tap zoom. The round is left
after its first answers. Screenshots land in OUTPUT_DIR (a failure as fail.png).
"""

import os
import sys
import time

from selenium.webdriver.common.by import By

from browser import (TWIPS_PER_PIXEL, Failure, chromium, log, parse_problem, px, run, serve,
                     wait_until)

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "web-touch-output")
os.makedirs(OUT, exist_ok=True)

GREEN = "rgb(0, 255, 0)"
# The windows' designs: client area in twips, frame and title bar in pixels.
WINDOWS = {
    "frmmecenaat1": {"client": (11160, 6720), "edge": 3, "title": 0, "child": True},
    "Tafels": {"client": (10440, 7410), "edge": 1, "title": 0, "child": False},
    "Aklas": {"client": (11880, 8010), "edge": 4, "title": 19, "child": False},
    "frminfo": {"client": (10185, 5925), "edge": 3, "title": 0, "child": True},
}
# What the taps do, recorded from before the program starts: the clicks, and where the
# keyboard goes (during a click or not, to a read-only box or not).
RECORDER = """
window.taps = {click: [], focus: [], program: []};
addEventListener('click', function () { taps.click.push(performance.now()); taps.inClick = true; }, true);
addEventListener('click', function () { taps.inClick = false; }, false);
addEventListener('focusin', function (e) {
  taps.focus.push({name: e.target.dataset ? e.target.dataset.name || '' : '',
                   inClick: !!taps.inClick, readOnly: !!e.target.readOnly});
}, true);
"""
# Once the program runs: the pointer moves and clicks the page hands to it. Emscripten
# may replace an entry point on its first call; the new one is recorded as well.
SPY = """
['_web_mouse_move', '_web_click'].forEach(function (name) {
  var real = Module[name];
  Object.defineProperty(Module, name, {
    configurable: true,
    get: function () {
      return real && function () {
        taps.program.push([name].concat(Array.prototype.slice.call(arguments)));
        return real.apply(this, arguments);
      };
    },
    set: function (f) { real = f; },
  });
});
"""


def check(what, condition):
    if not condition:
        raise Failure(what)


class Tablet:
    """The page in a browser that acts as a tablet of the given size."""

    def __init__(self, driver, width, height):
        self.d = driver
        self.width, self.height = width, height
        self.d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                               {"enabled": True, "maxTouchPoints": 5})
        self.d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 2, "mobile": True,
            "screenOrientation": {"type": "landscapePrimary" if width > height else
                                  "portraitPrimary", "angle": 90 if width > height else 0}})

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def control(self, name):
        return self.d.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name)

    def window(self, form):
        return self.d.find_element(By.CSS_SELECTOR, '[data-form="%s"]' % form)

    def shown(self, form):
        found = self.d.find_elements(By.CSS_SELECTOR, '[data-form="%s"]' % form)
        return bool(found) and self.shown_element(found[0])

    def shown_element(self, element):
        return self.js("return arguments[0].getClientRects().length > 0", element)

    def rect(self, element):
        return self.js("var r = arguments[0].getBoundingClientRect();"
                       "return {left: r.left, top: r.top, right: r.right, bottom: r.bottom}",
                       element)

    def text(self, name):
        return self.js("return arguments[0].textContent", self.control(name)).strip()

    def explanation(self, name):
        """The explanation a button's design gives it, which the page hands a screen reader
        as its description, or as its name where the button has no caption."""
        button = self.control(name)
        return button.get_attribute("aria-description") or button.get_attribute("aria-label")

    def focused(self):
        return self.js("var e = document.activeElement; return e && e.dataset ? e.dataset.name || '' : ''")

    def scale(self):
        """The browser's own zoom: a pinch, or a double tap."""
        return self.js("return visualViewport.scale")

    def display_scale(self):
        """How many of the page's pixels one pixel of the program takes."""
        return float(self.js("return getComputedStyle(document.documentElement)"
                             ".getPropertyValue('--scale') || '1'"))

    def shot(self, name):
        self.d.save_screenshot(os.path.join(OUT, name + ".png"))

    def wait(self, what, condition, timeout=3.0):
        wait_until(what, condition, timeout)

    def touch(self, x, y, while_down=None):
        self.d.execute_cdp_cmd("Input.dispatchTouchEvent",
                               {"type": "touchStart", "touchPoints": [{"x": x, "y": y}]})
        if while_down:
            while_down()
        self.d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def swipe(self, start, end, steps=12):
        """A finger drawn across the page, as a child scrolls it."""
        touch = self.d.execute_cdp_cmd
        touch("Input.dispatchTouchEvent", {"type": "touchStart",
                                           "touchPoints": [{"x": start[0], "y": start[1]}]})
        for step in range(1, steps + 1):
            at = [start[k] + (end[k] - start[k]) * step / steps for k in (0, 1)]
            touch("Input.dispatchTouchEvent", {"type": "touchMove",
                                               "touchPoints": [{"x": at[0], "y": at[1]}]})
            time.sleep(0.016)
        touch("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        time.sleep(0.4)  # the page comes to rest

    def tap(self, x, y, while_down=None):
        """A finger's tap at a point of the page; returns what the program was handed."""
        self.js("taps.program = []; taps.click = []; taps.focus = []")
        self.touch(x, y, while_down)
        self.wait("a tap at %d,%d gave no click" % (x, y), lambda: self.js("return taps.click.length"))
        time.sleep(0.35)  # a second click of the same tap would have come by now
        taps = self.js("return taps")
        check("a tap at %d,%d gave %d clicks" % (x, y, len(taps["click"])), len(taps["click"]) == 1)
        return taps

    def tap_on_element(self, element, while_down=None):
        # A double tap there zooms nothing and no tap waits for a second one: the element
        # or one around it lets a finger only pan and pinch. (A double tap in Chromium's
        # touch emulation never zooms, whatever the page says, so only the rule can show it.)
        actions = self.js("var seen = [];"
                          "for (var e = arguments[0]; e; e = e.parentElement)"
                          "  seen.push(getComputedStyle(e).touchAction);"
                          "return seen", element)
        check("a double tap on %s may zoom: touch-action %s from it out" % (
            element.get_attribute("data-name"), actions),
              any(a in ("manipulation", "none") for a in actions))
        r = self.rect(element)
        return self.tap((r["left"] + r["right"]) / 2, (r["top"] + r["bottom"]) / 2, while_down)

    def tap_on(self, name, while_down=None):
        return self.tap_on_element(self.control(name), while_down)

    def tap_explained(self, name, closes=False):
        """A tap on a button that explains itself in the strip: the explanation is there
        while the finger is still down, as the pointer's hovering shows it before a click,
        and stays after it, unless the button closes the window."""
        explanation = self.explanation(name)
        check("%s has no explanation to show" % name, explanation)
        check("the strip shows %r before the tap on %s" % (explanation, name),
              self.text("lbluitleg") != explanation)
        taps = self.tap_on(name, lambda: self.wait(
            "a finger on %s did not show %r in the strip" % (name, explanation),
            lambda: self.text("lbluitleg") == explanation))
        check_moved_then_pressed(taps, "a tap on " + name)
        if not closes:
            check("after a tap on %s the strip shows %r, not %r" % (
                name, self.text("lbluitleg"), explanation), self.text("lbluitleg") == explanation)
        return taps

    def type_on_screen_keyboard(self, digits):
        """Digits as an on-screen keyboard sends them: text input, no key codes."""
        for digit in digits:
            self.d.execute_cdp_cmd("Input.insertText", {"text": digit})


def check_moved_then_pressed(taps, what):
    """The tap reached the program as one pointer move, without a button, then a click."""
    names = [call[0] for call in taps["program"]]
    check("%s: the program was handed %s, not one move and a click" % (what, names),
          names == ["_web_mouse_move", "_web_click"])
    buttons = taps["program"][0][4]  # window, x, y, buttons, shift
    check("%s: the move came with buttons %s" % (what, buttons), buttons == 0)


def check_windows(t, forms):
    """Each window fits the page; one larger than the page stands where the desktop's
    arithmetic puts it and can be scrolled to every edge. Returns the windows' offsets."""
    viewport = t.js("return [document.documentElement.clientWidth, document.documentElement.clientHeight]")
    check("the page is %s, not the tablet's %dx%d" % (viewport, t.width, t.height),
          viewport == [t.width, t.height])
    client = t.rect(t.d.find_element(By.ID, "client"))
    # The display is the page divided by the program's scale; the windows stand where the
    # desktop's arithmetic puts them on it.
    scale = t.display_scale()
    placed = {}
    for form in forms:
        design = WINDOWS[form]
        outer = (design["client"][0] + 2 * design["edge"] * TWIPS_PER_PIXEL,
                 design["client"][1] + (2 * design["edge"] + design["title"]) * TWIPS_PER_PIXEL)
        want = tuple(px((viewport[k] / scale * TWIPS_PER_PIXEL - outer[k]) / 2) * scale
                     for k in (0, 1))
        box = t.window(form)
        origin = (client["left"], client["top"]) if design["child"] else (0, 0)
        r = t.rect(box)
        at = (r["left"] - origin[0], r["top"] - origin[1])
        check("%s at %s, where the desktop puts it at %s" % (form, at, want),
              all(abs(at[k] - want[k]) <= max(1, scale) for k in (0, 1)))
        if want[0] >= 0 and want[1] >= 0 \
                and origin[0] + want[0] + px(outer[0]) * scale <= viewport[0] + 0.5 \
                and origin[1] + want[1] + px(outer[1]) * scale <= viewport[1] + 0.5:
            check("%s fits, yet it reaches over the page's edge: %s" % (form, r),
                  r["left"] >= 0 and r["top"] >= 0 and r["right"] <= viewport[0] + 0.5 and
                  r["bottom"] <= viewport[1] + 0.5)
            placed[form] = "fits at scale %.3g" % scale
            continue
        # A finger drawn across the window brings its top left edge into view, then the
        # bottom right one.
        inside = ((max(r["left"], 0) + min(r["right"], viewport[0])) / 2,
                  (max(r["top"], 0) + min(r["bottom"], viewport[1])) / 2)
        near, far = (0.2 * viewport[0], 0.2 * viewport[1]), (0.8 * viewport[0], 0.8 * viewport[1])
        t.swipe((near[0], inside[1]), (far[0], inside[1]))
        t.swipe((inside[0], near[1]), (inside[0], far[1]))
        first = t.rect(box)
        t.shot("%dx%d-%s-top-left" % (t.width, t.height, form))
        t.swipe((far[0], inside[1]), (near[0], inside[1]))
        t.swipe((inside[0], far[1]), (inside[0], near[1]))
        last = t.rect(box)
        t.shot("%dx%d-%s-bottom-right" % (t.width, t.height, form))
        check("%s: its top left edge cannot be scrolled to: %s" % (form, first),
              first["left"] >= origin[0] - 0.5 and first["top"] >= origin[1] - 0.5)
        check("%s: its bottom right edge cannot be scrolled to: %s" % (form, last),
              last["right"] <= viewport[0] + 0.5 and last["bottom"] <= viewport[1] + 0.5)
        placed[form] = "reaches %+d,%+d and scrolls" % want
    return placed


def problem(t):
    return parse_problem(t.text("lblvalprobleem"))


def play(t, url):
    name = "%dx%d" % (t.width, t.height)
    t.d.get(url)
    t.wait("no welcome screen", lambda: t.shown("frmmecenaat1"), 20)
    t.js(SPY)
    check("the page opens zoomed to %s" % t.scale(), t.scale() == 1)
    log("%s: welcome screen shown: %s" % (name, check_windows(t, ["frmmecenaat1"])))
    t.shot(name + "-welcome")

    # A tap on the start button opens the drill.
    t.tap_on("cmdkombinnen")
    t.wait("no drill after a tap on the start button", lambda: t.shown("Tafels"))
    log("%s: drill shown: %s" % (name, check_windows(t, ["Tafels"])))

    # A tap on a table button shows its explanation, as the pointer coming over it does,
    # and starts the round; the answer box gets the keyboard in that very tap, not read-only.
    taps = t.tap_explained("cmdstarter(3)")
    t.wait("no problem falls after a tap on x 4", lambda: problem(t) is not None)
    box = t.control("txtAntwoord")
    given = [f for f in taps["focus"] if f["name"] == "txtAntwoord"]
    check("the answer box did not get the keyboard in the tap: %s" % taps["focus"],
          given and given[0]["inClick"])
    check("the answer box got the keyboard while read-only", not given[0]["readOnly"])
    check("the answer box does not have the keyboard: %r has" % t.focused(),
          t.focused() == "txtAntwoord")
    for attribute, value in (("inputmode", "numeric"), ("autocapitalize", "off"),
                             ("autocorrect", "off"), ("autocomplete", "off"),
                             ("spellcheck", "false")):
        given = t.js("return arguments[0].getAttribute(arguments[1])", box, attribute)
        check("the answer box has %s=%r" % (attribute, given), given == value)
    log("%s: a tap on x 4: %r in the strip, round started, answer box focused in the tap"
        % (name, t.text("lbluitleg")))

    # The number pad's digits score.
    for count in (1, 2):
        a, b = problem(t)
        t.type_on_screen_keyboard(str(a * b))
        t.wait("%d from the number pad was not counted" % (a * b),
               lambda: t.text("Lbltotaal") == str(count) and box.get_attribute("value") == "")
    log("%s: two answers from the number pad counted" % name)

    # Anything but a digit gives the message box; its OK gives the answer box the keyboard
    # back within the tap, so that the on-screen keyboard comes back with it.
    t.type_on_screen_keyboard("-")
    t.wait("no message box after a '-'",
           lambda: t.js("var d = document.querySelector('dialog'); return !!(d && d.open)"))
    taps = t.tap_on_element(t.d.find_element(By.CSS_SELECTOR, "dialog button"))
    given = [f for f in taps["focus"] if f["name"] == "txtAntwoord"]
    check("OK did not give the answer box the keyboard in the tap: %s" % taps["focus"],
          given and given[0]["inClick"] and t.focused() == "txtAntwoord")
    t.shot(name + "-drill-round")

    # A tap on the oops button shows its explanation too, and presses it.
    t.tap_explained("cmdoeifout")
    check("the answer box lost the keyboard after the oops button: %r" % t.focused(),
          t.focused() == "txtAntwoord")

    # The red light: its explanation, then the classroom.
    t.tap_explained("cmdrood")
    t.wait("no classroom after a tap on the red light", lambda: t.shown("Aklas"))
    t.shot(name + "-classroom")
    log("%s: classroom shown: %s" % (name, check_windows(t, ["Aklas"])))
    t.tap_on("Cmd7")
    t.wait("a tap on x 7 did not light its products green",
           lambda: t.js("return getComputedStyle(document.querySelector("
                        "'[data-name=\"Text2(49)\"]')).backgroundColor") == GREEN)
    t.shot(name + "-classroom-lesson")
    check("the taps zoomed the page to %s" % t.scale(), t.scale() == 1)
    log("%s: a tap on x 7 started its lesson; the page's scale stayed 1" % name)

    # Afresh, the drill from the menu and its stop button before any round: the
    # information screen.
    t.d.get(url)
    t.wait("no welcome screen", lambda: t.shown("frmmecenaat1"), 20)
    t.js(SPY)
    t.tap_on("aftrek")
    t.wait("a tap on the menu did not open it", lambda: t.shown_element(t.control("aftrek2")))
    t.tap_on("aftrek2")
    t.wait("no drill after a tap on the menu's item", lambda: t.shown("Tafels"))
    t.tap_explained("Cmdstop", closes=True)
    t.wait("no information screen after a tap on stop", lambda: t.shown("frminfo"))
    t.shot(name + "-information")
    log("%s: information screen shown: %s" % (name, check_windows(t, ["frminfo"])))


def main():
    server = serve(SITE)
    driver = chromium()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": RECORDER})

    def steps():
        url = "http://127.0.0.1:%d/" % server.server_address[1]
        # Two tablets, and a phone on its side, where the program is smaller than its designs.
        for width, height in ((1024, 768), (768, 1024), (844, 390)):
            play(Tablet(driver, width, height), url)

    return run(driver, steps, os.path.join(OUT, "fail.png"), server.shutdown)


if __name__ == "__main__":
    sys.exit(main())
