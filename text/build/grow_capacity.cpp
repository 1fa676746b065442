#include "text/build/grow_capacity.h"

#include <cstdint>

DWORD GrowCapacity(DWORD count, DWORD itemSize) {
  if (itemSize == 0) return count;
  const std::uint64_t used = static_cast<std::uint64_t>(count) * itemSize;
  for (int k = 0; k <= 20; ++k) {
    const std::uint64_t step = 16ull * (1ull << (k + 2)) - 16;
    if (step > used) return static_cast<DWORD>(step / itemSize);
  }
  return count;
}
