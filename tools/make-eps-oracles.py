#!/usr/bin/env python3
"""Makes the EPS oracle files of the Ospray tests.

Each file carries a picture in one of the forms Ospray's reader takes (level 1
grey or colour rows after "image" / "colorimage", level 2 grey, RGB or indexed
data through /ASCIIHexDecode), written the way Ospray's writer lays them out,
as "%!" text or behind the 32-byte DOS EPS header with a TIFF preview. Beside
each NAME.eps goes NAME.ppm: the picture the file means, rows from the top,
which the tests compare with what Ospray reads and with what ghostscript
renders (tools/make-eps-oracles.py --check renders them here too).

Usage: tools/make-eps-oracles.py [out-dir] [--check]
"""
import os
import struct
import subprocess
import sys
import tempfile

CRLF = "\r\n"


def hexrow(data):
    return "".join("%02X" % b for b in data)


def defs(w, h):
    def d(name, v):
        return name.ljust(15) + str(v) + " def"
    return [d("/OsprayX", w), d("/OsprayY", h), d("/OsprayWidth", w // 2), d("/OsprayHeight", h // 2), "",
            "/OsprayObj save def", "36 36 translate", "OsprayWidth OsprayHeight scale"]


def header(title, w, h, extra):
    return ["%!PS-Adobe-3.0 EPSF-3.0", "%%Title: " + title, "%%Creator: Ospray.DLL V1.0",
            "%%CreationDate: 01.02.1997 10:11:12", "%%Pages: 1",
            "%%%%BoundingBox: 36 36 %d %d" % (w // 2 + 36, h // 2 + 36)] + extra + [
            "%%EndComments", "", "%%BeginProlog", "%%EndProlog", "", "%%Page: ? ?", ""] + defs(w, h)


def trailer():
    return ["OsprayObj restore", "", "showpage", "", "%%EOF"]


def dictionary(bpc, decode):
    return ["<<", "  /ImageType 1", "  /Width  OsprayX", "  /Height OsprayY", "  /BitsPerComponent %d" % bpc,
            "  /Decode " + decode, "  /ImageMatrix [OsprayX 0 0 OsprayY 0 0]",
            "  /DataSource currentfile /ASCIIHexDecode filter", ">>", "image"]


def text(lines):
    return CRLF.join(lines) + CRLF


def picture(w, h, f):
    """Rows from the top: lists of (r, g, b)."""
    return [[f(x, y) for x in range(w)] for y in range(h)]


def stored_rows(rows):
    return list(reversed(rows))  # bottom row first, as the image matrix takes it


def grey_eps(title, rows, level):
    h, w = len(rows), len(rows[0])
    data = [hexrow(bytes(p[0] for p in row)) for row in stored_rows(rows)]
    if level == 1:
        body = ["OsprayX OsprayY 8", "[ OsprayX 0 0 OsprayY 0 0 ]",
                "{ currentfile OsprayX string readhexstring pop }", "image"] + data
        return text(header(title, w, h, []) + body + trailer())
    body = ["/DeviceGray setcolorspace"] + dictionary(8, "[0 1]") + data + ["> % EOD"]
    return text(header(title, w, h, ["%%LanguageLevel: 2"]) + body + trailer())


def rgb_eps(title, rows, level):
    h, w = len(rows), len(rows[0])
    data = [hexrow(bytes(c for p in row for c in p)) for row in stored_rows(rows)]
    if level == 1:
        body = ["OsprayX OsprayY 8", "[ OsprayX 0 0 OsprayY 0 0 ]",
                "{ currentfile OsprayX 3 mul string readhexstring pop }", "false 3", "colorimage"] + data
        return text(header(title, w, h, ["%%Extensions: CMYK"]) + body + trailer())
    body = ["/DeviceRGB setcolorspace"] + dictionary(8, "[0 1 0 1 0 1]") + data + ["> % EOD"]
    return text(header(title, w, h, ["%%LanguageLevel: 2"]) + body + trailer())


def indexed_eps(title, indices, palette, bits):
    h, w = len(indices), len(indices[0])
    entries = 1 << bits
    table = [palette[i] if i < len(palette) else (0, 0, 0) for i in range(entries)]
    per_line = 2 if bits == 1 else 8
    lines = ["[/Indexed /DeviceRGB %d <" % (entries - 1)]
    for i in range(0, entries, per_line):
        lines.append(hexrow(bytes(c for e in table[i:i + per_line] for c in e)))
    lines.append("> ] setcolorspace")
    data = []
    for row in reversed(indices):
        packed = bytearray((w * bits + 7) // 8)
        for x, v in enumerate(row):
            bit = x * bits
            packed[bit // 8] |= v << (8 - bits - bit % 8)
        data.append(hexrow(bytes(packed)))
    decode = {1: "[0 1]", 4: "[0 15]", 8: "[0 255]"}[bits]
    body = lines + dictionary(bits, decode) + data + ["> % EOD"]
    rows = [[table[v] for v in row] for row in indices]
    return text(header(title, w, h, ["%%LanguageLevel: 2"]) + body + trailer()), rows


def tiff_1bit(w, h):
    """A small uncompressed 1-bit TIFF (black on white checker) as a preview."""
    row_bytes = (w + 7) // 8
    strip = bytearray()
    for y in range(h):
        row = bytearray(row_bytes)
        for x in range(w):
            if (x // 2 + y // 2) % 2:
                row[x // 8] |= 0x80 >> (x % 8)
        strip += row
    entries = [(256, 4, 1, w), (257, 4, 1, h), (258, 3, 1, 1), (259, 3, 1, 1), (262, 3, 1, 0),
               (273, 4, 1, 8), (277, 3, 1, 1), (278, 4, 1, h), (279, 4, 1, len(strip))]
    ifd_offset = 8 + len(strip) + (len(strip) & 1)
    out = b"II" + struct.pack("<HI", 42, ifd_offset) + bytes(strip) + b"\0" * (len(strip) & 1)
    out += struct.pack("<H", len(entries))
    for tag, typ, count, value in entries:
        if typ == 3:
            out += struct.pack("<HHIHH", tag, typ, count, value, 0)
        else:
            out += struct.pack("<HHII", tag, typ, count, value)
    return out + struct.pack("<I", 0)


def dos_eps(postscript, tiff):
    ps = postscript.encode("latin-1")
    head = struct.pack("<IIIIIIIHH", 0xC6D3D0C5, 32, len(ps), 0, 0, 32 + len(ps), len(tiff), 0xFFFF, 0)
    return head + ps + tiff


def ppm(rows):
    h, w = len(rows), len(rows[0])
    return b"P6\n%d %d\n255\n" % (w, h) + bytes(c for row in rows for p in row for c in p)


def read_ppm(data):
    """(width, height, pixel bytes) of a P6 file of maxval 255, comments allowed."""
    fields, pos = [], 2
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(int(data[pos:end]))
        pos = end
    return fields[0], fields[1], data[pos + 1:]


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    check = "--check" in sys.argv
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = args[0] if args else os.path.join(top, "tests", "data", "plugins", "eps")
    os.makedirs(out, exist_ok=True)
    files = {}

    grey = picture(16, 10, lambda x, y: ((x * 16 + y * 9) % 256,) * 3)
    files["grey8-level1"] = (grey_eps("C:\\pics\\grey8-level1.eps", grey, 1).encode("latin-1"), grey)
    files["grey8-level2"] = (grey_eps("C:\\pics\\grey8-level2.eps", grey, 2).encode("latin-1"), grey)
    colour = picture(18, 8, lambda x, y: ((x * 14) % 256, (y * 31) % 256, (x * y * 5 + 40) % 256))
    files["rgb24-level1"] = (rgb_eps("C:\\pics\\rgb24-level1.eps", colour, 1).encode("latin-1"), colour)
    files["rgb24-level2"] = (rgb_eps("C:\\pics\\rgb24-level2.eps", colour, 2).encode("latin-1"), colour)
    for bits, w, h in ((1, 22, 6), (4, 14, 8), (8, 12, 10)):
        n = 1 << bits
        used = min(n, 12) if bits > 1 else 2  # fewer used colours than the table holds
        palette = [((i * 67 + 20) % 256, (i * 29 + 200) % 256, (255 - i * 19) % 256) for i in range(used)]
        indices = [[(x + 2 * y) % used for x in range(w)] for y in range(h)]
        name = "indexed%d-level2" % bits
        ps, rows = indexed_eps("C:\\pics\\%s.eps" % name, indices, palette, bits)
        files[name] = (ps.encode("latin-1"), rows)
    # The DOS EPS form: a level 2 grey picture behind the binary header.
    files["grey8-dos-preview"] = (dos_eps(grey_eps("C:\\pics\\grey8-dos-preview.eps", grey, 2), tiff_1bit(8, 5)),
                                  grey)
    # A file whose name holds the word "image" before the image operator.
    files["title-image"] = (grey_eps("C:\\image\\an image.eps", grey, 1).encode("latin-1"), grey)

    for name, (data, rows) in sorted(files.items()):
        with open(os.path.join(out, name + ".eps"), "wb") as f:
            f.write(data)
        with open(os.path.join(out, name + ".ppm"), "wb") as f:
            f.write(ppm(rows))
    if check:
        bad = 0
        for name in sorted(files):
            with tempfile.TemporaryDirectory() as tmp:
                png = os.path.join(tmp, "out.ppm")
                subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r144",
                                "-sDEVICE=ppmraw", "-sOutputFile=" + png, os.path.join(out, name + ".eps")],
                               check=True)
                with open(png, "rb") as f:
                    got = f.read()
            got, want = read_ppm(got), read_ppm(ppm(files[name][1]))
            print(name, "ok" if got == want else "DIFFERS")
            bad += got != want
        sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
