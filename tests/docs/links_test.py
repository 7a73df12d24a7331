#!/usr/bin/python3
"""Checks the links of the documentation: README.md and every page under docs/.

    links_test.py SOURCE_DIR     checks the project's pages
    links_test.py --self-test    checks that the checker finds each kind of fault

- Every relative link and image (Markdown's [text](target), ![alt](target), [text][label] with
  its [label]: target, and HTML's href= and src=) names a file or folder that exists inside
  SOURCE_DIR. Links with a scheme (https:, mailto:) are left alone.
- Every #anchor, alone or after a Markdown page, names a heading of that page, by the anchors
  GitHub makes: the heading's text without its markup, in lower case, punctuation dropped,
  each space a hyphen, and -1, -2, ... after a repeated one. <a name=...> and id= count too.
- Every page under docs/ is linked from README.md, so that the front door leads to all of it.
- README.md is at most 12,288 bytes.
Text in code spans and code blocks is not Markdown and is not read for links or headings.
"""
import os
import re
import sys
import tempfile
import urllib.parse
from pathlib import Path

README_LIMIT = 12288

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
ATX = re.compile(r"^ {0,3}(#{1,6})(?:[ \t]+(.*?))?(?:[ \t]+#+)?[ \t]*$")
SETEXT = re.compile(r"^ {0,3}(=+|-+)[ \t]*$")
LIST_ITEM = re.compile(r"^( *)([-*+]|\d{1,9}[.)])( +|$)")
CODE_SPAN = re.compile(r"(?<!`)(`+)(?!`)(.+?)(?<!`)\1(?!`)", re.S)
# [text](target "title") and ![alt](target); the text may hold one level of brackets
INLINE = re.compile(
    r"(!?)\[((?:[^\[\]\\]|\\.|\[[^\[\]]*\])*)\]"
    r"\(\s*(<[^<>\n]*>|(?:[^\s()\\]|\\.|\([^\s()]*\))*)"
    r"(?:\s+(?:\"[^\"]*\"|'[^']*'|\([^()]*\)))?\s*\)")
FULL_REFERENCE = re.compile(r"(!?)\[((?:[^\[\]\\]|\\.)*)\]\[((?:[^\[\]\\]|\\.)*)\]")
DEFINITION = re.compile(r"^ {0,3}\[((?:[^\[\]\\]|\\.)+)\]:[ \t]*(<[^<>\n]*>|\S+)", re.M)
HTML_TARGET = re.compile(r"<(?:a|img|source)\b[^>]*?\b(?:href|src)\s*=\s*(\"[^\"]*\"|'[^']*')", re.I)
HTML_ANCHOR = re.compile(r"<[a-z][^>]*?\b(?:id|name)\s*=\s*(\"[^\"]*\"|'[^']*')", re.I)
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def prose_of(text):
    """The text with code blocks blanked (line numbers kept), and the headings outside them."""
    lines = text.split("\n")
    prose, headings = [], []
    fence = None
    list_indent = 0
    previous_blank, previous_code = True, False
    paragraph = None  # the text of the paragraph line before, for setext headings
    for line in lines:
        if fence:
            prose.append("")
            if re.match(r"^ {0,3}" + re.escape(fence[0]) + "{" + str(len(fence)) + r",}[ \t]*$", line):
                fence = None
            previous_blank, previous_code, paragraph = False, True, None
            continue
        opening = FENCE.match(line)
        if opening:
            fence = opening.group(1)
            prose.append("")
            previous_blank, previous_code, paragraph = False, True, None
            continue
        if not line.strip():
            prose.append(line)
            previous_blank, paragraph = True, None
            continue
        indent = len(line) - len(line.lstrip(" "))
        item = LIST_ITEM.match(line)
        if indent >= list_indent + 4 and (previous_blank or previous_code) and not item:
            prose.append("")  # an indented code block
            previous_blank, previous_code, paragraph = False, True, None
            continue
        if item:
            list_indent = len(item.group(1)) + len(item.group(2)) + max(1, len(item.group(3)))
        elif indent < list_indent and previous_blank:
            list_indent = 0
        prose.append(line)
        atx = ATX.match(line)
        if atx:
            headings.append(atx.group(2) or "")
            paragraph = None
        elif paragraph is not None and SETEXT.match(line) and not previous_blank:
            headings.append(paragraph)
            paragraph = None
        else:
            paragraph = None if item else line.strip()
        previous_blank, previous_code = False, False
    return "\n".join(prose), headings


