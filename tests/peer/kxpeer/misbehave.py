"""Misbehaviour rules and unsolicited-message triggers chosen by a test.

A rule is written NAME[=ARG][@CODE][#N]: it applies to replies of request
CODE only (any code when left out), and only to the N-th such occasion when
#N is given (counted from 1 over the peer's whole run).  A trigger is written
WHEN=WHAT (see README.md).
"""

import threading

RULE_NAMES = {
    # handshake
    "refuse-handshake", "bad-order", "close-at-negotiation", "no-hello-reply",
    "close-at-hello", "reorganization", "hello-status",
    # control-connection replies
    "drop-reply", "delay", "status", "close-before-reply", "close-mid-reply",
    "wrong-length", "zero-length", "short-body", "long-body", "split-reply",
    # data connections
    "data-no-connect", "data-no-header", "data-short", "data-long", "data-split",
    "data-empty-line", "data-delay", "data-trickle", "data-hold", "data-unknown-size", "upload-no-connect",
}


def unescape(text):
    """Backslash escapes of command-line texts: \\n \\r \\t \\0 \\\\ \\xHH."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            simple = {"n": "\n", "r": "\r", "t": "\t", "0": "\0", "\\": "\\"}
            if n in simple:
                out.append(simple[n])
                i += 2
                continue
            if n == "x" and i + 3 < len(text) and _is_hex(text[i + 2:i + 4]):
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 4
                continue
        out.append(c)
        i += 1
    return "".join(out)


def _is_hex(text):
    return len(text) == 2 and all(c in "0123456789abcdefABCDEF" for c in text)


class Rule:
    def __init__(self, spec):
        self.spec = spec
        rest = spec
        self.nth = None
        if "#" in rest:
            rest, _, nth = rest.rpartition("#")
            self.nth = int(nth)
        self.code = None
        if "@" in rest:
            rest, _, code = rest.rpartition("@")
            self.code = int(code)
        name, sep, arg = rest.partition("=")
        if name not in RULE_NAMES:
            raise ValueError("unknown misbehaviour %r" % name)
        self.name = name
        self.arg = arg if sep else None
        self.seen = 0

    def number(self, default):
        return default if self.arg in (None, "") else float(self.arg)

    def integer(self, default):
        return default if self.arg in (None, "") else int(self.arg, 0)


class Trigger:
    def __init__(self, spec):
        when, sep, what = spec.partition("=")
        if not sep or not what:
            raise ValueError("trigger %r is not WHEN=WHAT" % spec)
        self.spec = spec
        self.when = when
        self.what = what
        self.period = None
        if when.startswith("every-"):
            self.period = float(when[len("every-"):])
        elif when not in ("after-hello", "after-identify") and not (
                when.startswith(("before-", "after-", "after-request-"))):
            raise ValueError("unknown trigger time %r" % when)
        kind = what.partition(":")[0]
        if kind not in ("echo", "msg", "data", "raw", "reply", "code"):
            raise ValueError("unknown unsolicited message %r" % what)


class Rules:
    """The rules and triggers in force: fixed ones plus a control file's."""

    def __init__(self, rules=(), triggers=()):
        self.mutex = threading.Lock()
        self.fixed_rules = [Rule(r) for r in rules]
        self.fixed_triggers = [Trigger(t) for t in triggers]
        self.file_rules = []
        self.file_triggers = []

    def replace_file_set(self, rules, triggers):
        with self.mutex:
            self.file_rules = rules
            self.file_triggers = triggers

    def take(self, name, code=None):
        """The rule of this name that applies now, counting the occasion."""
        with self.mutex:
            found = None
            for rule in self.fixed_rules + self.file_rules:
                if rule.name != name:
                    continue
                if rule.code is not None and rule.code != code:
                    continue
                rule.seen += 1
                if found is None and (rule.nth is None or rule.seen == rule.nth):
                    found = rule
            return found

    def triggers(self, when):
        with self.mutex:
            return [t for t in self.fixed_triggers + self.file_triggers if t.when == when]

    def periodic(self):
        with self.mutex:
            return [t for t in self.fixed_triggers + self.file_triggers if t.period]
