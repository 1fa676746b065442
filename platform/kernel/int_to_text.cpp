// _itoa and its relatives: digits of a 32-bit value in radix 2 to 36,
// lower-case letters; only radix 10 shows a sign, other radices show the
// two's-complement bits, as the old runtime did.
#include "win/kernel.h"

namespace {

char* Unsigned(std::uint32_t v, bool minus, char* out, int radix) {
  if (!out) return out;
  if (radix < 2 || radix > 36) {
    out[0] = '\0';
    return out;
  }
  char digits[33];
  int n = 0;
  do {
    int d = static_cast<int>(v % static_cast<std::uint32_t>(radix));
    digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
    v /= static_cast<std::uint32_t>(radix);
  } while (v != 0);
  char* p = out;
  if (minus) *p++ = '-';
  while (n > 0) *p++ = digits[--n];
  *p = '\0';
  return out;
}

char* Signed(std::int32_t value, char* out, int radix) {
  if (radix == 10 && value < 0)
    return Unsigned(0u - static_cast<std::uint32_t>(value), true, out, radix);
  return Unsigned(static_cast<std::uint32_t>(value), false, out, radix);
}

}  // namespace

char* _itoa(int value, char* out, int radix) { return Signed(value, out, radix); }
char* _ltoa(LONG value, char* out, int radix) { return Signed(value, out, radix); }
char* _ultoa(ULONG value, char* out, int radix) { return Unsigned(value, false, out, radix); }
