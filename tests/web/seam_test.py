#!/usr/bin/python3
"""Where the page meets the browser, played with the keyboard alone through real key
events in headless Chromium:

    seam_test.py SITE_DIR [OUTPUT_DIR]

the start button has the keyboard from the first moment, so Space starts; Tab goes on
in the window; "x 7" pressed by its key in the classroom hides the frame around it and
the keyboard stays with the classroom, in the page and in Chromium's accessibility tree;
a round pauses while the page is hidden and goes on when it is shown; turning the tablet
mid-round centres the drill again; digits typed through an input method count once; and
after "Stop de oefening" the empty page offers the start button again, with the
keyboard, and Space starts the program afresh. Screenshots land in OUTPUT_DIR.
"""

import os
import sys
import time

from selenium.webdriver.common.by import By

from browser import Failure, chromium, log, parse_problem, run, serve, wait_until

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "web-seam-output")
os.makedirs(OUT, exist_ok=True)

# KeyboardEvent key, code and the Windows key code Chromium wants for each key we press.
KEYS = {" ": ("Space", 32), "Tab": ("Tab", 9), "Enter": ("Enter", 13)}
KEYS.update({str(d): ("Digit%d" % d, 48 + d) for d in range(10)})


def check(what, condition):
    if not condition:
        raise Failure(what)


class Page:
    def __init__(self, driver):
        self.d = driver

    def cdp(self, command, params=None):
        return self.d.execute_cdp_cmd(command, params or {})

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def viewport(self, width, height):
        self.cdp("Emulation.setDeviceMetricsOverride",
                 {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})

    def press(self, key, shift=False):
        code, vk = KEYS[key]
        text = {"Enter": "\r", "Tab": ""}.get(key, key)
        event = {"key": key, "code": code, "windowsVirtualKeyCode": vk,
                 "modifiers": 8 if shift else 0}
        self.cdp("Input.dispatchKeyEvent", dict(event, type="keyDown", text=text) if text
                 else dict(event, type="rawKeyDown"))
        self.cdp("Input.dispatchKeyEvent", dict(event, type="keyUp"))

    def focused(self):
        """The control with the keyboard by its name, "Form:window" for a window itself."""
        return self.js("""var e = document.activeElement;
            if (e && e.classList.contains('client')) return e.closest('.window').dataset.form + ':window';
            return e && e.dataset && e.dataset.name ? e.dataset.name : (e ? e.tagName : '')""")

    def shown(self, form):
        return self.js("var w = document.querySelector('[data-form=\"%s\"]');"
                       "return !!w && w.getClientRects().length > 0" % form)

    def text(self, name):
        return self.js("return document.querySelector('[data-name=\"%s\"]').textContent" % name)

    def tab_to(self, name, limit=30):
        for _ in range(limit):
            if self.focused() == name:
                return
            self.press("Tab")
        raise Failure("Tab never reached %s (at %s)" % (name, self.focused()))

    def focused_in_accessibility_tree(self):
        """The role and name of the node a screen reader has in focus, if any."""
        nodes = self.cdp("Accessibility.getFullAXTree")["nodes"]
        focused = [(n.get("role", {}).get("value"), n.get("name", {}).get("value"))
                   for n in nodes for p in n.get("properties", [])
                   if p["name"] == "focused" and p["value"].get("value")]
        # The document holds the focus too; the node inside it is the one a reader reads.
        return focused[-1] if focused else None

    def wait(self, what, condition, timeout=3.0):
        wait_until(what, condition, timeout)

    def window_left(self, form):
        return self.js("return document.querySelector('[data-form=\"%s\"]')"
                       ".getBoundingClientRect().left" % form)

    def seconds_left(self):
        return int(self.text("Lblchrono").strip() or -1)

    def shot(self, name):
        self.d.save_screenshot(os.path.join(OUT, name + ".png"))


