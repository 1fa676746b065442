"""Control-connection framing: length-framed messages in text or binary form.

Every message is a length field (counting the whole message), the id, the
code and the body.  In the text form the length is ten right-aligned digits
and a blank, other integers are unsigned decimal text and a blank; in the
binary form every integer is four bytes.  Each side writes its integers in
the byte order of the receiver and reads them in its own.
"""

import struct

TEXT_LENGTH_FIELD = 11
BINARY_LENGTH_FIELD = 4
# A message larger than this is taken as a broken stream, not buffered.
MAX_MESSAGE = 64 * 1024 * 1024


class FramingError(Exception):
    """The byte stream cannot be cut into messages any more."""


class DecodeError(Exception):
    """A message body does not hold what its code promises."""


class Form:
    """The agreed transfer form of one connection.

    read_big: our own integers are most significant byte first (what we told
    the client); write_big: the client's are (what the client told us).
    """

    def __init__(self, binary=False, read_big=False, write_big=False):
        self.binary = binary
        self.read_big = read_big
        self.write_big = write_big

    def length_field_size(self):
        return BINARY_LENGTH_FIELD if self.binary else TEXT_LENGTH_FIELD

    def describe(self):
        if not self.binary:
            return "text"
        return "binary read=%s write=%s" % (
            "big" if self.read_big else "little",
            "big" if self.write_big else "little")


def _u32(value):
    return int(value) & 0xFFFFFFFF


def _s32(value):
    value &= 0xFFFFFFFF
    return value - 0x100000000 if value & 0x80000000 else value


class Encoder:
    """Builds a message body in the connection's form."""

    def __init__(self, form):
        self.form = form
        self.parts = []

    def int(self, value):
        if self.form.binary:
            fmt = ">I" if self.form.write_big else "<I"
            self.parts.append(struct.pack(fmt, _u32(value)))
        else:
            self.parts.append(b"%d " % _u32(value))
        return self

    long = int

    def float(self, value):
        # Floats travel as text in both forms: the number and one blank.
        text = ("%.6g" % float(value)).encode("ascii")
        self.parts.append(text + b" ")
        return self

    def string(self, value):
        if isinstance(value, str):
            value = value.encode("latin-1")
        self.parts.append(bytes(value) + b"\0")
        return self

    def ids(self, values):
        values = list(values)
        self.int(len(values))
        for value in values:
            self.int(value)
        return self

    def raw(self, data):
        self.parts.append(bytes(data))
        return self

    def bytes(self):
        return b"".join(self.parts)


def encode_int(form, value):
    return Encoder(form).int(value).bytes()


def frame(form, msg_id, code, body, length_delta=0, length_override=None):
    """A whole message; the length may be falsified on purpose."""
    head = encode_int(form, msg_id) + encode_int(form, code)
    length = form.length_field_size() + len(head) + len(body)
    if length_override is not None:
        length = length_override
    else:
        length += length_delta
    if form.binary:
        fmt = ">i" if form.write_big else "<i"
        field = struct.pack(fmt, _s32(length))
    else:
        field = b"%10d " % length
        if len(field) != TEXT_LENGTH_FIELD:
            raise FramingError("length %d does not fit the text field" % length)
    return field + head + body


class Decoder:
    """Reads the fields of one message body (or header) in the agreed form."""

    def __init__(self, form, data, pos=0):
        self.form = form
        self.data = bytes(data)
        self.pos = pos

    def remaining(self):
        return len(self.data) - self.pos

    def at_end(self):
        return self.pos >= len(self.data)

    def uint(self):
        if self.form.binary:
            if self.remaining() < 4:
                raise DecodeError("integer cut short at %d" % self.pos)
            fmt = ">I" if self.form.read_big else "<I"
            (value,) = struct.unpack_from(fmt, self.data, self.pos)
            self.pos += 4
            return value
        return _u32(self._text_number())

    def int(self):
        return _s32(self.uint())

    long = int

    def _text_number(self):
        data, pos = self.data, self.pos
        while pos < len(data) and data[pos] in b" \t\r\n\v\f":
            pos += 1
        start = pos
        if pos < len(data) and data[pos] in b"+-":
            pos += 1
        digits = pos
        while pos < len(data) and 48 <= data[pos] <= 57:
            pos += 1
        if pos == digits:
            raise DecodeError("no number at %d" % start)
        if pos - digits > 20:
            raise DecodeError("number too long at %d" % start)
        value = int(data[start:pos])
        if pos >= len(data):
            raise DecodeError("number without separator at %d" % start)
        self.pos = pos + 1  # exactly one separator
        return value

    def string(self):
        end = self.data.find(b"\0", self.pos)
        if end < 0:
            raise DecodeError("string without NUL at %d" % self.pos)
        value = self.data[self.pos:end]
        self.pos = end + 1
        return value

    def ids(self, limit=1 << 20):
        count = self.int()
        if count < 0 or count > limit:
            raise DecodeError("id array count %d" % count)
        return [self.int() for _ in range(count)]

    def raw(self, count):
        if count < 0 or count > self.remaining():
            raise DecodeError("raw block of %d bytes, %d left" % (count, self.remaining()))
        value = self.data[self.pos:self.pos + count]
        self.pos += count
        return value

    def rest(self):
        value = self.data[self.pos:]
        self.pos = len(self.data)
        return value


class Message:
    def __init__(self, msg_id, code, body, raw):
        self.id = msg_id
        self.code = code
        self.body = body
        self.raw = raw


class MessageReader:
    """Cuts whole messages out of the bytes received so far."""

    def __init__(self, form):
        self.form = form
        self.buf = bytearray()

    def feed(self, data):
        self.buf += data

    def next_message(self):
        size = self.form.length_field_size()
        if len(self.buf) < size:
            return None
        head = Decoder(self.form, bytes(self.buf[:size]))
        try:
            length = head.int()
        except DecodeError as exc:
            raise FramingError("unreadable length field: %s" % exc)
        if length < size + 2 or length > MAX_MESSAGE:
            raise FramingError("impossible message length %d" % length)
        if len(self.buf) < length:
            return None
        raw = bytes(self.buf[:length])
        del self.buf[:length]
        dec = Decoder(self.form, raw, size)
        try:
            msg_id = dec.uint()
            code = dec.int()
        except DecodeError as exc:
            raise FramingError("unreadable message header: %s" % exc)
        return Message(msg_id, code, raw[dec.pos:], raw)
