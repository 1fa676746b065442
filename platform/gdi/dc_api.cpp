// Making, deleting and saving device contexts; mapping and attributes.
#include <algorithm>
#include <cstring>
#include <string>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/dc_internal.h"
#include "gdi/dib.h"
#include "gdi/palette_state.h"
#include "gdi/printer.h"
#include "gdi/text_engine.h"
#include "gdi/window_dc.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace win::gdi {
namespace {

bool IEquals(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return *a == *b;
}

bool StateHolds(const DcState& s, const void* h) {
  return s.pen == h || s.brush == h || s.font == h || s.palette == h || s.bitmap == h;
}

// Writes the DIB driver's picture back into the caller's packed DIB.
void WriteBackDib(DcRecord& dc) {
  if (!dc.dibTarget || !dc.ownSurface) return;
  auto* header = static_cast<BITMAPINFOHEADER*>(dc.dibTarget);
  DibInfo dib;
  if (!ParseDib(header, dib) || dib.compression == BI_RLE8 || dib.compression == BI_RLE4) return;
  if (dib.width != dc.ownSurface->width() || dib.height != dc.ownSurface->height()) return;
  auto* info = reinterpret_cast<const BITMAPINFO*>(header);
  std::vector<std::uint32_t> lut = DibColorTable(info, dib, DIB_RGB_COLORS, nullptr);
  auto* bits = static_cast<std::uint8_t*>(dc.dibTarget) + PackedBitsOffset(dib);
  for (int y = 0; y < dib.height; ++y) {
    int row = dib.topDown ? y : dib.height - 1 - y;
    EncodeRow(dib, bits, row, dc.ownSurface->Row(y), lut.data(), int(lut.size()));
  }
}

HDC MakeDibDc(const void* init) {
  auto* header = static_cast<const BITMAPINFOHEADER*>(init);
  DibInfo dib;
  if (!ParseDib(header, dib) || dib.compression == BI_RLE8 || dib.compression == BI_RLE4) {
    return nullptr;
  }
  auto surface = Surface::Create(dib.width, dib.height, PixelFormat::Color, 0);
  if (!surface) return nullptr;
  auto* info = reinterpret_cast<const BITMAPINFO*>(header);
  std::vector<std::uint32_t> lut = DibColorTable(info, dib, DIB_RGB_COLORS, nullptr);
  const auto* bits = static_cast<const std::uint8_t*>(init) + PackedBitsOffset(dib);
  for (int y = 0; y < dib.height; ++y) {
    int row = dib.topDown ? y : dib.height - 1 - y;
    DecodeRow(dib, bits, row, 0, dib.width, lut.data(), int(lut.size()), surface->Row(y));
  }
  HDC h = NewDc(DcKind::Dib);
  DcRecord* dc = LookupDc(h);
  if (!dc) return nullptr;
  dc->ownSurface = std::move(surface);
  dc->surface = dc->ownSurface.get();
  dc->dibTarget = const_cast<void*>(init);
  dc->dibBits = dib.bitCount;
  return h;
}

HDC MakePrinterDc(const char* driver, const char* device) {
  PrinterInfo info;
  PrinterProvider* p = GetPrinterProvider();
  if (p && !p->Describe(driver ? driver : "", device ? device : "", info)) return nullptr;
  if (info.dpiX < 1 || info.dpiY < 1) return nullptr;
  auto surface = Surface::Create(info.pageWidth, info.pageHeight, PixelFormat::Color, 0xFFFFFF);
  if (!surface) return nullptr;
  HDC h = NewDc(DcKind::Printer);
  DcRecord* dc = LookupDc(h);
  if (!dc) return nullptr;
  dc->ownSurface = std::move(surface);
  dc->surface = dc->ownSurface.get();
  dc->dpiX = info.dpiX;
  dc->dpiY = info.dpiY;
  return h;
}

}  // namespace

bool ObjectInUse(const void* h) {
  for (DcRecord* dc : AllDcs()) {
    if (StateHolds(dc->state, h)) return true;
    for (const DcState& s : dc->saved) {
      if (StateHolds(s, h)) return true;
    }
  }
  return false;
}

bool DestroyDc(HDC h) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return false;
  if (dc->kind == DcKind::Dib) WriteBackDib(*dc);
  if (dc->kind == DcKind::Printer && dc->docStarted) {
    if (PrinterProvider* p = GetPrinterProvider()) p->EndDoc(true);
  }
  if (dc->kind == DcKind::Window) {
    if (WindowSurfaceProvider* p = GetWindowSurfaceProvider()) p->Released(dc->window, h);
  }
  return RemoveObject(h);
}

}  // namespace win::gdi

