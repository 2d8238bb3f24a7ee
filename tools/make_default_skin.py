#!/usr/bin/python3
"""Draws Skinsmith's built-in default skin and the preview's own pictures, and writes them as the
16-bit BMP files that the program embeds (assets/skin/..., assets/hinge.bmp, assets/banner.bmp,
assets/sample_game_icon.bmp).

Run from anywhere:  /usr/bin/python3 tools/make_default_skin.py [output-assets-folder]

Every picture is drawn from code, deterministically. Pictures that the preview draws with colour
keying use pure green (0, 248, 0) for their transparent pixels; every channel written is a multiple
of 8 so that the 5-bit BMP holds the picture without loss.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageDraw

# --------------------------------------------------------------------------------------------
# Palette. The skin's default colours, and the tones drawn around them.

KEY = (0, 248, 0)                 # transparent under the preview's default keying
KEY_SAFE = (0, 240, 0)            # what a drawn pixel becomes if it would quantise to KEY

FRAME = (96, 0, 48)               # formFrameColor
BODY = (24, 24, 24)               # formBodyColor
BODY_DARK = (16, 8, 8)            # popMenuBodyColor / popSubMenuBodyColor
AMBER = (248, 192, 112)           # formTextColor, listTextColor
CYAN = (64, 208, 240)             # listTextHighLightColor
WINE = (152, 0, 72)               # listTextBgColor, gameInfoTitleColor
WHITE = (248, 248, 248)
SPIN = (184, 48, 112)             # spinBoxFrameColor

WINE_DEEP = (64, 0, 32)
WINE_BRIGHT = (208, 56, 128)
WINE_SHINE = (232, 128, 176)
OUTLINE = (40, 0, 20)
CLOCK_BG = (16, 8, 8)             # the clock well on the upper screen, under the digits
GRID_BG = (24, 12, 16)            # what icons and markers are blended against at their edges
PANEL = (16, 8, 12)               # list panel of the cheat screen

SS = 4                            # supersampling factor of smooth drawings


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def ramp(stops, t):
    """Colour at t (0..1) of a ramp given as [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1.0)
    return stops[-1][1]


# --------------------------------------------------------------------------------------------
# The writer: 16-bit uncompressed BMP exactly as the program writes it.

def q8(colour):
    return tuple(v & 0xF8 for v in colour[:3])


def bmp16_bytes(image):
    """Bytes of the 16-bit BMP of an RGB image: 54-byte header, rows bottom-up, each row padded
    to an even number of pixels, 2 zero bytes after the last row."""
    w, h = image.size
    stride = 2 * w if w % 2 == 0 else 2 * (w + 1)
    data_size = h * stride + 2
    out = bytearray()
    out += b"BM"
    out += struct.pack("<IHHI", 54 + data_size, 0, 0, 54)
    out += struct.pack("<IiiHHIIiiII", 40, w, h, 1, 16, 0, data_size, 2834, 2834, 0, 0)
    px = image.load()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y][:3]
            row += struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        row += bytes(stride - len(row))
        out += row
    out += bytes(2)
    return bytes(out)


def write_bmp16(path, image):
    """Writes an RGB image as a 16-bit BMP. Every channel must already be a multiple of 8."""
    image = image.convert("RGB")
    assert all(v & 7 == 0 for px in image.getdata() for v in px), path
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(bmp16_bytes(image))


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def quantise(image, dither=False, keyed=False):
    """Cuts every channel to a multiple of 8. With dither an ordered 4x4 pattern spreads the
    rounding so that soft gradients do not band. In a keyed picture only exact KEY pixels stay
    transparent: a drawn pixel that would land on KEY is moved to KEY_SAFE."""
    image = image.convert("RGB")
    px = image.load()
    w, h = image.size
    for y in range(h):
        for x in range(w):
            c = px[x, y]
            if keyed and c == KEY:
                continue
            if dither:
                d = BAYER4[y & 3][x & 3] / 2.0
                c = tuple(min(255, int(v + d)) for v in c)
            c = q8(c)
            if keyed and c == KEY:
                c = KEY_SAFE
            px[x, y] = c
    return image


# --------------------------------------------------------------------------------------------
# Smooth drawing: shapes are painted at SS times the size on an RGBA layer, then reduced, which
# gives soft edges. A keyed picture is then laid over the colour it will stand on in the
# preview; pixels that the shapes barely touch become KEY.

