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
from dataclasses import dataclass, field

CONFIG_LANGUAGES = {"nginx", "apache", "xml"}
FENCE = re.compile(r"^( *)(```|~~~)\s*(\S*)\s*$")
QUOTE = re.compile(r"^ *<!-- (the same as|lines of) (\S+) -->$")
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
CODE_SPAN = re.compile(r"`([^`]+)`")
MAKE = re.compile(r"(?<![\w$(-])make((?:\s+[\w.=-]+)+)")


@dataclass
class Block:
    line: int  # of the opening fence
    language: str
    quote: re.Match | None
    fence: str
    indent: int
    lines: list = field(default_factory=list)


@dataclass
class Document:
    path: str
    prose: list  # (line number, text)
    blocks: list

    def code(self):
        """(line number, text) of every code span and every line of a fenced block."""
        spans = [(n, span) for n, line in self.prose for span in CODE_SPAN.findall(line)]
        return spans + [(b.line + i, line) for b in self.blocks for i, line in enumerate(b.lines, 1)]

    def anchors(self):
        return {slug(line.lstrip("#")) for _, line in self.prose if line.startswith("#")}


def slug(heading):
    """The anchor a heading gets on GitHub: lower case, punctuation dropped, blanks as -."""
    return re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")


def read_markdown(path):
    prose, blocks, block = [], [], None
    with open(path, encoding="utf-8") as file:
        lines = file.read().split("\n")
    for number, line in enumerate(lines, 1):
        fence = FENCE.match(line)
        if block is None and fence:
            quote = QUOTE.match(lines[number - 2]) if number > 1 else None
            block = Block(number, fence.group(3), quote, fence.group(2), len(fence.group(1)))
        elif block is not None and fence and fence.group(2) == block.fence and not fence.group(3):
            blocks.append(block)
            block = None
        elif block is not None:
            # A block inside a list is indented as its fence is.
            block.lines.append(line[block.indent:] if line.startswith(" " * block.indent) else line.lstrip())
        else:
            prose.append((number, line))
    return Document(path, prose, blocks)


def make_targets(root):
    rule = re.compile(r"^([^\s#=:][^=:]*):(?!=)")
    with open(os.path.join(root, "Makefile"), encoding="utf-8") as makefile:
        return {t for line in makefile if (m := rule.match(line)) for t in m.group(1).split()}


def bare_lines(text):
    return [line.strip().lstrip("#").strip() for line in text.split("\n")]


class Checker:
    def __init__(self, root):
        self.root = root
        self.targets = make_targets(root)
        self.folders = {name for name in os.listdir(root)
                        if os.path.isdir(os.path.join(root, name)) and name != ".git"
                        and not name.startswith("build")}
        paths = [os.path.join(root, "README.md")] + sorted(glob.glob(os.path.join(root, "docs", "*.md")))
        self.documents = [read_markdown(path) for path in paths]
        self.anchors = {d.path: d.anchors() for d in self.documents}
        self.failures = []
        self.counts = dict(links=0, targets=0, paths=0, quotes=0)

    def fail(self, document, number, message):
        self.failures.append((os.path.relpath(document.path, self.root), number, message))

    def links(self, document):
        for number, line in document.prose:
            for target in LINK.findall(CODE_SPAN.sub("", line)):
                if re.match(r"^[a-z]+:", target):
                    continue
                self.counts["links"] += 1
                path, _, anchor = target.partition("#")
                path = os.path.normpath(os.path.join(os.path.dirname(document.path), path)) if path else document.path
                if not os.path.exists(path):
                    self.fail(document, number, f"link to {target}: no such file")
                elif anchor and path in self.anchors and anchor not in self.anchors[path]:
                    self.fail(document, number, f"link to {target}: no such heading")

    def names(self, document):
        for number, text in document.code():
            for words in MAKE.findall(text):
                for target in (word for word in words.split() if "=" not in word):
                    self.counts["targets"] += 1
                    if target not in self.targets:
                        self.fail(document, number, f"make {target}: no such target in the Makefile")
            for word in text.split():
                path = word.lstrip("`'\"([").rstrip("`'\",;:)].")
                if "/" in path and path.split("/")[0] in self.folders:
                    self.counts["paths"] += 1
                    if not glob.glob(os.path.join(self.root, path)):
                        self.fail(document, number, f"{path}: no such file in the repository")

    def quotes(self, document):
        for block in document.blocks:
            if block.quote is None:
                if block.language in CONFIG_LANGUAGES:
                    self.fail(document, block.line, f"a {block.language} block that quotes no file")
                continue
            self.counts["quotes"] += 1
            how, source = block.quote.groups()
            try:
                with open(os.path.join(self.root, source), encoding="utf-8") as file:
                    original = file.read().rstrip("\n")
            except OSError:
                self.fail(document, block.line, f"quotes {source}: no such file")
                continue
            if how == "the same as":
                ok = block.lines == original.split("\n")
            else:
                lines, quoted = bare_lines(original), bare_lines("\n".join(block.lines))
                ok = any(lines[i:i + len(quoted)] == quoted for i in range(len(lines)))
            if not ok:
                self.fail(document, block.line, f"the block is not {how} {source}")

    def run(self):
        for document in self.documents:
            self.links(document)
            self.names(document)
            self.quotes(document)


def main():
    checker = Checker(os.path.realpath(sys.argv[1]))
    checker.run()
    for document, number, message in sorted(checker.failures):
        print(f"FAIL: {document}:{number}: {message}")
    counts = checker.counts
    print(f"{len(checker.documents)} documents: {counts['links']} links, {counts['targets']} make targets, "
          f"{counts['paths']} paths, {counts['quotes']} quoted files; {len(checker.failures)} failures")
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
