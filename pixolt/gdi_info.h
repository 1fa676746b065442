// A private copy of a DIB's header and colour table for GDI calls, whose
// stream size never claims more than the block holds.
#pragma once

#include <cstring>

#include "dib_block.h"
#include "win/gdi.h"

namespace pixolt {

struct GdiInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];

  // `dib` must be Valid().
  explicit GdiInfo(const LockedDib& dib) : header(dib.header()), colors{} {
    std::memcpy(colors, dib.table(), dib.colors() * sizeof(RGBQUAD));
    if (dib.compressed()) header.biSizeImage = static_cast<DWORD>(dib.bitsBytes());
  }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

}  // namespace pixolt
