// GIF LZW: variable-width codes (minimum code size + 1 up to 12 bits)
// packed least significant bit first, clear code 2^size, end code
// clear + 1, at most 4096 codes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/lzw_codec.h"

namespace wendle {

using GifLzwResult = plugins::lzw::DecodeResult;

// Decodes the image data (its sub-blocks already joined) into `out`, one
// index per byte. Decoding stops at the end code, when `outSize` indices
// are there (the rest is dropped) or when the data run out. `minCodeSize`
// must be 1 to 8.
GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, unsigned minCodeSize,
                          std::uint8_t* out, std::size_t outSize);

// 12 child slots per code, as in the TIFF encoder (0x30000 bytes).
inline constexpr std::size_t kGifChildSlots = plugins::lzw::kChildSlots;
inline constexpr std::size_t kGifChildTableBytes = plugins::lzw::kChildTableBytes;

// The most bytes the codes of `count` indices can take (before they are
// cut into sub-blocks).
inline constexpr std::size_t GifLzwWorstCase(std::size_t count) { return plugins::lzw::WorstCase(count); }

// Encodes `count` index bytes (each below 2^minCodeSize) into `out`; returns
// the bytes written, 0 when `outSize` was too small. `children` points to
// kGifChildTableBytes of scratch.
std::size_t EncodeGifLzw(const std::uint8_t* indices, std::size_t count, unsigned minCodeSize,
                         std::uint8_t* out, std::size_t outSize, std::uint32_t* children);

}  // namespace wendle
