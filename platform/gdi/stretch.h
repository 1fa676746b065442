// The common engine of BitBlt, StretchBlt, SetDIBitsToDevice and
// StretchDIBits: each destination pixel takes the nearest source pixel (the
// one under its centre), the source is converted to the destination's
// device values, and the raster operation is applied span by span inside
// the destination's clip.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "gdi/dc.h"
#include "gdi/paint.h"

namespace win::gdi {

// One axis of a stretch: destination pixels [dst, dst + dstLen) take source
// pixels [src, src + srcLen), mirrored when `mirror`.
struct AxisMap {
  std::int64_t dst = 0, dstLen = 0;
  std::int64_t src = 0, srcLen = 0;
  bool mirror = false;
  // Source coordinate of destination coordinate d (inside the range): the
  // source pixel nearest to the destination pixel's centre, a tie going to
  // the lower one ((i + 1/2) * srcLen / dstLen - 1/2, rounded half down), as
  // ImageMagick's -sample picks them.
  std::int64_t Map(std::int64_t d) const {
    std::int64_t i = d - dst;
    std::int64_t num = (2 * i + 1) * srcLen - 2 * dstLen, den = 2 * dstLen;
    std::int64_t j = num >= 0 ? (num + den - 1) / den : -((-num) / den);
    if (j < 0) j = 0;
    if (j >= srcLen) j = srcLen - 1;
    if (mirror) j = srcLen - 1 - j;
    return src + j;
  }
};

// Builds an axis from signed extents as the Win32 calls take them.
AxisMap MakeAxis(std::int64_t dst, std::int64_t dstExt, std::int64_t src, std::int64_t srcExt);

// Supplies source rows: for source row `row`, the device values of columns
// [x0, x1) into `out`, and 0 in `valid` where there is no source pixel.
using RowFetch = std::function<void(std::int64_t row, std::int64_t x0, std::int64_t x1,
                                    std::uint32_t* out, std::uint8_t* valid)>;

// Runs the stretch on a destination DC (surface coordinates in the maps).
// `ink` is the pattern (may be none when the operation has no pattern).
void RunStretch(DcRecord& dst, const AxisMap& ax, const AxisMap& ay, std::uint8_t rop,
                const Ink& ink, const RowFetch& fetch);

}  // namespace win::gdi
