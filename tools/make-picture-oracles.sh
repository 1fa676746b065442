#!/usr/bin/env bash
# Makes the TIFF and GIF files the plug-in tests read, and what the reference
# decoders make of them, under tests/data/plugins/{tiff,gif}/:
#   <name>.tif / <name>.gif   a picture written by netpbm, libtiff's tiffcp
#                             or giflib's gifbuild
#   <name>.ppm                the reference decoding (tifftopnm, giftopnm),
#                             as 8-bit RGB (P6, maxval 255)
#   refused/<name>.tif        pictures our reader refuses; <name>.txt holds
#                             the message it must show
# Needs netpbm, libtiff-tools and giflib-tools (tools/install-deps.sh).
# The output is committed; run again only to change the set.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tiff=$root/tests/data/plugins/tiff
gif=$root/tests/data/plugins/gif
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$tiff" "$gif"
mkdir -p "$tiff/refused" "$tiff/predictor" "$gif"
cd "$work"

to_ppm() { ppmtoppm | pamdepth 255; }

# ---- Sources -----------------------------------------------------------------
pgmramp -diag 45 21 | pamditherbw -floyd -randomseed=1 | pamtopnm > bw.pbm           # 1 bit, odd width
pgmramp -lr 37 23 | pamdepth 15 > g4.pgm                                 # 16 grey levels
pgmramp -ellipse 61 33 > g8.pgm                                          # 256 grey levels
pgmnoise -randomseed=7 160 120 > noise8.pgm                              # LZW table resets
ppmrainbow -width 50 -height 31 red yellow blue green > rainbow.ppm
pnmcolormap 11 rainbow.ppm > map11.ppm 2>/dev/null
pnmremap -nofloyd -mapfile=map11.ppm rainbow.ppm > p4.ppm 2>/dev/null    # 11 colours
ppmrainbow -width 64 -height 40 red cyan magenta yellow > rainbow2.ppm
pnmcolormap 200 rainbow2.ppm > map200.ppm 2>/dev/null
pnmremap -nofloyd -mapfile=map200.ppm rainbow2.ppm > p8.ppm 2>/dev/null  # up to 200 colours
cp rainbow.ppm rgb.ppm                                                   # 24 bits
pgmnoise -randomseed=1 90 70 > r.pgm
pgmnoise -randomseed=2 90 70 > g.pgm
pgmnoise -randomseed=3 90 70 > b.pgm
rgb3toppm r.pgm g.pgm b.pgm > rgbnoise.ppm

# ---- TIFF --------------------------------------------------------------------
# pnmtotiff writes little-endian; tiffcp -B rewrites big-endian.
tif() {  # tif <name> <source> <pnmtotiff options...>
  local name=$1 src=$2
  shift 2
  pnmtotiff "$@" "$src" > "$tiff/$name.tif" 2>/dev/null
  tifftopnm "$tiff/$name.tif" 2>/dev/null | to_ppm > "$tiff/$name.ppm"
}
tifcp() {  # tifcp <name> <from> <tiffcp options...>
  local name=$1 from=$2
  shift 2
  tiffcp "$@" "$tiff/$from.tif" "$tiff/$name.tif"
  tifftopnm "$tiff/$name.tif" 2>/dev/null | to_ppm > "$tiff/$name.ppm"
}
for s in bw g4 g8 p4 p8 rgb; do
  src=$s.pgm
  [ -f "$src" ] || src=$s.ppm
  [ -f "$src" ] || src=$s.pbm
  opts=()
  [ "$s" = rgb ] && opts=(-truecolor)
  [ "$s" = p4 ] && opts=(-indexbits=1,2,4)
  tif "$s-none-le" "$src" -none "${opts[@]}"
  tif "$s-lzw-le-r7" "$src" -lzw -rowsperstrip=7 "${opts[@]}"
  tif "$s-packbits-le-r1" "$src" -packbits -rowsperstrip=1 "${opts[@]}"
  tifcp "$s-none-be-r5" "$s-none-le" -B -c none -r 5
  tifcp "$s-lzw-be" "$s-none-le" -B -c lzw -r 100000
  tifcp "$s-packbits-be-r3" "$s-none-le" -B -c packbits -r 3
