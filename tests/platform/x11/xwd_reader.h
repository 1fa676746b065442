// Reads the picture that "xwd" writes (X Window Dump, version 7, ZPixmap,
// true colour) into a surface of 0x00RRGGBB pixels.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "gdi/surface.h"

namespace x11_test {

namespace xwd_detail {

// The header's fields, each a big-endian 32-bit number, in file order.
enum Field {
  kHeaderSize, kVersion, kFormat, kDepth, kWidth, kHeight, kXOffset, kByteOrder, kBitmapUnit,
  kBitOrder, kBitmapPad, kBitsPerPixel, kBytesPerLine, kVisualClass, kRedMask, kGreenMask,
  kBlueMask, kBitsPerRgb, kColormapEntries, kColors, kFieldCount = 25
};

inline std::uint32_t Big32(const std::vector<unsigned char>& d, size_t at) {
  return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) | (std::uint32_t{d[at + 2]} << 8) | d[at + 3];
}

// An 8-bit channel from a pixel and its mask.
inline std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const std::uint32_t max = mask >> shift;
  return ((pixel & mask) >> shift) * 255 / max;
}

}  // namespace xwd_detail

// Null (and `error`) for a file that is not such a dump, or is cut short.
inline std::unique_ptr<win::gdi::Surface> ReadXwd(const std::string& path, std::string* error) {
  using namespace xwd_detail;
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < kFieldCount * 4) {
    *error = "too short for a header";
    return nullptr;
  }
  std::uint32_t h[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) h[i] = Big32(d, static_cast<size_t>(i) * 4);
  if (h[kVersion] != 7 || h[kFormat] != 2 || h[kBitsPerPixel] != 32) {
    *error = "not a 32-bit ZPixmap dump of version 7";
    return nullptr;
  }
  const std::uint64_t width = h[kWidth], height = h[kHeight], line = h[kBytesPerLine];
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || line < width * 4) {
    *error = "bad size";
    return nullptr;
  }
  const std::uint64_t start = std::uint64_t{h[kHeaderSize]} + std::uint64_t{h[kColors]} * 12;
  if (start > d.size() || (d.size() - start) / line < height) {
    *error = "cut short";
    return nullptr;
  }
  auto out = win::gdi::Surface::Create(static_cast<int>(width), static_cast<int>(height));
  if (!out) {
    *error = "no memory";
    return nullptr;
  }
  const bool lsb = h[kByteOrder] == 0;
  for (std::uint64_t y = 0; y < height; ++y) {
    const unsigned char* row = d.data() + start + y * line;
    for (std::uint64_t x = 0; x < width; ++x) {
      const unsigned char* p = row + x * 4;
      const std::uint32_t v = lsb ? (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]
                                  : (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
      out->Row(static_cast<int>(y))[x] = (Channel(v, h[kRedMask]) << 16) | (Channel(v, h[kGreenMask]) << 8) |
                                         Channel(v, h[kBlueMask]);
    }
  }
  return out;
}


}  // namespace x11_test
