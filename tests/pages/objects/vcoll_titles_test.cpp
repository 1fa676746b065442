// Title lists of collections: the tile grid and its limits, the columns by
// title length, paging through long collections with the previous and
// next items, and the goto a click on a title queues.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vcoll_titles.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/test_objects.h"

namespace {

using pages_test::ObjectsTest;

// One column of tiles 32 pixels high (the default font size of 24, plus
// 8): an area 330 high holds ten of them between its borders of 5.
constexpr char kListStyles[] =
    "Label = { Boolean fitcaption = FALSE; String caption = \"\" }\n"
    "Title = { Boolean visible = FALSE }\n"
    "Collection = { Value columns = 1; Title title { }; Label item { };\n"
    "               Label prev { caption = \"en:earlier\" }; Label next { caption = \"en:later\" } }\n"
    "Collection Titled { title.visible = TRUE }\n";

class VCollTitlesTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    objects_.Install();
    Styles(kListStyles);
  }
  void TearDown() override {
    host_.reset();  // the lists go before their objects
    objects_.Remove();
    ObjectsTest::TearDown();
  }
  Ref<KXObject> Members(int n, int titleLength = 9) {
    std::vector<Ref<KXObject>> members;
    for (int i = 0; i < n; ++i) {
      // "Member 07", padded to the length asked for.
      std::string title = "Member " + std::string(i < 10 ? "0" : "") + std::to_string(i);
      if (titleLength > 9) title += std::string(static_cast<size_t>(titleLength - 9), 'x');
      members.push_back(objects_.Image(100 + i, ("Title=en:" + title + "\n").c_str()));
    }
    return objects_.Collection(1, members, "Title=en:Harbour Registry\n");
  }
  VCollTitles* List(const Ref<KXObject>& collection, const char* style = "Collection()",
                    const Area& area = Area(0, 0, 200, 330)) {
    auto* list = new VCollTitles(area, collection);
    if (style) list->SetStyle(ApplyStyleAssignments(style, nullptr));
    return Add(list);
  }
  // What the tiles show: "<" and ">" for the paging items, the member's
  // number for a title, "." for a hidden tile.
  static std::string Tiles(VCollTitles* list) {
    std::string out;
    for (int i = 0; i < list->TileCount(); ++i) {
      if (i == list->PrevSlot() && !list->PrevItem()->Has(VObject::kHidden)) {
        out += "<";
      } else if (i == list->NextSlot() && !list->NextItem()->Has(VObject::kHidden)) {
        out += ">";
      } else if (list->Item(i)->Has(VObject::kHidden)) {
        out += ".";
      } else {
        out += list->Item(i)->CaptionText().Mid(7, 2).str() + " ";
      }
      out += "|";
    }
    return out;
  }
  pages_test::TestObjects objects_;
};

TEST_F(VCollTitlesTest, PagingThroughTwelveMembersOnTenTiles) {
  VCollTitles* list = List(Members(12));
  ASSERT_EQ(list->TileCount(), 10);
  EXPECT_EQ(list->MemberCount(), 12);
  EXPECT_EQ(Tiles(list), "00 |01 |02 |03 |04 |05 |06 |07 |08 |>|");
  EXPECT_EQ(list->NextItem()->CaptionText(), "later");
  EXPECT_EQ(list->NextItem()->GetName(), "next");
  EXPECT_EQ(list->Item(0)->GetName(), "item1");
  list->NextPage();
  EXPECT_EQ(list->First(), 9);
  EXPECT_EQ(Tiles(list), "<|09 |10 |11 |.|.|.|.|.|.|");
  list->NextPage();  // nothing after the last page
  EXPECT_EQ(list->First(), 9);
  list->PreviousPage();
  EXPECT_EQ(list->First(), 0);
  EXPECT_EQ(Tiles(list), "00 |01 |02 |03 |04 |05 |06 |07 |08 |>|");
}

