// PackBits as TIFF stores it: a header byte n of 0 to 127 copies the next
// n + 1 bytes, 129 to 255 repeats the next byte 257 - n times, 128 is
// skipped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tevrin {

// Decodes into `out`, cut at `outSize` (a run that would pass it is cut,
// the rest of the strip dropped). A run that reaches past the input takes
// what is there. Returns the bytes stored.
std::size_t DecodePackBits(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                           std::size_t outSize);

// Encodes one row by itself (runs never cross a row end) and appends it at
// `out`; returns the bytes written, or 0 when `outSize` is too small. A row
// of n bytes needs at most PackBitsRowWorstCase(n).
std::size_t EncodePackBitsRow(const std::uint8_t* row, std::size_t n, std::uint8_t* out,
                              std::size_t outSize);

// A single byte costs two; two equal bytes two; so no row needs more than
// twice its length (and 2 bytes for a row of one).
inline constexpr std::size_t PackBitsRowWorstCase(std::size_t n) { return 2 * n + 2; }

}  // namespace tevrin
