// Lines, shapes and rectangle painting, at the surface edges and under
// clip regions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;

namespace {

constexpr COLORREF W = RGB(255, 255, 255);
constexpr COLORREF K = RGB(0, 0, 0);
constexpr COLORREF R = RGB(255, 0, 0);

class GdiDraw : public gdi_test::GdiTest {};

// Lines leave out their end point; horizontal and vertical ones are exact.
TEST_F(GdiDraw, StraightLinesExcludeEndPoint) {
  struct Case {
    POINT a, b;
  } cases[] = {
      {{2, 3}, {9, 3}}, {{9, 5}, {2, 5}}, {{4, 1}, {4, 8}}, {{6, 8}, {6, 1}}, {{0, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    Canvas cv(12, 10);
    HPEN pen = CreatePen(PS_SOLID, 1, R);
    HGDIOBJ old = SelectObject(cv.dc(), pen);
    MoveToEx(cv.dc(), c.a.x, c.a.y, nullptr);
    LineTo(cv.dc(), c.b.x, c.b.y);
    SelectObject(cv.dc(), old);
    DeleteObject(pen);
    POINT pos;
    GetCurrentPositionEx(cv.dc(), &pos);
    EXPECT_EQ(pos.x, c.b.x);
    ExpectPicture(cv.surface(), [&](int x, int y) {
      bool on;
      if (c.a.y == c.b.y && c.a.x != c.b.x) {
        on = y == c.a.y && (c.a.x < c.b.x ? x >= c.a.x && x < c.b.x : x <= c.a.x && x > c.b.x);
      } else if (c.a.x == c.b.x && c.a.y != c.b.y) {
        on = x == c.a.x && (c.a.y < c.b.y ? y >= c.a.y && y < c.b.y : y <= c.a.y && y > c.b.y);
      } else {
        on = false;
      }
      return on ? R : W;
    }, "line");
  }
}

// A slanted line lights one pixel per step of its longer axis, stays within
// half a pixel of the ideal line, and its reverse lights the same pixels
// (ends apart).
TEST_F(GdiDraw, SlantedLinesFollowIdealLine) {
  const POINT ends[][2] = {{{1, 1}, {14, 6}}, {{14, 2}, {3, 13}}, {{2, 12}, {9, 0}},
                           {{0, 0}, {15, 15}}, {{5, 1}, {7, 14}}};
  for (const auto& e : ends) {
    std::set<std::pair<int, int>> fwd, rev;
    for (int dir = 0; dir < 2; ++dir) {
      Canvas cv(16, 16);
      POINT a = dir ? e[1] : e[0], b = dir ? e[0] : e[1];
      SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
      MoveToEx(cv.dc(), a.x, a.y, nullptr);
      LineTo(cv.dc(), b.x, b.y);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          if (cv.At(x, y) == K) (dir ? rev : fwd).insert({x, y});
    }
    int steps = std::max(std::abs(e[1].x - e[0].x), std::abs(e[1].y - e[0].y));
    EXPECT_EQ(int(fwd.size()), steps);
    EXPECT_TRUE(fwd.count({int(e[0].x), int(e[0].y)}));
    EXPECT_FALSE(fwd.count({int(e[1].x), int(e[1].y)}));
    for (auto [x, y] : fwd) {
      // Distance along the minor axis from the ideal line at most 1/2.
      double dx = e[1].x - e[0].x, dy = e[1].y - e[0].y;
      double off = std::abs(dx) >= std::abs(dy) ? std::abs(e[0].y + (x - e[0].x) * dy / dx - y)
                                                 : std::abs(e[0].x + (y - e[0].y) * dx / dy - x);
      EXPECT_LE(off, 0.5) << x << "," << y;
    }
    fwd.erase({int(e[0].x), int(e[0].y)});
    rev.erase({int(e[1].x), int(e[1].y)});
    EXPECT_EQ(fwd, rev);
  }
}

TEST_F(GdiDraw, LinesClipAtSurfaceAndRegion) {
  Canvas cv(10, 10);
  HRGN clip = CreateRectRgn(0, 0, 5, 10);
  SelectClipRgn(cv.dc(), clip);
  DeleteObject(clip);
  SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
  MoveToEx(cv.dc(), -100, 4, nullptr);
  LineTo(cv.dc(), 100000, 4);  // far outside on both sides
  MoveToEx(cv.dc(), 7, -3, nullptr);
  LineTo(cv.dc(), 7, 50);  // outside the clip region
  ExpectPicture(cv.surface(), [](int x, int y) { return y == 4 && x < 5 ? K : W; }, "clipped");
}

TEST_F(GdiDraw, RectangleWithPenBrushAndNullPen) {
  Canvas cv(12, 12);
  HBRUSH red = CreateSolidBrush(R);
  SelectObject(cv.dc(), red);
  SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
  Rectangle(cv.dc(), 1, 1, 6, 5);
  SelectObject(cv.dc(), GetStockObject(NULL_PEN));
  Rectangle(cv.dc(), 7, 7, 11, 11);  // one pixel smaller without a pen
  SelectObject(cv.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  ExpectPicture(cv.surface(), [](int x, int y) {
    if (x >= 1 && x < 6 && y >= 1 && y < 5) {
      bool edge = x == 1 || x == 5 || y == 1 || y == 4;
      return edge ? K : R;
    }
    if (x >= 7 && x < 10 && y >= 7 && y < 10) return R;
    return W;
  }, "rectangles");
}

TEST_F(GdiDraw, EllipseStaysInItsBoxAndIsSymmetric) {
  for (auto [w, h] : {std::pair{9, 9}, std::pair{10, 6}, std::pair{17, 11}, std::pair{2, 2}}) {
    Canvas cv(24, 16);
    HBRUSH red = CreateSolidBrush(R);
    SelectObject(cv.dc(), red);
    Ellipse(cv.dc(), 3, 2, 3 + w, 2 + h);
    SelectObject(cv.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    bool touchesL = false, touchesR = false, touchesT = false, touchesB = false;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 24; ++x) {
        COLORREF c = cv.At(x, y);
        bool inBox = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
        if (!inBox) {
          ASSERT_EQ(c, W) << w << "x" << h << " outside at " << x << "," << y;
          continue;
        }
        // Mirror images across both axes of the box.
        int mx = 3 + w - 1 - (x - 3), my = 2 + h - 1 - (y - 2);
        EXPECT_EQ(c, cv.At(mx, y));
        EXPECT_EQ(c, cv.At(x, my));
        if (c != W) {
          touchesL |= x == 3;
          touchesR |= x == 2 + w;
          touchesT |= y == 2;
          touchesB |= y == 1 + h;
        }
        // The outline is black, the inside red.
        if (c == K) {
          bool nearOutside = false;
          for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            nearOutside |= cv.At(x + dx, y + dy) == W;
          }
          EXPECT_TRUE(nearOutside) << "outline pixel inside at " << x << "," << y;
        }
      }
    }
    EXPECT_TRUE(touchesL && touchesR && touchesT && touchesB) << w << "x" << h;
  }
}

// Shapes far larger than the surface cost only the rows that can be seen.
TEST_F(GdiDraw, HugeShapesAreCutToTheClip) {
  Canvas cv(16, 16);
  SelectObject(cv.dc(), GetStockObject(BLACK_BRUSH));
  SelectObject(cv.dc(), GetStockObject(NULL_PEN));
  Ellipse(cv.dc(), -100000000, -100000000, 100000000, 100000000);
  ExpectPicture(cv.surface(), [](int, int) { return K; }, "ellipse");
  PatBlt(cv.dc(), 0, 0, 16, 16, WHITENESS);
  const POINT tri[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {8, 2000000000}};
  Polygon(cv.dc(), tri, 3);
  EXPECT_EQ(cv.At(8, 8), K);
  HPEN wide = CreatePen(PS_SOLID, 3, R);
  SelectObject(cv.dc(), wide);
  MoveToEx(cv.dc(), -2000000000, 8, nullptr);
  LineTo(cv.dc(), 2000000000, 8);
  EXPECT_EQ(cv.At(0, 8), R);
  EXPECT_EQ(cv.At(15, 9), R);
  SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(wide);
}

// A five-pointed star: ALTERNATE leaves the middle empty, WINDING fills it.
TEST_F(GdiDraw, PolygonFillModes) {
  const POINT star[] = {{20, 1}, {32, 38}, {1, 14}, {39, 14}, {8, 38}};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas cv(40, 40);
    SelectObject(cv.dc(), GetStockObject(NULL_PEN));
    SelectObject(cv.dc(), GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(cv.dc(), mode);
    Polygon(cv.dc(), star, 5);
    EXPECT_EQ(cv.At(20, 22), mode == WINDING ? K : W);
    EXPECT_EQ(cv.At(20, 5), K);   // a point
    EXPECT_EQ(cv.At(2, 30), W);   // outside
  }
  // A rectangle polygon fills its corners' left and top, not right and bottom.
  Canvas cv(10, 10);
  SelectObject(cv.dc(), GetStockObject(NULL_PEN));
  SelectObject(cv.dc(), GetStockObject(BLACK_BRUSH));
  const POINT box[] = {{2, 2}, {7, 2}, {7, 6}, {2, 6}};
  Polygon(cv.dc(), box, 4);
  ExpectPicture(cv.surface(), [](int x, int y) { return x >= 2 && x < 7 && y >= 2 && y < 6 ? K : W; },
                "polygon");
}

TEST_F(GdiDraw, FillFrameInvertAndPatBltUnderComplexClip) {
  Canvas cv(20, 20);
  // A clip region of two pieces with a hole.
  HRGN a = CreateRectRgn(0, 0, 12, 12);
  HRGN b = CreateRectRgn(8, 8, 20, 20);
  HRGN hole = CreateRectRgn(3, 3, 6, 6);
  CombineRgn(a, a, b, RGN_OR);
  CombineRgn(a, a, hole, RGN_DIFF);
  SelectClipRgn(cv.dc(), a);
  RECT all{-5, -5, 30, 30};
  HBRUSH red = CreateSolidBrush(R);
  FillRect(cv.dc(), &all, red);
  auto inClip = [](int x, int y) {
    bool in = (x < 12 && y < 12) || (x >= 8 && y >= 8);
    return in && !(x >= 3 && x < 6 && y >= 3 && y < 6);
  };
  ExpectPicture(cv.surface(), [&](int x, int y) { return inClip(x, y) ? R : W; }, "fill");
  RECT inv{0, 0, 20, 10};
  InvertRect(cv.dc(), &inv);
  ExpectPicture(cv.surface(), [&](int x, int y) {
    COLORREF c = inClip(x, y) ? R : W;
    if (inClip(x, y) && y < 10) c = RGB(0, 255, 255);
    return c;
  }, "invert");
  SelectClipRgn(cv.dc(), nullptr);
  PatBlt(cv.dc(), 0, 0, 20, 20, WHITENESS);
  RECT fr{2, 2, 8, 6};
  FrameRect(cv.dc(), &fr, red);
  ExpectPicture(cv.surface(), [](int x, int y) {
    bool in = x >= 2 && x < 8 && y >= 2 && y < 6;
    bool edge = in && (x == 2 || x == 7 || y == 2 || y == 5);
    return edge ? R : W;
  }, "frame");
  EXPECT_FALSE(PatBlt(cv.dc(), 0, 0, 5, 5, SRCCOPY));  // needs a source
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(hole);
  SelectObject(cv.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST_F(GdiDraw, PixelsAndFocusRectangle) {
  Canvas cv(8, 8);
  EXPECT_EQ(SetPixel(cv.dc(), 3, 3, R), R);
  EXPECT_EQ(GetPixel(cv.dc(), 3, 3), R);
  EXPECT_EQ(SetPixel(cv.dc(), 8, 3, R), CLR_INVALID);
  EXPECT_EQ(GetPixel(cv.dc(), -1, 0), CLR_INVALID);
  IntersectClipRect(cv.dc(), 0, 0, 2, 2);
  EXPECT_EQ(GetPixel(cv.dc(), 3, 3), CLR_INVALID);  // outside the clip
  SelectClipRgn(cv.dc(), nullptr);
  RECT r{1, 1, 7, 6};
  DrawFocusRect(cv.dc(), &r);
  int changed = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) changed += (x != 3 || y != 3) && cv.At(x, y) != W;
  EXPECT_GT(changed, 5);
  EXPECT_LT(changed, 18);  // dotted: about half of the 18 frame pixels
  DrawFocusRect(cv.dc(), &r);
  ExpectPicture(cv.surface(), [](int x, int y) { return x == 3 && y == 3 ? R : W; }, "focus-twice");
}

TEST_F(GdiDraw, WidePensAndHatchedBrushes) {
  Canvas cv(30, 30);
  HPEN wide = CreatePen(PS_SOLID, 5, K);
  SelectObject(cv.dc(), wide);
  MoveToEx(cv.dc(), 5, 10, nullptr);
  LineTo(cv.dc(), 25, 10);
  // Five rows centred on the line, round ends beyond both end points.
  for (int y = 8; y <= 12; ++y) EXPECT_EQ(cv.At(15, y), K) << y;
  EXPECT_EQ(cv.At(15, 7), W);
  EXPECT_EQ(cv.At(15, 13), W);
  EXPECT_EQ(cv.At(3, 10), K);
  EXPECT_EQ(cv.At(27, 10), K);
  SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(wide);
  // A flat-capped geometric pen stops at the ends.
  LOGBRUSH lb{BS_SOLID, K, 0};
  HPEN flat = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_SOLID, 4, &lb, 0, nullptr);
  ASSERT_TRUE(flat);
  SelectObject(cv.dc(), flat);
  MoveToEx(cv.dc(), 5, 20, nullptr);
  LineTo(cv.dc(), 25, 20);
  EXPECT_EQ(cv.At(4, 20), W);
  EXPECT_EQ(cv.At(6, 20), K);
  SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(flat);
  // Hatched brush: lines in the brush colour, background per mode.
  Canvas h(16, 16, R);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, K);
  RECT all{0, 0, 16, 16};
  SetBkMode(h.dc(), TRANSPARENT);
  FillRect(h.dc(), &all, hatch);
  int black = 0, red = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) (h.At(x, y) == K ? black : red) += 1;
  EXPECT_EQ(black, 2 * (16 + 16) - 4 * 1);  // two rows and two columns of 16, crossings once
  EXPECT_EQ(red, 256 - black);
  SetBkMode(h.dc(), OPAQUE);
  SetBkColor(h.dc(), W);
  FillRect(h.dc(), &all, hatch);
  EXPECT_EQ(h.At(0, 0) == W || h.At(0, 0) == K, true);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_NE(h.At(x, y), R);
  DeleteObject(hatch);
}