// ---- Making and deleting ---------------------------------------------------------

HDC GetDC(HWND wnd) { return CreateWindowDc(wnd, true, nullptr); }
HDC GetWindowDC(HWND wnd) { return CreateWindowDc(wnd, false, nullptr); }

int ReleaseDC(HWND, HDC dc) { return ReleaseWindowDc(dc) ? 1 : 0; }

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !LookupDc(dc)) return nullptr;
  return NewDc(DcKind::Memory);
}

HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
  (void)output;
  if (IEquals(driver, "DISPLAY") || (!driver && IEquals(device, "DISPLAY"))) {
    return CreateWindowDc(nullptr, true, nullptr);
  }
  if (IEquals(driver, "DIB")) return init ? MakeDibDc(init) : nullptr;
  return MakePrinterDc(driver, device);
}

HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
  HDC dc = CreateDC(driver, device, output, init);
  // An information context answers like the device but draws nothing.
  if (DcRecord* rec = LookupDc(dc)) {
    if (rec->kind == DcKind::Screen) {
      rec->kind = DcKind::Info;
      rec->surface = nullptr;
    }
  }
  return dc;
}

BOOL DeleteDC(HDC dc) { return DestroyDc(dc) ? TRUE : FALSE; }

int SaveDC(HDC h) {
  DcRecord* dc = LookupDc(h);
  if (!dc || dc->saved.size() >= 1024) return 0;
  dc->saved.push_back(dc->state);
  return int(dc->saved.size());
}

BOOL RestoreDC(HDC h, int level) {
  DcRecord* dc = LookupDc(h);
  if (!dc || level == 0) return FALSE;
  std::int64_t depth = std::int64_t(dc->saved.size());
  std::int64_t target = level > 0 ? level : depth + level + 1;
  if (target < 1 || target > depth) return FALSE;
  dc->state = dc->saved[std::size_t(target - 1)];
  dc->saved.resize(std::size_t(target - 1));
  InvalidateClip(*dc);
  return TRUE;
}

int GetDeviceCaps(HDC h, int index) {
  DcRecord* dc = LookupDc(h);
  return dc ? DeviceCaps(*dc, index) : 0;
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_PAL: return dc->state.palette;
    case OBJ_BITMAP: return dc->kind == DcKind::Memory ? dc->state.bitmap : nullptr;
    default: return nullptr;
  }
}

DWORD GetObjectType(HGDIOBJ obj) {
  Object* o = LookupObject(obj);
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Pen: return std::get<PenObj>(o->data).extended ? OBJ_EXTPEN : OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Region: return OBJ_REGION;
    case Kind::Dc: {
      DcRecord* dc = LookupDc(static_cast<HDC>(obj));
      return dc && dc->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    default: return 0;
  }
}

HWND WindowFromDC(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc && dc->kind == DcKind::Window ? dc->window : nullptr;
}

// ---- Mapping (MM_TEXT only) ----------------------------------------------------

int SetMapMode(HDC h, int mode) {
  DcRecord* dc = LookupDc(h);
  if (!dc || mode != MM_TEXT) return 0;
  int old = dc->state.mapMode;
  dc->state.mapMode = mode;
  return old;
}

int GetMapMode(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.mapMode : 0;
}

namespace {

BOOL SetPoint(HDC h, POINT DcState::*field, int x, int y, LPPOINT old, bool offset) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  POINT& p = dc->state.*field;
  if (old) *old = p;
  std::int64_t nx = offset ? std::int64_t(p.x) + x : x;
  std::int64_t ny = offset ? std::int64_t(p.y) + y : y;
  p.x = LONG(std::clamp<std::int64_t>(nx, -(1 << 27), 1 << 27));
  p.y = LONG(std::clamp<std::int64_t>(ny, -(1 << 27), 1 << 27));
  InvalidateClip(*dc);
  return TRUE;
}

BOOL GetPoint(HDC h, POINT DcState::*field, LPPOINT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  *out = dc->state.*field;
  return TRUE;
}

