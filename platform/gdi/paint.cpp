#include "gdi/paint.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "gdi/dc_internal.h"
#include "gdi/palette_state.h"
#include "gdi/rop.h"
#include "gdi/text_engine.h"

namespace win::gdi {
namespace {

// Hatch patterns, rows top to bottom, bit x = column x.
constexpr std::uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // HS_HORIZONTAL
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // HS_VERTICAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_FDIAGONAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_BDIAGONAL
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xFF},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

int Mod(int a, int m) {
  int r = a % m;
  return r < 0 ? r + m : r;
}

}  // namespace

void Ink::Row(int y, int x0, int n, std::uint32_t* out, std::uint8_t* keep) const {
  switch (type) {
    case Type::None:
      std::fill_n(out, n, 0u);
      if (keep) std::fill_n(keep, n, std::uint8_t(0));
      return;
    case Type::Solid:
      std::fill_n(out, n, solid);
      if (keep) std::fill_n(keep, n, std::uint8_t(1));
      return;
    case Type::Hatch: {
      std::uint8_t bits = hatch[Mod(y - orgY, 8)];
      int px = Mod(x0 - orgX, 8);
      for (int i = 0; i < n; ++i) {
        bool on = (bits >> px) & 1;
        out[i] = on ? fg : bg;
        if (keep) keep[i] = (on || !transparentBg) ? 1 : 0;
        px = (px + 1) & 7;
      }
      return;
    }
    case Type::Pattern: {
      const Surface& p = *pattern;
      const std::uint32_t* row = p.Row(Mod(y - orgY, p.height()));
      int px = Mod(x0 - orgX, p.width());
      for (int i = 0; i < n; ++i) {
        std::uint32_t v = row[px];
        out[i] = monoPattern ? (v ? bg : fg) : space.FromColor(v);
        if (keep) keep[i] = 1;
        if (++px == p.width()) px = 0;
      }
      return;
    }
  }
}

Ink SolidInk(std::uint32_t deviceValue) {
  Ink ink;
  ink.type = Ink::Type::Solid;
  ink.solid = deviceValue;
  return ink;
}

std::uint32_t ResolveRgb(const DcRecord& dc, COLORREF color) {
  std::uint32_t kind = color >> 24;
  if (kind == 0x01) {
    PaletteObj* pal = LookupPalette(dc.state.palette);
    if (!pal) pal = LookupPalette(static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE)));
    std::size_t i = color & 0xFFFF;
    if (!pal || pal->entries.empty()) return 0;
    if (i >= pal->entries.size()) i = 0;
    const PALETTEENTRY& e = pal->entries[i];
    return (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue;
  }
  std::uint32_t px = RgbToPixel(color & 0xFFFFFF);
  if (kind == 0x02 && DisplayIsPalettized()) {
    PaletteObj* pal = LookupPalette(dc.state.palette);
    if (pal && !pal->entries.empty()) {
      const PALETTEENTRY& e = pal->entries[NearestLogicalIndex(pal->entries, px)];
      return (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue;
    }
  }
  return px;
}

std::uint32_t ColorValue(const DcRecord& dc, COLORREF color, const DeviceSpace& space) {
  return space.FromColor(ResolveRgb(dc, color));
}

Ink BrushInk(DcRecord& dc, HBRUSH brush, const DeviceSpace& space) {
  Ink ink;
  BrushObj* b = LookupBrush(brush);
  if (!b) return ink;
  ink.space = space;
  ink.orgX = dc.origin.x + dc.state.brushOrg.x;
  ink.orgY = dc.origin.y + dc.state.brushOrg.y;
  switch (b->style) {
    case BS_SOLID:
      return SolidInk(ColorValue(dc, b->color, space));
    case BS_HATCHED:
      if (b->hatch < 0 || b->hatch > HS_DIAGCROSS) return SolidInk(ColorValue(dc, b->color, space));
      ink.type = Ink::Type::Hatch;
      ink.fg = ColorValue(dc, b->color, space);
      ink.bg = ColorValue(dc, dc.state.bkColor, space);
      ink.transparentBg = dc.state.bkMode == TRANSPARENT;
      std::copy_n(kHatch[b->hatch], 8, ink.hatch);
      return ink;
    case BS_PATTERN:
    case BS_DIBPATTERNPT:
      if (!b->pattern) return ink;
      ink.type = Ink::Type::Pattern;
      ink.pattern = b->pattern;
      ink.monoPattern = b->pattern->format() == PixelFormat::Mono;
      ink.fg = ColorValue(dc, dc.state.textColor, space);
      ink.bg = ColorValue(dc, dc.state.bkColor, space);
      return ink;
    default:
      return ink;  // BS_NULL
  }
}

