"""One client's control connection: negotiation, hello, requests and replies.

Each connection runs in a thread of its own; writes go through one lock so
that unsolicited messages from other threads never cut into a reply.
"""

import socket
import threading
import time

from . import dataconn, replies, requests
from .handlers import Handlers, Reply
from .misbehave import unescape
from .wire import Decoder, DecodeError, Form, FramingError, MessageReader, frame

VERSION_MASK = 0x3FFF
DISTRIBUTED_BIT = 0x80000000
COMPRESS_BIT = 0x40000000
NEGOTIATION_TIMEOUT = 30.0


class Closed(Exception):
    """The peer closed the connection on purpose (a misbehaviour)."""


class Connection:
    def __init__(self, server, sock, address, number):
        self.server = server
        self.sock = sock
        self.peer_host, self.peer_port = address[0], address[1]
        self.number = number
        self.form = Form()
        self.version = server.options.version
        self.compress = False
        self.hello_seen = False
        self.user_id = 0
        self.user_name = "anonymous"
        self.identified = False
        self.client_name = None
        self.requests_seen = 0
        self.send_lock = threading.Lock()
        self.alive = True
        self.handlers = Handlers(self)
        anon = server.store.sorted_objects(
            lambda o: o.is_user() and o.record.first("UName") == "anonymous")
        if anon:
            self.user_id = anon[0].id

    # ---- small services ------------------------------------------------

    def log(self, event, *fields):
        self.server.log.write(self.number, event, *fields)

    def rules(self):
        return self.server.rules

    def layout(self):
        return replies.Layout(self.form, self.version, self.compress)

    def set_identity(self, user_id, name, identified):
        self.user_id = user_id
        self.user_name = name
        self.identified = identified

    def version_word(self):
        word = self.server.options.version & VERSION_MASK
        if self.compress:
            word |= COMPRESS_BIT
        return word

    def send(self, data):
        with self.send_lock:
            self.sock.sendall(data)

    def close(self):
        self.alive = False
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.sock.close()

    # ---- main loop -----------------------------------------------------

    def run(self):
        self.log("open", ("peer", "%s:%d" % (self.peer_host, self.peer_port)))
        reason = "eof"
        try:
            if self.negotiate():
                reader = MessageReader(self.form)
                self.sock.settimeout(None)
                while True:
                    data = self.sock.recv(65536)
                    if not data:
                        break
                    reader.feed(data)
                    while True:
                        msg = reader.next_message()
                        if msg is None:
                            break
                        self.handle(msg)
            else:
                reason = "negotiation"
        except Closed as exc:
            reason = "closed-by-peer:%s" % exc
        except FramingError as exc:
            reason = "framing:%s" % exc
        except OSError as exc:
            reason = "socket:%s" % exc
        finally:
            self.alive = False
            with self.server.store.mutex:
                self.server.store.release_locks(self.number)
            self.close()
            self.log("close", ("reason", reason))
            self.server.forget(self)

    def recv_exact(self, n):
        data = b""
        while len(data) < n:
            part = self.sock.recv(n - len(data))
            if not part:
                raise OSError("connection closed during negotiation")
            data += part
        return data

    def negotiate(self):
        self.sock.settimeout(NEGOTIATION_TIMEOUT)
        letter = self.recv_exact(1)
        rules = self.rules()
        if rules.take("close-at-negotiation"):
            self.log("misbehave", ("rule", "close-at-negotiation"))
            return False
        if rules.take("refuse-handshake"):
            self.log("misbehave", ("rule", "refuse-handshake"), ("client", letter))
            self.send(b"X")
            time.sleep(0.2)
            return False
        wants_binary = letter == b"T"
        opt = self.server.options
        answer = b"F" if opt.form == "text" else b"T"
        self.send(answer)
        if not wants_binary or answer == b"F":
            self.form = Form(binary=False)
            self.log("form", ("form", "text"), ("client", letter), ("answer", answer))
            return True
        order = self.recv_exact(1)
        if order not in (b"l", b"B"):
            self.log("form-failed", ("client-order", order))
            return False
        if rules.take("bad-order"):
            self.log("misbehave", ("rule", "bad-order"))
            self.send(b"X")
            time.sleep(0.2)
            return False
        if opt.order == "client":
            mine = order
        else:
            mine = b"B" if opt.order == "big" else b"l"
        self.send(mine)
        self.form = Form(binary=True, read_big=(mine == b"B"), write_big=(order == b"B"))
        self.log("form", ("form", "binary"), ("client", letter), ("client-order", order),
                 ("order", mine))
        return True

    # ---- messages ------------------------------------------------------

    def handle(self, msg):
        self.requests_seen += 1
        if msg.code == 25:
            self.hello(msg)
        else:
            self.request(msg)
        for trig in self.rules().triggers("after-request-%d" % self.requests_seen):
            self.unsolicited(trig.what)

    def hello(self, msg):
        opt = self.server.options
        client_version = msg.id & VERSION_MASK
        self.version = min(client_version, opt.version)
        wants = bool(msg.id & COMPRESS_BIT)
        self.compress = opt.compress == "force" or (wants and opt.compress == "on")
        self.hello_seen = True
        self.log("hello", ("version", client_version), ("distributed", int(bool(msg.id & DISTRIBUTED_BIT))),
                 ("compress", int(wants)), ("agreed", self.version), ("compressing", int(self.compress)))
        rules = self.rules()
        if rules.take("no-hello-reply", 25):
            self.log("misbehave", ("rule", "no-hello-reply"))
            return
        if rules.take("close-at-hello", 25):
            self.log("misbehave", ("rule", "close-at-hello"))
            raise Closed("close-at-hello")
        status = 0
        text = "ServerString$" + opt.server_string
        if rules.take("reorganization", 25):
            text = "Reorganization$reorganization in progress"
        rule = rules.take("hello-status", 25)
        if rule:
            status = rule.integer(40)
        body = replies.hello(self.layout(), opt.version, status, text)
        self.send(frame(self.form, self.version_word(), 25, body))
        self.log("reply", ("code", 25), ("word", "0x%08x" % self.version_word()), ("status", status))
        for trig in rules.triggers("after-hello"):
            self.unsolicited(trig.what)
        self.start_periodic()

    def request(self, msg):
        code = msg.code
        dec = Decoder(self.form, msg.body)
        try:
            name, args = requests.parse(code, dec, self.version)
            if not dec.at_end():
                args.append(("trailing", dec.rest()))
        except DecodeError as exc:
            self.log("req", ("code", code), ("reqid", msg.id), ("name", requests.NAMES.get(code, "?")),
                     ("error", exc))
            body = replies.failure(self.layout(), code, 23)
            if body is not None:
                self.send_reply(code, msg.id, Reply(body, 23))
            return
        fields = [(k, requests.format_value(k, v)) for k, v in args]
        self.log("req", ("code", code), ("reqid", msg.id), ("name", name), *fields)
        for trig in self.rules().triggers("before-%d" % code):
            self.unsolicited(trig.what)
        reply = self.reply_for(code, dict(args))
        if reply is not None:
            self.send_reply(code, msg.id, reply)
            if reply.after:
                reply.after()
        if code == 24:
            for trig in self.rules().triggers("after-identify"):
                self.unsolicited(trig.what)
        for trig in self.rules().triggers("after-%d" % code):
            self.unsolicited(trig.what)

    def reply_for(self, code, args):
        if not requests.known(code):
            return None
        lay = self.layout()
        needed = requests.MIN_VERSION.get(code, 0)
        if self.version < needed:
            return Reply(replies.failure(lay, code, 26), 26)
        rule = self.rules().take("status", code)
        if rule:
            status = rule.integer(1)
            body = replies.failure(lay, code, status)
            if body is not None:
                return Reply(body, status)
        return self.handlers.dispatch(code, args)

    def send_reply(self, code, request_id, reply):
        rules = self.rules()
        reply_id = self.layout().reply_id(request_id)
        if rules.take("drop-reply", code):
            self.log("misbehave", ("rule", "drop-reply"), ("code", code))
            return
        rule = rules.take("delay", code)
        if rule:
            self.log("misbehave", ("rule", "delay"), ("code", code), ("seconds", rule.number(1.0)))
            time.sleep(rule.number(1.0))
        if rules.take("close-before-reply", code):
            raise Closed("close-before-reply")
        body = reply.body
        rule = rules.take("short-body", code)
        if rule:
            cut = rule.integer(max(1, len(body) // 2))
            body = body[:max(0, len(body) - cut)]
            self.log("misbehave", ("rule", "short-body"), ("code", code), ("cut", cut))
        rule = rules.take("long-body", code)
        if rule:
            extra = rule.integer(8)
            body = body + b"\xa5" * extra
            self.log("misbehave", ("rule", "long-body"), ("code", code), ("extra", extra))
        delta, override = 0, None
        rule = rules.take("wrong-length", code)
        if rule:
            delta = rule.integer(4)
            self.log("misbehave", ("rule", "wrong-length"), ("code", code), ("delta", delta))
        if rules.take("zero-length", code):
            override = 0
            self.log("misbehave", ("rule", "zero-length"), ("code", code))
        data = frame(self.form, reply_id, code, body, delta, override)
        if rules.take("close-mid-reply", code):
            self.send(data[:len(data) // 2])
            self.log("misbehave", ("rule", "close-mid-reply"), ("code", code),
                     ("sent", len(data) // 2), ("of", len(data)))
            raise Closed("close-mid-reply")
        # Logged before it goes: a client that has read the reply must find
        # it in the log, or a test counting the log's lines races the peer.
        self.log("reply", ("code", code), ("reqid", reply_id), ("status", reply.status),
                 ("bytes", len(data)))
        if rules.take("split-reply", code):
            with self.send_lock:
                for i in range(len(data)):
                    self.sock.sendall(data[i:i + 1])
                    time.sleep(0.002)
        else:
            self.send(data)

    # ---- data connections ------------------------------------------------

    def download_plan(self, body, kind, ref):
        """The bytes of a data connection under the rules in force, or None."""
        rules = self.rules()
        code = self.handlers.code
        if rules.take("data-no-connect", code):
            self.log("misbehave", ("rule", "data-no-connect"))
            return None
        size = len(body)
        if rules.take("data-unknown-size", code):
            size = -1
        end = b"\n" if rules.take("data-empty-line", code) else b"\0"
        header = dataconn.kxhdr(size, ref, kind, end=end)
        if rules.take("data-no-header", code):
            header = b""
        rule = rules.take("data-short", code)
        if rule:
            body = body[:max(0, len(body) - rule.integer(max(1, len(body) // 2)))]
        rule = rules.take("data-long", code)
        if rule:
            body = body + b"\xa5" * rule.integer(64)
        split = bool(rules.take("data-split", code))
        rule = rules.take("data-delay", code)
        delay = rule.number(1.0) if rule else 0.0
        rule = rules.take("data-trickle", code)
        trickle = max(1, rule.integer(1024)) if rule else 0
        rule = rules.take("data-hold", code)
        hold = rule.number(1.0) if rule else 0.0
        return dataconn.Download(header, body, split, delay, trickle, hold)

    # ---- unsolicited messages ------------------------------------------

    def message_text(self, what):
        kind, _, arg = what.partition(":")
        to = self.user_name
        if kind == "echo":
            return "FROM korvex-peer [%s]\nTO %s\nDATA ECHO_REQUEST" % (arg or "peer", to)
        if kind == "msg":
            return "FROM korvex-peer [peer]\nTO %s\nMSG %s" % (to, unescape(arg))
        if kind == "data":
            return "FROM korvex-peer [peer]\nTO %s\nDATA %s" % (to, unescape(arg))
        return unescape(arg)

    def unsolicited(self, what):
        kind, _, arg = what.partition(":")
        lay = self.layout()
        if kind == "reply":
            code = int(arg)
            body = replies.failure(lay, code, 0) or b""
            data = frame(self.form, lay.reply_id(0x7FFF), code, body)
        elif kind == "code":
            data = frame(self.form, 0, int(arg), b"")
        else:
            text = self.message_text(what)
            body = replies.hello(lay, self.server.options.version, 0, text)
            data = frame(self.form, self.version_word(), 25, body)
        self.send(data)
        self.log("unsolicited", ("what", what), ("bytes", len(data)))

    def start_periodic(self):
        if getattr(self, "_periodic", None) is not None:
            return
        self._periodic = threading.Thread(target=self._run_periodic, daemon=True)
        self._periodic.start()

    def _run_periodic(self):
        last = {}
        while self.alive:
            now = time.monotonic()
            for trig in self.rules().periodic():
                if now - last.setdefault(trig.spec, now) >= trig.period:
                    last[trig.spec] = now
                    try:
                        self.unsolicited(trig.what)
                    except OSError:
                        return
            time.sleep(0.05)