def start(page):
    """The first moment: the start button has the keyboard, so Space starts."""
    page.wait("the welcome screen did not come", lambda: page.shown("frmmecenaat1"), 20)
    page.wait("the start button has not the keyboard but %s" % page.focused(),
              lambda: page.focused() == "cmdkombinnen")
    page.press(" ")
    page.wait("Space on the start button opened no drill", lambda: page.shown("Tafels"))
    first = page.focused()
    check("the drill gave the keyboard to %s, not its first control" % first,
          first not in ("BODY", "Tafels:window"))
    page.press("Tab")
    check("Tab in the drill stayed on %s" % first, page.focused() not in (first, "BODY"))
    log("Space and Tab from the first moment")


def play_a_round_by_keys(page):
    page.tab_to("cmdstarter(3)")  # x 2
    page.press(" ")
    page.wait("the round gave the answer box no keyboard", lambda: page.focused() == "txtAntwoord")
    problem = parse_problem(page.text("lblvalprobleem"))
    check("no problem falls", problem)
    for digit in str(problem[0] * problem[1]):
        page.press(digit)
    page.wait("the typed answer did not score", lambda: page.text("Lbltotaal").strip() == "1")
    log("a round started and an answer scored by keys alone")


def composition(page):
    """Digits through an input method: the keys come with isComposing (key code 229) and
    the composed text comes once as it ends; the box must hold it once."""
    problem = parse_problem(page.text("lblvalprobleem"))
    answer = str(problem[0] * problem[1])
    page.js("document.querySelector('[data-name=\"txtAntwoord\"]').value = ''")
    for n in range(1, len(answer) + 1):
        digit = answer[n - 1]
        page.cdp("Input.dispatchKeyEvent", {"type": "keyDown", "key": "Process", "code": "Digit" + digit,
                                            "windowsVirtualKeyCode": 229})
        page.cdp("Input.imeSetComposition", {"text": answer[:n], "selectionStart": n,
                                             "selectionEnd": n})
        page.cdp("Input.dispatchKeyEvent", {"type": "keyUp", "key": digit, "code": "Digit" + digit,
                                            "windowsVirtualKeyCode": 48 + int(digit)})
    page.cdp("Input.insertText", {"text": answer})
    box = lambda: page.js("return document.querySelector('[data-name=\"txtAntwoord\"]').value")
    typed = box()
    page.wait("%s typed through an input method gave %r and a total of %s, not one more point"
              % (answer, typed, page.text("Lbltotaal")), lambda: page.text("Lbltotaal").strip() == "2")
    page.wait("after the scored answer the box still shows %r" % box(), lambda: box() == "")
    log("digits through an input method count once")


def turn_the_tablet(page):
    """Mid-round the display turns: the drill stands centred on the new one at once, at the
    display's new scale."""
    before = page.window_left("Tafels")
    page.viewport(768, 1024)
    # Its width on the page follows the display's scale, which the turn changes as well.
    centred = lambda: (768 - page.js("return document.querySelector('[data-form=\"Tafels\"]')"
                                     ".getBoundingClientRect().width")) / 2
    page.wait("turned to 768 x 1024 the drill stands at %s, not centred at %s"
              % (page.window_left("Tafels"), centred()),
              lambda: abs(page.window_left("Tafels") - centred()) <= 1)
    check("the drill had not moved: %s" % before, abs(before - centred()) > 10)
    page.shot("turned")
    page.viewport(1024, 768)
    page.wait("back at 1024 x 768 the drill did not come back",
              lambda: abs(page.window_left("Tafels") - before) <= 1)
    log("the drill is centred again when the display turns")


def hide_the_page(page):
    """A round waits while the page is hidden, and goes on when it is seen again."""
    top = lambda: page.js("return document.querySelector('[data-name=\"lblvalprobleem\"]').offsetTop")
    other = page.cdp("Target.createTarget", {"url": "about:blank"})["targetId"]  # a tab in front
    page.wait("the page never saw itself hidden",
              lambda: page.js("return document.visibilityState") == "hidden")
    seconds, fell = page.seconds_left(), top()
    time.sleep(3)
    check("hidden, the countdown went from %d to %d" % (seconds, page.seconds_left()),
          page.seconds_left() == seconds)
    check("hidden, the problem fell from %d to %d" % (fell, top()), top() == fell)
    page.cdp("Target.closeTarget", {"targetId": other})
    page.cdp("Page.bringToFront")
    page.wait("the page never saw itself shown again",
              lambda: page.js("return document.visibilityState") == "visible")
    page.wait("shown again, the countdown stood still at %d" % seconds,
              lambda: page.seconds_left() == seconds - 1, 2.5)
    check("shown again, the countdown jumped to %d" % page.seconds_left(),
          page.seconds_left() == seconds - 1)
    log("the round paused while the page was hidden and went on")


