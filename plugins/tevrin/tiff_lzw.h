// TIFF LZW (codes of 9 to 12 bits packed most significant bit first,
// 256 Clear, 257 EndOfInformation, first free code 258, the early width
// switch of TIFF 6.0). One stream per strip.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/lzw_codec.h"

namespace tevrin {

using LzwDecodeResult = plugins::lzw::DecodeResult;

// Decodes one strip into `out`. Output is cut at `outSize`: a stream that
// decodes to more bytes than the strip's rows has the rest dropped. The
// code width never grows past 12 bits and no entry is made once the table
// holds 4096, so a stream that goes on without a Clear keeps its last
// table. A stream that ends without EndOfInformation ends the strip.
LzwDecodeResult DecodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outSize);

// The bytes an encoded strip of `rawBytes` input bytes can need at most.
inline constexpr std::size_t TiffLzwWorstCase(std::size_t rawBytes) { return plugins::lzw::WorstCase(rawBytes); }

// The child-slot search table of the encoder (0x30000 bytes), handed in so
// the writer can report when it cannot be had.
inline constexpr std::size_t kLzwChildSlots = plugins::lzw::kChildSlots;
inline constexpr std::size_t kLzwChildTableBytes = plugins::lzw::kChildTableBytes;

// Encodes `in` as one LZW stream into `out` (capacity `outSize`, which
// must be at least TiffLzwWorstCase(inSize)). `children` points to
// kLzwChildTableBytes of scratch. Returns the stream's length, or 0 when
// the output did not fit.
std::size_t EncodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                          std::size_t outSize, std::uint32_t* children);

}  // namespace tevrin
