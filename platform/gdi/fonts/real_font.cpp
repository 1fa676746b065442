#include "gdi/fonts/real_font.h"

#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>
#include <utility>

namespace win::gdi::fonts {

namespace {

constexpr std::size_t kGlyphCacheBytes = 16u << 20;
constexpr std::size_t kGlyphCacheCount = 16384;
// A glyph above this is drawn from a scratch buffer and not kept.
constexpr std::size_t kMaxCachedGlyphBytes = 256u << 10;
// And one above this is not rendered at all (the sizes are capped, so only a
// broken font gets here).
constexpr std::uint64_t kMaxGlyphBytes = 16u << 20;
constexpr std::size_t kFontCacheSize = 32;
// Simulated italic leans by about 12 degrees (16.16 fixed point).
constexpr FT_Fixed kItalicShear = 0x0366A;

// Rounded num / den for den > 0.
int RoundDiv(std::int64_t num, std::int64_t den) {
  if (num >= 0) return int((num * 2 + den) / (den * 2));
  return -int((-num * 2 + den) / (den * 2));
}

DesignMetrics PlaceholderMetrics() {
  DesignMetrics m;
  m.unitsPerEm = 2048;
  m.winAscent = 1854;
  m.winDescent = 434;
  m.hheaAscender = 1854;
  m.hheaDescender = -434;
  m.avgCharWidth = 904;
  m.maxAdvance = 2048;
  m.underlinePosition = -217;
  m.underlineThickness = 150;
  m.strikeoutPosition = 530;
  m.strikeoutSize = 102;
  return m;
}

struct FontCache {
  std::list<std::pair<LOGFONT, std::shared_ptr<RealFont>>> fonts;  // most recent first
};

FontCache& Fonts() {
  static FontCache* cache = new FontCache;  // kept to the end: no exit-order questions
  return *cache;
}

bool SameLogfont(const LOGFONT& a, const LOGFONT& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight &&
         a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
         a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
         std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

GlyphCache& SharedGlyphCache() {
  static GlyphCache* cache = new GlyphCache(kGlyphCacheBytes, kGlyphCacheCount);
  return *cache;
}

void ClearFontCaches() {
  Fonts().fonts.clear();
  SharedGlyphCache().Clear();
}

std::shared_ptr<RealFont> RealizeFont(const LOGFONT& requested) {
  LOGFONT lf = requested;
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  auto& fonts = Fonts().fonts;
  for (auto it = fonts.begin(); it != fonts.end(); ++it) {
    if (SameLogfont(it->first, lf)) {
      fonts.splice(fonts.begin(), fonts, it);
      return fonts.front().second;
    }
  }
  auto font = std::make_shared<RealFont>(lf);
  fonts.emplace_front(lf, font);
  if (fonts.size() > kFontCacheSize) fonts.pop_back();
  return font;
}

RealFont::RealFont(const LOGFONT& lf) : resolved_(ResolveFace(lf)) {
  underline_ = lf.lfUnderline != 0;
  strikeOut_ = lf.lfStrikeOut != 0;
  antialiased_ = lf.lfQuality != NONANTIALIASED_QUALITY;
  const DesignMetrics m = resolved_.face ? resolved_.face->metrics() : PlaceholderMetrics();
  const std::int64_t upem = m.unitsPerEm;
  const std::int64_t cell = m.winAscent + m.winDescent;

  std::int64_t h = lf.lfHeight;
  if (h == 0) h = 16;
  h = std::clamp<std::int64_t>(h, -kMaxPixelSize, kMaxPixelSize);
  int ascent = 0;
  int descent = 0;
  if (h > 0) {
    // The cell height is what was asked for; the em follows from it.
    emY_ = std::clamp(RoundDiv(h * upem, cell), 1, kMaxPixelSize);
    ascent = RoundDiv(m.winAscent * h, cell);
    descent = int(h) - ascent;
  } else {
    emY_ = int(-h);
    ascent = RoundDiv(m.winAscent * emY_, upem);
    descent = RoundDiv(m.winDescent * emY_, upem);
  }
  emX_ = emY_;
  if (lf.lfWidth != 0) {
    std::int64_t w = std::min<std::int64_t>(std::llabs(std::int64_t(lf.lfWidth)), kMaxPixelSize);
    emX_ = std::clamp(RoundDiv(w * upem, m.avgCharWidth), 1, kMaxPixelSize);
  }
  if (resolved_.synthBold) {
    boldStrength_ = std::max(32, emY_ * 64 / 24);
    boldExtra_ = std::max(1, (boldStrength_ + 32) / 64);
  }

  tm_.tmAscent = ascent;
  tm_.tmDescent = descent;
  tm_.tmHeight = ascent + descent;
  tm_.tmInternalLeading = std::max(0, int(tm_.tmHeight) - emY_);
  std::int64_t gap = std::int64_t(m.hheaAscender) - m.hheaDescender + m.hheaLineGap - cell;
  tm_.tmExternalLeading = gap > 0 ? RoundDiv(gap * emY_, upem) : 0;
  tm_.tmAveCharWidth = RoundDiv(std::int64_t(m.avgCharWidth) * emX_, upem) + boldExtra_;
  tm_.tmMaxCharWidth = RoundDiv(std::int64_t(m.maxAdvance) * emX_, upem) + boldExtra_;
  tm_.tmWeight = resolved_.synthBold ? FW_BOLD : m.weightClass;
  tm_.tmOverhang = 0;
  tm_.tmFirstChar = 0x1E;
  tm_.tmLastChar = 0xFF;
  tm_.tmDefaultChar = 0x1F;
  tm_.tmBreakChar = 0x20;
  tm_.tmItalic = lf.lfItalic ? 1 : 0;
  tm_.tmUnderlined = underline_ ? 1 : 0;
  tm_.tmStruckOut = strikeOut_ ? 1 : 0;
  bool fixed = (resolved_.pitchAndFamily & 0x03) == FIXED_PITCH;
  // TMPF_FIXED_PITCH set means variable pitch.
  tm_.tmPitchAndFamily = BYTE(TMPF_VECTOR | TMPF_TRUETYPE | (fixed ? 0 : TMPF_FIXED_PITCH) |
                              (resolved_.pitchAndFamily & 0xF0));
  tm_.tmCharSet = resolved_.charset;

  // Underline and strike-out from the font's own positions, kept inside the cell.
  underlineLine_.thickness = std::max(1, RoundDiv(std::int64_t(m.underlineThickness) * emY_, upem));
  underlineLine_.top = std::max(1, RoundDiv(-std::int64_t(m.underlinePosition) * emY_, upem));
  if (underlineLine_.top + underlineLine_.thickness > descent) {
    underlineLine_.top = std::max(1, descent - underlineLine_.thickness);
  }
  strikeLine_.thickness = std::max(1, RoundDiv(std::int64_t(m.strikeoutSize) * emY_, upem));
  strikeLine_.top = -std::max(1, RoundDiv(std::int64_t(m.strikeoutPosition) * emY_, upem));

  keyBase_.faceId = resolved_.face ? resolved_.face->id() : 0;
  keyBase_.emX = std::uint16_t(emX_);
  keyBase_.emY = std::uint16_t(emY_);
  keyBase_.style = std::uint8_t((resolved_.synthBold ? 1 : 0) | (resolved_.synthItalic ? 2 : 0) |
                                (resolved_.fallbackSet << 2));
  sized_.resize(1 + resolved_.fallbacks.size());
  sized_[0].face = resolved_.face;
  for (std::size_t i = 0; i < resolved_.fallbacks.size(); ++i) {
    sized_[i + 1].face = resolved_.fallbacks[i];
  }
}

RealFont::~RealFont() {
  for (SizedFace& s : sized_) {
    if (s.size) FT_Done_Size(s.size);
  }
}

std::string RealFont::fontFile() const {
  return resolved_.face ? resolved_.face->path() : std::string();
}

RealFont::SizedFace* RealFont::SizedFor(std::size_t which) {
  if (which >= sized_.size() || !sized_[which].face) return nullptr;
  SizedFace& s = sized_[which];
  FT_Face face = s.face->face();
  if (!s.size) {
    FT_Size size = nullptr;
    if (FT_New_Size(face, &size) != 0) return nullptr;
    if (FT_Activate_Size(size) != 0 ||
        FT_Set_Pixel_Sizes(face, FT_UInt(emX_), FT_UInt(emY_)) != 0) {
      FT_Done_Size(size);
      return nullptr;
    }
    s.size = size;
    return &s;
  }
  if (FT_Activate_Size(s.size) != 0) return nullptr;
  return &s;
}

bool RealFont::Load(char32_t ch, bool render, Glyph& out) {
  out = Glyph{};
  std::size_t which = 0;
  FT_UInt gid = resolved_.face ? resolved_.face->GlyphIndex(ch) : 0;
  // Characters the face lacks come from the fallbacks (not control codes:
  // those show the face's own missing-glyph box, as on Windows).
  if (gid == 0 && ch >= 0x20) {
    for (std::size_t i = 0; i < resolved_.fallbacks.size(); ++i) {
      FT_UInt g = resolved_.fallbacks[i]->GlyphIndex(ch);
      if (g != 0) {
        which = i + 1;
        gid = g;
        break;
      }
    }
  }
  SizedFace* sf = SizedFor(which);
  if (!sf) return false;
  FT_Face face = sf->face->face();
  if (FT_Load_Glyph(face, gid, kGlyphLoadFlags) != 0) {
    out.rendered = render;  // an unloadable glyph draws nothing
    return true;
  }
  FT_GlyphSlot slot = face->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (resolved_.synthItalic) {
      FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
    if (resolved_.synthBold) FT_Outline_EmboldenXY(&slot->outline, boldStrength_, 0);
  }
  out.advance = int((slot->advance.x + 32) >> 6) + boldExtra_;
  if (!render) return true;
  out.rendered = true;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
    return true;
  }
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.pitch < 0 || !bm.buffer) return true;
  std::uint64_t bytes = std::uint64_t(bm.width) * bm.rows;
  if (bytes == 0 || bytes > kMaxGlyphBytes || unsigned(bm.pitch) < bm.width) return true;
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.width = int(bm.width);
  out.height = int(bm.rows);
  out.coverage.resize(std::size_t(bytes));
  for (unsigned y = 0; y < bm.rows; ++y) {
    std::memcpy(out.coverage.data() + std::size_t(y) * bm.width,
                bm.buffer + std::size_t(y) * unsigned(bm.pitch), bm.width);
  }
  return true;
}

void RealFont::Remember(char32_t ch, GlyphCache::Ref ref) {
  if (ch >= quick_.size()) return;
  const std::uint64_t epoch = SharedGlyphCache().epoch();
  if (quickEpoch_ != epoch) {
    quick_.fill(Quick{});
    quickEpoch_ = epoch;
  }
  quick_[ch] = Quick{ref, true};
}

Glyph* RealFont::Lookup(char32_t ch, bool render) {
  GlyphKey key = keyBase_;
  key.ch = ch;
  GlyphCache& cache = SharedGlyphCache();
  GlyphCache::Ref ref{};
  Glyph* cached = nullptr;
  if (ch < quick_.size() && quickEpoch_ == cache.epoch() && quick_[ch].valid) {
    ref = quick_[ch].ref;
    cached = &cache.Touch(ref);
    if (!render || cached->rendered) return cached;
  } else {
    cached = cache.Find(key, &ref);
    if (cached && (!render || cached->rendered)) {
      Remember(ch, ref);
      return cached;
    }
  }
  Glyph fresh;
  if (!Load(ch, render, fresh)) return nullptr;
  if (GlyphCache::CostOf(fresh) > kMaxCachedGlyphBytes) {
    scratch_ = std::move(fresh);
    return &scratch_;
  }
  if (cached) {
    std::size_t old = GlyphCache::CostOf(*cached);
    *cached = std::move(fresh);
    cache.Grew(key, old);  // keeps it: the glyph just used is never the one dropped
    Remember(ch, ref);
    return cached;
  }
  Glyph* inserted = cache.Insert(key, std::move(fresh), &ref);
  Remember(ch, ref);
  return inserted;
}

int RealFont::Advance(char32_t ch) {
  Glyph* g = Lookup(ch, false);
  return g ? g->advance : 0;
}

const Glyph* RealFont::Render(char32_t ch) {
  Glyph* g = Lookup(ch, true);
  return g && g->rendered ? g : nullptr;
}

}  // namespace win::gdi::fonts
