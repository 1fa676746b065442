// Reading and writing one pixel of a stored row at any bit count.
#pragma once

#include <cstdint>
#include <cstring>

namespace pixolt {

// The pixel value (an index, or the bytes of a 16-, 24- or 32-bit pixel
// packed little-endian) at column x.
inline std::uint32_t GetPixel(const std::uint8_t* row, std::uint64_t x, unsigned bits) {
  switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu;
    case 8: return row[x];
    default: {
      std::uint32_t v = 0;
      unsigned bytes = bits / 8;
      for (unsigned i = 0; i < bytes; ++i) v |= std::uint32_t{row[x * bytes + i]} << (8 * i);
      return v;
    }
  }
}

inline void PutPixel(std::uint8_t* row, std::uint64_t x, unsigned bits, std::uint32_t v) {
  switch (bits) {
    case 1: {
      std::uint8_t mask = static_cast<std::uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<std::uint8_t>(v & 1 ? row[x / 8] | mask : row[x / 8] & ~mask);
      return;
    }
    case 4: {
      std::uint8_t& b = row[x / 2];
      b = x % 2 ? static_cast<std::uint8_t>((b & 0xF0) | (v & 0xF))
                : static_cast<std::uint8_t>((b & 0x0F) | ((v & 0xF) << 4));
      return;
    }
    case 8: row[x] = static_cast<std::uint8_t>(v); return;
    default: {
      unsigned bytes = bits / 8;
      for (unsigned i = 0; i < bytes; ++i) row[x * bytes + i] = static_cast<std::uint8_t>(v >> (8 * i));
      return;
    }
  }
}

}  // namespace pixolt