BOOL SetExt(HDC h, SIZE DcState::*field, int x, int y, LPSIZE old) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  if (old) *old = dc->state.*field;
  // MM_TEXT ignores extents; they are kept for GetWindowExtEx only.
  if (x != 0 && y != 0) dc->state.*field = SIZE{x, y};
  return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old) {
  return SetPoint(dc, &DcState::viewportOrg, x, y, old, false);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT out) { return GetPoint(dc, &DcState::viewportOrg, out); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
  return SetPoint(dc, &DcState::viewportOrg, dx, dy, old, true);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) {
  return SetPoint(dc, &DcState::windowOrg, x, y, old, false);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT out) { return GetPoint(dc, &DcState::windowOrg, out); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
  return SetPoint(dc, &DcState::windowOrg, dx, dy, old, true);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old) {
  return SetExt(dc, &DcState::viewportExt, x, y, old);
}
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old) {
  return SetExt(dc, &DcState::windowExt, x, y, old);
}
BOOL GetViewportExtEx(HDC h, LPSIZE out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  *out = dc->state.viewportExt;
  return TRUE;
}
BOOL GetWindowExtEx(HDC h, LPSIZE out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  *out = dc->state.windowExt;
  return TRUE;
}

BOOL LPtoDP(HDC h, LPPOINT pts, int count) {
  DcRecord* dc = LookupDc(h);
  if (!dc || (!pts && count > 0) || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = LogicalToDevice(*dc, pts[i]);
  return TRUE;
}

BOOL DPtoLP(HDC h, LPPOINT pts, int count) {
  DcRecord* dc = LookupDc(h);
  if (!dc || (!pts && count > 0) || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = DeviceToLogical(*dc, pts[i]);
  return TRUE;
}

BOOL GetDCOrgEx(HDC h, LPPOINT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  DcSurface(*dc);
  *out = dc->origin;
  return TRUE;
}

// ---- Attributes ------------------------------------------------------------------

COLORREF SetTextColor(HDC h, COLORREF c) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.textColor;
  dc->state.textColor = c;
  return old;
}
COLORREF GetTextColor(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.textColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC h, COLORREF c) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.bkColor;
  dc->state.bkColor = c;
  return old;
}
COLORREF GetBkColor(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.bkColor : CLR_INVALID;
}

namespace {

int SetInt(HDC h, int DcState::*field, int value, int lo, int hi) {
  DcRecord* dc = LookupDc(h);
  if (!dc || value < lo || value > hi) return 0;
  int old = dc->state.*field;
  dc->state.*field = value;
  return old;
}

int GetInt(HDC h, int DcState::*field) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.*field : 0;
}

}  // namespace

int SetBkMode(HDC dc, int mode) { return SetInt(dc, &DcState::bkMode, mode, TRANSPARENT, OPAQUE); }
int GetBkMode(HDC dc) { return GetInt(dc, &DcState::bkMode); }
int SetROP2(HDC dc, int rop2) { return SetInt(dc, &DcState::rop2, rop2, R2_BLACK, R2_WHITE); }
int GetROP2(HDC dc) { return GetInt(dc, &DcState::rop2); }
int SetStretchBltMode(HDC dc, int mode) {
  return SetInt(dc, &DcState::stretchMode, mode, BLACKONWHITE, HALFTONE);
}
int GetStretchBltMode(HDC dc) { return GetInt(dc, &DcState::stretchMode); }
int SetPolyFillMode(HDC dc, int mode) {
  return SetInt(dc, &DcState::polyFillMode, mode, ALTERNATE, WINDING);
}
int GetPolyFillMode(HDC dc) { return GetInt(dc, &DcState::polyFillMode); }

int SetTextCharacterExtra(HDC h, int extra) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return int(0x80000000u);
  int old = dc->state.charExtra;
  dc->state.charExtra = extra;
  return old;
}
int GetTextCharacterExtra(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.charExtra : int(0x80000000u);
}

UINT SetTextAlign(HDC h, UINT align) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return UINT(GDI_ERROR);
  UINT old = dc->state.textAlign;
  dc->state.textAlign = align & TA_MASK;
  return old;
}
UINT GetTextAlign(HDC h) {
  DcRecord* dc = LookupDc(h);
  return dc ? dc->state.textAlign : UINT(GDI_ERROR);
}

BOOL SetBrushOrgEx(HDC h, int x, int y, LPPOINT old) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  if (old) *old = dc->state.brushOrg;
  dc->state.brushOrg = POINT{x, y};
  return TRUE;
}
BOOL GetBrushOrgEx(HDC h, LPPOINT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  *out = dc->state.brushOrg;
  return TRUE;
}

// ---- Test support ------------------------------------------------------------------

namespace win {

// The registrations of other subsystems (window surfaces, text engine,
// printers) stay.
void ResetGdiState() {
  ClearObjectTable();
  ResetWindowDcState();
  ResetSystemPalette();
}

}  // namespace win
