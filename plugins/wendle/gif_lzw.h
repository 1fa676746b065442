// GIF LZW: variable-width codes (minimum code size + 1 up to 12 bits)
// packed least significant bit first, clear code 2^size, end code
// clear + 1, at most 4096 codes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wendle {

struct GifLzwResult {
  bool ok = true;            // false: a code beyond the next free one
  int badCode = 0;
  std::size_t written = 0;   // indices stored into the output
};

// Decodes the image data (its sub-blocks already joined) into `out`, one
// index per byte. Decoding stops at the end code, when `outSize` indices
// are there (the rest is dropped) or when the data run out. `minCodeSize`
// must be 1 to 8.
GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, unsigned minCodeSize,
                          std::uint8_t* out, std::size_t outSize);

// 12 child slots per code, as in the TIFF encoder (0x30000 bytes).
inline constexpr std::size_t kGifChildSlots = 12;
inline constexpr std::size_t kGifChildTableBytes = 4096 * kGifChildSlots * 4;

// The most bytes the codes of `count` indices can take (before they are
// cut into sub-blocks): one code of at most 12 bits per index, a clear code
// per table reset, and the leading clear, last string and end code.
inline constexpr std::size_t GifLzwWorstCase(std::size_t count) {
  return (count + count / 1024 + 4) * 3 / 2 + 8;
}

// Encodes `count` index bytes (each below 2^minCodeSize) into `out`; returns
// the bytes written, 0 when `outSize` was too small. `children` points to
// kGifChildTableBytes of scratch.
std::size_t EncodeGifLzw(const std::uint8_t* indices, std::size_t count, unsigned minCodeSize,
                         std::uint8_t* out, std::size_t outSize, std::uint32_t* children);

}  // namespace wendle
