"""LZW compression in the code stream of compress(1), without its file header.

Codes start at 9 bits and grow to max_bits; 256 is the clear code and the
first table entry is 257.  Codes are packed least significant bit first in
groups of eight (n bytes for n-bit codes); when the width changes, or after a
clear code, the rest of the current group is written as padding, exactly as
compress(1) does, because its decoder skips to the next group then.

Where compress(1) watches the compression ratio to decide when to clear a full
table, this encoder clears as soon as the table is full: the decoder cannot
tell the difference, and big replies then exercise the clear code.
"""

CLEAR = 256
FIRST = 257
INIT_BITS = 9


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.group = bytearray()   # bytes of the current group of 8 codes
        self.acc = 0               # bits not yet in whole bytes
        self.nacc = 0
        self.codes_in_group = 0

    def put(self, code, width):
        self.acc |= code << self.nacc
        self.nacc += width
        while self.nacc >= 8:
            self.group.append(self.acc & 0xFF)
            self.acc >>= 8
            self.nacc -= 8
        self.codes_in_group += 1
        if self.codes_in_group == 8:
            # eight codes of n bits fill exactly n bytes
            self.out += self.group
            self.group = bytearray()
            self.codes_in_group = 0

    def pad_group(self, width):
        """Ends the current group early: it is written out whole (n bytes)."""
        if self.codes_in_group == 0:
            return
        if self.nacc:
            self.group.append(self.acc & 0xFF)
        self.acc = 0
        self.nacc = 0
        self.group += b"\0" * (width - len(self.group))
        self.out += self.group
        self.group = bytearray()
        self.codes_in_group = 0

    def finish(self):
        if self.nacc:
            self.group.append(self.acc & 0xFF)
        self.out += self.group
        self.group = bytearray()
        self.acc = 0
        self.nacc = 0
        return bytes(self.out)


def compress(data, max_bits=12):
    if not 9 <= max_bits <= 16:
        raise ValueError("code width %d not supported" % max_bits)
    data = bytes(data)
    if not data:
        return b""
    table_size = 1 << max_bits
    writer = _BitWriter()
    width = INIT_BITS
    maxcode = (1 << width) - 1
    table = {}
    free_ent = FIRST

    def output(code):
        nonlocal width, maxcode
        writer.put(code, width)
        if free_ent > maxcode:
            writer.pad_group(width)
            width += 1
            maxcode = table_size if width == max_bits else (1 << width) - 1

    ent = data[0]
    for c in data[1:]:
        key = (ent << 8) | c
        code = table.get(key)
        if code is not None:
            ent = code
            continue
        output(ent)
        ent = c
        if free_ent < table_size:
            table[key] = free_ent
            free_ent += 1
        else:
            # table full: clear it and start again at 9 bits
            writer.put(CLEAR, width)
            writer.pad_group(width)
            table.clear()
            free_ent = FIRST
            width = INIT_BITS
            maxcode = (1 << width) - 1
    output(ent)
    return writer.finish()


def compress_file_image(data, max_bits=12):
    """The same stream behind compress(1)'s three-byte header (a .Z file)."""
    return bytes([0x1F, 0x9D, 0x80 | max_bits]) + compress(data, max_bits)
