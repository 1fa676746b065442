#!/usr/bin/env bash
# Makes the PCX oracle files of the Murvik tests: source pictures of 2, 16,
# 200 and many colours (odd sizes, so line padding shows), turned into PCX
# by netpbm's ppmtopcx at 1, 4 (planar and packed), 8 and 24 bits, and what
# netpbm's pcxtoppm reads back from each (the pixels the tests expect).
# Needs netpbm and python3. Usage: tools/make-pcx-oracles.sh [out-dir]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/tests/data/plugins/pcx}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name width height colours
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
def ppm(name, w, h, colour):
    with open(f"{work}/{name}.ppm", "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        for y in range(h):
            for x in range(w):
                f.write(bytes(colour(x, y)))
ppm("two", 37, 11, lambda x, y: (255, 255, 255) if (x * 3 + y) % 5 < 2 else (0, 0, 0))
pal16 = [((i * 53) % 256, (i * 97 + 30) % 256, (255 - i * 16) % 256) for i in range(16)]
ppm("sixteen", 29, 13, lambda x, y: pal16[(x + 2 * y) % 16])
pal200 = [((i * 37) % 256, (i * 11 + 5) % 256, (i * 73 + 100) % 256) for i in range(200)]
ppm("twohundred", 31, 17, lambda x, y: pal200[(x * 7 + y * 3) % 200])
ppm("truecolour", 41, 19, lambda x, y: ((x * 11) % 256, (y * 29) % 256, (x * y * 7 + 13) % 256))
PY

make() {  # make <out name> <source> <ppmtopcx options...>
  local name=$1 src=$2
  shift 2
  ppmtopcx "$@" "$work/$src.ppm" > "$out/$name.pcx" 2>/dev/null
  pcxtoppm "$out/$name.pcx" > "$out/$name.ppm" 2>/dev/null
}
make mono1 two
make planes4 sixteen
make packed4 sixteen -packed
make indexed8 twohundred
make indexed8-from16 sixteen -8bit
make rgb24 truecolour -24bit
make rgb24-from200 twohundred -24bit
ls -l "$out"
