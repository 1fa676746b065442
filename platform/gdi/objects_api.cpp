// Creating, selecting, describing and deleting GDI objects.
#include <algorithm>
#include <cstring>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/dc_internal.h"
#include "gdi/dib.h"
#include "gdi/text_engine.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

// Wider pens cost time for nothing: nobody draws lines this wide.
constexpr int kMaxPenWidth = 4096;

template <typename T>
void* Add(Kind kind, T data) {
  Object o;
  o.kind = kind;
  o.data = std::move(data);
  return AddObject(std::move(o));
}

int CopyOut(const void* src, int srcSize, int size, LPVOID out) {
  if (!out) return srcSize;
  if (size <= 0) return 0;
  int n = std::min(size, srcSize);
  std::memcpy(out, src, std::size_t(n));
  return n;
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
  PenObj p;
  p.style = style & PS_STYLE_MASK;
  if (p.style > PS_INSIDEFRAME) p.style = PS_SOLID;
  p.width = std::clamp(width, 0, kMaxPenWidth);
  p.color = color;
  return static_cast<HPEN>(Add(Kind::Pen, p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles) {
  (void)styles;
  if (!brush) return nullptr;
  bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (!geometric && width != 1) return nullptr;  // cosmetic pens are one pixel wide
  if ((style & PS_STYLE_MASK) == PS_USERSTYLE && (styleCount == 0 || styleCount > 16)) return nullptr;
  PenObj p;
  p.style = int(style & PS_STYLE_MASK);
  if (p.style == PS_USERSTYLE || p.style == PS_ALTERNATE) p.style = PS_DOT;  // an approximation
  if (p.style > PS_INSIDEFRAME) p.style = PS_SOLID;
  if (brush->lbStyle == BS_NULL) p.style = PS_NULL;
  p.width = int(std::min<DWORD>(width, kMaxPenWidth));
  p.color = brush->lbColor;
  p.endCap = style & PS_ENDCAP_MASK;
  p.join = style & PS_JOIN_MASK;
  p.geometric = geometric;
  p.extended = true;
  return static_cast<HPEN>(Add(Kind::Pen, p));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  BrushObj b;
  b.style = BS_SOLID;
  b.color = color;
  return static_cast<HBRUSH>(Add(Kind::Brush, std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < 0 || hatch > 9) return nullptr;
  BrushObj b;
  b.style = BS_HATCHED;
  b.color = color;
  b.hatch = hatch;
  return static_cast<HBRUSH>(Add(Kind::Brush, std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  BitmapObj* bm = LookupBitmap(bitmap);
  if (!bm || !bm->surface) return nullptr;
  const Surface& src = *bm->surface;
  auto copy = Surface::Create(src.width(), src.height(), src.format(), 0);
  if (!copy) return nullptr;
  std::copy_n(src.pixels(), std::size_t(src.width()) * src.height(), copy->pixels());
  BrushObj b;
  b.style = BS_PATTERN;
  b.pattern = std::shared_ptr<Surface>(std::move(copy));
  b.patternBitmap = bitmap;
  return static_cast<HBRUSH>(Add(Kind::Brush, std::move(b)));
}

HBRUSH CreateDIBPatternBrushPt(const void* packed, UINT usage) {
  auto* header = static_cast<const BITMAPINFOHEADER*>(packed);
  DibInfo dib;
  if (!ParseDib(header, dib) || dib.compression == BI_RLE8 || dib.compression == BI_RLE4) {
    return nullptr;
  }
  auto surface = Surface::Create(dib.width, dib.height, PixelFormat::Color, 0);
  if (!surface) return nullptr;
  auto* info = reinterpret_cast<const BITMAPINFO*>(header);
  std::vector<std::uint32_t> lut;
  if (usage == DIB_PAL_COLORS) {
    // Indexes into the default palette (there is no DC to ask).
    HDC scratch = NewDc(DcKind::Info);
    lut = DibColorTable(info, dib, usage, LookupDc(scratch));
    DestroyDc(scratch);
  } else {
    lut = DibColorTable(info, dib, DIB_RGB_COLORS, nullptr);
  }
  std::size_t offset = dib.tableOffset + std::size_t(dib.tableEntries) * (usage == DIB_PAL_COLORS ? 2 : 4);
  const auto* bits = static_cast<const std::uint8_t*>(packed) + offset;
  for (int y = 0; y < dib.height; ++y) {
    int row = dib.topDown ? y : dib.height - 1 - y;
    DecodeRow(dib, bits, row, 0, dib.width, lut.data(), int(lut.size()), surface->Row(y));
  }
  BrushObj b;
  b.style = BS_DIBPATTERNPT;
  b.pattern = std::shared_ptr<Surface>(std::move(surface));
  return static_cast<HBRUSH>(Add(Kind::Brush, std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(StockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    case BS_DIBPATTERNPT:
      return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), UINT(lb->lbColor));
    default: return nullptr;
  }
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  FontObj f;
  f.logfont = *lf;
  f.logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(Add(Kind::Font, f));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                 DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                 LPCSTR face) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = BYTE(italic ? 1 : 0);
  lf.lfUnderline = BYTE(underline ? 1 : 0);
  lf.lfStrikeOut = BYTE(strikeOut ? 1 : 0);
  lf.lfCharSet = BYTE(charSet);
  lf.lfOutPrecision = BYTE(outPrecision);
  lf.lfClipPrecision = BYTE(clipPrecision);
  lf.lfQuality = BYTE(quality);
  lf.lfPitchAndFamily = BYTE(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

HGDIOBJ GetStockObject(int index) { return StockObject(index); }

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  DcRecord* dc = LookupDc(h);
  Object* o = LookupObject(obj);
  if (!dc || !o) return nullptr;
  DcState& s = dc->state;
  switch (o->kind) {
    case Kind::Pen: {
      HGDIOBJ old = s.pen;
      s.pen = static_cast<HPEN>(obj);
      return old;
    }
    case Kind::Brush: {
      HGDIOBJ old = s.brush;
      s.brush = static_cast<HBRUSH>(obj);
      return old;
    }
    case Kind::Font: {
      HGDIOBJ old = s.font;
      s.font = static_cast<HFONT>(obj);
      return old;
    }
    case Kind::Bitmap: {
      if (dc->kind != DcKind::Memory) return nullptr;
      if (obj == s.bitmap) return obj;
      if (!o->stock && ObjectInUse(obj)) return nullptr;  // one DC at a time
      HGDIOBJ old = s.bitmap;
      s.bitmap = static_cast<HBITMAP>(obj);
      InvalidateClip(*dc);
      return old;
    }
    case Kind::Region:
      return reinterpret_cast<HGDIOBJ>(std::intptr_t(ExtSelectClipRgn(h, static_cast<HRGN>(obj), RGN_COPY)));
    default:
      return nullptr;  // palettes go through SelectPalette
  }
}

BOOL DeleteObject(HGDIOBJ obj) {
  Object* o = LookupObject(obj);
  if (!o || o->kind == Kind::Dc) return FALSE;
  if (o->stock) return TRUE;
  if (ObjectInUse(obj)) return FALSE;
  if (o->kind == Kind::Font) ActiveTextEngine().FontDeleted(static_cast<HFONT>(obj));
  return RemoveObject(obj) ? TRUE : FALSE;
}

int GetObject(HGDIOBJ obj, int size, LPVOID out) {
  Object* o = LookupObject(obj);
  if (!o || (out && size < 0)) return 0;
  switch (o->kind) {
    case Kind::Pen: {
      const PenObj& p = std::get<PenObj>(o->data);
      if (p.extended) {
        EXTLOGPEN e{};
        e.elpPenStyle = DWORD(p.style) | p.endCap | p.join | (p.geometric ? PS_GEOMETRIC : 0);
        e.elpWidth = DWORD(p.width);
        e.elpBrushStyle = p.style == PS_NULL ? BS_NULL : BS_SOLID;
        e.elpColor = p.color;
        return CopyOut(&e, sizeof e, size, out);
      }
      LOGPEN lp{UINT(p.style), POINT{p.width, 0}, p.color};
      return CopyOut(&lp, sizeof lp, size, out);
    }
    case Kind::Brush: {
      const BrushObj& b = std::get<BrushObj>(o->data);
      LOGBRUSH lb{b.style, b.color, 0};
      if (b.style == BS_HATCHED) lb.lbHatch = UINT_PTR(b.hatch);
      if (b.style == BS_PATTERN) lb.lbHatch = reinterpret_cast<UINT_PTR>(b.patternBitmap);
      return CopyOut(&lb, sizeof lb, size, out);
    }
    case Kind::Font:
      return CopyOut(&std::get<FontObj>(o->data).logfont, sizeof(LOGFONT), size, out);
    case Kind::Bitmap: {
      const BitmapObj& b = std::get<BitmapObj>(o->data);
      BITMAP bm{};
      bm.bmType = 0;
      bm.bmWidth = b.surface ? b.surface->width() : 0;
      bm.bmHeight = b.surface ? b.surface->height() : 0;
      bm.bmWidthBytes = LONG(((std::int64_t(bm.bmWidth) * b.bitsPerPixel + 15) / 16) * 2);
      bm.bmPlanes = WORD(b.planes);
      bm.bmBitsPixel = WORD(b.bitsPerPixel);
      bm.bmBits = nullptr;
      return CopyOut(&bm, sizeof bm, size, out);
    }
    case Kind::Palette: {
      WORD n = WORD(std::get<PaletteObj>(o->data).entries.size());
      return CopyOut(&n, sizeof n, size, out);
    }
    default:
      return 0;
  }
}

BOOL UnrealizeObject(HGDIOBJ obj) {
  Object* o = LookupObject(obj);
  return o && (o->kind == Kind::Brush || o->kind == Kind::Palette) ? TRUE : FALSE;
}
