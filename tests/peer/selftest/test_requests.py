"""What the peer answers to each request of the catalogue."""

import os
import sys
import threading
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from kxpeer import descrypt                           # noqa: E402
from kxclient import Listener, read_kxhdr, wait_for
from peerbase import PeerCase, field


def records_of(client, body):
    status = body.int()
    ids = body.ids()
    lengths = [body.int() for _ in ids]
    data = client.expand(body.rest()) if ids else b""
    out, pos = [], 0
    for n in lengths:
        out.append(data[pos:pos + n])
        pos += n
    return status, ids, out


class ReadingTest(PeerCase):
    """Requests that change nothing share one peer."""

    def test_identification(self):
        # (user text, password) -> the identification answer
        cases = [
            ("alice@127.0.0.1", "wonder", "0x00000003 alice(127.0.0.1)"),
            ("alice", "wonder", "0x00000003 alice(127.0.0.1)"),
            ("alice@10.1.2.3", "wrong", "0x00000002 anonymous(10.1.2.3)"),
            ("bob@127.0.0.1", "oldpass", "0x00000004 bob(127.0.0.1)"),
            ("carol@127.0.0.1", "XNIL", "0x00000006 carol(127.0.0.1)"),
            ("nobody@127.0.0.1", "x", "0x00000002 anonymous(127.0.0.1)"),
            ("anonymous@127.0.0.1", "XNIL", "0x00000002 anonymous(127.0.0.1)"),
        ]
        c = self.connect()
        for user, password, answer in cases:
            with self.subTest(user=user, password=password):
                body = c.request(24, 0, user, password)
                self.assertEqual(body.string().decode(), answer)
                self.assertTrue(body.done())

    def test_password_hashes_are_shown_only_to_their_user(self):
        c = self.connect()
        c.request(24, 0, "bob", "builder")
        for oid, visible in ((0x04, True), (0x03, False)):
            body = c.request(7, oid)
            body.int()
            self.assertEqual(b"Passwd=" in body.string(), visible)

    def test_key_queries(self):
        cases = [
            ("Name=music", [0x11]),
            ("Title=en:music", [0x11, 0x20]),            # whole title or one of its words
            ("Title=ge:music", []),                       # another language
            ("Title=:Musik", [0x11]),                     # any language
            ("Keyword=SCORES", [0x21]),
            ("Author=alice&&Type=Document", [0x10, 0x20, 0x21]),
            ("(Title=en:music||Keyword=scores)&!Author=system", [0x20, 0x21]),
            ("TimeCreated=97/01/01 00:00:00^", [0x21, 0x31]),
            ("UName=alice\n", [0x03]),
            ("UGroup=editors\n", [0x05]),
            ("Group=editors\n", [0x03]),
            ("Name=mus*", [0x11]),
            ("Passwd=alZTihb7uHhr6", []),
        ]
        c = self.connect()
        for query, hits in cases:
            with self.subTest(query=query):
                body = c.request(9, query)
                self.assertEqual(body.int(), 0)
                self.assertEqual(body.ids(), hits)

    def test_scoped_and_broken_queries(self):
        c = self.connect()
        body = c.request(10, [0x10], "Author=alice")
        self.assertEqual((body.int(), body.ids()), (0, [0x21]))
        body = c.request(10, [0x01], "Keyword=music")   # all the way down
        self.assertEqual((body.int(), body.ids()), (0, [0x20]))
        for broken in ("Name", "(Name=x", "&&Name=x"):
            with self.subTest(query=broken):
                body = c.request(9, broken)
                self.assertEqual((body.int(), body.ids()), (23, []))

    def test_records_by_ids(self):
        c = self.connect()
        status, ids, recs = records_of(c, c.request(11, 0, [0x21, 0x7777, 0x20]))
        self.assertEqual((status, ids), (0, [0x21, 0x20]))
        self.assertTrue(recs[0].startswith(b"ObjectID=0x00000021\n"))
        self.assertFalse(recs[0].endswith(b"\n"))
        status, ids, _ = records_of(c, c.request(11, 0, [0x20, 0x21], "Keyword=scores"))
        self.assertEqual(ids, [0x21])
        self.assertEqual(records_of(c, c.request(11, 0, [0x7777]))[:2], (8, []))

    def test_full_text(self):
        c = self.connect()

        def hits(code, *fields):
            body = c.request(code, *fields)
            status = body.int()
            found = []
            for _ in range(body.int()):
                oid, weight = body.int(), body.float()
                found.append((oid, weight, [body.int() for _ in range(body.int())]))
            self.assertTrue(body.done())
            return status, found

        status, found = hits(34, "en:digital&library")
        self.assertEqual(status, 0)
        self.assertEqual([(o, w) for o, w, _ in found], [(0x21, 4.0), (0x20, 3.0)])
        self.assertEqual(found[0][2], [5, 10, 13, 20])
        self.assertEqual(hits(35, [0x10], "scores")[1][0][0], 0x21)
        self.assertEqual(hits(34, "music&!digital")[1], [])
        self.assertEqual([h[:2] for h in hits(34, "music | nothing*")[1]], [(0x20, 3.0), (0x21, 2.0)])
        self.assertEqual(hits(35, [], "music")[0], 6)
        self.assertEqual(hits(34, "(music")[0], 23)

    def test_related_objects(self):
        c = self.connect()
        cases = [
            (4, 0x21, [0x10, 0x11]),          # parents
            (8, 0x20, [0x30, 0x32, 0x33]),    # anchors of a document
            (19, 0x21, [0x30]),               # links that lead to it
            (3, 0x11, [0x20, 0x21, 0x40, 0x41, 0x50]),
            (5, 0x01, [0x10, 0x11, 0x12, 0x13]),
            (44, 0x12, [0x22]),
        ]
        for code, oid, ids in cases:
            with self.subTest(code=code):
                body = c.request(code, oid)
                self.assertEqual((body.int(), body.ids()), (0, ids))
        self.assertEqual(c.request(6, 0x30).ids(), [0x20])   # no status word
        self.assertEqual(c.request(44, 0x20).int(), 11)      # not a collection
        self.assertEqual(c.request(2, 0x33).int(), 8)        # a hint has no id

    def test_global_ids(self):
        c = self.connect()
        cases = [((0x7F000001, 0x20), (0, 0x20)), ((0x0A000001, 0x99), (0, 0x50)),
                 ((0x0A000001, 0x98), (8, None))]
        for fields, (status, local) in cases:
            body = c.request(43, *fields)
            self.assertEqual(body.int(), status)
            if local is not None:
                self.assertEqual(body.int(), local)

    def test_document_content_over_a_data_connection(self):
        c = self.connect()
        listener = Listener()
        self.addCleanup(listener.close)
        self.assertEqual(c.request(36, 0x22, listener.port, "127.0.0.1", "Refno=0x00000001").int(), 0)
        data = listener.receive_all()
        header, size = read_kxhdr(data)
        self.assertEqual(header, {"ver": "1", "type": "2", "sz": str(len(data) - size),
                                  "ref": "1", "Z": "0"})
        self.assertTrue(data[size:].startswith(b"GIF89a"))
        # no reference text: ref -1; a collection has no content
        self.assertEqual(c.request(36, 0x21, listener.port, "127.0.0.1").int(), 0)
        self.assertEqual(read_kxhdr(listener.receive_all())[0]["ref"], "-1")
        self.assertEqual(c.request(36, 0x11, listener.port, "127.0.0.1").int(), 4)

    def test_cgi_document(self):
        c = self.connect()
        listener = Listener()
        self.addCleanup(listener.close)
        record = ("Type=Document\nDocumentType=CGI\nPath=/cgi-bin/echo"
                  "\nCGI_REQUEST_METHOD=GET\nCGI_QUERY_STRING=a=1&b=2")
        self.assertEqual(c.request(46, "127.0.0.1", listener.port, record,
                                   ("raw", c.enc(0)), 1).int(), 0)
        data = listener.receive_all()
        body = data[read_kxhdr(data)[1]:]
        self.assertIn(b"CGI_REQUEST_METHOD=GET\n", body)
        self.assertIn(b"CGI_QUERY_STRING=a=1&b=2\n", body)

    def test_remote_listing_that_the_peer_lacks(self):
        c = self.connect()
        record = "Type=Document\nDocumentType=Remote\nProtocol=ftp\nHost=ftp.example\nPath=/"
        body = c.request(40, record, ("raw", c.enc(0)))
        self.assertEqual((body.int(), body.int()), (0x0408, 0))

    def test_echo_reply_is_logged_and_not_answered(self):
        c = self.connect()
        c.request(26, 0, "message peer ECHO_REPLY\nTolm", wait=False)
        self.assertEqual(c.request(7, 0x01).int(), 0)   # the next reply is its own
        line = self.wait_log(self.log_path, lambda f: f[1] == "req" and field(f, "code") == "26")
        self.assertEqual(field(line, "text"), "message peer ECHO_REPLY\\nTolm")


