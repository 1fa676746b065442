"""The listening socket, the connections, the control file and the lifetime."""

import os
import socket
import threading
import time

from .connection import Connection
from .misbehave import Rule, Trigger

POLL_SECONDS = 0.1


class Server:
    def __init__(self, options, store, rules, log):
        self.options = options
        self.store = store
        self.rules = rules
        self.log = log
        self.connections = []
        self.mutex = threading.Lock()
        self.counter = 0
        self.stopping = threading.Event()
        self.listener = None
        self.control_stamp = None

    def listen(self):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((self.options.host, self.options.port))
        self.listener.listen(16)
        self.listener.settimeout(POLL_SECONDS)
        return self.listener.getsockname()[1]

    def forget(self, conn):
        with self.mutex:
            if conn in self.connections:
                self.connections.remove(conn)

    def live_connections(self):
        with self.mutex:
            return list(self.connections)

    def serve(self):
        started = time.monotonic()
        if self.options.control:
            threading.Thread(target=self._watch_control, daemon=True).start()
        while not self.stopping.is_set():
            if self.options.lifetime and time.monotonic() - started > self.options.lifetime:
                self.log.write(0, "lifetime-over")
                break
            try:
                sock, address = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                if self.stopping.is_set():
                    break
                raise
            with self.mutex:
                self.counter += 1
                conn = Connection(self, sock, address, self.counter)
                self.connections.append(conn)
            threading.Thread(target=conn.run, daemon=True).start()
        self.shutdown()

    def shutdown(self):
        self.stopping.set()
        if self.listener is not None:
            self.listener.close()
        for conn in self.live_connections():
            conn.close()

    # ---- control file ----------------------------------------------------

    def _watch_control(self):
        steady = True
        while not self.stopping.is_set():
            try:
                st = os.stat(self.options.control)
                stamp = (st.st_mtime_ns, st.st_size, st.st_ino)
            except OSError:
                stamp = None
            if stamp is not None and stamp != self.control_stamp:
                self.control_stamp = stamp
                steady = False
                try:
                    self.apply_control(self.options.control)
                except (OSError, ValueError) as exc:
                    self.log.write(0, "control-error", ("error", exc))
            elif stamp is not None and not steady:
                # The first look that found the file as applied: a test
                # waits for it to know that an unchanged file ran nothing.
                steady = True
                self.log.write(0, "control-steady")
            time.sleep(POLL_SECONDS)

    def apply_control(self, path):
        """Reads the control file: its rules replace the earlier file's; its
        send, close and dump lines run once per change of the file."""
        with open(path, encoding="latin-1") as f:
            lines = [ln.rstrip("\n") for ln in f]
        rules, triggers, actions = [], [], []
        for line in lines:
            if not line.strip() or line.startswith("#"):
                continue
            verb, _, arg = line.partition(" ")
            if verb == "misbehave":
                rules.append(Rule(arg.strip()))
            elif verb == "unsolicited":
                triggers.append(Trigger(arg.strip()))
            elif verb in ("send", "close", "dump"):
                actions.append((verb, arg.strip()))
            else:
                raise ValueError("unknown control line %r" % line)
        self.rules.replace_file_set(rules, triggers)
        self.log.write(0, "control", ("rules", len(rules)), ("triggers", len(triggers)),
                       ("actions", len(actions)))
        for verb, arg in actions:
            if verb == "send":
                Trigger("after-hello=" + arg)   # checks the message form
                for conn in self.live_connections():
                    if not conn.hello_seen:
                        continue
                    try:
                        conn.unsolicited(arg)
                    except OSError:
                        pass
            elif verb == "close":
                for conn in self.live_connections():
                    conn.close()
            elif verb == "dump":
                with self.store.mutex:
                    self.store.dump(arg)
                self.log.write(0, "dumped", ("dir", arg))