void PaintSpan(Surface& s, const DeviceSpace& space, int y, int x0, int x1, std::uint8_t rop,
               const std::uint32_t* src, const Ink* ink, const std::uint8_t* srcKeep) {
  int n = x1 - x0;
  if (n <= 0) return;
  std::uint32_t* row = s.Row(y) + x0;
  const bool usesP = RopUsesPattern(rop);
  const bool direct = space.format != PixelFormat::Display;
  const bool masked = srcKeep || (usesP && ink && ink->needsMask());

  // The common fills on a true-colour surface go straight to the pixels.
  if (direct && !masked) {
    if (rop == 0xF0 && ink && ink->type == Ink::Type::Solid) {
      // The C library's wide fill picks the widest stores the processor
      // has, where a plain loop is compiled for the oldest; a wide
      // character is a 32-bit pixel here.
      static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
      std::wmemset(reinterpret_cast<wchar_t*>(row), static_cast<wchar_t>(ink->solid & 0xFFFFFFu),
                   static_cast<std::size_t>(n));
      return;
    }
    if (rop == 0xCC && src) {
      for (int i = 0; i < n; ++i) row[i] = src[i] & 0xFFFFFFu;
      return;
    }
  }

  thread_local std::vector<std::uint32_t> dbuf, pbuf;
  thread_local std::vector<std::uint8_t> keep;
  const bool inkMask = usesP && ink && ink->needsMask();
  if (masked) keep.assign(n, 1);
  const std::uint32_t* pat = nullptr;
  std::uint32_t patValue = 0;
  if (usesP && ink) {
    if (ink->type == Ink::Type::Solid) {
      patValue = ink->solid;
    } else {
      pbuf.resize(n);
      ink->Row(y, x0, n, pbuf.data(), inkMask ? keep.data() : nullptr);
      pat = pbuf.data();
    }
  }
  if (srcKeep) {
    for (int i = 0; i < n; ++i) keep[i] = keep[i] && srcKeep[i];
  }
  if (direct && !masked) {
    Rop3Span(rop, row, src, patValue, pat, n, space.mask);
    return;
  }
  dbuf.resize(n);
  for (int i = 0; i < n; ++i) dbuf[i] = space.FromPixel(row[i]);
  Rop3Span(rop, dbuf.data(), src, patValue, pat, n, space.mask);
  if (masked) {
    for (int i = 0; i < n; ++i) {
      if (keep[i]) row[i] = space.ToPixel(dbuf[i]);
    }
  } else {
    for (int i = 0; i < n; ++i) row[i] = space.ToPixel(dbuf[i]);
  }
}

Region ClipTo(const DcRecord& dc, const RECT& r) {
  return EffectiveClip(dc).IntersectRect(r);
}

void PaintRegion(DcRecord& dc, const Region& area, std::uint8_t rop, const Ink& ink) {
  if (RopUsesPattern(rop) && ink.none()) return;
  Surface* s = DcSurface(dc);
  if (!s || area.IsEmpty()) return;
  Region clipped = area.Intersect(EffectiveClip(dc));
  DeviceSpace space = SpaceOf(*s);
  // A solid fill of a true-colour surface: a rectangle as wide as the
  // surface is one run of pixels, and the others a run per row, without
  // asking for each row what kind of painting it is.
  const bool solidFill = rop == 0xF0 && ink.type == Ink::Type::Solid && !ink.needsMask() &&
                         space.format != PixelFormat::Display;
  for (const RECT& r : clipped.Rects()) {
    if (solidFill) {
      static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
      const auto value = static_cast<wchar_t>(ink.solid & 0xFFFFFFu);
      if (r.left == 0 && r.right == s->width()) {
        std::wmemset(reinterpret_cast<wchar_t*>(s->Row(r.top)), value,
                     std::size_t(r.bottom - r.top) * std::size_t(s->width()));
      } else {
        for (int y = r.top; y < r.bottom; ++y)
          std::wmemset(reinterpret_cast<wchar_t*>(s->Row(y) + r.left), value, std::size_t(r.right - r.left));
      }
    } else {
      for (int y = r.top; y < r.bottom; ++y) PaintSpan(*s, space, y, r.left, r.right, rop, nullptr, &ink);
    }
    NoteDrawn(dc, r);
  }
}

