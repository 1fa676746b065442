"""Reply bodies, laid out for the protocol version in force.

Each function takes the connection's Layout and answers the body bytes; the
version thresholds are those the client reads by (705: status words and
echoed ids, 702/703: older status forms, 713: hello with a status).
"""

from . import lzw
from .wire import Encoder

STATUS_ID_ARRAY = (3, 4, 5, 8, 19, 31, 33, 44)
STATUS_LONG = (14, 15, 16, 17, 32, 43)
STATUS_ONLY = (22, 23, 27, 28, 36, 37, 38, 41, 46)
ERROR_BYTES = (39, 45)


class Layout:
    def __init__(self, form, version, compress):
        self.form = form
        self.version = version
        self.compress = compress

    def enc(self):
        return Encoder(self.form)

    def packed(self, data):
        return lzw.compress(data, 12) if self.compress else bytes(data)

    def reply_id(self, request_id):
        return request_id if self.version >= 705 else 0


def destination(lay, status, dest):                     # code 2
    e = lay.enc()
    if lay.version >= 705:
        e.int(status)
    return e.long(dest if status == 0 else 0).bytes()


def id_array(lay, status, ids):                         # codes 3 4 5 8 19 31 33 44
    e = lay.enc()
    if lay.version >= 705:
        e.int(status)
    return e.ids(ids if status == 0 else []).bytes()


def plain_id_array(lay, ids):                           # code 6
    return lay.enc().ids(ids).bytes()


def record(lay, status, text):                          # code 7
    e = lay.enc()
    if lay.version >= 705:
        e.int(status)
    else:
        e.int(1 if status == 0 else 0)
    if status == 0:
        e.string(text)
    return e.bytes()


def query_hits(lay, status, ids):                       # codes 9 10
    e = lay.enc()
    if lay.version >= 705:
        e.int(status)
    elif lay.version >= 702:
        e.int(0 if status == 35 else 1)
    return e.ids(ids if status == 0 else []).bytes()


def records(lay, status, pairs):                        # code 11
    e = lay.enc()
    if lay.version >= 705:
        e.int(status)
    if status != 0:
        pairs = []
    e.ids([oid for oid, _ in pairs])
    if pairs:
        texts = [t.encode("latin-1") if isinstance(t, str) else t for _, t in pairs]
        for t in texts:
            e.int(len(t))
        e.raw(lay.packed(b"".join(texts)))
    return e.bytes()


def text_reply(lay, status, data):                      # code 12
    e = lay.enc()
    if lay.version >= 703:
        e.int(status)
    else:
        e.int(1 if status == 0 else 0)
    if status == 0:
        e.raw(lay.packed(data))
    return e.bytes()


def status_long(lay, status, value):                    # codes 14-17 32 43
    e = lay.enc().int(status)
    if status == 0:
        e.long(value)
    return e.bytes()


def link_pair(lay, status, first, second):              # code 18
    e = lay.enc().int(status)
    if status == 0:
        e.int(first).int(second)
    return e.bytes()


def status_only(lay, status):                           # codes 22 23 27 28 36-38 41 46
    return lay.enc().int(status).bytes()


def identification(lay, text):                          # code 24
    return lay.enc().string(text).bytes()


def locked_record(lay, status, text):                   # code 29
    e = lay.enc().int(status)
    if status == 0:
        e.string(text)
    return e.bytes()


def features(lay, status, hits):                        # codes 34 35
    e = lay.enc().int(status)
    hits = hits if status == 0 else []
    e.int(len(hits))
    for oid, weight, positions in hits:
        e.long(oid).float(weight).int(len(positions))
        for p in positions:
            e.int(p)
    return e.bytes()


def error_bytes(lay, error, data):                      # codes 39 45
    packed = lay.packed(data)
    return lay.enc().int(error).int(len(packed)).raw(packed).bytes()


def text_list(lay, error, texts):                       # code 40
    texts = [t.encode("latin-1") if isinstance(t, str) else t for t in texts]
    e = lay.enc().int(error).int(len(texts))
    for t in texts:
        e.int(len(t))
    if texts:
        e.raw(lay.packed(b"".join(texts)))
    return e.bytes()


def hello(lay, server_version, status, text):           # code 25, also server messages
    e = lay.enc()
    if server_version >= 713:
        e.int(status)
    if text or server_version < 713:
        e.string(text)
    return e.bytes()


def failure(lay, code, status):
    """The body that reports status for a request of this code."""
    if code == 2:
        return destination(lay, status, 0)
    if code in STATUS_ID_ARRAY:
        return id_array(lay, status, [])
    if code == 6:
        return plain_id_array(lay, [])
    if code == 7:
        return record(lay, status, "")
    if code in (9, 10):
        return query_hits(lay, status, [])
    if code == 11:
        return records(lay, status, [])
    if code == 12:
        return text_reply(lay, status, b"")
    if code in STATUS_LONG:
        return status_long(lay, status, 0)
    if code == 18:
        return link_pair(lay, status, 0, 0)
    if code in STATUS_ONLY:
        return status_only(lay, status)
    if code == 29:
        return locked_record(lay, status, "")
    if code in (34, 35):
        return features(lay, status, [])
    if code in ERROR_BYTES:
        return error_bytes(lay, status, b"")
    if code == 40:
        return text_list(lay, status, [])
    return None
