#!/usr/bin/python3
"""The home screen's icons the site carries are the icons rsvg-convert drew, pixel for
pixel, in no more bytes.

    icons_check.py DRAWN_DIR SITE_DIR SIZE...

DRAWN_DIR holds rsvg-convert's program-icon-SIZE.png, SITE_DIR/icons the packed ones."""

import os
import sys

from PIL import Image


def pixels(path):
    with Image.open(path) as image:
        return image.mode, image.size, image.tobytes()


def main():
    drawn_dir, site, *sizes = sys.argv[1:]
    failures = []
    for size in sizes:
        name = "program-icon-%s.png" % size
        drawn = os.path.join(drawn_dir, name)
        packed = os.path.join(site, "icons", name)
        if pixels(packed) != pixels(drawn):
            failures.append("%s: not the pixels rsvg-convert drew" % name)
        if os.path.getsize(packed) > os.path.getsize(drawn):
            failures.append("%s: %d bytes, more than the %d drawn" % (
                name, os.path.getsize(packed), os.path.getsize(drawn)))
        print("%s: %d bytes, drawn in %d" % (name, os.path.getsize(packed), os.path.getsize(drawn)))
    for failure in failures:
        print("FAIL: " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
