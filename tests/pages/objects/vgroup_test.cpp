// Groups: the child list and drawing order, mouse routing and tracking,
// events, names, and painting only what later opaque children leave open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/afx.h"
#include "pages/objects/vgroup.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_page_objects.h"

namespace {

using pages_test::Box;
using pages_test::PagesTest;
using pages_test::WindowGroup;
using Journal = std::vector<std::string>;

class VGroupTest : public PagesTest {
 protected:
  Box* Add(VGroup& g, const char* name, RECT r, bool append = true) {
    auto* box = new Box(name, r.left, r.top, r.right, r.bottom, RGB(0, 0, 255), &journal_);
    append ? g.AppendChild(box) : g.AddChild(box);
    return box;
  }
  void Mouse(VGroup& g, int x, int y, int code = PageEvent::MouseMove) {
    PageEvent e(x, y, code);
    g.HandleMouse(x, y, e);
    EXPECT_EQ(e.code, PageEvent::Consumed);
  }
  Journal journal_;
};

TEST_F(VGroupTest, TheMouseGoesToTheTopmostChildUnderIt) {
  VGroup g(0, 0, 100, 100);
  Add(g, "appended-first", {0, 0, 50, 50});
  Add(g, "appended-later", {10, 10, 60, 60});
  journal_.clear();
  Mouse(g, 20, 20, PageEvent::MouseDown);
  EXPECT_EQ(journal_, (Journal{"enter appended-later", "down appended-later"}));

  VGroup h(0, 0, 100, 100);
  Add(h, "added-first", {0, 0, 50, 50}, false);
  Add(h, "added-later", {10, 10, 60, 60}, false);
  journal_.clear();
  Mouse(h, 20, 20, PageEvent::MouseDown);
  EXPECT_EQ(journal_, (Journal{"enter added-first", "down added-first"}));

  // Disabled and hidden children take no mouse.
  g.FindByName("appended-later", false)->SetState(VObject::kDisabled);
  journal_.clear();
  Mouse(g, 20, 20, PageEvent::MouseDown);
  EXPECT_EQ(journal_, (Journal{"leave appended-later", "enter appended-first", "down appended-first"}));
  EXPECT_EQ(g.ChildAt(200, 20), nullptr);
}

TEST_F(VGroupTest, EnterAndLeaveFollowTheMouse) {
  WindowGroup g(nullptr, 100, 100);
  g.journal = &journal_;
  Add(g, "a", {0, 0, 40, 40});
  Add(g, "b", {50, 0, 90, 40});
  journal_.clear();
  Mouse(g, 10, 10);
  Mouse(g, 60, 10);
  Mouse(g, 60, 80);  // over the group itself
  EXPECT_EQ(journal_, (Journal{"enter a", "move a", "leave a", "enter b", "move b", "leave b",
                               "move group"}));
  EXPECT_EQ(g.GetObjectUnderMouse(), &g);
}

TEST_F(VGroupTest, AChildInsideAPassThroughGroupIsReachable) {
  VGroup g(0, 0, 100, 100);
  // The pass-through group is a candidate only where a child of its own is.
  auto* inner = new VGroup(0, 0, 100, 100);
  inner->SetState(VObject::kPassThrough);
  g.AppendChild(inner);
  Add(*inner, "deep", {20, 20, 40, 40});
  journal_.clear();
  Mouse(g, 30, 30, PageEvent::MouseDown);
  EXPECT_EQ(journal_, (Journal{"enter deep", "down deep"}));
  EXPECT_EQ(g.MouseChild(), inner);
  EXPECT_EQ(g.GetObjectUnderMouse()->GetName(), "deep");
  EXPECT_EQ(g.ChildAt(60, 60), nullptr);
}

TEST_F(VGroupTest, EventsReachTheGroupThenChildrenUntilConsumed) {
  VGroup g(0, 0, 100, 100);
  Add(g, "a", {0, 0, 10, 10});
  Box* b = Add(g, "b", {0, 0, 10, 10});
  Add(g, "c", {0, 0, 10, 10});
  journal_.clear();
  g.SendIdleEvent();
  EXPECT_EQ(journal_, (Journal{"idle a", "idle b", "idle c"}));
  b->consumes = true;
  journal_.clear();
  g.SendIdleEvent();
  EXPECT_EQ(journal_, (Journal{"idle a", "idle b"}));
  // Mouse codes through HandleEvent reach nobody.
  journal_.clear();
  PageEvent down(5, 5, PageEvent::MouseDown);
  g.HandleEvent(down);
  EXPECT_TRUE(journal_.empty());
}

TEST_F(VGroupTest, TheChildListAndNames) {
  VGroup page(0, 0, 100, 100);
  page.SetName("page");
  auto* bar = new VGroup(0, 0, 10, 10);
  bar->SetName("toolbar");
  page.AppendChild(bar);
  Box* label = Add(*bar, "label", {0, 0, 5, 5});
  EXPECT_EQ(page.FindByName("label", true), label);
  EXPECT_EQ(page.FindByName("label", false), nullptr);
  EXPECT_EQ(page.FindByName("page", false), &page);
  EXPECT_EQ(page.FindByName("", true), nullptr);
  EXPECT_EQ(page.Contains(label, true), label);
  EXPECT_EQ(page.Contains(label, false), nullptr);

  Box* a = Add(page, "a", {0, 0, 5, 5});
  Box* b = Add(page, "b", {0, 0, 5, 5});
  // Null, the group and a child already there are ignored.
  page.AppendChild(nullptr);
  page.AppendChild(&page);
  page.AppendChild(a);
  page.AddChild(b);
  auto order = [&] {
    std::string s;
    for (VObject* c = page.FirstChild(); c; c = c->Next()) s += c->GetName().str() + " ";
    return s;
  };
  EXPECT_EQ(order(), "toolbar a b ");
  page.BringToFront(bar);
  EXPECT_EQ(order(), "a b toolbar ");
  page.SendToBack(b);
  EXPECT_EQ(order(), "b a toolbar ");
  page.BringToFront(label);  // not a direct child: nothing
  EXPECT_EQ(order(), "b a toolbar ");
  Box stranger("x", 0, 0, 1, 1);
  EXPECT_EQ(page.RemoveChild(&stranger), nullptr);
  EXPECT_EQ(page.RemoveChild(a), a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(order(), "b toolbar ");
  delete a;
  EXPECT_EQ(page.LastChild(), bar);
}

TEST_F(VGroupTest, OpaqueChildrenHideWhatLiesBelow) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                              nullptr, nullptr));
  struct Case {
    std::vector<RECT> children;  // in order; the last one is transparent when negative width
    Journal drawn;
  };
  WindowGroup g(&window, 100, 100);
  Add(g, "low", {0, 0, 50, 50});
  Add(g, "full", {0, 0, 100, 100});
  Add(g, "top", {10, 10, 20, 20});
  g.Initialize();
  CClientDC dc(&window);
  journal_.clear();
  g.Paint(&dc, RECT{0, 0, 100, 100});
  // The full-size child hides the group's background and the child below.
  EXPECT_EQ(journal_, (Journal{"draw full", "draw top"}));
  EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 0, 255));

  // Two children that cover the area only together: the group's own
  // background is not painted, both children are.
  WindowGroup halves(&window, 100, 100);
  Add(halves, "left", {0, 0, 50, 100});
  Add(halves, "right", {50, 0, 100, 100});
  halves.Initialize();
  journal_.clear();
  dc.FillSolidRect(0, 0, 100, 100, RGB(255, 0, 0));
  halves.Paint(&dc, RECT{0, 0, 100, 100});
  EXPECT_EQ(journal_, (Journal{"draw left", "draw right"}));

  // A transparent child covers nothing: the group paints its background.
  WindowGroup see(&window, 100, 100);
  Box* glass = Add(see, "glass", {0, 0, 100, 100});
  glass->SetState(glass->State() | VObject::kTransparent);
  see.Initialize();
  dc.FillSolidRect(0, 0, 100, 100, RGB(255, 0, 0));
  see.Paint(&dc, RECT{0, 0, 100, 100});
  EXPECT_EQ(dc.GetPixel(50, 50), kDefaultBackground);
  window.DestroyWindow();
}

}  // namespace
