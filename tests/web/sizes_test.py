#!/usr/bin/python3
"""The page on the screens children meet, from a small phone to a 4K screen, both ways up.

    sizes_test.py ENGINE SITE_DIR [OUTPUT_DIR]

ENGINE is chromium, firefox or webkit (engines.py). With the page resized from size to
size, as a turned phone or a resized window does it: the welcome screen, the drill and the
classroom (reached by a round's red light, so that no round plays in real time) are whole
in the viewport at every size, and fill most of its height on the large screens; the
pointer reaches the program where it is seen, at each scale (the drill's strip explains the
button just inside either edge of "x 4"); a phone held upright, and only that, asks to be
turned. Screenshots land in OUTPUT_DIR (failures as fail.png).
"""

import sys

from PIL import Image

from browser import log
from page_test import check, form, play, sel

# Phones and tablets both ways up, a Chromebook, a whiteboard and a 4K screen.
SIZES = [(360, 640), (640, 360), (390, 844), (844, 390), (768, 1024), (1024, 768),
         (1366, 768), (1920, 1080), (3840, 2160)]
LARGE = [(1920, 1080), (3840, 2160)]
UPRIGHT_PHONES = [(360, 640), (390, 844)]
# Of the viewport's height, what "most" is.
MOST = 0.7


def check_whole(page, name, size):
    r = page.rect(form(name))
    check("%s at %s reaches out of the page of %dx%d" % (name, r, *size),
          r["left"] >= -0.5 and r["top"] >= -0.5 and r["left"] + r["width"] <= size[0] + 0.5
          and r["top"] + r["height"] <= size[1] + 0.5)
    if size in LARGE:
        check("%s at %s fills no more than %.0f%% of the page's height %d" % (
            name, r, 100 * r["height"] / size[1], size[1]), r["height"] >= MOST * size[1])
    return r


def check_turn_advice(page, size):
    asked = page.shown("#turn")
    check("at %dx%d the page %s to turn the phone" % (
        *size, "asks" if asked else "does not ask"), asked == (size in UPRIGHT_PHONES))


def check_pointer(page, size):
    """Just inside the left and the right edge of "x 4" the strip explains x 4: the pointer
    reaches the toolkit in twips at this scale. (Its neighbours explain x 3 and x 5.)"""
    button = page.rect(sel("cmdstarter(3)"))
    inset = button["width"] / 2 - max(2, 0.1 * button["width"])
    for dx in (-inset, inset):
        page.e.move(sel("cmdstarter(4)" if dx < 0 else "cmdstarter(2)"))
        page.e.move(sel("cmdstarter(3)"), round(dx), 0)
        page.wait("at %dx%d the pointer %+d px from the middle of x 4 explains %r" % (
            *size, round(dx), page.text(sel("lbluitleg"))),
                  lambda: page.text(sel("lbluitleg")).strip() == "Alleen tafel 4 oefenen")


def sharp_steps(shot, r):
    """Neighbouring pixels inside r (a rectangle of the page) of sharply different
    brightness: a picture drawn afresh at a large scale has them along its outlines; one
    stretched as a bitmap spreads each outline over several pixels."""
    grey = Image.open(shot).convert("L")
    left, top = round(r["left"]) + 1, round(r["top"]) + 1
    right, bottom = left + round(r["width"]) - 3, top + round(r["height"]) - 3
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if abs(grey.getpixel((x, y)) - grey.getpixel((x + 1, y))) > 160)


def check_crisp(page, shot, size):
    """On the largest screen the start button's picture is drawn at the screen's pixels."""
    if size != SIZES[-1]:
        return
    steps = sharp_steps(shot, page.rect(sel("cmdkombinnen") + " img"))
    check("at %dx%d the start button's picture is blurred: %d sharp steps" % (*size, steps),
          steps > 100)
    log("%dx%d: the start button's picture has %d sharp steps" % (*size, steps))


def through_sizes(page, name, also=lambda size: None):
    for size in SIZES:
        page.resize(*size)
        r = check_whole(page, name, size)
        also(size)
        shot = page.shot("%s-%dx%d" % (name, *size))
        if name == "frmmecenaat1":
            check_crisp(page, shot, size)
        log("%dx%d: %s whole at scale %.3g, %.0f%% of the height" % (
            *size, name, page.scale(), 100 * r["height"] / size[1]))


def main(engine_name, site, out="web-sizes-output"):
    def steps(engine, page, _site, url):
        engine.resize(*SIZES[0])
        engine.get(url)
        page.wait("no welcome screen", lambda: page.shown(form("frmmecenaat1")), 20)
        through_sizes(page, "frmmecenaat1", lambda size: check_turn_advice(page, size))
        engine.click(sel("cmdkombinnen"))
        page.wait("no drill after the start button", lambda: page.shown(form("Tafels")))
        through_sizes(page, "Tafels", lambda size: check_pointer(page, size))
        # A round waits in the classroom while the page goes through the sizes.
        engine.click(sel("cmdstarter(3)"))
        engine.click(sel("cmdrood"))
        page.wait("no classroom after the red light", lambda: page.shown(form("Aklas")))
        through_sizes(page, "Aklas")

    return play(engine_name, site, out, steps)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
