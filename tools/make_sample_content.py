#!/usr/bin/env python3
"""Makes the sample hypermedia web in data/sample.

The web is written in the content format of the reference peer
(tests/peer/README.md): one attribute record per object (*.rec), its
content beside it (*.body), and what the peer knows of remote sources
(*.remote). Pictures come from ImageMagick (convert), except the EPS
picture, which the EPS plug-in's own writer makes (tools/sample_eps: the
plug-in reads only EPS files of its writer); the sound, the song, the movie, the
records and the password hashes come from this script. The output is the
same on every run (fixed salts, no time stamps in the files), so a rerun
changes nothing unless this script did.

    tools/make_sample_content.py [--out data/sample] [--eps-maker PROGRAM]

Needs: python3, ImageMagick's convert (BMP, GIF, TIFF, PCX, XBM), and the
built make_sample_eps (found below build/ unless --eps-maker names it).
"""

import argparse
import glob
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The server address in the documents' global ids: 127.0.0.1, the server
# on this machine that serves the web.
GLOBAL_SERVER = "0x7f000001"


# ---- Password hashes -----------------------------------------------------------

def crypt3(password, salt):
    """Traditional DES crypt(3), as the server stores passwords."""
    try:
        import warnings
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            import crypt  # gone from Python 3.13 on
        return crypt.crypt(password, salt)
    except ImportError:
        # The reference peer carries its own traditional crypt(3).
        sys.path.insert(0, os.path.join(ROOT, "tests", "peer"))
        from kxpeer import descrypt
        return descrypt.crypt(password, salt)


# ---- Records ----------------------------------------------------------------------

def fmt_id(n):
    return "0x%08x" % n


class Web:
    """Collects the objects and writes them out."""

    def __init__(self, out):
        self.out = out
        self.files = {}  # relative path -> bytes

    def put(self, rel, data):
        if rel in self.files:
            raise ValueError("written twice: " + rel)
        self.files[rel] = data if isinstance(data, bytes) else data.encode("latin-1")

    def record(self, rel, lines, body=None, comment=None):
        text = ""
        if comment:
            text += "# " + comment + "\n"
        text += "".join(k + "=" + v + "\n" for k, v in lines)
        self.put(rel + ".rec", text)
        if body is not None:
            self.put(rel + ".body", body)

    def write(self):
        for rel, data in sorted(self.files.items()):
            path = os.path.join(self.out, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)


def position(body, phrase, nth=0):
    """The byte range of a phrase in a body, as an anchor's Position value."""
    data = body if isinstance(body, bytes) else body.encode("latin-1")
    start = -1
    for _ in range(nth + 1):
        start = data.index(phrase.encode("latin-1"), start + 1)
    return "%s %s" % (fmt_id(start), fmt_id(start + len(phrase)))


# ---- Pictures -----------------------------------------------------------------------

def convert(tmp, args, name):
    """Runs ImageMagick's convert; returns the bytes of the file made."""
    target = os.path.join(tmp, name)
    spec = args[-1].replace("{out}", target)
    cmd = ["convert"] + args[:-1] + ["-strip", "+set", "date:create", "+set", "date:modify", spec]
    subprocess.run(cmd, check=True)
    with open(target, "rb") as f:
        return f.read()


def writer_eps(tmp, maker, name):
    """The EPS picture as the EPS plug-in's writer makes it."""
    target = os.path.join(tmp, name)
    subprocess.run([maker, target], check=True)
    with open(target, "rb") as f:
        return f.read()


def find_eps_maker():
    for pattern in ("build/*/tools/sample_eps/make_sample_eps", "build*/tools/sample_eps/make_sample_eps"):
        found = sorted(glob.glob(os.path.join(ROOT, pattern)))
        if found:
            return found[0]
    return None