done
tif bw-miniswhite bw.pbm -miniswhite -lzw
tif g8-miniswhite g8.pgm -miniswhite -packbits
tif noise8-lzw-le noise8.pgm -lzw -rowsperstrip=1000
tifcp noise8-lzw-be-r16 noise8-lzw-le -B -c lzw -r 16
tif rgbnoise-lzw-le rgbnoise.ppm -lzw -truecolor -rowsperstrip=1000
tifcp rgbnoise-packbits-be-r9 rgbnoise-lzw-le -B -c packbits -r 9
# Several pictures: the first one is read.
tiffcp "$tiff/p4-none-le.tif" "$tiff/g8-none-le.tif" "$tiff/two-ifds.tif"
cp "$tiff/p4-none-le.ppm" "$tiff/two-ifds.ppm"

# A horizontal predictor, which the reader does not undo: it reads the
# differences as they are stored.
mkdir -p "$tiff/predictor"
tiffcp -c lzw:2 "$tiff/g8-none-le.tif" "$tiff/predictor/g8-lzw-predictor.tif"

refuse() {  # refuse <name> <message> <command...>
  local name=$1 message=$2
  shift 2
  "$@" > /dev/null 2>&1
  printf '%s' "$message" > "$tiff/refused/$name.txt"
}
refuse planar-separate "Die Aufteilung in Farbebenen wird nicht unterstützt!" \
  tiffcp -p separate "$tiff/rgb-none-le.tif" "$tiff/refused/planar-separate.tif"
refuse tiled "Dieser Bildaufbau (Tiled Image) wird nicht unterstützt!" \
  tiffcp -t -w 16 -l 16 "$tiff/g8-none-le.tif" "$tiff/refused/tiled.tif"
refuse fax3 "Gruppe 3 Fax-Format wird nicht unterstützt!" \
  tiffcp -c g3 "$tiff/bw-none-le.tif" "$tiff/refused/fax3.tif"
refuse fax4 "Gruppe 4 Fax-Format wird nicht unterstützt!" \
  tiffcp -c g4 "$tiff/bw-none-le.tif" "$tiff/refused/fax4.tif"
pnmtotiff -lsb2msb bw.pbm > "$tiff/refused/fillorder2.tif" 2>/dev/null
printf '%s' "Dieser Datenaufbau (Fillorder != 1) wird nicht unterstützt!" > "$tiff/refused/fillorder2.txt"

# ---- GIF ---------------------------------------------------------------------
gf() {  # gf <name> <source> <pamtogif options...>
  local name=$1 src=$2
  shift 2
  pamtogif "$@" "$src" > "$gif/$name.gif" 2>/dev/null
  giftopnm "$gif/$name.gif" 2>/dev/null | to_ppm > "$gif/$name.ppm"
}
pnmcolormap 3 rainbow.ppm > map3.ppm 2>/dev/null
pnmremap -nofloyd -mapfile=map3.ppm rainbow.ppm > c3.ppm 2>/dev/null
gf c2 bw.pbm
gf c2-interlaced bw.pbm -interlace
gf c3 c3.ppm
gf c11 p4.ppm
gf c11-interlaced p4.ppm -interlace
gf c200 p8.ppm
gf c200-interlaced p8.ppm -interlace
gf g256 g8.pgm
gf noise8 noise8.pgm
gf noise8-interlaced noise8.pgm -interlace
gf c11-transparent p4.ppm -transparent="$(ppmhist -noheader p4.ppm | awk 'NR==3{printf "rgb:%02x/%02x/%02x", $1, $2, $3}')"

