// The old runtime's rand(): a linear congruential generator in 32-bit
// arithmetic whose sequence callers may rely on (scripts pick "random" pictures
// with it), so the constants and the 15-bit result must stay exactly these.
#include "win/kernel.h"

namespace {
std::uint32_t g_state = 1;
}

void win_srand(unsigned int seed) { g_state = seed; }

int win_rand() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7fff);
}
