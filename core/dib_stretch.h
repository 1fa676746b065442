// Nearest-neighbour scaling of 24-bit and 8-bit DIBs.
#pragma once

#include "win/types.h"

// A new DIB of width x height: destination column x takes source column
// floor(x * source width / width), row y source row floor(y * source height
// / height). Null for a bad source DIB (see DibView) or a size outside
// 1..kMaxDibDimension, or when the result cannot be made; when the column
// table cannot be had, after the box of string 4 ("Out of Memory").
HGLOBAL StretchDib24(HGLOBAL dib, int width, int height);
// The same for an 8-bit DIB; the colour table is copied.
HGLOBAL StretchDib8(HGLOBAL dib, int width, int height);
