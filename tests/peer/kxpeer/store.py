"""The peer's object store: loaded from a content directory, changed in memory.

Membership and anchors are kept in the records themselves: every "Parent="
line of an object names a collection that holds it (for an anchor: the
document it belongs to).  See README.md for the directory format.
"""

import os
import threading

from . import fulltext, query
from .records import Record, format_id, parse_id, timestamp

# Links are no objects of their own here; servers of protocol 6 and older
# answered with a link object per source anchor, so one is made up on demand
# under this id range (link id = LINK_BASE | anchor id).
LINK_BASE = 0x7F000000
MAX_BODY = 64 * 1024 * 1024
BASE_FIELDS = {"ObjectID", "Type", "TType"}


class StoreError(Exception):
    def __init__(self, status, text=""):
        Exception.__init__(self, text or "status %d" % status)
        self.status = status


class Obj:
    def __init__(self, oid, record, body=None, source=""):
        self.id = oid
        self.record = record
        self.body = body
        self.source = source

    def type(self):
        return self.record.first("Type") or self.record.first("TType")

    def is_document(self):
        return self.record.first("Type") == "Document"

    def is_collection(self):
        return self.is_document() and self.record.first("DocumentType") == "collection"

    def is_anchor(self):
        return self.record.first("Type") == "Anchor"

    def is_user(self):
        return self.record.first("TType") == "User"

    def is_source_anchor(self):
        return self.is_anchor() and self.record.first("TAnchor") == "Src"

    def parents(self):
        return [parse_id(v) for v in self.record.values("Parent")]

    def dest_id(self):
        dest = self.record.first("Dest")
        return parse_id(dest) if dest.startswith("0x") else 0


def remote_key(protocol, host, port, path):
    defaults = {"http": "80", "gopher": "70", "ftp": "21"}
    port = port or defaults.get(protocol, "")
    if not path.startswith("/"):
        path = "/" + path
    return "%s://%s:%s%s" % (protocol, host, port, path)


def remote_key_of_url(url):
    protocol, sep, rest = url.partition("://")
    if not sep:
        return url
    hostport, slash, path = rest.partition("/")
    host, _, port = hostport.partition(":")
    return remote_key(protocol, host, port, slash + path)


class Remote:
    def __init__(self, url, records, body):
        self.url = url
        self.records = records
        self.body = body


