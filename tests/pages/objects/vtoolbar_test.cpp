// The tool bar: its buttons from its style (and the styles it derives
// from), at most fifty of them, and which of them show while their
// command can run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtoolbar.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

using pages_test::ObjectsTest;

constexpr char kToolbarStyles[] =
    "Label = { Boolean fitcaption = FALSE; Rect pos; String caption = \"\";"
    " String onclick = \"\"; Boolean disabled = FALSE; Boolean visible = TRUE }\n"
    "Label Toolbutton { }\n"
    "Label Plain { }\n"
    "Toolbar = {\n"
    "  Toolbutton back { caption = \"Back\"; onclick = \"back\"; pos = \"0 0 60 20\" }\n"
    "  Toolbutton home { caption = \"Home\"; onclick = \"home\"; pos = \"0 30 60 20\" }\n"
    "  Plain note { caption = \"not a button\" }\n"
    "  Value width = 3\n"
    "}\n"
    // A derived bar: its own "back" replaces the inherited one.
    "Toolbar Harbour {\n"
    "  Toolbutton back { caption = \"Return\"; onclick = \"undo\" }\n"
    "  Toolbutton quit { caption = \"Quit\"; onclick = \"end\" }\n"
    "}\n";

class VToolbarTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    Styles(kToolbarStyles);
  }
  VToolbar* Bar(const char* styleText) {
    auto* bar = new VToolbar(0, 0, 320, 240);
    bar->SetStyle(ApplyStyleAssignments(styleText, nullptr));
    return Add(bar);
  }
  static std::vector<std::string> Captions(VToolbar* bar) {
    std::vector<std::string> out;
    for (int i = 0; i < bar->ButtonCount(); ++i) out.push_back(bar->Button(i)->CaptionText().str());
    return out;
  }
};

TEST_F(VToolbarTest, ButtonsComeFromToolbuttonMembersMostDerivedFirst) {
  VToolbar* bar = Bar("Harbour()");
  EXPECT_EQ(Captions(bar), (std::vector<std::string>{"Return", "Quit", "Home"}));
  EXPECT_EQ(bar->FindByName("note", true), nullptr);
  for (int i = 0; i < bar->ButtonCount(); ++i) {
    EXPECT_STREQ(bar->Button(i)->GetClassName(), "VLabel");
    EXPECT_TRUE(bar->Button(i)->LabelFlags() & VLabel::kBorder3d);
    EXPECT_TRUE(bar->Button(i)->Has(VObject::kStarted));
  }
  EXPECT_EQ(bar->State() & ~VObject::kInitialised, VObject::kPassThrough);
  // A bar without a style has no buttons.
  auto* bare = Add(new VToolbar(0, 0, 10, 10));
  EXPECT_EQ(bare->ButtonCount(), 0);
}

TEST_F(VToolbarTest, ButtonsShowWhileTheirCommandCanRun) {
  struct Case {
    const char* onclick;
    const char* asked;  // "" when the shell is not asked
    bool always;
  };
  // The first word found decides, in the table's order.
  const Case words[] = {
      {"undo", "back", false},          {"back", "back", false},
      {"redo", "forward", false},       {"next", "next", false},
      {"previous", "prev", false},      {"up", "up", false},
      {"goto korvexroot", "korvexroot", false}, {"root", "root", false},
      {"home", "home", false},          {"language", "language", true},
      {"parents", "parents", false},    {"history", "history", false},
      {"search", "search", false},      {"end", "end", true},
      {"beep", "", false},              {"Back", "", false},
  };
  for (const Case& c : words) {
    bool always = false;
    EXPECT_STREQ(ToolbarCommandWord(c.onclick, &always), c.asked) << c.onclick;
    EXPECT_EQ(always, c.always) << c.onclick;
  }

  VToolbar* bar = Bar("Harbour()");
  VToolButton* back = bar->Button(0);  // "undo"
  VToolButton* quit = bar->Button(1);  // "end": always
  VToolButton* home = bar->Button(2);
  EXPECT_TRUE(back->Has(VObject::kHidden));
  EXPECT_FALSE(quit->Has(VObject::kHidden));
  EXPECT_TRUE(home->Has(VObject::kHidden));
  shell_.runnable = {"back", "home"};
  bar->Invalidate();
  EXPECT_FALSE(back->Has(VObject::kHidden));
  EXPECT_FALSE(home->Has(VObject::kHidden));
  // A disabled button, or one without a line, is left as it is.
  shell_.runnable.clear();
  home->SetState(home->State() | VObject::kDisabled);
  back->SetOnClick("");
  shell_.asked.clear();
  bar->Invalidate();
  EXPECT_FALSE(back->Has(VObject::kHidden));
  EXPECT_FALSE(home->Has(VObject::kHidden));
  EXPECT_TRUE(shell_.asked.empty());
}

TEST_F(VToolbarTest, ClickingAButtonRunsItsLine) {
  VToolbar* bar = Bar("Toolbar()");
  shell_.runnable = {"back", "home"};
  bar->Invalidate();
  VToolButton* back = bar->Button(0);
  ASSERT_EQ(back->CaptionText(), "Back");
  const RECT r = back->Rect();
  PageEvent down(r.left + 5, r.top + 5, PageEvent::MouseDown);
  host_->HandleMouse(r.left + 5, r.top + 5, down);
  PageEvent up(r.left + 5, r.top + 5, PageEvent::MouseUp);
  host_->HandleMouse(r.left + 5, r.top + 5, up);
  EXPECT_EQ(shell_.lines, std::vector<std::string>{"back"});
}

TEST_F(VToolbarTest, AStyleWithMoreThanFiftyButtonsStopsAtFiftyAndSaysSo) {
  std::string style = "Toolbar Crowded {\n";
  for (int i = 0; i < 60; ++i) style += "  Toolbutton b" + std::to_string(i) + " { }\n";
  style += "}\n";
  Styles(style);
  ClearLog();
  VToolbar* bar = Bar("Crowded()");
  EXPECT_EQ(bar->ButtonCount(), VToolbar::kMaxButtons);
  int children = 0;
  for (VObject* c = bar->FirstChild(); c; c = c->Next()) ++children;
  EXPECT_EQ(children, VToolbar::kMaxButtons);
  EXPECT_EQ(LogLines(), std::vector<std::string>{"toolbar: only the first 50 tool buttons are shown"});
}

}  // namespace
