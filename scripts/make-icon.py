#!/usr/bin/env python3
"""Makes the Windows application icon from Kestran's own gauge-face art: every size Windows
asks for, area-averaged from the 256 x 256 PNG that draw-artwork.py draws. The 256 entry is
that PNG itself; the smaller ones are 32-bit bitmaps with their AND mask, which every
Windows since Vista reads. Standard library only; the build runs it.

Usage: python3 scripts/make-icon.py src/res/kestran.png OUT.ico
"""
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64)


def read_rgba(data):
    """Pixels of an 8-bit RGBA, non-interlaced PNG as rows of [r, g, b, a] lists."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 6, 0):
                raise ValueError("only 8-bit RGBA without interlacing is read")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 0xFF
        rows.append([list(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return rows


def shrink(rows, size):
    """Area average to size x size, weighting colours by alpha so that the transparent
    surround does not darken the edge."""
    n = len(rows)
    out = []
    for oy in range(size):
        y0, y1 = oy * n / size, (oy + 1) * n / size
        line = []
        for ox in range(size):
            x0, x1 = ox * n / size, (ox + 1) * n / size
            acc = [0.0, 0.0, 0.0, 0.0]
            area = 0.0
            for y in range(int(y0), min(n, int(y1 + 0.999999))):
                wy = min(y + 1, y1) - max(y, y0)
                for x in range(int(x0), min(n, int(x1 + 0.999999))):
                    w = wy * (min(x + 1, x1) - max(x, x0))
                    r, g, b, a = rows[y][x]
                    acc[0] += r * a * w
                    acc[1] += g * a * w
                    acc[2] += b * a * w
                    acc[3] += a * w
                    area += w
            alpha = acc[3] / area
            colour = [round(c / acc[3]) if acc[3] else 0 for c in acc[:3]]
            line.append(colour + [round(alpha)])
        out.append(line)
    return out


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