def pictures(tmp, eps_maker):
    planet = ["-size", "96x96", "xc:black", "-fill", "#d8b070", "-draw", "circle 48,48 48,18",
              "-fill", "none", "-stroke", "#f0e0b0", "-strokewidth", "3",
              "-draw", "ellipse 48,48 44,10 0,360"]
    return {
        "saturn.bmp": convert(tmp, planet + ["-type", "Palette", "-colors", "16", "BMP3:{out}"],
                              "saturn.bmp"),
        "jupiter.gif": convert(tmp, ["-size", "96x96", "xc:black", "-fill", "#c89060",
                                     "-draw", "circle 48,48 48,12", "-fill", "#a05030",
                                     "-draw", "rectangle 14,40 82,46", "-fill", "#e0c090",
                                     "-draw", "rectangle 16,54 80,58", "-fill", "#b03020",
                                     "-draw", "ellipse 62,62 8,4 0,360", "-colors", "32",
                                     "GIF:{out}"], "jupiter.gif"),
        "nebula.tif": convert(tmp, ["-seed", "7", "-size", "80x64", "plasma:fractal",
                                    "-blur", "0x2", "-depth", "8", "-compress", "None",
                                    "TIFF:{out}"], "nebula.tif"),
        "comet.pcx": convert(tmp, ["-size", "96x64", "gradient:#000020-#102050", "-fill", "white",
                                   "-draw", "circle 70,20 73,20", "-fill", "#a0c0ff",
                                   "-draw", "polygon 68,22 10,58 20,60 72,24", "-colors", "16",
                                   "PCX:{out}"], "comet.pcx"),
        "star.xbm": convert(tmp, ["-size", "32x32", "xc:white", "-fill", "black",
                                  "-draw", "polygon 16,1 20,12 31,12 22,19 26,30 16,23 6,30 "
                                           "10,19 1,12 12,12", "-monochrome", "XBM:{out}"],
                            "star.xbm"),
        "orbit.eps": writer_eps(tmp, eps_maker, "orbit.eps"),
    }


# ---- Sound and movie ------------------------------------------------------------------

def sound():
    """Half a second of a falling tone with an echo: 8-bit mono, 11025 Hz."""
    rate = 11025
    n = rate // 2
    samples = bytearray()
    phase = 0.0
    for i in range(n):
        t = i / n
        freq = 880.0 - 440.0 * t
        phase += 2 * math.pi * freq / rate
        v = math.sin(phase) * (1.0 - t) * 0.6
        if i > rate // 10:
            back = i - rate // 10
            v += 0.3 * math.sin(2 * math.pi * (880.0 - 440.0 * back / n) * back / rate) * (1.0 - t)
        samples.append(max(0, min(255, int(128 + 127 * v))))
    with tempfile.TemporaryFile() as f:
        w = wave.open(f, "wb")
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(samples))
        w.close()
        f.seek(0)
        return f.read()


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def riff_list(tag, kind, data):
    return chunk(tag, kind + data)


def movie():
    """An uncompressed AVI: 20 frames of 64x48 (24-bit DIB), 10 frames a
    second, a moon going round a planet."""
    width, height, frames, fps = 64, 48, 20, 10
    row = (width * 3 + 3) // 4 * 4
    frame_size = row * height
    images = []
    for k in range(frames):
        a = 2 * math.pi * k / frames
        mx, my = 32 + 22 * math.cos(a), 24 + 14 * math.sin(a)
        data = bytearray(frame_size)
        for y in range(height):
            for x in range(width):
                b, g, r = 24, 8, 8  # night sky
                if (x - 32) ** 2 + (y - 24) ** 2 <= 81:
                    b, g, r = 60, 140, 220
                if (x - mx) ** 2 + (y - my) ** 2 <= 9:
                    b, g, r = 230, 230, 230
                # DIB rows go bottom-up.
                o = (height - 1 - y) * row + x * 3
                data[o:o + 3] = bytes((b, g, r))
        images.append(bytes(data))

    avih = struct.pack("<IIIIIIIIIIIIII", 1000000 // fps, frame_size * fps, 0, 0x10, frames, 0, 1,
                       frame_size, width, height, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, frames,
                       frame_size, 0xFFFFFFFF, frame_size, 0, 0, width, height)
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, frame_size, 0, 0, 0, 0)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_data = b"".join(chunk(b"00db", img) for img in images)
    movi = riff_list(b"LIST", b"movi", movi_data)
    index = b""
    offset = 4  # from the start of the movi list's data ("movi" counted)
    for img in images:
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(img))
        offset += 8 + len(img) + (len(img) % 2)
    body = b"AVI " + hdrl + movi + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tune():
    """A standard MIDI file of one track: a short night song of eight notes
    on the piano over two held chords, 96 beats a minute (about five
    seconds), for the General MIDI sequencer."""
    division = 480

    def var(n):
        out = [n & 0x7F]
        n >>= 7
        while n:
            out.insert(0, 0x80 | (n & 0x7F))
            n >>= 7
        return bytes(out)

    # (tick, status, data) in time order; notes in the right hand, chords
    # in the left.
    events = [(0, 0xFF, b"\x51\x03" + (625000).to_bytes(3, "big")),
              (0, 0xC0, bytes([0])), (0, 0xC1, bytes([48]))]
    melody = [67, 69, 71, 74, 72, 71, 69, 67]
    for i, note in enumerate(melody):
        start = i * division
        events.append((start, 0x90, bytes([note, 96])))
        events.append((start + division - 20, 0x80, bytes([note, 0])))
    for k, chord in enumerate(([55, 59, 62], [48, 55, 64])):
        for note in chord:
            events.append((k * 4 * division, 0x91, bytes([note, 64])))
            events.append(((k + 1) * 4 * division - 10, 0x81, bytes([note, 0])))
    # At one tick: the tempo, the programs, then notes ending before notes
    # starting.
    order = {0xF0: 0, 0xC0: 1, 0x80: 2, 0x90: 3}
    events.sort(key=lambda e: (e[0], order[e[1] & 0xF0]))
    track = b""
    last = 0
    for tick, status, data in events:
        track += var(tick - last) + bytes([status]) + data
        last = tick
    track += var(division) + b"\xFF\x2F\x00"
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, division)
    return header + b"MTrk" + struct.pack(">I", len(track)) + track


