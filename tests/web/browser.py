"""What the page's tests share: a local web server for the built site, a headless
Chromium driven by Selenium, the designs' unit, the log, the falling problem, and the
run of a test's steps."""

import functools
import http.server
import os
import re
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.by import By
from selenium.webdriver.chrome.service import Service

TWIPS_PER_PIXEL = 15

started = time.monotonic()


def log(text):
    print("[%6.2f s] %s" % (time.monotonic() - started, text), flush=True)


class Failure(Exception):
    pass


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(directory, port=0, handler=QuietHandler):
    """Serves directory on 127.0.0.1 (on a free port unless one is given) until the end."""
    handler = functools.partial(handler, directory=directory)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def chromium(options=None):
    """Debian's headless Chromium with a profile of its own and the page's console kept."""
    options = options or webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1280,1024"):
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + tempfile.mkdtemp(prefix="honderdtafels-chromium-"))
    options.binary_location = "/usr/bin/chromium"
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


def parse_problem(text):
    """The falling problem "a x b = ?" as (a, b), or None."""
    match = re.match(r"\s*(\d+) x (\d+) = \?", text)
    return (int(match.group(1)), int(match.group(2))) if match else None


def wait_until(what, condition, timeout=3.0):
    """Waits for condition() to hold, asking again as the page changes; Failure(what) if not."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            if condition():
                return
        except WebDriverException:
            pass
        if time.monotonic() > deadline:
            raise Failure(what)
        time.sleep(0.05)


class SeleniumPage:
    """The page in Selenium's Chromium, its controls and windows found by name; its
    screenshots go to the test's OUTPUT_DIR, its second argument."""

    def __init__(self, driver):
        self.d = driver
        self.out = os.path.abspath(sys.argv[2])

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def text(self, selector):
        return self.js("return document.querySelector(arguments[0]).textContent", selector)

    def control(self, name):
        return self.d.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name)

    def window(self, form):
        return self.d.find_element(By.CSS_SELECTOR, '[data-form="%s"]' % form)

    def window_shown(self, form):
        return self.js("var w = document.querySelector(arguments[0]);"
                       "return !!w && w.getClientRects().length > 0", '[data-form="%s"]' % form)

    def shot(self, name):
        self.d.save_screenshot(os.path.join(self.out, name + ".png"))

    def wait(self, what, condition, timeout=3.0):
        wait_until(what, condition, timeout)


def check(page, what, condition):
    if not condition:
        raise Failure(what)


def fonts_loaded(page):
    """The page's font families with the states of their faces."""
    return {(family.strip('"'), status) for family, status in page.js(
        "return Array.from(document.fonts).map(function (f) { return [f.family, f.status]; })")}


def problem(page):
    """The falling problem "a x b = ?" as (a, b), or None."""
    return parse_problem(page.text('[data-name="lblvalprobleem"]'))


def answer(page, box):
    """Types the product of the falling problem into box; returns when it was counted."""
    a, b = problem(page)
    before = page.text('[data-name="Lbltotaal"]')
    box.send_keys(str(a * b))
    page.wait("the right answer %d was not counted" % (a * b),
              lambda: page.text('[data-name="Lbltotaal"]') != before and
              box.get_attribute("value") == "")


def run(driver, steps, screenshot, stop, ignored=lambda message: False):
    """Runs the test's steps() in driver's page and returns its exit status. A Failure, or
    an error the page logged (unless ignored(message)), fails it with a screenshot saved to
    screenshot and the page's console. stop() ends the test's web server. driver is
    Selenium's Chromium or one of engines.py's drivers."""
    thin = hasattr(driver, "errors")
    errors = driver.errors if thin else lambda: [
        e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
    try:
        steps()
        logged = [message for message in errors() if not ignored(message)]
        if logged:
            raise Failure("errors in the page: %s" % logged)
        log("PASS")
        return 0
    except Failure as failure:
        (driver.screenshot if thin else driver.save_screenshot)(screenshot)
        print("FAIL: %s (screenshot: %s)" % (failure, screenshot), flush=True)
        for message in errors():
            print("  page:", message)
        return 1
    finally:
        driver.quit()
        stop()
