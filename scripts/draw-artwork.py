#!/usr/bin/env python3
"""Draws Kestran's own pictures: the application icon (a gauge face) and two example dial
faces for trying an upload. Standard library only; the PNG files are committed, so this
runs only when the artwork changes.

Usage: python3 scripts/draw-artwork.py
"""
import math
import os
import struct
import zlib

SS = 4  # samples per pixel along each axis, for smooth edges


class Canvas:
    """Straight-alpha RGBA picture; shapes are composited 'over' with their coverage."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def shape(self, inside, box, colour, alpha=1.0):
        x0, y0, x1, y1 = (max(0, int(math.floor(box[0]))), max(0, int(math.floor(box[1]))),
                          min(self.size, int(math.ceil(box[2])) + 1),
                          min(self.size, int(math.ceil(box[3])) + 1))
        offsets = [(i + 0.5) / SS for i in range(SS)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(1 for dy in offsets for dx in offsets if inside(x + dx, y + dy))
                if hits:
                    self._over(x, y, colour, alpha * hits / (SS * SS))

    def _over(self, x, y, colour, a):
        p = self.px[y * self.size + x]
        out_a = a + p[3] * (1.0 - a)
        for c in range(3):
            p[c] = (colour[c] * a + p[c] * p[3] * (1.0 - a)) / out_a if out_a else 0.0
        p[3] = out_a

    def disc(self, cx, cy, r, colour, alpha=1.0):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                   (cx - r, cy - r, cx + r, cy + r), colour, alpha)

    def ring(self, cx, cy, r_in, r_out, colour, start=None, end=None):
        """Annulus between two radii; with start/end (degrees clockwise from 12 o'clock)
        only that sector."""
        def inside(x, y):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if not r_in * r_in <= d2 <= r_out * r_out:
                return False
            if start is None:
                return True
            ang = math.degrees(math.atan2(x - cx, cy - y)) % 360.0
            return (ang - start) % 360.0 <= (end - start) % 360.0
        self.shape(inside, (cx - r_out, cy - r_out, cx + r_out, cy + r_out), colour)

    def line(self, ax, ay, bx, by, width, colour):
        """A stroke with round ends."""
        r = width / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            return px * px + py * py <= r * r
        self.shape(inside, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r,
                            max(ay, by) + r), colour)

    def write_png(self, path):
        rows = bytearray()
        for y in range(self.size):
            rows.append(0)
            for x in range(self.size):
                p = self.px[y * self.size + x]
                rows.extend(int(round(max(0.0, min(1.0, v)) * 255)) for v in p)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
               chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png)


def polar(cx, cy, r, degrees):
    a = math.radians(degrees)
    return cx + r * math.sin(a), cy - r * math.cos(a)


# Strokes of a small vector font on a 0..1 x 0..2 grid (y down).
SEGMENTS = {  # seven-segment digits: a b c d e f g
    "a": ((0, 0), (1, 0)), "b": ((1, 0), (1, 1)), "c": ((1, 1), (1, 2)),
    "d": ((0, 2), (1, 2)), "e": ((0, 1), (0, 2)), "f": ((0, 0), (0, 1)),
    "g": ((0, 1), (1, 1)),
}
DIGITS = {"0": "abcdef", "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc", "5": "afgcd",
          "6": "afgedc", "7": "abc", "8": "abcdefg", "9": "abcdfg"}
LETTERS = {
    "I": [((0.5, 0), (0.5, 2)), ((0.15, 0), (0.85, 0)), ((0.15, 2), (0.85, 2))],
    "A": [((0, 2), (0.5, 0)), ((0.5, 0), (1, 2)), ((0.25, 1.1), (0.75, 1.1))],
    "S": [((1, 0), (0, 0)), ((0, 0), (0, 1)), ((0, 1), (1, 1)), ((1, 1), (1, 2)),
          ((1, 2), (0, 2))],
    "T": [((0, 0), (1, 0)), ((0.5, 0), (0.5, 2))],
    "K": [((0, 0), (0, 2)), ((1, 0), (0, 1.1)), ((0.35, 0.75), (1, 2))],
}


def text(canvas, s, cx, cy, height, width, colour):
    """Draws s centred at (cx, cy); glyphs are height tall and stroked width thick."""
    scale = height / 2.0
    advance = scale * 1.6
    left = cx - (advance * len(s) - scale * 0.6) / 2.0
    for i, ch in enumerate(s):
        ox, oy = left + i * advance, cy - height / 2.0
        strokes = ([SEGMENTS[k] for k in DIGITS[ch]] if ch in DIGITS else LETTERS.get(ch, []))
        for (ax, ay), (bx, by) in strokes:
            canvas.line(ox + ax * scale, oy + ay * scale, ox + bx * scale, oy + by * scale,
                        width, colour)


WHITE = (0.95, 0.96, 0.97)
GREEN = (0.16, 0.72, 0.29)
YELLOW = (0.98, 0.80, 0.10)
RED = (0.89, 0.16, 0.13)
FACE = (0.07, 0.09, 0.11)
BEZEL = (0.60, 0.64, 0.68)
SWEEP_START, SWEEP = -150.0, 300.0


def angle_of(value, top):
    return SWEEP_START + SWEEP * value / top


def dial(size, title, top, minor, major, label_step, label_div, arcs):
    c = Canvas(size)
    cx = cy = size / 2.0
    r = size / 2.0 - 1
    c.disc(cx, cy, r, BEZEL)
    c.disc(cx, cy, r - 6, FACE)
    for colour, lo, hi, r_in, r_out in arcs:
        c.ring(cx, cy, r * r_in, r * r_out, colour, angle_of(lo, top), angle_of(hi, top))
    value = 0
    while value <= top:
        is_major = value % major == 0
        a = angle_of(value, top)
        inner = r * (0.72 if is_major else 0.80)
        c.line(*polar(cx, cy, inner, a), *polar(cx, cy, r * 0.90, a),
               3.0 if is_major else 1.6, WHITE)
        if value % label_step == 0 and value > 0:
            lx, ly = polar(cx, cy, r * 0.55, a)
            text(c, str(value // label_div), lx, ly, size * 0.07, 2.0, WHITE)
        value += minor
    text(c, title, cx, cy - r * 0.28, size * 0.08, 2.2, WHITE)
    text(c, "KT", cx, cy + r * 0.22, size * 0.06, 1.8, WHITE)
    return c


def icon(size):
    c = Canvas(size)
    cx = cy = size / 2.0
    r = size / 2.0 - 4
    c.disc(cx, cy + 3, r, (0, 0, 0), 0.35)  # soft shadow
    c.disc(cx, cy, r, BEZEL)
    c.disc(cx, cy, r * 0.90, FACE)
    c.ring(cx, cy, r * 0.74, r * 0.84, GREEN, -150, 60)
    c.ring(cx, cy, r * 0.74, r * 0.84, YELLOW, 60, 120)
    for i in range(11):
        a = SWEEP_START + SWEEP * i / 10
        c.line(*polar(cx, cy, r * (0.56 if i % 5 == 0 else 0.64), a),
               *polar(cx, cy, r * 0.84, a), r * 0.05, WHITE)
    c.line(*polar(cx, cy, r * 0.84, 135), *polar(cx, cy, r * 0.62, 135), r * 0.06, RED)
    needle = 40
    c.line(*polar(cx, cy, -r * 0.15, needle), *polar(cx, cy, r * 0.78, needle), r * 0.07,
           (0.98, 0.55, 0.10))
    c.disc(cx, cy, r * 0.11, BEZEL)
    return c


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    icon(256).write_png(os.path.join(root, "src", "res", "kestran.png"))
    dial(230, "IAS", 200, 5, 10, 20, 10,
         [(WHITE, 45, 100, 0.80, 0.84), (GREEN, 55, 160, 0.84, 0.90),
          (YELLOW, 160, 190, 0.84, 0.90), (RED, 188, 192, 0.76, 0.90)]
         ).write_png(os.path.join(root, "examples", "dials", "ias.png"))
    dial(230, "TAS", 500, 10, 50, 100, 100,
         [(GREEN, 60, 400, 0.84, 0.90), (YELLOW, 400, 470, 0.84, 0.90),
          (RED, 467, 473, 0.76, 0.90)]
         ).write_png(os.path.join(root, "examples", "dials", "tas.png"))


if __name__ == "__main__":
    main()
