// What a BMP input claims to hold, read from its headers as the BMP reader
// reads them, so that the fuzz targets can skip inputs whose pixel block
// alone would take most of their time: a 54-byte file may claim 256 MiB of
// bits, which the reader then rightly fills with zeros, and the widening
// that follows doubles it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bmp_fuzz {

struct Claim {
  std::uint64_t pixels = 0;
  std::uint64_t bytes = 0;  // of pixel data, as the reader sets them aside
};

// The claim of a BMP file image ("BM", the 14-byte file header, then a
// 12-byte OS/2 or a 40-byte Windows information header); zeros for
// anything else.
inline Claim ClaimOf(const std::uint8_t* d, std::size_t n) {
  Claim claim;
  auto u16 = [&](std::size_t at) -> std::uint32_t { return at + 2 <= n ? d[at] | d[at + 1] << 8 : 0; };
  auto u32 = [&](std::size_t at) -> std::uint32_t { return u16(at) | u16(at + 2) << 16; };
  if (n < 18 || d[0] != 'B' || d[1] != 'M') return claim;
  constexpr std::size_t kInfo = 14;
  std::uint64_t width = 0, rows = 0, bits = 0, sizeImage = 0, compression = 0;
  if (u32(kInfo) == 12) {
    width = u16(kInfo + 4);
    rows = u16(kInfo + 6);
    bits = u16(kInfo + 10);
  } else {
    width = static_cast<std::int32_t>(u32(kInfo + 4)) < 0 ? 0 : u32(kInfo + 4);
    const std::int64_t height = static_cast<std::int32_t>(u32(kInfo + 8));
    rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    bits = u16(kInfo + 14);
    compression = u32(kInfo + 16);
    sizeImage = u32(kInfo + 20);
  }
  claim.pixels = width * rows;
  // What the sides need; an RLE picture first sets aside the size its
  // header claims, then what it expands to.
  claim.bytes = (width * bits + 31) / 32 * 4 * rows;
  if (compression != 0 && sizeImage > claim.bytes) claim.bytes = sizeImage;
  return claim;
}

// Inputs beyond these take seconds each under the sanitizers.
inline bool TooLargeToTry(const std::uint8_t* d, std::size_t n) {
  const Claim c = ClaimOf(d, n);
  return c.pixels > (std::uint64_t{1} << 20) || c.bytes > (std::uint64_t{4} << 20);
}

}  // namespace bmp_fuzz
