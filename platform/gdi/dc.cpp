#include "gdi/dc.h"

#include <algorithm>

#include "gdi/dc_internal.h"
#include "gdi/palette_state.h"
#include "gdi/window_dc.h"
#include "win/user.h"

namespace win::gdi {

void DcRecordDeleter::operator()(DcRecord* dc) const { delete dc; }

DcRecord* LookupDc(HDC dc) {
  Object* o = LookupObject(dc, Kind::Dc);
  if (!o) return nullptr;
  auto* p = std::get_if<std::unique_ptr<DcRecord, DcRecordDeleter>>(&o->data);
  return p ? p->get() : nullptr;
}

HDC NewDc(DcKind kind) {
  auto rec = std::unique_ptr<DcRecord, DcRecordDeleter>(new DcRecord);
  rec->kind = kind;
  rec->state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
  rec->state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
  rec->state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
  rec->state.palette = static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE));
  if (kind == DcKind::Memory) rec->state.bitmap = DefaultBitmap();
  DcRecord* raw = rec.get();
  Object o;
  o.kind = Kind::Dc;
  o.data = std::move(rec);
  HDC h = static_cast<HDC>(AddObject(std::move(o)));
  if (h) raw->handle = h;
  return h;
}

std::vector<DcRecord*> AllDcs() {
  std::vector<DcRecord*> out;
  for (void* h : LiveHandles(Kind::Dc)) {
    if (DcRecord* d = LookupDc(static_cast<HDC>(h))) out.push_back(d);
  }
  return out;
}

namespace {

LONG Add(LONG a, std::int64_t b) {
  std::int64_t v = std::int64_t(a) + b;
  return static_cast<LONG>(std::clamp<std::int64_t>(v, -(1 << 27), 1 << 27));
}

}  // namespace

POINT LogicalToDevice(const DcRecord& dc, POINT p) {
  const DcState& s = dc.state;
  return POINT{Add(p.x, std::int64_t(s.viewportOrg.x) - s.windowOrg.x),
               Add(p.y, std::int64_t(s.viewportOrg.y) - s.windowOrg.y)};
}

POINT DeviceToLogical(const DcRecord& dc, POINT p) {
  const DcState& s = dc.state;
  return POINT{Add(p.x, std::int64_t(s.windowOrg.x) - s.viewportOrg.x),
               Add(p.y, std::int64_t(s.windowOrg.y) - s.viewportOrg.y)};
}

POINT LogicalToSurface(const DcRecord& dc, POINT p) {
  POINT d = LogicalToDevice(dc, p);
  return POINT{Add(d.x, dc.origin.x), Add(d.y, dc.origin.y)};
}

RECT LogicalRectToSurface(const DcRecord& dc, const RECT& r) {
  POINT a = LogicalToSurface(dc, POINT{r.left, r.top});
  POINT b = LogicalToSurface(dc, POINT{r.right, r.bottom});
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Surface* DcSurface(DcRecord& dc) {
  if (dc.kind == DcKind::Memory) {
    BitmapObj* b = LookupBitmap(dc.state.bitmap);
    return b ? b->surface.get() : nullptr;
  }
  if (dc.kind == DcKind::Window || dc.kind == DcKind::Screen) RefreshWindowDc(dc);
  return dc.surface;
}

void InvalidateClip(const DcRecord& dc) { dc.clipValid = false; }

const Region& EffectiveClip(const DcRecord& cdc) {
  DcRecord& dc = const_cast<DcRecord&>(cdc);
  if (dc.kind == DcKind::Window || dc.kind == DcKind::Screen) RefreshWindowDc(dc);
  if (dc.clipValid) return dc.clipCache;
  Surface* s = DcSurface(dc);
  Region r;
  if (s && dc.kind != DcKind::Info) {
    RECT all{0, 0, s->width(), s->height()};
    if (dc.kind == DcKind::Window || dc.kind == DcKind::Screen) {
      r = dc.visible.IntersectRect(all);
    } else {
      r = Region(all);
    }
    if (dc.paintClip) {
      Region p = *dc.paintClip;
      p.Offset(dc.origin.x, dc.origin.y);
      r = r.Intersect(p);
    }
    if (dc.state.clip) {
      Region c = *dc.state.clip;
      c.Offset(dc.origin.x, dc.origin.y);
      r = r.Intersect(c);
    }
  }
  dc.clipCache = std::move(r);
  dc.clipValid = true;
  return dc.clipCache;
}

void NoteDrawn(DcRecord& dc, const RECT& r) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (Surface* s = DcSurface(dc)) s->AddDamage(r);
  if (dc.boundsEnabled) {
    RECT d{r.left - dc.origin.x, r.top - dc.origin.y, r.right - dc.origin.x,
           r.bottom - dc.origin.y};
    if (!dc.boundsSet) {
      dc.bounds = d;
      dc.boundsSet = true;
    } else {
      dc.bounds.left = std::min(dc.bounds.left, d.left);
      dc.bounds.top = std::min(dc.bounds.top, d.top);
      dc.bounds.right = std::max(dc.bounds.right, d.right);
      dc.bounds.bottom = std::max(dc.bounds.bottom, d.bottom);
    }
  }
}

int DeviceCaps(const DcRecord& cdc, int index) {
  DcRecord& dc = const_cast<DcRecord&>(cdc);
  const bool printer = dc.kind == DcKind::Printer;
  const bool palette = !printer && dc.kind != DcKind::Dib && DisplayIsPalettized();
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (printer || dc.kind == DcKind::Dib) {
    if (Surface* s = DcSurface(dc)) {
      width = s->width();
      height = s->height();
    }
  }
  int dpiX = printer ? dc.dpiX : 96;
  int dpiY = printer ? dc.dpiY : 96;
  int bits = printer ? 24 : dc.kind == DcKind::Dib ? dc.dibBits : DisplayBits();
  switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE: return int(std::int64_t(width) * 254 / (std::int64_t(dpiX) * 10));
    case VERTSIZE: return int(std::int64_t(height) * 254 / (std::int64_t(dpiY) * 10));
    case HORZRES: return width;
    case VERTRES: return height;
    case BITSPIXEL: return bits;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case NUMMARKERS: return 0;
    case NUMFONTS: return 0;
    case NUMCOLORS:
      if (bits == 8 && palette) return 20;
      if (bits <= 4) return 1 << bits;
      if (bits == 8) return 256;
      return -1;
    case PDEVICESIZE: return 0;
    case CURVECAPS: return 0x1FF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7E00;
    case CLIPCAPS: return 1;
    case RASTERCAPS: {
      int caps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                 RC_BIGFONT | RC_STRETCHBLT | RC_STRETCHDIB;
      if (palette) caps |= RC_PALETTE;
      return caps;
    }
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: return dpiX;
    case LOGPIXELSY: return dpiY;
    case SIZEPALETTE: return palette ? SystemPaletteSize() : 0;
    case NUMRESERVED: return palette ? (bits == 8 ? 20 : 16) : 0;
    case COLORRES: return palette ? 18 : 24;
    case PHYSICALWIDTH: return printer ? width : 0;
    case PHYSICALHEIGHT: return printer ? height : 0;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    case SCALINGFACTORX:
    case SCALINGFACTORY: return 0;
    default: return 0;
  }
}

}  // namespace win::gdi
