"""Writes a PNG again in fewer bytes, with the same pixels: zlib at its best, and for each
row the filter that packs best. rsvg-convert writes its PNGs quickly rather than small.

    pack_png.py INPUT.png OUTPUT.png"""

import sys

from PIL import Image


def main():
    source, output = sys.argv[1:3]
    with Image.open(source) as image:
        image.load()
        image.save(output, optimize=True)


if __name__ == "__main__":
    main()
