#!/usr/bin/python3
"""The program in headless Chromium, played as a child plays it.

    page_test.py SITE_DIR [OUTPUT_DIR]

Serves SITE_DIR (what `make web` builds) on a free local port, opens it in headless
Chromium through Selenium, and checks what the page shows: start-up, one real-time round
of "x 4" with typed answers to its verdict and pencil, a letter giving the message box,
the red light, a lesson "x 7" going green and then black, "terug", and the stop button,
after which the program ends by itself about 11.3 s later. Clicks, typing and pointer
moves are real browser input. Screenshots land in OUTPUT_DIR (failures as fail-*.png).
"""

import os
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser import (TWIPS_PER_PIXEL, Failure, chromium, log, parse_problem, px, run, serve,
                     wait_until)

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "web-e2e-output")
os.makedirs(OUT, exist_ok=True)

NAVY = "rgb(0, 0, 128)"
GREEN = "rgb(0, 255, 0)"
BOX_YELLOW = "rgb(255, 255, 0)"
BLACK = "rgb(0, 0, 0)"
RED = "rgb(255, 0, 0)"


class Page:
    def __init__(self, driver):
        self.d = driver

    def control(self, name):
        return self.d.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name)

    def window(self, form):
        return self.d.find_element(By.CSS_SELECTOR, '[data-form="%s"]' % form)

    def shown(self, element):
        return self.d.execute_script("return arguments[0].getClientRects().length > 0", element)

    def window_shown(self, form):
        found = self.d.find_elements(By.CSS_SELECTOR, '[data-form="%s"]' % form)
        return bool(found) and self.shown(found[0])

    def style(self, element, prop):
        return self.d.execute_script(
            "return getComputedStyle(arguments[0]).getPropertyValue(arguments[1])", element, prop)

    def rect(self, element):
        return self.d.execute_script(
            "var r = arguments[0].getBoundingClientRect();"
            "return {left: r.left, top: r.top, width: r.width, height: r.height}", element)

    def focused(self):
        return self.d.execute_script(
            "var e = document.activeElement; return e && e.dataset ? e.dataset.name || '' : ''")

    def dialog_open(self):
        return self.d.execute_script(
            "var d = document.querySelector('dialog'); return !!(d && d.open)")

    def shot(self, name):
        self.d.save_screenshot(os.path.join(OUT, name + ".png"))

    def wait(self, what, condition, timeout=3.0):
        wait_until(what, condition, timeout)


def check(page, what, condition):
    if not condition:
        raise Failure(what)


def fonts_loaded(page):
    """The page's font families with the states of their faces."""
    return {(family.strip('"'), status) for family, status in page.d.execute_script(
        "return Array.from(document.fonts).map(function (f) { return [f.family, f.status]; })")}


def problem(page):
    """The falling problem "a x b = ?" as (a, b), or None."""
    return parse_problem(page.control("lblvalprobleem").text)


def answer(page, box):
    """Types the product of the falling problem; returns when the next problem came."""
    a, b = problem(page)
    before = page.control("Lbltotaal").text
    box.send_keys(str(a * b))
    page.wait("the right answer %d was not counted" % (a * b),
              lambda: page.control("Lbltotaal").text != before and box.get_attribute("value") == "")


BELGIAN_NUMBER_ROW = {"1": "&", "2": "é", "3": '"', "4": "'", "5": "(", "6": "§", "7": "è",
                      "8": "!", "9": "ç", "0": "à"}


def type_on_belgian_keyboard(driver, digits):
    """Presses the number-row keys of the digits as a Belgian (AZERTY) keyboard reports
    them: the key's place says the digit, the character it gives is another."""
    for digit in digits:
        char = BELGIAN_NUMBER_ROW[digit]
        for kind in ("keyDown", "keyUp"):
            event = {"type": kind, "code": "Digit" + digit, "key": char,
                     "windowsVirtualKeyCode": ord(digit)}
            if kind == "keyDown":
                event["text"] = char
            driver.execute_cdp_cmd("Input.dispatchKeyEvent", event)


