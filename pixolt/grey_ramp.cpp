// 24 to 8 bits: a grey ramp, or the colour reduction.
#include <cstring>

#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

HGLOBAL DIB24To8(HGLOBAL dib, BOOL grey) {
  constexpr char kOp[] = "DIB24to8";
  if (!dib) {
    Report(kOp, kNoDib);
    return nullptr;
  }
  if (!grey) return ReduceColors(dib, 8, PIXOLT_REDUCE_DITHER | PIXOLT_REDUCE_MEDIANCUT);
  LockedDib d(dib);
  if (!AcceptSource(d, {kOp, 24, kAlreadyReduced, kOp, kNoRle})) return nullptr;
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t height = static_cast<std::uint64_t>(d.height());
  std::uint64_t outRow = RowBytes(width, 8);
  NewBlock out(kInfoHeaderSize + 4 * 256 + outRow * height);
  if (!out.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  FillHeader(out.header(), d.width(), d.height(), 8, static_cast<DWORD>(outRow * height), kPelsPerMeter,
             kPelsPerMeter, 256, 0);
  RGBQUAD* table = out.table();
  for (unsigned i = 0; i < 256; ++i) {
    auto v = static_cast<BYTE>(i);
    table[i] = RGBQUAD{v, v, v, 0};
  }
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4 * 256;
  for (std::uint64_t y = 0; y < height; ++y) {
    const std::uint8_t* s = d.row(y);
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t x = 0; x < width; ++x) {
      o[x] = static_cast<std::uint8_t>((77u * s[3 * x + 2] + 151u * s[3 * x + 1] + 28u * s[3 * x]) / 256u);
    }
  }
  return out.Release();
}
