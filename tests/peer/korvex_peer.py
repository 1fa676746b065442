#!/usr/bin/env python3
"""Reference Korvex peer: a small server for testing the client against.

Usage (see README.md for every option, the content format and the log):

    python3 tests/peer/korvex_peer.py --content DIR --port 0 --port-file F \
        --version 717 --form client --order little --compress on --log FILE

The first line on standard output is "PORT <n>", the port it listens on.
"""

import argparse
import os
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from kxpeer.log import RequestLog          # noqa: E402
from kxpeer.misbehave import Rules         # noqa: E402
from kxpeer.server import Server           # noqa: E402
from kxpeer.store import Store             # noqa: E402


def parse_args(argv):
    p = argparse.ArgumentParser(description="Reference Korvex peer (test server).")
    p.add_argument("--content", default="", help="content directory (README.md)")
    p.add_argument("--host", default="127.0.0.1", help="address to listen on")
    p.add_argument("--port", type=int, default=0, help="port; 0 picks a free one")
    p.add_argument("--port-file", default="", help="file that receives the port number")
    p.add_argument("--version", type=int, default=717, help="protocol version of the peer")
    p.add_argument("--form", choices=("client", "binary", "text"), default="client",
                   help="client/binary: accept the client's choice; text: insist on text")
    p.add_argument("--order", choices=("little", "big", "client"), default="little",
                   help="byte order the peer announces in the binary form")
    p.add_argument("--compress", choices=("on", "off", "force"), default="on",
                   help="on: compress when the client asks; force: even when it does not")
    p.add_argument("--misbehave", action="append", default=[], metavar="RULE",
                   help="NAME[=ARG][@CODE][#N]; may be repeated")
    p.add_argument("--unsolicited", action="append", default=[], metavar="WHEN=WHAT",
                   help="server message at a chosen time; may be repeated")
    p.add_argument("--control", default="", help="control file, re-read when it changes")
    p.add_argument("--log", default="", help="request log file (appended to)")
    p.add_argument("--data-address", choices=("auto", "given", "peer"), default="auto",
                   help="where data connections go (README.md)")
    p.add_argument("--query-limit", type=int, default=0,
                   help="more key-query hits than this answer 'query overflow' (0: no limit)")
    p.add_argument("--open-writes", action="store_true",
                   help="let anonymous connections change objects")
    p.add_argument("--server-string", default="Korvex reference peer",
                   help="text of the hello reply's ServerString")
    p.add_argument("--lifetime", type=float, default=1800.0,
                   help="seconds after which the peer stops by itself (0: never)")
    options = p.parse_args(argv)
    if not 1 <= options.version <= 0x3FFF:
        p.error("--version must lie in 1..16383")
    return options


def write_port_file(path, port):
    tmp = path + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.replace(tmp, path)


def main(argv=None):
    options = parse_args(sys.argv[1:] if argv is None else argv)
    try:
        store = Store.load(options.content)
        rules = Rules(options.misbehave, options.unsolicited)
    except (OSError, ValueError) as exc:
        print("korvex_peer: %s" % exc, file=sys.stderr)
        return 2
    log = RequestLog(options.log or None)
    server = Server(options, store, rules, log)
    port = server.listen()
    # the file first: whoever reads the PORT line may look for it at once
    if options.port_file:
        write_port_file(options.port_file, port)
    print("PORT %d" % port, flush=True)
    log.write(0, "listen", ("port", port), ("version", options.version),
              ("objects", len(store.objects)))

    def stop(signum, frame):
        server.stopping.set()
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        server.serve()
    finally:
        log.write(0, "stop")
        log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