def without_code_spans(text):
    """Code spans replaced by a word of their own, keeping the line breaks."""
    return CODE_SPAN.sub(lambda m: "code" + "\n" * m.group(0).count("\n"), text)


def heading_text(markdown):
    """The text that a heading shows: its markup gone, as GitHub reads it for the anchor."""
    text = CODE_SPAN.sub(lambda m: m.group(2).strip(), markdown)
    text = re.sub(r"!?\[((?:[^\[\]]|\[[^\[\]]*\])*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"<[^>]+>", "", text)
    text = re.sub(r"(?<![\w])_+|_+(?![\w])", "", text)  # _emphasis_ and __strong__
    return text


def slug(markdown):
    text = heading_text(markdown).strip().lower()
    text = "".join(c for c in text if c.isalnum() or c in "-_ ")
    return text.replace(" ", "-")


def anchors_of(text):
    prose, headings = prose_of(text)
    anchors, seen = set(), {}
    for heading in headings:
        base = slug(heading)
        n = seen.get(base, 0)
        anchors.add(base if n == 0 else f"{base}-{n}")
        seen[base] = n + 1
    for m in HTML_ANCHOR.finditer(without_code_spans(prose)):
        anchors.add(m.group(1)[1:-1])
    return anchors


def label_key(label):
    return " ".join(label.split()).casefold()


def targets_of(text):
    """(line number, kind, target) of every link and image of a page."""
    prose = without_code_spans(prose_of(text)[0])
    line_of = lambda offset: prose.count("\n", 0, offset) + 1
    found = []
    definitions = {label_key(m.group(1)): m for m in DEFINITION.finditer(prose)}
    for m in definitions.values():
        found.append((line_of(m.start()), "link", m.group(2).strip("<>")))
    for m in INLINE.finditer(prose):
        target = m.group(3)
        if target.startswith("<"):
            target = target[1:-1]
        target = re.sub(r"\\(.)", r"\1", target)
        found.append((line_of(m.start()), "image" if m.group(1) else "link", target))
    for m in FULL_REFERENCE.finditer(prose):
        label = m.group(3) or m.group(2)
        if label_key(label) not in definitions:
            found.append((line_of(m.start()), "reference", label))
    for m in HTML_TARGET.finditer(prose):
        found.append((line_of(m.start()), "link", m.group(1)[1:-1]))
    return found


def pages_of(root):
    pages = [root / "README.md"] if (root / "README.md").is_file() else []
    return pages + sorted((root / "docs").rglob("*.md"))


def check(root):
    """The faults of the pages under root, each one line, and a line that sums up what was read."""
    root = root.resolve()
    faults = []
    anchors = {}

    def anchors_in(page):
        if page not in anchors:
            anchors[page] = anchors_of(page.read_text(encoding="utf-8"))
        return anchors[page]

    readme = root / "README.md"
    if not readme.is_file():
        return ["README.md: missing"], ""
    size = readme.stat().st_size
    if size > README_LIMIT:
        faults.append(f"README.md: {size} bytes, more than {README_LIMIT}; move the detail to docs/")

    linked_from_readme = set()
    links = 0
    for page in pages_of(root):
        name = page.relative_to(root)
        for line, kind, target in targets_of(page.read_text(encoding="utf-8")):
            where = f"{name}:{line}"
            if kind == "reference":
                faults.append(f"{where}: [{target}] is used but never defined")
                continue
            if SCHEME.match(target) or target.startswith("//"):
                continue  # a web address: not this test's business
            links += 1
            path_part, _, fragment = target.partition("#")
            path_part = urllib.parse.unquote(path_part)
            if not path_part and not fragment:
                faults.append(f"{where}: a {kind} without a target")
                continue
            if path_part.startswith("/"):
                resolved = root / path_part.lstrip("/")
            else:
                resolved = page.parent / path_part if path_part else page
            resolved = Path(os.path.normpath(resolved))
            if resolved != root and root not in resolved.parents:
                faults.append(f"{where}: {kind} {target!r} leads out of the project")
                continue
            if not resolved.exists():
                faults.append(f"{where}: {kind} {target!r}: no such file {resolved.relative_to(root)}")
                continue
            if page == readme:
                linked_from_readme.add(resolved)
            if fragment and resolved.suffix == ".md" and resolved.is_file():
                fragment = urllib.parse.unquote(fragment)
                if fragment not in anchors_in(resolved):
                    faults.append(f"{where}: {kind} {target!r}: {resolved.relative_to(root)} "
                                  f"has no heading with the anchor #{fragment}")
    for page in pages_of(root):
        if page != readme and page not in linked_from_readme:
            faults.append(f"README.md: does not link {page.relative_to(root)}")
    summary = f"{links} relative links in {len(pages_of(root))} pages; README.md is {size} bytes"
    return faults, summary


def self_test():
    """The checker against pages with one known fault each, and against one without any."""
    good = {
        "README.md": "# Title\n\n## Set-up: `tools/run.sh`!\n\n![pic](docs/pic.png)\n"
                     "[a](docs/a.md) [b](docs/sub/b.md#b-page) [set-up](#set-up-toolsrunsh)\n"
                     "[ref][r] [web](https://example.com/missing) <img src=\"docs/pic.png\">\n\n"
                     "[r]: docs/a.md#again-1\n\n    [in code](nowhere.md)\n\n`[span](nowhere.md)`\n",
        "docs/a.md": "# A\n\n## Again\n\n## Again\n\n[up](../README.md#title) [here](#a)\n\n"
                     "```\n# not a heading\n[fenced](nowhere.md)\n```\n\n"
                     "- item\n  [continued](sub/b.md)\n",
        "docs/sub/b.md": "B page\n======\n\n[a](../a.md#again)\n",
        "docs/pic.png": "",
    }
    broken = {
        "a missing file": ("docs/a.md", "[x](gone.md)\n", "no such file"),
        "a missing image": ("README.md", "![x](docs/gone.png)\n", "no such file"),
        "a missing anchor in another page": ("README.md", "[x](docs/a.md#gone)\n", "no heading"),
        "a missing anchor in the same page": ("docs/a.md", "[x](#again-2)\n", "no heading"),
        "an anchor in another letter case": ("docs/a.md", "[x](#Again)\n", "no heading"),
        "a link out of the project": ("README.md", "[x](../outside.md)\n", "out of the project"),
        "an undefined reference": ("README.md", "[x][nothing]\n", "never defined"),
        "a missing HTML image": ("README.md", "<img src='docs/gone.png'>\n", "no such file"),
        "a link split over two lines": ("README.md", "[two\nlines](docs/gone.md)\n", "no such file"),
        "a page the README does not link": ("docs/c.md", "# C\n", "does not link"),
        "a README too long": ("README.md", "x" * README_LIMIT + "\n", "more than"),
    }
    failures = 0

    def run(files):
        with tempfile.TemporaryDirectory() as folder:
            for name, text in files.items():
                path = Path(folder) / name
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(text, encoding="utf-8")
            return check(Path(folder))[0]

    faults = run(good)
    if faults:
        failures += 1
        print("self-test: faults found in the good pages:", *faults, sep="\n  ")
    for what, (name, added, expected) in broken.items():
        files = dict(good)
        files[name] = files.get(name, "") + added
        faults = run(files)
        if len(faults) != 1 or expected not in faults[0]:
            failures += 1
            print(f"self-test: {what}: expected one fault with {expected!r}, got {faults}")
    if failures:
        return 1
    print(f"self-test: the good pages pass, and each of the {len(broken)} faults is found")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    faults, summary = check(Path(argv[1]))
    for fault in faults:
        print(fault)
    print(summary + (f": {len(faults)} faults" if faults else ": every link resolves"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
