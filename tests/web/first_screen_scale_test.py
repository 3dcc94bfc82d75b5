#!/usr/bin/python3
"""The page's first screen takes the display's scale by the toolkit's rule.

    first_screen_scale_test.py NODE NUMBERS_JS FIRST_SCREEN_JS

NUMBERS_JS is first_screen_numbers built for Node: with no arguments it prints the numbers
the build gives the page, with a viewport's size the toolkit's own scale for it. At the
sizes of sizes_test.py, both ways up, and at sizes just across a step of the scale,
first_screen.js must give the same scale and the same advice to turn the phone.
"""

import json
import struct
import subprocess
import sys

from sizes_test import SIZES

# Either side of the 125 % step of the largest window (800 x 561 outer pixels) and of
# scale 1, where a rule that rounds differently parts from the toolkit's.
EDGES = [(999, 1000), (1000, 702), (1000, 701), (800, 600), (799, 600), (801, 562)]


def single(number):
    """The number in the toolkit's single precision."""
    return struct.unpack("f", struct.pack("f", number))[0]


def main(node, numbers, script):
    rule = subprocess.check_output([node, numbers], text=True)
    sizes = SIZES + EDGES
    mine = json.loads(subprocess.check_output([node, "-e", """
        const firstScreen = require(process.argv[1]);
        const rule = JSON.parse(process.argv[2]);
        const sizes = JSON.parse(process.argv[3]);
        console.log(JSON.stringify(sizes.map(([w, h]) => firstScreen.scale(rule, w, h))));
        """, script, rule, json.dumps(sizes)], text=True))
    failures = 0
    for size, page in zip(sizes, mine):
        toolkit = json.loads(subprocess.check_output([node, numbers, *map(str, size)], text=True))
        same = single(page["scale"]) == single(toolkit["scale"]) and page["turn"] == toolkit["turn"]
        print("%s %dx%d: page %s, toolkit %s" % ("ok  " if same else "FAIL", *size, page, toolkit))
        failures += not same
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
