"""Kestran's icon art as pixels: reads the 8-bit RGBA PNG that draw-artwork.py draws, shrinks
it by area averaging and writes PNGs again, for the icons each system asks for. Standard
library only, so that the build can run it anywhere.
"""
import struct
import zlib


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


def write_png(pixels, path):
    """Writes rows of [r, g, b, a] as an 8-bit RGBA PNG without filtering."""
    size_y, size_x = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for rgba in row:
            raw.extend(rgba)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", size_x, size_y, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
