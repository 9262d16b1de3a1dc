#!/usr/bin/env python3
"""Writes DAISY-like books of random shape, for comparing two builds' --dump-tables output.

Usage: genbooks.py OUT_FOLDER COUNT [SEED]

The books vary what the readers have to cope with: heading levels and skipped levels, several
elements on one line, upper-case tags, CR LF line ends, pages and groups, part changes, skippable
classes, clip times in several notations, phrases without audio, missing SMIL files, headings and
spans left open, and titles in UTF-8, Latin-1 and windows-1252 with and without a declared
character set. No audio is written: the tables do not need it.
"""
import os
import random
import sys

WORDS = ["Kapitel", "Über", "die", "Länge", "façade", "naïve", "Ærø", "ß", "book", "Chapter",
         "€uro", "“quoted”", "Tom & Jerry", "a<b", "x"]
SKIPS = ["", "", "", "footnote", "sidebar", "prodnote", "pagenumber"]
CHARSETS = [("utf-8", "utf-8"), ("iso-8859-1", "latin-1"), ("windows-1252", "cp1252"),
            (None, "utf-8"), (None, "cp1252")]


def clip(rng, seconds):
    form = rng.randrange(4)
    if form == 0:
        return "npt=%.3fs" % seconds
    if form == 1:
        return "npt=%gs" % seconds
    if form == 2:
        return "npt=%d:%02d:%06.3f" % (seconds // 3600, seconds // 60 % 60, seconds % 60)
    return "%gs" % seconds


def tag(rng, name):
    return name.upper() if rng.random() < 0.1 else name


def title(rng):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 5)))


def smil(rng, n, doc):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<smil>", "<head>",
             '<meta name="ncc:totalElapsedTime" content="0:%02d:00" />' % rng.randrange(60),
             '<meta name="ncc:timeInThisSmil" content="0:0%d:30" />' % rng.randrange(10),
             "</head>", "<body>", '<seq dur="%ds">' % rng.randrange(500)]
    t = rng.uniform(0, 100)
    audio = "a%03d.mp3" % n if rng.random() < 0.8 else "shared.mp3"
    for p in range(rng.randint(0, 12)):
        skip = rng.choice(SKIPS)
        req = ' system-required="%s-on"' % skip if skip else ""
        par = ['<%s id="p%d_%d"%s>' % (tag(rng, "par"), n, p, req),
               '<text src="%s#t%d_%d" id="x%d_%d" />' % (doc, n, p, n, p)]
        if rng.random() < 0.9:
            end = t + rng.uniform(0.1, 9)
            par.append('<audio src="%s" clip-begin="%s" clip-end="%s" id="a%d_%d" />'
                       % (audio, clip(rng, t), clip(rng, end), n, p))
            t = end if rng.random() < 0.8 else end + 1
        par.append("</par>")
        lines += [" ".join(par)] if rng.random() < 0.3 else par
    lines += ["</seq>", "</body>", "</smil>"]
    return lines


def book(folder, rng):
    os.makedirs(folder, exist_ok=True)
    declared, codec = rng.choice(CHARSETS)
    head = ["<html>", "<head>", "<title>%s</title>" % title(rng)]
    if declared:
        head.append('<meta name="ncc:charset" content="%s" />' % declared)
    head += ['<meta name="dc:title" content="%s" />' % title(rng),
             '<meta name="dc:identifier" content="id-%d" />' % rng.randrange(10**6),
             '<meta name="dc:date" content="2026-%02d-01" />' % rng.randint(1, 12),
             '<meta name="ncc:tocItems" content="%d" />' % rng.randrange(100),
             '<meta name="ncc:totalTime" content="1:00:00" />', "</head>", "<body>"]
    body = []
    for n in range(rng.randint(1, 25)):
        name = "s%03d.smil" % n
        level = rng.choice([1, 1, 2, 2, 3, 4, 6])
        rel = ' rel="next"' if rng.random() < 0.05 else ""
        h = tag(rng, "h%d" % level)
        close = "</%s>" % h if rng.random() < 0.97 else ""
        body.append('<%s class="section" id="h%d"><a href="%s#p%d_0"%s>%s</a>%s'
                    % (h, n, name, n, rel, title(rng), close))
        if rng.random() < 0.3:
            kind = rng.choice(["page-normal", "page-front", "page-special"])
            body.append('<span class="%s" id="pg%d"><a href="%s#p%d_0">%d</a></span>'
                        % (kind, n, name, n, n + 1))
        if rng.random() < 0.1:
            body.append('<div class="group"><a href="%s#p%d_0">%s</a></div>' % (name, n, title(rng)))
        if rng.random() < 0.95:
            doc = "ncc.html" if rng.random() < 0.1 else "text.html"
            write(os.path.join(folder, name), smil(rng, n, doc), "utf-8", rng)
    joined = [" ".join(body)] if rng.random() < 0.15 else body
    write(os.path.join(folder, "ncc.html"), head + joined + ["</body>", "</html>"], codec, rng)


def write(path, lines, codec, rng):
    end = "\r\n" if rng.random() < 0.3 else "\n"
    with open(path, "wb") as f:
        f.write(end.join(lines).encode(codec, errors="replace") + end.encode())


def main():
    out, count = sys.argv[1], int(sys.argv[2])
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    for i in range(count):
        book(os.path.join(out, "book%04d" % i), random.Random(seed * 100003 + i))


if __name__ == "__main__":
    main()