TEST_F(GdiDraw, RegionPaintingAndEdges) {
  Canvas cv(16, 12);
  HRGN a = CreateRectRgn(1, 1, 7, 6);
  HRGN b = CreateRectRgn(5, 4, 12, 10);
  CombineRgn(a, a, b, RGN_OR);
  HBRUSH red = CreateSolidBrush(R);
  EXPECT_TRUE(FillRgn(cv.dc(), a, red));
  auto in = [](int x, int y) { return (x >= 1 && x < 7 && y >= 1 && y < 6) || (x >= 5 && x < 12 && y >= 4 && y < 10); };
  ExpectPicture(cv.surface(), [&](int x, int y) { return in(x, y) ? R : W; }, "fillrgn");
  // A frame one pixel wide: the region's pixels with a neighbour outside it.
  PatBlt(cv.dc(), 0, 0, 16, 12, WHITENESS);
  EXPECT_TRUE(FrameRgn(cv.dc(), a, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1));
  ExpectPicture(cv.surface(), [&](int x, int y) {
    bool edge = in(x, y) && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
    return edge ? K : W;
  }, "framergn");
  // PaintRgn uses the selected brush and the ROP2; with a window origin the
  // region is in logical coordinates.
  PatBlt(cv.dc(), 0, 0, 16, 12, WHITENESS);
  SelectObject(cv.dc(), red);
  SetWindowOrgEx(cv.dc(), 1, 1, nullptr);
  SetROP2(cv.dc(), R2_NOT);
  EXPECT_TRUE(PaintRgn(cv.dc(), a));
  SetROP2(cv.dc(), R2_COPYPEN);
  SetWindowOrgEx(cv.dc(), 0, 0, nullptr);
  ExpectPicture(cv.surface(), [&](int x, int y) { return in(x + 1, y + 1) ? K : W; }, "paintrgn");
  SelectObject(cv.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(a);
  DeleteObject(b);
  // A raised edge: light top-left, dark bottom-right, then the inner ring.
  Canvas e(6, 5);
  RECT r{0, 0, 6, 5};
  EXPECT_TRUE(DrawEdge(e.dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 3);
  EXPECT_EQ(e.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(e.At(5, 4), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(e.At(1, 1), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(e.At(4, 3), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(e.At(2, 2), GetSysColor(COLOR_3DFACE));
  // A rounded rectangle keeps its corners empty and its sides straight.
  Canvas rr(12, 10);
  SelectObject(rr.dc(), GetStockObject(BLACK_BRUSH));
  RoundRect(rr.dc(), 0, 0, 12, 10, 6, 6);
  EXPECT_EQ(rr.At(0, 0), W);
  EXPECT_EQ(rr.At(11, 9), W);
  EXPECT_EQ(rr.At(0, 5), K);
  EXPECT_EQ(rr.At(6, 0), K);
  EXPECT_EQ(rr.At(6, 9), K);
}

TEST_F(GdiDraw, Rop2Modes) {
  // Each binary operation against its truth table, on black and white.
  for (int rop2 = R2_BLACK; rop2 <= R2_WHITE; ++rop2) {
    Canvas cv(4, 1, K);
    SetPixel(cv.dc(), 2, 0, W);
    SetPixel(cv.dc(), 3, 0, W);
    SetROP2(cv.dc(), rop2);
    // Pen black over pixels 0 and 2, pen white over 1 and 3.
    HPEN black = CreatePen(PS_SOLID, 1, K), white = CreatePen(PS_SOLID, 1, W);
    SelectObject(cv.dc(), black);
    MoveToEx(cv.dc(), 0, 0, nullptr);
    LineTo(cv.dc(), 1, 0);
    MoveToEx(cv.dc(), 2, 0, nullptr);
    LineTo(cv.dc(), 3, 0);
    SelectObject(cv.dc(), white);
    MoveToEx(cv.dc(), 1, 0, nullptr);
    LineTo(cv.dc(), 2, 0);
    MoveToEx(cv.dc(), 3, 0, nullptr);
    LineTo(cv.dc(), 4, 0);
    SelectObject(cv.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(black);
    DeleteObject(white);
    unsigned table = unsigned(rop2 - 1);
    const int pen[4] = {0, 1, 0, 1}, dst[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
      bool bit = (table >> (pen[i] * 2 + dst[i])) & 1;
      EXPECT_EQ(cv.At(i, 0), bit ? W : K) << "R2 " << rop2 << " pixel " << i;
    }
  }
}

}  // namespace
