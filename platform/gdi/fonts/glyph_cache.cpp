#include "gdi/fonts/glyph_cache.h"

#include <utility>

namespace win::gdi::fonts {

GlyphCache::GlyphCache(std::size_t maxBytes, std::size_t maxGlyphs)
    : maxBytes_(maxBytes), maxGlyphs_(maxGlyphs < 1 ? 1 : maxGlyphs) {}

Glyph* GlyphCache::Find(const GlyphKey& key, Ref* ref) {
  auto it = map_.find(key);
  if (it == map_.end()) {
    ++misses_;
    return nullptr;
  }
  ++hits_;
  // A run of the same character finds it at the front already.
  if (it->second != order_.begin()) order_.splice(order_.begin(), order_, it->second);
  if (ref) ref->at = it->second;
  return &it->second->second;
}

Glyph* GlyphCache::Insert(const GlyphKey& key, Glyph glyph, Ref* ref) {
  auto it = map_.find(key);
  if (it != map_.end()) {
    bytes_ -= CostOf(it->second->second);
    order_.erase(it->second);
    map_.erase(it);
    ++epoch_;
  }
  bytes_ += CostOf(glyph);
  order_.emplace_front(key, std::move(glyph));
  map_[key] = order_.begin();
  Trim();
  // The newest glyph is never dropped by Trim, so the front is it.
  if (ref) ref->at = order_.begin();
  return &order_.front().second;
}

void GlyphCache::Grew(const GlyphKey& key, std::size_t oldBytes) {
  auto it = map_.find(key);
  if (it == map_.end()) return;
  bytes_ = bytes_ - oldBytes + CostOf(it->second->second);
  order_.splice(order_.begin(), order_, it->second);
  Trim();
}

void GlyphCache::Trim() {
  while (order_.size() > 1 && (bytes_ > maxBytes_ || order_.size() > maxGlyphs_)) {
    Entry& last = order_.back();
    bytes_ -= CostOf(last.second);
    map_.erase(last.first);
    order_.pop_back();
    ++epoch_;
  }
}

void GlyphCache::Clear() {
  order_.clear();
  map_.clear();
  bytes_ = 0;
  hits_ = misses_ = 0;
  ++epoch_;
}

}  // namespace win::gdi::fonts
