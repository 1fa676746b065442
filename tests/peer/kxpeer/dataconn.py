"""Data connections: the peer connects to a port that the client listens on.

A download starts with the KXHDR header and then the body; an upload (the
client's sender) is read to its end without any header.
"""

import socket
import threading
import time

CONNECT_TIMEOUT = 10.0
UPLOAD_TIMEOUT = 30.0
MAX_UPLOAD = 64 * 1024 * 1024
CHUNK = 8192
TRICKLE_GAP = 0.02

# Header type numbers by document kind (the client keeps only sz; the
# numbering follows the media kinds of remote documents).
HEADER_TYPES = {"text": 1, "Image": 2, "Sound": 3, "Movie": 4, "PostScript": 5}


def kxhdr(size, ref=-1, kind=7, version=1, z=0, end=b"\0"):
    text = "KXHDR\nver=%d\ntype=%d\nsz=%d\nref=%d\nZ=%d\n" % (version, kind, size, ref, z)
    return text.encode("ascii") + end


def header_type(document_type):
    return HEADER_TYPES.get(document_type, 7)


def open_to(host, port):
    sock = socket.create_connection((host, port), timeout=CONNECT_TIMEOUT)
    sock.settimeout(UPLOAD_TIMEOUT)
    return sock


class Download:
    """What to send over one data connection, shaped by the rules in force."""

    def __init__(self, header, body, split=False, delay=0.0, trickle=0, hold=0.0):
        self.header = header
        self.body = body
        self.split = split
        self.delay = delay
        self.trickle = trickle
        self.hold = hold

    def send_on(self, sock, on_done):
        """Sends in a thread of its own so that the control connection goes on."""
        thread = threading.Thread(target=self._run, args=(sock, on_done), daemon=True)
        thread.start()
        return thread

    def _run(self, sock, on_done):
        sent = 0
        error = ""
        try:
            if self.delay:
                time.sleep(self.delay)
            if self.split:
                # a few bytes at a time, so that the header reaches the
                # client in pieces
                for i in range(0, len(self.header), 5):
                    sock.sendall(self.header[i:i + 5])
                    time.sleep(0.02)
            else:
                sock.sendall(self.header)
            piece = self.trickle or CHUNK
            for i in range(0, len(self.body), piece):
                if self.trickle and i:
                    time.sleep(TRICKLE_GAP)
                sock.sendall(self.body[i:i + piece])
                sent += min(piece, len(self.body) - i)
            if self.hold:
                # the body is all there, but the connection stays open
                time.sleep(self.hold)
        except OSError as exc:
            error = str(exc)
        finally:
            try:
                sock.shutdown(socket.SHUT_WR)
            except OSError:
                pass
            sock.close()
            on_done(sent, error)


def receive_upload(sock):
    """Reads the sender's bytes until it closes; raises OSError on failure."""
    parts = []
    total = 0
    try:
        while True:
            data = sock.recv(65536)
            if not data:
                break
            total += len(data)
            if total > MAX_UPLOAD:
                raise OSError("upload larger than %d bytes" % MAX_UPLOAD)
            parts.append(data)
    finally:
        sock.close()
    return b"".join(parts)
