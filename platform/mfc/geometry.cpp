#include "mfc/geometry.h"

#include <cstdint>
#include <utility>

namespace {

// 32-bit wrapping arithmetic, as the original's coordinates behaved.
LONG add(LONG a, int64_t b) {
  return static_cast<LONG>(static_cast<uint32_t>(static_cast<int64_t>(a) + b));
}
LONG sub(LONG a, int64_t b) { return add(a, -b); }

}  // namespace

CPoint::CPoint(DWORD packed)
    : POINT{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))} {}

void CPoint::Offset(int dx, int dy) {
  x = add(x, dx);
  y = add(y, dy);
}
void CPoint::operator-=(SIZE s) {
  x = sub(x, s.cx);
  y = sub(y, s.cy);
}
void CPoint::operator-=(POINT p) {
  x = sub(x, p.x);
  y = sub(y, p.y);
}
CPoint CPoint::operator+(SIZE s) const { return CPoint(add(x, s.cx), add(y, s.cy)); }
CPoint CPoint::operator-(SIZE s) const { return CPoint(sub(x, s.cx), sub(y, s.cy)); }
CPoint CPoint::operator+(POINT p) const { return CPoint(add(x, p.x), add(y, p.y)); }
CSize CPoint::operator-(POINT p) const { return CSize(sub(x, p.x), sub(y, p.y)); }
CPoint CPoint::operator-() const { return CPoint(sub(0, x), sub(0, y)); }
CRect CPoint::operator+(const RECT* r) const {
  CRect out(r);
  out.OffsetRect(x, y);
  return out;
}
CRect CPoint::operator-(const RECT* r) const {
  CRect out(r);
  out.OffsetRect(sub(0, x), sub(0, y));
  return out;
}

CSize::CSize(DWORD packed)
    : SIZE{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))} {}
void CSize::operator+=(SIZE s) {
  cx = add(cx, s.cx);
  cy = add(cy, s.cy);
}
void CSize::operator-=(SIZE s) {
  cx = sub(cx, s.cx);
  cy = sub(cy, s.cy);
}
CSize CSize::operator+(SIZE s) const { return CSize(add(cx, s.cx), add(cy, s.cy)); }
CSize CSize::operator-(SIZE s) const { return CSize(sub(cx, s.cx), sub(cy, s.cy)); }
CSize CSize::operator-() const { return CSize(sub(0, cx), sub(0, cy)); }
CPoint CSize::operator+(POINT p) const { return CPoint(add(cx, p.x), add(cy, p.y)); }
CPoint CSize::operator-(POINT p) const { return CPoint(sub(cx, p.x), sub(cy, p.y)); }

CRect::CRect(const RECT* r) : RECT{} {
  if (r) *static_cast<RECT*>(this) = *r;
}
CRect::CRect(POINT topLeft, SIZE size)
    : RECT{topLeft.x, topLeft.y, add(topLeft.x, size.cx), add(topLeft.y, size.cy)} {}

int CRect::Width() const { return sub(right, left); }
int CRect::Height() const { return sub(bottom, top); }

CPoint CRect::CenterPoint() const {
  return CPoint(static_cast<LONG>((static_cast<int64_t>(left) + right) / 2),
                static_cast<LONG>((static_cast<int64_t>(top) + bottom) / 2));
}

void CRect::InflateRect(const RECT* r) {
  if (r) InflateRect(r->left, r->top, r->right, r->bottom);
}
void CRect::InflateRect(int l, int t, int r, int b) {
  left = sub(left, l);
  top = sub(top, t);
  right = add(right, r);
  bottom = add(bottom, b);
}
void CRect::DeflateRect(int dx, int dy) { DeflateRect(dx, dy, dx, dy); }
void CRect::DeflateRect(const RECT* r) {
  if (r) DeflateRect(r->left, r->top, r->right, r->bottom);
}
void CRect::DeflateRect(int l, int t, int r, int b) {
  left = add(left, l);
  top = add(top, t);
  right = sub(right, r);
  bottom = sub(bottom, b);
}

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

void CRect::operator-=(POINT p) { OffsetRect(sub(0, p.x), sub(0, p.y)); }
void CRect::operator-=(SIZE s) { OffsetRect(sub(0, s.cx), sub(0, s.cy)); }

CRect CRect::operator+(POINT p) const {
  CRect r(*this);
  r += p;
  return r;
}
CRect CRect::operator-(POINT p) const {
  CRect r(*this);
  r -= p;
  return r;
}
CRect CRect::operator+(SIZE s) const {
  CRect r(*this);
  r += s;
  return r;
}
CRect CRect::operator-(SIZE s) const {
  CRect r(*this);
  r -= s;
  return r;
}
CRect CRect::operator+(const RECT* other) const {
  CRect r(*this);
  r.InflateRect(other);
  return r;
}
CRect CRect::operator-(const RECT* other) const {
  CRect r(*this);
  r.DeflateRect(other);
  return r;
}
CRect CRect::operator&(const RECT& other) const {
  CRect r;
  ::IntersectRect(&r, this, &other);
  return r;
}
CRect CRect::operator|(const RECT& other) const {
  CRect r;
  ::UnionRect(&r, this, &other);
  return r;
}
