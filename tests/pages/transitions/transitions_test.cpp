// Page transitions between two memory pictures: each effect ends with the
// new picture in the area (and nothing changed outside it) after the number
// of copies it is made of.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "pages/support/pages_fixture.h"
#include "pages/transitions/transitions.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace {

using pages_test::PagesTest;

constexpr int kWidth = 120;
constexpr int kHeight = 80;
constexpr COLORREF kOld = RGB(200, 0, 0);

// A memory picture of kWidth x kHeight.
struct Picture {
  Picture() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
  }
  ~Picture() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(COLORREF c) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) SetPixelV(dc, x, y, c);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

// A picture where every pixel differs from its neighbours, so that a copy
// to a wrong place shows.
COLORREF Pattern(int x, int y) { return RGB(x * 2, y * 3, (x + y) % 256); }

class TransitionsTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    target_ = std::make_unique<Picture>();
    source_ = std::make_unique<Picture>();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) SetPixelV(source_->dc, x, y, Pattern(x, y));
  }
  void TearDown() override {
    target_.reset();
    source_.reset();
    PagesTest::TearDown();
  }
  // Empty when the target shows the source inside the rectangle and the
  // old colour outside it.
  std::string Check(const RECT& r) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        const COLORREF want = inside ? Pattern(x, y) : kOld;
        if (GetPixel(target_->dc, x, y) != want)
          return "differs at " + std::to_string(x) + "," + std::to_string(y);
      }
    return "";
  }
  long Run(int effect, RECT r) {
    target_->Fill(kOld);
    return PaintTransition(target_->dc, source_->dc, r.left, r.top, r.right, r.bottom, effect);
  }
  std::unique_ptr<Picture> target_;
  std::unique_ptr<Picture> source_;
};

TEST_F(TransitionsTest, EveryEffectEndsWithTheNewPictureAfterItsCopies) {
  const RECT area{10, 5, 110, 65};  // 100 x 60
  struct Case {
    int effect;
    long copies;  // 0: not checked
  };
  const Case cases[] = {
      {kTransitionNone, 1},         {kTransitionPixelStorm, 10001}, {kTransitionDrawLeft, 100},
      {kTransitionDrawRight, 100},  {kTransitionDrawTop, 60},       {kTransitionDrawBottom, 60},
      {kTransitionRondell, 0},      {kTransitionScrollLeft, 100},   {kTransitionScrollRight, 100},
      {kTransitionScrollTop, 60},   {kTransitionScrollBottom, 60},  {kTransitionResize, 11},
      {kTransitionRandom, 0},       {42, 1},                        {-1, 1},
  };
  for (const Case& c : cases) {
    const long copies = Run(c.effect, area);
    if (c.copies) {
      EXPECT_EQ(copies, c.copies) << c.effect;
    }
    EXPECT_EQ(Check(area), "") << c.effect;
  }
}

TEST_F(TransitionsTest, StepsFollowTheSizeOfTheArea) {
  // Three columns and no final copy.
  EXPECT_EQ(Run(kTransitionDrawLeft, RECT{0, 0, 3, 10}), 3);
  // 50 wide: a step of 1 (50 / 100 raised to 1), 49 strips and the whole.
  EXPECT_EQ(Run(kTransitionScrollLeft, RECT{0, 0, 50, 10}), 50);
  EXPECT_EQ(Check(RECT{0, 0, 50, 10}), "");
  // 250 wide would step by 2; here 120 steps by 1.
  EXPECT_EQ(Run(kTransitionScrollRight, RECT{0, 0, kWidth, 10}), kWidth);
  // A negative left counts as 0.
  EXPECT_EQ(Run(kTransitionDrawLeft, RECT{-5, 0, 10, 10}), 10);
  EXPECT_EQ(Check(RECT{0, 0, 10, 10}), "");
  // No width or no height: nothing at all.
  EXPECT_EQ(Run(kTransitionPixelStorm, RECT{5, 5, 5, 50}), 0);
  EXPECT_EQ(Run(kTransitionNone, RECT{5, 50, 40, 10}), 0);
  EXPECT_EQ(Check(RECT{0, 0, 0, 0}), "");
  // The spiral of a small area covers it too.
  EXPECT_GT(Run(kTransitionRondell, RECT{3, 4, 23, 11}), 0);
  EXPECT_EQ(Check(RECT{3, 4, 23, 11}), "");
}

TEST_F(TransitionsTest, RandomPicksOneOfTheOtherEffects) {
  // A 3 x 3 area: the effects give 1 (plain), 10001 (storm) or a handful of
  // copies; RANDOM itself is never painted, so it always ends.
  std::set<long> seen;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    win_srand(seed);
    seen.insert(Run(kTransitionRandom, RECT{0, 0, 3, 3}));
    ASSERT_EQ(Check(RECT{0, 0, 3, 3}), "") << seed;
  }
  EXPECT_TRUE(seen.count(1));
  EXPECT_TRUE(seen.count(10001));
}

TEST(TransitionNames, NamesNumbersAndUnknownTexts) {
  struct Case {
    const char* text;
    int effect;
  };
  const Case cases[] = {{nullptr, 0},       {"", 0},          {"NONE", 0},   {"7", 7},
                        {"42", 42},         {"12abc", 12},    {"RESIZE", 11}, {"RANDOM", 12},
                        {"Random", -1},     {"none", -1},     {"x7", -1},
                        {"99999999999999", 2147483647}};
  for (const Case& c : cases)
    EXPECT_EQ(TransitionFromName(c.text), c.effect) << (c.text ? c.text : "(null)");
}

}  // namespace
