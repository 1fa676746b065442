// The glyphs drawn so far, least recently used dropped first. A glyph is
// keyed by the face it was asked of, the pixel size, the style simulation
// and the character; it remembers its advance and, once drawn, its
// anti-aliased coverage. Measuring fills only the advance, so laying out a
// page does not render what is never shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace win::gdi::fonts {

struct GlyphKey {
  std::uint32_t faceId = 0;  // the realised font's main face
  std::uint16_t emX = 0;     // pixel sizes
  std::uint16_t emY = 0;
  std::uint8_t style = 0;    // simulation and fallback bits (RealFont)
  char32_t ch = 0;

  bool operator==(const GlyphKey& o) const {
    return faceId == o.faceId && emX == o.emX && emY == o.emY && style == o.style && ch == o.ch;
  }
};

struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& k) const {
    std::uint64_t h = k.faceId;
    h = h * 0x9E3779B97F4A7C15ull + (std::uint64_t(k.emX) << 16 | k.emY);
    h = h * 0x9E3779B97F4A7C15ull + (std::uint64_t(k.style) << 32 | k.ch);
    return std::size_t(h ^ (h >> 29));
  }
};

struct Glyph {
  int advance = 0;        // pixels, the pen moves by this
  bool rendered = false;  // coverage below is filled in
  int left = 0;           // bitmap position: x from the pen, y of the top row above the baseline
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // height rows of width bytes
};

class GlyphCache {
  using Entry = std::pair<GlyphKey, Glyph>;

 public:
  // A way back to a cached glyph without hashing its key, for a caller that
  // draws the same characters again and again: good while epoch() is what
  // it was when the reference was had.
  struct Ref {
    std::list<Entry>::iterator at;
  };

  GlyphCache(std::size_t maxBytes, std::size_t maxGlyphs);

  // The glyph, moved to the front; null when not cached. The pointer stays
  // good until the next Insert or Resize. `ref`, when given, is set to it.
  Glyph* Find(const GlyphKey& key, Ref* ref = nullptr);
  // The glyph of a reference (counted as a hit), moved to the front.
  Glyph& Touch(Ref ref) {
    ++hits_;
    if (ref.at != order_.begin()) order_.splice(order_.begin(), order_, ref.at);
    return ref.at->second;
  }
  // Changes whenever a glyph leaves the cache (dropped, replaced, cleared):
  // references had before then may be stale.
  std::uint64_t epoch() const { return epoch_; }
  // Adds (or replaces) a glyph and drops the oldest ones past the limits.
  Glyph* Insert(const GlyphKey& key, Glyph glyph, Ref* ref = nullptr);
  // After a cached glyph gained its coverage: counts the bytes, may drop others.
  void Grew(const GlyphKey& key, std::size_t oldBytes);
  void Clear();

  std::size_t size() const { return map_.size(); }
  std::size_t bytes() const { return bytes_; }
  std::uint64_t hits() const { return hits_; }
  std::uint64_t misses() const { return misses_; }

  static std::size_t CostOf(const Glyph& g) { return sizeof(Glyph) + 48 + g.coverage.size(); }

 private:
  void Trim();

  std::size_t maxBytes_;
  std::size_t maxGlyphs_;
  std::size_t bytes_ = 0;
  std::uint64_t hits_ = 0;
  std::uint64_t misses_ = 0;
  std::uint64_t epoch_ = 0;
  std::list<Entry> order_;  // most recent first
  std::unordered_map<GlyphKey, std::list<Entry>::iterator, GlyphKeyHash> map_;
};

}  // namespace win::gdi::fonts
