#!/usr/bin/env python3
"""Draws the program's icon and bitmaps and writes them as ICO and BMP files.

    make_images.py OUTDIR

writes OUTDIR/Install.ico (seven images: 16, 24, 32, 48, 64, 72 and 128 px; 32 bits per
pixel, the 32-px image 24 bits with a transparency mask), OUTDIR/line.bmp (460 x 2, 4 bits
per pixel: the etched separator line) and OUTDIR/banner.bmp (480 x 80, 24 bits per pixel:
the page banner).

Shapes are described by signed distance functions and rasterised with analytic
anti-aliasing (coverage = 0.5 - distance, in pixels), so every size is drawn from the same
description and the output is identical from run to run. Standard library only.
"""

import math
import os
import struct
import sys

# The product's colours (r, g, b in 0..255).
NAVY = (14, 38, 92)
BLUE = (31, 94, 196)
SKY = (64, 150, 230)
TEAL = (30, 172, 190)
AMBER = (255, 190, 64)
WHITE = (255, 255, 255)

ICON_SIZES = (16, 24, 32, 48, 64, 72, 128)
OPAQUE_ICON_SIZE = 32  # drawn at 24 bits per pixel with an AND mask


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def gradient(stops, t):
    """Colour at t in 0..1 along a list of (position, colour) stops."""
    t = clamp01(t)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


