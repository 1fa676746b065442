"""Attribute records: ordered key=value lines, with the object-id text forms."""

import time


def format_id(value):
    return "0x%08x" % (int(value) & 0xFFFFFFFF)


def parse_id(text):
    """An object id from "0x..." hex or decimal text; 0 when there is none."""
    if text is None:
        return 0
    text = text.strip()
    try:
        if text[:2] in ("0x", "0X"):
            return int(text[2:], 16) & 0xFFFFFFFF
        return int(text, 10) & 0xFFFFFFFF
    except ValueError:
        return 0


def timestamp(when=None):
    """The record time-stamp form: years since 1900, month, day, h, m, s (UTC)."""
    t = time.gmtime(time.time() if when is None else when)
    return "%02d/%02d/%02d %02d:%02d:%02d" % (
        t.tm_year - 1900, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec)


def parse_timestamp(text):
    """A time stamp as a comparable tuple; None when it is not one."""
    try:
        date, clock = text.strip().split(" ", 1)
        parts = [int(x) for x in date.split("/")] + [int(x) for x in clock.split(":")]
    except ValueError:
        return None
    if len(parts) != 6:
        return None
    year = parts[0]
    if year >= 1900:  # a four-digit year is taken as it stands
        year -= 1900
    return (year,) + tuple(parts[1:])


class Record:
    """The lines of one attribute record, in order; keys may repeat."""

    def __init__(self, lines=None):
        self.lines = list(lines or [])

    @classmethod
    def parse(cls, text, comments=False):
        if isinstance(text, bytes):
            text = text.decode("latin-1")
        lines = []
        for line in text.split("\n"):
            if line == "" or (comments and line.startswith("#")):
                continue
            key, sep, value = line.partition("=")
            if not sep:
                continue  # a line without "=" is no attribute
            lines.append((key, value))
        return cls(lines)

    def copy(self):
        return Record(self.lines)

    def first(self, key, default=""):
        for k, v in self.lines:
            if k == key:
                return v
        return default

    def values(self, key):
        return [v for k, v in self.lines if k == key]

    def has(self, key, value=None):
        return any(k == key and (value is None or v == value) for k, v in self.lines)

    def add(self, key, value):
        self.lines.append((key, value))

    def remove(self, key, value=None):
        """Removes the lines of key (with that value); answers how many."""
        before = len(self.lines)
        self.lines = [(k, v) for k, v in self.lines
                      if not (k == key and (value is None or v == value))]
        return before - len(self.lines)

    def set(self, key, value):
        for i, (k, _) in enumerate(self.lines):
            if k == key:
                self.lines[i] = (key, value)
                self.lines = self.lines[:i + 1] + [
                    (k2, v2) for k2, v2 in self.lines[i + 1:] if k2 != key]
                return
        self.lines.append((key, value))

    def text(self, skip=()):
        return "\n".join("%s=%s" % (k, v) for k, v in self.lines if k not in skip)
