// CPoint, CSize and CRect: POINT, SIZE and RECT with MFC's members. They are
// the Win32 structures (same layout), so a CRect passes wherever an LPRECT
// is asked for. Arithmetic is 32-bit and wraps as on Windows.
#pragma once

#include "win/types.h"
#include "win/user.h"

class CSize;
class CRect;

class CPoint : public POINT {
 public:
  constexpr CPoint() : POINT{0, 0} {}
  constexpr CPoint(int x0, int y0) : POINT{x0, y0} {}
  constexpr CPoint(POINT p) : POINT{p} {}  // NOLINT: converting, as MFC's
  constexpr CPoint(SIZE s) : POINT{s.cx, s.cy} {}
  // The low word is x, the high word y, both signed (as in an lParam).
  explicit CPoint(DWORD packed);

  void Offset(int dx, int dy);
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }

  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  bool operator==(const CPoint& p) const { return x == p.x && y == p.y; }
  bool operator!=(const CPoint& p) const { return !(*this == p); }
  void operator+=(SIZE s) { Offset(s); }
  void operator-=(SIZE s);
  void operator+=(POINT p) { Offset(p); }
  void operator-=(POINT p);

  CPoint operator+(SIZE s) const;
  CPoint operator-(SIZE s) const;
  CPoint operator+(POINT p) const;
  CSize operator-(POINT p) const;
  CPoint operator-() const;
  CRect operator+(const RECT* r) const;
  CRect operator-(const RECT* r) const;
};

class CSize : public SIZE {
 public:
  constexpr CSize() : SIZE{0, 0} {}
  constexpr CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
  constexpr CSize(SIZE s) : SIZE{s} {}  // NOLINT: converting, as MFC's
  constexpr CSize(POINT p) : SIZE{p.x, p.y} {}
  explicit CSize(DWORD packed);  // low word cx, high word cy, signed

  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  bool operator==(const CSize& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const CSize& s) const { return !(*this == s); }
  void operator+=(SIZE s);
  void operator-=(SIZE s);
  CSize operator+(SIZE s) const;
  CSize operator-(SIZE s) const;
  CSize operator-() const;
  CPoint operator+(POINT p) const;
  CPoint operator-(POINT p) const;
};

class CRect : public RECT {
 public:
  constexpr CRect() : RECT{0, 0, 0, 0} {}
  constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  constexpr CRect(const RECT& r) : RECT{r} {}  // NOLINT: converting, as MFC's
  CRect(const RECT* r);                         // NOLINT: null gives the empty rectangle
  CRect(POINT topLeft, SIZE size);
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const;   // right - left
  int Height() const;  // bottom - top
  CSize Size() const { return CSize(Width(), Height()); }
  // Copies of the corners; set them with SetRect or the fields.
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const;

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }

  void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(const RECT* src) { ::CopyRect(this, src); }
  BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }

  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
  void InflateRect(const RECT* r);  // each side moves out by r's field
  void InflateRect(int l, int t, int r, int b);
  void DeflateRect(int dx, int dy);
  void DeflateRect(SIZE s) { DeflateRect(s.cx, s.cy); }
  void DeflateRect(const RECT* r);
  void DeflateRect(int l, int t, int r, int b);
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void NormalizeRect();  // left <= right and top <= bottom

  BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }
  BOOL SubtractRect(const RECT* a, const RECT* b) { return ::SubtractRect(this, a, b); }

  void operator=(const RECT& r) { ::CopyRect(this, &r); }
  bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  void operator+=(POINT p) { OffsetRect(p); }
  void operator+=(SIZE s) { OffsetRect(s); }
  void operator+=(const RECT* r) { InflateRect(r); }
  void operator-=(POINT p);
  void operator-=(SIZE s);
  void operator-=(const RECT* r) { DeflateRect(r); }
  void operator&=(const RECT& r) { ::IntersectRect(this, this, &r); }
  void operator|=(const RECT& r) { ::UnionRect(this, this, &r); }

  CRect operator+(POINT p) const;
  CRect operator-(POINT p) const;
  CRect operator+(SIZE s) const;
  CRect operator-(SIZE s) const;
  CRect operator+(const RECT* r) const;
  CRect operator-(const RECT* r) const;
  CRect operator&(const RECT& r) const;
  CRect operator|(const RECT& r) const;
};
