// A grey version of a DIB, and one of half its width and height.
#include <cstring>

#include "dib_block.h"
#include "pixels.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

namespace {

// The luminance the library uses everywhere: 77 red, 151 green, 28 blue.
std::uint8_t Grey(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint8_t>((77u * r + 151u * g + 28u * b) / 256u);
}

}  // namespace

HGLOBAL GrayDIB(HGLOBAL dib) {
  constexpr char kOp[] = "GrayDIB";
  bool trueColor;
  {
    LockedDib d(dib);
    if (d.null()) {
      Report(kOp, kNoDib);
      return nullptr;
    }
    trueColor = d.bitCount() == 24;
  }
  // The grey ramp makes its own checks.
  if (trueColor) return DIB24To8(dib, TRUE);
  HGLOBAL copy = CopyDIB(dib);
  if (!copy) return nullptr;
  bool accepted;
  {
    LockedDib c(copy);
    accepted = AcceptSource(c, {kOp, 0, nullptr, kOp, kNoRle});
    if (accepted) {
      auto* table = reinterpret_cast<RGBQUAD*>(c.data() + kInfoHeaderSize);
      for (DWORD i = 0; i < c.colors(); ++i) {
        std::uint8_t g = Grey(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
        table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = g;
      }
    }
  }
  if (!accepted) {
    GlobalFree(copy);
    return nullptr;
  }
  return copy;
}

HGLOBAL SmallSizeDIB(HGLOBAL dib) {
  constexpr char kOp[] = "SmallSizeDIB";
  LockedDib d(dib);
  if (!AcceptSource(d, {kOp, 0, nullptr, kOp, kIsRle})) return nullptr;
  unsigned bits = d.bitCount();
  std::uint64_t width = static_cast<std::uint64_t>(d.width()) / 2;
  std::uint64_t height = static_cast<std::uint64_t>(d.height()) / 2;
  std::uint64_t rowBytes = RowBytes(width, bits);
  std::uint64_t imageBytes = rowBytes * height;
  NewBlock out(kInfoHeaderSize + 4ull * d.colors() + imageBytes);
  if (!out.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  const BITMAPINFOHEADER& src = d.header();
  FillHeader(out.header(), static_cast<LONG>(width), static_cast<LONG>(height), static_cast<WORD>(bits),
             static_cast<DWORD>(imageBytes), src.biXPelsPerMeter, src.biYPelsPerMeter, d.colors(),
             d.colors());
  std::memcpy(out.table(), d.table(), 4ull * d.colors());
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4ull * d.colors();
  // Every second pixel of every second stored row.
  for (std::uint64_t r = 0; r < height; ++r) {
    const std::uint8_t* src = d.row(2 * r);
    std::uint8_t* dst = outBits + r * rowBytes;
    for (std::uint64_t c = 0; c < width; ++c) PutPixel(dst, c, bits, GetPixel(src, 2 * c, bits));
  }
  return out.Release();
}