// ---- Helpers for text engines ------------------------------------------------

std::uint32_t ResolveColor(const DcRecord& dc, COLORREF color) {
  DcRecord& m = const_cast<DcRecord&>(dc);
  Surface* s = DcSurface(m);
  std::uint32_t rgb = ResolveRgb(dc, color);
  if (!s) return rgb;
  DeviceSpace space = SpaceOf(*s);
  return space.ToPixel(space.FromColor(rgb));
}

void FillSurfaceRect(DcRecord& dc, const RECT& r, COLORREF color) {
  Surface* s = DcSurface(dc);
  if (!s) return;
  DeviceSpace space = SpaceOf(*s);
  PaintRegion(dc, Region(r), 0xF0, SolidInk(ColorValue(dc, color, space)));
}

namespace {

// floor(u / 255) for 0 <= u <= 65534, in two 16-bit lanes at once (bits
// 0-15 and 16-31): the quotients land in bits 0-7 and 16-23.
inline std::uint32_t DivideLanesBy255(std::uint32_t u) {
  return ((u + 0x00010001u + ((u >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Blends `px` over `d` by coverage a (1..254): each channel
// (s * a + d * (255 - a) + 127) / 255, red and blue side by side in one
// word (a channel's sum stays below 2^16, so the lanes never carry).
inline std::uint32_t BlendCoverage(std::uint32_t px, std::uint32_t d, unsigned a) {
  const unsigned na = 255 - a;
  const std::uint32_t rb = (px & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * na + 0x007F007Fu;
  const std::uint32_t g = ((px >> 8) & 0xFFu) * a + ((d >> 8) & 0xFFu) * na + 0x7Fu;
  return DivideLanesBy255(rb) | (DivideLanesBy255(g) << 8);
}

#if defined(__SSE2__)
// Four pixels of a row blended at once: the same rounding as BlendCoverage,
// which gives the destination back unchanged where the coverage is 0 (kept
// whole here, fourth byte too) and the colour where it is 255. `cover`
// holds the four coverages, the first in the low byte.
inline void BlendFour(std::uint32_t* d, std::uint32_t cover, __m128i ink16) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
  const __m128i a8 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(cover)), zero);  // a0..a3 as 16 bits
  const __m128i a32 = _mm_unpacklo_epi16(a8, zero);
  // Each pixel's coverage in its four channel lanes.
  const __m128i pairs = _mm_unpacklo_epi16(a8, a8);  // a0 a0 a1 a1 a2 a2 a3 a3
  const __m128i aLo = _mm_unpacklo_epi32(pairs, pairs), aHi = _mm_unpackhi_epi32(pairs, pairs);
  const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(127), one = _mm_set1_epi16(1);
  auto blend = [&](__m128i d16, __m128i a) {
    __m128i u = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(ink16, a), _mm_mullo_epi16(d16, _mm_sub_epi16(full, a))),
                              half);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(u, one), _mm_srli_epi16(u, 8)), 8);
  };
  __m128i out = _mm_packus_epi16(blend(_mm_unpacklo_epi8(dst, zero), aLo), blend(_mm_unpackhi_epi8(dst, zero), aHi));
  out = _mm_and_si128(out, _mm_set1_epi32(0xFFFFFF));
  const __m128i keep = _mm_cmpeq_epi32(a32, zero);
  out = _mm_or_si128(_mm_and_si128(keep, dst), _mm_andnot_si128(keep, out));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
}
#endif

