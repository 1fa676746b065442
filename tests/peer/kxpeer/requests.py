"""Request bodies: what each request code carries, read in the agreed form.

parse(code, decoder, version) answers (name, args) where args is a list of
(field, value) pairs in wire order; it raises DecodeError for a body that does
not hold its fields.  Version thresholds are those of the client's catalogue.
"""

from .wire import DecodeError

NAMES = {
    2: "anchor-destination", 3: "documents-of", 4: "parents", 5: "collections-of",
    6: "anchor-parents", 7: "record", 8: "anchors", 9: "query", 10: "query-within",
    11: "records", 14: "insert-document", 15: "insert-anchor", 16: "link-anchor",
    17: "insert-collection", 18: "anchor-link", 19: "links-to", 22: "membership",
    23: "collection-membership", 24: "identify", 25: "hello", 26: "echo-reply",
    27: "modify", 29: "lock", 30: "unlock", 32: "insert-source-anchor",
    34: "full-text", 35: "full-text-within", 36: "content", 37: "delete",
    38: "upload", 40: "remote-members", 41: "remote-content", 43: "global-id",
    44: "members", 46: "cgi-content",
}

# Requests that appeared after the first protocol versions.
MIN_VERSION = {18: 6, 19: 6, 32: 7, 40: 8, 41: 8, 43: 704, 46: 711}


def _one_id(d, v):
    return [("id", d.int())]


def _query(d, v):
    return [("query", d.string())]


def _query_within(d, v):
    return [("ids", d.ids()), ("query", d.string())]


def _records(d, v):
    args = [("flag", d.int()), ("ids", d.ids())]
    if not d.at_end():
        args.append(("query", d.string()))
    return args


def _insert_document(d, v):
    args = [("parent", d.int()), ("record", d.string())]
    if not d.at_end():
        args.append(("extra", d.string()))
    return args


def _parent_record(d, v):
    return [("parent", d.int()), ("record", d.string())]


def _link_anchor(d, v):
    return [("anchor", d.int()), ("dest", d.int()), ("zero", d.int()), ("record", d.string())]


def _membership(d, v):
    return [("leave", d.int()), ("from", d.int()), ("to", d.int()), ("ids", d.ids())]


def _identify(d, v):
    args = [("flag", d.int()), ("user", d.string()), ("password", d.string())]
    if not d.at_end():
        args.append(("client", d.string()))
    return args


def _echo_reply(d, v):
    return [("zero", d.int()), ("text", d.string())]


def _modify(d, v):
    return [("id", d.int()), ("text", d.string())]


def _source_anchor(d, v):
    return [("record", d.string()), ("placement", d.string())]


def _content(d, v):
    args = [("id", d.int()), ("port", d.int()), ("address", d.string())]
    if not d.at_end():
        args.append(("reference", d.string()))
    return args


def _upload(d, v):
    # The catalogue gives int, int, str, str: object id, data port, own
    # address, path.  A client that follows the prose order (address, port,
    # id, path) is understood too; the log names the reading used.
    start = d.pos
    try:
        args = [("id", d.int()), ("port", d.int()), ("address", d.string()), ("path", d.string())]
        if d.at_end() and _looks_like_address(args[2][1]) and 0 < args[1][1] < 65536:
            return args + [("layout", "id-port-address-path")]
    except DecodeError:
        pass
    d.pos = start
    args = [("address", d.string()), ("port", d.int()), ("id", d.int()), ("path", d.string())]
    if not d.at_end():
        raise DecodeError("upload request longer than its fields")
    return args + [("layout", "address-port-id-path")]


def _looks_like_address(text):
    return bool(text) and all(32 < c < 127 for c in text)


def _text_field(d, v, string_before):
    """A text argument: a string before string_before, else length and bytes."""
    if v < string_before:
        return d.string()
    n = d.int()
    return d.raw(n) if n > 0 else b""


def _remote_members(d, v):
    return [("record", d.string()), ("text", _text_field(d, v, 717))]


def _remote_content(d, v):
    args = [("address", d.string()), ("port", d.int()), ("record", d.string())]
    if v >= 716:
        args.append(("text", _text_field(d, v, 717)))
    args.append(("flag", d.int()))
    return args


def _cgi_content(d, v):
    return [("address", d.string()), ("port", d.int()), ("record", d.string()),
            ("text", _text_field(d, v, 717)), ("flag", d.int())]


def _global_id(d, v):
    return [("server", d.int()), ("id", d.int())]


def _nothing(d, v):
    return []


_PARSERS = {
    2: _one_id, 3: _one_id, 4: _one_id, 5: _one_id, 6: _one_id, 7: _one_id,
    8: _one_id, 9: _query, 10: _query_within, 11: _records, 14: _insert_document,
    15: _parent_record, 16: _link_anchor, 17: _parent_record, 18: _one_id,
    19: _one_id, 22: _membership, 23: _membership, 24: _identify, 25: _nothing,
    26: _echo_reply, 27: _modify, 29: _one_id, 30: _one_id, 32: _source_anchor,
    34: _query, 35: _query_within, 36: _content, 37: _one_id, 38: _upload,
    40: _remote_members, 41: _remote_content, 43: _global_id, 44: _one_id,
    46: _cgi_content,
}


def known(code):
    return code in _PARSERS


def parse(code, decoder, version):
    parser = _PARSERS.get(code)
    if parser is None:
        return "unknown", [("body", decoder.rest())]
    return NAMES.get(code, "request-%d" % code), parser(decoder, version)


def format_value(name, value):
    if name == "ids":
        return ",".join("0x%08x" % (i & 0xFFFFFFFF) for i in value)
    if name in ("id", "parent", "anchor", "dest", "from", "to", "server") and isinstance(value, int):
        return "0x%08x" % (value & 0xFFFFFFFF)
    return value