TEST_F(VCollTitlesTest, TheNextItemAppearsOnlyWhenMembersRemainBeyondThePage) {
  struct Case {
    int members;
    const char* second;  // the page after the first
    const char* third;   // "" when there is none
  };
  const Case cases[] = {
      // Exactly nine remain after the previous item: all shown, no next.
      {18, "<|09 |10 |11 |12 |13 |14 |15 |16 |17 |", ""},
      // One more: the next item, and the rest on a third page.
      {19, "<|09 |10 |11 |12 |13 |14 |15 |16 |>|", "<|17 |18 |.|.|.|.|.|.|.|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.members);
    VCollTitles* list = List(Members(c.members));
    list->NextPage();
    EXPECT_EQ(Tiles(list), c.second);
    list->NextPage();
    if (*c.third) {
      EXPECT_EQ(list->First(), 17);
      EXPECT_EQ(Tiles(list), c.third);
      // Back by a whole page of tiles: between two earlier page starts.
      list->PreviousPage();
      EXPECT_EQ(list->First(), 7);
      EXPECT_EQ(Tiles(list), "<|07 |08 |09 |10 |11 |12 |13 |14 |>|");
    } else {
      EXPECT_EQ(list->First(), 9);
    }
    delete list;
  }
}

TEST_F(VCollTitlesTest, ShowFromIsHeldWithinTheMembers) {
  VCollTitles* list = List(Members(12));
  list->ShowFrom(-3);
  EXPECT_EQ(list->First(), 0);
  list->ShowFrom(100);
  EXPECT_EQ(list->First(), 11);
  EXPECT_EQ(Tiles(list), "<|11 |.|.|.|.|.|.|.|.|");
  // A list that fits on one page has no paging items, whatever it starts at.
  VCollTitles* small = List(Members(3));
  EXPECT_EQ(small->PrevItem(), nullptr);
  small->ShowFrom(2);
  EXPECT_EQ(small->PrevSlot(), -1);
  EXPECT_FALSE(small->Item(0)->Has(VObject::kHidden));
}

TEST_F(VCollTitlesTest, ColumnsByTitleLengthAndTheLimitsOfTheArea) {
  const struct {
    int longest, columns;
  } lengths[] = {{60, 1}, {45, 1}, {44, 2}, {35, 2}, {34, 3}, {25, 3}, {24, 4}, {3, 4}};
  for (const auto& c : lengths) EXPECT_EQ(VCollTitles::ColumnsFor(c.longest, 0), c.columns);
  EXPECT_EQ(VCollTitles::ColumnsFor(60, 3), 3);

  Area area(0, 0, 200, 300);
  area.maxsizey = 80;
  VCollTitles list(area, Ref<KXObject>());
  EXPECT_EQ(list.TileArea().borderLeft, 5);
  EXPECT_EQ(list.TileArea().borderTop, 5);
  EXPECT_EQ(list.TileArea().borderRight, 5);
  EXPECT_EQ(list.TileArea().borderBottom, 5);
  EXPECT_EQ(list.TileArea().maxsizey, 50);
  // Without a "columns" of its own, titles of 30 bytes give three columns.
  Styles("Collection Free { columns = 0 }\n");
  VCollTitles* free = List(Members(6, 30), "Free()", Area(0, 0, 300, 100));
  EXPECT_EQ(free->TileArea().maxcolumns, 3);
}

TEST_F(VCollTitlesTest, AClickOnATitleQueuesAGotoOfItsMember) {
  const Ref<KXObject> coll = Members(12);
  VCollTitles* list = List(coll);
  list->NextPage();  // "<|09 |10 |11 |..."
  list->Notify(VLabel::kClicked, list->Item(2));
  ASSERT_EQ(shell_.gotoObjects.size(), 1u);
  EXPECT_EQ(shell_.gotoObjects[0]->getTitle().Left(9), "Member 10");
  // Through the mouse: the previous item pages back.
  const RECT r = list->PrevItem()->Rect();
  PageEvent down(r.left + 3, r.top + 3, PageEvent::MouseDown);
  host_->HandleMouse(r.left + 3, r.top + 3, down);
  PageEvent up(r.left + 3, r.top + 3, PageEvent::MouseUp);
  host_->HandleMouse(r.left + 3, r.top + 3, up);
  EXPECT_EQ(list->First(), 0);
  EXPECT_EQ(shell_.gotoObjects.size(), 1u);
}

TEST_F(VCollTitlesTest, TheCollectionsTitleAndObjectsThatAreNoCollection) {
  VCollTitles* titled = List(Members(3), "Titled()");
  ASSERT_NE(titled->Title(), nullptr);
  EXPECT_EQ(titled->Title()->CaptionText(), "Harbour Registry");
  EXPECT_EQ(titled->Title()->LayoutRect().top, 0);
  // The tiles begin below the title strip.
  EXPECT_GE(titled->Item(0)->Rect().top, VTitle::StripHeight());

  shell_.current = objects_.Image(7, "Title=en:Quay\n");
  ClearLog();
  VCollTitles* none = List(shell_.current);
  EXPECT_EQ(none->TileCount(), 0);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("Cannot display document ", 0), 0u) << lines[0];
}

}  // namespace
