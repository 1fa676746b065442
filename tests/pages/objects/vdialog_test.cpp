// Dialogs on pages: their window, its messages as page events, the
// one-second clock, styles refined by the object's Layout, and objects
// with an effect drawn straight into the dialog (a dialog is no page).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vdialog.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/support/rect_text.h"
#include "pages/support/test_objects.h"
#include "pages/support/test_page_objects.h"

namespace {

using pages_test::Box;
using pages_test::ObjectsTest;
using pages_test::RectText;
using Journal = std::vector<std::string>;

// A dialog that writes down the clock events it gets.
class ClockedDialog : public VDialog {
 public:
  using VDialog::VDialog;
  void OnClock(DWORD time) override { clocks.push_back(time); }
  std::vector<DWORD> clocks;
};

class VDialogTest : public ObjectsTest {
 protected:
  void TearDown() override {
    delete dialog_;  // ends its window too
    dialog_ = nullptr;
    ObjectsTest::TearDown();
  }
  ClockedDialog* Make(bool hidden = false) {
    dialog_ = new ClockedDialog(20, 30, 120, 80, &window_);
    if (hidden) dialog_->SetState(dialog_->State() | VObject::kHidden);
    EXPECT_TRUE(dialog_->CreateDialogWindow(&window_));
    return dialog_;
  }
  HWND Handle() const { return dialog_->GetWindow()->GetSafeHwnd(); }
  ClockedDialog* dialog_ = nullptr;
};

TEST_F(VDialogTest, TheWindowIsMadeAtItsPlaceAndFollowsTheHiddenFlag) {
  Make();
  ASSERT_TRUE(IsWindow(Handle()));
  EXPECT_EQ(GetParent(Handle()), window_.GetSafeHwnd());
  EXPECT_TRUE(IsWindowVisible(Handle()));
  RECT r;
  GetWindowRect(Handle(), &r);
  EXPECT_EQ(RectText(r), "20,30,120,80");
  EXPECT_EQ(RectText(dialog_->Rect()), "0,0,100,50");
  EXPECT_TRUE(dialog_->Has(VObject::kInitialised));
  EXPECT_TRUE(dialog_->IsDialog());
  EXPECT_FALSE(dialog_->IsPage());
  EXPECT_EQ(dialog_->FindByWindow(Handle()), dialog_);
  dialog_->SetState(dialog_->State() | VObject::kHidden);
  EXPECT_FALSE(IsWindowVisible(Handle()));
  dialog_->SetState(dialog_->State() & ~VObject::kHidden);
  EXPECT_TRUE(IsWindowVisible(Handle()));
  // One made while hidden starts hidden.
  delete dialog_;
  Make(true);
  EXPECT_FALSE(IsWindowVisible(Handle()));
}

TEST_F(VDialogTest, TheClockRunsOnlyWhenEnabled) {
  Make();
  dialog_->Start();
  EXPECT_EQ(dialog_->TimerId(), 0u);
  Advance(2500);
  Pump();
  EXPECT_TRUE(dialog_->clocks.empty());

  dialog_->EnableClock(true);
  dialog_->Start();
  EXPECT_EQ(dialog_->TimerId(), VDialog::kClockTimer);
  Advance(1000);
  Pump();
  ASSERT_EQ(dialog_->clocks.size(), 1u);
  EXPECT_EQ(dialog_->clocks[0], 1000u);
  // Another timer's tick is no clock.
  PageEvent other(PageEvent::Timer);
  other.timerId = 77;
  dialog_->HandleEvent(other);
  EXPECT_EQ(dialog_->clocks.size(), 1u);
  dialog_->Stop();
  EXPECT_EQ(dialog_->TimerId(), 0u);
  EXPECT_TRUE(dialog_->Has(VObject::kInactive));
  Advance(3000);
  Pump();
  EXPECT_EQ(dialog_->clocks.size(), 1u);
  // Started again: a fresh timer, counting from now.
  dialog_->Start();
  EXPECT_EQ(dialog_->TimerId(), VDialog::kClockTimer);
  Advance(1000);
  Pump();
  ASSERT_EQ(dialog_->clocks.size(), 2u);
  EXPECT_EQ(dialog_->clocks[1], 1000u);
}

TEST_F(VDialogTest, MouseMessagesReachTheChildren) {
  Journal journal;
  Make();
  auto* box = new Box("box", 10, 10, 40, 40, RGB(0, 0, 255), &journal);
  dialog_->AppendChild(box);
  box->Initialize();
  dialog_->SetState(dialog_->State() & ~VObject::kHidden);
  win::headless::PressButton(20 + 15, 30 + 15);
  Pump();
  EXPECT_TRUE(dialog_->MouseDown());
  win::headless::ReleaseButton(20 + 15, 30 + 15);
  Pump();
  EXPECT_FALSE(dialog_->MouseDown());
  EXPECT_NE(std::find(journal.begin(), journal.end(), "enter box"), journal.end());
  EXPECT_NE(std::find(journal.begin(), journal.end(), "down box"), journal.end());
}

TEST_F(VDialogTest, AnObjectWithAnEffectIsDrawnStraightIntoTheDialog) {
  Make();
  auto* box = new Box("box", 0, 0, 100, 50, RGB(0, 128, 0));
  box->SetEffect(1);
  dialog_->AppendChild(box);
  box->Initialize();
  dialog_->SetState(dialog_->State() & ~VObject::kHidden);
  UpdateWindow(Handle());
  Pump();
  EXPECT_NE(box->drawnInto, nullptr);
  const auto s = win::headless::CaptureWindow(Handle());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->At(50, 25) & 0xFFFFFF, 0x008000u);
}

TEST_F(VDialogTest, TheObjectsLayoutRefinesTheDialogsStyle) {
  Styles("Panel = { Value x = 1; Value y = 1 }\nPanel Wide { x = 2 }\n");
  pages_test::TestObjects objects;
  objects.Install();
  const Ref<KXObject> withLayout = objects.Collection(1, {}, "Layout=y = 5\n");
  struct Case {
    Ref<KXObject> object;
    int x, y;
  };
  const Case cases[] = {{withLayout, 2, 5}, {Ref<KXObject>(), 2, 1}};
  for (const Case& c : cases) {
    VDialog d(0, 0, 10, 10, &window_);
    d.LoadStyle(nullptr, "Wide()", "Panel()", c.object);
    ASSERT_NE(d.GetStyle(), nullptr);
    EXPECT_EQ(getInt(d.GetStyle()->StyleQuery("x"), 0), c.x);
    EXPECT_EQ(getInt(d.GetStyle()->StyleQuery("y"), 0), c.y);
  }
  objects.Remove();
}

}  // namespace
