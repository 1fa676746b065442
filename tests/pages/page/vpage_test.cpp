// The page: its window and the events it makes of window messages, the
// page clock, progress, child commands, and painting with and without a
// transition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "framework/progress_reporter.h"
#include "pages/page/page_switch.h"
#include "pages/page/vdefpage.h"
#include "pages/rules/rule_set.h"
#include "pages/support/page_fixture.h"
#include "pages/support/rect_text.h"
#include "pages/support/test_page_objects.h"

namespace {

using pages_test::Box;
using pages_test::PageTest;
using Journal = std::vector<std::string>;

DWORD gNow = 0;
DWORD TestTicks() { return gNow; }

// Stands in for the progress indicator the page looks for by class name.
class Indicator : public Box {
 public:
  explicit Indicator(Journal* j) : Box("indicator", 0, 220, 280, 240, RGB(255, 255, 0), j) {}
  const char* GetClassName() const override { return "VProgressIndicator"; }
};

// A group that records the notifications its children send up.
class Listener : public VGroup {
 public:
  Listener() : VGroup(0, 0, 320, 240) {}
  void Notify(int code, VObject* sender) override {
    notes.push_back(std::to_string(code) + " " + sender->GetName().str());
  }
  Journal notes;
};

class VPageTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    gNow = 1000;
    SetPageTickSource(TestTicks);
    Styles("Transition = (NONE, DRAWLEFT, DRAWTOP)\n"
           "Progress = { Boolean visible }\n"
           "DefaultPage = { Transition effect; Progress progress { visible = TRUE } }\n");
    TheRuleSet().parse("=> DefaultPage()\n");
    page_ = Show(objects_.Collection(1, {}));
    ASSERT_NE(page_, nullptr);
  }
  HWND Window() const { return page_->GetWindow()->GetSafeHwnd(); }
  VPage* page_ = nullptr;
  Journal journal_;
};

TEST_F(VPageTest, WindowMessagesBecomePageEvents) {
  page_->AppendChild(new Box("box", 10, 10, 60, 60, RGB(0, 0, 255), &journal_));
  journal_.clear();
  SendMessage(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessage(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_TRUE(page_->MouseDown());
  SendMessage(Window(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(page_->MouseDown());
  SendMessage(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
  EXPECT_EQ(journal_, (Journal{"enter box", "move box", "down box", "leave box"}));
  journal_.clear();
  page_->SendIdleEvent();
  SendMessage(Window(), WM_TIMER, 77, 0);  // every child sees every timer
  EXPECT_EQ(journal_, (Journal{"idle box"}));
  EXPECT_EQ(SendMessage(Window(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(SendMessage(Window(), WM_ERASEBKGND, 0, 0), TRUE);
}

TEST_F(VPageTest, TheClockRunsWhileThePageIsCurrent) {
  auto* late = new Box("late", 0, 0, 10, 10, RGB(0, 0, 255), &journal_);
  late->SetStartTime(2000);
  late->SetState(late->State() | VObject::kHidden);
  page_->AppendChild(late);
  page_->InitializeChildren();
  journal_.clear();
  page_->Leave();
  EXPECT_FALSE(page_->ClockRunning());
  EXPECT_TRUE(page_->Has(VObject::kInactive));
  gNow = 50000;
  page_->Enter();  // entering again starts the clock from 0
  EXPECT_TRUE(page_->ClockRunning());
  gNow = 51500;
  SendMessage(Window(), WM_TIMER, VPage::kClockTimer, 0);
  EXPECT_TRUE(journal_.empty());
  gNow = 52000;
  SendMessage(Window(), WM_TIMER, VPage::kClockTimer, 0);
  EXPECT_EQ(journal_, (Journal{"start late", "attach late"}));
  EXPECT_EQ(page_->GetElapsed(), 2000);
}

TEST_F(VPageTest, TheProgressIndicatorShowsAfterThreeSeconds) {
  ProgressReporter progress;
  SetFrameProgress(&progress);
  auto* indicator = new Indicator(&journal_);
  indicator->SetState(indicator->State() | VObject::kHidden);
  page_->AppendChild(indicator);
  page_->AppendChild(new Box("cover", 0, 0, 320, 240));
  progress.SetFractionValue(0.2f);
  SendMessage(Window(), kProgressMessage, kProgressFraction, 0);
  gNow += 2999;
  SendMessage(Window(), kProgressMessage, kProgressFraction, 0);
  EXPECT_TRUE(indicator->Has(VObject::kHidden));
  gNow += 1;
  SendMessage(Window(), kProgressMessage, kProgressFraction, 0);
  EXPECT_FALSE(indicator->Has(VObject::kHidden));
  EXPECT_EQ(page_->LastChild(), indicator);  // brought to the front
  // The start of the next operation hides it and starts the wait again.
  SendMessage(Window(), kProgressMessage, kProgressStart, 0);
  EXPECT_TRUE(indicator->Has(VObject::kHidden));
  SendMessage(Window(), kProgressMessage, kProgressFraction, 0);
  gNow += 2000;
  SendMessage(Window(), kProgressMessage, kProgressFraction, 0);
  EXPECT_TRUE(indicator->Has(VObject::kHidden));
  SetFrameProgress(nullptr);
}

TEST_F(VPageTest, AClickOnAChildWindowNotifiesTheOwnersParent) {
  auto* listener = new Listener;
  page_->AppendChild(listener);
  auto* owner = new Box("button", 10, 10, 60, 30);
  listener->AppendChild(owner);
  const HWND button = CreateWindow("BUTTON", "Go", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, Window(),
                                   reinterpret_cast<HMENU>(5), nullptr, nullptr);
  owner->SetWindow(button);
  EXPECT_EQ(page_->FindByWindow(button), owner);
  EXPECT_EQ(page_->FindByWindow(Window()), page_);
  SendMessage(Window(), WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(listener->notes, Journal{"0 button"});
}

TEST_F(VPageTest, AFullRepaintWithAnEffectEndsWithTheSamePicture) {
  page_->AppendChild(new Box("a", 20, 20, 120, 90, RGB(0, 0, 255)));
  page_->AppendChild(new Box("b", 100, 60, 300, 200, RGB(0, 160, 0)));
  page_->InitializeChildren();
  auto picture = [&] {
    InvalidateRect(Window(), nullptr, FALSE);
    Settle();
    return win::headless::CaptureWindow(Window());
  };
  shell_.effects = 0;
  const auto plain = picture();
  shell_.effects = 1;
  page_->SetEffect(2);
  const auto drawn = picture();
  ASSERT_TRUE(plain && drawn);
  EXPECT_TRUE(plain->width() == drawn->width() && plain->height() == drawn->height());
  int differing = 0;
  for (int y = 0; y < plain->height(); ++y)
    for (int x = 0; x < plain->width(); ++x) differing += plain->At(x, y) != drawn->At(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(plain->At(30, 30), 0x0000FFu);
  EXPECT_EQ(plain->At(5, 5), 0xC0C0C0u);
}

}  // namespace
