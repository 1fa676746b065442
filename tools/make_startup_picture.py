#!/usr/bin/env python3
"""Makes data/startup.i, the picture the main window shows while the client
starts: a night sky over an observatory dome with the program's name.

The picture is an uncompressed 8-bit BMP (the frame reads it through the
image cache like any other picture; the ".i" name is the one the client
looks for). Only the standard library is used, and the stars come from a
fixed pseudo-random sequence, so every run writes the same bytes.

    tools/make_startup_picture.py [--out data/startup.i]
"""

import argparse
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

WIDTH, HEIGHT = 320, 200

# The palette: a sky gradient (0..63), stars (64..67), the dome and the
# ground (68..71), the letters (72).
SKY_TOP = (8, 12, 40)
SKY_BOTTOM = (46, 70, 120)
STAR_COLOURS = [(255, 255, 255), (255, 240, 200), (200, 220, 255), (160, 160, 190)]
DOME, DOME_SLIT, GROUND, WALL = (70, 74, 86), (20, 22, 30), (24, 30, 28), (56, 60, 70)
LETTERS = (243, 239, 230)

# Five-by-seven capitals for the name.
GLYPHS = {
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
}


def palette():
    colours = []
    for i in range(64):
        t = i / 63
        colours.append(tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM)))
    colours += STAR_COLOURS
    colours += [DOME, DOME_SLIT, GROUND, WALL, LETTERS]
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


def draw():
    rows = [[(y * 63) // (HEIGHT - 1) for _ in range(WIDTH)] for y in range(HEIGHT)]
    # Stars: a linear congruential sequence, the same on every run.
    seed = 12345
    for _ in range(140):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x = seed % WIDTH
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        y = seed % (HEIGHT - 60)
        rows[y][x] = 64 + (seed >> 8) % 4
    # The ground.
    for y in range(HEIGHT - 30, HEIGHT):
        for x in range(WIDTH):
            rows[y][x] = 70
    # The building under the dome, and the dome with its open slit.
    cx, base, radius = 230, HEIGHT - 30, 42
    for y in range(base - 26, base):
        for x in range(cx - radius, cx + radius + 1):
            rows[y][x] = 71
    top = base - 26
    for y in range(top - radius, top):
        for x in range(cx - radius, cx + radius + 1):
            dx, dy = x - cx, top - y
            if dx * dx + dy * dy <= radius * radius:
                rows[y][x] = 69 if abs(dx - dy // 3) < 5 else 68
    # The name, three times the glyph size.
    scale, text = 4, "ZEMRA"
    x0, y0 = 24, 60
    for i, ch in enumerate(text):
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit != "1":
                    continue
                for sy in range(scale):
                    for sx in range(scale):
                        rows[y0 + gy * scale + sy][x0 + i * 6 * scale + gx * scale + sx] = 72
    return rows


def bmp(rows, colours):
    stride = (WIDTH + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - WIDTH) for row in reversed(rows))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 3780, 3780, 256, 0)
    return header + info + table + pixels


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "data", "startup.i"))
    args = parser.parse_args()
    with open(args.out, "wb") as f:
        f.write(bmp(draw(), palette()))


if __name__ == "__main__":
    main()
