// TIFF LZW (codes of 9 to 12 bits packed most significant bit first,
// 256 Clear, 257 EndOfInformation, first free code 258, the early width
// switch of TIFF 6.0). One stream per strip.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tevrin {

inline constexpr unsigned kLzwClear = 256;
inline constexpr unsigned kLzwEnd = 257;
inline constexpr unsigned kLzwFirstFree = 258;

struct LzwDecodeResult {
  bool ok = true;           // false: a code beyond the next free one
  int badCode = 0;          // that code
  std::size_t written = 0;  // bytes stored into the output
};

// Decodes one strip into `out`. Output is cut at `outSize`: a stream that
// decodes to more bytes than the strip's rows has the rest dropped. The
// code width never grows past 12 bits and no entry is made once the table
// holds 4096, so a stream that goes on without a Clear keeps its last
// table. A stream that ends without EndOfInformation ends the strip.
LzwDecodeResult DecodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outSize);

// The bytes an encoded strip of `rawBytes` input bytes can need at most:
// one code of at most 12 bits per input byte, a Clear for every table
// reset, and the leading Clear, last string and end code.
inline constexpr std::size_t TiffLzwWorstCase(std::size_t rawBytes) {
  return (rawBytes + rawBytes / 1024 + 4) * 3 / 2 + 8;
}

// The child-slot search table of the encoder: 12 slots per code (4096 x 12
// 32-bit entries, 0x30000 bytes), handed in so the writer can report when
// it cannot be had.
inline constexpr std::size_t kLzwChildSlots = 12;
inline constexpr std::size_t kLzwChildTableBytes = 4096 * kLzwChildSlots * 4;

// Encodes `in` as one LZW stream into `out` (capacity `outSize`, which
// must be at least TiffLzwWorstCase(inSize)). `children` points to
// kLzwChildTableBytes of scratch. Returns the stream's length, or 0 when
// the output did not fit.
std::size_t EncodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                          std::size_t outSize, std::uint32_t* children);

}  // namespace tevrin
