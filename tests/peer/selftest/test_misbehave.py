"""Each misbehaviour the tests of the client can ask of the peer."""

import socket
import time
import unittest

from kxclient import Eof, Listener, read_kxhdr
from peerbase import PeerCase, field

HELLO_717 = 717 | 0x40000000


def raw_until_quiet(client, quiet=0.3):
    """Every byte the peer sends until it pauses or closes."""
    client.sock.settimeout(quiet)
    data = client.buf
    client.buf = b""
    try:
        while True:
            part = client.sock.recv(65536)
            if not part:
                break
            data += part
    except socket.timeout:
        pass
    return data


class HandshakeTest(PeerCase):
    def test_negotiation_refusals(self):
        # rule -> (answer to the form letter, answer to the order letter)
        cases = [("refuse-handshake", b"X", None), ("bad-order", b"T", b"X"),
                 ("close-at-negotiation", b"", None)]
        for rule, form_answer, order_answer in cases:
            with self.subTest(rule=rule):
                peer = self.start_peer("--misbehave", rule)
                s = socket.create_connection(("127.0.0.1", peer.port), timeout=5)
                self.addCleanup(s.close)
                s.sendall(b"T")
                self.assertEqual(s.recv(1), form_answer)
                if order_answer is not None:
                    s.sendall(b"l")
                    self.assertEqual(s.recv(1), order_answer)

    def test_hello_misbehaviours(self):
        peer = self.start_peer("--misbehave", "no-hello-reply#1")
        c = self.connect(peer, hello=False)
        c.send_message(HELLO_717, 25, b"")
        c.sock.settimeout(0.5)
        self.assertRaises(socket.timeout, c.read_message)
        c.sock.settimeout(5)
        c.hello()                     # the client sends its hello again
        self.assertEqual(c.server_version, 717)

        peer = self.start_peer("--misbehave", "close-at-hello")
        c = self.connect(peer, hello=False)
        c.send_message(HELLO_717, 25, b"")
        self.assertRaises(Eof, c.read_message)

        for rule, status, text in (("reorganization", 0, "Reorganization$"),
                                   ("hello-status=41", 41, "ServerString$")):
            with self.subTest(rule=rule):
                peer = self.start_peer("--misbehave", rule)
                c = self.connect(peer)
                self.assertEqual(c.hello_status, status)
                self.assertTrue(c.server_text.startswith(text), c.server_text)


class ReplyTest(PeerCase):
    def client(self, *rules, binary=False):
        args = []
        for r in rules:
            args += ["--misbehave", r]
        peer = self.start_peer(*args)
        return peer, self.connect(peer, binary=binary)

    def test_replies_that_never_come_or_come_late(self):
        peer, c = self.client("drop-reply@7", "delay=0.4@44")
        c.request(7, 0x20, wait=False)
        start = time.monotonic()
        self.assertEqual(c.request(44, 0x12).int(), 0)   # the 44 reply, not a 7 one
        self.assertGreaterEqual(time.monotonic() - start, 0.4)

    def test_forced_status_on_the_nth_occasion(self):
        peer, c = self.client("status=8@7#2")
        self.assertEqual([c.request(7, 0x20).int() for _ in range(3)], [0, 8, 0])

    def test_closing(self):
        for rule in ("close-before-reply@7", "close-mid-reply@7"):
            with self.subTest(rule=rule):
                peer, c = self.client(rule)
                c.request(7, 0x20, wait=False)
                data = raw_until_quiet(c, 2.0)
                if rule.startswith("close-before"):
                    self.assertEqual(data, b"")
                else:
                    self.assertGreater(len(data), 0)
                    self.assertGreater(int(data[:11]), len(data))   # promised more
                line = self.wait_log(peer.log_path, lambda f: f[1] == "close")
                self.assertTrue(field(line, "reason").startswith("closed-by-peer"))

    def test_length_field_lies(self):
        for rule, expect in (("wrong-length=5@7", lambda n: n + 5),
                             ("wrong-length=-3@7", lambda n: n - 3),
                             ("zero-length@7", lambda n: 0)):
            with self.subTest(rule=rule):
                peer, c = self.client(rule)
                c.request(7, 0x20, wait=False)
                data = raw_until_quiet(c)
                self.assertEqual(int(data[:11]), expect(len(data)))

    def test_body_shorter_or_longer_than_its_counts(self):
        peer, c = self.client("short-body=4@44#1", "long-body=8@44#2")
        msg = c.request(44, 0x11)     # framed whole, but the id array is cut
        self.assertEqual(msg.int(), 0)
        count = msg.int()
        self.assertEqual(count, 5)
        self.assertLess(len(msg.rest()), 5 * 11)   # five ids as text would need more
        msg = c.request(44, 0x12)
        self.assertEqual((msg.int(), msg.ids()), (0, [0x22]))
        self.assertEqual(msg.rest(), b"\xa5" * 8)

    def test_split_reply_arrives_whole(self):
        peer, c = self.client("split-reply@7", binary=True)
        body = c.request(7, 0x20)
        self.assertEqual(body.int(), 0)
        self.assertTrue(body.string().startswith(b"ObjectID=0x00000020"))


