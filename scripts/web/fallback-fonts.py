#!/usr/bin/python3
"""Makes the faces that stand in for letters the game's own faces lack, for the browser (which has
no system fonts): Hebrew, Arabic and symbols from DejaVu Sans, Chinese, Japanese and Korean from
WenQuanYi Micro Hei (the face the desktop finds for them), colour emoji from Noto Color Emoji, each
cut down with fontTools' subsetter to the letters it stands in for and split into parts a page
downloads only when a text needs one of their letters. Writes the parts into FONTS_DIR and
FONTS_DIR/fallback.txt, which the game reads to know which file has which letter:

    PACK FACE STYLE KIND FILE RANGE...

one line a file, in the order the faces are tried: PACK the download holding it ("common" comes
with the game), FACE the family it belongs to, STYLE r, b, i or bi, KIND text or colour, each RANGE
FIRST-LAST in hexadecimal code points.

Debian's packages fonts-texgyre, fonts-dejavu-core, fonts-wqy-microhei, fonts-noto-color-emoji and
fonttools provide the faces and the subsetter (run by Debian's own Python, which has fontTools).

usage: fallback-fonts.py FONTS_DIR"""
import os
import subprocess
import sys

from fontTools.ttLib import TTFont

TEXGYRE = "/usr/share/texmf/fonts/opentype/public/tex-gyre/"
DEJAVU = "/usr/share/fonts/truetype/dejavu/"
WQY = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"

# What joins and modifies emoji: in every part, so a sequence within one part keeps its picture.
EMOJI_JOINERS = "U+200D,U+FE0F,U+20E3,U+1F3FB-1F3FF,U+2640,U+2642,U+2695,U+2696,U+2708,U+2764"
SANS_LETTERS = ("U+0590-05FF,U+0600-06FF,U+0750-077F,U+08A0-08FF,U+FB1D-FDFF,U+FE70-FEFF,"
                "U+200C-200F,U+2190-2BFF")

# (pack, face, style, kind, file name, source, font number, letters); letters None: the whole
# file, as Debian ships it.
FACES = [
    ("common", "schola", "r", "text", "texgyreschola-regular.otf", TEXGYRE + "texgyreschola-regular.otf", 0, None),
    ("common", "schola", "b", "text", "texgyreschola-bold.otf", TEXGYRE + "texgyreschola-bold.otf", 0, None),
    ("common", "schola", "i", "text", "texgyreschola-italic.otf", TEXGYRE + "texgyreschola-italic.otf", 0, None),
    ("common", "schola", "bi", "text", "texgyreschola-bolditalic.otf", TEXGYRE + "texgyreschola-bolditalic.otf", 0, None),
    ("fonts-serif", "dejavu-serif", "r", "text", "DejaVuSerif.ttf", DEJAVU + "DejaVuSerif.ttf", 0, None),
    ("fonts-serif", "dejavu-serif", "b", "text", "DejaVuSerif-Bold.ttf", DEJAVU + "DejaVuSerif-Bold.ttf", 0, None),
    ("fonts-serif", "dejavu-serif", "i", "text", "DejaVuSerif-Italic.ttf", DEJAVU + "DejaVuSerif-Italic.ttf", 0, None),
    ("fonts-serif", "dejavu-serif", "bi", "text", "DejaVuSerif-BoldItalic.ttf", DEJAVU + "DejaVuSerif-BoldItalic.ttf", 0, None),
    ("fonts-sans", "dejavu-sans", "r", "text", "DejaVuSans-extra.ttf", DEJAVU + "DejaVuSans.ttf", 0, SANS_LETTERS),
    ("fonts-sans", "dejavu-sans", "b", "text", "DejaVuSans-Bold-extra.ttf", DEJAVU + "DejaVuSans-Bold.ttf", 0, SANS_LETTERS),
    ("fonts-cjk1", "wqy", "r", "text", "wqy-microhei-1.ttf", WQY, 0,
     "U+2E80-33FF,U+FE30-FE4F,U+FF00-FFEF,U+4E00-5FFF"),
    ("fonts-cjk2", "wqy", "r", "text", "wqy-microhei-2.ttf", WQY, 0, "U+6000-7FFF"),
    ("fonts-cjk3", "wqy", "r", "text", "wqy-microhei-3.ttf", WQY, 0, "U+8000-9FFF,U+3400-4DBF,U+F900-FAFF"),
    ("fonts-cjk4", "wqy", "r", "text", "wqy-microhei-4.ttf", WQY, 0,
     "U+1100-11FF,U+3130-318F,U+A960-A97F,U+AC00-D7FF"),
    # The emoji by Unicode's blocks: faces and transport, people and gestures, nature and food,
    # animals and objects, the rest of the pictographs, then symbols, flags and keycaps.
    ("fonts-emoji1", "emoji", "r", "colour", "NotoColorEmoji-1.ttf", EMOJI, 0, "U+1F600-1F6FF"),
    ("fonts-emoji2", "emoji", "r", "colour", "NotoColorEmoji-2.ttf", EMOJI, 0, "U+1F900-1FAFF"),
    ("fonts-emoji3", "emoji", "r", "colour", "NotoColorEmoji-3.ttf", EMOJI, 0, "U+1F300-1F3FF"),
    ("fonts-emoji4", "emoji", "r", "colour", "NotoColorEmoji-4.ttf", EMOJI, 0, "U+1F400-1F4FF"),
    ("fonts-emoji5", "emoji", "r", "colour", "NotoColorEmoji-5.ttf", EMOJI, 0, "U+1F500-1F5FF"),
    ("fonts-emoji6", "emoji", "r", "colour", "NotoColorEmoji-6.ttf", EMOJI, 0,
     "U+0-1F2FF,U+1F700-1F8FF,U+E0000-E007F"),
]


def ranges(code_points):
    out = []
    for c in sorted(code_points):
        if out and out[-1][1] == c - 1:
            out[-1][1] = c
        else:
            out.append([c, c])
    return " ".join("%x-%x" % (a, b) for a, b in out)


def within(letters, c):
    """Whether LETTERS ("U+A-B,U+C,...") holds code point C."""
    for item in letters.split(","):
        first, _, last = item[2:].partition("-")
        if int(first, 16) <= c <= int(last or first, 16):
            return True
    return False


def make(path, source, number, letters):
    """The file PATH from SOURCE, cut down to LETTERS; made again only when SOURCE is newer."""
    if os.path.exists(path) and os.path.getmtime(path) >= os.path.getmtime(source):
        return
    if letters is None:
        with open(source, "rb") as f, open(path + ".new", "wb") as out:
            out.write(f.read())
    else:
        joined = letters + ("," + EMOJI_JOINERS if source == EMOJI else "")
        subprocess.run(["pyftsubset", source, "--font-number=%d" % number, "--unicodes=" + joined,
                        "--layout-features=*", "--output-file=" + path + ".new"],
                       check=True, stderr=subprocess.DEVNULL)
    os.replace(path + ".new", path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = []
    for pack, face, style, kind, name, source, number, letters in FACES:
        path = os.path.join(out, name)
        make(path, source, number, letters)
        cmap = TTFont(path, lazy=True).getBestCmap()
        # The joiners every emoji part carries are its own letters only in the part they belong to.
        have = [c for c in cmap if letters is None or within(letters, c)]
        lines.append(" ".join([pack, face, style, kind, name, ranges(have)]))
    text = "\n".join(lines) + "\n"
    index = os.path.join(out, "fallback.txt")
    if not os.path.exists(index) or open(index).read() != text:
        with open(index, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
