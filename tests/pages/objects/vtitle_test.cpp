// Titles of server objects: where a page part puts them by the object's
// class and the part's style, their look before a style is read, and a
// title that follows the object's title.
#include <gtest/gtest.h>

#include <memory>

#include "pages/area/area.h"
#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vtitle.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/rect_text.h"
#include "pages/support/test_objects.h"

namespace {

using pages_test::ObjectsTest;
using pages_test::RectText;

constexpr char kTitleStyles[] =
    "Placement = (TOP, BOTTOM)\n"
    "Title = { Boolean visible = TRUE; Rect pos; Placement relpos; Boolean fitcaption = FALSE;"
    " Color fgcolor = 0x000000 }\n"
    "Part = { Title title { } }\n"
    "Part Hidden { title.visible = FALSE }\n"
    "Part Below { title.relpos = BOTTOM }\n"
    "Part Placed { title.pos = \"20 30 100 40\"; title.relpos = BOTTOM }\n"
    "Part Low { title.pos = \"20 30 100 10\" }\n";

class VTitleTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    objects_.Install();
    Styles(kTitleStyles);
  }
  void TearDown() override {
    objects_.Remove();
    ObjectsTest::TearDown();
  }
  pages_test::TestObjects objects_;
};

TEST_F(VTitleTest, WhereATitleGoesByClassAndStyle) {
  const int strip = VTitle::StripHeight();
  const Ref<KXObject> coll = objects_.Collection(1, {}, "Title=en:Harbour Lights\n");
  const Ref<KXObject> picture = objects_.Image(2, "Title=en:Quay at Dusk\n");
  const Ref<KXObject> text = objects_.Text(3, "Title=en:Ledger\n");
  const Ref<KXObject> untitled = objects_.Collection(4, {});
  struct Case {
    const char* what;
    Ref<KXObject> object;
    const char* partStyle;  // null: no part style
    const char* where;      // "" for no title
  };
  const std::string top = RectText(RECT{0, 0, 200, strip});
  const std::string bottom = RectText(RECT{0, 150 - strip, 200, 150});
  const Case cases[] = {
      {"collection, no style", coll, nullptr, top.c_str()},
      {"picture, no style", picture, nullptr, bottom.c_str()},
      {"text document", text, nullptr, ""},
      {"untitled", untitled, nullptr, ""},
      {"hidden", coll, "Hidden()", ""},
      {"relpos", coll, "Below()", bottom.c_str()},
      {"pos wins over relpos", coll, "Placed()", "20,30,120,70"},
      {"pos too low", coll, "Low()", ""},
  };
  for (const Case& c : cases) {
    Area area(0, 0, 200, 150);
    std::unique_ptr<PropertyStruct> style(
        c.partStyle ? ApplyStyleAssignments(c.partStyle, nullptr) : nullptr);
    std::unique_ptr<VTitle> title(VTitle::Create(area, c.object, style.get()));
    if (!*c.where) {
      EXPECT_EQ(title, nullptr) << c.what;
      continue;
    }
    ASSERT_NE(title, nullptr) << c.what;
    EXPECT_EQ(RectText(title->LayoutRect()), c.where) << c.what;
    EXPECT_EQ(title->GetName(), "title");
  }
  // The strip is taken off the area.
  Area area(0, 0, 200, 150);
  std::unique_ptr<VTitle> title(VTitle::Create(area, coll, nullptr));
  EXPECT_EQ(RectText(area.GetBounds()), RectText(RECT{0, strip, 200, 150}));
  // An area without room for a strip gives none.
  Area flat(0, 0, 200, strip - 1);
  EXPECT_EQ(std::unique_ptr<VTitle>(VTitle::Create(flat, coll, nullptr)), nullptr);
}

TEST_F(VTitleTest, ANewTitleIsWhiteOnRedDisabledAndFollowsItsObject) {
  const Ref<KXObject> coll = objects_.Collection(1, {}, "Title=en:Harbour Lights\n");
  auto* title = Add(new VTitle(0, 0, 200, 40, coll));
  EXPECT_EQ(title->CaptionText(), "Harbour Lights");
  EXPECT_EQ(title->FgColor(), 0x00FFFFFFu);
  EXPECT_EQ(title->BgColor(), 0x000000FFu);
  EXPECT_EQ(title->BgPercent(), 100);
  EXPECT_TRUE(title->Has(VObject::kDisabled));
  EXPECT_FALSE(title->Has(VObject::kTransparent));
  EXPECT_TRUE(title->LabelFlags() & VLabel::kFitCaption);
  EXPECT_LT(title->Rect().right - title->Rect().left, 200);  // fitted to its caption
  // "relpos" is for the page part, not for the title.
  EXPECT_FALSE(title->SetStringAttribute("relpos", "TOP"));
  EXPECT_TRUE(title->SetStringAttribute("caption", "Elsewhere"));
  // Invalidating takes the object's title again.
  title->Invalidate();
  EXPECT_EQ(title->CaptionText(), "Harbour Lights");
  // The language order decides which title shows.
  const Ref<KXObject> two = objects_.Collection(5, {}, "Title=en:Harbour\nTitle=ge:Hafen\n");
  auto* both = Add(new VTitle(0, 50, 200, 90, two));
  ASSERT_TRUE(parseLanguageOrder("ge,en"));
  both->Invalidate();
  EXPECT_EQ(both->CaptionText(), "Hafen");
  parseLanguageOrder("en,ge");
}

}  // namespace
