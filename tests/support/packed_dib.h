// Packed DIBs for the picture tests: the 40-byte header, a colour table and
// rows padded to 4 bytes, made from a pixel rule, and pixels read back.
// Shared by the image-library, plug-in and picture tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "win/kernel.h"
#include "win/types.h"

namespace testing_support {

inline std::size_t DibRowBytes(int width, int bits) {
  return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

// The colour entries of a DIB's table: biClrUsed, or all that the bit
// count can index when it is 0.
inline std::size_t DibTableEntries(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed) return h.biClrUsed;
  return h.biBitCount <= 8 ? std::size_t{1} << h.biBitCount : 0;
}

// Stores `v` (an index for 1, 4 and 8 bits, 0xRRGGBB for 24) as pixel `x`
// of a row whose bits start as zeros.
inline void PutPixel(std::uint8_t* row, int x, int bits, std::uint32_t v) {
  switch (bits) {
    case 1: row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | ((v & 1) << (7 - x % 8))); break;
    case 4: row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | ((v & 15) << (x % 2 ? 0 : 4))); break;
    case 8: row[x] = static_cast<std::uint8_t>(v); break;
    default:
      row[3 * x] = static_cast<std::uint8_t>(v);
      row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
  }
}

// Pixel `x` of a row: the index, or 0xRRGGBB for 24 bits.
inline std::uint32_t GetPixel(const std::uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return row[x];
    default: return std::uint32_t{row[3 * x]} | std::uint32_t{row[3 * x + 1]} << 8 | std::uint32_t{row[3 * x + 2]} << 16;
  }
}

// A packed DIB: header (2953 pixels per metre, biClrUsed the table's size),
// `table` as its colour entries (0xRRGGBB), then the rows. `pixel(x, y)`
// is asked row by row from y = 0, which is the top row when `yFromTop`
// and the first stored (bottom) row otherwise.
inline std::vector<std::uint8_t> PackDib(int width, int height, int bits, const std::vector<std::uint32_t>& table,
                                         bool yFromTop, const std::function<std::uint32_t(int x, int y)>& pixel) {
  const std::size_t rowBytes = DibRowBytes(width, bits);
  std::vector<std::uint8_t> dib(40 + 4 * table.size() + rowBytes * height, 0);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biSizeImage = static_cast<DWORD>(rowBytes * height);
  h.biXPelsPerMeter = h.biYPelsPerMeter = 2953;
  h.biClrUsed = static_cast<DWORD>(table.size());
  std::memcpy(dib.data(), &h, sizeof h);
  for (std::size_t i = 0; i < table.size(); ++i) {
    dib[40 + 4 * i] = static_cast<std::uint8_t>(table[i]);
    dib[41 + 4 * i] = static_cast<std::uint8_t>(table[i] >> 8);
    dib[42 + 4 * i] = static_cast<std::uint8_t>(table[i] >> 16);
  }
  std::uint8_t* rows = dib.data() + 40 + 4 * table.size();
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rows + rowBytes * static_cast<std::size_t>(yFromTop ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) PutPixel(row, x, bits, pixel(x, y));
  }
  return dib;
}

// A copy of `bytes` in a new moveable, zero-initialised (GHND) block.
inline HGLOBAL CopyToBlock(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GHND, bytes.size());
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  return block;
}

}  // namespace testing_support
