#!/usr/bin/env python3
"""Makes the Linux desktop icons from Kestran's own gauge-face art: the sizes of the hicolor
theme, each in its own NxN/apps folder, area-averaged from the 256 x 256 PNG that
draw-artwork.py draws (the 256 one is that PNG itself). Standard library only; the build
runs it.

Usage: python3 scripts/make-hicolor-icons.py src/res/kestran.png OUT_DIR SIZE...
"""
import os
import shutil
import sys

from iconart import read_rgba, shrink, write_png


def main():
    source, target = sys.argv[1], sys.argv[2]
    sizes = [int(s) for s in sys.argv[3:]]
    with open(source, "rb") as f:
        rows = read_rgba(f.read())
    if len(rows) != 256 or len(rows[0]) != 256:
        raise ValueError("the icon art must be 256 x 256")
    for size in sizes:
        folder = os.path.join(target, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "kestran.png")
        if size == 256:
            shutil.copyfile(source, path)
        else:
            write_png(shrink(rows, size), path)


if __name__ == "__main__":
    main()
