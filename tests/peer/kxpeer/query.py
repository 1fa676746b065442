"""The attribute query language of key queries (requests 9, 10 and 11).

    expr   := term { "||" term }
    term   := factor { ("&&" | "&!") factor }
    factor := "!" factor | "(" expr ")" | Key "=" value

A value runs to the next "&&", "||" or "&!", or to a ")" that closes an open
parenthesis.  Blanks around a value and one final line feed are dropped.
Matching rules are those documented in the README (section "Queries").
"""

import re

from .records import parse_timestamp

# Keys that a query may never reveal.
SECRET_KEYS = {"Passwd"}
CASELESS_KEYS = {"Title", "Keyword", "Author"}
_KEY = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
_WORD = re.compile(r"[0-9A-Za-z\xc0-\xff]+")


class QueryError(Exception):
    pass


class Test:
    def __init__(self, key, value):
        self.key = key
        self.value = value

    def __repr__(self):
        return "%s=%r" % (self.key, self.value)

    def matches(self, record):
        if self.key in SECRET_KEYS:
            return False
        return any(_value_matches(self.key, self.value, v) for v in record.values(self.key))


class Node:
    def __init__(self, op, left, right=None):
        self.op = op
        self.left = left
        self.right = right

    def matches(self, record):
        if self.op == "not":
            return not self.left.matches(record)
        if self.op == "and":
            return self.left.matches(record) and self.right.matches(record)
        if self.op == "andnot":
            return self.left.matches(record) and not self.right.matches(record)
        return self.left.matches(record) or self.right.matches(record)


def _text_matches(query, value, words):
    query = query.lower()
    value = value.lower()
    if query.endswith("*"):
        stem = query[:-1]
        if value.startswith(stem):
            return True
        return words and any(w.startswith(stem) for w in _WORD.findall(value))
    if query == value:
        return True
    return words and query in _WORD.findall(value)


def _split_language(text):
    if len(text) >= 3 and text[2] == ":":
        return text[:2], text[3:]
    if text.startswith(":"):
        return "", text[1:]
    return None, text


def _value_matches(key, query, value):
    if key == "Title":
        qlang, qtext = _split_language(query)
        vlang, vtext = _split_language(value)
        if qlang not in (None, "", "??") and vlang not in (None, "??") and qlang != vlang:
            return False
        return _text_matches(qtext.strip(), vtext, words=True)
    if key == "TimeCreated" or key == "TimeModified":
        if query.endswith("^"):
            q = parse_timestamp(query[:-1])
            v = parse_timestamp(value)
            return q is not None and v is not None and v >= q
        q = parse_timestamp(query)
        return (q is not None and q == parse_timestamp(value)) or query == value
    if key in CASELESS_KEYS:
        return _text_matches(query, value, words=(key == "Keyword"))
    if query.endswith("*"):
        return value.startswith(query[:-1])
    return value == query


class _Parser:
    def __init__(self, text):
        self.text = text
        self.pos = 0
        self.depth = 0

    def parse(self):
        if not self.text.strip():
            raise QueryError("empty query")
        node = self.expr()
        self.skip()
        if self.pos != len(self.text):
            raise QueryError("unexpected %r at %d" % (self.text[self.pos:self.pos + 8], self.pos))
        return node

    def skip(self):
        while self.pos < len(self.text) and self.text[self.pos] in " \t\r\n":
            self.pos += 1

    def peek(self, token):
        self.skip()
        return self.text.startswith(token, self.pos)

    def expr(self):
        node = self.term()
        while self.peek("||"):
            self.pos += 2
            node = Node("or", node, self.term())
        return node

    def term(self):
        node = self.factor()
        while True:
            if self.peek("&&"):
                self.pos += 2
                node = Node("and", node, self.factor())
            elif self.peek("&!"):
                self.pos += 2
                node = Node("andnot", node, self.factor())
            else:
                return node

    def factor(self):
        self.skip()
        if self.peek("!"):
            self.pos += 1
            return Node("not", self.factor())
        if self.peek("("):
            self.pos += 1
            self.depth += 1
            node = self.expr()
            if not self.peek(")"):
                raise QueryError("missing ) at %d" % self.pos)
            self.pos += 1
            self.depth -= 1
            return node
        match = _KEY.match(self.text, self.pos)
        if not match or not self.text.startswith("=", match.end()):
            raise QueryError("attribute test expected at %d" % self.pos)
        self.pos = match.end() + 1
        start = self.pos
        while self.pos < len(self.text):
            if self.text.startswith(("&&", "||", "&!"), self.pos):
                break
            if self.text[self.pos] == ")" and self.depth > 0:
                break
            self.pos += 1
        value = self.text[start:self.pos]
        if value.endswith("\n"):
            value = value[:-1]
        return Test(match.group(0), value.strip(" "))


def parse(text):
    if isinstance(text, bytes):
        text = text.decode("latin-1")
    return _Parser(text).parse()