# ---- Text documents --------------------------------------------------------------------

WELCOME = """<HTML>
<HEAD>
<TITLE>Welcome to the Observatory</TITLE>
</HEAD>
<BODY>
<H1>Welcome to the Observatory</H1>
<P>This little web is a tour of the night sky. Begin with
<B>the planets</B>, read about <B>Mercury</B>, look at
<B>the Moon</B> in English or German, or walk through
<B>the picture gallery</B>.</P>
<P>Sounds and a short film are in the <B>media room</B>, and
<B>other servers</B> lead elsewhere: a web page, a gopher menu, an FTP
archive and a library catalogue.</P>
<HR>
<P><I>Sternwarte Zorl - Willkommen!</I> Die Seiten gibt es auf
Englisch und auf Deutsch.</P>
</BODY>
</HTML>
"""

EARTH = """<HTML>
<HEAD><TITLE>The Earth</TITLE></HEAD>
<BODY>
<H1>The Earth</H1>
<P>The third planet from the Sun, and the only one known to carry life.
It turns once a day and goes round the Sun once a year.</P>
<H2><A NAME="moon">Its moon</A></H2>
<P>The Earth has one large moon. Read more in <B>the Moon cluster</B>,
or compare with <B>Venus</B>, which has none.</P>
<UL>
<LI>Distance from the Sun: 150 million km
<LI>Diameter: 12&nbsp;742 km
<LI>Moons: 1
</UL>
</BODY>
</HTML>
"""

SATURN = """<HTML>
<HEAD><TITLE>Saturn</TITLE></HEAD>
<BODY>
<H1>Saturn</H1>
<P>The ringed planet. Its rings are made of ice and rock; see the
<B>picture of Saturn</B> in the gallery.</P>
<P>Saturn is lighter than water: it would float, if there were an ocean
large enough.</P>
</BODY>
</HTML>
"""

MERCURY = """<TITLE>Mercury</TITLE>
<H1>Mercury</H1>
<P>Mercury is the smallest planet and the one closest to the Sun. A
year on Mercury lasts 88 days; a day lasts longer than two of its years.

It has almost no air, so its sky is black even at noon. Its neighbour
is Venus, and beyond Venus lies the Earth.

<HR>
<IT>Merkur</IT> ist der kleinste Planet.
"""

VENUS = """<TITLE>Venus</TITLE>
<H1>Venus</H1>
<P>Venus is the brightest planet in our sky, the morning and evening
star. Thick clouds of acid hide its surface, which is hotter than
Mercury although Venus is farther from the Sun.

Back to the inner planets: Mercury.
"""

