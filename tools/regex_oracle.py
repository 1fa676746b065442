#!/usr/bin/env python3
"""Second opinion for the Regexp differential test.

Reads one JSON object per line on stdin, {"p": pattern, "t": text}, both
strings whose characters are bytes 0-255, and answers each on its own line
of stdout:
  nomatch
  match <start0> <end0> <start1> <end1> ...   (one pair per group, -1 -1 unset)
  error <message>                             (Python refused the pattern)
Patterns are compiled as bytes with re.DOTALL, and searched with search(),
which like Regexp takes the leftmost match and the first alternative that
lets the rest match.
"""
import json
import re
import sys


def answer(pattern, text):
    try:
        rx = re.compile(pattern, re.DOTALL)
    except re.error as err:
        return "error " + str(err).replace("\n", " ")
    m = rx.search(text)
    if m is None:
        return "nomatch"
    spans = []
    for group in range(rx.groups + 1):
        spans.extend(m.span(group))
    return "match " + " ".join(str(n) for n in spans)


def main():
    out = sys.stdout
    for line in sys.stdin:
        if not line.strip():
            continue
        case = json.loads(line)
        out.write(answer(case["p"].encode("latin-1"), case["t"].encode("latin-1")) + "\n")
    out.flush()


if __name__ == "__main__":
    main()