def session(page):
    d = page.d
    viewport = d.execute_script(
        "return [document.documentElement.clientWidth, document.documentElement.clientHeight]")

    # --- Start-up: the page is the main window, with the welcome screen in it ----------------
    page.wait("no welcome screen", lambda: page.window_shown("frmmecenaat1"), 20)
    log("welcome screen shown")
    menu = page.control("aftrek")
    check(page, "menu title is %r" % menu.text, menu.text.strip() == "OPENEN")
    check(page, "the client area has the main window's colour",
          page.style(d.find_element(By.ID, "client"), "background-color") == "rgb(234, 226, 138)")
    # Centred by its own arithmetic against the page's size, inside the client area.
    welcome = page.window("frmmecenaat1")
    client = page.rect(d.find_element(By.ID, "client"))
    box = page.rect(welcome)
    want_left = px((viewport[0] * TWIPS_PER_PIXEL - (11160 + 2 * 3 * TWIPS_PER_PIXEL)) / 2)
    want_top = px((viewport[1] * TWIPS_PER_PIXEL - (6720 + 2 * 3 * TWIPS_PER_PIXEL)) / 2)
    check(page, "welcome at %s, expected %d,%d in the client area" % (box, want_left, want_top),
          abs(box["left"] - client["left"] - want_left) <= 1 and
          abs(box["top"] - client["top"] - want_top) <= 1)
    check(page, "fonts: %s" % fonts_loaded(page),
          fonts_loaded(page) == {("Honderdtafels Sans", "loaded"), ("Comic Neue", "loaded")})
    page.shot("welcome")

    # --- The drill --------------------------------------------------------------------------
    page.control("cmdkombinnen").click()
    page.wait("no drill after the start button", lambda: page.window_shown("Tafels"))
    page.wait("the welcome screen stays", lambda: not page.window_shown("frmmecenaat1"))
    drill = page.window("Tafels")
    check(page, "the drill has a title bar", not drill.find_elements(By.CLASS_NAME, "titlebar"))
    # Its load centres it on the display, thin frame included.
    drill_at = page.rect(drill)
    want = (px((viewport[0] * TWIPS_PER_PIXEL - (10440 + 2 * TWIPS_PER_PIXEL)) / 2),
            px((viewport[1] * TWIPS_PER_PIXEL - (7410 + 2 * TWIPS_PER_PIXEL)) / 2))
    check(page, "drill at %s, expected %s" % (drill_at, want),
          abs(drill_at["left"] - want[0]) <= 1 and abs(drill_at["top"] - want[1]) <= 1)
    log("drill shown")

    # What a screen reader gets, from Chromium's own accessibility tree: the names the
    # desktop program gives, from the same design data.
    nodes = d.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    named = {(n.get("role", {}).get("value"), n.get("name", {}).get("value")) for n in nodes
             if not n.get("ignored")}
    for role, name in (("button", "x 4"), ("textbox", "Vul hier zo snel mogelijk de oplossing in"),
                       ("dialog", "Tafels oefenen"), ("button", "Stop de oefening")):
        check(page, "no %s named %r for a screen reader" % (role, name), (role, name) in named)

    # Hover tips come from the toolkit's own hit-testing of real pointer moves.
    ActionChains(d).move_to_element(page.control("cmdstarter(3)")).perform()
    page.wait("no explanation when the pointer is on x 4",
              lambda: page.control("lbluitleg").text.strip() != "")
    log("hover over x 4: %r" % page.control("lbluitleg").text)

    # Tab goes along the table buttons as they stand on the screen, not as the design lists
    # them (x 4 is cmdstarter(3), x 5 cmdstarter(4)); Shift+Tab goes back.
    d.execute_script("arguments[0].focus()", page.control("cmdstarter(3)"))
    ActionChains(d).send_keys(Keys.TAB).perform()
    check(page, "Tab from x 4 went to %r" % page.focused(), page.focused() == "cmdstarter(4)")
    ActionChains(d).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
    check(page, "Shift+Tab from x 5 went to %r" % page.focused(), page.focused() == "cmdstarter(3)")

    # --- A round of "x 4" -------------------------------------------------------------------
    page.control("cmdstarter(3)").click()
    round_started = time.monotonic()
    box = page.control("txtAntwoord")
    page.wait("no problem falls", lambda: problem(page) is not None)
    check(page, "the answer box does not have the keyboard (%r has)" % page.focused(),
          page.focused() == "txtAntwoord")
    check(page, "the problem is not of x 4: %s" % (problem(page),), problem(page)[1] == 4)
    for _ in range(5):
        answer(page, box)
    # On a Belgian keyboard the number row gives & é " ' ( § è ! ç à without Shift; the
    # answer box takes the key's place, so the child still types digits.
    a, b = problem(page)
    before = page.control("Lbltotaal").text
    type_on_belgian_keyboard(d, str(a * b))
    page.wait("%d typed on a Belgian keyboard was not counted" % (a * b),
              lambda: page.control("Lbltotaal").text != before and box.get_attribute("value") == "")
    log("6 answers counted, one typed on a Belgian keyboard")
    page.shot("drill-round")

    # A letter: the message box, modal, and nothing reaches the program while it is open.
    box.send_keys("a")
    page.wait("no message box after a letter", page.dialog_open)
    dialog = d.find_element(By.CSS_SELECTOR, "dialog")
    check(page, "message box title %r" % dialog.find_element(By.CLASS_NAME, "titlebar").text,
          dialog.find_element(By.CLASS_NAME, "titlebar").text == "Let eens op !!")
    check(page, "message box text %r" % dialog.find_element(By.TAG_NAME, "p").text,
          dialog.find_element(By.TAG_NAME, "p").text == "Je mag alleen cijfers invoegen")
    check(page, "message box without information icon", dialog.find_elements(By.TAG_NAME, "svg"))
    check(page, "message box buttons", [b.text for b in dialog.find_elements(By.TAG_NAME, "button")] == ["OK"])
    page.shot("message-box")
    seconds = page.control("Lblchrono").text
    falling = page.rect(page.control("lblvalprobleem"))["top"]
    time.sleep(2.2)
    check(page, "the clock ran on behind the message box",
          page.control("Lblchrono").text == seconds)
    check(page, "the problem fell on behind the message box",
          page.rect(page.control("lblvalprobleem"))["top"] == falling)
    held = time.monotonic()
    dialog.find_element(By.TAG_NAME, "button").click()
    page.wait("the message box stays open", lambda: not page.dialog_open())
    held = time.monotonic() - held + 2.2
    page.wait("the letter stays in the answer box", lambda: box.get_attribute("value") == "")
    page.wait("the clock does not run after the message box",
              lambda: page.control("Lblchrono").text != seconds, 2.5)
    check(page, "the answer box lost the keyboard", page.focused() == "txtAntwoord")
    for _ in range(6):
        answer(page, box)
    log("message box closed; 12 answers counted")

    # --- The red light: the classroom and a lesson "x 7" ------------------------------------
    page.control("cmdrood").click()
    paused_at = time.monotonic()
    page.wait("no classroom after the red light", lambda: page.window_shown("Aklas"))
    page.wait("the drill stays", lambda: not page.window_shown("Tafels"))
    room = page.window("Aklas")
    title = room.find_element(By.CLASS_NAME, "titlebar")
    check(page, "classroom caption %r" % title.text, title.text.strip() == "A klas")
    r = page.rect(room)
    outer_w, outer_h = 11880 + 2 * 4 * TWIPS_PER_PIXEL, 8010 + (2 * 4 + 19) * TWIPS_PER_PIXEL
    want = (px((viewport[0] * TWIPS_PER_PIXEL - outer_w) / 2),
            px((viewport[1] * TWIPS_PER_PIXEL - outer_h) / 2))
    check(page, "classroom at %s, expected %s" % (r, want),
          abs(r["left"] - want[0]) <= 1 and abs(r["top"] - want[1]) <= 1)
    log("classroom shown")

    # Return on the window itself (no control has the keyboard) moves the focus on.
    # A bare spot of the classroom, below its board and right of its pupils (offsets from
    # the middle of the client area).
    ActionChains(d).move_to_element_with_offset(room.find_element(By.CLASS_NAME, "client"),
                                                -96, 173).click().perform()
    check(page, "a click on the bare classroom gave a control the keyboard: %r" % page.focused(),
          page.focused() == "")
    ActionChains(d).send_keys(Keys.ENTER).perform()
    page.wait("Return on the classroom did not move the focus", lambda: page.focused() != "")
    log("Return on the classroom: focus to %s" % page.focused())

    sevens = [0, 7, 14, 21, 28, 35, 42, 49, 56, 63, 70]
    others = [1, 8, 13, 22, 50, 71, 77, 100]

    def colours(numbers):
        # In one call, so that a poll sees the field at one moment.
        return page.d.execute_script(
            "return arguments[0].map(function (k) { return getComputedStyle(document.querySelector("
            "'[data-name=\"Text2(' + k + ')\"]')).backgroundColor; })", numbers)

    check(page, "the field is not yellow before the lesson",
          set(colours(sevens + others)) == {BOX_YELLOW})
    # Return on a focused table button presses it.
    page.control("Cmd7").send_keys(Keys.ENTER)
    lesson_started = time.monotonic()
    page.wait("x 7 did not light its products green", lambda: set(colours(sevens)) == {GREEN})
    check(page, "x 7 coloured other boxes", set(colours(others)) == {BOX_YELLOW})
    page.shot("classroom-lesson")
    log("x 7: the eleven products are green")
    page.wait("the products did not turn black", lambda: set(colours(sevens)) == {BLACK}, 12)
    turned_black = time.monotonic() - lesson_started
    check(page, "the products turned black after %.2f s, not 10 s" % turned_black,
          9.5 < turned_black < 11.0)
    log("the products turned black after %.2f s" % turned_black)
    terug = page.control("Cmdterug")
    page.wait("no terug after the lesson", lambda: page.shown(terug), 7)
    ended = time.monotonic() - lesson_started
    check(page, "the lesson ended after %.2f s, not 15 s" % ended, 14.5 < ended < 16.0)
    page.shot("classroom-answers")
    log("the table buttons and terug came back after %.2f s" % ended)

    terug.click()
    page.wait("the classroom stays after terug", lambda: not page.window_shown("Aklas"))
    page.wait("no drill after terug", lambda: page.window_shown("Tafels"))
    paused = time.monotonic() - paused_at
    check(page, "the drill came back elsewhere", page.rect(drill) == drill_at)
    page.wait("the answer box has not the keyboard after terug",
              lambda: page.focused() == "txtAntwoord")
    log("terug: back in the round after %.2f s of help" % paused)

    # --- The rest of the round, unanswered, to its verdict -----------------------------------
    memo = page.control("Lblmemo")
    page.wait("the round did not end", lambda: page.shown(memo), 70)
    length = time.monotonic() - round_started - paused - held
    log("round over after %.2f s without the help and the message box" % length)
    check(page, "the round counted %.2f s, not 61" % length, 60.0 < length < 63.0)
    check(page, "score %r" % page.control("Lbltotaal").text, page.control("Lbltotaal").text == "12")
    check(page, "verdict %r" % memo.text, memo.text.strip() == "Nog wat oefenen")
    check(page, "verdict colour", page.style(memo, "background-color") == RED)
    check(page, "no red pencil", page.shown(page.control("Imgpotloodrood")))
    page.shot("drill-verdict")

    # --- Stop: the information screen, then the end ------------------------------------------
    page.control("Cmdstop").click()
    stopped_at = time.monotonic()
    page.wait("no information screen after stop", lambda: page.window_shown("frminfo"))
    page.wait("the drill stays after stop", lambda: not page.window_shown("Tafels"))
    bar = page.control("ProgressBar1")
    panel = d.find_elements(By.CSS_SELECTOR, '[data-name="StatusBar1"] > .panel')[1]
    inside = d.execute_script("return arguments[0].parentElement.dataset.name", bar)
    check(page, "the progress bar is not in the status bar but in %r" % inside, inside == "StatusBar1")
    b, p = page.rect(bar), page.rect(panel)
    check(page, "progress bar %s not over the second panel %s" % (b, p),
          all(abs(b[k] - p[k]) <= 1 for k in ("left", "top", "width", "height")))
    page.wait("the progress bar does not move",
              lambda: float(bar.get_attribute("value")) > 10, 3)
    page.shot("information")
    log("information screen shown")
    page.wait("the program did not end",
              lambda: d.execute_script("return document.body.dataset.ended === 'true'"), 15)
    ended = time.monotonic() - stopped_at
    log("the program ended %.2f s after stop" % ended)
    check(page, "the program ended %.2f s after stop, not about 11.3 s" % ended, 10.5 < ended < 13.0)
    check(page, "windows left after the end",
          not d.find_elements(By.CSS_SELECTOR, ".window, #mdi"))
    page.shot("ended")


def main():
    server = serve(SITE)
    driver = chromium()
    page = Page(driver)

    def steps():
        # From a file share, as a school may put it there: the program and its fonts come.
        driver.get("file://" + os.path.join(SITE, "index.html"))
        page.wait("no welcome screen from a file:// address",
                  lambda: page.window_shown("frmmecenaat1"), 20)
        check(page, "fonts from a file:// address: %s" % fonts_loaded(page), fonts_loaded(page) == {
            ("Honderdtafels Sans", "loaded"), ("Comic Neue", "loaded")})
        log("the page runs from a file:// address")
        # The menu "OPENEN " > "&Basis" opens the drill as the start button does.
        page.control("aftrek").click()
        page.control("aftrek2").click()
        page.wait("no drill from the menu", lambda: page.window_shown("Tafels"))
        page.wait("the welcome screen stays after the menu",
                  lambda: not page.window_shown("frmmecenaat1"))
        log("the menu opens the drill")
        driver.get("http://127.0.0.1:%d/" % server.server_address[1])
        session(page)

    return run(driver, steps, os.path.join(OUT, "fail.png"), server.shutdown)


if __name__ == "__main__":
    sys.exit(main())
