#!/usr/bin/env bash
# Builds the client and runs it on the bundled sample data: a window on X11
# when $DISPLAY is set, headless otherwise.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
build="$top/build/release"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEMRA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$top/data"
exec "$build/bin/Tolm" "$@"
