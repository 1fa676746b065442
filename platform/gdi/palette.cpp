// Logical palettes, the system palette and the display depth setting.
#include <algorithm>
#include <cstring>

#include "gdi/color.h"
#include "gdi/dc_internal.h"
#include "gdi/palette_state.h"
#include "win/gdi.h"
#include "win/user.h"

using namespace win::gdi;

namespace win::gdi {
bool SetDisplayBitsForState(int bits);  // palette_state.cpp
}

HPALETTE CreatePalette(const LOGPALETTE* pal) {
  if (!pal || pal->palVersion != 0x300 || pal->palNumEntries == 0 || pal->palNumEntries > 256) {
    return nullptr;
  }
  Object o;
  o.kind = Kind::Palette;
  PaletteObj p;
  p.entries.assign(pal->palPalEntry, pal->palPalEntry + pal->palNumEntries);
  o.data = std::move(p);
  return static_cast<HPALETTE>(AddObject(std::move(o)));
}

HPALETTE SelectPalette(HDC h, HPALETTE pal, BOOL forceBackground) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !LookupPalette(pal)) return nullptr;
  HPALETTE old = dc->state.palette;
  dc->state.palette = pal;
  dc->paletteBackground = forceBackground != FALSE;
  return old;
}

UINT RealizePalette(HDC h) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return UINT(GDI_ERROR);
  PaletteObj* p = LookupPalette(dc->state.palette);
  if (!p || IsStockObject(dc->state.palette)) return 0;
  const UINT changed = RealizeIntoSystemPalette(*p, dc->paletteBackground);
  // Other windows must learn that the system palette moved under them, so
  // they can realize theirs again.
  if (changed && dc->kind == DcKind::Window && dc->window) win::NotifyPaletteChanged(dc->window);
  return changed;
}

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, LPPALETTEENTRY out) {
  PaletteObj* p = LookupPalette(pal);
  if (!p) return 0;
  if (!out) return UINT(p->entries.size());
  if (start >= p->entries.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(p->entries.size()) - start);
  std::copy_n(p->entries.begin() + start, n, out);
  return n;
}

UINT SetPaletteEntries(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* entries) {
  PaletteObj* p = LookupPalette(pal);
  if (!p || !entries || IsStockObject(pal) || start >= p->entries.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(p->entries.size()) - start);
  std::copy_n(entries, n, p->entries.begin() + start);
  return n;
}

BOOL ResizePalette(HPALETTE pal, UINT entries) {
  PaletteObj* p = LookupPalette(pal);
  if (!p || IsStockObject(pal) || entries == 0 || entries > 256) return FALSE;
  p->entries.resize(entries, PALETTEENTRY{0, 0, 0, 0});
  return TRUE;
}

BOOL AnimatePalette(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* entries) {
  PaletteObj* p = LookupPalette(pal);
  if (!p || !entries) return FALSE;
  // Only PC_RESERVED entries may change, as on a palette display.
  for (UINT i = 0; i < count && start + i < p->entries.size(); ++i) {
    if (p->entries[start + i].peFlags & PC_RESERVED) p->entries[start + i] = entries[i];
  }
  return TRUE;
}

UINT GetSystemPaletteEntries(HDC h, UINT start, UINT count, LPPALETTEENTRY out) {
  if (!LookupDc(h)) return 0;
  UINT size = UINT(SystemPaletteSize());
  if (!out) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  for (UINT i = 0; i < n; ++i) out[i] = SystemEntry(int(start + i));
  return n;
}

UINT GetSystemPaletteUse(HDC h) { return LookupDc(h) ? SYSPAL_STATIC : SYSPAL_ERROR; }

UINT SetSystemPaletteUse(HDC h, UINT use) {
  (void)use;
  return LookupDc(h) ? SYSPAL_STATIC : SYSPAL_ERROR;  // the static colours always stay
}

int UpdateColors(HDC h) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  Surface* s = DcSurface(*dc);
  if (!s || !DisplayIsPalettized() || s->format() != PixelFormat::Display) return TRUE;
  // Pixels take the nearest colour of the system palette as it is now.
  for (const RECT& r : EffectiveClip(*dc).Rects()) {
    for (LONG y = r.top; y < r.bottom; ++y) {
      std::uint32_t* row = s->Row(y);
      for (LONG x = r.left; x < r.right; ++x) row[x] = SystemPixel(NearestSystemIndex(row[x]));
    }
    NoteDrawn(*dc, r);
  }
  return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF color) {
  PaletteObj* p = LookupPalette(pal);
  if (!p || p->entries.empty()) return CLR_INVALID;
  return UINT(NearestLogicalIndex(p->entries, RgbToPixel(color & 0xFFFFFF)));
}

COLORREF GetNearestColor(HDC h, COLORREF color) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return CLR_INVALID;
  std::uint32_t rgb = ResolveRgb(*dc, color);
  Surface* s = DcSurface(*dc);
  if (!s) {
    if (dc->kind == DcKind::Info && DisplayIsPalettized()) return PixelToRgb(SystemPixel(NearestSystemIndex(rgb)));
    return PixelToRgb(rgb);
  }
  DeviceSpace space = SpaceOf(*s);
  return PixelToRgb(space.ToPixel(space.FromColor(rgb)));
}

namespace win {

bool SetDisplayBitsPerPixel(int bits) {
  if (!gdi::SetDisplayBitsForState(bits)) return false;
  for (gdi::DcRecord* dc : gdi::AllDcs()) gdi::InvalidateClip(*dc);
  return true;
}

int DisplayBitsPerPixel() { return gdi::DisplayBits(); }

}  // namespace win
