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

// Rows of 32-bit pixels laid out as a true-colour surface's (bytes B, G, R
// and a fourth that is ignored): the bits of an uncompressed 32-bit DIB.
struct PixelRows {
  const std::uint8_t* bits = nullptr;
  std::int64_t stride = 0;  // bytes from one stored row to the next
  std::int64_t width = 0;   // pixels in a row
  std::int64_t first = 0;   // the picture rows held (0 = top): [first, first + count)
  std::int64_t count = 0;
  bool bottomUp = false;  // the lowest of those rows is stored first
};

// A plain copy (SRCCOPY, neither stretched nor mirrored) of such rows onto
// a true-colour surface: each row goes across as it is, without a row
// buffer or a conversion between. False, with nothing drawn, for any other
// case and where the destination would take pixels from outside the rows
// held: the caller then draws through RunStretch, which leaves those alone.
bool CopyPixelRows(DcRecord& dst, const AxisMap& ax, const AxisMap& ay, std::uint8_t rop,
                   const PixelRows& src);

}  // namespace win::gdi
