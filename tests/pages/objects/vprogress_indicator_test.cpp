// The progress bar: percentages clamped, repeated values ignored, the bar
// and its frame as painted, its colour from the style, and a click that
// breaks the running request.
#include <gtest/gtest.h>

#include "framework/progress_reporter.h"
#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vprogress_indicator.h"
#include "pages/style/style_expressions.h"

namespace {

using pages_test::ObjectsTest;
using pages_test::Px;

class VProgressIndicatorTest : public ObjectsTest {
 protected:
  VProgressIndicator* Bar(int l = 10, int t = 10, int r = 110, int b = 30) {
    auto* bar = Add(new VProgressIndicator(l, t, r, b));
    bar->SetState(bar->State() & ~VObject::kHidden);
    return bar;
  }
};

TEST_F(VProgressIndicatorTest, PercentagesAreClampedAndShownAsText) {
  VProgressIndicator* bar = Bar();
  EXPECT_TRUE(Add(new VProgressIndicator(0, 0, 1, 1))->Has(VObject::kHidden));
  const struct {
    int given, shown;
  } cases[] = {{150, 100}, {-5, 0}, {42, 42}};
  for (const auto& c : cases) {
    bar->SetPercent(c.given);
    EXPECT_EQ(bar->Percent(), c.shown) << c.given;
  }
  EXPECT_EQ(bar->CaptionText(), "42 %");
  EXPECT_EQ(VProgressIndicator::Find(host_.get()), bar);
}

TEST_F(VProgressIndicatorTest, TheSamePercentageAgainNeitherRedrawsNorPumps) {
  VProgressIndicator* bar = Bar();
  bar->SetPercent(30);
  Pump();
  // A message waiting in the queue is left there by a repeated value and
  // taken by a new one.
  PostMessage(window_.GetSafeHwnd(), WM_USER + 5, 0, 0);
  bar->SetPercent(30);
  MSG msg;
  EXPECT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
  bar->SetPercent(31);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
}

TEST_F(VProgressIndicatorTest, TheBarFillsTheFaceUpToTwoPixelsFromTheFrame) {
  // 100 pixels wide: the inner bar runs from 12 to 12 + 96 x p / 100.
  VProgressIndicator* empty = Bar(10, 10, 110, 30);
  VProgressIndicator* half = Bar(10, 40, 110, 60);
  VProgressIndicator* full = Bar(10, 70, 110, 90);
  VProgressIndicator* thin = Bar(10, 100, 12, 120);  // no room for a bar
  half->SetPercent(50);
  full->SetPercent(100);
  thin->SetPercent(100);
  const auto s = Shot();
  ASSERT_TRUE(s);
  const std::uint32_t yellow = Px(VProgressIndicator::kDefaultProgressColor);
  EXPECT_EQ(s->At(14, 20) & 0xFFFFFF, 0xFFFFFFu);  // white face at 0 percent
  // Half: 48 pixels of bar; the caption sits in the middle.
  EXPECT_EQ(s->At(14, 50) & 0xFFFFFF, yellow);
  EXPECT_EQ(s->At(104, 50) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(s->At(106, 80) & 0xFFFFFF, yellow);  // up to the frame on the right
  EXPECT_EQ(s->At(10, 80) & 0xFFFFFF, 0x000000u);  // the frame's outer ring
  for (int y = 100; y < 120; ++y)
    for (int x = 10; x < 12; ++x) EXPECT_NE(s->At(x, y) & 0xFFFFFF, yellow);
  // The number is written in red over the bar.
  int red = 0;
  for (int y = 40; y < 60; ++y)
    for (int x = 10; x < 110; ++x) red += (s->At(x, y) & 0xFFFFFF) == 0xFF0000u;
  EXPECT_GT(red, 10);
}

TEST_F(VProgressIndicatorTest, TheStyleColoursTheBarAndAClickBreaksTheRequest) {
  Styles("ProgressIndicator = { Color progresscolor = 0x3D8B5A; Boolean fitcaption = FALSE }\n");
  VProgressIndicator* bar = Bar();
  bar->SetStyle(ApplyStyleAssignments("ProgressIndicator()", nullptr));
  EXPECT_EQ(bar->ProgressColor(), RGB(0x3D, 0x8B, 0x5A));
  bar->SetPercent(100);
  const auto s = Shot();
  EXPECT_EQ(s->At(60, 20) & 0xFFFFFF, 0x3D8B5Au);

  ProgressReporter progress;
  shell_.progress = &progress;
  bar->OnMouseUp(20, 20);
  EXPECT_TRUE(progress.ResetAbort());
  shell_.progress = nullptr;
}

}  // namespace
