// How to draw a piece of text or a line: which draw style, the style's
// display flags, a colour and a size. Every drawing and measuring call of the
// layout carries one; the draw styles turn it into a font, a pen and a brush.
//
// The style field stores the draw-style number plus 1. A stored value n > 0
// selects the configured draw style n - 1; n <= 0 selects the built-in style
// -n - 1 (so the built-in styles are reached through negative numbers, which
// is why the field is signed); 0 itself names no style.
#pragma once

#include "text/color_record.h"
#include "win/types.h"

struct FontDescriptor {
  SHORT styleNumber = 0;  // draw-style number + 1
  BYTE flags = 0;         // display flags: bit 0 bold, bit 2 italic
  LONG colorIndex = -1;   // an explicit colour-table index, -1 for none
  BYTE highlight = 0;     // drawn highlighted (selected)
  WORD scale = 100;       // percent of the draw style's size and pen width
  ColorRecord color;      // unset unless the style gives one

  FontDescriptor() = default;
  FontDescriptor(int drawStyle, BYTE displayFlags, WORD scalePercent, BYTE highlighted)
      : styleNumber(static_cast<SHORT>(drawStyle + 1)),
        flags(displayFlags),
        highlight(highlighted),
        scale(scalePercent) {}
  FontDescriptor(int drawStyle, BYTE displayFlags, WORD scalePercent, BYTE highlighted, const ColorRecord& c)
      : FontDescriptor(drawStyle, displayFlags, scalePercent, highlighted) {
    color = c;
  }
  // The form the layout uses: style, colour, scale and display flags.
  FontDescriptor(int drawStyle, const ColorRecord& c, WORD scalePercent, BYTE displayFlags)
      : FontDescriptor(drawStyle, displayFlags, scalePercent, 0, c) {}

  void Init(int drawStyle, BYTE displayFlags, WORD scalePercent, BYTE highlighted, const ColorRecord& c) {
    *this = FontDescriptor(drawStyle, displayFlags, scalePercent, highlighted, c);
  }

  // The stored number for a built-in style k (0..63).
  static SHORT BuiltInStored(int k) { return static_cast<SHORT>(-k - 1); }
  bool IsProfileStyle() const { return styleNumber > 0; }

  // Equal when style and highlight agree and, for a configured style, flags,
  // scale, colour and colour index too: descriptors without a style draw
  // alike whatever else they hold.
  friend bool operator==(const FontDescriptor& a, const FontDescriptor& b) {
    if (a.styleNumber != b.styleNumber || a.highlight != b.highlight) return false;
    if (a.styleNumber <= 0) return true;
    return a.flags == b.flags && a.scale == b.scale && a.color == b.color && a.colorIndex == b.colorIndex;
  }
  friend bool operator!=(const FontDescriptor& a, const FontDescriptor& b) { return !(a == b); }
};
