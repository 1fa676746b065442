// Ordered dithering of true-colour and palette pictures to the 8-bit
// halftone palette (win/wing.h), for palette displays.
#pragma once

#include "win/types.h"

// Threshold of the 8x8 ordered-dither matrix at column x, row y (rows
// counted in memory order, from the bottom of the picture).
int HalftoneThreshold(int x, int y);

// The halftone-palette index for one colour at column x, row y: each
// channel's level is v / 51, plus 1 when v mod 51 exceeds the threshold;
// the index is the palette slot of cube entry r + 6g + 36b.
BYTE HalftoneIndex(BYTE red, BYTE green, BYTE blue, int x, int y);

// A new 8-bit DIB of the same size whose colour table is the halftone
// palette, made from a 24-bit DIB. Null for anything but an uncompressed
// 24-bit DIB whose header fits its block, or when the result cannot be made.
HGLOBAL DitherRgbToPalette(HGLOBAL dib);

// The same for an 8-bit DIB: each index is taken through the source colour
// table first (an index beyond that table counts as black).
HGLOBAL DitherIndexedToPalette(HGLOBAL dib);
