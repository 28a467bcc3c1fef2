#!/usr/bin/env python3
"""Makes the Windows application icon from Kestran's own gauge-face art: every size Windows
asks for, area-averaged from the 256 x 256 PNG that draw-artwork.py draws. The 256 entry is
that PNG itself; the smaller ones are 32-bit bitmaps with their AND mask, which every
Windows since Vista reads. Standard library only; the build runs it.

Usage: python3 scripts/make-icon.py src/res/kestran.png OUT.ico
"""
import struct
import sys

from iconart import read_rgba, shrink

SIZES = (16, 24, 32, 48, 64)


def bitmap_entry(pixels):
    """An icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up,
    then the AND mask, one bit per pixel, rows padded to 32 bits."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(pixels):
        for r, g, b, a in row:
            colours += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colours) + bytes(mask)


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, "rb") as f:
        png = f.read()
    rows = read_rgba(png)
    if len(rows) != 256 or len(rows[0]) != 256:
        raise ValueError("the icon art must be 256 x 256")
    images = [(size, bitmap_entry(shrink(rows, size))) for size in SIZES] + [(256, png)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, image in images:
        # A width or height of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                                 offset + len(body))
        body += image
    with open(target, "wb") as f:
        f.write(directory + body)


if __name__ == "__main__":
    main()
