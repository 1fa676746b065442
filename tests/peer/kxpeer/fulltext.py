"""Full-text search over document bodies (requests 34 and 35).

A query may start with a two-letter language code and ":"; the code is
dropped (bodies carry no language).  Words side by side, or joined by "&" or
"&&", must all occur; "|" or "||" gives either; "&!" or "!" excludes;
parentheses group; a word ending in "*" matches as a prefix.  A hit's weight
is the number of occurrences of its matched words, its positions the word
numbers (from 0) of those occurrences in the body.
"""

import re

_TOKEN = re.compile(r"[0-9a-z\xc0-\xff]+")
_TAG = re.compile(r"<[^>]*>")


class FullTextError(Exception):
    pass


def words_of(body, markup):
    text = body.decode("latin-1").lower()
    if markup:
        text = _TAG.sub(" ", text)
    return _TOKEN.findall(text)


def _tokens(query):
    out = []
    i = 0
    while i < len(query):
        c = query[i]
        if c in " \t\r\n":
            i += 1
        elif query.startswith("&!", i):
            out.append("&!")
            i += 2
        elif query.startswith("&&", i) or query.startswith("||", i):
            out.append(query[i])
            i += 2
        elif c in "&|!()":
            out.append(c)
            i += 1
        else:
            j = i
            while j < len(query) and query[j] not in " \t\r\n&|!()":
                j += 1
            word = query[i:j].lower()
            out.append(("w", word))
            i = j
    return out


class _Parser:
    """Evaluates to a dict doc -> set of positions, over one body's words."""

    def __init__(self, tokens):
        self.tokens = tokens
        self.pos = 0

    def parse(self):
        if not self.tokens:
            raise FullTextError("empty query")
        node = self.expr()
        if self.pos != len(self.tokens):
            raise FullTextError("unexpected %r" % (self.tokens[self.pos],))
        return node

    def next_is(self, *kinds):
        return self.pos < len(self.tokens) and self.tokens[self.pos] in kinds

    def expr(self):
        node = self.term()
        while self.next_is("|"):
            self.pos += 1
            node = ("or", node, self.term())
        return node

    def term(self):
        node = self.factor()
        while True:
            if self.next_is("&"):
                self.pos += 1
                node = ("and", node, self.factor())
            elif self.next_is("&!", "!"):
                self.pos += 1
                node = ("andnot", node, self.factor())
            elif self.pos < len(self.tokens) and (
                    self.tokens[self.pos] == "(" or isinstance(self.tokens[self.pos], tuple)):
                node = ("and", node, self.factor())
            else:
                return node

    def factor(self):
        if self.pos >= len(self.tokens):
            raise FullTextError("query ends too early")
        tok = self.tokens[self.pos]
        self.pos += 1
        if tok == "(":
            node = self.expr()
            if not self.next_is(")"):
                raise FullTextError("missing )")
            self.pos += 1
            return node
        if tok in ("!", "&!"):
            return ("not", self.factor())
        if isinstance(tok, tuple):
            return ("word", tok[1])
        raise FullTextError("unexpected %r" % (tok,))


def parse(query):
    if isinstance(query, bytes):
        query = query.decode("latin-1")
    if len(query) >= 3 and query[2] == ":" and query[:2].isalpha() or query[:3] == "??:":
        query = query[3:]
    return _Parser(_tokens(query)).parse()


def evaluate(node, words):
    """None when the body does not match, else the set of matched positions."""
    kind = node[0]
    if kind == "word":
        stem = node[1]
        if stem.endswith("*"):
            hits = {i for i, w in enumerate(words) if w.startswith(stem[:-1])}
        else:
            hits = {i for i, w in enumerate(words) if w == stem}
        return hits or None
    if kind == "not":
        return None if evaluate(node[1], words) is not None else set()
    left = evaluate(node[1], words)
    if kind == "or":
        right = evaluate(node[2], words)
        if left is None and right is None:
            return None
        return (left or set()) | (right or set())
    if left is None:
        return None
    right = evaluate(node[2], words)
    if kind == "and":
        return None if right is None else left | right
    return left if right is None else None
