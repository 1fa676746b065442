"""The request log: one line per event, fields separated by tabs.

Line form: <connection>\t<event>\t<name>=<value>\t...  Values are escaped so
that a line never holds a raw tab, line feed or unprintable byte: \\t \\n \\r
\\0 \\\\ and \\xHH.
"""

import threading


def escape(value):
    if isinstance(value, bytes):
        value = value.decode("latin-1")
    elif not isinstance(value, str):
        value = str(value)
    out = []
    for ch in value:
        code = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\t":
            out.append("\\t")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\0":
            out.append("\\0")
        elif code < 32 or 127 <= code < 160:
            out.append("\\x%02x" % code)
        else:
            out.append(ch)
    return "".join(out)


class RequestLog:
    def __init__(self, path=None):
        self.mutex = threading.Lock()
        self.file = open(path, "a", encoding="latin-1", errors="replace") if path else None

    def write(self, conn, event, *fields):
        if self.file is None:
            return
        parts = [str(conn), event]
        for name, value in fields:
            parts.append("%s=%s" % (name, escape(value)))
        with self.mutex:
            self.file.write("\t".join(parts) + "\n")
            self.file.flush()

    def close(self):
        if self.file is not None:
            with self.mutex:
                self.file.close()
                self.file = None
