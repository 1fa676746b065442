// WinGCreateHalftonePalette: the halftone colours as a logical palette.
#include "win/gdi.h"
#include "win/wing.h"

HPALETTE WinGCreateHalftonePalette() {
  const RGBQUAD* colors = win::HalftonePaletteColors();
  if (!colors) return nullptr;
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[win::kHalftoneColors];
  } pal;
  pal.version = 0x300;
  pal.count = win::kHalftoneColors;
  for (int i = 0; i < win::kHalftoneColors; ++i) {
    pal.entries[i] = PALETTEENTRY{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
  }
  return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&pal));
}
