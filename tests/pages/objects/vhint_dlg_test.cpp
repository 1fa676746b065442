// The hint window: the delay between a new text and its display (by the
// test clock), the same text again, hiding, where it goes near an object,
// and a label's hint shown as the mouse enters it.
#include <gtest/gtest.h>

#include <memory>

#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vhint_dlg.h"
#include "pages/objects/vlabel.h"
#include "pages/page/vpage.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/rect_text.h"

namespace {

using pages_test::ObjectsTest;
using pages_test::RectText;

constexpr char kHintStyles[] =
    "Label = { Boolean fitcaption = TRUE; Value fontsize = 13; String hint = \"\" }\n"
    "HintDialog = { Value delay = 3; Label hint { } }\n"
    "HintDialog NoDelay { delay = 0 }\n"
    "Panel = { Label hint { } }\n";

class VHintDlgTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    Styles(kHintStyles);
  }
  void TearDown() override {
    shell_.hintWindow = nullptr;
    delete hint_;
    hint_ = nullptr;
    ObjectsTest::TearDown();
  }
  VHintDlg* Make(const char* style) {
    hint_ = new VHintDlg(0, 0, 100, 25, &window_);
    if (style) hint_->LoadStyle(nullptr, "", style, Ref<KXObject>());
    hint_->SetState(hint_->State() | VObject::kHidden);
    EXPECT_TRUE(hint_->CreateDialogWindow(&window_));
    shell_.hintWindow = hint_->Window();
    return hint_;
  }
  bool Shown() const { return IsWindowVisible(hint_->GetWindow()->GetSafeHwnd()) != FALSE; }
  // A second of the hint's timer.
  void Tick() {
    Advance(1000);
    Pump();
  }
  VHintDlg* hint_ = nullptr;
};

TEST_F(VHintDlgTest, ANewHintShowsOnTheFirstTickAfterItsDelay) {
  Make(nullptr);  // no style: three seconds
  EXPECT_EQ(hint_->Delay(), VHintDlg::kDefaultDelay);
  EXPECT_EQ(VHintDlg::GetHintWindow(), hint_);
  Advance(400);  // the call falls between two ticks
  hint_->ShowHint(MultiLangString::OnePart("Harbour of Tamsel"));
  EXPECT_TRUE(hint_->Pending());
  EXPECT_FALSE(Shown());
  Advance(600);  // the timer's first tick, 600 ms after the call
  Pump();
  Tick();
  EXPECT_FALSE(Shown());
  Tick();  // 2600 ms
  EXPECT_FALSE(Shown());
  Tick();  // 3600 ms: the first tick at least 3000 ms after the call
  EXPECT_TRUE(Shown());
  EXPECT_FALSE(hint_->Pending());
  // The window takes the label's size.
  RECT w;
  GetWindowRect(hint_->GetWindow()->GetSafeHwnd(), &w);
  const RECT l = hint_->Label()->Rect();
  EXPECT_EQ(w.right - w.left, l.right - l.left);
  EXPECT_EQ(w.bottom - w.top, l.bottom - l.top);

  // The same text again changes nothing.
  const DWORD showTime = hint_->ShowTime();
  hint_->ShowHint(MultiLangString::OnePart("Harbour of Tamsel"));
  EXPECT_EQ(hint_->ShowTime(), showTime);
  EXPECT_TRUE(Shown());
  // Hidden, then the same text: shown on the next tick, without a new delay.
  hint_->Hide();
  EXPECT_FALSE(Shown());
  hint_->ShowHint(MultiLangString::OnePart("Harbour of Tamsel"));
  EXPECT_FALSE(Shown());
  Tick();
  EXPECT_TRUE(Shown());
  // An empty text hides it and forgets the waiting hint.
  hint_->ShowHint(MultiLangString::OnePart("Quay"));
  hint_->ShowHint(MultiLangString());
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(hint_->Pending());
}

TEST_F(VHintDlgTest, DelaysFromTheStyle) {
  struct Case {
    const char* style;
    int delay;
  };
  // A style without "delay" means one second.
  const Case cases[] = {{"HintDialog()", 3}, {"NoDelay()", 0}, {"Panel()", 1}};
  for (const Case& c : cases) {
    VHintDlg d(0, 0, 100, 25, &window_);
    d.LoadStyle(nullptr, "", c.style, Ref<KXObject>());
    EXPECT_EQ(d.Delay(), c.delay) << c.style;
  }
  Make("NoDelay()");
  hint_->ShowHint(MultiLangString::OnePart("Quay"));
  EXPECT_TRUE(Shown());
  EXPECT_FALSE(hint_->Pending());
  // A delay too long for the clock waits an hour, not a wrapped moment.
  hint_->SetDelay(5000000);
  hint_->ShowHint(MultiLangString::OnePart("Harbour"));
  EXPECT_EQ(hint_->ShowTime() - PageTicks(), 3600u * 1000u);
  Tick();
  EXPECT_FALSE(Shown());
}

TEST_F(VHintDlgTest, PlacedBelowAboveAndInsideTheWindow) {
  Make("NoDelay()");
  hint_->ShowHint(MultiLangString::OnePart("Quay"));
  const RECT l = hint_->Label()->Rect();
  const int w = l.right - l.left, h = l.bottom - l.top;
  ASSERT_GT(w, 20);  // wider than the object at the right edge
  struct Case {
    const char* what;
    RECT object;
    POINT at;
  };
  const Case cases[] = {
      {"middle", {100, 100, 160, 120}, {100 + (60 - w) / 2, 122}},
      {"bottom edge", {100, 220, 160, 238}, {100 + (60 - w) / 2, 220 - h - 2}},
      {"right edge", {300, 100, 320, 120}, {kWidth - w, 122}},
      {"left edge", {0, 100, 4, 120}, {0, 122}},
  };
  for (const Case& c : cases) {
    auto* target = Add(new VLabel(c.object.left, c.object.top, c.object.right, c.object.bottom, 0));
    hint_->PlaceNear(target);
    RECT r;
    GetWindowRect(hint_->GetWindow()->GetSafeHwnd(), &r);
    EXPECT_EQ(RectText(r), RectText(RECT{c.at.x, c.at.y, c.at.x + w, c.at.y + h})) << c.what;
    delete target;
  }
}

TEST_F(VHintDlgTest, ALabelShowsItsHintAsTheMouseEntersAndHidesItAsItLeaves) {
  Make("NoDelay()");
  auto* label = Add(new VLabel(10, 10, 110, 40, 0));
  label->SetStyle(ApplyStyleAssignments("Label(hint = \"To the harbour\")", nullptr));
  PageEvent move(20, 20, PageEvent::MouseMove);
  host_->HandleMouse(20, 20, move);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(hint_->Label()->CaptionText(), "To the harbour");
  PageEvent away(200, 200, PageEvent::MouseMove);
  host_->HandleMouse(200, 200, away);
  EXPECT_FALSE(Shown());
}

}  // namespace
