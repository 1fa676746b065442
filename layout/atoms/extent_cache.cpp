#include "layout/atoms/extent_cache.h"

#include <cstring>

bool ExtentCache::MakeKey(Key& key, const char* text, LONG length, const FontDescriptor& d, LONG device) {
  if (length < 0 || length > kLongest || (length > 0 && !text)) return false;
  std::memset(&key, 0, sizeof key);
  key.device = device;
  key.colorIndex = d.colorIndex;
  key.colorKind = d.color.kind;
  key.style = d.styleNumber;
  key.scale = d.scale;
  key.used = 1;
  key.flags = d.flags;
  key.highlight = d.highlight;
  key.red = d.color.red;
  key.green = d.color.green;
  key.blue = d.color.blue;
  key.length = static_cast<std::uint8_t>(length);
  if (length > 0) std::memcpy(key.text, text, static_cast<size_t>(length));
  return true;
}

std::uint32_t ExtentCache::SlotOf(const Key& key) {
  // Six words of the key, mixed by multiplying.
  std::uint64_t words[sizeof(Key) / 8];
  std::memcpy(words, &key, sizeof words);
  std::uint64_t h = 0x9E3779B97F4A7C15ull;
  for (std::uint64_t w : words) {
    h ^= w;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  return static_cast<std::uint32_t>(h) & (kSlots - 1);
}

bool ExtentCache::Find(const char* text, LONG length, const FontDescriptor& d, LONG device, LayoutRect& box) const {
  Key key;
  if (!MakeKey(key, text, length, d, device)) return false;
  const Slot& slot = slots_[SlotOf(key)];
  if (std::memcmp(&slot.key, &key, sizeof key) != 0) return false;
  box = slot.box;
  return true;
}

void ExtentCache::Keep(const char* text, LONG length, const FontDescriptor& d, LONG device, const LayoutRect& box) {
  Key key;
  if (!MakeKey(key, text, length, d, device)) return;
  Slot& slot = slots_[SlotOf(key)];
  slot.key = key;
  slot.box = box;
}
