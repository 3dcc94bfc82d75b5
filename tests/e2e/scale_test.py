#!/usr/bin/python3
"""The desktop program on a screen scaled to 150 % and 200 %, as a desktop asks for it: by
QT_SCALE_FACTOR, or by Xft.dpi (144 and 192 dots per inch) as GNOME, KDE and Xfce set it.

    scale_test.py PROGRAM [OUTPUT_DIR]

In an X server of its own (Xvfb) for each way and scale: the welcome screen, read off the
screen, has its design's size times the scale; a real click at the scaled place of its start
button opens the drill, whose window has its design's size times the scale; at 200 % the
start button's picture is drawn for the screen's pixels, not stretched from half as many.
Screenshots land in OUTPUT_DIR (failures as fail-NAME.png).
"""

import os
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops

TWIPS_PER_PIXEL = 15
CLIENT = (234, 226, 138)  # the main window's client area
SCREEN = (2400, 1600)
# The welcome screen (a frameless window in the main window) and its start button, in its
# client area; the drill's window, its frame left to the window manager (none here); in
# pixels.
WELCOME = (11160 / TWIPS_PER_PIXEL, 6720 / TWIPS_PER_PIXEL)
START = (3600 / TWIPS_PER_PIXEL, 1080 / TWIPS_PER_PIXEL, 3855 / TWIPS_PER_PIXEL,
         3495 / TWIPS_PER_PIXEL)
DRILL = (10440 / TWIPS_PER_PIXEL, 7410 / TWIPS_PER_PIXEL)
WAYS = [("QT_SCALE_FACTOR", "1.5", 1.5), ("Xft.dpi", "144", 1.5),
        ("QT_SCALE_FACTOR", "2", 2.0), ("Xft.dpi", "192", 2.0)]


class Failure(Exception):
    pass


def check(what, condition):
    if not condition:
        raise Failure(what)


def log(message):
    print(message, flush=True)


class Screen:
    """Xvfb on a display nobody uses, kept from resetting (which would drop Xft.dpi)."""

    def __init__(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as number:
            self.env = dict(os.environ, DISPLAY=":" + number.readline().strip())
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR",
                     "QT_SCREEN_SCALE_FACTORS"):
            self.env.pop(name, None)

    def run(self, *command):
        return subprocess.run(command, env=self.env, check=True, capture_output=True,
                              text=True).stdout

    def set_dpi(self, dpi):
        self.run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                 "Xft.dpi:\t%s\n" % dpi)

    def shot(self, path):
        self.run("import", "-window", "root", path)
        return Image.open(path).convert("RGB")

    def windows(self):
        """The program's visible windows: id -> (width, height)."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "^honderdtafels$"],
                               env=self.env, capture_output=True, text=True).stdout.split()
        sizes = {}
        for window in found:
            info = self.run("xwininfo", "-id", window)
            size = [int(line.split(":")[1]) for line in info.splitlines()
                    if line.strip().startswith(("Width:", "Height:"))]
            sizes[window] = tuple(size)
        return sizes

    def click(self, x, y):
        self.run("xdotool", "mousemove", str(round(x)), str(round(y)), "click", "1")

    def close(self):
        self.xvfb.terminate()
        self.xvfb.wait()


def wait_for(what, condition, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise Failure(what)


def welcome_shown(image):
    """The screen, once the main window's client area shows with something in its middle."""
    bare = image.getpixel((5, SCREEN[1] // 2)) == CLIENT
    return image if bare and image.getpixel((SCREEN[0] // 2, SCREEN[1] // 2)) != CLIENT else None


def welcome_box(image):
    """The welcome window read off the screen: the box of what is not the bare client area,
    below the menu bar."""
    width, height = image.size
    top = next(y for y in range(height) if image.getpixel((5, y)) == CLIENT)
    below = image.crop((0, top, width, height))
    bare = Image.new("RGB", below.size, CLIENT)
    left, upper, right, lower = ImageChops.difference(below, bare).getbbox()
    return left, top + upper, right - left, lower - upper


def sharp_edges(image, box, parity):
    """How many neighbouring pixel pairs (x, x + 1) with x of the parity, inside box, differ
    sharply: a picture drawn at the screen's pixels has them at both parities, one doubled
    from half as many pixels at one parity only, or at none once smoothed."""
    left, top, right, bottom = (round(v) for v in box)
    grey = image.convert("L")
    first = left + (left + parity) % 2
    return sum(1 for y in range(top, bottom) for x in range(first, right - 1, 2)
               if abs(grey.getpixel((x, y)) - grey.getpixel((x + 1, y))) > 160)


def one_way(program, out, way, value, scale):
    name = "%s-%s" % (way.replace(".", "-").lower(), value)
    screen = Screen()
    app = None
    try:
        if way == "Xft.dpi":
            screen.set_dpi(value)
        else:
            screen.env[way] = value
        with open(os.path.join(out, "program-%s.log" % name), "w") as output:
            app = subprocess.Popen([program], env=screen.env, stdout=output, stderr=output)
        main = wait_for("no main window", lambda: screen.windows())
        image = wait_for("no welcome screen",
                         lambda: welcome_shown(screen.shot(os.path.join(out, name + "-welcome.png"))))
        left, top, width, height = welcome_box(image)
        want = (WELCOME[0] * scale, WELCOME[1] * scale)
        check("%s: the welcome screen is %dx%d, not %gx%g" % (name, width, height, *want),
              abs(width - want[0]) <= 1 and abs(height - want[1]) <= 1)
        log("%s: the welcome screen is %dx%d, %g times its design" % (name, width, height, scale))

        button = [(left, top)[k] + START[k] * scale for k in (0, 1)] + [START[2] * scale,
                                                                    START[3] * scale]
        if scale == 2:
            picture = (button[0] + 20 * scale, button[1] + 10 * scale,
                       button[0] + button[2] - 20 * scale, button[1] + button[3] * 0.7)
            edges = [sharp_edges(image, picture, parity) for parity in (0, 1)]
            check("%s: the start button's picture is stretched: sharp edges %s at even and odd "
                  "pixels" % (name, edges), min(edges) > 0.25 * max(edges) > 0)
            log("%s: the start button's picture is drawn at the screen's pixels (sharp edges %s)"
                % (name, edges))

        screen.click(button[0] + button[2] / 2, button[1] + button[3] / 2)
        drill = wait_for("%s: no drill after a click on the start button" % name, lambda: [
            size for window, size in screen.windows().items() if window not in main])
        want = (round(DRILL[0] * scale), round(DRILL[1] * scale))
        screen.shot(os.path.join(out, name + "-drill.png"))
        check("%s: the drill's window is %s, not %s" % (name, drill, want),
              any(abs(size[0] - want[0]) <= 1 and abs(size[1] - want[1]) <= 1 for size in drill))
        log("%s: a click on the start button opened the drill, %dx%d" % (name, *want))
    except Failure:
        screen.run("import", "-window", "root", os.path.join(out, "fail-%s.png" % name))
        raise
    finally:
        if app:
            app.terminate()
            app.wait(10)
        screen.close()


def main(program, out=None):
    out = os.path.abspath(out or tempfile.mkdtemp(prefix="honderdtafels-scale-"))
    os.makedirs(out, exist_ok=True)
    try:
        for way, value, scale in WAYS:
            one_way(os.path.abspath(program), out, way, value, scale)
    except Failure as failure:
        print("FAIL: %s (screenshots in %s)" % (failure, out), flush=True)
        return 1
    log("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
