#include "gdi/rop.h"

namespace win::gdi {

std::uint8_t Rop2ToRop3(int rop2) {
  if (rop2 < 1 || rop2 > 16) rop2 = 13;  // R2_COPYPEN
  unsigned table = unsigned(rop2 - 1) & 15;  // bit (P*2 + D)
  std::uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if ((table >> (p * 2 + d)) & 1) out |= std::uint8_t(1 << i);
  }
  return out;
}

std::uint32_t Rop3Eval(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t out = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((rop >> i) & 1)) continue;
    std::uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    out |= term;
  }
  return out;
}

namespace {

template <typename Op>
void Loop(std::uint32_t* d, const std::uint32_t* s, std::uint32_t p, const std::uint32_t* pa,
          int n, std::uint32_t mask, Op op) {
  if (pa) {
    for (int i = 0; i < n; ++i) d[i] = op(pa[i], s ? s[i] : 0, d[i]) & mask;
  } else {
    for (int i = 0; i < n; ++i) d[i] = op(p, s ? s[i] : 0, d[i]) & mask;
  }
}

}  // namespace

void Rop3Span(std::uint8_t rop, std::uint32_t* d, const std::uint32_t* s, std::uint32_t p,
              const std::uint32_t* pa, int n, std::uint32_t mask) {
  using U = std::uint32_t;
  switch (rop) {
    case 0x00: for (int i = 0; i < n; ++i) d[i] = 0; return;
    case 0xFF: for (int i = 0; i < n; ++i) d[i] = mask; return;
    case 0xAA: return;  // D
    case 0xCC: for (int i = 0; i < n; ++i) d[i] = s[i] & mask; return;
    case 0x33: for (int i = 0; i < n; ++i) d[i] = ~s[i] & mask; return;
    case 0x88: for (int i = 0; i < n; ++i) d[i] &= s[i]; return;
    case 0xEE: for (int i = 0; i < n; ++i) d[i] = (d[i] | s[i]) & mask; return;
    case 0x66: for (int i = 0; i < n; ++i) d[i] = (d[i] ^ s[i]) & mask; return;
    case 0x44: for (int i = 0; i < n; ++i) d[i] = (s[i] & ~d[i]) & mask; return;
    case 0x55: for (int i = 0; i < n; ++i) d[i] = ~d[i] & mask; return;
    case 0xF0:
      if (pa) { for (int i = 0; i < n; ++i) d[i] = pa[i] & mask; }
      else { for (int i = 0; i < n; ++i) d[i] = p & mask; }
      return;
    case 0x5A: Loop(d, s, p, pa, n, mask, [](U pp, U, U dd) { return pp ^ dd; }); return;
    case 0xC0: Loop(d, s, p, pa, n, mask, [](U pp, U ss, U) { return pp & ss; }); return;
    case 0xBB: Loop(d, s, p, pa, n, mask, [](U, U ss, U dd) { return ~ss | dd; }); return;
    case 0x11: Loop(d, s, p, pa, n, mask, [](U, U ss, U dd) { return ~(ss | dd); }); return;
    case 0xFB: Loop(d, s, p, pa, n, mask, [](U pp, U ss, U dd) { return pp | ~ss | dd; }); return;
    case 0x0F: Loop(d, s, p, pa, n, mask, [](U pp, U, U) { return ~pp; }); return;
    case 0xA0: Loop(d, s, p, pa, n, mask, [](U pp, U, U dd) { return pp & dd; }); return;
    case 0xFA: Loop(d, s, p, pa, n, mask, [](U pp, U, U dd) { return pp | dd; }); return;
    case 0xB8: Loop(d, s, p, pa, n, mask, [](U pp, U ss, U dd) { return ((pp ^ dd) & ss) ^ pp; }); return;
    case 0xE2: Loop(d, s, p, pa, n, mask, [](U pp, U ss, U dd) { return ((pp ^ dd) & ss) ^ dd; }); return;
    default:
      Loop(d, s, p, pa, n, mask, [rop](U pp, U ss, U dd) { return Rop3Eval(rop, pp, ss, dd); });
      return;
  }
}

}  // namespace win::gdi
