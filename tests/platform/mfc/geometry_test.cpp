#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "mfc/geometry.h"

// Readable failures.
static std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

TEST(CRectTest, CombinationsOfTwoRectangles) {
  enum Op { Intersect, Union, Subtract };
  struct Case {
    const char* what;
    Op op;
    CRect a, b;
    BOOL ok;
    CRect expected;
  };
  const Case cases[] = {
      {"overlap", Intersect, {0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}},
      {"touching edges share nothing", Intersect, {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}},
      {"empty operand", Intersect, {0, 0, 0, 10}, {0, 0, 5, 5}, FALSE, {}},
      {"union", Union, {0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {0, 0, 15, 15}},
      {"union with empty", Union, {3, 3, 3, 9}, {1, 2, 4, 5}, TRUE, {1, 2, 4, 5}},
      {"union of empties", Union, {0, 0, 0, 0}, {5, 5, 5, 6}, FALSE, {}},
      {"cut the left part", Subtract, {0, 0, 10, 10}, {-5, -5, 4, 20}, TRUE, {4, 0, 10, 10}},
      {"cut the bottom part", Subtract, {0, 0, 10, 10}, {-1, 6, 11, 11}, TRUE, {0, 0, 10, 6}},
      {"a hole leaves it whole", Subtract, {0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {0, 0, 10, 10}},
      {"covered completely", Subtract, {0, 0, 10, 10}, {-1, -1, 11, 11}, FALSE, {}},
      {"apart", Subtract, {0, 0, 10, 10}, {20, 20, 30, 30}, TRUE, {0, 0, 10, 10}},
  };
  for (const Case& c : cases) {
    CRect r(99, 99, 99, 99);
    BOOL ok = FALSE;
    switch (c.op) {
      case Intersect: ok = r.IntersectRect(c.a, c.b); break;
      case Union: ok = r.UnionRect(c.a, c.b); break;
      case Subtract: ok = r.SubtractRect(c.a, c.b); break;
    }
    EXPECT_EQ(ok, c.ok) << c.what;
    EXPECT_EQ(r, c.expected) << c.what << " " << static_cast<const RECT&>(r);
  }
  // The operator forms agree with the functions.
  CRect a(0, 0, 10, 10);
  EXPECT_EQ(a & CRect(5, 5, 15, 15), CRect(5, 5, 10, 10));
  EXPECT_EQ(a | CRect(5, 5, 15, 15), CRect(0, 0, 15, 15));
  a &= CRect(20, 20, 30, 30);
  EXPECT_TRUE(a.IsRectNull());
}

TEST(CRectTest, MembersAndOperators) {
  CRect r(10, 20, 50, 80);
  EXPECT_EQ(r.Width(), 40);
  EXPECT_EQ(r.Height(), 60);
  EXPECT_EQ(r.Size(), CSize(40, 60));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(50, 80));
  EXPECT_EQ(r.CenterPoint(), CPoint(30, 50));
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(50, 79)));  // right and bottom are outside
  EXPECT_FALSE(r.IsRectEmpty());

  struct Case {
    const char* what;
    CRect got;
    CRect expected;
  };
  CRect inflated = r;
  inflated.InflateRect(2, 3);
  CRect deflated = r;
  deflated.DeflateRect(CRect(1, 2, 3, 4));
  CRect offset = r;
  offset.OffsetRect(CPoint(-10, 5));
  CRect plus = r;
  plus += CSize(1, 1);
  CRect minus = r;
  minus -= CPoint(10, 20);
  CRect normal(5, 8, 1, 2);
  normal.NormalizeRect();
  CRect inflatedByRect = r;
  inflatedByRect += CRect(1, 1, 1, 1);
  const Case cases[] = {
      {"InflateRect", inflated, {8, 17, 52, 83}},
      {"DeflateRect(RECT)", deflated, {11, 22, 47, 76}},
      {"OffsetRect", offset, {0, 25, 40, 85}},
      {"+= SIZE", plus, {11, 21, 51, 81}},
      {"-= POINT", minus, {0, 0, 40, 60}},
      {"+ POINT", r + CPoint(1, 2), {11, 22, 51, 82}},
      {"- SIZE", r - CSize(10, 10), {0, 10, 40, 70}},
      {"+= RECT", inflatedByRect, {9, 19, 51, 81}},
      {"NormalizeRect", normal, {1, 2, 5, 8}},
      {"from point and size", CRect(CPoint(1, 2), CSize(3, 4)), {1, 2, 4, 6}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;

  RECT raw{};
  ::CopyRect(&raw, r);  // CRect passes as LPCRECT
  EXPECT_TRUE(r.EqualRect(&raw));
  EXPECT_TRUE(r == raw);
  r.SetRectEmpty();
  EXPECT_TRUE(r.IsRectEmpty() && r.IsRectNull());
  EXPECT_NE(r, CRect(0, 0, 1, 1));
}

TEST(CRectTest, ExtremeCoordinatesWrapInsteadOfOverflowing) {
  CRect r(INT_MIN, 0, INT_MAX, 10);
  EXPECT_EQ(r.Width(), -1);  // 32-bit wrap, as on Windows
  r.InflateRect(1, 0);
  EXPECT_EQ(r.left, INT_MAX);
  EXPECT_EQ(r.right, INT_MIN);
  EXPECT_EQ(CPoint(INT_MAX, 0) + CSize(1, 0), CPoint(INT_MIN, 0));
}

TEST(CPointTest, PointsAndSizes) {
  CPoint p(3, 4);
  p += CSize(1, 1);
  EXPECT_EQ(p, CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 1), CSize(3, 4));
  EXPECT_EQ(-p, CPoint(-4, -5));
  EXPECT_EQ(CPoint(static_cast<DWORD>(MAKELONG(-2, 7))), CPoint(-2, 7));
  EXPECT_EQ(CSize(2, 3) + CSize(1, 1), CSize(3, 4));
  EXPECT_EQ(CPoint(1, 1) + CRect(0, 0, 2, 2), CRect(1, 1, 3, 3));
}

}  // namespace
