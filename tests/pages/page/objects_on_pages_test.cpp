// Default pages in the shipped look (MAIN.STY): a collection shows its
// title, its members as titles to click and the tool bar; clicks given as
// mouse input to the window become the shell's gotos and command lines,
// and a line that would replace the page leaves it whole while the click
// is still being handled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "pages/objects/vcoll_titles.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/objects/vtoolbar.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/style/style_files.h"
#include "pages/support/page_fixture.h"
#include "support/golden.h"

namespace {

using pages_test::PageTest;
using Lines = std::vector<std::string>;

class ObjectsOnPagesTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    LoadStyleFile((std::string(ZEMRA_SOURCE_DIR) + "/data/MAIN.STY").c_str());
    shell_.effects = 0;
  }
  template <class T>
  static T* Find(VGroup* group, const char* className) {
    for (VObject* c = group->FirstChild(); c; c = c->Next())
      if (std::string(c->GetClassName()) == className) return dynamic_cast<T*>(c);
    return nullptr;
  }
  // A click at the middle of the object, as the display reports it.
  static void ClickOn(VObject* object) {
    const RECT r = object->Rect();
    win::headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Settle();
  }
};

TEST_F(ObjectsOnPagesTest, ACollectionPageListsItsMembersAndNavigatesByClicks) {
  const Ref<KXObject> quay = objects_.Image(2, "Title=en:Quay at Dusk\n");
  const Ref<KXObject> ledger = objects_.Text(3, "Title=en:Harbour Ledger\n");
  const Ref<KXObject> coll =
      objects_.Collection(1, {quay, ledger}, "Title=en:Tamsel Harbour\nLayout=DefaultPage()\n");
  shell_.runnable = {"back"};
  VPage* page = Show(coll);
  ASSERT_NE(page, nullptr);

  auto* list = Find<VCollTitles>(page, "VCollTitles");
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->Title(), nullptr);
  EXPECT_EQ(list->Title()->CaptionText(), "Tamsel Harbour");
  ASSERT_EQ(list->TileCount(), 2);
  // Sorted by title: the ledger first.
  EXPECT_EQ(list->Item(0)->CaptionText(), "Harbour Ledger");
  EXPECT_EQ(list->Item(1)->CaptionText(), "Quay at Dusk");

  auto* toolbar = Find<VToolbar>(page, "VToolbar");
  ASSERT_NE(toolbar, nullptr);
  VObject* back = toolbar->FindByName("back", false);
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(back->Has(VObject::kHidden));
  EXPECT_TRUE(toolbar->FindByName("home", false)->Has(VObject::kHidden));
  EXPECT_FALSE(toolbar->FindByName("quit", false)->Has(VObject::kHidden));

  // The page as it shows: the paper background, the collection's title,
  // its two titles and the tool bar's Back and Quit.
  Settle();
  const auto shot = win::headless::CaptureWindow(page->GetWindow()->GetSafeHwnd());
  ASSERT_TRUE(shot);
  testing_support::ExpectGolden(*shot, "tests/pages/page/golden/collection_page.png");

  ClickOn(list->Item(1));
  ASSERT_EQ(shell_.gotoObjects.size(), 1u);
  EXPECT_EQ(shell_.gotoObjects[0], quay);
  ClickOn(back);
  EXPECT_EQ(shell_.lines, Lines{"back"});
  EXPECT_EQ(CurrentPage(), page);
}

TEST_F(ObjectsOnPagesTest, ALineThatReplacesThePageRunsAfterTheClickIsHandled) {
  Styles("DefaultPage Reloading { toolbar.back.onclick = \"reload\" }\n");
  shell_.runnable = {"back"};
  const Ref<KXObject> coll = objects_.Collection(1, {}, "Layout=Reloading()\n");
  VPage* page = Show(coll);
  ASSERT_NE(page, nullptr);
  auto* toolbar = Find<VToolbar>(page, "VToolbar");
  ASSERT_NE(toolbar, nullptr);
  VObject* back = toolbar->FindByName("back", false);
  ASSERT_NE(back, nullptr);
  back->SetState(back->State() & ~VObject::kHidden);
  ClickOn(back);
  // The shell was handed the line; the page it would replace is whole.
  EXPECT_EQ(shell_.lines, Lines{"reload"});
  EXPECT_EQ(CurrentPage(), page);
  EXPECT_EQ(toolbar->FindByName("back", false), back);
  // The shell runs it at idle time: the page is replaced then.
  VPage* next = Show(coll);
  ASSERT_NE(next, nullptr);
  EXPECT_NE(next, page);
}

}  // namespace
