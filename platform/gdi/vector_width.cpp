#include "gdi/vector_width.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace win::gdi {

bool HasWideVectors() {
#if defined(__x86_64__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  if (!(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
  // The system saves the vector registers (XMM and YMM state) on a switch.
  unsigned lo = 0, hi = 0;
  __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  if ((lo & 6u) != 6u) return false;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, a, b, c, d);
  return (b & bit_AVX2) != 0;
#else
  return false;
#endif
}

}  // namespace win::gdi
