#!/usr/bin/env python3
"""Builds assets/quillmark.ttf, the preview's pixel font, from tools/quillmark_glyphs.txt.

Every ink pixel of the glyph source becomes a square of the outline (runs of pixels in a row are
merged into one rectangle), on a grid of 128 font units per pixel with 1024 units to the em, so
that the font rendered at 8 pixels per em without anti-aliasing gives back exactly the pixels of
the source. The font has no hinting instructions: at that size none are needed.

Run with Debian's Python: /usr/bin/python3 tools/make_preview_font.py (needs python3-fonttools).
"""
import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "quillmark_glyphs.txt")
OUTPUT = os.path.join(HERE, "..", "assets", "quillmark.ttf")

UNIT = 128              # font units per pixel
UPM = 8 * UNIT          # 8 pixels to the em
CAP_ROWS = 7            # rows from the top of a capital to the baseline
ASCENT = 10 * UNIT      # the text cell: 3 pixels above the capitals ...
DESCENT = 2 * UNIT      # ... and 2 below the baseline

# Accent marks, two rows high, drawn above a capital (rows -2 and -1) or above a lower-case
# letter (rows 0 and 1, where its x-height leaves room). Centred over the base glyph.
ACCENT_MARKS = {
    "grave": ["#.", ".#"],
    "acute": [".#", "#."],
    "circumflex": [".#.", "#.#"],
    "tilde": [".#.#", "#.#."],
    "diaeresis": ["#.#", "..."],
    "ring": [".#.", "#.#"],
}
# Each accented letter: its base glyph and its mark. à to æ are not here: the font draws those
# code points as the console's key symbols.
ACCENTS = {}
for mark, pairs in {
    "grave": "ÀA ÈE ÌI ÒO ÙU èe ìı òo ùu",
    "acute": "ÁA ÉE ÍI ÓO ÚU ÝY ée íı óo úu ýy",
    "circumflex": "ÂA ÊE ÎI ÔO ÛU êe îı ôo ûu",
    "tilde": "ÃA ÑN ÕO ñn õo",
    "diaeresis": "ÄA ËE ÏI ÖO ÜU ëe ïı öo üu ÿy",
    "ring": "ÅA",
}.items():
    for pair in pairs.split():
        ACCENTS[pair[0]] = (pair[1], mark, pair[0].isupper())


def read_glyphs():
    glyphs = {}
    with open(SOURCE, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("# "):
                continue
            name, rows = line.split(" ", 1)
            ch = chr(int(name[2:], 16)) if name.startswith("U+") else name
            rows = rows.split("/")
            assert len(rows) == CAP_ROWS + 2, f"{name}: {len(rows)} rows"
            assert len({len(r) for r in rows}) == 1, f"{name}: rows of different widths"
            glyphs[ch] = rows
    # A dotless i for the accented i's: the i without its dot.
    glyphs["ı"] = ["."] * 2 + glyphs["i"][2:]
    return glyphs


def compose(glyphs, base, mark, capital):
    """Rows of the base glyph with two extra rows above, the accent mark centred on them."""
    rows = [list("." * len(glyphs[base][0])) for _ in range(2)] + [list(r) for r in glyphs[base]]
    width = len(rows[0])
    mark_rows = ACCENT_MARKS[mark]
    offset = (width - len(mark_rows[0]) + 1) // 2
    top = 0 if capital else 2  # capitals: the rows above; lower case: the empty x-height rows
    for i, mark_row in enumerate(mark_rows):
        for j, c in enumerate(mark_row):
            if c == "#" and 0 <= offset + j < width:
                rows[top + i][offset + j] = "#"
    return ["".join(r) for r in rows], 2


def outline(rows, rows_above):
    """A TrueType outline: one rectangle per horizontal run of ink."""
    pen = TTGlyphPen(None)
    for r, row in enumerate(rows):
        top = (CAP_ROWS + rows_above - r) * UNIT
        x = 0
        while x < len(row):
            if row[x] != "#":
                x += 1
                continue
            start = x
            while x < len(row) and row[x] == "#":
                x += 1
            # Clockwise, as TrueType wants filled contours.
            pen.moveTo((start * UNIT, top))
            pen.lineTo((x * UNIT, top))
            pen.lineTo((x * UNIT, top - UNIT))
            pen.lineTo((start * UNIT, top - UNIT))
            pen.closePath()
    return pen.glyph()


def main():
    glyphs = read_glyphs()
    shapes = {}
    for ch, rows in glyphs.items():
        shapes[ch] = (rows, 0)
    for ch, (base, mark, capital) in ACCENTS.items():
        shapes[ch] = compose(glyphs, base, mark, capital)
    del shapes["ı"]

    names = [".notdef"] + [f"uni{ord(ch):04X}" for ch in sorted(shapes)]
    cmap = {ord(ch): f"uni{ord(ch):04X}" for ch in shapes}
    notdef = ["#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####", ".....", "....."]
    glyf = {".notdef": outline(notdef, 0)}
    metrics = {".notdef": (6 * UNIT, 0)}
    for ch, (rows, above) in shapes.items():
        name = f"uni{ord(ch):04X}"
        glyf[name] = outline(rows, above)
        metrics[name] = ((len(rows[0]) + 1) * UNIT, 0)

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyf)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({"familyName": "Quillmark", "styleName": "Regular",
                       "copyright": "Drawn for Skinsmith", "version": "Version 1.0"})
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=DESCENT, fsType=0)
    fb.setupPost()
    fb.font["head"].created = fb.font["head"].modified = 0  # reproducible output
    fb.save(OUTPUT)
    print(f"wrote {os.path.normpath(OUTPUT)} with {len(shapes)} glyphs")


if __name__ == "__main__":
    main()