class ChangeTest(PeerCase):
    """Each test changes objects, so each has a peer of its own."""

    def setUp(self):
        super().setUp()
        self.own = self.start_peer()
        self.c = self.connect(self.own)
        self.c.request(24, 0, "alice", "wonder")

    def record(self, oid, client=None):
        body = (client or self.c).request(7, oid)
        status = body.int()
        return status, body.string().decode() if status == 0 else ""

    def test_insert_documents_and_collections(self):
        c = self.c
        body = c.request(14, 0x11, "Type=Document\nDocumentType=text\nName=new-doc\nTitle=en:New\n")
        self.assertEqual(body.int(), 0)
        new = body.int()
        status, rec = self.record(new)
        self.assertTrue(rec.startswith("ObjectID=0x%08x\n" % new))
        for line in ("Parent=0x00000011", "Author=alice", "Name=new-doc"):
            self.assertIn(line + "\n", rec + "\n")
        self.assertIn("\nTimeCreated=", rec)
        cases = [
            (17, (0x11, "Type=Document\nDocumentType=collection\nName=music\n"), 17),   # name taken
            (17, (0x20, "Type=Document\nDocumentType=collection\nName=sub\n"), 13),     # parent no collection
            (14, (0x11, "Type=Document\nDocumentType=collection\nName=x\n"), 25),       # use 17
            (15, (0x11, "Type=Anchor\nPosition=1 2\n"), 0),                             # a collection is a document
            (14, (0x7777, "Type=Document\nDocumentType=text\n"), 8),
        ]
        for code, fields, status in cases:
            with self.subTest(code=code, fields=fields):
                self.assertEqual(c.request(code, *fields).int(), status)
        anon = self.connect(self.own)
        self.assertEqual(anon.request(14, 0x11, "Type=Document\nDocumentType=text\n").int(), 1)

    def test_membership_changes(self):
        c = self.c
        cases = [
            # code, flag, from, to, ids -> status
            (22, 0, 0, 0x13, [0x20], 0),       # add
            (22, 1, 0x11, 0x10, [0x20], 0),    # move
            (22, 1, 0x11, 0, [0x20], 21),      # no longer there
            (22, 0, 0, 0x13, [0x11], 25),      # a collection needs 23
            (23, 0, 0, 0x13, [0x20], 11),      # and 23 needs a collection
            (23, 1, 0x01, 0x12, [0x11], 0),    # collection moved into the cluster
            (23, 0, 0, 0x11, [0x01], 14),      # root into its own descendant
            (22, 0, 0, 0x21, [0x20], 13),      # into a document
        ]
        for code, flag, src, dst, ids, status in cases:
            with self.subTest(code=code, flag=flag, src=src, dst=dst):
                self.assertEqual(c.request(code, flag, src, dst, ids).int(), status)
        body = c.request(4, 0x20)
        self.assertEqual((body.int(), body.ids()), (0, [0x10, 0x13]))

    def test_attribute_changes_and_password_change(self):
        c = self.c
        cases = [
            ("add Keyword=new", 0),
            ("rem Keyword=new", 0),
            ("rem Keyword=never", 21),
            ("add Keyword=music", 22),
            ("rem Type=Document", 20),
            ("add Name=music", 17),
            ("bogus", 23),
            ("rem Title=en:Introduction to music\\add Title=en:Intro\\add Path=C:\\x", 0),
        ]
        for text, status in cases:
            with self.subTest(text=text):
                self.assertEqual(c.request(27, 0x20, text).int(), status)
        rec = self.record(0x20)[1]
        self.assertIn("\nTitle=en:Intro\n", rec)
        self.assertIn("\nPath=C:\\x", rec)
        # a user changes its own password as the client does it
        new_hash = descrypt.crypt("newpass", "ab")
        self.assertEqual(c.request(27, 0x03, "rem Passwd=alZTihb7uHhr6\\add Passwd=" + new_hash).int(), 0)
        other = self.connect(self.own)
        self.assertTrue(other.request(24, 0, "alice", "wonder").string().endswith(b" anonymous(127.0.0.1)"))
        self.assertTrue(other.request(24, 0, "alice", "newpass").string().endswith(b" alice(127.0.0.1)"))

    def test_locks_between_connections(self):
        a, b = self.c, self.connect(self.own)
        b.request(24, 0, "bob", "builder")
        status, rec = a.request(29, 0x21).int(), None
        self.assertEqual(status, 0)
        self.assertEqual(b.request(29, 0x21).int(), 19)
        self.assertEqual(b.request(27, 0x21, "add Keyword=b").int(), 19)
        self.assertEqual(a.request(27, 0x21, "add Keyword=a").int(), 0)
        a.request(30, 0x21, wait=False)                  # no reply
        # another connection's thread: the unlock may take a moment
        self.assertTrue(wait_for(lambda: b.request(27, 0x21, "add Keyword=b").int() == 0))
        self.assertEqual(b.request(29, 0x21).int(), 0)
        b.close()                                        # a lost client loses its locks
        self.assertTrue(wait_for(lambda: a.request(29, 0x21).int() == 0))

    def test_delete(self):
        c = self.c
        self.assertEqual(c.request(37, 0x11).int(), 12)      # not empty
        self.assertEqual(c.request(37, 0x20).int(), 0)
        for oid in (0x20, 0x30, 0x32, 0x33):                 # its anchors went too
            self.assertEqual(self.record(oid)[0], 8)
        self.assertEqual(c.request(37, 0x20).int(), 8)

    def test_anchors_and_links(self):
        c = self.c
        cases = [
            ("Doc=0x00000021\nDest=0x00000020\n", "Dest=0x00000020"),
            ("Doc=0x00000021\nHint=music Keyword\n", "Hint=music Keyword"),
            ("GDest=0x0a000001 0x00000099\nDoc=0x00000021\n", "GDest=0x0a000001 0x00000099"),
        ]
        for placement, line in cases:
            with self.subTest(placement=placement):
                body = c.request(32, "Type=Anchor\nPosition=0x1 0x2\n", placement)
                self.assertEqual(body.int(), 0)
                rec = self.record(body.int())[1]
                self.assertIn("\nTAnchor=Src", rec)
                self.assertIn("\n" + line, rec)
                self.assertIn("\nParent=0x00000021", rec)
        self.assertEqual(c.request(32, "Type=Anchor\n", "Doc=0x00000011\nDest=0x00007777\n").int(), 8)

    def test_old_style_anchor_and_link(self):
        peer = self.start_peer("--version", "6")
        c = self.connect(peer)
        c.request(24, 0, "alice", "wonder")
        body = c.request(15, 0x21, "Type=Anchor\nPosition=0x1 0x2\n")
        self.assertEqual(body.int(), 0)
        anchor = body.int()
        body = c.request(16, anchor, 0x20, 0, "Type=Link\n")
        self.assertEqual(body.int(), 0)
        link = body.int()
        self.assertEqual(c.request(18, anchor).int(), 0)
        body = c.request(18, anchor)
        body.int()
        self.assertEqual((body.int(), body.int()), (link, 0x20))
        self.assertEqual(c.request(16, 0x21, 0x20, 0, "Type=Link\n").int(), 25)   # no anchor

    def test_upload_then_download(self):
        c = self.c
        for n, layout in enumerate(("catalogue", "prose")):
            with self.subTest(layout=layout):
                data = ("new content %d\n" % n).encode() * 1000
                sender = Listener()
                self.addCleanup(sender.close)
                t = threading.Thread(target=sender.serve, args=(data,))
                t.start()
                if layout == "catalogue":
                    fields = (0x21, sender.port, "127.0.0.1", "/notes")
                else:
                    fields = ("127.0.0.1", sender.port, 0x21, "/notes")
                self.assertEqual(c.request(38, *fields).int(), 0)
                t.join(5)
                got = Listener()
                self.addCleanup(got.close)
                self.assertEqual(c.request(36, 0x21, got.port, "127.0.0.1").int(), 0)
                received = got.receive_all()
                self.assertEqual(received[read_kxhdr(received)[1]:], data)
        layouts = [field(f, "layout") for f in self.log_lines(self.own.log_path)
                   if f[1] == "req" and field(f, "code") == "38"]
        self.assertEqual(layouts, ["id-port-address-path", "address-port-id-path"])


if __name__ == "__main__":
    unittest.main()