void CoverageRect(Surface& s, const RECT& r, int x, int y, const std::uint8_t* coverage, int pitch,
                  std::uint32_t px, bool mix) {
  const std::uint32_t solid = px & 0xFFFFFFu;  // a blended pixel keeps no fourth byte either
#if defined(__SSE2__)
  const __m128i ink16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(solid)), _mm_setzero_si128());
  const int n = r.right - r.left;
  // A last group of four that runs past the rectangle is blended whole when
  // it stays inside the surface row: the extra pixels have coverage 0 and
  // are written back as they were.
  const bool padFits = r.left + ((n + 3) & ~3) <= s.width();
#endif
  for (int yy = r.top; yy < r.bottom; ++yy) {
    const std::uint8_t* c = coverage + std::size_t(yy - y) * std::size_t(pitch) + (r.left - x);
    std::uint32_t* row = s.Row(yy);
    if (!mix) {
      for (int xx = r.left; xx < r.right; ++xx, ++c)
        if (*c >= 128) row[xx] = px;
      continue;
    }
#if defined(__SSE2__)
    std::uint32_t* d = row + r.left;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
      std::uint32_t cover;
      std::memcpy(&cover, c + i, 4);
      if (cover != 0) BlendFour(d + i, cover, ink16);
    }
    if (i < n && padFits) {
      std::uint32_t cover = 0;
      for (int k = 0; i + k < n; ++k) cover |= std::uint32_t(c[i + k]) << (8 * k);
      if (cover != 0) BlendFour(d + i, cover, ink16);
      continue;
    }
    for (; i < n; ++i) {
      const unsigned a = c[i];
      if (a == 0) continue;
      d[i] = a == 255 ? px : BlendCoverage(solid, d[i], a);
    }
#else
    for (int xx = r.left; xx < r.right; ++xx, ++c) {
      const unsigned a = *c;
      if (a == 0) continue;
      row[xx] = a == 255 ? px : BlendCoverage(solid, row[xx], a);
    }
#endif
  }
}

}  // namespace

CoverageInk::CoverageInk(DcRecord& dc, COLORREF color, bool blend) : dc_(dc), surface_(DcSurface(dc)) {
  if (!surface_) return;
  const DeviceSpace space = SpaceOf(*surface_);
  px_ = space.ToPixel(ColorValue(dc, color, space));
  mix_ = blend && space.format == PixelFormat::Color;
}

CoverageInk::~CoverageInk() { NoteDrawn(dc_, drawn_); }

void CoverageInk::Drawn(const RECT& r) {
  if (drawn_.left >= drawn_.right) {
    drawn_ = r;
    return;
  }
  drawn_.left = std::min(drawn_.left, r.left);
  drawn_.top = std::min(drawn_.top, r.top);
  drawn_.right = std::max(drawn_.right, r.right);
  drawn_.bottom = std::max(drawn_.bottom, r.bottom);
}

void CoverageInk::Draw(int x, int y, int w, int h, const std::uint8_t* coverage, int pitch) {
  if (!surface_ || !coverage || w <= 0 || h <= 0) return;
  const RECT box{x, y, x + w, y + h};
  const Region& clip = EffectiveClip(dc_);
  // A glyph at a time: the common clip of one rectangle is met without
  // building a region for every glyph.
  if (clip.Rects().size() == 1) {
    const RECT& c = clip.Rects().front();
    const RECT r{std::max(box.left, c.left), std::max(box.top, c.top), std::min(box.right, c.right),
                 std::min(box.bottom, c.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) return;
    CoverageRect(*surface_, r, x, y, coverage, pitch, px_, mix_);
    Drawn(r);
    return;
  }
  Region clipped = clip.IntersectRect(box);
  for (const RECT& r : clipped.Rects()) {
    CoverageRect(*surface_, r, x, y, coverage, pitch, px_, mix_);
    Drawn(r);
  }
}

void DrawCoverage(DcRecord& dc, int x, int y, int w, int h, const std::uint8_t* coverage,
                  int pitch, COLORREF color, bool blend) {
  CoverageInk(dc, color, blend).Draw(x, y, w, h, coverage, pitch);
}

}  // namespace win::gdi
