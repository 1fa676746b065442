// The GDI object table: pens, brushes, fonts, bitmaps, palettes, regions
// and device contexts behind their handles.
//
// A handle is a small tagged number: bits 0-3 the kind, bits 4-23 the slot,
// bits 24-31 the slot's generation (so a deleted handle whose slot was
// reused does not name the new object). Lookups check all three and give
// null for anything else.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "gdi/region.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win::gdi {

enum class Kind : std::uint8_t { None = 0, Pen = 1, Brush = 2, Font = 3, Bitmap = 4, Palette = 5,
                                 Region = 6, Dc = 7 };

struct PenObj {
  int style = PS_SOLID;      // PS_SOLID .. PS_INSIDEFRAME (PS_STYLE_MASK)
  int width = 1;             // 0 counts as 1
  COLORREF color = 0;
  DWORD endCap = PS_ENDCAP_ROUND;
  DWORD join = PS_JOIN_ROUND;
  bool geometric = false;    // made by ExtCreatePen with PS_GEOMETRIC
  bool extended = false;     // made by ExtCreatePen (GetObject gives EXTLOGPEN)
};

struct BrushObj {
  UINT style = BS_SOLID;     // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_DIBPATTERNPT
  COLORREF color = 0;
  int hatch = 0;
  // BS_PATTERN and BS_DIBPATTERNPT: the pattern (a copy). A monochrome
  // pattern draws 0 bits in the text colour and 1 bits in the background
  // colour of the DC it is used on.
  std::shared_ptr<Surface> pattern;
  HBITMAP patternBitmap = nullptr;  // what GetObject reports for BS_PATTERN
};

struct FontObj {
  LOGFONT logfont{};
};

struct BitmapObj {
  std::unique_ptr<Surface> surface;
  int bitsPerPixel = 1;  // as created: 1, 4, 8, 16, 24, 32
  int planes = 1;
  HDC selectedInto = nullptr;  // a memory DC holds it
};

struct PaletteObj {
  std::vector<PALETTEENTRY> entries;
};

struct RegionObj {
  Region region;
};

struct DcRecord;  // dc.h
struct DcRecordDeleter {
  void operator()(DcRecord* dc) const;  // dc.cpp
};

struct Object {
  Kind kind = Kind::None;
  bool stock = false;
  int selections = 0;  // how many DCs have it selected (pens, brushes, fonts, palettes)
  std::variant<std::monostate, PenObj, BrushObj, FontObj, BitmapObj, PaletteObj, RegionObj,
               std::unique_ptr<DcRecord, DcRecordDeleter>>
      data;
};

// Adds an object and returns its handle (null when the table is full:
// 2^20 - 1 live objects).
void* AddObject(Object obj);
Object* LookupObject(const void* handle);  // any kind
Object* LookupObject(const void* handle, Kind kind);
Kind KindOf(const void* handle);  // Kind::None for a bad handle
// Frees the slot (the handle becomes invalid). False for a bad handle.
bool RemoveObject(const void* handle);
// Every live handle of a kind (tests and ResetGdiState).
std::vector<void*> LiveHandles(Kind kind);
std::size_t LiveObjectCount();
void ClearObjectTable();  // drops everything, stock objects too

PenObj* LookupPen(HPEN h);
BrushObj* LookupBrush(HBRUSH h);
FontObj* LookupFont(HFONT h);
BitmapObj* LookupBitmap(HBITMAP h);
PaletteObj* LookupPalette(HPALETTE h);
Region* LookupRegion(HRGN h);

// The LOGFONT of a font handle (the text engine's way in); null for a bad one.
const LOGFONT* FontLogfont(HFONT font);

// A new HRGN holding `r` (the window system hands out regions this way).
HRGN CreateRegionHandle(const Region& r);

// Stock objects (made on first use, never deleted).
HGDIOBJ StockObject(int index);
HBITMAP DefaultBitmap();  // the 1x1 monochrome bitmap of a new memory DC
bool IsStockObject(const void* handle);

}  // namespace win::gdi
