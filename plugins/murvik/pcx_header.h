// The 128-byte PCX (and SCR) file header, little-endian, byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murvik {

inline constexpr std::size_t kPcxHeaderSize = 128;
inline constexpr std::uint8_t kPcxManufacturer = 10;
inline constexpr std::uint8_t kScrManufacturer = 0xCD;  // planes without line padding
inline constexpr std::uint8_t kPaletteMarker = 12;      // in front of the 256-colour palette
inline constexpr std::size_t kVgaPaletteSize = 1 + 256 * 3;

struct PcxHeader {
  std::uint8_t manufacturer = kPcxManufacturer;
  std::uint8_t version = 5;
  std::uint8_t encoding = 1;  // 1 = run-length
  std::uint8_t bitsPerPixel = 0;  // per plane
  std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  std::uint16_t hres = 0, vres = 0;
  std::uint8_t colorMap[48] = {};  // 16 RGB triples
  std::uint8_t reserved = 0;
  std::uint8_t planes = 0;
  std::uint16_t bytesPerLine = 0;  // per plane
  std::uint16_t paletteInfo = 0;
};

// `in` holds at least kPcxHeaderSize bytes.
PcxHeader ParsePcxHeader(const std::uint8_t* in);
// Writes all 128 bytes (the filler after byte 69 as zeros).
void StorePcxHeader(const PcxHeader& header, std::uint8_t* out);

inline bool IsPcxManufacturer(std::uint8_t b) { return b == kPcxManufacturer || b == kScrManufacturer; }

}  // namespace murvik
