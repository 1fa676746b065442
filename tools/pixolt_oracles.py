#!/usr/bin/env python3
"""Makes the small oracle files of the image library's tests.

BMP variants come from ImageMagick (convert) or are derived from its files
here (top-down rows, short colour tables, a gap before the pixels, RLE4 and
RLE8 streams with moves); each BMP gets the picture ImageMagick decodes from
it as a binary PPM beside it (name.ppm). XBM pictures come from ImageMagick
and netpbm (pbmtoxbm); each gets the PBM that netpbm's xbmtopbm decodes.

Usage: tools/pixolt_oracles.py [output dir]   (default tests/data/pixolt)
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile


def run(args, **kw):
    subprocess.run(args, check=True, **kw)


def source_ppm(path, w, h, seed):
    """A deterministic picture with gradients and a few flat areas."""
    out = bytearray(b"P6\n%d %d\n255\n" % (w, h))
    for y in range(h):
        for x in range(w):
            if (x // 4 + y // 3) % 5 == 0:
                px = (250, 250, 250)
            else:
                px = ((x * 11 + seed) % 256, (y * 15 + 3 * seed) % 256, ((x + y) * 7 + seed) % 256)
            out += bytes(px)
    with open(path, "wb") as f:
        f.write(out)


def parse(data):
    off = struct.unpack_from("<I", data, 10)[0]
    hdr = list(struct.unpack_from("<IiiHHIIiiII", data, 14))
    return off, hdr


def build(hdr, table, bits, gap=b""):
    hdr = list(hdr)
    off = 14 + 40 + len(table) + len(gap)
    body = struct.pack("<IiiHHIIiiII", *hdr) + table + gap + bits
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, off) + body


def split(data):
    off, hdr = parse(data)
    colors = hdr[9] or (1 << hdr[4] if hdr[4] <= 8 else 0)
    table = data[54:54 + 4 * colors]
    return hdr, table, data[off:]


def row_bytes(w, bits):
    return ((w * bits + 31) // 32) * 4


def top_down(data):
    hdr, table, bits = split(data)
    rb = row_bytes(hdr[1], hdr[4])
    rows = [bits[i * rb:(i + 1) * rb] for i in range(hdr[2])]
    hdr[2] = -hdr[2]
    return build(hdr, table, b"".join(reversed(rows)))


def short_table(data, n):
    hdr, table, bits = split(data)
    hdr[9] = n
    hdr[10] = n
    return build(hdr, table[:4 * n], bits)


def with_gap(data, n):
    hdr, table, bits = split(data)
    return build(hdr, table, bits, gap=bytes(range(1, n + 1)))


def pixels4(data):
    hdr, table, bits = split(data)
    w, h = hdr[1], hdr[2]
    rb = row_bytes(w, 4)
    return [[(bits[y * rb + x // 2] >> (0 if x % 2 else 4)) & 15 for x in range(w)] for y in range(h)], hdr, table


def rle4(data):
    """RLE4 of a 4-bit file: encoded runs where pixels repeat, absolute runs
    elsewhere, an end of line per row and an end of picture."""
    rows, hdr, table = pixels4(data)
    out = bytearray()
    for row in rows:
        x = 0
        w = len(row)
        while x < w:
            n = 1
            while x + n < w and n < 255 and row[x + n] == row[x]:
                n += 1
            if n >= 3 or w - x < 3:
                out += bytes((n, (row[x] << 4) | row[x]))
                x += n
                continue
            # Absolute run of up to 20 pixels (at least 3).
            n = min(20, w - x)
            px = row[x:x + n]
            out += bytes((0, n))
            packed = bytearray()
            for i in range(0, n, 2):
                hi = px[i]
                lo = px[i + 1] if i + 1 < n else 0
                packed.append((hi << 4) | lo)
            while len(packed) % 2:
                packed.append(0)
            out += packed
            x += n
        out += b"\x00\x00"
    out += b"\x00\x01"
    hdr[5] = 2
    hdr[6] = len(out)
    return build(hdr, table, bytes(out))


def rle8_moves(data):
    """RLE8 of an uncompressed 8-bit file that skips a block of pixels with a
    move and ends rows early; skipped pixels are index 0."""
    hdr, table, bits = split(data)
    w, h = hdr[1], hdr[2]
    rb = row_bytes(w, 8)
    out = bytearray()
    y = 0
    while y < h:
        row = bits[y * rb:y * rb + w]
        if y == 2:
            # Write 3 pixels, then move 4 right and 2 up.
            out += bytes((1, row[0], 1, row[1], 1, row[2]))
            out += bytes((0, 2, 4, 2))
            nxt = bits[(y + 2) * rb:(y + 2) * rb + w]
            for x in range(7, w):
                out += bytes((1, nxt[x]))
            out += b"\x00\x00"
            y += 3
            continue
        if y == 5:
            out += bytes((0, 3)) + row[0:3] + b"\x00"  # absolute run, padded
            out += b"\x00\x00"  # the rest of the row is skipped
            y += 1
            continue
        for x in range(w):
            out += bytes((1, row[x]))
        out += b"\x00\x00"
        y += 1
    out += b"\x00\x01"
    hdr[5] = 1
    hdr[6] = len(out)
    return build(hdr, table, bytes(out))


def im_bmp(src, fmt, *opts):
    path = src + "." + str(abs(hash((fmt,) + opts))) + ".bmp"
    run(["convert", src, *opts, fmt + ":" + path])
    with open(path, "rb") as f:
        return f.read()


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "data", "pixolt")
    bmp_dir = os.path.join(out, "bmp")
    xbm_dir = os.path.join(out, "xbm")
    os.makedirs(bmp_dir, exist_ok=True)
    os.makedirs(xbm_dir, exist_ok=True)
    tmp = tempfile.mkdtemp()
    try:
        a = os.path.join(tmp, "a.ppm")
        b = os.path.join(tmp, "b.ppm")
        tiny = os.path.join(tmp, "tiny.ppm")
        source_ppm(a, 23, 17, 0)
        source_ppm(b, 33, 9, 40)
        source_ppm(tiny, 1, 1, 90)
        nodither = ("-dither", "None")
        files = {}
        files["b1_23x17"] = im_bmp(a, "BMP3", "-type", "Bilevel")
        files["b1_33x9"] = im_bmp(b, "BMP3", "-type", "Bilevel")
        files["b4_16"] = im_bmp(a, "BMP3", *nodither, "-colors", "16", "-compress", "None")
        files["b4_33x9"] = im_bmp(b, "BMP3", *nodither, "-colors", "11", "-compress", "None")
        files["b8_256"] = im_bmp(a, "BMP3", *nodither, "-colors", "256", "-compress", "None")
        files["b8_33x9"] = im_bmp(b, "BMP3", *nodither, "-colors", "60", "-compress", "None")
        files["b24_23x17"] = im_bmp(a, "BMP3", "-type", "TrueColor")
        files["b24_33x9"] = im_bmp(b, "BMP3", "-type", "TrueColor")
        files["b24_1x1"] = im_bmp(tiny, "BMP3", "-type", "TrueColor")
        files["r8_23x17"] = im_bmp(a, "BMP3", *nodither, "-colors", "200", "-compress", "RLE")
        files["r8_33x9"] = im_bmp(b, "BMP3", *nodither, "-colors", "40", "-compress", "RLE")
        files["os2_1"] = im_bmp(a, "BMP2", "-type", "Bilevel")
        files["os2_4"] = im_bmp(a, "BMP2", *nodither, "-colors", "16", "-type", "Palette")
        files["os2_8"] = im_bmp(b, "BMP2", *nodither, "-colors", "100", "-type", "Palette")
        files["os2_24"] = im_bmp(a, "BMP2", "-type", "TrueColor")
        files["os2_1x1"] = im_bmp(tiny, "BMP2", "-type", "Bilevel")
        # Derived here: rows, tables and streams ImageMagick does not write.
        files["td_1"] = top_down(files["b1_33x9"])
        files["td_4"] = top_down(files["b4_16"])
        files["td_8"] = top_down(files["b8_33x9"])
        files["td_24"] = top_down(files["b24_23x17"])
        four5 = im_bmp(a, "BMP3", *nodither, "-colors", "5", "-compress", "None")
        files["b4_5"] = short_table(four5, 5)
        eight20 = im_bmp(a, "BMP3", *nodither, "-colors", "20", "-compress", "None")
        files["b8_20"] = short_table(eight20, 20)
        files["gap_8"] = with_gap(files["b8_20"], 6)
        files["r4_23x17"] = rle4(files["b4_16"])
        files["r4_33x9"] = rle4(files["b4_33x9"])
        files["r8_moves"] = rle8_moves(files["b8_256"])
        for name, data in files.items():
            path = os.path.join(bmp_dir, name + ".bmp")
            with open(path, "wb") as f:
                f.write(data)
            run(["convert", path, "-depth", "8", "ppm:" + os.path.join(bmp_dir, name + ".ppm")])

        # XBM from both tools; the oracle is netpbm's reading.
        bw = os.path.join(tmp, "bw.pbm")
        run(["convert", a, "-type", "Bilevel", "pbm:" + bw])
        run(["convert", bw, "xbm:" + os.path.join(xbm_dir, "im_23x17.xbm")])
        with open(os.path.join(xbm_dir, "netpbm_23x17.xbm"), "wb") as f:
            run(["pbmtoxbm", bw], stdout=f)
        bw2 = os.path.join(tmp, "bw2.pbm")
        run(["convert", b, "-type", "Bilevel", "pbm:" + bw2])
        with open(os.path.join(xbm_dir, "netpbm_33x9.xbm"), "wb") as f:
            run(["pbmtoxbm", bw2], stdout=f)
        for name in sorted(os.listdir(xbm_dir)):
            if name.endswith(".xbm"):
                with open(os.path.join(xbm_dir, name[:-4] + ".pbm"), "wb") as f:
                    run(["xbmtopbm", os.path.join(xbm_dir, name)], stdout=f)
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main()
