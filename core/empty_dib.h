// A new, zero-filled packed DIB in a moveable global block: the form in which
// pictures travel between the client, the image library and the plug-ins.
#pragma once

#include "win/types.h"

// Widths and heights this code makes or reads: beyond this a picture is
// refused as malformed rather than tried.
constexpr int kMaxDibDimension = 32767;

// The packed-DIB row length in bytes: `bits` per pixel, padded to 4 bytes.
constexpr DWORD_PTR DibRowBytes(int width, int bits) {
  return (static_cast<DWORD_PTR>(width) * static_cast<DWORD_PTR>(bits) + 31) / 32 * 4;
}

// A 40-byte header (one plane, `bits` per pixel, no compression), a zeroed
// colour table of 2^bits entries (none for 24 bits, whose count goes into
// biClrUsed and biClrImportant), then zeroed pixel rows. biSizeImage and the
// block both hold height rows of (3 * width + 3) / 4 * 4 bytes whatever the
// bit count: the 24-bit row length, never shorter than the real one.
// Null for a bit count other than 1, 4, 8, 24 or a size outside
// 1..kMaxDibDimension; null after the box "AFX_ERR_OUT_OF_MEM" when the
// block cannot be had.
HGLOBAL CreateEmptyDib(int bits, int width, int height);
