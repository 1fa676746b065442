// A set of pixels kept as y-x banded rectangles: rectangles sorted by top,
// then left; rectangles of one band share top and bottom, do not overlap or
// touch within the band, and two adjacent bands with the same x-spans are
// merged into one. So two equal sets have equal rectangle lists.
//
// Used for clipping (visible and clip regions of DCs), for the invalid
// regions of windows and behind HRGN.
#pragma once

#include <cstdint>
#include <vector>

#include "win/types.h"

namespace win::gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);  // an empty (or inverted) rectangle gives the empty region
  static Region FromRect(int left, int top, int right, int bottom);
  // Any rectangles, overlapping or not (their union).
  static Region FromRects(const std::vector<RECT>& rects);

  bool IsEmpty() const { return rects_.empty(); }
  RECT Bounds() const;  // all zero when empty
  int Type() const;     // NULLREGION, SIMPLEREGION or COMPLEXREGION
  const std::vector<RECT>& Rects() const { return rects_; }

  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;  // any pixel of r inside
  bool ContainsRect(const RECT& r) const;  // every pixel of r inside (r not empty)

  // mode: RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (a minus b), RGN_COPY (a).
  static Region Combine(const Region& a, const Region& b, int mode);
  Region Intersect(const Region& o) const { return Combine(*this, o, 1); }
  Region Union(const Region& o) const { return Combine(*this, o, 2); }
  Region Subtract(const Region& o) const { return Combine(*this, o, 4); }
  Region IntersectRect(const RECT& r) const;

  // Moves the region; coordinates are kept within +-2^27 (a shift that would
  // pass that is cut short there).
  void Offset(int dx, int dy);

  bool operator==(const Region& o) const;
  bool operator!=(const Region& o) const { return !(*this == o); }

  // The spans [x0, x1) of row y that lie inside the region and inside
  // [left, right): calls fn(x0, x1) for each, left to right.
  template <typename Fn>
  void ForEachSpan(int y, int left, int right, Fn&& fn) const {
    std::size_t i = FirstRectOfRow(y);
    for (; i < rects_.size() && rects_[i].top <= y; ++i) {
      const RECT& r = rects_[i];
      if (r.bottom <= y) continue;
      int a = r.left > left ? r.left : left;
      int b = r.right < right ? r.right : right;
      if (a < b) fn(a, b);
      if (r.right >= right) break;
    }
  }

 private:
  friend class RowSpanBuilder;
  std::size_t FirstRectOfRow(int y) const;  // index of the first rectangle of y's band (or past)

  std::vector<RECT> rects_;
};

// Builds a region one pixel row after the other, from the top down, as the
// shape rasteriser makes them. A row goes straight into the region's
// rectangles (a row equal to the one above only lowers that band's bottom),
// so a shape's rows cost no list each.
class RowSpanBuilder {
 public:
  explicit RowSpanBuilder(int top) : y_(top) {}
  // The next row's spans: `count` values, [x0, x1) pairs in ascending
  // order (an odd last value is ignored); empty pairs are skipped and
  // touching ones join.
  void AddRow(const std::int32_t* xs, std::size_t count);
  void AddEmptyRow() { ++y_; }
  Region Finish();

 private:
  Region out_;
  std::int64_t y_;
  // The first rectangle of the last band, and that band's bottom.
  std::size_t bandStart_ = 0;
  LONG bandBottom_ = 0;
};

}  // namespace win::gdi
