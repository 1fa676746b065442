// Areas: the grid of tiles, tiles by halving, strips off the top and the
// bottom, and the dump.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "mfc/dump_context.h"
#include "pages/area/area.h"

namespace {

std::vector<RECT> Grid(Area& a, int n) {
  std::vector<RECT> out(static_cast<std::size_t>(n));
  out.resize(static_cast<std::size_t>(a.TileByColumns(n, out.data())));
  return out;
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(AreaTest, GridTilesFillRowsAndRaiseTheColumns) {
  struct Case {
    RECT rect;
    int columns, maxcolumns, spacex, spacey, n;
    int placed;
    int columnsAfter;
    RECT first;
    RECT last;
  };
  const Case cases[] = {
      // Four tiles of 100 high in one column.
      {{0, 0, 200, 400}, 1, 5, 2, 0, 4, 4, 1, {0, 0, 198, 100}, {0, 300, 198, 400}},
      // 100 tiles would be 4 high: columns climb to 5, the height stops at
      // minsizey, and only the rows that fit are filled.
      {{0, 0, 500, 400}, 1, 5, 2, 0, 100, 100, 5, {0, 0, 98, 20}, {400, 380, 498, 400}},
      {{0, 0, 500, 100}, 1, 5, 0, 0, 100, 25, 5, {0, 0, 100, 20}, {400, 80, 500, 100}},
      // A tile height above maxsizey is cut to it.
      {{0, 0, 100, 9000}, 1, 5, 0, 0, 1, 1, 1, {0, 0, 100, 5000}, {0, 0, 100, 5000}},
      // columns 0 counts as 1; columns above maxcolumns as maxcolumns.
      {{0, 0, 100, 100}, 0, 5, 0, 0, 2, 2, 1, {0, 0, 100, 50}, {0, 50, 100, 100}},
      {{0, 0, 100, 100}, 9, 2, 0, 0, 2, 2, 2, {0, 0, 50, 100}, {50, 0, 100, 100}},
  };
  for (const Case& c : cases) {
    Area a(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
    a.columns = c.columns;
    a.maxcolumns = c.maxcolumns;
    a.spacex = c.spacex;
    a.spacey = c.spacey;
    const std::vector<RECT> tiles = Grid(a, c.n);
    ASSERT_EQ(static_cast<int>(tiles.size()), c.placed) << c.n;
    EXPECT_EQ(a.columns, c.columnsAfter);
    EXPECT_TRUE(Same(tiles.front(), c.first)) << tiles.front().left << "," << tiles.front().top;
    EXPECT_TRUE(Same(tiles.back(), c.last)) << tiles.back().left << "," << tiles.back().top << ","
                                            << tiles.back().right << "," << tiles.back().bottom;
  }
}

TEST(AreaTest, GridEdges) {
  Area empty;
  RECT out[8];
  EXPECT_EQ(empty.TileByColumns(4, out), 0);
  Area a(0, 0, 100, 100);
  EXPECT_EQ(a.TileByColumns(0, out), 0);
  EXPECT_EQ(a.TileByColumns(4, nullptr), 0);
  // Rectangles lower than minsizey plus the borders give no usable height:
  // the columns climb and the height becomes minsizey, which does not fit.
  Area low(0, 0, 300, 30);
  low.borderTop = low.borderBottom = 10;
  EXPECT_EQ(low.TileByColumns(3, out), 0);
  EXPECT_EQ(low.columns, 5);
  // A second call starts from the raised columns.
  Area twice(0, 0, 500, 30);
  twice.spacex = 0;
  EXPECT_EQ(twice.TileByColumns(6, out), 5);
  EXPECT_EQ(twice.columns, 5);
  EXPECT_EQ(twice.TileByColumns(1, out), 1);
  EXPECT_TRUE(Same(out[0], RECT{0, 0, 100, 30}));
  // Borders; a rectangle too narrow for a tile; the height counts over
  // every rectangle, but a tile must fit into one.
  Area two(0, 0, 3, 100);
  two.AddRect(100, 100, 200, 200);
  two.borderLeft = two.borderTop = 5;
  two.spacex = 0;
  EXPECT_EQ(two.TileByColumns(4, out), 2);
  EXPECT_TRUE(Same(out[0], RECT{105, 105, 200, 152}));
}

TEST(AreaTest, SplittingHalvesTheLargestTile) {
  Area a(0, 0, 200, 100);
  RECT out[8];
  ASSERT_EQ(a.TileBySplitting(2, out), 2);
  EXPECT_TRUE(Same(out[0], RECT{0, 0, 99, 100}));
  EXPECT_TRUE(Same(out[1], RECT{101, 0, 200, 100}));
  // A square splits across; the later of equal tiles splits first.
  Area square(0, 0, 100, 100);
  square.spacey = 0;
  ASSERT_EQ(square.TileBySplitting(3, out), 3);
  EXPECT_TRUE(Same(out[0], RECT{0, 0, 100, 50}));
  EXPECT_TRUE(Same(out[1], RECT{0, 50, 49, 100}));
  EXPECT_TRUE(Same(out[2], RECT{51, 50, 100, 100}));
  // Tiles below the minimum size are not split further.
  Area small(0, 0, 60, 30);
  EXPECT_EQ(small.TileBySplitting(8, out), 2);
  EXPECT_EQ(Area().TileBySplitting(2, out), 0);
}

TEST(AreaTest, StripsOffTheTopAndTheBottom) {
  Area a(0, 50, 100, 100);
  a.AddRect(200, 10, 300, 40);
  a.AddRect(400, 10, 500, 200);
  RECT r = a.TakeTop(20);
  EXPECT_TRUE(Same(r, RECT{200, 10, 300, 30}));  // the first of the equal tops
  EXPECT_EQ(a.RectAt(1).top, 30);
  r = a.TakeTop(50);  // only two rectangles are 50 high; the higher one
  EXPECT_TRUE(Same(r, RECT{400, 10, 500, 60}));
  r = a.TakeBottom(30);
  EXPECT_TRUE(Same(r, RECT{400, 170, 500, 200}));
  EXPECT_EQ(a.RectAt(2).bottom, 170);
  // No rectangle high enough, or no height: the empty rectangle, nothing
  // changed.
  for (int h : {500, 0, -4}) {
    EXPECT_TRUE(Same(a.TakeTop(h), RECT{0, 0, 0, 0}));
    EXPECT_TRUE(Same(a.TakeBottom(h), RECT{0, 0, 0, 0}));
  }
  EXPECT_TRUE(Same(a.RectAt(2), RECT{400, 60, 500, 170}));
  EXPECT_TRUE(Same(Area().TakeTop(1), RECT{0, 0, 0, 0}));
}

TEST(AreaTest, BoundsCopiesAndTheDump) {
  EXPECT_TRUE(Same(Area().GetBounds(), RECT{0, 0, 0, 0}));
  Area a(10, 10, 20, 20);
  a.AddRect(0, 30, 5, 40);
  EXPECT_TRUE(Same(a.GetBounds(), RECT{0, 10, 20, 40}));
  a.columns = 3;
  Area b;
  b = a;
  const Area& same = b;
  b = same;  // assigning an area to itself changes nothing
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.columns, 3);
  Area c(a);
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(a.Count(), 2);
  std::ostringstream text;
  CDumpContext dc(&text);
  a.Dump(dc);
  EXPECT_EQ(text.str(),
            "TileArea\n\tmaxcolumns=5 columns=3\n\tspacex=2 spacey=0\n"
            "\tminsizex=50 minsizey=20 maxsizex=5000 maxsizey_=5000\n"
            "\tborder left=0 top=0 right=0 bottom=0\n\ttilecount=2\n"
            "\t0: 10,10,20,20\n\t1: 0,30,5,40\n");
}

}  // namespace
