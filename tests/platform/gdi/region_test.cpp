// Region algebra against a per-pixel model on random rectangles.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "gdi/region.h"
#include "win/gdi.h"

using win::gdi::Region;

namespace {

constexpr int kSide = 40;
using Grid = std::array<std::array<bool, kSide>, kSide>;

Grid GridOf(const Region& r) {
  Grid g{};
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) g[y][x] = r.Contains(x - 5, y - 5);
  return g;
}

Region RandomRegion(std::mt19937& rng, std::vector<RECT>& rects) {
  std::uniform_int_distribution<int> coord(-5, 34), count(0, 6);
  rects.clear();
  int n = count(rng);
  for (int i = 0; i < n; ++i) {
    int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
    rects.push_back(RECT{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)});
  }
  return Region::FromRects(rects);
}

bool InRects(const std::vector<RECT>& rects, int x, int y) {
  for (const RECT& r : rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

// The banded form: sorted, bands share top and bottom, no touching pieces,
// no two equal adjacent bands.
void ExpectCanonical(const Region& r) {
  const auto& v = r.Rects();
  for (std::size_t i = 0; i < v.size(); ++i) {
    ASSERT_LT(v[i].left, v[i].right);
    ASSERT_LT(v[i].top, v[i].bottom);
    if (i == 0) continue;
    const RECT& p = v[i - 1];
    if (p.top == v[i].top) {
      ASSERT_EQ(p.bottom, v[i].bottom);
      ASSERT_LT(p.right, v[i].left) << "pieces of a band touch";
    } else {
      ASSERT_GE(v[i].top, p.bottom);
    }
  }
}

TEST(GdiRegion, CombineMatchesPixelModel) {
  std::mt19937 rng(1234);
  std::vector<RECT> ra, rb;
  for (int round = 0; round < 300; ++round) {
    Region a = RandomRegion(rng, ra), b = RandomRegion(rng, rb);
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
      Region c = Region::Combine(a, b, mode);
      ExpectCanonical(c);
      Grid g = GridOf(c);
      for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
          bool ia = InRects(ra, x - 5, y - 5), ib = InRects(rb, x - 5, y - 5);
          bool want = mode == RGN_AND ? ia && ib : mode == RGN_OR ? ia || ib
                    : mode == RGN_XOR ? ia != ib : mode == RGN_DIFF ? ia && !ib : ia;
          ASSERT_EQ(g[y][x], want) << "round " << round << " mode " << mode << " at " << x - 5
                                   << "," << y - 5;
        }
      }
      // Equal pixel sets have equal rectangle lists.
      EXPECT_EQ(c, Region::FromRects(c.Rects()));
    }
  }
}

TEST(GdiRegion, QueriesMatchPixelModel) {
  std::mt19937 rng(99);
  std::vector<RECT> ra, rb;
  for (int round = 0; round < 200; ++round) {
    Region a = RandomRegion(rng, ra);
    RandomRegion(rng, rb);
    for (const RECT& q : rb) {
      bool any = false, all = q.left < q.right && q.top < q.bottom;
      for (int y = q.top; y < q.bottom; ++y)
        for (int x = q.left; x < q.right; ++x) {
          bool in = InRects(ra, x, y);
          any = any || in;
          all = all && in;
        }
      EXPECT_EQ(a.Intersects(q), any);
      EXPECT_EQ(a.ContainsRect(q), all);
    }
    // Row spans cut to a window agree with the pixels.
    for (int y = -5; y < 35; y += 3) {
      std::vector<bool> row(40, false);
      a.ForEachSpan(y, 2, 30, [&](int x0, int x1) {
        ASSERT_LT(x0, x1);
        for (int x = x0; x < x1; ++x) row[std::size_t(x + 5)] = true;
      });
      for (int x = -5; x < 35; ++x) {
        EXPECT_EQ(row[std::size_t(x + 5)], x >= 2 && x < 30 && InRects(ra, x, y)) << x << "," << y;
      }
    }
    RECT b = a.Bounds();
    if (!a.IsEmpty()) {
      EXPECT_TRUE(a.ContainsRect(b) == (a.Type() == SIMPLEREGION));
    }
  }
}

// Rows handed over one at a time (empty and touching pairs, an odd last
// value, empty rows and runs of equal rows) give the canonical region of
// their pixels.
TEST(GdiRegion, RowSpansMatchPixelModel) {
  std::mt19937 rng(4321);
  std::uniform_int_distribution<int> coord(-5, 34), pairs(0, 3), repeat(0, 3);
  for (int round = 0; round < 300; ++round) {
    const int top = coord(rng);
    win::gdi::RowSpanBuilder builder(top);
    std::vector<RECT> pixels;
    std::vector<std::int32_t> row;
    int y = top;
    while (y < top + 12) {
      row.clear();
      const int n = pairs(rng);
      std::int32_t x = coord(rng) - 10;
      for (int i = 0; i < 2 * n; ++i) {
        x += std::uniform_int_distribution<int>(0, 6)(rng);  // pairs may touch or be empty
        row.push_back(x);
      }
      if (n && repeat(rng) == 0) row.push_back(x + 3);  // an odd last value is not a span
      for (int k = repeat(rng); k >= 0; --k, ++y) {
        if (row.empty() && k % 2) {
          builder.AddEmptyRow();
          continue;
        }
        builder.AddRow(row.data(), row.size());
        for (std::size_t i = 0; i + 1 < row.size(); i += 2)
          if (row[i] < row[i + 1]) pixels.push_back(RECT{row[i], y, row[i + 1], y + 1});
      }
    }
    const Region built = builder.Finish();
    ExpectCanonical(built);
    EXPECT_EQ(built, Region::FromRects(pixels)) << "round " << round;
  }
}

TEST(GdiRegion, HandlesAndTypes) {
  win::ResetGdiState();
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(d, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  // The destination may be one of the sources.
  EXPECT_EQ(CombineRgn(a, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(a, 7, 7));
  EXPECT_TRUE(PtInRegion(a, 2, 2));
  EXPECT_EQ(OffsetRgn(b, -5, -5), SIMPLEREGION);
  HRGN c = CreateRectRgn(10, 10, 0, 0);  // corners given the other way round
  EXPECT_TRUE(EqualRgn(b, c));
  RECT probe{9, 9, 20, 20};
  EXPECT_TRUE(RectInRegion(c, &probe));
  // Bad handles fail without harm.
  EXPECT_EQ(CombineRgn(d, reinterpret_cast<HRGN>(0x1234567), b, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
  EXPECT_EQ(GetRgnBox(reinterpret_cast<HRGN>(CreateSolidBrush(0)), &box), ERROR);
  for (HRGN r : {a, b, c, d}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);  // deleted
}

TEST(GdiRegion, OffsetKeepsCoordinatesInRange) {
  Region r = Region::FromRect(0, 0, 10, 10);
  r.Offset(2000000000, 2000000000);
  RECT b = r.Bounds();
  EXPECT_EQ(b.right - b.left, 10);
  EXPECT_LE(b.right, 1 << 27);
}

}  // namespace
