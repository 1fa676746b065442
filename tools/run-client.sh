#!/usr/bin/env bash
# Builds the client and runs it on the bundled sample data. By default the
# client opens the local database the build makes from data/sample
# (<build>/data/localdb/SAMPLE.CFG, a "kxlocal:" address): no server is
# needed. With --peer as the first argument it connects instead to the
# reference Korvex peer, started here to serve data/sample on a free
# loopback port. The client opens an X11 window (under Xvfb when there is no
# display) and reads a copy of data/Tolm.ini in a run folder of its own, with
# the data source and the home directory filled in; the shipped file is not
# changed. The peer (and Xvfb) stop when the client exits.
#
# ZEMRA_BUILD_DIR names a build folder to use instead of build/release (it
# must hold bin/Tolm); ZEMRA_RUN_DIR a run folder to keep (else a temporary
# one, removed at the end). Further arguments go to the client.
set -eu
source=local
if [ "${1:-}" = "--peer" ]; then
  source=peer
  shift
fi
top=$(cd "$(dirname "$0")/.." && pwd)

build=${ZEMRA_BUILD_DIR:-}
if [ -z "$build" ]; then
  "$top/tools/install-deps.sh"
  build="$top/build/release"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEMRA_TESTS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)"
fi
client="$build/bin/Tolm"
[ -x "$client" ] || { echo "run-client: no client at $client" >&2; exit 1; }

if [ -n "${ZEMRA_RUN_DIR:-}" ]; then
  run=$ZEMRA_RUN_DIR
  mkdir -p "$run"
  keep_run=1
else
  run=$(mktemp -d "${TMPDIR:-/tmp}/tolm-run.XXXXXX")
  keep_run=0
fi

peer_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$peer_pid" ] && kill "$peer_pid" 2>/dev/null && wait "$peer_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  [ "$keep_run" = 1 ] || rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$source" = peer ]; then
  # The server: the reference peer on a free loopback port.
  rm -f "$run/peer.port"
  python3 "$top/tests/peer/korvex_peer.py" --content "$top/data/sample" --port 0 \
    --port-file "$run/peer.port" --log "$run/peer.log" --lifetime 0 &
  peer_pid=$!
  for _ in $(seq 1 300); do
    [ -s "$run/peer.port" ] && break
    kill -0 "$peer_pid" 2>/dev/null || { echo "run-client: the peer did not start" >&2; exit 1; }
    sleep 0.1
  done
  port=$(cat "$run/peer.port")
  [ -n "$port" ] || { echo "run-client: the peer wrote no port" >&2; exit 1; }
  server="korvex://127.0.0.1:$port/rootcollection"
  where="server korvex://127.0.0.1:$port/ (log $run/peer.log)"
else
  # The local database the build made from data/sample.
  database="$build/data/localdb/SAMPLE.CFG"
  [ -f "$database" ] || { echo "run-client: no sample database at $database (build the target sample_localdb)" >&2; exit 1; }
  server="kxlocal:$database"
  where="local database $database"
fi

# The home directory as the program is installed: the shipped data, and the
# picture converters beside it (the client loads them from its home). What
# the client writes there stays in the run folder.
home="$run/home"
rm -rf "$home"
mkdir -p "$home"
ln -s "$top"/data/* "$home"/
for lib in "$build"/bin/*.so; do
  [ -e "$lib" ] && ln -s "$lib" "$home"/
done

# The settings: the shipped file with this run's server and home directory.
python3 - "$top/data/Tolm.ini" "$run/Tolm.ini" "$server" \
  "$home" <<'PY'
import sys
source, target, server, home = sys.argv[1:]
section = None
out = []
for line in open(source, encoding="latin-1").read().splitlines():
    stripped = line.strip()
    if stripped.startswith("[") and stripped.endswith("]"):
        section = stripped[1:-1].lower()
    elif section == "connect" and stripped.lower().startswith("server="):
        line = "Server=" + server
    elif section == "tolm" and stripped.lower().startswith("homedir="):
        line = "HomeDir=" + home
    out.append(line)
open(target, "w", encoding="latin-1").write("\n".join(out) + "\n")
PY

# A display: the user's, else a virtual one.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 99 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
  done
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
  export DISPLAY=$display
fi
unset ZEMRA_HEADLESS

echo "run-client: $where, settings $run/Tolm.ini"
cd "$run"
status=0
"$client" "$@" || status=$?
exit $status
