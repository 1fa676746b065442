// A copy of a DIB block, and a rectangle cut out of a DIB.
#include <algorithm>
#include <cstring>

#include "dib_block.h"
#include "pixels.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

HGLOBAL CopyDIB(HGLOBAL dib) {
  LockedDib d(dib);
  if (d.null()) {
    Report("CopyDIB", kNoDib);
    return nullptr;
  }
  NewBlock copy(d.size());
  if (!copy.ok()) {
    Report("CopyDIB", kNoMemory);
    return nullptr;
  }
  std::memcpy(copy.data(), d.data(), d.size());
  return copy.Release();
}

// The rectangle is in stored rows (y = 0 is the bottom row). Parts of it
// outside the source stay 0, at every bit count.
HGLOBAL CropDIB(HGLOBAL dib, UINT x, UINT y, UINT width, UINT height) {
  constexpr char kOp[] = "CropDIB";
  LockedDib d(dib);
  if (!AcceptSource(d, {kOp, 0, nullptr, kOp, kNoRle})) return nullptr;
  unsigned bits = d.bitCount();
  std::uint64_t rowBytes = RowBytes(width, bits);
  std::uint64_t imageBytes = rowBytes * height;
  // Room for the full table of the bit count, as the header's own count.
  DWORD slots = std::max<DWORD>(d.colors(), bits <= 8 ? DWORD{1} << bits : 0);
  bool fits = width <= kMaxSide && height <= kMaxSide && imageBytes <= kMaxBitsBytes;
  NewBlock out(fits ? kInfoHeaderSize + 4ull * slots + imageBytes : ~0ull);
  if (!out.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  FillHeader(out.header(), static_cast<LONG>(width), static_cast<LONG>(height), static_cast<WORD>(bits),
             static_cast<DWORD>(imageBytes), kPelsPerMeter, kPelsPerMeter, d.colors(), 0);
  std::memcpy(out.table(), d.table(), 4ull * d.colors());
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4ull * d.colors();
  std::uint64_t srcWidth = static_cast<std::uint64_t>(d.width());
  std::uint64_t srcHeight = static_cast<std::uint64_t>(d.height());
  std::uint64_t columns = x < srcWidth ? std::min<std::uint64_t>(width, srcWidth - x) : 0;
  for (std::uint64_t r = 0; columns > 0 && r < height && y + r < srcHeight; ++r) {
    const std::uint8_t* src = d.row(y + r);
    std::uint8_t* dst = outBits + r * rowBytes;
    if (bits >= 8) {
      std::memcpy(dst, src + x * (bits / 8), columns * (bits / 8));
    } else {
      for (std::uint64_t c = 0; c < columns; ++c) PutPixel(dst, c, bits, GetPixel(src, x + c, bits));
    }
  }
  return out.Release();
}
