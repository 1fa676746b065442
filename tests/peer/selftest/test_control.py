"""Command line, port file, request log and the control file."""

import os
import subprocess
import sys
import tempfile
import unittest

from kxclient import CONTENT, PEER, Eof, PeerProcess, wait_for
from peerbase import PeerCase, field


def write_atomically(path, text):
    tmp = path + ".tmp"
    with open(tmp, "w") as f:
        f.write(text)
    os.replace(tmp, path)


class CommandLineTest(PeerCase):
    def test_port_file_and_log(self):
        port_file = os.path.join(self.tmp, "port")
        peer = self.start_peer("--port-file", port_file)
        with open(port_file) as f:
            self.assertEqual(int(f.read()), peer.port)
        c = self.connect(peer)
        c.request(9, "Name=a\tb\n")
        line = self.wait_log(peer.log_path, lambda f: f[1] == "req")
        self.assertEqual(line[:2], ["1", "req"])
        self.assertEqual(field(line, "code"), "9")
        self.assertEqual(field(line, "query"), "Name=a\\tb\\n")
        events = [f[1] for f in self.log_lines(peer.log_path)]
        self.assertEqual(events[:5], ["listen", "open", "form", "hello", "reply"])

    def test_refuses_bad_setups(self):
        bad = tempfile.mkdtemp(dir=self.tmp)
        with open(os.path.join(bad, "x.rec"), "w") as f:
            f.write("Type=Document\n")            # no ObjectID
        cases = [["--content", bad], ["--content", CONTENT, "--misbehave", "sing"],
                 ["--content", CONTENT, "--unsolicited", "sometime=echo"],
                 ["--content", CONTENT, "--version", "0"]]
        for args in cases:
            with self.subTest(args=args[2:] or args):
                out = subprocess.run([sys.executable, PEER, "--port", "0"] + args,
                                     capture_output=True, timeout=20)
                self.assertEqual(out.returncode, 2, out.stderr)

    def test_lifetime_ends_the_peer(self):
        peer = PeerProcess("--lifetime", "0.5")
        try:
            self.assertEqual(peer.proc.wait(10), 0)
        finally:
            peer.stop()


class ControlFileTest(PeerCase):
    def test_rules_replace_and_actions_run_once(self):
        control = os.path.join(self.tmp, "control")
        write_atomically(control, "misbehave status=1@7\n")
        peer = self.start_peer("--control", control)
        c = self.connect(peer)
        self.assertTrue(wait_for(lambda: c.request(7, 0x20).int() == 1))
        write_atomically(control, "# cleared\nsend echo:ops\n")
        self.assertTrue(wait_for(lambda: c.request(7, 0x20).int() == 0))
        self.assertTrue(wait_for(lambda: c.request(7, 0x20).int() == 0 and c.messages))
        self.assertEqual(c.messages, ["FROM korvex-peer [ops]\nTO anonymous\nDATA ECHO_REQUEST"])
        # Once the peer has looked at the unchanged file again, a send would
        # have come before this reply.
        def steady_after_the_last_change():
            events = [f[1] for f in self.log_lines(peer.log_path) if f[1].startswith("control")]
            return events[-1:] == ["control-steady"] and events.count("control") == 2
        self.assertTrue(wait_for(steady_after_the_last_change))
        c.request(7, 0x20)
        self.assertEqual(len(c.messages), 1)       # sent once, not on every look

    def test_dump_and_close(self):
        control = os.path.join(self.tmp, "control2")
        dump = os.path.join(self.tmp, "dump")
        peer = self.start_peer("--control", control, "--open-writes")
        c = self.connect(peer)
        self.assertEqual(c.request(27, 0x20, "add Keyword=dumped").int(), 0)
        write_atomically(control, "dump %s\nclose\n" % dump)
        self.wait_log(peer.log_path, lambda f: f[1] == "dumped")
        with open(os.path.join(dump, "0x00000020.rec")) as f:
            self.assertIn("Keyword=dumped\n", f.read())
        with open(os.path.join(dump, "0x00000022.body"), "rb") as f:
            self.assertTrue(f.read().startswith(b"GIF89a"))
        c.sock.settimeout(5)
        self.assertRaises(Eof, c.read_message)


if __name__ == "__main__":
    unittest.main()
