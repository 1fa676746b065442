"""A tiny Korvex client for the peer's self-tests.

Written apart from the peer (it imports nothing of kxpeer), so that a
misreading of the framing in one is not mirrored in the other.
"""

import socket
import struct
import subprocess
import sys
import os
import time

PEER = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "korvex_peer.py")
CONTENT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "content")


class PeerProcess:
    """Runs korvex_peer.py on a free port for the length of a test."""

    def __init__(self, *args, content=CONTENT, log=None):
        cmd = [sys.executable, PEER, "--content", content, "--port", "0", "--lifetime", "120"]
        if log:
            cmd += ["--log", log]
        cmd += list(args)
        self.proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        line = self.proc.stdout.readline().decode()
        if not line.startswith("PORT "):
            err = self.proc.stderr.read().decode()
            self.proc.kill()
            raise RuntimeError("peer did not start: %r %s" % (line, err))
        self.port = int(line.split()[1])

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc.stdout.close()
        self.proc.stderr.close()


class Eof(Exception):
    pass


class Body:
    """Reads fields of a received body; integers in our own byte order."""

    def __init__(self, client, data):
        self.c = client
        self.data = data
        self.pos = 0

    def int(self):
        if self.c.binary:
            fmt = ">i" if self.c.big else "<i"
            (v,) = struct.unpack_from(fmt, self.data, self.pos)
            self.pos += 4
            return v
        return self._text_int()

    def _text_int(self):
        end = self.data.index(b" ", self.pos)
        v = int(self.data[self.pos:end]) & 0xFFFFFFFF
        self.pos = end + 1
        return v - (1 << 32) if v & 0x80000000 else v

    def float(self):
        end = self.data.index(b" ", self.pos)
        v = float(self.data[self.pos:end])
        self.pos = end + 1
        return v

    def string(self):
        end = self.data.index(b"\0", self.pos)
        v = self.data[self.pos:end]
        self.pos = end + 1
        return v

    def ids(self):
        return [self.int() for _ in range(self.int())]

    def raw(self, n):
        v = self.data[self.pos:self.pos + n]
        assert len(v) == n, "raw block cut short"
        self.pos += n
        return v

    def rest(self):
        v = self.data[self.pos:]
        self.pos = len(self.data)
        return v

    def done(self):
        return self.pos == len(self.data)


class Client:
    def __init__(self, port, binary=True, big=False, version=717, compress=True,
                 hello=True, timeout=10.0):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
        self.buf = b""
        self.next_id = 0
        self.big = big
        self.version = version
        self.binary = self.negotiate(binary)
        self.server_version = None
        self.compressing = False
        self.server_text = None
        self.messages = []       # unsolicited code-25 texts after the hello
        if hello:
            self.hello(compress)

    # ---- wire ------------------------------------------------------------

    def negotiate(self, binary):
        self.sock.sendall(b"T" if binary else b"F")
        answer = self.recv_exact(1)
        if answer not in (b"T", b"F"):
            raise ValueError("bad form answer %r" % answer)
        if not binary or answer == b"F":
            return False
        self.sock.sendall(b"B" if self.big else b"l")
        self.server_order = self.recv_exact(1)
        if self.server_order not in (b"l", b"B"):
            raise ValueError("bad order answer %r" % self.server_order)
        return True

    def recv_exact(self, n):
        while len(self.buf) < n:
            data = self.sock.recv(65536)
            if not data:
                raise Eof()
            self.buf += data
        out, self.buf = self.buf[:n], self.buf[n:]
        return out

    def enc_int(self, v):
        if self.binary:
            # written in the receiver's (server's) order
            fmt = ">I" if self.server_order == b"B" else "<I"
            return struct.pack(fmt, v & 0xFFFFFFFF)
        return b"%u " % (v & 0xFFFFFFFF)

    def enc(self, *fields):
        out = b""
        for f in fields:
            if isinstance(f, int):
                out += self.enc_int(f)
            elif isinstance(f, list):
                out += self.enc_int(len(f)) + b"".join(self.enc_int(x) for x in f)
            elif isinstance(f, tuple) and f[0] == "raw":
                out += f[1]
            else:
                out += (f.encode("latin-1") if isinstance(f, str) else f) + b"\0"
        return out

    def send_message(self, msg_id, code, body):
        head = self.enc_int(msg_id) + self.enc_int(code)
        if self.binary:
            total = 4 + len(head) + len(body)
            field = self.enc_int(total)
        else:
            total = 11 + len(head) + len(body)
            field = b"%10d " % total
        self.sock.sendall(field + head + body)

    def read_message(self):
        """(id, code, body) of the next message, as the peer framed it."""
        if self.binary:
            fmt = ">i" if self.big else "<i"
            (length,) = struct.unpack(fmt, self.recv_exact(4))
            rest = self.recv_exact(length - 4)
            msg_id, code = struct.unpack(fmt.replace("i", "Ii"), rest[:8])
            return msg_id, code, rest[8:]
        field = self.recv_exact(11)
        assert field[10:11] == b" " and field[:10].strip().isdigit(), field
        rest = self.recv_exact(int(field) - 11)
        a = rest.index(b" ")
        b = rest.index(b" ", a + 1)
        return int(rest[:a]), int(rest[a + 1:b]), rest[b + 1:]

    # ---- requests --------------------------------------------------------

    def hello(self, compress=True, distributed=True):
        word = self.version | (0x40000000 if compress else 0) | (0x80000000 if distributed else 0)
        self.send_message(word, 25, b"")
        msg_id, code, body = self.read_message()
        assert code == 25, code
        self.take_hello(msg_id, body)

    def take_hello(self, msg_id, body):
        self.server_version = msg_id & 0x3FFF
        self.compressing = bool(msg_id & 0x40000000)
        self.version = min(self.version, self.server_version)
        b = Body(self, body)
        self.hello_status = 0
        if self.server_version >= 713 and body:
            self.hello_status = b.int()
        self.server_text = b.string().decode("latin-1") if not b.done() else ""

    def request(self, code, *fields, wait=True):
        self.next_id += 1
        self.send_message(self.next_id, code, self.enc(*fields))
        if not wait:
            return None
        return self.wait_reply(code)

    def wait_reply(self, code):
        while True:
            msg_id, rcode, body = self.read_message()
            if rcode == 25:
                b = Body(self, body)
                if self.server_version >= 713:
                    b.int()
                self.messages.append(b.string().decode("latin-1"))
                continue
            want = self.next_id if self.version >= 705 else 0
            assert rcode == code, (rcode, code)
            assert msg_id == want, (msg_id, want)
            return Body(self, body)

    def expand(self, data):
        return lzw_decode(data) if self.compressing else data

    def close(self):
        self.sock.close()


