#include "text/layout_support/layout_rect.h"

#include <algorithm>
#include <utility>

void LayoutRect::Normalize() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

LayoutRect& LayoutRect::Union(const LayoutRect& other) {
  LayoutRect o = other;
  o.Normalize();
  Normalize();
  left = std::min(left, o.left);
  right = std::max(right, o.right);
  top = std::min(top, o.top);
  bottom = std::max(bottom, o.bottom);
  return *this;
}

namespace {

bool between(LONG v, LONG a, LONG b) { return a <= b ? (a <= v && v <= b) : (b <= v && v <= a); }

}  // namespace

bool LayoutRect::ContainsPoint(const LayoutPoint& p) const {
  return between(p.x, left, right) && between(p.y, top, bottom);
}

bool LayoutRect::ContainsRect(const LayoutRect& other) const {
  return ContainsPoint({other.left, other.top}) && ContainsPoint({other.right, other.bottom});
}
