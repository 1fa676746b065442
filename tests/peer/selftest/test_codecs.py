"""The peer's LZW compressor and crypt(3) against independent decoders."""

import os
import random
import shutil
import subprocess
import sys
import unittest
import warnings

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from kxpeer import descrypt, lzw          # noqa: E402
from kxclient import lzw_decode           # noqa: E402
from peerbase import need                 # noqa: E402


def samples():
    rng = random.Random(7)
    words = [b"Title=en:", b"music ", b"x", b"ObjectID=0x0000", b"\n", b"\0\xff"]
    return {
        "empty": b"",
        "one byte": b"a",
        "kwkwk run": b"a" * 50,
        "classic": b"TOBEORNOTTOBEORTOBEORNOT#",
        "all bytes": bytes(range(256)) * 20,
        "random (fills the table, clears)": bytes(rng.randrange(256) for _ in range(30000)),
        "records": b"".join(rng.choice(words) for _ in range(40000)),
    }


class LzwTest(unittest.TestCase):
    def test_round_trip_through_independent_decoder(self):
        for name, data in samples().items():
            with self.subTest(name):
                self.assertEqual(lzw_decode(lzw.compress(data)), data)

    def test_clear_code_is_emitted_when_the_table_fills(self):
        data = samples()["random (fills the table, clears)"]
        packed = lzw.compress(data)
        # 9..12-bit groups and at least one clear: the stream is not just
        # longer than the input but decodes only when the clear is honoured
        self.assertGreater(len(packed), len(data))
        self.assertEqual(lzw_decode(packed), data)

    def test_gzip_reads_the_stream_as_a_compress_file(self):
        need(self, shutil.which("gzip"), "gzip is not installed")
        for bits in (9, 12, 16):
            for name, data in samples().items():
                with self.subTest(name, bits=bits):
                    image = lzw.compress_file_image(data, bits)
                    out = subprocess.run(["gzip", "-dc"], input=image, capture_output=True)
                    self.assertEqual(out.returncode, 0, out.stderr)
                    self.assertEqual(out.stdout, data)


class CryptTest(unittest.TestCase):
    CASES = [("", "ab"), ("a", "./"), ("wonder", "al"), ("wonderla", "zZ"),
             ("wonderlandXYZ", "zZ"), ("\x7fhigh\x01", "9A"), ("XNIL", "Qq")]

    def test_matches_the_system_crypt(self):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            try:
                import crypt as system
            except ImportError:
                system = None
        need(self, system, "this Python has no crypt module")
        for key, salt in self.CASES:
            with self.subTest(key=key, salt=salt):
                self.assertEqual(descrypt.crypt(key, salt), system.crypt(key, salt))

    def test_properties(self):
        h = descrypt.crypt("wonderland", "ab")
        self.assertEqual(len(h), 13)
        self.assertTrue(h.startswith("ab"))
        self.assertEqual(descrypt.crypt("wonderlaXX", "ab"), h)  # 8 characters count
        self.assertTrue(descrypt.verify("wonderland", h))
        self.assertFalse(descrypt.verify("wonderl", h))
        self.assertEqual(descrypt.crypt("x", "a")[:2], "aa")      # one-character salt


if __name__ == "__main__":
    unittest.main()
