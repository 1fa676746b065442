// Switching pages: which page and page style an object gets (its Layout,
// its collection head's, the rules, the default), what happens to the old
// page and the background sound, and a page creation that fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/objects/background_sound.h"
#include "pages/objects/vhint_dlg.h"
#include "pages/page/page_switch.h"
#include "pages/page/vdefpage.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/support/page_fixture.h"
#include "pages/support/rect_text.h"
#include "pages/support/test_page_objects.h"

namespace {

using pages_test::Box;
using pages_test::PageTest;
using pages_test::RectText;
using Lines = std::vector<std::string>;

constexpr char kPageStyles[] =
    "DefaultPage = { Value x = 1 }\n"
    "DefaultPage Gallery { x = 2 }\n"
    "DefaultPage HeadPage { x = 3 }\n"
    "DefaultPage RulePage { x = 4 }\n"
    "Music = { File filename }\n"
    "DefaultPage Concert { Music backmusic { filename = \"theme.wav\" } }\n"
    "DefaultPage Encore { Music backmusic { filename = \"theme.wav\" } }\n"
    "DefaultPage Quiet { Music backmusic { filename = \"Nothing\" } }\n"
    "CADPage = { }\n"
    "NotAPage = { }\n";

class PageSwitchTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    Styles(kPageStyles);
  }
  static CString StyleName(VPage* page) {
    const PropertyStruct* s = page ? page->GetStyle() : nullptr;
    for (const char* name : {"Gallery", "HeadPage", "RulePage", "Concert", "Encore", "Quiet"})
      if (PropertyTable::IsA(s, name)) return name;
    return s ? "other" : "none";
  }
};

TEST_F(PageSwitchTest, ThePageExpressionComesFromLayoutHeadRulesOrTheDefault) {
  TheRuleSet().parse("imagecnt > 1 => RulePage(x = 5)\n");
  const Ref<KXObject> head =
      objects_.Text(20, "PresentationHints=FullCollectionHead\nLayout=HeadPage()\n");
  struct Case {
    Ref<KXObject> object;
    const char* expression;
    const char* style;
    const char* styleOfPage;
  };
  const Case cases[] = {
      {objects_.Collection(1, {objects_.Image(2)}, "Layout=Gallery(x = 9)\n"), "Gallery(x = 9)",
       "Gallery", "Gallery"},
      {objects_.Collection(3, {head, objects_.Image(4)}), "HeadPage()", "HeadPage", "HeadPage"},
      {objects_.Cluster(5, {objects_.Image(6), objects_.Image(7)}), " RulePage(x = 5)", "RulePage",
       "RulePage"},
      // A style based on no page class falls through to the rules, then
      // to the default page without a style.
      {objects_.Collection(8, {objects_.Image(9)}, "Layout=NotAPage()\n"), "", "", "none"},
      {objects_.Collection(10, {}), "", "", "none"},
  };
  for (const Case& c : cases) {
    VPage* page = Show(c.object);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(CurrentPage(), page);
    EXPECT_STREQ(page->GetClassName(), "VDefPage");
    EXPECT_EQ(CurrentPageExpression(), c.expression) << c.expression;
    EXPECT_EQ(CurrentPageStyle(), c.style) << c.expression;
    EXPECT_EQ(StyleName(page), c.styleOfPage) << c.expression;
  }
  EXPECT_EQ(LogLines(), Lines{"cannot create page with unknown page style NotAPage"});
  // The page's own style refines the page expression with the Layout.
  Show(objects_.Collection(11, {}, "Layout=Gallery(x = 7)\n"));
  EXPECT_EQ(getInt(CurrentPage()->GetStyle()->StyleQuery("x"), 0), 7);
}

TEST_F(PageSwitchTest, TheNewPageReplacesTheOldOneInThePageParent) {
  VPage* first = Show(objects_.Collection(1, {}));
  ASSERT_NE(first, nullptr);
  const HWND firstWindow = first->GetWindow()->GetSafeHwnd();
  EXPECT_EQ(GetParent(firstWindow), parent_.GetSafeHwnd());
  EXPECT_EQ(GetDlgCtrlID(firstWindow), static_cast<int>(VPage::kControlId));
  EXPECT_TRUE(IsWindowVisible(firstWindow));
  RECT r;
  GetWindowRect(firstWindow, &r);
  EXPECT_EQ(RectText(r), "0,0,320,240");
  EXPECT_FALSE(first->Has(VObject::kInactive | VObject::kHidden));
  EXPECT_TRUE(first->ClockRunning());
  EXPECT_EQ(shell_.startupCleared, 1);

  VPage* second = Show(objects_.Collection(2, {}));
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(firstWindow));  // the old page went with its window
  EXPECT_EQ(CurrentPage(), second);
  EXPECT_EQ(shell_.startupCleared, 2);
}

