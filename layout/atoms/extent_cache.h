// The boxes of short texts an output has measured, by text, descriptor and
// the output's device count. A document repeats its words, and measuring a
// word through the output's fonts costs far more than finding its box
// again; the output's measure of a text stays the same until its device
// changes (the count moves then, so older boxes are never found). A fixed
// table: a new box takes the place of the one in its slot.
#pragma once

#include <cstdint>

#include "text/layout_support/layout_rect.h"
#include "text/style/font_descriptor.h"
#include "win/types.h"

class ExtentCache {
 public:
  // Texts longer than this are not kept.
  static constexpr LONG kLongest = 25;

  ExtentCache() = default;
  ExtentCache(const ExtentCache&) = delete;
  ExtentCache& operator=(const ExtentCache&) = delete;

  // The box kept for the text; false when there is none.
  bool Find(const char* text, LONG length, const FontDescriptor& d, LONG device, LayoutRect& box) const;
  // Keeps a box the output measured (texts longer than kLongest are not).
  void Keep(const char* text, LONG length, const FontDescriptor& d, LONG device, const LayoutRect& box);

 private:
  static constexpr std::uint32_t kSlots = 2048;

  // Every byte of a key is set (no padding), so that keys compare and hash
  // as bytes.
  struct Key {
    std::int32_t device;
    std::int32_t colorIndex;
    std::int32_t colorKind;
    std::int16_t style;
    std::uint16_t scale;
    std::uint8_t used;
    std::uint8_t flags;
    std::uint8_t highlight;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t length;
    char text[kLongest];
  };
  static_assert(sizeof(Key) == 48, "a key has no padding");
  struct Slot {
    Key key;
    LayoutRect box;
  };

  // False for a text that is not kept.
  static bool MakeKey(Key& key, const char* text, LONG length, const FontDescriptor& d, LONG device);
  static std::uint32_t SlotOf(const Key& key);

  Slot slots_[kSlots] = {};
};
