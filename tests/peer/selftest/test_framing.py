"""Framing in both forms and both byte orders, as the client and peer agree them."""

import os
import socket
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from kxpeer.wire import Decoder, Encoder, Form, MessageReader, frame   # noqa: E402
from kxclient import lzw_decode                                       # noqa: E402
from peerbase import PeerCase, field                                  # noqa: E402


class WireUnitTest(unittest.TestCase):
    def test_integer_encodings(self):
        cases = [
            # form, value, bytes
            (Form(False), -1, b"4294967295 "),
            (Form(False), 42, b"42 "),
            (Form(True, write_big=False), -1, b"\xff\xff\xff\xff"),
            (Form(True, write_big=False), 0x01020304, b"\x04\x03\x02\x01"),
            (Form(True, write_big=True), 0x01020304, b"\x01\x02\x03\x04"),
        ]
        for form, value, wire in cases:
            with self.subTest(form=form.describe(), value=value):
                self.assertEqual(Encoder(form).int(value).bytes(), wire)

    def test_decoder_reads_what_the_client_writes(self):
        text = Decoder(Form(False), b"  4294967295 17 abc\0 2.5 ")
        self.assertEqual(text.int(), -1)
        self.assertEqual(text.int(), 17)
        self.assertEqual(text.string(), b"abc")
        big = Decoder(Form(True, read_big=True), b"\x00\x00\x00\x2a")
        self.assertEqual(big.int(), 42)

    def test_text_length_field_of_a_42_byte_message(self):
        body = b"x" * (42 - 11 - len(b"1 7 "))
        msg = frame(Form(False), 1, 7, body)
        self.assertEqual(len(msg), 42)
        self.assertEqual(msg[:11], b"        42 ")

    def test_reader_cuts_two_messages_from_one_segment(self):
        form = Form(True)
        reader = MessageReader(form)
        reader.feed(frame(form, 1, 7, b"ab") + frame(form, 2, 9, b"")[:5])
        first = reader.next_message()
        self.assertEqual((first.id, first.code, first.body), (1, 7, b"ab"))
        self.assertIsNone(reader.next_message())


class NegotiationTest(PeerCase):
    def test_forms_and_orders_accepted_from_the_client(self):
        # (binary asked, client big-endian) -> the form in force
        for binary, big in ((True, False), (True, True), (False, False), (False, True)):
            with self.subTest(binary=binary, big=big):
                c = self.connect(binary=binary, big=big)
                self.assertEqual(c.binary, binary)
                body = c.request(7, 0x20)
                self.assertEqual(body.int(), 0)
                self.assertTrue(body.string().startswith(b"ObjectID=0x00000020\n"))
                self.assertTrue(body.done())

    def test_text_form_bytes_on_the_wire(self):
        c = self.connect(binary=False, hello=False)
        c.send_message(717, 25, b"")
        raw_len = c.recv_exact(11)
        self.assertRegex(raw_len.decode(), r"^ {8}\d\d $")
        rest = c.recv_exact(int(raw_len) - 11)
        # the id is the version word as unsigned decimal text, then the code
        self.assertTrue(rest.startswith(b"717 25 0 ServerString$"), rest)

    def test_big_endian_peer(self):
        peer = self.start_peer("--order", "big")
        for big in (False, True):
            with self.subTest(client_big=big):
                c = self.connect(peer, binary=True, big=big)
                self.assertEqual(c.server_order, b"B")
                self.assertEqual(c.request(7, 0x1).int(), 0)

    def test_order_mirrors_the_client_when_asked(self):
        peer = self.start_peer("--order", "client")
        for big, letter in ((False, b"l"), (True, b"B")):
            c = self.connect(peer, binary=True, big=big)
            self.assertEqual(c.server_order, letter)

    def test_text_only_peer_answers_F(self):
        peer = self.start_peer("--form", "text")
        c = self.connect(peer, binary=True)
        self.assertFalse(c.binary)
        self.assertEqual(c.request(7, 0x1).int(), 0)

    def test_peer_reads_integers_in_its_own_order(self):
        # a big-endian peer and a little-endian client: the client writes
        # big-endian, the peer answers little-endian
        peer = self.start_peer("--order", "big")
        s = socket.create_connection(("127.0.0.1", peer.port), timeout=5)
        self.addCleanup(s.close)
        s.sendall(b"T")
        self.assertEqual(s.recv(1), b"T")
        s.sendall(b"l")
        self.assertEqual(s.recv(1), b"B")
        s.sendall(struct.pack(">III", 12, 717, 25))
        head = s.recv(12)
        length, word, code = struct.unpack("<III", head)
        self.assertEqual((word & 0x3FFF, code), (717, 25))

    def test_a_vanishing_client_leaves_the_peer_serving(self):
        s = socket.create_connection(("127.0.0.1", self.peer.port), timeout=5)
        s.sendall(b"T")
        s.recv(1)
        s.sendall(b"l")
        s.recv(1)
        s.sendall(struct.pack("<III", 40, 1, 7)[:7])   # half a header, then gone
        s.close()
        c = self.connect()
        self.assertEqual(c.request(7, 0x1).int(), 0)
        closed = self.wait_log(self.log_path, lambda f: f[1] == "close" and
                               field(f, "reason") == "eof")
        self.assertTrue(closed)


class CompressionTest(PeerCase):
    IDS = [0x01, 0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x30, 0x31, 0x32, 0x33]

    def record_block(self, c):
        body = c.request(11, 0, self.IDS)
        self.assertEqual(body.int(), 0)
        ids = body.ids()
        lengths = [body.int() for _ in ids]
        return sum(lengths), body.rest()

    def test_compressed_only_when_agreed(self):
        # peer option, client asks -> compressing
        cases = [("on", True, True), ("on", False, False), ("off", True, False),
                 ("force", False, True)]
        for option, asks, compressing in cases:
            with self.subTest(option=option, asks=asks):
                peer = self.start_peer("--compress", option)
                c = self.connect(peer, compress=asks)
                self.assertEqual(c.compressing, compressing)
                plain_size, block = self.record_block(c)
                if compressing:
                    self.assertLess(len(block), plain_size)
                    self.assertEqual(len(lzw_decode(block)), plain_size)
                else:
                    self.assertEqual(len(block), plain_size)
                    self.assertTrue(block.startswith(b"ObjectID=0x00000001\n"))
                if option == "on" and asks:
                    # and the records are the very ones request 7 gives
                    text = lzw_decode(block)
                    one = c.request(7, 0x20)
                    one.int()
                    self.assertIn(one.string(), text)


if __name__ == "__main__":
    unittest.main()
