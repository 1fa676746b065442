// The page-object base: style attributes, the page clock, state changes
// and what they invalidate, attribute setters, and painting with a
// transition through a page's bitmap or directly inside a dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mfc/afx.h"
#include "pages/objects/vgroup.h"
#include "pages/page/vpage.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/rect_text.h"
#include "pages/support/test_page_objects.h"

namespace {

using pages_test::Box;
using pages_test::PagesTest;
using pages_test::RectText;
using pages_test::WindowGroup;
using Journal = std::vector<std::string>;

class VObjectTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    Styles("Transition = (NONE, DRAWLEFT, RESIZE)\n"
           "Obj = { Boolean visible = TRUE; Boolean disabled = FALSE; Value start; Value end;\n"
           "        Transition effect; String name = \"\" }\n");
    ASSERT_TRUE(window_.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr));
  }
  void TearDown() override {
    window_.DestroyWindow();
    PagesTest::TearDown();
  }
  // A box styled by the expression (on the table's Obj).
  std::unique_ptr<Box> Styled(const char* expression) {
    auto box = std::make_unique<Box>("b", 10, 10, 50, 50, RGB(0, 0, 255), &journal_);
    box->SetStyle(ApplyStyleAssignments(expression, nullptr));
    return box;
  }
  void Tick(VObject& o, DWORD ms) {
    PageEvent clock(PageEvent::Clock);
    clock.time = ms;
    o.HandleEvent(clock);
  }
  RECT Update() {
    RECT r{};
    GetUpdateRect(window_.GetSafeHwnd(), &r, FALSE);
    ValidateRect(window_.GetSafeHwnd(), nullptr);
    return r;
  }
  CWnd window_;
  Journal journal_;
};

TEST_F(VObjectTest, TheClockStartsAndStopsAnObjectOnce) {
  auto box = Styled("Obj(start = 2; end = 5)");
  EXPECT_EQ(box->StartTime(), 2000u);
  EXPECT_EQ(box->StopTime(), 5000u);
  EXPECT_TRUE(box->Has(VObject::kHidden));  // starts later, so hidden now
  for (DWORD t : {0u, 1999u, 2000u, 3000u, 4999u, 5000u, 6000u, 7000u}) Tick(*box, t);
  // Showing the object attaches it again.
  EXPECT_EQ(journal_, (Journal{"start b", "attach b", "stop b"}));
  EXPECT_TRUE(box->Has(VObject::kHidden));
}

TEST_F(VObjectTest, StyleTimesAndTheirLimits) {
  struct Case {
    const char* expression;
    DWORD start;
    DWORD stop;
    bool hidden;
  };
  const Case cases[] = {
      {"Obj()", 0, 2097152000u, false},
      {"Obj(end = 0)", 0, 0, false},
      {"Obj(end = 2.0009)", 0, 2000, false},
      // Beyond the 32-bit millisecond range: held at its end ("never").
      {"Obj(end = 5000000)", 0, 0xFFFFFFFFu, false},
      {"Obj(end = 99999999999999999999)", 0, 0xFFFFFFFFu, false},
      {"Obj(start = 99999999999)", 0xFFFFFFFFu, 2097152000u, true},
      {"Obj(visible = FALSE)", 0, 2097152000u, true},
  };
  for (const Case& c : cases) {
    auto box = Styled(c.expression);
    EXPECT_EQ(box->StartTime(), c.start) << c.expression;
    EXPECT_EQ(box->StopTime(), c.stop) << c.expression;
    EXPECT_EQ(box->Has(VObject::kHidden), c.hidden) << c.expression;
  }
  // With end 0 the clock neither starts nor stops the object.
  auto never = Styled("Obj(end = 0)");
  journal_.clear();
  Tick(*never, 10000);
  EXPECT_TRUE(journal_.empty());
}

TEST_F(VObjectTest, StartAndStopEventsHappenOnceInOrder) {
  auto box = Styled("Obj()");
  PageEvent stop(PageEvent::Stop), start(PageEvent::Start);
  box->HandleEvent(stop);  // before any start: nothing
  box->HandleEvent(start);
  box->HandleEvent(start);
  box->HandleEvent(stop);
  box->HandleEvent(stop);
  EXPECT_EQ(journal_, (Journal{"start b", "stop b"}));
}

TEST_F(VObjectTest, StyleAttributes) {
  auto box = Styled("Obj(disabled = TRUE; name = \"named\"; effect = RESIZE)");
  EXPECT_TRUE(box->Has(VObject::kDisabled));
  EXPECT_EQ(box->GetName(), "named");
  EXPECT_EQ(box->GetEffect(), 11);
  // An effect given as a String is no transition.
  Styles("Obj StrEffect { } Bad = { String effect = \"RESIZE\" }");
  auto bad = Styled("Bad()");
  EXPECT_EQ(bad->GetEffect(), 0);
  // A non-struct entry offered as a style is deleted; the style stays.
  box->SetStyle(NewLeafProperty(kPropertyValue));
  EXPECT_NE(box->GetStyle(), nullptr);
}

