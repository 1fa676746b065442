// A LOGFONT realised: the face, its pixel size, the text metrics Windows
// would report for it, the positions of underline and strike-out, and its
// glyphs (through the shared glyph cache).
//
// Sizes follow Windows: a negative lfHeight is the em size in pixels, a
// positive one the cell height (ascent + descent, from the OS/2 "win"
// metrics), 0 a cell of 16. lfWidth, when not 0, is the average character
// width. Sizes are capped at kMaxPixelSize. Escapement and orientation are
// not supported: text is always horizontal.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdi/fonts/font_resolver.h"
#include "gdi/fonts/glyph_cache.h"
#include "win/gdi.h"

namespace win::gdi::fonts {

inline constexpr int kMaxPixelSize = 2048;

// A line drawn with the text, relative to the baseline: `top` is the first
// row (positive below the baseline), `thickness` at least 1.
struct TextLine {
  int top = 0;
  int thickness = 1;
};

class RealFont {
 public:
  explicit RealFont(const LOGFONT& lf);
  ~RealFont();
  RealFont(const RealFont&) = delete;
  RealFont& operator=(const RealFont&) = delete;

  // tmDigitizedAspectX/Y are left 0; the caller knows the device.
  const TEXTMETRIC& metrics() const { return tm_; }
  const std::string& faceName() const { return resolved_.reportedName; }
  std::string fontFile() const;  // the main face's file; empty without one
  const FontFace* face() const { return resolved_.face; }
  BYTE charset() const { return resolved_.charset; }
  bool antialiased() const { return antialiased_; }
  bool underline() const { return underline_; }
  bool strikeOut() const { return strikeOut_; }
  const TextLine& underlineLine() const { return underlineLine_; }
  const TextLine& strikeLine() const { return strikeLine_; }
  int emX() const { return emX_; }
  int emY() const { return emY_; }
  bool synthBold() const { return resolved_.synthBold; }
  bool synthItalic() const { return resolved_.synthItalic; }

  // The pen advance of a character, in pixels.
  int Advance(char32_t ch);
  // The glyph with its coverage; valid until the next Advance or Render of
  // any font. Null when the character cannot be drawn.
  const Glyph* Render(char32_t ch);

 private:
  struct SizedFace {
    FontFace* face = nullptr;
    FT_Size size = nullptr;
  };

  Glyph* Lookup(char32_t ch, bool render);
  bool Load(char32_t ch, bool render, Glyph& out);
  SizedFace* SizedFor(std::size_t fallback);  // 0 = main face, i + 1 = fallbacks[i]

  ResolvedFace resolved_;
  TEXTMETRIC tm_{};
  bool antialiased_ = true;
  bool underline_ = false;
  bool strikeOut_ = false;
  TextLine underlineLine_;
  TextLine strikeLine_;
  int emX_ = 16;
  int emY_ = 16;
  int boldStrength_ = 0;  // 26.6 pixels the outline grows by
  int boldExtra_ = 0;     // pixels added to each advance
  GlyphKey keyBase_;
  Glyph scratch_;  // a glyph too big for the cache
  // The cached glyphs of the first 256 characters, as last found: text
  // draws the same few again and again. Valid while the cache's epoch is
  // quickEpoch_.
  void Remember(char32_t ch, GlyphCache::Ref ref);
  struct Quick {
    GlyphCache::Ref ref;
    bool valid = false;
  };
  std::array<Quick, 256> quick_{};
  std::uint64_t quickEpoch_ = ~std::uint64_t{0};
  std::vector<SizedFace> sized_;  // main face first, then fallbacks (sized on first use)
};

// The realised font for a LOGFONT, shared: the last few are kept.
std::shared_ptr<RealFont> RealizeFont(const LOGFONT& lf);

GlyphCache& SharedGlyphCache();
// Drops every realised font and cached glyph (tests, benchmarks).
void ClearFontCaches();

}  // namespace win::gdi::fonts
