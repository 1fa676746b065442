// The rectangle functions of USER. Coordinates are 32-bit and wrap as they
// did on Windows instead of overflowing.
#include <algorithm>
#include <cstdint>

#include "win/user.h"

namespace {

LONG add(LONG a, int64_t b) {
  return static_cast<LONG>(static_cast<uint32_t>(static_cast<int64_t>(a) + b));
}

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || empty(*r); }

BOOL EqualRect(const RECT* a, const RECT* b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* r, POINT pt) {
  if (!r) return FALSE;
  return pt.x >= r->left && pt.x < r->right && pt.y >= r->top && pt.y < r->bottom;
}

BOOL OffsetRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left = add(r->left, dx);
  r->right = add(r->right, dx);
  r->top = add(r->top, dy);
  r->bottom = add(r->bottom, dy);
  return TRUE;
}

BOOL InflateRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left = add(r->left, -static_cast<int64_t>(dx));
  r->right = add(r->right, dx);
  r->top = add(r->top, -static_cast<int64_t>(dy));
  r->bottom = add(r->bottom, dy);
  return TRUE;
}

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (empty(*a) || empty(*b) || empty(r)) {
    *dst = RECT{};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  const bool ea = empty(*a), eb = empty(*b);
  if (ea && eb) {
    *dst = RECT{};
    return FALSE;
  }
  if (ea) {
    *dst = *b;
  } else if (eb) {
    *dst = *a;
  } else {
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}

BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (empty(*a)) {
    *dst = RECT{};
    return FALSE;
  }
  RECT out = *a;
  RECT cut{};
  if (IntersectRect(&cut, a, b)) {
    if (EqualRect(&cut, a)) {
      *dst = RECT{};
      return FALSE;
    }
    // Only a cut through the whole height or width leaves a rectangle.
    if (cut.top == out.top && cut.bottom == out.bottom) {
      if (cut.left == out.left)
        out.left = cut.right;
      else if (cut.right == out.right)
        out.right = cut.left;
    } else if (cut.left == out.left && cut.right == out.right) {
      if (cut.top == out.top)
        out.top = cut.bottom;
      else if (cut.bottom == out.bottom)
        out.bottom = cut.top;
    }
  }
  *dst = out;
  return TRUE;
}
