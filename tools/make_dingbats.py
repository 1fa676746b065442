#!/usr/bin/env python3
"""Draws the Dingbat pictures that text documents place by name and writes
data/Dingbat/Dingbat.dat, which lists them.

Each picture is a small GIF with a transparent background, drawn here from
simple shapes so that bullets sit on any page colour. Run from the top of
the source tree:  python3 tools/make_dingbats.py
"""
import math
import os
import struct

SIZE = 13
OUT = os.path.join("data", "Dingbat")

# Palette index 0 is the transparent background.
PALETTE = [(255, 255, 255), (0, 0, 96), (128, 0, 0), (0, 96, 0)]


def lzw(pixels, min_code_size):
    """GIF LZW: variable code width, clear code at the start and when the
    table is full, codes packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    width = min_code_size + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    emit(clear)
    prefix = b""
    for p in pixels:
        candidate = prefix + bytes([p])
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        prefix = bytes([p])
    if prefix:
        emit(table[prefix])
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(pixels):
    min_code_size = 2
    data = lzw(pixels, min_code_size)
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    palette = b"".join(bytes(c) for c in PALETTE)
    return (b"GIF89a" + struct.pack("<HHBBB", SIZE, SIZE, 0x81, 0, 0) + palette +
            b"\x21\xF9\x04\x01\x00\x00\x00\x00" +  # transparent colour: index 0
            b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0) + bytes([min_code_size]) + blocks +
            b"\x00\x3B")


def draw(inside, color):
    """A picture whose pixel (x, y) has `color` where inside(x, y) holds,
    measured from the centre."""
    c = (SIZE - 1) / 2
    return [color if inside(x - c, y - c) else 0 for y in range(SIZE) for x in range(SIZE)]


SHAPES = {
    "disc": (lambda x, y: x * x + y * y <= 16, 1),
    "circle": (lambda x, y: 9 <= x * x + y * y <= 20, 1),
    "square": (lambda x, y: abs(x) <= 3.5 and abs(y) <= 3.5, 1),
    "diamond": (lambda x, y: abs(x) + abs(y) <= 5, 2),
    "arrow": (lambda x, y: (x <= 0 and abs(y) <= 1.5 and x >= -5) or (0 <= x <= 5 and abs(y) <= 5 - x), 3),
    "star": (lambda x, y: star(x, y), 2),
    "check": (lambda x, y: (abs(y - (x + 4)) <= 1.2 and -5 <= x <= -1) or (abs(y + x - 2) <= 1.2 and -1 <= x <= 5), 3),
}


def star(x, y):
    """Inside the five-pointed star of outer radius 6 and inner radius 2.5,
    point up, by the even-odd rule over its ten corners."""
    corners = []
    for i in range(10):
        r = 6.2 if i % 2 == 0 else 2.6
        a = -math.pi / 2 + i * math.pi / 5
        corners.append((r * math.cos(a), r * math.sin(a)))
    inside = False
    for (x1, y1), (x2, y2) in zip(corners, corners[1:] + corners[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


# Names documents use; a name followed by a level digit falls back to the
# name without it, so BULLET0..2 give the nesting levels of lists.
LIST = [
    ("DISC", "disc"), ("CIRCLE", "circle"), ("SQUARE", "square"), ("DIAMOND", "diamond"),
    ("ARROW", "arrow"), ("STAR", "star"), ("CHECK", "check"),
    ("BULLET0", "disc"), ("BULLET1", "circle"), ("BULLET2", "square"), ("BULLET", "diamond"),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (inside, color) in SHAPES.items():
        with open(os.path.join(OUT, name + ".gif"), "wb") as f:
            f.write(gif(draw(inside, color)))
    with open(os.path.join(OUT, "Dingbat.dat"), "w", newline="\n") as f:
        f.write("# The Dingbats: a name as documents use it, then its picture file\n")
        f.write("# (in this directory). Made by tools/make_dingbats.py.\n")
        for name, shape in LIST:
            f.write("%-8s %s.gif\n" % (name, shape))


if __name__ == "__main__":
    main()
