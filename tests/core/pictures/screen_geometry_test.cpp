// Screen-relative coordinates: numbers, fractions of the screen, points,
// rectangles and areas.
#include "core/screen_geometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "win/user.h"

namespace {

class ScreenGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    ResetScreenRect();
    win::SetScreenSize(1024, 768);
  }
  void TearDown() override {
    ResetScreenRect();
    win::ResetUserState();
  }
};

struct Collected : RectSink {
  std::vector<RECT> rects;
  void AddRect(int l, int t, int r, int b) override { rects.push_back(RECT{l, t, r, b}); }
};

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ScreenGeometry, ScreenRectFollowsTheDisplayUntilSet) {
  RECT r = GetScreenRect();
  EXPECT_TRUE(Same(r, RECT{0, 0, 1024, 768}));
  win::SetScreenSize(800, 600);
  EXPECT_TRUE(Same(GetScreenRect(), RECT{0, 0, 800, 600}));
  SetScreenRect(RECT{100, 50, 740, 530});
  EXPECT_TRUE(Same(GetScreenRect(), RECT{100, 50, 740, 530}));
  EXPECT_EQ(ScaleToScreenWidth(1, 2), 320);
  EXPECT_EQ(ScaleToScreenHeight(1, 2), 240);
  ResetScreenRect();
  EXPECT_TRUE(Same(GetScreenRect(), RECT{0, 0, 800, 600}));
}

TEST_F(ScreenGeometry, Coordinates) {
  struct Case {
    const char* text;
    bool horizontal;
    int value;
    const char* rest;
  };
  const Case cases[] = {
      {"1/2", true, 512, ""},
      {"1/2", false, 384, ""},
      {"100", true, 100, ""},
      {"3/0", true, 3, ""},
      {"0/4", true, 0, ""},
      {"  7 / 4 x", true, 1792, " x"},
      {"7 x", true, 7, " x"},
      {"5/", true, 5, ""},
      {"", true, -1, ""},
      {"   ", true, -1, ""},
      {"x", true, -1, "x"},
      {"-3", true, -1, "-3"},
      {"99999999999", true, 2147483647, ""},
      {"99999999/1", true, 2147483647, ""},
  };
  for (const Case& c : cases) {
    const char* p = c.text;
    EXPECT_EQ(ReadCoord(p, c.horizontal), c.value) << c.text;
    EXPECT_STREQ(p, c.rest) << c.text;
  }
  EXPECT_EQ(ScaleToScreenWidth(0, 5), 0);
  EXPECT_EQ(ScaleToScreenWidth(7, -1), 7);
  EXPECT_EQ(ReadValue("3/4"), 576);
  EXPECT_EQ(ReadValue(nullptr), -1);
}

TEST_F(ScreenGeometry, PointsAndRectangles) {
  POINT pt = ReadPoint("1/4 1/4");
  EXPECT_EQ(pt.x, 256);
  EXPECT_EQ(pt.y, 192);
  pt = ReadPoint("5");
  EXPECT_EQ(pt.x, 5);
  EXPECT_EQ(pt.y, -1);

  struct Case {
    const char* text;
    RECT rect;
  };
  const Case cases[] = {
      {"10 20 30 40", {10, 20, 40, 60}},
      {"0 0 1/1 1/1", {0, 0, 1024, 768}},
      {"1/2 1/2 1/4 1/4", {512, 384, 768, 576}},
      {"10 20", {10, 20, 9, 19}},  // a missing number counts as -1
      {"", {-1, -1, -2, -2}},
  };
  for (const Case& c : cases) {
    RECT r = ReadRect(c.text);
    EXPECT_TRUE(Same(r, c.rect)) << c.text << " gave " << r.left << "," << r.top << "," << r.right
                                 << "," << r.bottom;
  }
  EXPECT_TRUE(Same(ReadRect(nullptr), RECT{-1, -1, -2, -2}));
}

TEST_F(ScreenGeometry, Areas) {
  struct Case {
    const char* text;
    bool ok;
    size_t rects;
  };
  const Case cases[] = {
      {"10 20 30 40", true, 1},
      {"10 20 30 40 1 2 3 4", true, 2},
      {"10 20 30 40\n 1 2 3 4 \n", true, 2},
      {"1 2 3 4 5 6 7", false, 1},
      {"1 2 3", false, 0},
      {"1 2 3 4 x", false, 1},
      {"", false, 0},
      {"  ", false, 0},
  };
  for (const Case& c : cases) {
    Collected area;
    EXPECT_EQ(ReadArea(c.text, area), c.ok) << c.text;
    EXPECT_EQ(area.rects.size(), c.rects) << c.text;
  }
  Collected area;
  EXPECT_FALSE(ReadArea(nullptr, area));
  ASSERT_TRUE(ReadArea("0 0 1/2 1/2 1/2 1/2 1/2 1/2", area));
  ASSERT_EQ(area.rects.size(), 2u);
  EXPECT_TRUE(Same(area.rects[1], RECT{512, 384, 1024, 768}));
}

}  // namespace
