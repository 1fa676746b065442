"""Every version branch of the replies the client reads."""

import unittest

from kxclient import Listener, read_kxhdr
from peerbase import PeerCase, field

VERSIONS = (5, 6, 7, 8, 700, 702, 703, 704, 705, 711, 712, 713, 716, 717)
GOPHER = ("Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=gopher.example\n"
          "Port=70\nPath=/1/\nGopherType=1")
README = ("Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=gopher.example\n"
          "Port=70\nPath=/0/readme.txt\nGopherType=0")


class VersionTest(PeerCase):
    def peer_at(self, version):
        peer = self.start_peer("--version", str(version))
        c = self.connect(peer)
        c.request(24, 1, "alice@127.0.0.1", "wonder", "Tolm")
        return peer, c

    def test_hello_layout_and_agreed_version(self):
        for v in VERSIONS:
            with self.subTest(version=v):
                peer = self.start_peer("--version", str(v))
                c = self.connect(peer)
                self.assertEqual(c.server_version, v)
                self.assertEqual(c.version, v)
                # the client parses a status before the text from 713 on
                self.assertEqual(c.server_text, "ServerString$Korvex reference peer")
                self.assertEqual(c.hello_status, 0)

    def test_status_words_and_echoed_ids(self):
        for v in VERSIONS:
            with self.subTest(version=v):
                peer, c = self.peer_at(v)   # wait_reply checks the echoed id
                found = c.request(7, 0x20)
                self.assertEqual(found.int(), 0 if v >= 705 else 1)
                self.assertTrue(found.string().startswith(b"ObjectID=0x00000020"))
                missing = c.request(7, 0x7777)
                self.assertEqual(missing.int(), 8 if v >= 705 else 0)
                self.assertTrue(missing.done())

                members = c.request(44, 0x11)
                if v >= 705:
                    self.assertEqual(members.int(), 0)
                self.assertEqual(members.ids(), [0x20, 0x21, 0x40, 0x41, 0x50])

                hits = c.request(9, "Name=music")
                if v >= 705:
                    self.assertEqual(hits.int(), 0)
                elif v >= 702:
                    self.assertEqual(hits.int(), 1)
                self.assertEqual(hits.ids(), [0x11])
                self.assertTrue(hits.done())

                dest = c.request(2, 0x30)
                if v >= 705:
                    self.assertEqual(dest.int(), 0)
                self.assertEqual(dest.int(), 0x21)

                recs = c.request(11, 0, [0x21])
                if v >= 705:
                    self.assertEqual(recs.int(), 0)
                self.assertEqual(recs.ids(), [0x21])

    def test_query_overflow_forms(self):
        for v, head in ((700, []), (703, [0]), (717, [35])):
            with self.subTest(version=v):
                peer = self.start_peer("--version", str(v), "--query-limit", "2")
                c = self.connect(peer)
                body = c.request(9, "Author=alice")
                self.assertEqual([body.int() for _ in head], head)
                self.assertEqual(body.ids(), [])

    def test_old_servers_keep_links_apart_from_anchors(self):
        for v in (5, 6, 7):
            with self.subTest(version=v):
                peer, c = self.peer_at(v)
                rec = c.request(7, 0x30)
                rec.int()
                text = rec.string()
                self.assertEqual(b"TAnchor=" in text, v >= 7)
                self.assertEqual(b"Dest=" in text, v >= 7)
                link = c.request(18, 0x30)
                if v < 6:
                    self.assertEqual(link.int(), 26)
                    continue
                self.assertEqual(link.int(), 0)
                link_id, dest = link.int(), link.int()
                self.assertEqual(dest, 0x21)
                hint = c.request(18, 0x33)
                self.assertEqual(hint.int(), 0)
                hint_link, hint_dest = hint.int(), hint.int()
                self.assertEqual(hint_dest, 0)
                link_rec = c.request(7, hint_link)
                link_rec.int()
                self.assertIn(b"Hint=URL:http://www.example.org/music.html", link_rec.string())
                self.assertEqual(c.request(18, 0x31).int(), 8)   # a destination anchor

    def test_requests_newer_than_the_peer_are_refused(self):
        listener = Listener()
        self.addCleanup(listener.close)
        # (code, fields, the lowest version that knows it, what the first
        # integer of the reply is when refused / when served)
        cases = [
            # before 705 a refused list reply can only be empty
            (19, (0x21,), 6, 0, 1),
            (32, ("Type=Anchor\nPosition=1 2\n", "Doc=0x00000020\nDest=0x00000021\n"), 7, 26, 0),
            (43, (0x7F000001, 0x20), 704, 26, 0),
            (46, ("127.0.0.1", listener.port, "Type=Document\nDocumentType=CGI\nPath=/cgi-bin/echo",
                  "", 1), 711, 26, 0),
        ]
        for code, fields, first, refused, served in cases:
            for v in (first - 1, first):
                with self.subTest(code=code, version=v):
                    peer, c = self.peer_at(v)
                    head = c.request(code, *fields).int()
                    self.assertEqual(head, refused if v < first else served)

    def test_remote_member_text_field(self):
        for v in (8, 716, 717):
            with self.subTest(version=v):
                peer, c = self.peer_at(v)
                text = ("raw", b"\0\0\0\0" if c.binary else b"0 ") if v >= 717 else ""
                body = c.request(40, GOPHER, text)
                self.assertEqual(body.int(), 0)
                n = body.int()
                lengths = [body.int() for _ in range(n)]
                records = c.expand(body.rest())
                self.assertEqual(len(records), sum(lengths))
                self.assertIn(b"Path=/1/archive", records)
                line = self.wait_log(peer.log_path, lambda f: f[1] == "req" and field(f, "code") == "40")
                self.assertIsNone(field(line, "trailing"))

    def test_remote_content_text_field(self):
        for v in (8, 716, 717):
            with self.subTest(version=v):
                peer, c = self.peer_at(v)
                listener = Listener()
                fields = ["127.0.0.1", listener.port, README]
                if v == 716:
                    fields.append("")
                elif v >= 717:
                    fields.append(("raw", c.enc(0)))
                fields.append(1)
                self.assertEqual(c.request(41, *fields).int(), 0)
                data = listener.receive_all()
                listener.close()
                header, size = read_kxhdr(data)
                self.assertEqual(data[size:], b"This is the readme of the gopher example.\n")
                self.assertEqual(header["ref"], "1")


if __name__ == "__main__":
    unittest.main()
