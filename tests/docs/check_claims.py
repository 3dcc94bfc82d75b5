#!/usr/bin/python3
"""Checks that what README.md and docs/*.md tell their readers holds in the repository.

  tests/docs/check_claims.py SOURCE_DIR

- Every relative link and picture leads to a file, and an anchor to a heading of it.
- Every `make TARGET` in code is a target of the Makefile, and every path in code that
  starts with one of the repository's own folders (scripts/, tools/, tests/, ...) exists.
- A fenced block right after a line `<!-- the same as PATH -->` is the whole of that file;
  after `<!-- lines of PATH -->` it is a run of that file's lines, read without their
  indentation and comment marks (a file's own instructions are quoted as well as its
  rules). A block of server configuration (nginx, apache, xml) without such a line fails:
  a school copies it.

Code is what stands in inline code spans and fenced blocks.
"""
import glob
import os
import re
import sys

CONFIG_LANGUAGES = {"nginx", "apache", "xml"}
FENCE = re.compile(r"^(```|~~~)\s*(\S*)\s*$")
QUOTE = re.compile(r"^<!-- (the same as|lines of) (\S+) -->$")
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
CODE_SPAN = re.compile(r"`([^`]+)`")
MAKE = re.compile(r"(?<![\w$(-])make((?:\s+[\w.=-]+)+)")


def make_targets(root):
    rule = re.compile(r"^([^\s#=:][^=:]*):(?!=)")
    with open(os.path.join(root, "Makefile"), encoding="utf-8") as makefile:
        return {t for line in makefile if (m := rule.match(line)) for t in m.group(1).split()}


def slug(heading):
    """The anchor a heading gets on GitHub: lower case, punctuation dropped, blanks as -."""
    return re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")


def bare_lines(text):
    return [line.strip().lstrip("#").strip() for line in text.split("\n")]


def read_markdown(path):
    """The file's prose lines and its fenced blocks as (line, language, marker, text)."""
    prose, blocks = [], []
    block = None
    with open(path, encoding="utf-8") as file:
        lines = file.read().split("\n")
    for number, line in enumerate(lines, 1):
        fence = FENCE.match(line)
        if block is None and fence:
            marker = QUOTE.match(lines[number - 2]) if number > 1 else None
            block = [number, fence.group(2), marker, [], fence.group(1)]
        elif block is not None and fence and line.startswith(block[4]) and not fence.group(2):
            blocks.append((block[0], block[1], block[2], "\n".join(block[3])))
            block = None
        elif block is not None:
            block[3].append(line)
        else:
            prose.append((number, line))
    return prose, blocks


def check(root):
    failures = []
    targets = make_targets(root)
    folders = {name for name in os.listdir(root)
               if os.path.isdir(os.path.join(root, name)) and name != ".git"
               and not name.startswith("build")}
    documents = [os.path.join(root, "README.md")] + sorted(glob.glob(os.path.join(root, "docs", "*.md")))
    anchors = {}
    for document in documents:
        prose, _ = read_markdown(document)
        anchors[document] = {slug(line.lstrip("#")) for _, line in prose if line.startswith("#")}
    counts = dict(links=0, targets=0, paths=0, quotes=0)

    def fail(document, number, message):
        failures.append((os.path.relpath(document, root), number, message))

    for document in documents:
        here = os.path.dirname(document)
        prose, blocks = read_markdown(document)
        code = [(n, span) for n, line in prose for span in CODE_SPAN.findall(line)]
        code += [(n + i, line) for n, _, _, text in blocks for i, line in enumerate(text.split("\n"), 1)]
        for number, line in prose:
            for target in LINK.findall(CODE_SPAN.sub("", line)):
                if re.match(r"^[a-z]+:", target):
                    continue
                counts["links"] += 1
                path, _, anchor = target.partition("#")
                path = os.path.normpath(os.path.join(here, path)) if path else document
                if not os.path.exists(path):
                    fail(document, number, f"link to {target}: no such file")
                elif anchor and path in anchors and anchor not in anchors[path]:
                    fail(document, number, f"link to {target}: no such heading")
        for number, text in code:
            for words in MAKE.findall(text):
                for word in words.split():
                    if "=" in word:
                        continue
                    counts["targets"] += 1
                    if word not in targets:
                        fail(document, number, f"make {word}: no such target in the Makefile")
            for word in text.split():
                word = word.lstrip("`'\"([").rstrip("`'\",;:)].")
                if word.split("/")[0] in folders and "/" in word:
                    counts["paths"] += 1
                    if not glob.glob(os.path.join(root, word)):
                        fail(document, number, f"{word}: no such file in the repository")
        for number, language, marker, text in blocks:
            if marker is None:
                if language in CONFIG_LANGUAGES:
                    fail(document, number, f"a {language} block that quotes no file")
                continue
            counts["quotes"] += 1
            how, source = marker.groups()
            try:
                with open(os.path.join(root, source), encoding="utf-8") as file:
                    original = file.read().rstrip("\n")
            except OSError:
                fail(document, number, f"quotes {source}: no such file")
                continue
            if how == "the same as":
                ok = text == original
            else:
                lines, quoted = bare_lines(original), bare_lines(text)
                ok = any(lines[i:i + len(quoted)] == quoted for i in range(len(lines)))
            if not ok:
                fail(document, number, f"the block is not {how} {source}")
    return failures, counts, len(documents)


def main():
    failures, counts, documents = check(os.path.realpath(sys.argv[1]))
    for document, number, message in sorted(failures):
        print(f"FAIL: {document}:{number}: {message}")
    print(f"{documents} documents: {counts['links']} links, {counts['targets']} make targets, "
          f"{counts['paths']} paths, {counts['quotes']} quoted files; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
