// Style statements: what each form adds to the style table (seen through
// the table's dump) and what it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/support/pages_fixture.h"

namespace {

using pages_test::PagesTest;
using Lines = std::vector<std::string>;

class StyleStatementsTest : public PagesTest {
 protected:
  // The parse's log lines, then the dump of the table (without its heading).
  std::pair<Lines, Lines> Parse(const std::string& body) {
    StyleTable().clear();
    ClearLog();
    Styles(body);
    Lines log = LogLines();
    ClearLog();
    StyleTable().Print();
    Lines dump = LogLines();
    if (!dump.empty()) dump.erase(dump.begin());
    return {log, dump};
  }
};

TEST_F(StyleStatementsTest, DeclarationsAndWhatTheyHold) {
  struct Case {
    const char* body;
    Lines dump;
    Lines log;
  };
  const Case cases[] = {
      {"Boolean b = 2 Boolean plain Boolean h = 0x100",
       {"Boolean b = TRUE", "Boolean plain = FALSE", "Boolean h = TRUE"}, {}},
      // 0xRRGGBB as written; red lands in the lowest byte.
      {"Color red = 0xFF0000 Color blue = 255 Color unset",
       {"Color red = (255,0,0)", "Color blue = (0,0,255)", "Color unset = (0,0,0)"}, {}},
      {"Value v = 1.5 Value n = 7 Value unset Value half = \"1/2\"",
       {"Value v = 1.500", "Value n = 7.000", "Value unset", "Value half = 240.000"}, {}},
      {"String s = \"Hi\" String script = <a <b> c> File f = \"x.bmp\"",
       {"String s = \"Hi\"", "String script = \"a <b> c\"", "File f = \"x.bmp\""}, {}},
      {"Rect r = \"10 20 30 40\" Area a = \"0 0 10 10  20 20 5 5\"",
       {"Rect r = (10,20, 40,60)", "Area a = { (0,0, 10x10)(20,20, 5x5) }"}, {}},
      {"Align = ( LEFT, CENTER RIGHT )\nL = { Align a = CENTER; Align b = MIDDLE; Align c }",
       {"Align = (LEFT, CENTER, RIGHT)", "struct L", "Align a = CENTER", "Align b = ",
        "Align c = ", "}"},
       {"Error in line 3 at 'MIDDLE': not a valid enumeration value MIDDLE"}},
      // A later declaration of a name takes the first one's place.
      {"S = { Value a = 1; Value b = 2; String a = \"3\" }",
       {"struct S", "String a = \"3\"", "Value b = 2.000", "}"}, {}},
      {"const Value top = 3 S = { const Value w = 10; w = 12 }\nS D { w = 12 }",
       {"const Value top = 3.000", "struct S", "const Value w = 10.000", "}", "struct D : S = {",
        "Value w = 12.000", "}"},
       {"Error in line 2 at '12': illegal assignment to const attribute 'w'"}},
      {"T = { Value q } S = { T t; t.q = 4; T u { q = 5 } }",
       {"struct T", "Value q", "}", "struct S", "struct t : T = {", "Value q = 4.000", "}",
        "struct u : T = {", "Value q = 5.000", "}", "}"},
       {}},
      {"T = { Value q } T plain;", {"struct T", "Value q", "}", "struct plain : T = {", "}"}, {}},
  };
  for (const Case& c : cases) {
    const auto [log, dump] = Parse(c.body);
    EXPECT_EQ(dump, c.dump) << c.body;
    EXPECT_EQ(log, c.log) << c.body;
  }
}

TEST_F(StyleStatementsTest, MalformedStatementsAreReportedAndSkipped) {
  struct Case {
    const char* body;
    Lines dump;
    Lines log;
  };
  const Case cases[] = {
      {"x = 5", {"struct x", "}"},
       {"Error in line 2 at '5': } missing", "Error in line 2 at '5': invalid token"}},
      {"Nosuch v { }", {"struct v", "}"},
       {"Error in line 2 at 'v': ; missing", "Error in line 2 at '{': = or identifier expected",
        "Error in line 2 at '{': invalid token", "Error in line 2 at '}': invalid token"}},
      {"Boolean 5", {}, {"Error in line 2 at '5': identifier expected",
                         "Error in line 2 at '5': invalid token"}},
      {"Boolean b = \"x\"", {"Boolean b = FALSE"},
       {"Error in line 2 at 'x': boolean value expected", "Error in line 2 at 'x': invalid token"}},
      {"S = { nosuch = 1 }", {"struct S", "}"},
       {"Error in line 2 at 'nosuch': unknown identifier", "Error in line 2 at '=': invalid token",
        "Error in line 2 at '1': invalid token"}},
      // A name of the top level only is no member of S: nothing is assigned.
      {"Value q S = { q = 1 }", {"Value q", "struct S", "}"},
       {"Error in line 2 at '=': invalid token", "Error in line 2 at '1': invalid token"}},
      {"S = { Value v = \"abc\"; Rect r = 5; Area a = \"1 2 3\"; File f = 2; String s = 3 }",
       {"struct S", "Value v", "Rect r = (0,0, 0,0)", "Area a = {  }", "File f = \"\"",
        "String s = \"\"", "}"},
       {"Error in line 2 at 'abc': numeric value expected",
        "Error in line 2 at '5': string containing rectangle coordinates expected",
        "Error in line 2 at '1 2 3': area coordinates syntax error",
        "Error in line 2 at '2': string containing filename or URL expected",
        "Error in line 2 at '3': string value expected", "Error in line 2 at '3': invalid token"}},
      {"T = { } S = { T t; t = 5 }", {"struct T", "}", "struct S", "struct t : T = {", "}", "}"},
       {"Error in line 2 at '5': invalid assignment to type or struct"}},
      {"S = { Value a", {"struct S", "Value a", "}"}, {"Error: } missing"}},
      {"Value v W = { v x }", {"Value v", "struct W", "}"},
       {"Error in line 2 at 'v': enum or structure expected",
        "Error in line 2 at 'x': unknown identifier"}},
      {"Align = (L) Align a", {"Align = (L)"},
       {"Error in line 2 at 'a': property Align is not a structure",
        "Error: = or identifier expected"}},
  };
  for (const Case& c : cases) {
    const auto [log, dump] = Parse(c.body);
    EXPECT_EQ(dump, c.dump) << c.body;
    EXPECT_EQ(log, c.log) << c.body;
  }
}

TEST_F(StyleStatementsTest, ATextWithoutTheHeaderAtItsFirstByteIsIgnored) {
  for (const char* text : {" <Style Description>\nValue v", "\n<Style Description>\nValue v",
                           "<style description>\nValue v", "Value v"}) {
    StyleTable().ParseStyleText(text);
    EXPECT_EQ(StyleTable().Count(), 0) << text;
  }
  EXPECT_TRUE(LogLines().empty());
  StyleTable().ParseStyleText("<Style Description>Value v");
  EXPECT_EQ(StyleTable().Count(), 1);
}

TEST_F(StyleStatementsTest, AnInstanceGetsItsOwnCopyOfAnInheritedStructOnAssignment) {
  Styles(
      "Font = { Value size = 10; String face = \"Arial\" }\n"
      "Label = { Font font; String caption = \"x\" }\n"
      "Label big { font.size = 20 }\n");
  const PropertyTable& t = StyleTable();
  EXPECT_EQ(getInt(t.StyleQuery("big.font.size"), 0), 20);
  EXPECT_EQ(getString(t.StyleQuery("big.font.face"), ""), "Arial");
  EXPECT_EQ(getString(t.StyleQuery("big.caption"), ""), "x");
  EXPECT_EQ(getInt(t.StyleQuery("Label.font.size"), 0), 10);
  // big's font is its own member; Label's is not touched.
  const auto* big = getStruct(t.StyleQuery("big"));
  ASSERT_NE(big, nullptr);
  EXPECT_NE(big->MemberByName("font"), nullptr);
  EXPECT_EQ(big->MemberByName("caption"), nullptr);
}

TEST_F(StyleStatementsTest, InstancesFollowARedefinitionOfTheirType) {
  Styles("A = { Value x = 1 }\nA inst;\nA = { Value x = 2; Value y = 3 }\n");
  EXPECT_EQ(getInt(StyleTable().StyleQuery("inst.x"), 0), 2);
  EXPECT_EQ(getInt(StyleTable().StyleQuery("inst.y"), 0), 3);
}

}  // namespace
