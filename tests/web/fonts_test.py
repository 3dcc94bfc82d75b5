#!/usr/bin/python3
"""The page's cut fonts draw every text the program can show exactly as the whole fonts
they were cut from: no character missing (which a browser would draw in another font),
and every text as wide, kerning included, in headless Chromium.

    fonts_test.py FONTS_JSON NODE TEXTS_TOOL SOURCE...

FONTS_JSON lists each face of the page (family, weight, its cut file, the whole font);
TEXTS_TOOL is the program that writes the designs' texts with their fonts, run by NODE;
the SOURCE files are the screens' sources, whose string literals are the texts the
screens write at run time. Each text is measured in each face, and the designs' texts
once more in their own fonts, as a laid-out element and with a canvas's measureText,
which the page uses to size a label. Licence: a face cut from a font with a reserved name
carries another name in every name record.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTFont

from browser import Failure, chromium, log, run, serve

FACES = json.load(open(sys.argv[1]))
NODE, TEXTS_TOOL = sys.argv[2:4]
SOURCES = sys.argv[4:]
# Large enough that a difference in a single advance or kerning pair shows in the widths.
PIXELS = 64
WHOLE = "Whole "  # the family name under which the whole fonts are served beside the cut ones
# The name records that name the family: family, unique ID, full name, PostScript name,
# typographic and WWS family.
FAMILY_RECORDS = (1, 3, 4, 6, 16, 21)

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\", "'": "'"}


def design_texts():
    """[{form, font, text}] of every design, from the program that holds them."""
    output = subprocess.run([NODE, TEXTS_TOOL], check=True, capture_output=True, text=True)
    return json.loads(output.stdout)


def screen_texts():
    """The string literals of the screens' sources, outside #include lines and comments."""
    texts = set()
    for source in SOURCES:
        for line in open(source, encoding="utf-8"):
            code = line.strip()
            if code.startswith(("#include", "//")):
                continue
            for literal in LITERAL.findall(code):
                texts.add(re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), literal))
    return texts


def drawn(text):
    """What of a text is drawn: line breaks and tabs are not glyphs."""
    return "".join(c for c in text if c not in "\r\n\t")


def check_characters(texts):
    """Every character of every text has a glyph in every cut face."""
    for face in FACES:
        cmap = TTFont(face["cut"]).getBestCmap()
        missing = sorted({c for text in texts for c in drawn(text) if ord(c) not in cmap})
        if missing:
            raise Failure("%s %s lacks %s" % (face["family"], face["weight"], missing))
        log("%s %s: every character of %d texts" % (face["family"], face["weight"], len(texts)))


def check_names():
    """A face cut from a font whose licence reserves its name is named otherwise throughout."""
    for face in FACES:
        whole = TTFont(face["whole"])["name"]
        cut = TTFont(face["cut"])["name"]
        own = whole.getDebugName(1)
        if cut.getDebugName(1) != face["family"]:
            raise Failure("%s is named %s" % (face["cut"], cut.getDebugName(1)))
        licence = (whole.getDebugName(0) or "") + (whole.getDebugName(13) or "")
        reserved = own != face["family"]
        names = [str(r) for r in cut.names if r.nameID in FAMILY_RECORDS]
        if reserved and any(own.replace(" ", "") in n.replace(" ", "") for n in names):
            raise Failure("%s still carries the name %s: %s" % (face["cut"], own, names))
        if "SIL Open Font License" not in licence or not cut.getDebugName(13):
            raise Failure("%s has lost its licence's record" % face["cut"])


def fonts_page(directory):
    """A page with each face twice: cut, under its family, and whole, under WHOLE + family."""
    rules = []
    for index, face in enumerate(FACES):
        for family, source in ((face["family"], face["cut"]), (WHOLE + face["family"], face["whole"])):
            name = "%d-%s" % (index, os.path.basename(source))
            shutil.copy(source, os.path.join(directory, name))
            rules.append('@font-face { font-family: "%s"; font-weight: %s; src: url("%s"); }'
                         % (family, face["weight"], name))
    with open(os.path.join(directory, "index.html"), "w") as page:
        page.write('<!DOCTYPE html><html><head><meta charset="utf-8"><link rel="icon" href="data:,">'
                   '<style>%s</style></head>'
                   '<body></body></html>' % "\n".join(rules))


MEASURE = """
var fonts = arguments[0], texts = arguments[1], done = arguments[arguments.length - 1];
Promise.all(Array.from(document.fonts, function (face) { return face.load(); })).then(function () {
  var canvas = document.createElement('canvas').getContext('2d');
  var span = document.createElement('span');
  span.style.whiteSpace = 'pre';
  document.body.append(span);
  done(fonts.map(function (font, i) {
    span.style.font = canvas.font = font;
    span.textContent = texts[i];
    return [span.getBoundingClientRect().width, canvas.measureText(texts[i]).width];
  }));
}, function (error) { done(String(error)); });
"""


def whole(font):
    """The CSS font font with each of the page's families replaced by its whole font."""
    for family in {face["family"] for face in FACES}:
        font = font.replace("'%s'" % family, "'%s%s'" % (WHOLE, family))
    return font


def measurements(designs, texts):
    """(font, text) pairs: every text in every face, and the designs' texts in their fonts.
    A character missing from a face is drawn from the next family: a monospaced one, whose
    advances differ from a proportional face's, not a system copy of the same font."""
    pairs = [("%s %dpx '%s', monospace" % (face["weight"], PIXELS, face["family"]), text)
             for face in FACES for text in sorted(texts)]
    return pairs + [(design["font"], design["text"]) for design in designs]


def check_widths(driver, url, pairs):
    driver.get(url)
    fonts = [font for font, _ in pairs]
    texts = [drawn(text) for _, text in pairs]
    cut = driver.execute_async_script(MEASURE, fonts, texts)
    full = driver.execute_async_script(MEASURE, [whole(font) for font in fonts], texts)
    if isinstance(cut, str) or isinstance(full, str):
        raise Failure("fonts not loaded: %s %s" % (cut, full))
    differences = ["%s %r: %s, whole %s" % (font, text, a, b)
                   for (font, text), a, b in zip(pairs, cut, full) if a != b]
    if differences:
        raise Failure("%d of %d texts differ in width:\n  %s"
                      % (len(differences), len(pairs), "\n  ".join(differences[:20])))
    log("%d texts as wide in the cut fonts as in the whole ones" % len(pairs))


def main():
    designs = design_texts()
    texts = {d["text"] for d in designs} | screen_texts()
    if not designs or not all(isinstance(d["text"], str) for d in designs):
        print("FAIL: no texts from %s" % TEXTS_TOOL)
        return 1
    directory = tempfile.mkdtemp(prefix="honderdtafels-fonts-")
    fonts_page(directory)
    server = serve(directory)
    driver = chromium()

    def steps():
        check_names()
        check_characters(texts)
        check_widths(driver, "http://127.0.0.1:%d/" % server.server_address[1],
                     measurements(designs, texts))

    return run(driver, steps, os.path.join(directory, "fail.png"), server.shutdown)


if __name__ == "__main__":
    sys.exit(main())
