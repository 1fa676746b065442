// How far a growable array grows: to the first size of a fixed ladder (48,
// 112, 240, ... 67108848 bytes: 16 x 2^(k+2) - 16) that holds more whole
// items than there are now, in items. The sizes are counted in 64 bits, so
// a count beyond the ladder is never mistaken for a small one.
#pragma once

#include "win/types.h"

// The new capacity in items, or `count` unchanged when the ladder ends (or
// itemSize is 0): the caller must then refuse to grow.
DWORD GrowCapacity(DWORD count, DWORD itemSize);
