#!/usr/bin/python3
# How close fitted pictures come, as the console shows them, to the photo they were made from:
# PSNR after a one-pixel blur against a Catmull-Rom resampling in linear light of the same cover
# crop, each result read as the console shows it (5-bit level c at c x 255/31).
# usage: console_psnr.py PHOTO.jpg WIDTHxHEIGHT RESULT.bmp|RESULT.png...
# A .bmp is a skin bitmap (16-bit, its levels read directly); any other picture is 8-bit, each
# channel taken as the nearest of the console's levels. Needs numpy and Pillow.
import struct
import sys

import numpy as np
from PIL import Image


def catmull_rom(x):
    x = np.abs(x)
    return np.where(x < 1, 1.5 * x**3 - 2.5 * x**2 + 1,
                    np.where(x < 2, -0.5 * x**3 + 2.5 * x**2 - 4 * x + 2, 0))


def weights(size, start, length, out):
    # Row j of the matrix resamples the source span [start, start + length) to `out` pixels.
    scale = min(1.0, out / length)
    centres = start + (np.arange(out) + 0.5) * length / out
    src = np.arange(size) + 0.5
    w = catmull_rom((src[None, :] - centres[:, None]) * scale)
    return w / w.sum(axis=1, keepdims=True)


def reference(photo, width, height):
    srgb = np.asarray(Image.open(photo).convert("RGB"), dtype=np.float64) / 255
    linear = np.where(srgb <= 0.04045, srgb / 12.92, ((srgb + 0.055) / 1.055) ** 2.4)
    h, w, _ = linear.shape
    scale = max(width / w, height / h)  # cover, centred
    fw, fh = width / scale, height / scale
    wy, wx = weights(h, (h - fh) / 2, fh, height), weights(w, (w - fw) / 2, fw, width)
    out = np.clip(np.einsum("yh,hwc,xw->yxc", wy, linear, wx, optimize=True), 0, 1)
    return 255 * np.where(out <= 0.0031308, out * 12.92, 1.055 * out ** (1 / 2.4) - 0.055)


def console_levels(path):
    data = open(path, "rb").read()
    if data[:2] == b"BM" and struct.unpack_from("<H", data, 28)[0] == 16:
        offset, = struct.unpack_from("<I", data, 10)
        w, h = struct.unpack_from("<ii", data, 18)
        stride = (w * 2 + 3) & ~3
        rows = [np.frombuffer(data, "<u2", w, offset + y * stride) for y in range(abs(h))]
        p = np.array(rows[::-1] if h > 0 else rows).astype(np.int64)
        return np.stack([p >> 10 & 31, p >> 5 & 31, p & 31], axis=-1)
    return np.rint(np.asarray(Image.open(path).convert("RGB"), dtype=np.float64) * 31 / 255)


def blur(image):  # a [1 2 1] / 4 filter each way, edges repeated
    for axis in (0, 1):
        p = np.pad(image, [(1, 1) if a == axis else (0, 0) for a in range(3)], mode="edge")
        n = image.shape[axis]
        image = (np.take(p, range(0, n), axis) + 2 * np.take(p, range(1, n + 1), axis) +
                 np.take(p, range(2, n + 2), axis)) / 4
    return image


photo, size, results = sys.argv[1], sys.argv[2], sys.argv[3:]
width, height = map(int, size.split("x"))
ref = blur(reference(photo, width, height))
for result in results:
    shown = blur(console_levels(result) * 255 / 31)
    mse = np.mean((shown - ref) ** 2)
    print(f"{result}: {10 * np.log10(255**2 / mse):.1f} dB")