def lzw_decode(data, max_bits=12):
    """compress(1) code stream decoder (no header), groups of n codes."""
    out = bytearray()
    n = 9
    maxcode = (1 << n) - 1
    prefix = {}
    suffix = {}
    free = 257
    pos = 0            # byte position of the current group
    group = b""
    bitpos = 0
    usable = 0
    old = None
    fin = 0

    def next_code():
        nonlocal group, bitpos, usable, pos
        if bitpos >= usable:
            group = data[pos:pos + n]
            pos += len(group)
            if not group:
                return None
            bitpos = 0
            usable = len(group) * 8 - (n - 1)
            if usable <= 0:
                return None
        value = int.from_bytes(group, "little") >> bitpos
        bitpos += n
        return value & ((1 << n) - 1)

    def new_group():
        nonlocal bitpos, usable
        bitpos = usable = 0

    while True:
        code = next_code()
        if code is None:
            break
        if code == 256:
            free = 256
            n = 9
            maxcode = (1 << n) - 1
            new_group()
            continue
        incode = code
        stack = bytearray()
        if old is not None and code >= free:
            stack.append(fin)
            code = old
        while code > 255:
            stack.append(suffix[code])
            code = prefix[code]
        fin = code
        stack.append(fin)
        out += stack[::-1]
        if old is not None and free < (1 << max_bits):
            prefix[free] = old
            suffix[free] = fin
            free += 1
            if free > maxcode and n < max_bits:
                n += 1
                maxcode = (1 << n) - 1 if n < max_bits else 1 << max_bits
                new_group()
        old = incode
    return bytes(out)


def read_kxhdr(data):
    """(fields, header length) of a KXHDR header at the start of data."""
    end = data.index(b"\0")
    lines = data[:end].decode("ascii").split("\n")
    assert lines[0] == "KXHDR", lines
    fields = dict(line.split("=", 1) for line in lines[1:] if line)
    return fields, end + 1


class Listener:
    """A port the peer connects back to for a download or an upload."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(1)
        self.sock.settimeout(10)
        self.port = self.sock.getsockname()[1]

    def receive_all(self):
        conn, _ = self.sock.accept()
        conn.settimeout(10)
        parts = []
        while True:
            d = conn.recv(65536)
            if not d:
                break
            parts.append(d)
        conn.close()
        return b"".join(parts)

    def serve(self, data):
        conn, _ = self.sock.accept()
        conn.sendall(data)
        conn.close()

    def close(self):
        self.sock.close()


def wait_for(pred, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        if pred():
            return True
        time.sleep(0.02)
    return pred()
