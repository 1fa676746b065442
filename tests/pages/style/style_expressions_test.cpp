// Dotted-path queries and style expressions over the style table.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/pages_fixture.h"

namespace {

using pages_test::PagesTest;
using Lines = std::vector<std::string>;

constexpr char kLabelStyles[] =
    "Font = { Value size = 10; String face = \"Arial\" }\n"
    "Label = { Font font; String caption = \"Label\"; Color fgcolor = 0x000000 }\n"
    "Label Title { font.size = 18 }\n";

class StyleExpressionsTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    Styles(kLabelStyles);
    ClearLog();
  }
};

TEST_F(StyleExpressionsTest, QueriesFollowMembersAndTypes) {
  struct Case {
    const char* path;
    bool found;
    Lines log;
  };
  const Case cases[] = {
      {"Label.font.size", true, {}},
      {"Title.font.size", true, {}},
      {"Title.font.face", true, {}},  // from Label's font, through Title's own font
      {"  Title . caption", false, {"Error: identifier expected in query"}},
      {"Label.caption.x", false, {"Error: invalid indirection in query"}},
      {"Label.", false, {"Error: field expected in query"}},
      {"Label..font", false, {"Error: identifier expected in query"}},
      {"   ", false, {}},
      {"", false, {}},
      {"Nothing.at.all", false, {}},
      {"9lives", false, {"Error: identifier expected in query"}},
  };
  for (const Case& c : cases) {
    ClearLog();
    EXPECT_EQ(StyleTable().StyleQuery(c.path) != nullptr, c.found) << c.path;
    EXPECT_EQ(LogLines(), c.log) << c.path;
  }
  EXPECT_EQ(getInt(StyleTable().StyleQuery("Title.font.size"), 0), 18);
  EXPECT_EQ(getString(StyleTable().StyleQuery("Title.font.face"), ""), "Arial");
  // The first name is looked up in the struct and its types only.
  const PropertyStruct* title = getStruct(StyleTable().StyleQuery("Title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->StyleQuery("Label"), nullptr);
  EXPECT_NE(title->StyleQuery("caption"), nullptr);
}

TEST_F(StyleExpressionsTest, ExpressionsDeriveFreshStructs) {
  struct Case {
    const char* text;
    const char* caption;      // "" when the result has no caption
    COLORREF color;
    bool ownCaption;
    Lines log;
  };
  const Case cases[] = {
      {"Label(caption = \"Hi\"; fgcolor = 0xFF0000)", "Hi", 0x0000FF, true, {}},
      {"Label()", "Label", 0x000000, false, {}},
      {"Title(caption = \"T\")", "T", 0x000000, true, {}},
      // Without a name the assignments go to a struct derived from the base
      // (none here): nothing to assign to.
      {"caption = \"Hi\"", "", kUnsetColor, false,
       {"Error at 'caption': unknown identifier", "Error at '=': identifier expected",
        "Error at 'Hi': identifier expected"}},
      {"Label(caption = \"Hi\"", "Hi", 0x000000, true,
       {") missing in style assignment Label(caption = \"Hi\""}},
      {"Nosuch(caption = \"Hi\")", "", kUnsetColor, false,
       {"Error at 'caption': unknown identifier", "Error at '=': identifier expected",
        "Error at 'Hi': identifier expected"}},
      {"Label(5)", "Label", 0x000000, false, {"Error at '5': identifier expected"}},
  };
  for (const Case& c : cases) {
    ClearLog();
    std::unique_ptr<PropertyStruct> s(ApplyStyleAssignments(c.text, nullptr));
    ASSERT_NE(s, nullptr) << c.text;
    EXPECT_EQ(getString(s->StyleQuery("caption"), ""), c.caption) << c.text;
    EXPECT_EQ(getColor(s->StyleQuery("fgcolor"), kUnsetColor), c.color) << c.text;
    EXPECT_EQ(s->MemberByName("caption") != nullptr, c.ownCaption) << c.text;
    EXPECT_EQ(LogLines(), c.log) << c.text;
  }
  // The table's structs are never changed by an expression.
  EXPECT_EQ(getString(StyleTable().StyleQuery("Label.caption"), ""), "Label");
}

TEST_F(StyleExpressionsTest, AssignmentsWithoutANameRefineTheBase) {
  std::unique_ptr<PropertyStruct> base(ApplyStyleAssignments("Label()", nullptr));
  std::unique_ptr<PropertyStruct> s(ApplyStyleAssignments("caption = \"Hi\"", base.get()));
  EXPECT_EQ(getString(s->StyleQuery("caption"), ""), "Hi");
  EXPECT_EQ(getString(base->StyleQuery("caption"), ""), "Label");
  // A name found in the base wins over the table's.
  Styles("Holder = { Label Title { caption = \"inner\" } }");
  const PropertyStruct* holder = getStruct(StyleTable().StyleQuery("Holder"));
  std::unique_ptr<PropertyStruct> inner(ApplyStyleAssignments("Title()", holder));
  EXPECT_EQ(getString(inner->StyleQuery("caption"), ""), "inner");
  // ApplyStyleAssignmentsTo never looks the name up.
  std::unique_ptr<PropertyStruct> to(ApplyStyleAssignmentsTo("Title(caption = \"x\")", base.get()));
  EXPECT_EQ(getInt(to->StyleQuery("font.size"), 0), 10);
  EXPECT_EQ(getString(to->StyleQuery("caption"), ""), "x");
}

TEST_F(StyleExpressionsTest, StyleNames) {
  EXPECT_EQ(GetStyleName("DefaultPage()"), "DefaultPage");
  EXPECT_EQ(GetStyleName("  Gallery (x = 1) in korvex://h/s.sty"), "Gallery");
  EXPECT_EQ(GetStyleName("DefaultPage"), "");
  EXPECT_EQ(GetStyleName("x = 1"), "");
  EXPECT_EQ(GetStyleName(""), "");
  EXPECT_EQ(GetStyleName(nullptr), "");
}

TEST_F(StyleExpressionsTest, OnlineStylesAreFetchedThroughTheCache) {
  const std::string file =
      tmp_.write("online.sty", "<Style Description>\nLabel Online { caption = \"net\" }\n");
  shell_.cached["korvex://host/styles/online.sty"] = file;
  LoadOnlineStyle("Online(caption = \"x\") in korvex://host/styles/online.sty\r");
  EXPECT_EQ(getString(StyleTable().StyleQuery("Online.caption"), ""), "net");

  LoadOnlineStyle("Online() in missing.sty");
  LoadOnlineStyle("Online() also korvex://host/none.sty");  // no "in "
  LoadOnlineStyle("Online in korvex://x)");                 // "in " before the last ")"
  LoadOnlineStyle("Online() in   ");
  EXPECT_EQ(shell_.fetched, (std::vector<std::string>{"korvex://host/styles/online.sty", "missing.sty"}));
  EXPECT_EQ(LogLines(), Lines{"Cannot access online style from missing.sty"});
}

}  // namespace
