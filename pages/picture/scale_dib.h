// Smooth scaling of pictures for the display: bilinear interpolation when a
// picture grows in either direction, area averaging when it shrinks in both.
// The per-pixel weighting reads the display's 128 x 256 scale table.
#pragma once

#include "win/types.h"

// A new 24-bit DIB of width x height showing `source` (8 or 24 bits per
// pixel, uncompressed) stretched to that size; the source is unchanged and
// the result belongs to the caller. An 8-bit index beyond the colour table
// takes the table's last colour. Null for a bad source or size, and after
// the box "AFX_ERR_OUT_OF_MEM" when the result cannot be had.
HGLOBAL ScaleDib(HGLOBAL source, int width, int height);

// A 24-bit copy of a 16- or 32-bit DIB (BI_RGB as 5-5-5 and 8-8-8, or
// BI_BITFIELDS with its three masks); null for anything else or a DIB that
// does not fit its block.
HGLOBAL WidenDibTo24(HGLOBAL source);

// The bits per pixel a BMP file's header gives (0 when it is no BMP file).
int BmpFileBitCount(const char* fileName);
// A 16- or 32-bit BMP file (which the image library does not read) as a
// 24-bit DIB; null for any other file or one that does not hold its rows.
HGLOBAL ReadDeepBmpFile(const char* fileName);
