// The rectangle that layout atoms are formatted into and report as their
// extent: left, right, top, bottom (in that order, unlike the Win32 RECT),
// with kNotComputed in a field that was not worked out yet.
#pragma once

#include "win/types.h"

constexpr LONG kNotComputed = static_cast<LONG>(0x80000000u);

struct LayoutPoint {
  LONG x = 0;
  LONG y = 0;
};

struct LayoutRect {
  LONG left = kNotComputed;
  LONG right = kNotComputed;
  LONG top = kNotComputed;
  LONG bottom = kNotComputed;

  static LayoutRect Of(LONG left, LONG right, LONG top, LONG bottom) {
    LayoutRect r;
    r.left = left;
    r.right = right;
    r.top = top;
    r.bottom = bottom;
    return r;
  }
  LONG Width() const { return right - left; }
  LONG Height() const { return bottom - top; }
  bool IsComputed() const { return left != kNotComputed; }

  // Orders each pair (left <= right, top <= bottom) in place.
  void Normalize();
  // Both rectangles normalised, then this one becomes the smallest that
  // holds both. Returns this rectangle.
  LayoutRect& Union(const LayoutRect& other);
  // Bounds included, whichever order each pair is stored in.
  bool ContainsPoint(const LayoutPoint& p) const;
  // Both corners of `other` are contained points.
  bool ContainsRect(const LayoutRect& other) const;

  friend bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
  }
};
