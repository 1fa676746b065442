#include "text/build/grow_capacity.h"

#include <cstdint>

DWORD GrowCapacity(DWORD count, DWORD itemSize) {
  if (itemSize == 0) return count;
  // Rungs are compared in whole items: with an item size that does not
  // divide a rung, the rung above the bytes in use may hold no more items.
  for (int k = 0; k <= 20; ++k) {
    const std::uint64_t step = 16ull * (1ull << (k + 2)) - 16;
    const std::uint64_t items = step / itemSize;
    if (items > count) return static_cast<DWORD>(items);
  }
  return count;
}