JUPITER = """<TITLE>Jupiter</TITLE>
<H1>Jupiter</H1>
<P>Jupiter is the largest planet. Its Great Red Spot is a storm larger
than the Earth that has lasted for centuries.

<L>
<LI>Moons: more than ninety
<LI>Day: ten hours
</L>

See the picture of Jupiter, or go on to Saturn.
"""

MOON_EN = """<TITLE>The Moon</TITLE>
<H1>The Moon</H1>
<P>The Moon goes round the Earth once in about 27 days and always
shows us the same face. Its light is sunlight, thrown back by grey rock
and dust.

Listen to the signal from the Moon, or watch it go round in the film.
"""

MOON_GE = """<TITLE>Der Mond</TITLE>
<H1>Der Mond</H1>
<P>Der Mond umkreist die Erde in etwa 27 Tagen und zeigt uns immer
dieselbe Seite. Sein Licht ist Sonnenlicht, das von grauem Gestein
zur&uuml;ckgeworfen wird.

H&ouml;ren Sie das Signal vom Mond, oder sehen Sie den Film.
"""

REMOTE_PAGE = """<HTML>
<HEAD><TITLE>Astronomy on the Web</TITLE></HEAD>
<BODY>
<H1>Astronomy on the Web</H1>
<P>A page on another server, fetched for the client by the Korvex
server. It links back to <A HREF="korvex:welcome">the Observatory</A>.</P>
</BODY>
</HTML>
"""


# ---- The web --------------------------------------------------------------------------

TOUR_SCRIPT = """\
/* A short tour of the Moon: its picture and name, then the film of its
   orbit, then a signal from it. Times are milliseconds. */
0    LOAD IMG 1 "#1" "20 20 0 0"
0    LOAD LBL 1 "en:The Moon|ge:Der Mond" "20 100 200 24"
0    LOAD VID 1 "#1" "240 20 0 0"
0    LOAD SND 1 "#1" "0 0 1 1"
500  SHOW IMG 1
500  SHOW LBL 1
1500 SHOW VID 1
1500 PLAY VID 1
3000 SETCAPTION LBL 1 "en:Its orbit|ge:Seine Bahn"
4500 PLAY SND 1
4500 SETCAPTION LBL 1 "en:A signal|ge:Ein Signal"
6000 HIDE VID 1
6000 MOVETO IMG 1 "240 20"
"""