TEST_F(PageSwitchTest, AFailedPageCreationEntersTheOldPageAgain) {
  VPage* old = Show(objects_.Collection(1, {}));
  ASSERT_NE(old, nullptr);
  shell_.current = objects_.Collection(2, {});
  CWnd noWindow;  // a parent that is no window: the page window cannot be made
  EXPECT_EQ(setCurrentPage(&noWindow, TRUE), nullptr);
  EXPECT_EQ(CurrentPage(), old);
  EXPECT_FALSE(old->Has(VObject::kInactive));
  EXPECT_TRUE(old->ClockRunning());
  EXPECT_TRUE(IsWindowVisible(old->GetWindow()->GetSafeHwnd()));
}

TEST_F(PageSwitchTest, TheBackgroundSoundTravelsWithThePagesThatWantIt) {
  VPage* concert = Show(objects_.Collection(1, {}, "Layout=Concert()\n"));
  ASSERT_NE(concert, nullptr);
  // The player the page's style asks for (a box stands in for it).
  auto* player = new Box("player", 0, 0, 0, 0);
  concert->AppendChild(player);
  SetBackgroundSound(player, "theme.wav");

  // The same music: the player moves to the next page and keeps playing.
  VPage* encore = Show(objects_.Collection(2, {}, "Layout=Encore()\n"));
  EXPECT_EQ(BackgroundSound(), player);
  EXPECT_EQ(player->Parent(), encore);
  // A page style without music leaves it playing.
  VPage* plain = Show(objects_.Collection(3, {}, "Layout=Gallery()\n"));
  EXPECT_EQ(player->Parent(), plain);
  // "nothing" stops it: the player is deleted and forgotten.
  Show(objects_.Collection(4, {}, "Layout=Quiet()\n"));
  EXPECT_EQ(BackgroundSound(), nullptr);
  EXPECT_EQ(CurrentPage()->FindByName("player", true), nullptr);
}

TEST_F(PageSwitchTest, DestroyingThePageOfTheBackgroundSoundForgetsIt) {
  VPage* concert = Show(objects_.Collection(1, {}, "Layout=Concert()\n"));
  auto* player = new Box("player", 0, 0, 0, 0);
  concert->AppendChild(player);
  SetBackgroundSound(player, "theme.wav");
  // A switch that shows the new page at once destroys the old page (and
  // its player) before the sound would be moved.
  shell_.current = objects_.Collection(2, {});
  ASSERT_NE(setCurrentPage(&parent_, FALSE), nullptr);
  EXPECT_EQ(BackgroundSound(), nullptr);
  // So does destroying the current page.
  auto* again = new Box("again", 0, 0, 0, 0);
  CurrentPage()->AppendChild(again);
  SetBackgroundSound(again, "x.wav");
  DestroyCurrentPage();
  EXPECT_EQ(BackgroundSound(), nullptr);
}


TEST_F(PageSwitchTest, TheHintWindowIsMadeOnceAndHiddenAtEverySwitch) {
  Styles("Label = { Boolean fitcaption = TRUE; String hint = \"\" }\n"
         "HintDialog = { Value delay = 0; Label hint { } }\n");
  Show(objects_.Collection(1, {}));
  ASSERT_EQ(shell_.hintWindowsSet, 1);
  VHintDlg* hint = VHintDlg::GetHintWindow();
  ASSERT_NE(hint, nullptr);
  const HWND window = hint->GetWindow()->GetSafeHwnd();
  // A child of the main frame, styled by "HintDialog()", hidden.
  EXPECT_EQ(GetParent(window), frame_.GetSafeHwnd());
  EXPECT_EQ(hint->Delay(), 0);
  EXPECT_FALSE(IsWindowVisible(window));
  hint->ShowHint(MultiLangString::OnePart("Harbour"));
  EXPECT_TRUE(IsWindowVisible(window));
  for (int id = 2; id < 5; ++id) {
    Show(objects_.Collection(id, {}));
    EXPECT_EQ(VHintDlg::GetHintWindow(), hint);
    EXPECT_FALSE(IsWindowVisible(window)) << id;
    hint->ShowHint(MultiLangString::OnePart(id % 2 ? "Quay" : "Harbour"));
  }
  EXPECT_EQ(shell_.hintWindowsSet, 1);
}

}  // namespace