TEST_F(VObjectTest, AttributeSettersOfEveryObject) {
  Box box("b", 0, 0, 10, 10);
  EXPECT_TRUE(box.SetNumberAttribute("end", 3));
  EXPECT_EQ(box.StopTime(), 3000u);
  EXPECT_TRUE(box.SetNumberAttribute("start", -4));
  EXPECT_EQ(box.StartTime(), 0u);
  EXPECT_TRUE(box.SetNumberAttribute("end", INT32_MAX));
  EXPECT_EQ(box.StopTime(), 0xFFFFFFFFu);
  EXPECT_FALSE(box.SetNumberAttribute("other", 1));
  EXPECT_TRUE(box.SetBoolAttribute("visible", false));
  EXPECT_TRUE(box.Has(VObject::kHidden));
  EXPECT_FALSE(box.SetBoolAttribute("Visible", true));  // names are exact
  EXPECT_TRUE(box.Has(VObject::kHidden));
  EXPECT_TRUE(box.SetBoolAttribute("disabled", true));
  EXPECT_TRUE(box.Has(VObject::kDisabled));
  EXPECT_TRUE(box.SetStringAttribute("name", "x"));
  EXPECT_EQ(box.GetName(), "x");
  EXPECT_FALSE(box.SetStringAttribute("caption", "x"));
  EXPECT_FALSE(box.SetColorAttribute("color", 0));
  EXPECT_FALSE(box.SetRectAttribute("rect", 0, 0, 1, 1));
}

TEST_F(VObjectTest, HidingAndShowingInvalidateTheArea) {
  WindowGroup page(&window_, 200, 100);
  auto* box = new Box("b", 10, 10, 50, 50, RGB(0, 0, 255), &journal_);
  page.AppendChild(box);
  Update();
  journal_.clear();
  box->SetState(box->State() | VObject::kHidden);
  EXPECT_EQ(RectText(Update()), "10,10,50,50");
  box->SetState(box->State() & ~VObject::kHidden);
  EXPECT_EQ(journal_, Journal{"attach b"});
  EXPECT_EQ(RectText(Update()), "10,10,50,50");
  // A rectangle without width is stored without invalidation.
  box->SetRect(70, 10, 70, 40);
  EXPECT_EQ(RectText(Update()), "0,0,0,0");
  EXPECT_EQ(box->Rect().left, 70);
  box->SetRect(60, 10, 90, 40);
  EXPECT_EQ(RectText(Update()), "60,10,90,40");
  // Nothing is invalidated while inactive.
  box->SetState(box->State() | VObject::kInactive);
  box->MoveTo(0, 0);
  EXPECT_EQ(RectText(Update()), "0,0,0,0");
  // Deleting a child takes it out of its group.
  delete box;
  EXPECT_EQ(page.FirstChild(), nullptr);
}

TEST_F(VObjectTest, ATransitionGoesThroughThePageBitmapButNotInsideADialog) {
  auto paint = [&](VGroup& owner, Box* box) {
    owner.AppendChild(box);
    owner.Initialize();
    CClientDC dc(&window_);
    box->Paint(&dc, RECT{0, 0, 200, 100});
    return std::make_pair(box->drawnInto, dc.GetSafeHdc());
  };
  // Inside a page, with Effects on: drawn into the memory picture, then
  // brought onto the window.
  shell_.pageArea = RECT{0, 0, 200, 100};
  auto* page = new VPage;
  ASSERT_TRUE(page->CreatePage(&window_));
  auto* inPage = new Box("p", 10, 10, 50, 50, RGB(0, 200, 0));
  inPage->SetEffect(2);
  const auto [pageDrawn, pageDc] = paint(*page, inPage);
  EXPECT_NE(pageDrawn, pageDc);
  {
    CClientDC dc(page->GetWindow());
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(0, 200, 0));
  }
  page->GetWindow()->DestroyWindow();  // deletes the page
  // Inside a dialog: directly into the target, whatever the effect.
  WindowGroup dialog(&window_, 200, 100, true);
  auto* inDialog = new Box("d", 10, 10, 50, 50, RGB(0, 200, 0));
  inDialog->SetEffect(2);
  const auto [dialogDrawn, dialogDc] = paint(dialog, inDialog);
  EXPECT_EQ(dialogDrawn, dialogDc);
  // With Effects off the page's object draws directly too.
  shell_.effects = 0;
  WindowGroup plain(&window_, 200, 100);
  auto* direct = new Box("e", 10, 10, 50, 50);
  direct->SetEffect(2);
  const auto [directDrawn, directDc] = paint(plain, direct);
  EXPECT_EQ(directDrawn, directDc);
}

}  // namespace
