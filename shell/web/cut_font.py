"""Cuts a font down to the characters the page can show, as WOFF2, under the family name
the page gives it: a name of our own where the font's licence reserves its name for the
unmodified font, else the font's own name, which then stays as it is.

    cut_font.py FONT OUTPUT.woff2 --unicodes U+0020-007E,... --family NAME

Every layout feature stays (kerning above all), and so do the licence's name records, so
that the texts keep their widths and the font its notice. The TrueType hinting goes: it
is half of a cut Liberation face, and the browsers of Linux, ChromeOS and iPadOS draw
without it (Chromium draws the welcome screen pixel for pixel the same either way)."""

import argparse

from fontTools import subset
from fontTools.ttLib import TTFont

# The name records that carry the family: family, unique ID, full name, PostScript name,
# and the typographic and WWS families where a font has them.
FAMILY = 1
SUBFAMILY = 2
UNIQUE_ID = 3
FULL_NAME = 4
POSTSCRIPT_NAME = 6
TYPOGRAPHIC_FAMILY = 16
TYPOGRAPHIC_SUBFAMILY = 17
WWS_FAMILY = 21


def cut(font, unicodes):
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.legacy_kern = True  # for an engine that reads no GPOS
    options.notdef_outline = True
    options.hinting = False
    options.drop_tables += ["FFTM"]  # FontForge's timestamps
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=unicodes)
    subsetter.subset(font)


def rename(font, family):
    """Gives the font the family name family in every record that names it."""
    names = font["name"]
    style = (names.getDebugName(TYPOGRAPHIC_SUBFAMILY) or names.getDebugName(SUBFAMILY))
    postscript = family.replace(" ", "") + "-" + style.replace(" ", "")
    version = font["head"].fontRevision
    new = {
        FAMILY: family,
        UNIQUE_ID: "%.3f;%s" % (version, postscript),
        FULL_NAME: family if style == "Regular" else family + " " + style,
        POSTSCRIPT_NAME: postscript,
        TYPOGRAPHIC_FAMILY: family,
        WWS_FAMILY: family,
    }
    for record in names.names:
        if record.nameID in new:
            record.string = new[record.nameID]
    if "CFF " in font:
        cff = font["CFF "].cff
        cff.fontNames = [postscript]
        top = cff.topDictIndex[0]
        top.FamilyName = family
        top.FullName = new[FULL_NAME]


def unicode_ranges(text):
    """"U+0020-007E,U+00A0" as code points."""
    points = []
    for part in text.split(","):
        first, _, last = part.strip().removeprefix("U+").partition("-")
        points.extend(range(int(first, 16), int(last or first, 16) + 1))
    return points


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("font")
    parser.add_argument("output")
    parser.add_argument("--unicodes", required=True)
    parser.add_argument("--family", required=True)
    arguments = parser.parse_args()
    font = TTFont(arguments.font)
    cut(font, unicode_ranges(arguments.unicodes))
    if font["name"].getDebugName(FAMILY) != arguments.family:
        rename(font, arguments.family)
    font.flavor = "woff2"
    font.save(arguments.output)


if __name__ == "__main__":
    main()
