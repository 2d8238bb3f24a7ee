#!/usr/bin/python3
"""Checks of the default-skin generator: the BMP writer byte by byte, and the pictures it draws
(sizes, lossless channels, keying, start-bar match, determinism).

Run:  /usr/bin/python3 -m unittest tools/test_make_default_skin.py   (from the repository root)
"""

import os
import struct
import sys
import tempfile
import unittest

from PIL import Image

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_default_skin as gen  # noqa: E402


def decode_bmp16(data):
    """Independent reader of the 16-bit BMP: returns (width, height, rows of (r, g, b))."""
    w, h = struct.unpack_from("<ii", data, 18)
    stride = 2 * w if w % 2 == 0 else 2 * (w + 1)
    rows = []
    for y in range(h):
        off = 54 + (h - 1 - y) * stride
        row = []
        for x in range(w):
            (v,) = struct.unpack_from("<H", data, off + 2 * x)
            row.append((((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3))
        rows.append(row)
    return w, h, rows


class WriterTest(unittest.TestCase):
    def test_header_fields_of_an_odd_width_picture(self):
        data = gen.bmp16_bytes(Image.new("RGB", (11, 10)))
        self.assertEqual(len(data), 296)
        fields = struct.unpack_from("<2sIHHIIiiHHIIiiII", data, 0)
        self.assertEqual(fields, (b"BM", 296, 0, 0, 54, 40, 11, 10, 1, 16, 0, 242, 2834, 2834,
                                  0, 0))

    def test_full_screen_size(self):
        self.assertEqual(len(gen.bmp16_bytes(Image.new("RGB", (256, 192)))), 98360)

    def test_rows_bottom_up_red_high_pad_and_trailer_zero(self):
        img = Image.new("RGB", (3, 2), (0, 0, 0))
        img.putpixel((0, 0), (248, 0, 0))      # top left: pure red
        img.putpixel((2, 1), (0, 0, 248))      # bottom right: pure blue
        img.putpixel((1, 1), (8, 248, 16))
        data = gen.bmp16_bytes(img)
        stride = 8                             # 3 pixels padded to 4
        bottom, top = data[54:54 + stride], data[54 + stride:54 + 2 * stride]
        self.assertEqual(struct.unpack("<4H", top), (0x7C00, 0, 0, 0))
        self.assertEqual(struct.unpack("<4H", bottom), (0, (1 << 10) | (31 << 5) | 2, 0x001F, 0))
        self.assertEqual(data[-2:], b"\0\0")
        self.assertEqual(len(data), 54 + 2 * stride + 2)

    def test_writer_refuses_channels_that_would_lose_bits(self):
        with tempfile.TemporaryDirectory() as d:
            with self.assertRaises(AssertionError):
                gen.write_bmp16(os.path.join(d, "x.bmp"), Image.new("RGB", (2, 2), (9, 0, 0)))

    def test_quantise_never_turns_a_drawn_pixel_into_the_key(self):
        img = Image.new("RGB", (2, 1), gen.KEY)
        img.putpixel((1, 0), (3, 251, 6))
        out = gen.quantise(img, keyed=True)
        self.assertEqual(out.getpixel((0, 0)), gen.KEY)
        self.assertEqual(out.getpixel((1, 0)), gen.KEY_SAFE)


class PicturesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        gen.main(["make_default_skin.py", cls.tmp.name])
        cls.files = {}
        for rel, size, _ in gen.all_pictures():
            with open(os.path.join(cls.tmp.name, rel), "rb") as f:
                cls.files[rel] = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def pixels(self, rel):
        return decode_bmp16(self.files[rel])[2]

    def test_every_slot_of_the_skin_is_written_once_at_its_size(self):
        self.assertEqual(len([r for r in self.files if r.startswith("skin/")]), 53)
        for rel, size, _ in gen.all_pictures():
            w, h, _ = decode_bmp16(self.files[rel])
            self.assertEqual((w, h), size, rel)

    def test_opaque_pictures_have_no_keyed_pixel(self):
        for rel in ("skin/upper_screen.bmp", "skin/lower_screen.bmp", "skin/cheatbg.bmp",
                    "skin/startbar.bmp", "skin/brightness.bmp", "skin/title_bg.bmp",
                    "skin/cheatselectbar.bmp", "skin/popsubbar.bmp", "hinge.bmp",
                    "banner.bmp", "sample_game_icon.bmp"):
            flat = [p for row in self.pixels(rel) for p in row]
            self.assertNotIn(gen.KEY, flat, rel)

    def test_keyed_pictures_are_transparent_around_their_shape(self):
        for rel in ("skin/icon/nds.bmp", "skin/triangle.bmp", "skin/lamp.bmp",
                    "skin/start_released.bmp", "skin/clock_numbers.bmp"):
            rows = self.pixels(rel)
            self.assertEqual(rows[0][0], gen.KEY, rel)

    def test_brightness_button_continues_the_start_bar(self):
        # brightness is drawn without keying at (206, 174) over the start bar at y = 172:
        # its edge columns must be the bar's own rows 2..19.
        bar = self.pixels("skin/startbar.bmp")
        sun = self.pixels("skin/brightness.bmp")
        for y in range(18):
            self.assertEqual(sun[y][0], bar[y + 2][206], y)
            self.assertEqual(sun[y][21], bar[y + 2][227], y)

    def test_form_middle_tile_matches_the_inner_columns_of_its_neighbours(self):
        mid = self.pixels("skin/form_M.bmp")
        left = self.pixels("skin/form_L.bmp")
        right = self.pixels("skin/form_R.bmp")
        for y in range(116):
            self.assertEqual(mid[y][0], mid[y][2], y)
            self.assertEqual(left[y][27], mid[y][0], y)
            self.assertEqual(right[y][0], mid[y][0], y)

    def test_title_pieces_join_the_tile_without_a_seam(self):
        tile = self.pixels("skin/title_bg.bmp")
        left = self.pixels("skin/title_left.bmp")
        right = self.pixels("skin/title_right.bmp")
        for y in range(16):
            self.assertEqual(left[y][55], tile[y][0], y)
            self.assertEqual(right[y][0], tile[y][1], y)

    def test_each_clock_digit_lies_within_its_31_rows(self):
        rows = self.pixels("skin/clock_numbers.bmp")
        for d in range(10):
            self.assertTrue(all(p == gen.KEY for p in rows[31 * d]), d)
            self.assertTrue(all(p == gen.KEY for p in rows[31 * d + 30]), d)

    def test_two_runs_write_identical_files(self):
        with tempfile.TemporaryDirectory() as d:
            gen.main(["make_default_skin.py", d])
            for rel, data in self.files.items():
                with open(os.path.join(d, rel), "rb") as f:
                    self.assertEqual(f.read(), data, rel)


if __name__ == "__main__":
    unittest.main()