# gifbuild pictures: hex rasters, one pair of digits per pixel.
raster() {  # raster <width> <height> <colours> <seed>
  awk -v w="$1" -v h="$2" -v n="$3" -v s="$4" 'BEGIN {
    for (y = 0; y < h; y++) { line = "";
      for (x = 0; x < w; x++) line = line sprintf("%02x", (x * 3 + y * 5 + s + int(x / 4) * y) % n);
      print line } }'
}
colormap() {  # colormap <colours> <seed>
  awk -v n="$1" -v s="$2" 'BEGIN { for (i = 0; i < n; i++)
    printf "\trgb %03d %03d %03d is %02x\n", (i * 37 + s) % 256, (i * 91 + 2 * s) % 256, (i * 53 + 3 * s) % 256, i }'
}
screen() {  # screen <width> <height> [global colours]
  printf 'screen width %s\nscreen height %s\nscreen colors %s\n' "$1" "$2" "${3:-2}"
  printf 'screen background 0\npixel aspect byte 0\n'
  if [ $# -ge 3 ]; then printf 'screen map\n'; colormap "$3" 5; printf 'end\n'; fi
}
image() {  # image <left> <top> <width> <height> <colours> <seed> [local colours] [interlaced]
  printf 'image\nimage left %s\nimage top %s\n' "$1" "$2"
  [ "${8:-}" = interlaced ] && printf 'image interlaced\n'
  if [ -n "${7:-}" ]; then printf 'image map\n'; colormap "$7" 11; printf 'end\n'; fi
  printf 'image bits %s by %s hex\n' "$3" "$4"
  raster "$3" "$4" "$5" "$6"
}
# The index-0 colour of the global map, as a canvas for composed pictures.
canvas() { ppmmake "rgb:$(printf '%02x/%02x/%02x' 5 10 15)" "$1" "$2"; }

{ screen 23 17; image 0 0 23 17 16 1 16; } | gifbuild > "$gif/local-only.gif"
giftopnm "$gif/local-only.gif" | to_ppm > "$gif/local-only.ppm"
# The same with the colour-size field of the screen at 0, as most encoders
# write it when there is no global table.
cp "$gif/local-only.gif" "$gif/local-only-size0.gif"
printf '\x00' | dd of="$gif/local-only-size0.gif" bs=1 seek=10 conv=notrunc 2>/dev/null
cp "$gif/local-only.ppm" "$gif/local-only-size0.ppm"
{ screen 23 17; image 0 0 23 17 200 2 256 interlaced; } | gifbuild > "$gif/local-only-256.gif"
giftopnm "$gif/local-only-256.gif" | to_ppm > "$gif/local-only-256.ppm"

# A graphic control extension whose transparency flag is clear (packed 4,
# index 3): no transparent index.
{ screen 12 9 16; printf 'extension f9\n\\004\\000\\000\\003\nend\n'; image 0 0 12 9 16 3; } |
  gifbuild > "$gif/gce-flag-clear.gif"
giftopnm "$gif/gce-flag-clear.gif" | to_ppm > "$gif/gce-flag-clear.ppm"
{ screen 12 9 16; printf 'graphics control\n\tdisposal mode 0\n\tuser input flag off\n\tdelay 0\n\ttransparent index 5\nend\n'
  image 0 0 12 9 16 3; } | gifbuild > "$gif/gce-index5.gif"
giftopnm "$gif/gce-index5.gif" | to_ppm > "$gif/gce-index5.ppm"

# Two frames drawn over each other; the second one partly outside the
# screen (clipped at the right and bottom), a third right of the screen and
# a fourth below it (both skipped).
{ screen 30 20 16; image 0 0 30 20 16 4; image 21 12 14 11 16 9; image 30 2 5 5 16 1; image 3 20 5 5 16 1; } |
  gifbuild > "$gif/frames.gif"
giftopnm -image=1 "$gif/frames.gif" 2>/dev/null | to_ppm > f1.ppm
# giftopnm refuses frames that leave the screen: decode the second frame
# from a file of its own with the same colours.
{ screen 14 11 16; image 0 0 14 11 16 9; } | gifbuild | giftopnm | to_ppm |
  pamcut -left 0 -top 0 -width 9 -height 8 > f2.ppm
pnmpaste f2.ppm 21 12 f1.ppm > "$gif/frames.ppm"
# A small image inside a larger screen: the rest is index 0.
{ screen 25 19 4; image 7 5 9 6 4 2; } | gifbuild > "$gif/offset.gif"
giftopnm "$gif/offset.gif" | to_ppm > o.ppm
canvas 25 19 | pnmpaste o.ppm 7 5 > "$gif/offset.ppm"
