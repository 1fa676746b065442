"""What the peer does for each request, and the reply body it answers.

Each handler takes the parsed arguments (a dict) and answers a Reply, or None
when the request has no reply (echo reply, unlock).  Store errors become the
status of the reply; the layout of a failing reply is replies.failure.
"""

import ipaddress

from . import dataconn, query, fulltext, replies
from .records import Record, format_id, parse_id
from .store import LINK_BASE, StoreError

# Error of a remote listing that the peer does not hold: document-cache
# class (4) in bits 8-15, number 8.
REMOTE_MISSING = 0x0408
ANONYMOUS = "anonymous"


class Reply:
    def __init__(self, body, status=0, after=None):
        self.body = body
        self.status = status
        self.after = after


def _text(value):
    return value.decode("latin-1") if isinstance(value, bytes) else value


def is_loopback(host):
    try:
        return ipaddress.ip_address(host).is_loopback
    except ValueError:
        return host == "localhost"


class Handlers:
    def __init__(self, conn):
        self.conn = conn
        self.server = conn.server
        self.store = conn.server.store
        self.table = {
            2: self.anchor_destination, 3: self.documents_of, 4: self.parents,
            5: self.collections_of, 6: self.anchor_parents, 7: self.record,
            8: self.anchors, 9: self.query, 10: self.query_within, 11: self.records,
            14: self.insert_document, 15: self.insert_anchor, 16: self.link_anchor,
            17: self.insert_collection, 18: self.anchor_link, 19: self.links_to,
            22: self.membership, 23: self.membership, 24: self.identify,
            26: self.echo_reply, 27: self.modify, 29: self.lock, 30: self.unlock,
            32: self.insert_source_anchor, 34: self.full_text, 35: self.full_text,
            36: self.content, 37: self.delete, 38: self.upload,
            40: self.remote_members, 41: self.remote_content, 43: self.global_id,
            44: self.members, 46: self.cgi_content,
        }

    # ---- helpers -------------------------------------------------------

    @property
    def lay(self):
        return self.conn.layout()

    def dispatch(self, code, args):
        handler = self.table.get(code)
        if handler is None:
            return None
        self.code = code
        with self.store.mutex:
            try:
                return handler(args)
            except StoreError as err:
                return Reply(replies.failure(self.lay, code, err.status), err.status)
            except query.QueryError:
                return Reply(replies.failure(self.lay, code, 23), 23)
            except fulltext.FullTextError:
                return Reply(replies.failure(self.lay, code, 23), 23)

    def require_writer(self):
        if not self.conn.identified and not self.server.options.open_writes:
            raise StoreError(1)

    def record_of(self, oid):
        """The record text as this connection sees it; link objects included."""
        obj = self.store.get(oid)
        if obj is not None:
            return self.store.record_text(obj, self.conn.user_id, self.conn.version)
        link = self.store.link_record_text(oid)
        if link is None:
            raise StoreError(8)
        return link

    def existing(self, ids):
        return [o.id for o in ids if self.store.get(o.id) is not None]

    def data_host(self, given):
        policy = self.server.options.data_address
        if policy == "given" or (policy == "auto" and is_loopback(given)):
            return given
        return self.conn.peer_host

    # ---- reading -------------------------------------------------------

    def record(self, a):
        return Reply(replies.record(self.lay, 0, self.record_of(a["id"])))

    def records(self, a):
        tree = query.parse(_text(a["query"])) if a.get("query") else None
        pairs = []
        for oid in a["ids"]:
            try:
                text = self.record_of(oid)
            except StoreError:
                continue
            if tree is None or tree.matches(Record.parse(text)):
                pairs.append((oid, text))
        if a["ids"] and not pairs and tree is None:
            raise StoreError(8)
        return Reply(replies.records(self.lay, 0, pairs))

    def query(self, a):
        hits = self.store.key_query(_text(a["query"]), None, self.server.options.query_limit)
        return Reply(replies.query_hits(self.lay, 0, hits))

    def query_within(self, a):
        hits = self.store.key_query(_text(a["query"]), a["ids"], self.server.options.query_limit)
        return Reply(replies.query_hits(self.lay, 0, hits))

    def collection(self, oid):
        obj = self.store.require(oid)
        if not obj.is_collection():
            raise StoreError(11)
        return obj

    def members(self, a):
        ids = [o.id for o in self.store.members(self.collection(a["id"]).id)]
        return Reply(replies.id_array(self.lay, 0, ids))

    def documents_of(self, a):
        ids = [o.id for o in self.store.members(self.collection(a["id"]).id)
               if not o.is_collection()]
        return Reply(replies.id_array(self.lay, 0, ids))

    def collections_of(self, a):
        ids = [o.id for o in self.store.members(self.collection(a["id"]).id) if o.is_collection()]
        return Reply(replies.id_array(self.lay, 0, ids))

    def parents(self, a):
        obj = self.store.require(a["id"])
        ids = sorted(p for p in set(obj.parents()) if self.store.get(p) is not None)
        return Reply(replies.id_array(self.lay, 0, ids))

    def anchor_parents(self, a):
        obj = self.store.get(a["id"])
        ids = []
        if obj is not None and obj.is_anchor():
            ids = sorted(p for p in set(obj.parents()) if self.store.get(p) is not None)
        return Reply(replies.plain_id_array(self.lay, ids))

    def anchors(self, a):
        doc = self.store.require(a["id"])
        ids = [o.id for o in self.store.anchors_of(doc.id)]
        return Reply(replies.id_array(self.lay, 0, ids))

    def links_to(self, a):
        self.store.require(a["id"])
        ids = [o.id for o in self.store.links_to(a["id"])]
        return Reply(replies.id_array(self.lay, 0, ids))

    def anchor(self, oid):
        obj = self.store.require(oid)
        if not obj.is_anchor():
            raise StoreError(25)
        return obj

    def anchor_destination(self, a):
        dest = self.anchor(a["id"]).dest_id()
        if not dest:
            raise StoreError(8)
        return Reply(replies.destination(self.lay, 0, dest))

    def anchor_link(self, a):
        obj = self.anchor(a["id"])
        if not obj.is_source_anchor():
            raise StoreError(8)
        return Reply(replies.link_pair(self.lay, 0, LINK_BASE | obj.id, obj.dest_id()))

    def full_text(self, a):
        scope = a["ids"] if self.code == 35 else None
        if scope is not None and not scope:
            raise StoreError(6)
        hits = self.store.full_text(_text(a["query"]), scope)
        return Reply(replies.features(self.lay, 0, hits))

    def global_id(self, a):
        server, oid = a["server"] & 0xFFFFFFFF, a["id"] & 0xFFFFFFFF
        if server == 0 or (server >> 24) == 127:
            local = oid if self.store.get(oid) is not None else 0
        else:
            wanted = "%s %s" % (format_id(server), format_id(oid))
            found = self.store.sorted_objects(lambda o: o.record.first("GOid") == wanted)
            local = found[0].id if found else 0
        if not local:
            raise StoreError(8)
        return Reply(replies.status_long(self.lay, 0, local))

    # ---- identification --------------------------------------------------

    def identify(self, a):
        user_text = _text(a["user"])
        password = _text(a["password"])
        name, _, host = user_text.partition("@")
        host = host or self.conn.peer_host
        if "client" in a and self.conn.client_name is None:
            self.conn.client_name = _text(a["client"])
        user = None
        if name and name != ANONYMOUS:
            users = self.store.sorted_objects(
                lambda o: o.is_user() and o.record.first("UName") == name)
            if users and self.password_ok(users[0], password):
                user = users[0]
        if user is None:
            # a refused name leaves the connection anonymous
            name = ANONYMOUS
            anon = self.store.sorted_objects(
                lambda o: o.is_user() and o.record.first("UName") == ANONYMOUS)
            self.conn.set_identity(anon[0].id if anon else 0, ANONYMOUS, False)
        else:
            self.conn.set_identity(user.id, name, True)
        text = "%s %s(%s)" % (format_id(self.conn.user_id), name, host)
        return Reply(replies.identification(self.lay, text))

    @staticmethod
    def password_ok(user, password):
        from .descrypt import verify
        hashes = user.record.values("Passwd")
        if not hashes:
            return True
        return any(verify(password, h) for h in hashes)

    def echo_reply(self, a):
        return None

    # ---- changes -------------------------------------------------------

    def parse_record(self, text):
        return Record.parse(_text(text))

    def insert_document(self, a):
        return self.insert(a, collection=False)

    def insert_collection(self, a):
        return self.insert(a, collection=True)

    def insert(self, a, collection):
        self.require_writer()
        parent = self.store.require(a["parent"])
        if not parent.is_collection():
            raise StoreError(13)
        record = self.parse_record(a["record"])
        if record.first("Type") != "Document":
            raise StoreError(25)
        if (record.first("DocumentType") == "collection") != collection:
            raise StoreError(11 if collection else 25)
        self.store.check_unique_name(record)
        obj = self.store.create(record, parent.id, self.conn.user_name)
        return Reply(replies.status_long(self.lay, 0, obj.id))

    def insert_anchor(self, a):
        self.require_writer()
        doc = self.store.require(a["parent"])
        if not doc.is_document():
            raise StoreError(4)
        record = self.parse_record(a["record"])
        if record.first("Type") != "Anchor":
            raise StoreError(25)
        obj = self.store.create(record, doc.id, self.conn.user_name)
        return Reply(replies.status_long(self.lay, 0, obj.id))

    def link_anchor(self, a):
        self.require_writer()
        anchor = self.anchor(a["anchor"])
        link = self.parse_record(a["record"])
        if link.first("Type") != "Link":
            raise StoreError(25)
        dest = a["dest"]
        if dest and self.store.get(dest) is None:
            raise StoreError(8)
        self.store.check_unlocked(anchor, self.conn.number)
        anchor.record.set("TAnchor", "Src")
        if dest:
            anchor.record.set("Dest", format_id(dest))
        if link.first("Hint"):
            anchor.record.set("Hint", link.first("Hint"))
        return Reply(replies.status_long(self.lay, 0, LINK_BASE | anchor.id))

    def insert_source_anchor(self, a):
        self.require_writer()
        record = self.parse_record(a["record"])
        placement = self.parse_record(a["placement"])
        doc = self.store.require(parse_id(placement.first("Doc")))
        if not doc.is_document():
            raise StoreError(4)
        if record.first("Type") != "Anchor":
            raise StoreError(25)
        dest = placement.first("Dest")
        if dest.startswith("0x") and self.store.get(parse_id(dest)) is None:
            raise StoreError(8)
        record.set("TAnchor", "Src")
        for key in ("Dest", "Hint", "GDest"):
            if placement.first(key):
                record.set(key, placement.first(key))
        obj = self.store.create(record, doc.id, self.conn.user_name)
        return Reply(replies.status_long(self.lay, 0, obj.id))

    def membership(self, a):
        self.require_writer()
        leave = a["from"] if a["leave"] else 0
        join = a["to"]
        if not a["ids"] or (not leave and not join):
            raise StoreError(23)
        for oid in a["ids"]:
            obj = self.store.require(oid)
            if self.code == 23 and not obj.is_collection():
                raise StoreError(11)
            if self.code == 22 and (obj.is_collection() or not (obj.is_document() or obj.is_anchor())):
                raise StoreError(25)
            self.store.change_membership(obj, leave, join, self.conn.number)
        return Reply(replies.status_only(self.lay, 0))

    def modify(self, a):
        self.require_writer()
        obj = self.store.require(a["id"])
        text = _text(a["text"])
        # commands are separated by a backslash before "rem " or "add "
        commands = []
        start = 0
        i = text.find("\\", start)
        while i >= 0:
            if text.startswith(("rem ", "add "), i + 1):
                commands.append(text[start:i])
                start = i + 1
            i = text.find("\\", i + 1)
        commands.append(text[start:])
        self.store.modify(obj, [c for c in commands if c], self.conn.number)
        return Reply(replies.status_only(self.lay, 0))

    def lock(self, a):
        self.require_writer()
        obj = self.store.require(a["id"])
        self.store.lock(obj, self.conn.number)
        text = self.store.record_text(obj, self.conn.user_id, self.conn.version)
        return Reply(replies.locked_record(self.lay, 0, text))

    def unlock(self, a):
        obj = self.store.get(a["id"])
        if obj is not None:
            self.store.unlock(obj, self.conn.number)
        return None

    def delete(self, a):
        self.require_writer()
        self.store.delete(self.store.require(a["id"]), self.conn.number)
        return Reply(replies.status_only(self.lay, 0))

    # ---- content -------------------------------------------------------

    def send_content(self, host, port, body, kind, ref):
        """Opens the data connection now; the body goes after the reply."""
        plan = self.conn.download_plan(body, kind, ref)
        if plan is None:
            return Reply(replies.status_only(self.lay, 0))   # told to never connect
        try:
            sock = dataconn.open_to(self.data_host(host), port)
        except OSError as exc:
            self.conn.log("data-failed", ("host", host), ("port", port), ("error", exc))
            raise StoreError(27)
        self.conn.log("data-open", ("host", self.data_host(host)), ("port", port),
                      ("given", host), ("size", len(body)))

        def start():
            plan.send_on(sock, lambda sent, err: self.conn.log(
                "data-done", ("port", port), ("sent", sent), ("error", err)))
        return Reply(replies.status_only(self.lay, 0), after=start)

    def content(self, a):
        obj = self.store.require(a["id"])
        if not obj.is_document() or obj.is_collection():
            raise StoreError(4)
        ref = -1
        reference = _text(a.get("reference", b""))
        if reference.startswith("Refno="):
            ref = parse_id(reference[len("Refno="):])
        kind = dataconn.header_type(obj.record.first("DocumentType"))
        return self.send_content(_text(a["address"]), a["port"], obj.body or b"", kind, ref)

    def upload(self, a):
        self.require_writer()
        obj = self.store.require(a["id"])
        if not obj.is_document() or obj.is_collection():
            raise StoreError(4)
        self.store.check_unlocked(obj, self.conn.number)
        if self.server.rules.take("upload-no-connect", self.code):
            return Reply(replies.status_only(self.lay, 27), 27)
        host = self.data_host(_text(a["address"]))
        # the store stays usable for others while the sender is read
        self.store.mutex.release()
        try:
            try:
                sock = dataconn.open_to(host, a["port"])
                data = dataconn.receive_upload(sock)
            except OSError as exc:
                self.conn.log("upload-failed", ("host", host), ("port", a["port"]), ("error", exc))
                return Reply(replies.status_only(self.lay, 27), 27)
        finally:
            self.store.mutex.acquire()
        if self.store.get(obj.id) is not obj:
            raise StoreError(10)
        obj.body = data
        self.conn.log("upload-done", ("host", host), ("port", a["port"]), ("size", len(data)))
        return Reply(replies.status_only(self.lay, 0))

    def remote_for(self, record_text):
        from .store import remote_key
        r = Record.parse(_text(record_text))
        key = remote_key(r.first("Protocol"), r.first("Host"), r.first("Port"), r.first("Path"))
        return key, self.store.find_remote(key)

    def remote_members(self, a):
        key, remote = self.remote_for(a["record"])
        if remote is None or not remote.records:
            return Reply(replies.text_list(self.lay, REMOTE_MISSING, []), REMOTE_MISSING)
        return Reply(replies.text_list(self.lay, 0, [r.text() for r in remote.records]))

    def remote_content(self, a):
        key, remote = self.remote_for(a["record"])
        if remote is None or remote.body is None:
            raise StoreError(34)
        kind = dataconn.header_type(Record.parse(_text(a["record"])).first("RemoteDocType"))
        return self.send_content(_text(a["address"]), a["port"], remote.body, kind, a["flag"])

    def cgi_content(self, a):
        record = Record.parse(_text(a["record"]))
        path = record.first("Path")
        found = self.store.sorted_objects(
            lambda o: o.record.first("DocumentType") == "CGI" and o.record.first("Path") == path)
        if not found:
            raise StoreError(8)
        obj = found[0]
        body = obj.body
        if body is None:
            # a script's answer: what it was asked, one line each
            lines = ["CGI_REQUEST_METHOD=" + record.first("CGI_REQUEST_METHOD"),
                     "CGI_QUERY_STRING=" + record.first("CGI_QUERY_STRING"),
                     "Path=" + path, "Body=" + _text(a["text"])]
            body = ("\n".join(lines) + "\n").encode("latin-1")
        return self.send_content(_text(a["address"]), a["port"], body, 1, a["flag"])