def the_lesson_by_keys(page):
    """The red light, "x 7" and the way back, by keys alone."""
    page.tab_to("cmdrood")
    page.press(" ")
    page.wait("the red light opened no classroom", lambda: page.shown("Aklas"))
    page.tab_to("Cmd7")
    page.press(" ")
    page.wait("x 7 pressed by Space started no lesson",
              lambda: page.text("txtgetal2").strip() == "7" or
              page.js("return !document.querySelector('[data-name=\"Frmkiestafel\"]').getClientRects().length"))
    page.wait("after x 7 the keyboard is on %s, not on the classroom" % page.focused(),
              lambda: page.focused() == "Aklas:window")
    reader = page.focused_in_accessibility_tree()
    check("after x 7 a screen reader has %s in focus, not the classroom" % (reader,),
          reader is not None and reader[1] and "klas" in reader[1])
    page.shot("lesson")
    # The lesson ends after 15 s and shows the way back; Enter on the classroom moves on.
    page.wait("the lesson did not end", lambda: page.js(
        "return document.querySelector('[data-name=\"Cmdterug\"]').getClientRects().length > 0"), 20)
    page.press("Enter")
    page.wait("Enter on the classroom gave no button the keyboard",
              lambda: page.focused() not in ("Aklas:window", "BODY"))
    page.tab_to("Cmdterug")
    page.press(" ")
    page.wait("the way back did not come to the drill", lambda: page.shown("Tafels"))
    page.wait("back in the drill the answer box has no keyboard",
              lambda: page.focused() == "txtAntwoord")
    log("the classroom by keys alone; the keyboard never left it")


def the_end(page):
    """After "Stop de oefening" the page offers the start button again, with the keyboard."""
    page.tab_to("Cmdstop")
    page.press(" ")
    page.wait("the program did not end", lambda: page.js("return document.body.dataset.ended === 'true'"), 20)
    page.wait("the ended page offers no start with the keyboard (focus on %s)" % page.focused(),
              lambda: page.focused() == "restart")
    caption = page.js("return document.activeElement.textContent")
    check("the new start reads %r" % caption, caption == "Klik hier en start !")
    middle = page.js("var r = document.activeElement.getBoundingClientRect();"
                     "return [r.left + r.width / 2 - innerWidth / 2, r.top + r.height / 2 - innerHeight / 2]")
    check("the new start stands %s off the middle of the page" % middle,
          max(abs(middle[0]), abs(middle[1])) <= 1)
    page.shot("ended")
    page.press(" ")
    page.wait("Space on the new start did not start the program again",
              lambda: page.js("return document.body.dataset.ended !== 'true'") and page.shown("frmmecenaat1"), 20)
    page.wait("after the new start the start button has not the keyboard",
              lambda: page.focused() == "cmdkombinnen")
    log("the end offers a new start, and Space starts")


def main():
    server = serve(SITE)
    driver = chromium()
    page = Page(driver)

    def steps():
        page.cdp("Accessibility.enable")
        page.viewport(1024, 768)
        driver.get("http://127.0.0.1:%d/index.html" % server.server_port)
        start(page)
        play_a_round_by_keys(page)
        composition(page)
        turn_the_tablet(page)
        hide_the_page(page)
        the_lesson_by_keys(page)
        # The round goes on; a new page is the quickest way to the stop button.
        driver.get("http://127.0.0.1:%d/index.html" % server.server_port)
        start(page)
        the_end(page)

    return run(driver, steps, os.path.join(OUT, "fail.png"), server.shutdown)


if __name__ == "__main__":
    sys.exit(main())
