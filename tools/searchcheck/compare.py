#!/usr/bin/env python3
"""Compares the book search's counts with an independent count over the decoded text.

    compare.py BUILD_DIR BOOK_FOLDER TERM...

The independent count reads each text document with Python's own HTML parser, decoded in the
charset its NCC declares (UTF-8 falling back to windows-1252, as the player reads books), keeps
the text outside script, style and title, collapses white space, ends a line at every element
that is not inline, lower-cases, and counts the term (overlapping occurrences too).
"""
import html.parser
import pathlib
import re
import subprocess
import sys

INLINE = {"a", "abbr", "acronym", "b", "bdo", "big", "cite", "code", "dfn", "em", "font", "i",
          "kbd", "q", "s", "samp", "small", "span", "strike", "strong", "sub", "sup", "tt", "u",
          "var"}
HIDDEN = {"script", "style", "title"}


class Text(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts, self.hidden = [], 0

    def handle_starttag(self, tag, attrs):
        if tag not in INLINE:
            self.parts.append("\n")
        if tag in HIDDEN:
            self.hidden += 1

    def handle_endtag(self, tag):
        if tag in HIDDEN and self.hidden:
            self.hidden -= 1
        if tag not in INLINE:
            self.parts.append("\n")

    def handle_startendtag(self, tag, attrs):
        if tag not in INLINE:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.hidden:
            self.parts.append(data)


def charset(book):
    ncc = next(p for p in book.iterdir() if p.name.lower() == "ncc.html").read_bytes()
    m = re.search(rb'ncc:charset"\s+content="([^"]+)"', ncc, re.I)
    return m.group(1).decode().lower() if m else "utf-8"


def decode(data, cs):
    if cs in ("utf-8", "utf8"):
        try:
            return data.decode("utf-8")
        except UnicodeDecodeError:
            return data.decode("windows-1252", "replace")
    return data.decode(cs, "replace")


def count(text, term):
    return sum(1 for i in range(len(text)) if text.startswith(term, i))


def main():
    build, book, terms = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3:]
    tool = build / "tools" / "tolvaro-searchcount"
    cs = charset(book)
    for term in terms:
        out = subprocess.run([str(tool), str(book), term], capture_output=True, text=True).stdout
        ours, total_ours, total_theirs = {}, 0, 0
        for line in out.splitlines():
            name, _, n = line.rpartition(" ")
            if not line.startswith("attributed"):
                ours[name] = int(n)
        for name, n in ours.items():
            parser = Text()
            parser.feed(decode((book / name).read_bytes(), cs))
            text = re.sub(r"[ \t\r\f\v\xa0]+", " ", "".join(parser.parts)).lower()
            theirs = count(text, term.lower())
            total_ours += n
            total_theirs += theirs
            if n != theirs:
                print(f"  {book.name} {name} {term!r}: search {n}, independent {theirs}")
        attributed = out.splitlines()[-1] if out else "(no output)"
        print(f"{book.name} {term!r}: search {total_ours}, independent {total_theirs}; {attributed}")


if __name__ == "__main__":
    main()