def build(web, tmp, eps_maker):
    created = "96/11/04 20:00:00"

    def doc(rel, oid, lines, body=None, parents=(), author="system"):
        # The global id a server gives each of its documents: its own
        # address (this machine's, 127.0.0.1) and the id. Clients key their
        # file and picture caches by it.
        head = [("ObjectID", fmt_id(oid)), ("Type", "Document"), ("GOid", GLOBAL_SERVER + " " + fmt_id(oid))]
        tail = [("Parent", fmt_id(p)) for p in parents]
        tail += [("Author", author), ("TimeCreated", created)]
        web.record(rel, head + lines + tail, body)

    def anchor(rel, oid, parent, body, phrase, dest=None, hint=None, title=None, nth=0,
               kind="Src", keyword=None):
        lines = [("ObjectID", fmt_id(oid)), ("Type", "Anchor"), ("TAnchor", kind)]
        if dest:
            lines.append(("Dest", fmt_id(dest)))
        if hint:
            lines.append(("Hint", hint))
        if keyword:
            lines.append(("Keyword", keyword))
        lines.append(("Position", position(body, phrase, nth)))
        if title:
            lines.append(("Title", title))
        lines += [("Parent", fmt_id(parent)), ("Author", "system"), ("TimeCreated", created)]
        web.record(rel, lines)

    # Collections.
    ROOT_ID, PLANETS, INNER, OUTER, MOON, GALLERY, MEDIA, ELSEWHERE, OBSERVERS = range(0x101, 0x10A)
    coll = [
        ("collections/root", ROOT_ID, "rootcollection", "en:The Observatory", "ge:Die Sternwarte", ()),
        ("collections/planets", PLANETS, "planets", "en:The planets", "ge:Die Planeten", (ROOT_ID,)),
        ("collections/inner-planets", INNER, "inner-planets", "en:Inner planets",
         "ge:Die inneren Planeten", (PLANETS,)),
        ("collections/outer-planets", OUTER, "outer-planets", "en:Outer planets",
         "ge:Die &auml;u&szlig;eren Planeten", (PLANETS,)),
        ("collections/gallery", GALLERY, "gallery", "en:Picture gallery", "ge:Bildergalerie",
         (ROOT_ID,)),
        ("collections/media", MEDIA, "media", "en:Media room", "ge:Medienraum", (ROOT_ID,)),
        ("collections/elsewhere", ELSEWHERE, "elsewhere", "en:Other servers",
         "ge:Andere Server", (ROOT_ID,)),
        ("collections/observers", OBSERVERS, "observers", "en:Observers' corner",
         "ge:Ecke der Beobachter", (ROOT_ID,)),
    ]
    for rel, oid, name, en, ge, parents in coll:
        doc(rel, oid, [("DocumentType", "collection"), ("Name", name), ("Title", en),
                       ("Title", ge)], parents=parents)
    doc("collections/moon-cluster", MOON,
        [("DocumentType", "collection"), ("CollectionType", "Cluster"), ("Name", "moon"),
         ("Title", "en:The Moon"), ("Title", "ge:Der Mond"), ("Keyword", "moon")],
        parents=(ROOT_ID, PLANETS))

    # A timed presentation in the media room: its page plays the script
    # member (a Generic document of SubType "sync") over the other members.
    TOUR = 0x10A
    doc("collections/moon-tour", TOUR,
        [("DocumentType", "collection"), ("Name", "moon-tour"), ("Layout", "SyncPage()"),
         ("Title", "en:A short tour of the Moon"), ("Title", "ge:Ein kurzer Rundgang zum Mond")],
        parents=(MEDIA,))

    # Text documents: HTML and KTF (KTF has no MIME type).
    WELCOME_ID, MERCURY_ID, VENUS_ID, EARTH_ID, JUPITER_ID, SATURN_ID = range(0x120, 0x126)
    MOON_EN_ID, MOON_GE_ID = 0x130, 0x131
    html = [("MimeType", "text/html")]
    doc("documents/welcome.html", WELCOME_ID,
        [("DocumentType", "text")] + html +
        [("Name", "welcome"), ("Title", "en:Welcome"), ("Title", "ge:Willkommen"),
         ("Keyword", "observatory"), ("Keyword", "welcome"),
         ("PresentationHints", "CollectionHead")], WELCOME, (ROOT_ID,))
    doc("documents/mercury.ktf", MERCURY_ID,
        [("DocumentType", "text"), ("Name", "mercury"), ("Title", "en:Mercury"),
         ("Title", "ge:Merkur"), ("Keyword", "planet")], MERCURY, (INNER,))
    doc("documents/venus.ktf", VENUS_ID,
        [("DocumentType", "text"), ("Name", "venus"), ("Title", "en:Venus"),
         ("Title", "ge:Venus"), ("Keyword", "planet")], VENUS, (INNER,))
    doc("documents/earth.html", EARTH_ID,
        [("DocumentType", "text")] + html +
        [("Name", "earth"), ("Title", "en:The Earth"), ("Title", "ge:Die Erde"),
         ("Keyword", "planet"), ("Keyword", "moon")], EARTH, (INNER,))
    doc("documents/jupiter.ktf", JUPITER_ID,
        [("DocumentType", "text"), ("Name", "jupiter"), ("Title", "en:Jupiter"),
         ("Title", "ge:Jupiter"), ("Keyword", "planet")], JUPITER, (OUTER,))
    doc("documents/saturn.html", SATURN_ID,
        [("DocumentType", "text")] + html +
        [("Name", "saturn"), ("Title", "en:Saturn"), ("Title", "ge:Saturn"),
         ("Keyword", "planet"), ("Keyword", "rings")], SATURN, (OUTER,))
    # The cluster's language alternatives: one title each.
    doc("documents/moon-en.ktf", MOON_EN_ID,
        [("DocumentType", "text"), ("Name", "moon-en"), ("Title", "en:The Moon")], MOON_EN,
        (MOON,))
    doc("documents/moon-ge.ktf", MOON_GE_ID,
        [("DocumentType", "text"), ("Name", "moon-ge"), ("Title", "ge:Der Mond")], MOON_GE,
        (MOON,))

    # Pictures.
    pics = pictures(tmp, eps_maker)
    PIC_IDS = {"saturn.bmp": 0x140, "jupiter.gif": 0x141, "nebula.tif": 0x142,
               "comet.pcx": 0x143, "star.xbm": 0x144, "orbit.eps": 0x145}
    pic_info = {
        "saturn.bmp": ("image/bmp", "en:Saturn and its rings", "ge:Saturn und seine Ringe"),
        "jupiter.gif": ("image/gif", "en:Jupiter's bands", "ge:Die B&auml;nder des Jupiter"),
        "nebula.tif": ("image/tiff", "en:A nebula", "ge:Ein Nebel"),
        "comet.pcx": ("image/x-pcx", "en:A comet", "ge:Ein Komet"),
        "star.xbm": ("image/x-xbitmap", "en:A star", "ge:Ein Stern"),
        "orbit.eps": ("application/postscript", "en:An orbit", "ge:Eine Umlaufbahn"),
    }
    for name, data in pics.items():
        mime, en, ge = pic_info[name]
        doc("gallery/" + name, PIC_IDS[name],
            [("DocumentType", "Image"), ("MimeType", mime), ("Name", name), ("Title", en),
             ("Title", ge)], data, (GALLERY,))
    # The Moon's picture: one title, so the cluster shows it beside the text.
    doc("gallery/moon.gif", 0x132,
        [("DocumentType", "Image"), ("MimeType", "image/gif"), ("Name", "moon.gif"),
         ("Title", "??:Moon")],
        convert(tmp, ["-size", "64x64", "xc:black", "-fill", "#c8c8c0", "-draw",
                      "circle 32,32 32,6", "-fill", "#98988f", "-draw", "circle 24,26 24,20",
                      "-draw", "circle 40,40 40,36", "-colors", "8", "GIF:{out}"], "moon.gif"),
        (MOON, TOUR))

    # Sound and movie.
    SOUND_ID, MOVIE_ID = 0x150, 0x151
    doc("media/signal.wav", SOUND_ID,
        [("DocumentType", "Sound"), ("MimeType", "audio/x-wav"), ("Name", "signal.wav"),
         ("Title", "en:A signal from the Moon"), ("Title", "ge:Ein Signal vom Mond")],
        sound(), (MEDIA, MOON, TOUR))
    doc("media/orbit.avi", MOVIE_ID,
        [("DocumentType", "Movie"), ("MimeType", "video/x-msvideo"), ("Name", "orbit.avi"),
         ("Title", "en:The Moon's orbit"), ("Title", "ge:Die Bahn des Mondes")],
        movie(), (MEDIA, TOUR))
    doc("media/night-song.mid", 0x153,
        [("DocumentType", "Sound"), ("MimeType", "audio/midi"), ("Name", "night-song.mid"),
         ("Title", "en:A night song"), ("Title", "ge:Ein Nachtlied")],
        tune(), (MEDIA,))
    # The tour's script: its members are "#1" of their kind (the Moon's
    # picture, the film, the signal).
    doc("media/moon-tour.syn", 0x152,
        [("DocumentType", "Generic"), ("SubType", "sync"), ("Name", "moon-tour.syn"),
         ("Title", "en:Script of the tour"), ("Title", "ge:Drehbuch des Rundgangs")],
        TOUR_SCRIPT, (TOUR,))

    # Remote documents.
    HTTP_ID, GOPHER_ID, FTP_ID, TELNET_ID = range(0x160, 0x164)
    doc("remote/web-page", HTTP_ID,
        [("DocumentType", "Remote"), ("Protocol", "http"), ("Host", "www.example.org"),
         ("Port", "80"), ("Path", "/astronomy/index.html"), ("RemoteDocType", "text"),
         ("MimeType", "text/html"), ("Title", "en:Astronomy on the Web"),
         ("Title", "ge:Astronomie im Netz")], parents=(ELSEWHERE,))
    doc("remote/gopher-menu", GOPHER_ID,
        [("DocumentType", "Remote"), ("Protocol", "gopher"), ("Host", "gopher.example.org"),
         ("Port", "70"), ("Path", "/1/astronomy"), ("GopherType", "1"),
         ("Title", "en:Gopher: astronomy menu"), ("Title", "ge:Gopher: Astronomie")],
        parents=(ELSEWHERE,))
    doc("remote/ftp-archive", FTP_ID,
        [("DocumentType", "Remote"), ("Protocol", "ftp"), ("Host", "ftp.example.org"),
         ("Port", "21"), ("Path", "/pub/starcharts"), ("Title", "en:Star charts (FTP)"),
         ("Title", "ge:Sternkarten (FTP)")], parents=(ELSEWHERE,))
    doc("remote/library-catalogue", TELNET_ID,
        [("DocumentType", "Remote"), ("Protocol", "telnet"), ("Host", "library.example.org"),
         ("Port", "23"), ("Title", "en:Library catalogue (telnet)"),
         ("Title", "ge:Bibliothekskatalog (telnet)")], parents=(ELSEWHERE,))

    web.put("remote/www/astronomy-page.remote",
            "# What the peer fetches for the web page 0x00000160.\n"
            "URL=http://www.example.org:80/astronomy/index.html\n")
    web.put("remote/www/astronomy-page.body", REMOTE_PAGE)
    web.put("remote/gopher/astronomy-menu.remote",
            "# The gopher menu behind 0x00000161; members are separated by \"%\" lines.\n"
            "URL=gopher://gopher.example.org:70/1/astronomy\n%\n"
            "Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=gopher.example.org\n"
            "Port=70\nPath=/0/astronomy/planets.txt\nGopherType=0\nTitle=??:planets.txt\n%\n"
            "Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=gopher.example.org\n"
            "Port=70\nPath=/I/astronomy/moon.gif\nGopherType=I\nTitle=??:moon.gif\n%\n"
            "Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=gopher.example.org\n"
            "Port=70\nPath=/1/astronomy/archive\nGopherType=1\nTitle=??:archive\n")
    web.put("remote/gopher/planets-text.remote",
            "URL=gopher://gopher.example.org:70/0/astronomy/planets.txt\n")
    web.put("remote/gopher/planets-text.body",
            "Mercury Venus Earth Mars Jupiter Saturn Uranus Neptune\n")
    web.put("remote/ftp/starcharts.remote",
            "# The FTP directory behind 0x00000162.\n"
            "URL=ftp://ftp.example.org:21/pub/starcharts\n%\n"
            "Type=Document\nDocumentType=Remote\nProtocol=ftp\nHost=ftp.example.org\nPort=21\n"
            "Path=/pub/starcharts/README\nMimeType=text/plain\nTitle=??:README\n%\n"
            "Type=Document\nDocumentType=Remote\nProtocol=ftp\nHost=ftp.example.org\nPort=21\n"
            "Path=/pub/starcharts/orion.gif\nMimeType=image/gif\nRemoteDocType=Image\n"
            "Title=??:orion.gif\n")
    web.put("remote/ftp/readme.remote", "URL=ftp://ftp.example.org:21/pub/starcharts/README\n")
    web.put("remote/ftp/readme.body", "Star charts of the northern sky, one file per season.\n")

    # Anchors: links between the documents, placed on phrases of the bodies.
    a = 0x170
    links = [
        (WELCOME_ID, WELCOME, "the planets", PLANETS, None, "en:To the planets"),
        (WELCOME_ID, WELCOME, "Mercury", MERCURY_ID, None, "en:Mercury"),
        (WELCOME_ID, WELCOME, "the Moon", MOON, None, "en:The Moon"),
        (WELCOME_ID, WELCOME, "the picture gallery", GALLERY, None, "en:Gallery"),
        (WELCOME_ID, WELCOME, "media room", MEDIA, None, "en:Media"),
        (WELCOME_ID, WELCOME, "other servers", ELSEWHERE, None, "en:Elsewhere"),
        (MERCURY_ID, MERCURY, "Venus", VENUS_ID, None, None),
        (MERCURY_ID, MERCURY, "the Earth", EARTH_ID, None, None),
        (VENUS_ID, VENUS, "Mercury", MERCURY_ID, None, None),
        (EARTH_ID, EARTH, "the Moon cluster", MOON, None, None),
        (EARTH_ID, EARTH, "Venus", VENUS_ID, None, None),
        (JUPITER_ID, JUPITER, "the picture of Jupiter", PIC_IDS["jupiter.gif"], None, None),
        (JUPITER_ID, JUPITER, "Saturn", SATURN_ID, None, None),
        (SATURN_ID, SATURN, "picture of Saturn", PIC_IDS["saturn.bmp"], None, None),
        (MOON_EN_ID, MOON_EN, "the signal from the Moon", SOUND_ID, None, None),
        (MOON_EN_ID, MOON_EN, "the film", MOVIE_ID, None, None),
        (MOON_GE_ID, MOON_GE, "das Signal vom Mond", SOUND_ID, None, None),
        (MOON_GE_ID, MOON_GE, "den Film", MOVIE_ID, None, None),
    ]
    for parent, body, phrase, dest, hint, title in links:
        anchor("anchors/%s" % fmt_id(a), a, parent, body, phrase, dest=dest, hint=hint,
               title=title)
        a += 1
    # A destination inside the Earth page, and a link to it.
    dest_anchor = a
    anchor("anchors/%s" % fmt_id(a), a, EARTH_ID, EARTH, "Its moon", kind="Dest",
           keyword="moon")
    a += 1
    anchor("anchors/%s" % fmt_id(a), a, MOON_EN_ID, MOON_EN, "the Earth", dest=dest_anchor,
           title="en:The Earth's moon")
    a += 1
    # A link that leaves the server.
    anchor("anchors/%s" % fmt_id(a), a, SATURN_ID, SATURN, "ice and rock",
           hint="URL:http://www.example.org/astronomy/index.html")
    a += 1

    # Users and groups.
    users = [
        ("users/anonymous", 0x1A0, [("TType", "User"), ("UName", "anonymous")], None),
        ("users/alice", 0x1A1,
         [("TType", "User"), ("UName", "alice"), ("Passwd", crypt3("stargazer", "st")),
          ("Home", fmt_id(OBSERVERS)), ("Group", "astronomers"), ("Title", "en:Alice Example"),
          ("Descr", "keeps the gallery")], "password: stargazer"),
        ("users/bob", 0x1A2,
         [("TType", "User"), ("UName", "bob"), ("Passwd", crypt3("telescope", "te")),
          ("Passwd", crypt3("comet", "co")), ("Home", "observers"),
          ("Group", "astronomers"), ("Group", "staff"), ("Title", "en:Bob Example")],
         "passwords: telescope, comet"),
        ("users/astronomers", 0x1A3,
         [("TType", "Group"), ("UGroup", "astronomers"), ("Group", "staff"),
          ("Title", "en:Astronomers"), ("Title", "ge:Astronomen")], None),
        ("users/staff", 0x1A4,
         [("TType", "Group"), ("UGroup", "staff"), ("Title", "en:Staff"),
          ("Title", "ge:Mitarbeiter")], None),
    ]
    for rel, oid, lines, comment in users:
        web.record(rel, [("ObjectID", fmt_id(oid))] + lines, comment=comment)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "data", "sample"))
    parser.add_argument("--eps-maker", default=None,
                        help="the built make_sample_eps (default: the first below build/)")
    args = parser.parse_args()
    if not shutil.which("convert"):
        sys.exit("make_sample_content: ImageMagick's convert is needed")
    eps_maker = args.eps_maker or find_eps_maker()
    if not eps_maker or not os.access(eps_maker, os.X_OK):
        sys.exit("make_sample_content: build make_sample_eps first, or name it with --eps-maker")
    web = Web(args.out)
    with tempfile.TemporaryDirectory() as tmp:
        build(web, tmp, eps_maker)
    # Only what this script makes is replaced; README.md and other notes stay.
    for sub in ("anchors", "collections", "documents", "gallery", "media", "remote", "users"):
        shutil.rmtree(os.path.join(args.out, sub), ignore_errors=True)
    web.write()
    total = sum(len(d) for d in web.files.values())
    print("make_sample_content: %d files, %d bytes in %s" % (len(web.files), total, args.out))


if __name__ == "__main__":
    main()
