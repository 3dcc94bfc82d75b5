"""The three engines the page is played in, each behind the same thin driver: elements are
found by CSS selector, and every input is the browser's own (real clicks, keys and pointer
moves). Chromium and WebKit are driven by Selenium, Firefox by puppeteer-core over
WebDriver BiDi through firefox_bridge.mjs."""

import json
import os
import subprocess

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser import chromium, wait_until

# The page's size unless a test asks for another: one at which the display's scale is 1,
# so that the windows have their designs' pixels.
WIDTH, HEIGHT = 960, 680
# The largest page a test asks for (resize): a 4K screen.
LARGEST = 3840, 2160
HERE = os.path.dirname(os.path.abspath(__file__))
PUPPETEER = os.path.join(HERE, "..", "..", "tools", "puppeteer")
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
SELENIUM_KEYS = {"Enter": Keys.ENTER, "Tab": Keys.TAB}


class Selenium:
    """Chromium or WebKit through Selenium; errors() gives what the page logged as errors.
    The window is sized so that the page has WIDTH x HEIGHT, as in Firefox."""

    def __init__(self, name, web, errors, quit=lambda: None):
        self.name, self.web, self.errors, self._quit = name, web, errors, quit
        self.framed = None  # the page's size while it stands in a frame, see resize
        self._window(WIDTH, HEIGHT)

    def _window(self, width, height):
        """Sizes the window so that its page has width x height; whether it could."""
        for _ in range(3):  # a window manager may take a second try to give the size asked
            inner = self.web.execute_script("return [innerWidth, innerHeight]")
            if inner == [width, height]:
                return True
            outer = self.web.get_window_size()
            self.web.set_window_size(outer["width"] + width - inner[0],
                                     outer["height"] + height - inner[1])
        return False

    def resize(self, width, height):
        """Gives the page width x height, as a window sized so or a turned phone would. A
        window that cannot be that narrow (WebKit's MiniBrowser is never narrower than its
        toolbar) shows the page in a frame of that size from the next get() on, as a phone
        shows it in its whole screen."""
        if self.framed is None and self._window(width, height):
            return
        if self.framed is None:
            self._window(*LARGEST)
        self.framed = (width, height)
        self.web.switch_to.default_content()
        self.web.execute_script(
            "var f = document.querySelector('iframe');"
            "if (f) { f.style.width = arguments[0] + 'px'; f.style.height = arguments[1] + 'px'; }",
            width, height)
        self._into_frame()

    def _into_frame(self):
        frames = self.web.find_elements(By.TAG_NAME, "iframe")
        if frames:
            self.web.switch_to.frame(frames[0])

    def get(self, url):
        if self.framed is None:
            self.web.get(url)
            return
        self.web.switch_to.default_content()
        self.web.get("about:blank")
        self.web.execute_script(
            "var f = document.createElement('iframe');"
            "f.style.cssText = 'position: fixed; left: 0; top: 0; border: 0;' +"
            "  'width: ' + arguments[1] + 'px; height: ' + arguments[2] + 'px';"
            "f.src = arguments[0]; document.body.style.margin = '0'; document.body.append(f);",
            url, *self.framed)
        self._into_frame()
        wait_until("the page did not load in its frame", lambda: self.web.execute_script(
            "return location.href !== 'about:blank' && document.readyState === 'complete'"), 20)

    def js(self, script, *args):
        return self.web.execute_script(script, *args)

    def click(self, selector, dx=0, dy=0):
        self._pointer(selector, dx, dy).click().perform()

    def move(self, selector, dx=0, dy=0):
        self._pointer(selector, dx, dy).perform()

    def _pointer(self, selector, dx, dy):
        element = self.web.find_element(By.CSS_SELECTOR, selector)
        return ActionChains(self.web).move_to_element_with_offset(element, dx, dy)

    def type(self, text):
        ActionChains(self.web).send_keys(text).perform()

    def press(self, key, shift=False):
        chain = ActionChains(self.web)
        if shift:
            chain.key_down(Keys.SHIFT)
        chain.send_keys(SELENIUM_KEYS[key])
        if shift:
            chain.key_up(Keys.SHIFT)
        chain.perform()

    def screenshot(self, path):
        # What the page last changed is on the screen after the next frame is drawn.
        self.web.execute_async_script(
            "var done = arguments[0]; requestAnimationFrame(function () { setTimeout(done); });")
        self.web.save_screenshot(path)

    def quit(self):
        self.web.quit()
        self._quit()


