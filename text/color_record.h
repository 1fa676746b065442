// A colour as styles and the document colour table keep it: red, green and
// blue bytes and a kind that says how to read them.
#pragma once

#include "win/types.h"

struct ColorRecord {
  // Kinds other than these two are indices into the document colour table.
  static constexpr LONG kUnset = 255;
  static constexpr LONG kExplicit = 254;

  BYTE red = 0;
  BYTE green = 0;
  BYTE blue = 0;
  LONG kind = kUnset;

  static ColorRecord Rgb(BYTE r, BYTE g, BYTE b) { return ColorRecord{r, g, b, kExplicit}; }
  // From a 0xRRGGBB number as style parameters and document records give it.
  static ColorRecord FromRgbNumber(DWORD rgb) {
    return Rgb(static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
  }
  bool isSet() const { return kind != kUnset; }
  friend bool operator==(const ColorRecord&, const ColorRecord&) = default;
};
