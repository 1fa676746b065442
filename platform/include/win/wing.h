// The halftone palette of the WinG layer: 256 colours laid out so that the
// 20 static colours of the system palette keep their places (0-9 and
// 246-255) and the 6x6x6 colour cube of the ordered dither lands on the
// indices that the cube-to-palette translation names. The palette object
// itself (WinGCreateHalftonePalette) comes with the GDI palettes.
#pragma once

#include "win/types.h"

namespace win {

constexpr int kHalftoneColors = 256;
constexpr int kHalftoneCubeSize = 216;  // 6 levels per channel

// The 256 entries of the halftone palette (blue, green, red, reserved 0).
const RGBQUAD* HalftonePaletteColors();

// The palette index of each colour-cube entry r + 6g + 36b (each level
// 0-5 standing for 51 times the level); 216 entries.
const BYTE* HalftoneCubeToPalette();

}  // namespace win

// A new logical palette of the 256 halftone colours (flags 0); the caller
// deletes it with DeleteObject. Null when the palette cannot be made.
HPALETTE WinGCreateHalftonePalette();
