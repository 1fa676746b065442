// Raster operations on device values (see color.h).
//
// A ternary operation (the byte of bits 16-23 of a ROP3 code) gives for each
// bit position the result bit at truth-table index P*4 + S*2 + D. A binary
// operation R2_x of pens is the ternary one that ignores the source.
#pragma once

#include <cstdint>

namespace win::gdi {

inline std::uint8_t Rop3Index(std::uint32_t rop) { return std::uint8_t((rop >> 16) & 0xFF); }

// The ternary code of a binary one (R2_BLACK .. R2_WHITE); R2_COPYPEN for
// anything else.
std::uint8_t Rop2ToRop3(int rop2);

inline bool RopUsesSource(std::uint8_t r) { return ((r >> 2) & 0x33) != (r & 0x33); }
inline bool RopUsesPattern(std::uint8_t r) { return ((r >> 4) & 0x0F) != (r & 0x0F); }
inline bool RopUsesDest(std::uint8_t r) { return ((r >> 1) & 0x55) != (r & 0x55); }

// One value, any operation (the reference the fast paths are tested against).
std::uint32_t Rop3Eval(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d);

// d[i] = rop(p, s[i], d[i]) for n values, masked with `mask`. `s` may be null
// when the operation does not use the source; `p` is one value for all
// (patArray null) or one per position (patArray).
void Rop3Span(std::uint8_t rop, std::uint32_t* d, const std::uint32_t* s, std::uint32_t p,
              const std::uint32_t* patArray, int n, std::uint32_t mask);

}  // namespace win::gdi