# Signed distances: negative inside, in the units of the coordinates.
def sd_round_box(x, y, cx, cy, hw, hh, r):
    qx = abs(x - cx) - hw + r
    qy = abs(y - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_ring(x, y, cx, cy, radius, half_width):
    return abs(math.hypot(x - cx, y - cy) - radius) - half_width


def sd_capsule(x, y, ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    t = clamp01(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(x - ax - dx * t, y - ay - dy * t) - r


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def coverage(d, px):
    """Fraction of a pixel of size px covered by the inside of distance d."""
    return clamp01(0.5 - d / px)


class Canvas:
    """Premultiplied RGBA pixels, float 0..1, row 0 at the top."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * w for _ in range(h)]

    def blend(self, x, y, colour, alpha):
        """Composites colour with coverage alpha over pixel (x, y)."""
        if alpha <= 0.0:
            return
        r, g, b, a = self.px[y][x]
        k = 1.0 - alpha
        self.px[y][x] = (colour[0] / 255.0 * alpha + r * k, colour[1] / 255.0 * alpha + g * k,
                         colour[2] / 255.0 * alpha + b * k, alpha + a * k)

    def rgba8(self, x, y):
        """Straight (not premultiplied) 8-bit r, g, b, a."""
        r, g, b, a = self.px[y][x]
        if a <= 0.0:
            return 0, 0, 0, 0
        return (round(clamp01(r / a) * 255), round(clamp01(g / a) * 255),
                round(clamp01(b / a) * 255), round(clamp01(a) * 255))


def draw_mark(cv, ox, oy, size, plate=True):
    """The product mark in the square (ox, oy, size): a rounded plate with a blue
    gradient, a white ring with a tail (a stylised Q) and an amber spark."""
    s = float(size)
    px = 1.0 / s  # one pixel in unit coordinates
    for j in range(int(oy), int(math.ceil(oy + size))):
        if j < 0 or j >= cv.h:
            continue
        for i in range(int(ox), int(math.ceil(ox + size))):
            if i < 0 or i >= cv.w:
                continue
            # Unit coordinates of the pixel centre inside the mark.
            u = (i + 0.5 - ox) / s
            v = (j + 0.5 - oy) / s
            if plate:
                d = sd_round_box(u, v, 0.5, 0.5, 0.47, 0.47, 0.2)
                cov = coverage(d, px)
                if cov > 0.0:
                    colour = gradient(((0.0, SKY), (0.55, BLUE), (1.0, NAVY)), (u + v) / 2.0)
                    cv.blend(i, j, colour, cov)
                    # A soft sheen over the upper part of the plate.
                    sheen = clamp01(0.16 * (1.0 - v / 0.55)) * coverage(d + 0.035, px)
                    cv.blend(i, j, WHITE, sheen)
            ring = sd_ring(u, v, 0.47, 0.46, 0.235, 0.075)
            tail = sd_capsule(u, v, 0.56, 0.62, 0.79, 0.74, 0.072)
            cv.blend(i, j, WHITE, coverage(min(ring, tail), px))
            cv.blend(i, j, AMBER, coverage(sd_circle(u, v, 0.745, 0.235, 0.07), px))


def draw_banner(w, h):
    # The static control that shows the banner is sized to the bitmap, and its
    # static edge takes one pixel on each side: the last two rows and columns may
    # be cut off, so nothing that matters is drawn there.
    vh = h - 2
    cv = Canvas(w, h)
    stops = ((0.0, NAVY), (0.5, BLUE), (0.82, (36, 128, 205)), (1.0, TEAL))
    for j in range(h):
        for i in range(w):
            # A diagonal gradient, a little darker towards the bottom edge.
            t = (i + 0.35 * (h - j)) / (w + 0.35 * h)
            base = mix(gradient(stops, t), NAVY, 0.18 * (j / (h - 1)))
            cv.blend(i, j, base, 1.0)
            x, y = i + 0.5, j + 0.5
            # Wide faint arcs centred beyond the right edge.
            for radius, alpha in ((150.0, 0.10), (205.0, 0.08), (260.0, 0.06), (315.0, 0.05)):
                cv.blend(i, j, WHITE, alpha * coverage(sd_ring(x, y, w + 40.0, h + 70.0, radius,
                                                               0.7), 1.0))
            # A band of light sweeping down from the upper left.
            band = sd_capsule(x, y, 120.0, -40.0, 230.0, 120.0, 26.0)
            cv.blend(i, j, WHITE, 0.06 * coverage(band, 18.0))
            # A dot grid that fades in towards the right.
            if i % 8 == 4 and j % 8 == 4 and i > 300 and j < vh - 4:
                cv.blend(i, j, WHITE, 0.22 * clamp01((i - 300) / 150.0))
    # The mark, with a soft shadow, on the left.
    mark = 56
    mx, my = 16, (vh - 2 - mark) // 2
    for j in range(h):
        for i in range(w):
            d = sd_round_box(i + 0.5, j + 0.5, mx + mark / 2 + 1.5, my + mark / 2 + 2.5,
                             mark * 0.47, mark * 0.47, mark * 0.2)
            cv.blend(i, j, (0, 0, 0), 0.28 * coverage(d, 5.0))
    draw_mark(cv, mx, my, mark)
    # A two-pixel accent line along the bottom of the visible part, amber fading
    # into teal, over a dark rim that fills the rows that may be cut off.
    for i in range(w):
        colour = gradient(((0.0, AMBER), (0.35, AMBER), (1.0, TEAL)), i / (w - 1))
        for j in range(vh - 2, h):
            cv.blend(i, j, colour if j < vh else mix(colour, NAVY, 0.6), 1.0)
    return cv


def bmp_file(w, h, bpp, rows, palette=()):
    """A BMP file: rows are bottom-up byte strings, each already padded to 4 bytes."""
    pixels = b"".join(rows)
    header_size = 14 + 40 + 4 * len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(pixels), 3780, 3780,
                       len(palette), 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    head = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return head + info + pal + pixels


def pad4(row):
    return row + b"\0" * (-len(row) % 4)


def banner_bmp():
    w, h = 480, 80
    cv = draw_banner(w, h)
    rows = []
    for j in reversed(range(h)):
        row = bytearray()
        for i in range(w):
            r, g, b, _ = cv.rgba8(i, j)
            row += bytes((b, g, r))
        rows.append(pad4(bytes(row)))
    return bmp_file(w, h, 24, rows)


# The sixteen colours of the standard 4-bit palette.
PALETTE16 = ((0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255))
GREY_INDEX = 8
WHITE_INDEX = 15


def line_bmp():
    """An etched line: a grey row over a white one."""
    w = 460

    def row(index):
        return pad4(bytes([index << 4 | index]) * (w // 2))

    # Bottom-up: the white row is stored first.
    return bmp_file(w, 2, 4, [row(WHITE_INDEX), row(GREY_INDEX)], PALETTE16)


def icon_image(size):
    """One icon image as stored in an ICO file: header, colour rows, AND mask rows."""
    cv = Canvas(size, size)
    draw_mark(cv, 0, 0, size)
    bpp = 24 if size == OPAQUE_ICON_SIZE else 32
    colour_rows, mask_rows = [], []
    for j in reversed(range(size)):
        row = bytearray()
        mask_bits = []
        for i in range(size):
            r, g, b, a = cv.rgba8(i, j)
            if bpp == 32:
                row += bytes((b, g, r, a))
                mask_bits.append(a == 0)
            else:
                opaque = a >= 128
                row += bytes((b, g, r)) if opaque else b"\0\0\0"
                mask_bits.append(not opaque)
        colour_rows.append(pad4(bytes(row)))
        mask = bytearray((size + 7) // 8)
        for i, transparent in enumerate(mask_bits):
            if transparent:
                mask[i // 8] |= 0x80 >> (i % 8)
        mask_rows.append(pad4(bytes(mask)))
    body = b"".join(colour_rows) + b"".join(mask_rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0, len(body), 0, 0, 0, 0)
    return bpp, info + body


def ico_file():
    images = [(size,) + icon_image(size) for size in ICON_SIZES]
    offset = 6 + 16 * len(images)
    entries, blobs = [], []
    for size, bpp, blob in images:
        entries.append(struct.pack("<BBBBHHII", size, size, 0, 0, 1, bpp, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def write(path, data):
    # Written beside and renamed, so that an interrupted run leaves no half file.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_images.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "Install.ico"), ico_file())
    write(os.path.join(out, "line.bmp"), line_bmp())
    write(os.path.join(out, "banner.bmp"), banner_bmp())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