class Layer:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))

    def _mask(self):
        return Image.new("L", self.img.size, 0)

    def _s(self, pts):
        return [(x * SS, y * SS) for x, y in pts]

    def _box(self, box):
        x0, y0, x1, y1 = box
        return (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1)

    def fill_mask(self, mask, paint, alpha=255):
        """Lays paint (a colour or an image of the layer's full size) through mask."""
        if isinstance(paint, tuple):
            over = Image.new("RGBA", self.img.size, paint[:3] + (255,))
        else:
            over = paint.convert("RGBA")
            if over.size != self.img.size:
                over = over.resize(self.img.size, Image.NEAREST)
        if alpha != 255:
            mask = mask.point(lambda v: v * alpha // 255)
        over.putalpha(mask)
        self.img = Image.alpha_composite(self.img, over)

    # Boxes are (x0, y0, x1, y1) in picture pixels, x1 and y1 exclusive.
    def rect(self, box, paint, alpha=255):
        m = self._mask()
        ImageDraw.Draw(m).rectangle(self._box(box), fill=255)
        self.fill_mask(m, paint, alpha)

    def rrect(self, box, radius, paint, alpha=255):
        m = self._mask()
        ImageDraw.Draw(m).rounded_rectangle(self._box(box), radius * SS, fill=255)
        self.fill_mask(m, paint, alpha)

    def ellipse(self, box, paint, alpha=255):
        m = self._mask()
        ImageDraw.Draw(m).ellipse(self._box(box), fill=255)
        self.fill_mask(m, paint, alpha)

    def polygon(self, pts, paint, alpha=255):
        m = self._mask()
        ImageDraw.Draw(m).polygon(self._s(pts), fill=255)
        self.fill_mask(m, paint, alpha)

    def line(self, pts, width, paint, alpha=255):
        m = self._mask()
        d = ImageDraw.Draw(m)
        d.line(self._s(pts), fill=255, width=int(width * SS), joint="curve")
        r = width * SS / 2
        for x, y in self._s(pts):
            d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        self.fill_mask(m, paint, alpha)

    def erase_ellipse(self, box):
        """Makes the ellipse fully transparent again (a hole in what was drawn)."""
        m = self._mask()
        ImageDraw.Draw(m).ellipse(self._box(box), fill=255)
        self._erase(m)

    def erase_rect(self, box):
        m = self._mask()
        ImageDraw.Draw(m).rectangle(self._box(box), fill=255)
        self._erase(m)

    def _erase(self, m):
        a = self.img.getchannel("A")
        self.img.putalpha(Image.composite(Image.new("L", a.size, 0), a, m))

    def arc(self, box, start, end, width, paint, alpha=255):
        m = self._mask()
        ImageDraw.Draw(m).arc(self._box(box), start, end, fill=255, width=int(width * SS))
        self.fill_mask(m, paint, alpha)

    def vgrad(self, stops):
        """A full-size paint running through stops from the top to the bottom."""
        return vertical_gradient(self.w * SS, self.h * SS, stops)

    def hgrad(self, stops):
        return horizontal_gradient(self.w * SS, self.h * SS, stops)

    def reduced(self):
        return self.img.resize((self.w, self.h), Image.BOX)


def vertical_gradient(w, h, stops):
    col = Image.new("RGB", (1, h))
    for y in range(h):
        col.putpixel((0, y), ramp(stops, (y + 0.5) / h))
    return col.resize((w, h), Image.NEAREST)


def horizontal_gradient(w, h, stops):
    row = Image.new("RGB", (w, 1))
    for x in range(w):
        row.putpixel((x, 0), ramp(stops, (x + 0.5) / w))
    return row.resize((w, h), Image.NEAREST)


def over(rgba, under):
    """Lays a reduced RGBA drawing over a colour or an RGB picture of the same size."""
    if isinstance(under, tuple):
        base = Image.new("RGBA", rgba.size, under[:3] + (255,))
    else:
        base = under.convert("RGBA")
    return Image.alpha_composite(base, rgba).convert("RGB")


def keyed(layer, under, threshold=100, dither=False):
    """Finishes a keyed picture: drawn pixels are blended over `under` (a colour or a picture of
    the place where the preview draws this one); pixels with less cover than threshold/255 are
    KEY."""
    rgba = layer.reduced() if isinstance(layer, Layer) else layer
    flat = over(rgba, under)
    alpha = rgba.getchannel("A")
    out = Image.new("RGB", rgba.size, KEY)
    out.paste(flat, (0, 0), alpha.point(lambda v: 255 if v >= threshold else 0))
    return quantise(out, dither=dither, keyed=True)


def opaque(layer, under, dither=False):
    rgba = layer.reduced() if isinstance(layer, Layer) else layer
    return quantise(over(rgba, under), dither=dither)


def pixel_art(rows, legend):
    """A small keyed picture from rows of characters; '.' is transparent."""
    h, w = len(rows), len(rows[0])
    img = Image.new("RGB", (w, h), KEY)
    for y, row in enumerate(rows):
        assert len(row) == w, rows
        for x, ch in enumerate(row):
            if ch != ".":
                img.putpixel((x, y), legend[ch])
    return quantise(img, keyed=True)


# --------------------------------------------------------------------------------------------
# A small 5 x 7 bitmap font for the lettering that pictures carry (banner, start button, icon
# labels). Glyphs are trimmed to their inked columns and set one column apart.

FONT_ROWS = {
    "A": ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    "B": "####.|#...#|#...#|####.|#...#|#...#|####.",
    "C": ".###.|#...#|#....|#....|#....|#...#|.###.",
    "D": "####.|#...#|#...#|#...#|#...#|#...#|####.",
    "E": "#####|#....|#....|####.|#....|#....|#####",
    "F": "#####|#....|#....|####.|#....|#....|#....",
    "G": ".###.|#...#|#....|#.###|#...#|#...#|.####",
    "H": "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    "I": "###|.#.|.#.|.#.|.#.|.#.|###",
    "J": "..###|...#.|...#.|...#.|...#.|#..#.|.##..",
    "K": "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    "L": "#....|#....|#....|#....|#....|#....|#####",
    "M": "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    "N": "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    "O": ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    "P": "####.|#...#|#...#|####.|#....|#....|#....",
    "Q": ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    "R": "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    "S": ".####|#....|#....|.###.|....#|....#|####.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    "V": "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    "W": "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "#####|....#|...#.|..#..|.#...|#....|#####",
    "a": ".....|.....|.###.|....#|.####|#...#|.####",
    "b": "#....|#....|####.|#...#|#...#|#...#|####.",
    "c": ".....|.....|.###.|#....|#....|#...#|.###.",
    "d": "....#|....#|.####|#...#|#...#|#...#|.####",
    "e": ".....|.....|.###.|#...#|#####|#....|.###.",
    "f": "..##|.#..|.#..|###.|.#..|.#..|.#..",
    "g": ".....|.####|#...#|#...#|.####|....#|.###.",
    "h": "#....|#....|#.##.|##..#|#...#|#...#|#...#",
    "i": ".#.|...|##.|.#.|.#.|.#.|###",
    "j": "...#|....|..##|...#|...#|#..#|.##.",
    "k": "#...|#...|#..#|#.#.|##..|#.#.|#..#",
    "l": "##.|.#.|.#.|.#.|.#.|.#.|###",
    "m": ".....|.....|##.#.|#.#.#|#.#.#|#...#|#...#",
    "n": ".....|.....|#.##.|##..#|#...#|#...#|#...#",
    "o": ".....|.....|.###.|#...#|#...#|#...#|.###.",
    "p": ".....|####.|#...#|#...#|####.|#....|#....",
    "q": ".....|.####|#...#|#...#|.####|....#|....#",
    "r": ".....|.....|#.##.|##..#|#....|#....|#....",
    "s": ".....|.....|.####|#....|.###.|....#|####.",
    "t": ".#..|.#..|###.|.#..|.#..|.#.#|..#.",
    "u": ".....|.....|#...#|#...#|#...#|#..##|.##.#",
    "v": ".....|.....|#...#|#...#|#...#|.#.#.|..#..",
    "w": ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.",
    "x": ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#",
    "y": ".....|#...#|#...#|#...#|.####|....#|.###.",
    "z": ".....|.....|#####|...#.|..#..|.#...|#####",
    "0": ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    "1": ".#.|##.|.#.|.#.|.#.|.#.|###",
    "2": ".###.|#...#|....#|...#.|..#..|.#...|#####",
    "3": "#####|...#.|..#..|...#.|....#|#...#|.###.",
    "4": "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    "5": "#####|#....|####.|....#|....#|#...#|.###.",
    "6": "..##.|.#...|#....|####.|#...#|#...#|.###.",
    "7": "#####|....#|...#.|..#..|.#...|.#...|.#...",
    "8": ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    "9": ".###.|#...#|#...#|.####|....#|...#.|.##..",
    "-": "...|...|...|###|...|...|...",
    ".": ".|.|.|.|.|.|#",
    ":": ".|.|#|.|#|.|.",
    "/": "....#|...#.|...#.|..#..|.#...|.#...|#....",
    "?": ".###.|#...#|....#|...#.|..#..|.....|..#..",
    "!": "#|#|#|#|#|.|#",
    "<": "..#|.#.|#..|#..|#..|.#.|..#",
    ">": "#..|.#.|..#|..#|..#|.#.|#..",
    " ": "..|..|..|..|..|..|..",
}
FONT = {ch: rows.split("|") for ch, rows in FONT_ROWS.items()}


def text_width(text, scale=1):
    return sum((len(FONT[c][0]) + 1) * scale for c in text) - scale if text else 0


def text_pixels(text, x, y, scale=1):
    """Top-left corners of the font pixels of text set at (x, y), each pixel scale x scale."""
    cells = []
    for ch in text:
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "#":
                    cells.append((x + gx * scale, y + gy * scale))
        x += (len(glyph[0]) + 1) * scale
    return cells


def draw_text(img, text, x, y, colour, scale=1, shadow=None):
    """Sets text in the bitmap font straight into an RGB picture, with an optional 1-step
    shadow down-right."""
    d = ImageDraw.Draw(img)
    if shadow is not None:
        for cx, cy in text_pixels(text, x + scale, y + scale, scale):
            d.rectangle((cx, cy, cx + scale - 1, cy + scale - 1), fill=shadow)
    for cx, cy in text_pixels(text, x, y, scale):
        d.rectangle((cx, cy, cx + scale - 1, cy + scale - 1), fill=colour)


# --------------------------------------------------------------------------------------------
# Shared pieces: backgrounds, bevelled frames, buttons, title bars.

def screen_background(top, bottom, pattern_strength=4, vignette=0.45):
    """A 256 x 192 backdrop: vertical gradient, a fine diagonal lattice and a darkened rim."""
    w, h = 256, 192
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        base = mix(top, bottom, y / (h - 1))
        for x in range(w):
            dx, dy = (x - w / 2) / (w / 2), (y - h / 2) / (h / 2)
            dark = 1.0 - vignette * min(1.0, (dx * dx + dy * dy) / 2.0) ** 1.2
            lattice = pattern_strength if ((x + y) % 8 == 0 or (x - y) % 8 == 0) else 0
            px[x, y] = tuple(max(0, min(255, int(c * dark + lattice))) for c in base)
    return img


def bevel_box(layer, box, radius, fill, light, dark, outline=OUTLINE):
    """A rounded box with a dark outline and a one-pixel bevel: light along the top and left,
    dark along the bottom and right."""
    x0, y0, x1, y1 = box
    layer.rrect(box, radius, outline)
    layer.rrect((x0 + 1, y0 + 1, x1 - 1, y1 - 1), max(0, radius - 1), light)
    layer.rrect((x0 + 2, y0 + 2, x1 - 1, y1 - 1), max(0, radius - 1), dark)
    layer.rrect((x0 + 2, y0 + 2, x1 - 2, y1 - 2), max(0, radius - 2), fill)


def wine_button(w, h, under=BODY, radius=4):
    """The push-button body: a rounded raspberry pill with a shine along its top half."""
    lay = Layer(w, h)
    lay.rrect((0, 0, w, h), radius, OUTLINE)
    lay.rrect((1, 1, w - 1, h - 1), radius - 1,
              lay.vgrad([(0, WINE_SHINE), (0.15, WINE_BRIGHT), (0.55, WINE), (1, WINE_DEEP)]))
    lay.rrect((2, 2, w - 2, h // 2), radius - 2, (255, 255, 255), alpha=40)
    return lay, keyed(lay, under)


# The title bar profile shared by the dialog title pieces, the hotkey and progress windows.
TITLE_STOPS = [(0, (216, 88, 144)), (0.12, (184, 32, 104)), (0.6, (128, 0, 64)), (1, (80, 0, 40))]


def title_strip(lay, x0, x1, left_round, right_round, h=16):
    """A bevelled wine title strip over columns x0..x1 of lay, with rounded top corners where
    asked. The outer columns are formFrameColor so that the strip continues a window's frame."""
    r = 4
    mask_box = (x0, 0, x1, h + r)
    lay.rrect(mask_box, r, FRAME)
    if not left_round:
        lay.rect((x0, 0, x0 + r, h), FRAME)
    if not right_round:
        lay.rect((x1 - r, 0, x1, h), FRAME)
    inner = lay.vgrad([(p * h / lay.h, c) for p, c in TITLE_STOPS])
    lay.rrect((x0 + 1, 1, x1 - 1, h - 1 + r), r - 1, inner)
    # A square end is where the strip goes on in the next piece: no frame column there.
    if not left_round:
        lay.rect((x0, 1, x0 + r, h - 1), inner)
    if not right_round:
        lay.rect((x1 - r, 1, x1, h - 1), inner)
    # Bottom edge: a dark seam, then the window's frame colour.
    lay.rect((x0, h - 2, x1, h - 1), (56, 0, 28))
    lay.rect((x0, h - 1, x1, h), FRAME)


def gem(lay, cx, cy, r, bright=1.0):
    """A faceted ruby: the program's emblem. Eight facets around a table, lit from top left."""
    pts = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
           for a in range(-90, 270, 45)]
    inner = [(cx + r * 0.5 * math.cos(math.radians(a)), cy + r * 0.5 * math.sin(math.radians(a)))
             for a in range(-90, 270, 45)]
    facet = [(232, 96, 152), (200, 40, 112), (152, 0, 72), (112, 0, 56),
             (80, 0, 40), (104, 0, 52), (160, 16, 88), (216, 72, 136)]
    for i in range(8):
        j = (i + 1) % 8
        lay.polygon([pts[i], pts[j], inner[j], inner[i]], mix((0, 0, 0), facet[i], bright))
    lay.polygon(inner, mix((0, 0, 0), (184, 24, 96), bright))
    lay.polygon([inner[7], inner[0], inner[1], (cx, cy)], mix((0, 0, 0), (232, 104, 160), bright))
    # A glint on the upper left facet.
    gx, gy = cx - r * 0.42, cy - r * 0.42
    lay.polygon([(gx, gy - r * 0.16), (gx + r * 0.06, gy), (gx, gy + r * 0.16), (gx - r * 0.06, gy)],
                WHITE, alpha=int(220 * bright))
    lay.polygon([(gx - r * 0.16, gy), (gx, gy - r * 0.05), (gx + r * 0.16, gy), (gx, gy + r * 0.05)],
                WHITE, alpha=int(220 * bright))


# --------------------------------------------------------------------------------------------
# Screen backgrounds.

def upper_screen():
    """Upper screen: a ruby emblem on the left, an information panel on the right with tabs
    behind the two captions (drawn in the wine caption colour), a well for the game icon and a
    recessed display under the big clock."""
    base = screen_background((48, 12, 28), (10, 4, 8))
    lay = Layer(256, 192)
    # Header band.
    lay.rect((0, 0, 256, 14), lay.vgrad([(0, (112, 0, 56)), (14 / 192, (56, 0, 28))]))
    lay.rect((0, 14, 256, 15), (176, 48, 104))
    lay.rect((0, 15, 256, 16), OUTLINE)
    for i, x in enumerate(range(6, 40, 8)):
        lay.ellipse((x, 5, x + 4, 9), AMBER if i == 0 else (136, 24, 80))
    # Emblem with a soft halo.
    for k in range(10, 0, -1):
        lay.ellipse((60 - 5 * k - 20, 98 - 5 * k - 20, 60 + 5 * k + 20, 98 + 5 * k + 20),
                    (120, 0, 60), alpha=10)
    gem(lay, 60, 92, 34)
    lay.ellipse((30, 134, 90, 142), (0, 0, 0), alpha=110)
    # Information panel.
    lay.rrect((118, 22, 251, 181), 6, OUTLINE)
    lay.rrect((119, 23, 250, 180), 5, FRAME)
    lay.rrect((120, 24, 249, 179), 4, lay.vgrad([(0, (32, 14, 22)), (1, (14, 6, 10))]))
    lay.rect((121, 25, 248, 26), (144, 24, 80))
    # Icon well for the game icon at (127, 30).
    lay.rect((125, 28, 161, 64), (8, 0, 4))
    lay.rect((126, 29, 160, 63), (120, 72, 56))
    lay.rect((127, 30, 159, 62), (0, 0, 0))
    # Caption tabs at the caption rows of [file name] (y 71) and [game name] (y 101).
    for y in (69, 99):
        tab = lay.hgrad([(0.46, (248, 208, 144)), (0.66, (240, 176, 112)), (0.8, (184, 104, 72)),
                         (0.84, (40, 16, 22))])
        lay.polygon([(123, y), (204, y), (212, y + 12), (123, y + 12)], tab)
        lay.rect((123, y, 204, y + 1), (248, 232, 192))
        lay.rect((123, y + 12, 214, y + 13), (72, 0, 36))
    # Value lines under the two names.
    for y in (96, 126):
        lay.rect((127, y, 244, y + 1), (72, 16, 40))
    # Clock well.
    lay.rrect((125, 135, 244, 178), 4, OUTLINE)
    lay.rrect((126, 136, 243, 177), 3, (112, 24, 64))
    lay.rrect((127, 137, 242, 176), 3, (40, 8, 20))
    lay.rrect((128, 138, 242, 176), 2, CLOCK_BG)
    return opaque(lay, base, dither=True)


def lower_screen():
    """Lower screen: calm, with a faint emblem watermark; the icons and their amber captions sit
    on it."""
    base = screen_background((36, 12, 24), (12, 6, 10), pattern_strength=3)
    lay = Layer(256, 192)
    for k in range(12, 0, -1):
        lay.ellipse((128 - 12 * k, 90 - 8 * k, 128 + 12 * k, 90 + 8 * k), (88, 8, 48), alpha=7)
    lay.rect((0, 0, 256, 1), (112, 16, 64))
    lay.rect((0, 170, 256, 172), (40, 0, 20))
    return opaque(lay, base, dither=True)


def cheatbg():
    """Cheat list screen: a wine header with the two titles, a list panel below it with a row
    every 20 pixels from y = 36 (the first row is the selected one, framed by cheatselectbar)."""
    base = screen_background((36, 12, 24), (12, 6, 10), pattern_strength=3)
    lay = Layer(256, 192)
    lay.rect((0, 0, 256, 29), lay.vgrad([(0, (136, 16, 72)), (29 / 192, (64, 0, 32))]))
    lay.rect((0, 0, 256, 1), (200, 72, 136))
    lay.rect((0, 29, 256, 30), (184, 56, 120))
    lay.rect((0, 30, 256, 31), OUTLINE)
    # The clear-all box in the header.
    lay.rrect((156, 8, 230, 27), 3, (40, 0, 20))
    lay.rrect((157, 9, 229, 26), 2, (88, 0, 44))
    # List panel.
    lay.rrect((10, 32, 246, 186), 5, OUTLINE)
    lay.rrect((11, 33, 245, 185), 4, FRAME)
    lay.rrect((12, 34, 244, 184), 3, PANEL)
    for k in range(7):
        y = 36 + 20 * k
        if k % 2 == 1:
            lay.rect((14, y + 1, 242, y + 19), (28, 14, 20))
    lay.rect((32, 37, 33, 182), (40, 16, 26))
    return opaque(lay, base, dither=True)


# --------------------------------------------------------------------------------------------
# Bottom bar and its buttons. The bar is the same in every column, so that the opaque
# brightness button can carry the very rows it covers.

STARTBAR_ROWS = ([OUTLINE, (200, 72, 136)] +
                 [ramp([(0, (152, 16, 80)), (0.5, (104, 0, 52)), (1, (48, 0, 24))], i / 17)
                  for i in range(18)])


def startbar():
    img = Image.new("RGB", (256, 20))
    for y, c in enumerate(STARTBAR_ROWS):
        ImageDraw.Draw(img).line((0, y, 255, y), fill=c)
    # A faint groove before the time text and a shine along the top.
    for x in range(256):
        img.putpixel((x, 2), mix(img.getpixel((x, 2)), WHITE, 0.12))
    return quantise(img)


def startbar_under(x, y, w, h):
    """The part of the start bar (drawn at y = 172) that a picture at screen (x, y) covers."""
    return startbar().crop((x, y - 172, x + w, y - 172 + h))


def brightness():
    """Brightness button, drawn without keying at (206, 174): a sun on the bar's own rows."""
    under = startbar_under(206, 174, 22, 18)
    lay = Layer(22, 18)
    cx, cy = 11, 9
    for i in range(8):
        a = math.radians(i * 45)
        lay.line([(cx + 5.2 * math.cos(a), cy + 5.2 * math.sin(a)),
                  (cx + 7.4 * math.cos(a), cy + 7.4 * math.sin(a))], 1.4, AMBER)
    lay.ellipse((cx - 4.2, cy - 4.2, cx + 4.2, cy + 4.2), OUTLINE)
    lay.ellipse((cx - 3.4, cy - 3.4, cx + 3.4, cy + 3.4),
                lay.vgrad([(0.3, (248, 232, 168)), (0.7, (240, 152, 72))]))
    return opaque(lay, under)


def start_released():
    """The start button at (0, 172): a raised capsule with its own lettering."""
    w, h = 58, 20
    lay = Layer(w, h)
    lay.rrect((1, 1, w - 1, h - 1), 8, OUTLINE)
    lay.rrect((2, 2, w - 2, h - 2), 7,
              lay.vgrad([(0, (248, 168, 208)), (0.2, (224, 72, 144)), (0.6, (160, 8, 80)),
                         (1, (80, 0, 40))]))
    lay.rrect((4, 3, w - 4, 9), 4, WHITE, alpha=50)
    img = keyed(lay, startbar_under(0, 172, w, h))
    tw = text_width("START")
    draw_text(img, "START", (w - tw) // 2 + 4, 6, WHITE, shadow=(64, 0, 32))
    # A small play mark before the word.
    ImageDraw.Draw(img).polygon([(9, 7), (9, 13), (12, 10)], fill=AMBER)
    return quantise(img, keyed=True)


def reback():
    """Back button at (232, 174): a hooked arrow turning back to the left."""
    lay = Layer(23, 18)
    for grow, paint in ((1, OUTLINE), (0, AMBER)):
        lay.arc((7 - grow, 3.5 - grow, 19 + grow, 15.5 + grow), 270, 90, 2.2 + grow, paint)
        lay.line([(13, 14.4), (9, 14.4)], 2.2 + 2 * grow, paint)
        lay.line([(13, 4.6), (8, 4.6)], 2.2 + 2 * grow, paint)
        lay.polygon([(2.2 - 1.4 * grow, 4.6), (8 + grow, 0.6 - 1.2 * grow),
                     (8 + grow, 8.6 + 1.2 * grow)], paint)
    return keyed(lay, startbar_under(232, 174, 23, 18))


def card_frame(lit):
    """The card slot sign at (178, 174): a game card with its contacts; frame 1 lights its LED."""
    lay = Layer(23, 18)
    body = lay.vgrad([(0, (232, 232, 240)), (1, (144, 144, 160))])
    lay.polygon([(5, 1), (15, 1), (18, 4), (18, 17), (5, 17)], OUTLINE)
    lay.polygon([(6, 2), (14.6, 2), (17, 4.4), (17, 16), (6, 16)], body)
    lay.rect((8, 5, 15, 12), FRAME)
    lay.rect((8, 5, 15, 6), WINE_BRIGHT)
    for x in range(7, 17, 2):
        lay.rect((x, 14, x + 1, 16), (200, 160, 72))
    led = CYAN if lit else (56, 40, 48)
    lay.ellipse((0.5, 12, 4.5, 16), OUTLINE)
    lay.ellipse((1, 12.5, 4, 15.5), led)
    return keyed(lay, startbar_under(178, 174, 23, 18))


# --------------------------------------------------------------------------------------------
# Start menu: the form pieces, the row lamp and the sub-menu arrow.

FORM_H = 116
FORM_HEADER = 13


def form_column_profile():
    """Colours of one middle column of the start menu form, top to bottom."""
    rows = [OUTLINE, (200, 72, 136)]
    rows += [ramp([(0, (168, 24, 96)), (1, (96, 0, 48))], i / (FORM_HEADER - 3))
             for i in range(FORM_HEADER - 2)]
    rows += [(232, 152, 96), OUTLINE]
    rows += [BODY] * (FORM_H - len(rows) - 3)
    rows += [FRAME, (64, 0, 32), OUTLINE]
    assert len(rows) == FORM_H
    return rows


def form_piece(w, side):
    """A form piece of width w: side is 'L' or 'R' (outer edge and rounded top corner) or 'M'
    (a slice that is tiled between them)."""
    col = form_column_profile()
    img = Image.new("RGB", (w, FORM_H))
    for y, c in enumerate(col):
        ImageDraw.Draw(img).line((0, y, w - 1, y), fill=c)
    if side == "M":
        return quantise(img)
    d = ImageDraw.Draw(img)
    edge = 0 if side == "L" else w - 1
    step = 1 if side == "L" else -1
    # Outer frame: outline, then a 2-pixel wine border lit on the left, shaded on the right.
    d.line((edge, 0, edge, FORM_H - 1), fill=OUTLINE)
    lit = (176, 40, 104) if side == "L" else (72, 0, 36)
    d.line((edge + step, 1, edge + step, FORM_H - 2), fill=lit)
    d.line((edge + 2 * step, FORM_HEADER, edge + 2 * step, FORM_H - 3), fill=FRAME)
    # Rounded top corner, keyed.
    for (dx, dy) in ((0, 0), (1, 0), (2, 0), (0, 1), (0, 2)):
        img.putpixel((edge + step * dx, dy), KEY)
    for (dx, dy) in ((1, 1), (3, 0), (0, 3)):
        img.putpixel((edge + step * dx, dy), OUTLINE)
    if side == "L":
        # A small ruby stud in the header.
        lay = Layer(w, FORM_H)
        gem(lay, 9, 6.5, 4.2)
        img = over(lay.reduced(), img)
    else:
        for i in range(3):
            x = w - 9 - 5 * i
            d.rectangle((x, 5, x + 1, 6), fill=AMBER if i == 0 else (200, 96, 96))
    return quantise(img, keyed=True)


def lamp():
    """Row lamp, drawn at (start menu.x + 5, row centre - 20): a lit cyan pill at the left edge
    of the highlighted row, its light fading to the right under the row's text. The rows above
    and below stay transparent so that the lamp never covers the menu's header."""
    w, h = 22, 38
    lay = Layer(w, h)
    band = lay.hgrad([(0, (96, 24, 56)), (0.35, (72, 16, 44)), (1, BODY)])
    lay.rect((2, 11, w, 26), band)
    lay.rect((2, 11, w, 12), lay.hgrad([(0, (168, 64, 112)), (1, BODY)]))
    lay.rect((2, 25, w, 26), lay.hgrad([(0, (40, 0, 20)), (1, BODY)]))
    lay.rrect((0, 10, 5, 27), 2.5, (16, 64, 80))
    lay.rrect((1, 11, 4, 26), 1.5, lay.hgrad([(0, (200, 248, 248)), (0.5, CYAN), (1, (32, 128, 176))]))
    return keyed(lay, BODY)


def triangle():
    """Sub-menu arrow at the right end of the highlighted start-menu row."""
    lay = Layer(14, 16)
    lay.polygon([(4, 1.5), (12, 7), (4, 12.5)], (16, 64, 80))
    lay.polygon([(5, 3.5), (10.4, 7), (5, 10.5)], lay.vgrad([(0.3, (176, 240, 248)), (0.7, CYAN)]))
    return keyed(lay, BODY)


def popsubbar():
    """Highlight bar of the sub-menus: a one-pixel slice stretched across the menu."""
    rows = [(200, 72, 136), (176, 32, 104), (160, 16, 88), (152, 8, 80), (144, 0, 72),
            (136, 0, 68), (128, 0, 64), (120, 0, 60), (112, 0, 56), (104, 0, 52), (88, 0, 44),
            (48, 0, 24)]
    img = Image.new("RGB", (1, 12))
    for y, c in enumerate(rows):
        img.putpixel((0, y), c)
    return quantise(img)


def active():
    """Mark of the current choice in a sub-menu."""
    return pixel_art(["..##..",
                      ".#aa#.",
                      "#abba#",
                      "#abba#",
                      ".#aa#.",
                      "..##.."], {"#": (176, 96, 48), "a": AMBER, "b": (248, 240, 200)})


def hotkey_led(on):
    """Hotkey state: a lit cyan LED, or a dark one."""
    rows = ["..ooooo..",
            ".obbbbbo.",
            "obhhbbbbo",
            "obhbbbbbo",
            "obbbbbbbo",
            "obbbbbbdo",
            "obbbbbddo",
            ".obbdddo.",
            "..ooooo.."]
    if on:
        legend = {"o": (16, 64, 80), "b": CYAN, "h": (224, 248, 248), "d": (32, 136, 176)}
    else:
        legend = {"o": OUTLINE, "b": (72, 40, 56), "h": (136, 104, 120), "d": (48, 24, 40)}
    return pixel_art(rows, legend)


def selectbar():
    """List selection bar, 256 x 42, centred on the selected row of the folder list."""
    w, h = 256, 42
    under = lower_screen().crop((0, 50, 256, 92))
    lay = Layer(w, h)
    lay.rrect((2, 3, w - 2, h - 3), 7, OUTLINE, alpha=200)
    lay.rrect((3, 4, w - 3, h - 4), 6,
              lay.hgrad([(0, (176, 24, 96)), (0.45, (120, 0, 60)), (1, (64, 0, 32))]))
    lay.rrect((4, 5, w - 4, h // 2), 5, WHITE, alpha=28)
    lay.rect((10, 5, w - 10, 6), (248, 176, 208), alpha=120)
    lay.rrect((5, 8, 8, h - 8), 1.5, CYAN)
    return keyed(lay, under, dither=True)


# --------------------------------------------------------------------------------------------
# Buttons and title bars of dialogs and windows.

def btn(w):
    return wine_button(w, 14)[1]


def cheatmenubtn():
    lay, _ = wine_button(70, 14)
    lay.polygon([(7, 3.5), (10.5, 7), (7, 10.5), (3.5, 7)], OUTLINE)
    lay.polygon([(7, 4.5), (9.5, 7), (7, 9.5), (4.5, 7)], AMBER)
    return keyed(lay, BODY)


def title_piece(part):
    """Dialog title bar pieces, 16 high: the left end (ruby stud), a 2-pixel tile drawn without
    keying, and the right end (three studs)."""
    w = {"left": 56, "bg": 2, "right": 56}[part]
    lay = Layer(w, 16)
    title_strip(lay, 0, w, part == "left", part == "right")
    if part == "left":
        gem(lay, 9, 7.5, 4.6)
    if part == "right":
        for i in range(3):
            x = w - 12 - 6 * i
            lay.ellipse((x, 5.5, x + 4, 9.5), OUTLINE)
            lay.ellipse((x + 0.7, 6.2, x + 3.3, 8.8), AMBER if i == 0 else (208, 104, 120))
    if part == "bg":
        return opaque(lay, FRAME)
    return keyed(lay, GRID_BG)


def window(w, h, title_h=16):
    """A window with a wine title strip and a framed dark body; rounded corners keyed."""
    lay = Layer(w, h)
    lay.rrect((0, 0, w, h), 5, OUTLINE)
    lay.rrect((1, 1, w - 1, h - 1), 4, FRAME)
    lay.rrect((2, title_h, w - 2, h - 2), 3, lay.vgrad([(0, (32, 28, 28)), (1, BODY)]))
    title_strip(lay, 0, w, True, True, h=title_h)
    lay.rect((2, title_h, w - 2, title_h + 1), (8, 0, 4))
    return lay


def hotkeybk():
    """Hotkey window, centred on the lower screen; its title "Hotkey" is drawn at window row 0
    and its two buttons at window row 107."""
    w, h = 198, 127
    lay = window(w, h)
    lay.rrect((8, 22, w - 8, 101), 3, (8, 0, 4))
    lay.rrect((9, 23, w - 9, 100), 2, BODY_DARK)
    for y in range(39, 100, 16):
        lay.rect((14, y, w - 14, y + 1), (48, 16, 28))
    lay.rect((8, 103, w - 8, 104), (72, 0, 36))
    return keyed(lay, GRID_BG)


def progress_wnd():
    """Progress window with a trough for progress_bar (102 x 12) in its middle."""
    w, h = 198, 93
    lay = window(w, h)
    lay.rrect((46, 48, 152, 64), 3, OUTLINE)
    lay.rect((47, 49, 151, 63), (8, 0, 4))
    lay.rect((47, 49, 151, 50), (0, 0, 0))
    lay.rect((47, 63, 151, 64), (96, 48, 64))
    for i in range(3):
        lay.ellipse((88 + 8 * i, 30, 92 + 8 * i, 34), AMBER if i == 0 else (136, 64, 72))
    return keyed(lay, GRID_BG)


def progress_bar():
    w, h = 102, 12
    img = Image.new("RGB", (w, h))
    stops = [(0, (176, 240, 248)), (0.25, (96, 216, 240)), (0.6, CYAN), (1, (16, 104, 144))]
    for y in range(h):
        base = ramp(stops, y / (h - 1))
        for x in range(w):
            stripe = ((x + y) // 4) % 2 == 0
            img.putpixel((x, y), mix(base, WHITE, 0.12) if stripe else base)
    d = ImageDraw.Draw(img)
    d.line((0, 0, 0, h - 1), fill=(16, 64, 80))
    d.line((w - 1, 0, w - 1, h - 1), fill=(16, 64, 80))
    return quantise(img)


def settingbg():
    """Game settings window at (28, 46): a light amber title strip (the game's name is drawn
    on it in the wine title colour), an icon well at (40, 74) and three setting rows."""
    w, h = 198, 104
    lay = Layer(w, h)
    lay.rrect((0, 0, w, h), 5, OUTLINE)
    lay.rrect((1, 1, w - 1, h - 1), 4, FRAME)
    lay.rrect((2, 2, w - 2, 20), 3, lay.vgrad([(0, (248, 224, 176)), (0.1, (248, 200, 136)),
                                                (0.16, (232, 160, 96)), (0.19, (176, 96, 64))]))
    lay.rect((2, 16, w - 2, 17), (120, 32, 48))
    lay.rrect((2, 17, w - 2, h - 2), 3, lay.vgrad([(0, (36, 30, 30)), (1, BODY)]))
    # Icon well.
    lay.rect((10, 26, 46, 62), (8, 0, 4))
    lay.rect((11, 27, 45, 61), (120, 72, 56))
    lay.rect((12, 28, 44, 60), (0, 0, 0))
    # Setting rows (labels at window rows 24, 44, 64).
    for k in range(3):
        y = 24 + 20 * k
        lay.rrect((50, y, w - 6, y + 17), 3, (40, 20, 28) if k == 0 else (30, 22, 24))
    lay.rect((8, 82, w - 8, 83), (72, 0, 36))
    return keyed(lay, GRID_BG)


def close_button(w, h, under):
    lay = Layer(w, h)
    lay.rrect((0, 0, w, h), 3, OUTLINE)
    lay.rrect((1, 1, w - 1, h - 1), 2,
              lay.vgrad([(0, WINE_SHINE), (0.2, WINE_BRIGHT), (1, (104, 0, 52))]))
    cx, cy, s = w / 2, h / 2, min(w, h) / 2 - 3.2
    for width, paint in ((2.6, (64, 0, 32)), (1.3, WHITE)):
        lay.line([(cx - s, cy - s), (cx + s, cy + s)], width, paint)
        lay.line([(cx - s, cy + s), (cx + s, cy - s)], width, paint)
    return keyed(lay, under)


def spin_button(direction):
    """Spin-box arrow buttons, 8 x 14, beside the value boxes of the game settings window."""
    lay = Layer(8, 14)
    sgn = -1 if direction == "left" else 1
    if direction == "left":
        lay.rrect((0, 0, 12, 14), 5, OUTLINE)
        lay.rrect((1, 1, 12, 13), 4, lay.vgrad([(0, mix(SPIN, WHITE, 0.35)), (0.5, SPIN), (1, (112, 16, 56))]))
    else:
        lay.rrect((-4, 0, 8, 14), 5, OUTLINE)
        lay.rrect((-4, 1, 7, 13), 4, lay.vgrad([(0, mix(SPIN, WHITE, 0.35)), (0.5, SPIN), (1, (112, 16, 56))]))
    cx = 4.5 if direction == "left" else 3.5
    lay.polygon([(cx + sgn * 2, 7), (cx - sgn * 1.6, 3.6), (cx - sgn * 1.6, 10.4)], WHITE)
    return keyed(lay, BODY)


def cheatselectbar():
    """The line above and below the selected cheat (203 x 1, drawn without keying): cyan in the
    middle, fading into the list panel at both ends."""
    img = Image.new("RGB", (203, 1))
    for x in range(203):
        t = abs(x - 101) / 101
        img.putpixel((x, 0), mix(CYAN, PANEL, max(0.0, (t - 0.55) / 0.45) ** 1.5))
    return quantise(img)


def cheat_clearall():
    """Clear-all sign of the cheat list: a small bin."""
    lay = Layer(16, 12)
    lay.rect((4, 1, 12, 2.6), OUTLINE)
    lay.rect((6.5, 0, 9.5, 1.5), OUTLINE)
    lay.rect((3, 2, 13, 4), OUTLINE)
    lay.rect((4, 2.6, 12, 3.4), AMBER)
    lay.polygon([(4, 4), (12, 4), (11.2, 12), (4.8, 12)], OUTLINE)
    lay.polygon([(5, 4.8), (11, 4.8), (10.4, 11.2), (5.6, 11.2)],
                lay.hgrad([(0.3, (248, 208, 144)), (0.7, (208, 128, 72))]))
    for x in (6.8, 8.6):
        lay.rect((x, 6, x + 0.7, 10), (120, 48, 40))
    return keyed(lay, (88, 0, 44))


# --------------------------------------------------------------------------------------------
# Cheat list markers (11 x 10): check boxes, radio buttons, the group node.

MARK_LEGEND = {"o": (176, 112, 72), "O": (64, 24, 24), "b": (40, 24, 28), "v": CYAN,
               "V": (200, 248, 248), "a": AMBER, "A": (200, 120, 56)}


def pitch(ticked):
    box = ["ooooooooo..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "obbbbbbbO..",
           "oOOOOOOOO..",
           "..........."]
    if ticked:
        tick = {(9, 0): "v", (8, 1): "v", (9, 1): "v", (7, 2): "v", (8, 2): "v", (6, 3): "v",
                (7, 3): "v", (2, 3): "v", (2, 4): "v", (3, 4): "v", (5, 4): "v", (6, 4): "v",
                (3, 5): "V", (4, 5): "v", (5, 5): "v", (4, 6): "v", (3, 6): "v"}
        box = ["".join(tick.get((x, y), ch) for x, ch in enumerate(row)) for y, row in enumerate(box)]
    return pixel_art(box, MARK_LEGEND)


def onehot(marked):
    rows = ["...ooooo...",
            "..obbbbbo..",
            ".obbbbbbbO.",
            ".obbbbbbbO.",
            ".obbbbbbbO.",
            ".obbbbbbbO.",
            ".obbbbbbbO.",
            "..obbbbbO..",
            "...OOOOO...",
            "..........."]
    if marked:
        dot = {(4, 3): "V", (5, 3): "v", (6, 3): "v", (4, 4): "v", (5, 4): "v", (6, 4): "v",
               (4, 5): "v", (5, 5): "v", (6, 5): "v", (5, 2): "v", (3, 4): "v", (7, 4): "v",
               (5, 6): "v"}
        rows = ["".join(dot.get((x, y), ch) for x, ch in enumerate(row)) for y, row in enumerate(rows)]
    return pixel_art(rows, MARK_LEGEND)


def fathernode():
    """A cheat group (a node holding other cheats): a small amber folder."""
    return pixel_art(["...........",
                      ".OOOO......",
                      "OaaaaO.....",
                      "OAAAAAOOOO.",
                      "OaaaaaaaaaO",
                      "OaaaaaaaaaO",
                      "OaaaaaaaaaO",
                      "OAAAAAAAAAO",
                      ".OOOOOOOOO.",
                      "..........."], MARK_LEGEND)


# --------------------------------------------------------------------------------------------
# The big clock: digits 0..9 stacked in a 24 x 310 strip, and the colon.

SEGMENTS = {  # which of a..g each digit lights: a top, b top right, c bottom right, d bottom,
    0: "abcdef", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc",  # e bottom left, f top left,
    5: "afgcd", 6: "afgedc", 7: "abc", 8: "abcdefg", 9: "abcdfg",  # g middle
}


def segment_polygons(x0, y0, w, h, t):
    """Polygons of the seven segments of a digit in the box (x0, y0, w, h), thickness t, with
    mitred ends and a small gap between segments."""
    g = 0.8
    xl, xr = x0, x0 + w
    yt, ym, yb = y0, y0 + h / 2, y0 + h
    ht = t / 2

    def horiz(y):
        return [(xl + g + ht, y - ht), (xr - g - ht, y - ht), (xr - g, y),
                (xr - g - ht, y + ht), (xl + g + ht, y + ht), (xl + g, y)]

    def vert(x, ya, yb_):
        return [(x, ya + g), (x + ht, ya + g + ht), (x + ht, yb_ - g - ht), (x, yb_ - g),
                (x - ht, yb_ - g - ht), (x - ht, ya + g + ht)]

    return {
        "a": horiz(yt + ht), "g": horiz(ym), "d": horiz(yb - ht),
        "f": vert(xl + ht, yt + ht, ym), "b": vert(xr - ht, yt + ht, ym),
        "e": vert(xl + ht, ym, yb - ht), "c": vert(xr - ht, ym, yb - ht),
    }


DIGIT_LIT = [(0, (248, 232, 176)), (0.45, AMBER), (1, (232, 136, 72))]
DIGIT_GHOST = (48, 20, 28)


def clock_numbers():
    lay = Layer(24, 310)
    for d in range(10):
        top = 31 * d
        lit_paint = vertical_gradient(24 * SS, 31 * SS, DIGIT_LIT)
        full = Image.new("RGB", (24 * SS, 310 * SS))
        full.paste(lit_paint, (0, top * SS))
        polys = segment_polygons(4.5, top + 2.5, 15.5, 26, 3.6)
        for name, pts in polys.items():
            # Slant the digit slightly, as a clock face does.
            pts = [(x - (y - top - 15.5) * 0.1, y) for x, y in pts]
            lay.polygon(pts, full if name in SEGMENTS[d] else DIGIT_GHOST)
    return keyed(lay, CLOCK_BG, threshold=80)


def clock_colon():
    lay = Layer(10, 31)
    paint = lay.vgrad(DIGIT_LIT)
    lay.rrect((4, 8, 8, 12), 1.2, paint)
    lay.rrect((3, 19, 7, 23), 1.2, paint)
    return keyed(lay, CLOCK_BG, threshold=80)


# --------------------------------------------------------------------------------------------
# File-type icons and the sample game icon. They stand on the dark screens; a dark outline keeps
# their edges crisp whatever is under them.

def icon_nds():
    """A DS game card: grey shell, ridged top, a wine label with "DS", gold contacts."""
    lay = Layer(32, 32)
    shell = [(6, 2), (22, 2), (26, 6), (26, 30), (6, 30)]
    lay.polygon(shell, OUTLINE)
    lay.polygon([(7, 3), (21.6, 3), (25, 6.4), (25, 29), (7, 29)],
                lay.hgrad([(0, (240, 240, 248)), (1, (168, 168, 184))]))
    for x in range(9, 22, 3):
        lay.rect((x, 4, x + 1, 7), (136, 136, 152))
    lay.rect((8, 9, 24, 24), OUTLINE)
    lay.rect((9, 10, 23, 23), lay.vgrad([(0, (200, 40, 112)), (1, (96, 0, 48))]))
    lay.rect((9, 10, 23, 13), lay.vgrad([(0, (248, 208, 144)), (0.1, (232, 160, 96))]))
    img = keyed(lay, GRID_BG)
    draw_text(img, "DS", 9 + (14 - text_width("DS")) // 2, 15, WHITE, shadow=(64, 0, 32))
    d = ImageDraw.Draw(img)
    for x in range(9, 23, 3):
        d.line((x, 26, x + 1, 26), fill=(216, 176, 80))
        d.line((x, 27, x + 1, 27), fill=(168, 120, 48))
    return quantise(img, keyed=True)


def icon_gba():
    """A GBA game pak: a wide dark cartridge, its label, and the narrower connector edge."""
    lay = Layer(32, 32)
    lay.rrect((1, 5, 31, 24), 3, OUTLINE)
    lay.rect((4, 22, 28, 28), OUTLINE)
    lay.rrect((2, 6, 30, 23), 2, lay.vgrad([(0, (144, 144, 168)), (1, (80, 80, 104))]))
    lay.rect((5, 22, 27, 27), lay.vgrad([(0, (88, 88, 112)), (1, (56, 56, 72))]))
    lay.rect((5, 8, 27, 19), OUTLINE)
    lay.rect((6, 9, 26, 18), lay.vgrad([(0, (112, 88, 200)), (1, (56, 40, 136))]))
    img = keyed(lay, GRID_BG)
    draw_text(img, "GBA", 7, 10, WHITE)
    d = ImageDraw.Draw(img)
    for x in range(7, 26, 2):
        d.point((x, 25), fill=(200, 168, 72))
    d.line((3, 7, 28, 7), fill=(184, 184, 208))
    return quantise(img, keyed=True)


def icon_sav():
    """A save: a floppy disk with its metal shutter and a paper label."""
    lay = Layer(32, 32)
    lay.polygon([(3, 3), (26, 3), (29, 6), (29, 29), (3, 29)], OUTLINE)
    lay.polygon([(4, 4), (25.6, 4), (28, 6.4), (28, 28), (4, 28)],
                lay.vgrad([(0, (72, 104, 200)), (1, (32, 48, 120))]))
    lay.rect((9, 4, 23, 12), OUTLINE)
    lay.rect((10, 4, 22, 11), lay.hgrad([(0, (232, 232, 240)), (1, (152, 152, 168))]))
    lay.rect((18, 5, 21, 10), (40, 48, 72))
    lay.rect((7, 16, 25, 28), OUTLINE)
    lay.rect((8, 17, 24, 28), (240, 232, 216))
    for y in (19, 22, 25):
        lay.rect((9, y, 23, y + 1), (200, 96, 104) if y == 19 else (168, 160, 176))
    return keyed(lay, GRID_BG)


def icon_txt():
    """A text: a page with a folded corner and lines of writing."""
    lay = Layer(33, 32)
    lay.polygon([(6, 1), (21, 1), (28, 8), (28, 31), (6, 31)], OUTLINE)
    lay.polygon([(7, 2), (20.6, 2), (27, 8.4), (27, 30), (7, 30)],
                lay.vgrad([(0, (248, 248, 240)), (1, (216, 208, 200))]))
    lay.polygon([(20, 2), (27, 9), (20, 9)], (176, 168, 168))
    lay.polygon([(20, 1.5), (21, 1.5), (21, 8), (27.5, 8), (27.5, 9), (20, 9)], OUTLINE)
    widths = [9, 12, 17, 14, 17, 10]
    for i, wline in enumerate(widths):
        y = 6 + 3.8 * i if i < 2 else 13 + 3.4 * (i - 2)
        lay.rect((10, y, 10 + min(wline, 17 if i >= 2 else 8), y + 1.4),
                 WINE if i == 0 else (112, 112, 136))
    return keyed(lay, GRID_BG)


def icon_cheat():
    """A cheat: a small magic wand with a star."""
    lay = Layer(15, 16)
    lay.line([(2, 14), (9, 7)], 3.2, OUTLINE)
    lay.line([(2.4, 13.6), (8.6, 7.4)], 1.6, (56, 40, 56))
    lay.line([(7.2, 8.8), (8.6, 7.4)], 1.6, WHITE)
    star = [(10 + 4.6 * math.cos(math.radians(-90 + 36 * i)) * (1 if i % 2 == 0 else 0.45),
             5 + 4.6 * math.sin(math.radians(-90 + 36 * i)) * (1 if i % 2 == 0 else 0.45))
            for i in range(10)]
    lay.polygon([(x, y) for x, y in star], OUTLINE)
    lay.polygon([(10 + (x - 10) * 0.7, 5 + (y - 5) * 0.7) for x, y in star],
                lay.vgrad([(0, (248, 240, 168)), (0.4, (248, 200, 72))]))
    for x, y in ((3, 4), (13, 13)):
        lay.rect((x - 0.5, y - 1.5, x + 0.5, y + 1.5), CYAN)
        lay.rect((x - 1.5, y - 0.5, x + 1.5, y + 0.5), CYAN)
    return keyed(lay, GRID_BG)


def icon_plg():
    """A plug-in: a green puzzle piece, knobs on the top and right, a socket on the left."""
    lay = Layer(32, 32)

    def piece(g, paint):
        lay.rrect((6 - g, 10 - g, 24 + g, 28 + g), 2 + g, paint)
        lay.ellipse((11.5 - g, 3.5 - g, 18.5 + g, 10.5 + g), paint)
        lay.ellipse((22 - g, 15.5 - g, 29 + g, 22.5 + g), paint)
    piece(1, OUTLINE)
    piece(0, lay.vgrad([(0.1, (152, 232, 120)), (0.6, (72, 176, 64)), (1, (32, 112, 40))]))
    lay.rrect((8, 12, 14, 15), 1.5, WHITE, alpha=110)
    lay.ellipse((1, 14.5, 11, 24.5), OUTLINE)
    lay.erase_ellipse((2, 15.5, 10, 23.5))
    lay.erase_rect((0, 13, 5, 26))
    return keyed(lay, GRID_BG)


def folder(lay, paint_front, paint_back):
    lay.polygon([(2, 6), (12, 6), (15, 9), (28, 9), (28, 27), (2, 27)], OUTLINE)
    lay.polygon([(3, 7), (11.6, 7), (14.6, 10), (27, 10), (27, 26), (3, 26)], paint_back)
    lay.polygon([(2, 13), (29, 13), (27, 28), (3, 28)], OUTLINE)
    lay.polygon([(3, 14), (28, 14), (26.2, 27), (3.8, 27)], paint_front)
    lay.rect((4, 14, 27, 15), (248, 232, 176), alpha=160)


def icon_path(red):
    """A folder shortcut. pth: an amber folder with a cyan forward arrow badge; rpth (the way
    back up): the same folder with a red arrow turning back."""
    lay = Layer(32, 32)
    folder(lay, lay.vgrad([(0.4, (248, 200, 120)), (1, (216, 136, 64))]),
           lay.vgrad([(0, (200, 128, 64)), (1, (152, 88, 48))]))
    badge = (200, 24, 48) if red else (24, 144, 192)
    lay.rrect((15, 16, 31, 31), 3, OUTLINE)
    lay.rrect((16, 17, 30, 30), 2, lay.vgrad([(0, mix(badge, WHITE, 0.35)), (1, badge)]))
    if red:
        lay.arc((18.5, 20, 27.5, 28.5), 270, 90, 1.8, WHITE)
        lay.line([(23, 28.2), (20, 28.2)], 1.6, WHITE)
        lay.polygon([(17.6, 20.2), (22.5, 16.6), (22.5, 23.8)], WHITE)
    else:
        lay.line([(19.5, 27), (23, 23), (26, 23)], 1.8, WHITE)
        lay.polygon([(28.4, 23), (24, 19.2), (24, 26.8)], WHITE)
    return keyed(lay, GRID_BG)


def icon_dpg():
    """A video: a strip of film with sprocket holes and a play mark."""
    lay = Layer(33, 32)
    lay.rrect((2, 4, 31, 28), 2, OUTLINE)
    lay.rect((3, 5, 30, 27), (40, 40, 48))
    for x in range(5, 29, 4):
        lay.rect((x, 6.2, x + 2, 8.4), (216, 216, 224))
        lay.rect((x, 23.6, x + 2, 25.8), (216, 216, 224))
    lay.rect((4, 10, 29, 22), lay.vgrad([(0, (96, 200, 240)), (1, (40, 96, 168))]))
    lay.rect((16, 10, 17, 22), (40, 40, 48))
    lay.polygon([(12.5, 12), (21.5, 16), (12.5, 20)], OUTLINE)
    lay.polygon([(13.5, 13.6), (19.5, 16), (13.5, 18.4)], WHITE)
    return keyed(lay, GRID_BG)


def icon_realtime():
    """Real-time clock support: a small clock face."""
    lay = Layer(17, 14)
    lay.ellipse((1.5, 0, 15.5, 14), OUTLINE)
    lay.ellipse((2.5, 1, 14.5, 13), lay.vgrad([(0, (248, 248, 240)), (1, (200, 192, 184))]))
    for a in range(0, 360, 90):
        x, y = 8.5 + 4.8 * math.cos(math.radians(a)), 7 + 4.8 * math.sin(math.radians(a))
        lay.rect((x - 0.5, y - 0.5, x + 0.5, y + 0.5), (120, 112, 120))
    lay.line([(8.5, 7), (8.5, 3.2)], 1.3, (40, 24, 32))
    lay.line([(8.5, 7), (11.4, 8.6)], 1.3, WINE)
    return keyed(lay, GRID_BG)


def icon_unk():
    """An unknown file: a small grey tag with a question mark."""
    return pixel_art([".oooooo.",
                      "ohhhhhho",
                      "oh####go",
                      "o##gg##o",
                      "ogggg##o",
                      "oggg##go",
                      "ogg##ggo",
                      "ogg##ggo",
                      "oggggggo",
                      "ogg##ggo",
                      "ogg##gdo",
                      "odddddd.",
                      ".oooooo.",
                      "........"], {"o": OUTLINE, "h": (200, 200, 216), "g": (144, 144, 160),
                                    "d": (104, 104, 120), "#": AMBER})


def sample_game_icon():
    """The sample game's icon: a smiling star over green hills under a blue sky."""
    lay = Layer(32, 32)
    lay.rect((0, 0, 32, 32), lay.vgrad([(0, (56, 112, 216)), (0.7, (136, 200, 248))]))
    lay.ellipse((-10, 22, 20, 44), (48, 160, 72))
    lay.ellipse((12, 20, 44, 44), (64, 184, 88))
    lay.ellipse((14, 21, 40, 30), (120, 216, 120), alpha=120)
    lay.ellipse((3, 4, 9, 7), WHITE, alpha=200)
    lay.ellipse((6, 2.5, 12, 6.5), WHITE, alpha=200)
    cx, cy = 16, 15
    star = [(cx + 12.5 * math.cos(math.radians(-90 + 36 * i)) * (1 if i % 2 == 0 else 0.5),
             cy + 12.5 * math.sin(math.radians(-90 + 36 * i)) * (1 if i % 2 == 0 else 0.5))
            for i in range(10)]
    lay.polygon(star, (120, 56, 16))
    lay.polygon([(cx + (x - cx) * 0.84, cy + (y - cy) * 0.84) for x, y in star],
                lay.vgrad([(0.1, (248, 248, 184)), (0.45, (248, 208, 56)), (0.8, (232, 136, 24))]))
    lay.ellipse((10, 16, 13, 18.4), (248, 120, 104), alpha=170)
    lay.ellipse((19, 16, 22, 18.4), (248, 120, 104), alpha=170)
    img = opaque(lay, (0, 0, 0))
    # The face is set pixel by pixel so that it stays crisp: two eyes with a glint, a smile.
    d = ImageDraw.Draw(img)
    for ex in (13, 18):
        d.rectangle((ex, 12, ex + 1, 15), fill=(48, 24, 16))
        d.point((ex, 12), fill=WHITE)
    d.point([(13, 17), (18, 17)], fill=(120, 48, 16))
    d.line((14, 18, 17, 18), fill=(120, 48, 16))
    # A thin frame so that the icon reads as a cartridge picture on any background.
    d.rectangle((0, 0, 31, 31), outline=(24, 40, 96))
    return quantise(img)


# --------------------------------------------------------------------------------------------
# Pictures of the preview itself: the hinge between the screens and the information banner.

def hinge():
    """The console's hinge, 266 x 86, drawn opaque between the two screens (canvas rows 202 to
    287): the lower edge of the lid with its speaker grilles, the hinge barrel with two outer
    knuckles (lit like a cylinder), the microphone and two status LEDs, and the top edge of the
    lower half."""
    w, h = 266, 86
    lay = Layer(w, h)
    plastic = [(0, (72, 72, 80)), (0.5, (44, 44, 50)), (1, (28, 28, 32))]
    # Lid edge.
    lay.rect((0, 0, w, 24), lay.vgrad([(0, (56, 56, 62)), (20 / 86, (36, 36, 40)),
                                       (24 / 86, (20, 20, 24))]))
    lay.rect((0, 0, w, 1), (96, 96, 104))
    for side in (0, 1):
        x0 = 14 if side == 0 else w - 14 - 38
        for row in range(3):
            for col in range(8):
                x, y = x0 + col * 5 + (row % 2) * 2.5, 6 + row * 5
                lay.ellipse((x, y, x + 2.4, y + 2.4), (8, 8, 10))
                lay.ellipse((x + 0.6, y + 1.2, x + 2.4, y + 2.6), (80, 80, 88), alpha=90)
    # Barrel: two outer knuckles belong to the lower half, the long middle one to the lid.
    barrel = [(0, (40, 40, 46)), (0.18, (136, 136, 148)), (0.32, (104, 104, 116)),
              (0.7, (40, 40, 46)), (1, (16, 16, 20))]
    lay.rect((0, 24, w, 62), (10, 10, 12))

    def knuckle(x0, x1, bright):
        paint = Image.new("RGB", (w * SS, h * SS))
        paint.paste(vertical_gradient(w * SS, 38 * SS,
                                      [(p, mix((0, 0, 0), c, bright)) for p, c in barrel]),
                    (0, 24 * SS))
        lay.rrect((x0, 25, x1, 61), 6, paint)
        lay.rect((x0 + 3, 31, x1 - 3, 32), WHITE, alpha=40)
        # The rounded ends of a knuckle turn away from the light.
        lay.rrect((x0, 25, x0 + 5, 61), 3, (0, 0, 0), alpha=70)
        lay.rrect((x1 - 5, 25, x1, 61), 3, (0, 0, 0), alpha=70)
    knuckle(2, 44, 0.92)
    knuckle(222, 264, 0.92)
    knuckle(47, 219, 1.0)
    # Microphone holes and the two LEDs (power in cyan, charge in amber) on the middle knuckle.
    for i in range(3):
        lay.ellipse((127 + 4 * i - 4, 40, 130 + 4 * i - 4, 43), (8, 8, 10))
    for i, colour in enumerate((CYAN, AMBER)):
        x = 190 + 10 * i
        lay.ellipse((x - 3, 38, x + 5, 46), colour, alpha=70)
        lay.ellipse((x - 1, 40, x + 3, 44), OUTLINE)
        lay.ellipse((x - 0.4, 40.6, x + 2.4, 43.4), colour)
        lay.rect((x, 41, x + 1, 42), WHITE, alpha=180)
    # Lower half's top edge.
    lay.rect((0, 62, w, h), lay.vgrad([(62 / 86, (20, 20, 24)), (66 / 86, (64, 64, 72)),
                                       (1, (40, 40, 46))]))
    lay.rect((0, 62, w, 63), (8, 8, 10))
    lay.rect((0, 64, w, 65), (104, 104, 112), alpha=120)
    # A wine accent line on both halves ties the hinge to the skin's colours.
    lay.rect((0, 21, w, 22), FRAME)
    lay.rect((0, 81, w, 82), FRAME)
    return opaque(lay, plastic[-1][1])


def banner():
    """The information box's banner, 468 x 60: the ruby emblem and "Skinsmith" in big bevelled
    pixel lettering, with a subtitle in small lettering."""
    w, h = 468, 60
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            base = ramp([(0, (88, 0, 44)), (0.45, (40, 4, 24)), (1, (12, 6, 10))], x / (w - 1))
            shade = 1.0 - 0.35 * abs(y - h / 2) / (h / 2)
            stripe = 6 if (x + y) % 12 < 1 else 0
            px[x, y] = tuple(min(255, int(c * shade) + stripe) for c in base)
    lay = Layer(w, h)
    for k in range(8, 0, -1):
        lay.ellipse((34 - 4 * k - 14, 30 - 4 * k - 14, 34 + 4 * k + 14, 30 + 4 * k + 14),
                    (184, 32, 104), alpha=12)
    gem(lay, 34, 30, 21)
    lay.rect((0, 0, w, 2), lay.hgrad([(0, (216, 88, 152)), (1, (64, 0, 32))]))
    lay.rect((0, h - 2, w, h), lay.hgrad([(0, (40, 0, 20)), (1, (8, 4, 6))]))
    img = opaque(lay, img, dither=True)

    # Title: each font pixel a 5 x 5 block with a lit top-left and a deep drop shadow.
    scale, tx, ty = 5, 70, 11
    d = ImageDraw.Draw(img)
    cells = text_pixels("Skinsmith", tx, ty, scale)
    for cx, cy in cells:
        d.rectangle((cx + 3, cy + 3, cx + scale + 2, cy + scale + 2), fill=(24, 0, 12))
    for cx, cy in cells:
        t = (cy - ty) / (7 * scale)
        d.rectangle((cx, cy, cx + scale - 1, cy + scale - 1),
                    fill=ramp([(0, (248, 232, 176)), (0.5, AMBER), (1, (232, 128, 64))], t))
    cellset = set(cells)
    for cx, cy in cells:
        if (cx, cy - scale) not in cellset:
            d.line((cx, cy, cx + scale - 1, cy), fill=(248, 248, 224))
        if (cx, cy + scale) not in cellset:
            d.line((cx, cy + scale - 1, cx + scale - 1, cy + scale - 1), fill=(176, 80, 40))
    sub_x = tx + text_width("Skinsmith", scale) + 24
    draw_text(img, "SKIN EDITOR", sub_x, 17, CYAN, scale=2, shadow=(8, 24, 40))
    draw_text(img, "for DS menu skins", sub_x + 1, 38, (216, 144, 120))
    return quantise(img)


# --------------------------------------------------------------------------------------------
# The table of outputs: path under the assets folder, expected size, maker.

SKIN_PICTURES = [
    ("active", (6, 6), active),
    ("activehotkey", (9, 9), lambda: hotkey_led(True)),
    ("brightness", (22, 18), brightness),
    ("btn", (47, 14), lambda: btn(47)),
    ("btn3", (39, 14), lambda: btn(39)),
    ("cardFrame0", (23, 18), lambda: card_frame(False)),
    ("cardFrame1", (23, 18), lambda: card_frame(True)),
    ("cheat_clearall", (16, 12), cheat_clearall),
    ("cheatbg", (256, 192), cheatbg),
    ("cheatmenubtn", (70, 14), cheatmenubtn),
    ("cheatselectbar", (203, 1), cheatselectbar),
    ("clock_colon", (10, 31), clock_colon),
    ("clock_numbers", (24, 310), clock_numbers),
    ("close", (13, 12), lambda: close_button(13, 12, (88, 0, 44))),
    ("close1", (20, 13), lambda: close_button(20, 13, (240, 176, 112))),
    ("fathernode", (11, 10), fathernode),
    ("form_L", (28, 116), lambda: form_piece(28, "L")),
    ("form_M", (3, 116), lambda: form_piece(3, "M")),
    ("form_R", (36, 116), lambda: form_piece(36, "R")),
    ("hotkeybk", (198, 127), hotkeybk),
    ("lamp", (22, 38), lamp),
    ("lower_screen", (256, 192), lower_screen),
    ("noactivehotke", (9, 9), lambda: hotkey_led(False)),
    ("onehotdown", (11, 10), lambda: onehot(False)),
    ("onehoton", (11, 10), lambda: onehot(True)),
    ("pitchdown", (11, 10), lambda: pitch(False)),
    ("pitchon", (11, 10), lambda: pitch(True)),
    ("popsubbar", (1, 12), popsubbar),
    ("progress_bar", (102, 12), progress_bar),
    ("progress_wnd", (198, 93), progress_wnd),
    ("reBack", (23, 18), reback),
    ("selectbar", (256, 42), selectbar),
    ("settingbg", (198, 104), settingbg),
    ("spin_btn_left", (8, 14), lambda: spin_button("left")),
    ("spin_btn_right", (8, 14), lambda: spin_button("right")),
    ("start_released", (58, 20), start_released),
    ("startbar", (256, 20), startbar),
    ("title_bg", (2, 16), lambda: title_piece("bg")),
    ("title_left", (56, 16), lambda: title_piece("left")),
    ("title_right", (56, 16), lambda: title_piece("right")),
    ("triangle", (14, 16), triangle),
    ("upper_screen", (256, 192), upper_screen),
    ("icon/cheat", (15, 16), icon_cheat),
    ("icon/dpg", (33, 32), icon_dpg),
    ("icon/gba", (32, 32), icon_gba),
    ("icon/nds", (32, 32), icon_nds),
    ("icon/plg", (32, 32), icon_plg),
    ("icon/pth", (32, 32), lambda: icon_path(False)),
    ("icon/realtime", (17, 14), icon_realtime),
    ("icon/rpth", (32, 32), lambda: icon_path(True)),
    ("icon/sav", (32, 32), icon_sav),
    ("icon/txt", (33, 32), icon_txt),
    ("icon/unk", (8, 14), icon_unk),
]

OTHER_PICTURES = [
    ("sample_game_icon", (32, 32), sample_game_icon),
    ("hinge", (266, 86), hinge),
    ("banner", (468, 60), banner),
]


def all_pictures():
    """(relative path, picture) of every output, in a fixed order."""
    out = []
    for name, size, make in SKIN_PICTURES:
        out.append(("skin/" + name + ".bmp", size, make))
    for name, size, make in OTHER_PICTURES:
        out.append((name + ".bmp", size, make))
    return out


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    root = argv[1] if len(argv) > 1 else os.path.join(here, "..", "assets")
    for rel, size, make in all_pictures():
        image = make()
        if image.size != size:
            raise SystemExit("%s: drawn %dx%d, expected %dx%d" % ((rel,) + image.size + size))
        write_bmp16(os.path.join(root, rel), image)
    print("wrote %d pictures under %s" % (len(all_pictures()), os.path.normpath(root)))


if __name__ == "__main__":
    main(sys.argv)