class DataConnectionTest(PeerCase):
    BODY = b"Scores are written music. A library of scores is a library of music.\n" \
           b"Digital scores can be searched like any digital text.\n"

    def fetch(self, rule):
        peer = self.start_peer("--misbehave", rule)
        c = self.connect(peer)
        listener = Listener()
        self.addCleanup(listener.close)
        self.assertEqual(c.request(36, 0x21, listener.port, "127.0.0.1").int(), 0)
        return listener

    def test_shaped_data_connections(self):
        n = len(self.BODY)
        # rule -> check of (raw bytes received)
        cases = [
            ("data-no-header@36", lambda d: self.assertEqual(d, self.BODY)),
            ("data-short=10@36", lambda d: self.assertEqual(
                (read_kxhdr(d)[0]["sz"], len(d) - read_kxhdr(d)[1]), (str(n), n - 10))),
            ("data-long=64@36", lambda d: self.assertEqual(len(d) - read_kxhdr(d)[1], n + 64)),
            ("data-unknown-size@36", lambda d: self.assertEqual(read_kxhdr(d)[0]["sz"], "-1")),
            ("data-empty-line@36", lambda d: self.assertTrue(
                d.startswith(b"KXHDR\n") and d[d.index(b"\n\n") + 2:] == self.BODY)),
            ("data-split@36", lambda d: self.assertEqual(d[read_kxhdr(d)[1]:], self.BODY)),
            ("data-trickle=7@36", lambda d: self.assertEqual(d[read_kxhdr(d)[1]:], self.BODY)),
        ]
        for rule, check in cases:
            with self.subTest(rule=rule):
                check(self.fetch(rule).receive_all())

    def test_delayed_and_missing_data_connections(self):
        start = time.monotonic()
        data = self.fetch("data-delay=0.5@36").receive_all()
        self.assertGreaterEqual(time.monotonic() - start, 0.5)
        self.assertEqual(data[read_kxhdr(data)[1]:], self.BODY)
        # the whole body, and only then, after the hold, the end of the stream
        start = time.monotonic()
        data = self.fetch("data-hold=0.5@36").receive_all()
        self.assertGreaterEqual(time.monotonic() - start, 0.5)
        self.assertEqual(data[read_kxhdr(data)[1]:], self.BODY)
        listener = self.fetch("data-no-connect@36")
        listener.sock.settimeout(0.5)
        self.assertRaises(socket.timeout, listener.sock.accept)

    def test_upload_without_connecting(self):
        peer = self.start_peer("--misbehave", "upload-no-connect@38")
        c = self.connect(peer)
        c.request(24, 0, "alice", "wonder")
        sender = Listener()
        self.addCleanup(sender.close)
        self.assertEqual(c.request(38, 0x21, sender.port, "127.0.0.1", "/notes").int(), 27)


class UnsolicitedTest(PeerCase):
    ECHO = "FROM korvex-peer [peer]\nTO alice\nDATA ECHO_REQUEST"

    def test_messages_at_chosen_times(self):
        peer = self.start_peer("--unsolicited", "after-identify=echo",
                               "--unsolicited", "before-7=msg:hello\\nthere",
                               "--unsolicited", "after-44=data:payload")
        c = self.connect(peer)
        c.request(24, 0, "alice", "wonder")
        c.request(7, 0x20)                 # collects the echo and the notice
        c.request(44, 0x11)
        c.request(4, 0x20)                 # collects what followed 44
        self.assertEqual(c.messages, [
            self.ECHO,
            "FROM korvex-peer [peer]\nTO alice\nMSG hello\nthere",
            "FROM korvex-peer [peer]\nTO alice\nDATA payload",
        ])

    def test_server_messages_keep_the_version_word(self):
        peer = self.start_peer("--version", "712", "--unsolicited", "after-hello=raw:plain")
        c = self.connect(peer)
        msg_id, code, body = c.read_message()
        self.assertEqual((msg_id, code, body), (712 | 0x40000000, 25, b"plain\0"))

    def test_periodic_messages_and_other_codes(self):
        peer = self.start_peer("--unsolicited", "every-0.2=echo:clock",
                               "--unsolicited", "after-request-2=code:13",
                               "--unsolicited", "after-request-2=reply:12")
        c = self.connect(peer)
        c.request(7, 0x20)
        got = [c.read_message() for _ in range(3)]
        codes = [code for _, code, _ in got]
        self.assertIn(13, codes)
        self.assertIn(12, codes)
        c.sock.settimeout(2)
        while True:
            msg_id, code, body = c.read_message()
            if code == 25:
                break
        self.assertIn(b"[clock]", body)


if __name__ == "__main__":
    unittest.main()
