"""Shared fixture: a peer process per test class or per test, and its log."""

import os
import shutil
import tempfile
import unittest

from kxclient import Client, PeerProcess, wait_for


def need(case, have, what):
    """Ends a test that cannot run for want of an outside tool: skipped, or
    failed where the test command asks for every tool (ZEMRA_REQUIRE_TOOLS=1,
    as tools/run-tests.sh and CI set it after installing them all)."""
    if have:
        return
    if os.environ.get("ZEMRA_REQUIRE_TOOLS", "") not in ("", "0"):
        case.fail(what + " (ZEMRA_REQUIRE_TOOLS is set)")
    case.skipTest(what)


class PeerCase(unittest.TestCase):
    """Starts one peer for the class; tests that change objects use their own."""

    PEER_ARGS = ()

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="kxpeer-test-")
        cls.log_path = os.path.join(cls.tmp, "requests.log")
        cls.peer = PeerProcess(*cls.PEER_ARGS, log=cls.log_path)

    @classmethod
    def tearDownClass(cls):
        cls.peer.stop()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def setUp(self):
        self.clients = []

    def tearDown(self):
        for c in self.clients:
            c.close()

    def connect(self, peer=None, **kw):
        c = Client((peer or self.peer).port, **kw)
        self.clients.append(c)
        return c

    def start_peer(self, *args, content=None):
        log = os.path.join(tempfile.mkdtemp(dir=self.tmp), "requests.log")
        kw = {"log": log}
        if content is not None:
            kw["content"] = content
        peer = PeerProcess(*args, **kw)
        peer.log_path = log
        self.addCleanup(peer.stop)
        return peer

    @staticmethod
    def log_lines(path):
        with open(path, encoding="latin-1") as f:
            return [line.rstrip("\n").split("\t") for line in f]

    def wait_log(self, path, pred, timeout=5.0):
        """The first log line (as fields) that pred accepts, waiting for it."""
        found = []

        def look():
            for fields in self.log_lines(path):
                if pred(fields):
                    found.append(fields)
                    return True
            return False
        self.assertTrue(wait_for(look, timeout), "log line not found in %s" % path)
        return found[0]


def field(fields, name):
    for f in fields[2:]:
        key, _, value = f.partition("=")
        if key == name:
            return value
    return None
