// The small information calls and the palette of a DIB.
#include <cstdlib>
#include <vector>

#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"

using namespace pixolt;

int WEP(int) { return 1; }

LONG GetDIBWidth(HGLOBAL dib) {
  LockedDib d(dib);
  return d.null() ? 0 : d.width();
}

LONG GetDIBHeight(HGLOBAL dib) {
  LockedDib d(dib);
  return d.null() ? 0 : d.height();
}

DWORD GetDIBBitPerPixel(HGLOBAL dib) {
  LockedDib d(dib);
  return d.null() ? 0 : d.bitCount();
}

DWORD GetColorsInPalette(const BITMAPINFOHEADER* header) {
  return header ? ColorCount(*header) : 0;
}

WORD DIBGetVersion() { return PIXOLT_VERSION; }

LONG ReduceIT(LONG value) { return value; }

HPALETTE CreateDIBPalette(HGLOBAL dib) {
  LockedDib d(dib);
  if (d.null() || d.os2() || !d.Valid()) return nullptr;
  DWORD n = d.colors();
  bool cube = n == 0 && d.bitCount() == 24;
  if (n == 0 && !cube) return nullptr;
  DWORD entries = cube ? 256 : n;
  // The record is variable-sized: a header and `entries` palette entries.
  std::size_t bytes = sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY);
  auto* pal = static_cast<LOGPALETTE*>(std::calloc(1, bytes));
  if (!pal) {
    Report("CreateDIBPalette", kOutOfMemory);
    return nullptr;
  }
  pal->palVersion = 0x300;
  pal->palNumEntries = static_cast<WORD>(entries);
  for (DWORD i = 0; i < entries; ++i) {
    PALETTEENTRY& e = pal->palPalEntry[i];
    if (cube) {
      // 8 red x 8 green x 4 blue levels.
      e.peRed = static_cast<BYTE>((i % 8) * 32);
      e.peGreen = static_cast<BYTE>(((i / 8) % 8) * 32);
      e.peBlue = static_cast<BYTE>((i / 64) * 64);
    } else {
      const RGBQUAD& q = d.table()[i];
      e.peRed = q.rgbRed;
      e.peGreen = q.rgbGreen;
      e.peBlue = q.rgbBlue;
    }
    e.peFlags = 0;
  }
  HPALETTE result = CreatePalette(pal);
  std::free(pal);
  return result;
}
