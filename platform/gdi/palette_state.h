// The display's colour depth and the system palette of a palette display.
//
// At 8 bits the system palette has 256 entries: the 20 static colours at
// 0-9 and 246-255 and 236 free entries that RealizePalette fills. At 4 bits
// it is the 16 fixed colours of a VGA display and nothing can be realised.
// At 24 bits there is no system palette.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/objects.h"
#include "win/gdi.h"

namespace win::gdi {

int DisplayBits();             // 24, 8 or 4
bool DisplayIsPalettized();    // 8 or 4
int SystemPaletteSize();       // 256, 16 or 0

PALETTEENTRY SystemEntry(int index);       // black for an index out of range
std::uint32_t SystemPixel(int index);      // 0x00RRGGBB
int NearestSystemIndex(std::uint32_t px);  // among the entries in use
int SystemIndexOfPixel(std::uint32_t px);  // exact match first, else nearest

// Realises a logical palette into the system palette (foreground: the free
// entries are taken over; background: only still-free entries are used).
// Returns how many system entries changed.
UINT RealizeIntoSystemPalette(const PaletteObj& pal, bool background);
void ResetSystemPalette();

// The nearest entry of a logical palette (first of equals); -1 when empty.
int NearestLogicalIndex(const std::vector<PALETTEENTRY>& entries, std::uint32_t px);

}  // namespace win::gdi