class Store:
    def __init__(self):
        self.objects = {}
        self.remotes = {}
        self.locks = {}     # object id -> owning connection number
        self.next_id = 1
        self.mutex = threading.RLock()

    # ---- loading -------------------------------------------------------

    @classmethod
    def load(cls, directory):
        store = cls()
        if directory:
            for root, dirs, files in os.walk(directory):
                dirs.sort()
                for name in sorted(files):
                    path = os.path.join(root, name)
                    if name.endswith(".rec"):
                        store._load_record(path)
                    elif name.endswith(".remote"):
                        store._load_remote(path)
        return store

    @staticmethod
    def _body_beside(path):
        body_path = os.path.splitext(path)[0] + ".body"
        if not os.path.isfile(body_path):
            return None
        if os.path.getsize(body_path) > MAX_BODY:
            raise ValueError("%s: body larger than %d bytes" % (body_path, MAX_BODY))
        with open(body_path, "rb") as f:
            return f.read()

    def _load_record(self, path):
        with open(path, "rb") as f:
            record = Record.parse(f.read(), comments=True)
        text_id = record.first("ObjectID")
        oid = parse_id(text_id)
        if not text_id or oid == 0:
            raise ValueError("%s: no ObjectID" % path)
        if oid in self.objects:
            raise ValueError("%s: ObjectID %s used twice" % (path, format_id(oid)))
        record.remove("ObjectID")
        self.objects[oid] = Obj(oid, record, self._body_beside(path), path)
        self.next_id = max(self.next_id, (oid & 0x00FFFFFF) + 1)

    def _load_remote(self, path):
        with open(path, "rb") as f:
            text = f.read().decode("latin-1")
        chunks = text.split("\n%\n")
        head = Record.parse(chunks[0], comments=True)
        url = head.first("URL")
        if not url:
            raise ValueError("%s: no URL line" % path)
        records = [Record.parse(c, comments=True) for c in chunks[1:]]
        records = [r for r in records if r.lines]
        self.remotes[remote_key_of_url(url)] = Remote(url, records, self._body_beside(path))

    # ---- lookups -------------------------------------------------------

    def get(self, oid):
        return self.objects.get(oid & 0xFFFFFFFF)

    def require(self, oid):
        obj = self.get(oid)
        if obj is None:
            raise StoreError(8)
        return obj

    def record_text(self, obj, viewer_id=0, version=717):
        skip = set()
        if viewer_id != obj.id:
            skip.add("Passwd")
        if version <= 6 and obj.is_anchor():
            # old servers kept the link apart from the anchor (request 18)
            skip.update(("TAnchor", "Dest", "Hint", "GDest"))
        body = obj.record.text(skip)
        head = "ObjectID=" + format_id(obj.id)
        return head + ("\n" + body if body else "")

    def link_record_text(self, link_id):
        anchor = self.get(link_id & ~LINK_BASE)
        if (link_id & LINK_BASE) != LINK_BASE or anchor is None or not anchor.is_source_anchor():
            return None
        lines = ["ObjectID=" + format_id(link_id), "Type=Link", "Src=" + format_id(anchor.id)]
        if anchor.dest_id():
            lines.append("Dest=" + format_id(anchor.dest_id()))
        if anchor.record.first("Hint"):
            lines.append("Hint=" + anchor.record.first("Hint"))
        return "\n".join(lines)

    def sorted_objects(self, pred):
        return [o for _, o in sorted(self.objects.items()) if pred(o)]

    def members(self, coll_id):
        return self.sorted_objects(lambda o: not o.is_anchor() and coll_id in o.parents())

    def anchors_of(self, doc_id):
        return self.sorted_objects(lambda o: o.is_anchor() and doc_id in o.parents())

    def links_to(self, oid):
        return self.sorted_objects(lambda o: o.is_source_anchor() and o.dest_id() == oid)

    def descendants(self, roots):
        seen = set()
        todo = [r for r in roots if self.get(r) is not None]
        while todo:
            cid = todo.pop()
            for member in self.members(cid):
                if member.id not in seen:
                    seen.add(member.id)
                    if member.is_collection():
                        todo.append(member.id)
        return seen

    def find_by_name(self, name):
        return self.sorted_objects(lambda o: o.record.has("Name", name))

    def key_query(self, text, scope=None, limit=0):
        tree = query.parse(text)
        allowed = self.descendants(scope) if scope is not None else None
        hits = [o.id for o in self.sorted_objects(lambda o: tree.matches(o.record))
                if allowed is None or o.id in allowed]
        if limit and len(hits) > limit:
            raise StoreError(35)
        return hits

    def full_text(self, text, scope=None):
        tree = fulltext.parse(text)
        allowed = self.descendants(scope) if scope is not None else None
        hits = []
        for obj in self.sorted_objects(lambda o: o.is_document() and o.body is not None):
            if allowed is not None and obj.id not in allowed:
                continue
            mime = obj.record.first("MimeType")
            markup = "html" in mime or obj.record.first("DocumentType") == "CGI"
            positions = fulltext.evaluate(tree, fulltext.words_of(obj.body, markup))
            if positions is not None:
                hits.append((obj.id, float(max(1, len(positions))), sorted(positions)))
        hits.sort(key=lambda h: (-h[1], h[0]))
        return hits

    def find_remote(self, key):
        if key in self.remotes:
            return self.remotes[key]
        base = key.split("?", 1)[0]
        return self.remotes.get(base)

    # ---- changes -------------------------------------------------------

    def new_id(self):
        while self.next_id in self.objects or (self.next_id & LINK_BASE) == LINK_BASE:
            self.next_id += 1
        oid = self.next_id
        self.next_id += 1
        return oid

    def check_unlocked(self, obj, conn_no):
        owner = self.locks.get(obj.id)
        if owner is not None and owner != conn_no:
            raise StoreError(19)

    def create(self, record, parent_id, author):
        record = record.copy()
        record.remove("ObjectID")
        record.remove("Parent")
        if parent_id:
            record.add("Parent", format_id(parent_id))
        if not record.first("Author") and author:
            record.add("Author", author)
        if not record.first("TimeCreated"):
            record.add("TimeCreated", timestamp())
        obj = Obj(self.new_id(), record)
        self.objects[obj.id] = obj
        return obj

    def check_unique_name(self, record):
        for name in record.values("Name"):
            if self.find_by_name(name):
                raise StoreError(17)

    def delete(self, obj, conn_no):
        self.check_unlocked(obj, conn_no)
        if obj.is_collection() and self.members(obj.id):
            raise StoreError(12)
        doomed = [obj]
        if obj.is_document():
            doomed += self.anchors_of(obj.id)
        for victim in doomed:
            self.objects.pop(victim.id, None)
            self.locks.pop(victim.id, None)

    def change_membership(self, obj, leave, join, conn_no):
        self.check_unlocked(obj, conn_no)
        if join:
            target = self.get(join)
            if target is None:
                raise StoreError(8)
            if not target.is_collection():
                raise StoreError(13)
            if join == obj.id or (obj.is_collection() and join in self.descendants([obj.id])):
                raise StoreError(14)
        if leave and leave not in obj.parents():
            raise StoreError(21)
        if join and join in obj.parents() and join != leave:
            raise StoreError(9)
        if leave:
            obj.record.remove("Parent", format_id(leave))
        if join:
            obj.record.add("Parent", format_id(join))

    def modify(self, obj, commands, conn_no):
        """Applies "rem line" / "add line" commands, all or nothing."""
        self.check_unlocked(obj, conn_no)
        record = obj.record.copy()
        for command in commands:
            verb, _, line = command.partition(" ")
            key, sep, value = line.partition("=")
            if verb not in ("rem", "add") or not sep or not key:
                raise StoreError(23)
            if key in BASE_FIELDS:
                raise StoreError(20)
            if verb == "rem":
                if record.remove(key, value) == 0:
                    raise StoreError(21)
            else:
                if record.has(key, value):
                    raise StoreError(22)
                if key == "Name" and any(o.id != obj.id for o in self.find_by_name(value)):
                    raise StoreError(17)
                record.add(key, value)
        obj.record = record

    def lock(self, obj, conn_no):
        self.check_unlocked(obj, conn_no)
        self.locks[obj.id] = conn_no

    def unlock(self, obj, conn_no):
        if self.locks.get(obj.id) == conn_no:
            del self.locks[obj.id]

    def release_locks(self, conn_no):
        for oid in [o for o, c in self.locks.items() if c == conn_no]:
            del self.locks[oid]

    # ---- writing back --------------------------------------------------

    def dump(self, directory):
        os.makedirs(directory, exist_ok=True)
        for oid, obj in sorted(self.objects.items()):
            base = os.path.join(directory, format_id(oid))
            with open(base + ".rec", "w", encoding="latin-1") as f:
                f.write(self.record_text(obj, viewer_id=oid) + "\n")
            if obj.body is not None:
                with open(base + ".body", "wb") as f:
                    f.write(obj.body)