class Chromium(Selenium):
    """Chromium's DevTools give two things no WebDriver does: the accessibility tree a
    screen reader reads, and keys whose place and character differ, as on AZERTY."""

    def __init__(self):
        web = chromium()
        super().__init__("chromium", web, lambda: [
            e["message"] for e in web.get_log("browser") if e["level"] == "SEVERE"])

    def accessible_names(self):
        nodes = self.web.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        return {(n.get("role", {}).get("value"), n.get("name", {}).get("value")) for n in nodes
                if not n.get("ignored")}

    def press_by_place(self, code, char, key_code):
        for kind in ("keyDown", "keyUp"):
            event = {"type": kind, "code": code, "key": char, "windowsVirtualKeyCode": key_code}
            if kind == "keyDown":
                event["text"] = char
            self.web.execute_cdp_cmd("Input.dispatchKeyEvent", event)


# WebKitWebDriver passes no console on: the page's errors from the moment it has loaded,
# kept in the page.
ERROR_RECORDER = """
if (!window.pageErrors) {
  window.pageErrors = [];
  var error = console.error;
  console.error = function () {
    pageErrors.push(Array.prototype.join.call(arguments, ' '));
    return error.apply(console, arguments);
  };
  addEventListener('error', function (e) { pageErrors.push(String(e.message)); });
  addEventListener('unhandledrejection', function (e) { pageErrors.push(String(e.reason)); });
}
"""


class WebKit(Selenium):
    """MiniBrowser of WebKitGTK in an Xvfb of its own, through WebKitWebDriver."""

    def __init__(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0",
             "%dx%dx24" % (LARGEST[0] + 200, LARGEST[1] + 200), "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write,),
            stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as number:  # the whole line: Xvfb ends if its newline finds no reader
            os.environ["DISPLAY"] = ":" + number.readline().strip()  # passed on to the driver
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        try:
            web = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options,
                                      service_log_path=os.devnull)
        except WebDriverException:
            self.xvfb.terminate()
            raise
        super().__init__("webkit", web, lambda: self.js("return window.pageErrors || []"),
                         self.xvfb.terminate)

    def get(self, url):
        super().get(url)
        self.js(ERROR_RECORDER)


class BridgeError(WebDriverException):
    pass


class Firefox:
    """Firefox ESR through firefox_bridge.mjs, one JSON line each way per call."""

    name = "firefox"

    def __init__(self):
        self.node = subprocess.Popen(
            ["node", os.path.join(HERE, "firefox_bridge.mjs"), os.path.abspath(PUPPETEER),
             "/usr/bin/firefox-esr", str(WIDTH), str(HEIGHT)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def call(self, op, *args):
        self.node.stdin.write(json.dumps({"op": op, "args": list(args)}) + "\n")
        self.node.stdin.flush()
        line = self.node.stdout.readline()
        if not line:
            raise BridgeError("Firefox's bridge ended")
        answer = json.loads(line)
        if "error" in answer:
            raise BridgeError(answer["error"])
        return answer["value"]

    def get(self, url):
        self.call("get", url)

    def js(self, script, *args):
        return self.call("js", script, list(args))

    def resize(self, width, height):
        self.call("resize", width, height)

    def click(self, selector, dx=0, dy=0):
        self.call("click", selector, dx, dy)

    def move(self, selector, dx=0, dy=0):
        self.call("move", selector, dx, dy)

    def type(self, text):
        self.call("type", text)

    def press(self, key, shift=False):
        self.call("press", key, shift)

    def screenshot(self, path):
        self.call("screenshot", path)

    def errors(self):
        return self.call("errors")

    def quit(self):
        try:
            self.call("quit")
        finally:
            self.node.stdin.close()
            self.node.wait(10)


ENGINES = {"chromium": Chromium, "firefox": Firefox, "webkit": WebKit}
