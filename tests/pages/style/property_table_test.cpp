// The style table's entries: typed getters with their defaults, member
// lookup through types, the type tests, and the table's safety against
// types that refer to themselves and against structs that go away.
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

class PropertyTableTest : public PagesTest {
 protected:
  const Property* Q(const char* path) { return StyleTable().StyleQuery(path); }
};

TEST_F(PropertyTableTest, GettersGiveTheValueOnlyForTheirKindWhenSet) {
  Styles(
      "Align = (TOP, BOTTOM, top)\n"
      "Part = { Boolean visible = TRUE; Align relpos = TOP }\n"
      "S = { Boolean off = FALSE; Color black = 0x000000; Color none; Value v = 2.75;\n"
      "      Value big = 99999999999; Value unset; String empty = \"\"; File noname;\n"
      "      File pic = \"a.bmp\"; Rect flat = \"10 10 0 5\"; Rect box = \"1 2 3 4\";\n"
      "      Area nothing; Area two = \"0 0 5 5 10 10 5 5\"; Align up = TOP; Align down = BOTTOM;\n"
      "      Align lower = top; Part S2 { visible = FALSE; relpos = BOTTOM } }\n");
  const RECT def{7, 7, 8, 8};
  EXPECT_EQ(getBool(Q("S.off"), 1), 0);
  EXPECT_EQ(getBool(Q("S.v"), 5), 5);  // no conversion between kinds
  EXPECT_EQ(getBool(nullptr, 3), 3);
  EXPECT_EQ(getColor(Q("S.black"), 0x123456), 0x000000u);  // black is a colour
  EXPECT_EQ(getColor(Q("S.none"), 0x123456), 0x123456u);
  EXPECT_EQ(getValue(Q("S.v"), 0), 2.75);
  EXPECT_EQ(getValue(Q("S.unset"), -1.0), -1.0);  // unset, not 0.0
  EXPECT_EQ(getInt(Q("S.v"), 0), 2);
  EXPECT_EQ(getInt(Q("S.big"), 0), INT32_MAX);  // held at the int range
  EXPECT_EQ(getString(Q("S.empty"), "d"), "");
  EXPECT_EQ(getString(Q("S.v"), "d"), "d");
  EXPECT_EQ(getFile(Q("S.noname"), "d"), "d");
  EXPECT_EQ(getFile(Q("S.pic"), "d"), "a.bmp");
  EXPECT_EQ(getRect(Q("S.flat"), def).left, def.left);  // no width
  EXPECT_EQ(getRect(Q("S.box"), def).right, 4);
  EXPECT_EQ(getArea(Q("S.nothing"), Area(1, 1, 2, 2)).RectAt(0).left, 1);
  EXPECT_EQ(getArea(Q("S.two"), Area()).Count(), 2);
  EXPECT_EQ(getConstant(Q("S.up"), "d"), "TOP");
  EXPECT_TRUE(getTopBottom(Q("S.up"), false));
  EXPECT_FALSE(getTopBottom(Q("S.down"), true));
  EXPECT_TRUE(getTopBottom(Q("S.lower"), true));  // the comparison is exact
  EXPECT_FALSE(getTopBottom(Q("S.lower"), false));
  EXPECT_FALSE(getVisible(getStruct(Q("S.S2")), true));
  EXPECT_FALSE(getRelPos(getStruct(Q("S.S2")), true));
  EXPECT_TRUE(getVisible(nullptr, true));
  EXPECT_EQ(getStruct(Q("S.v")), nullptr);
}

TEST_F(PropertyTableTest, TransitionsBySeconds) {
  Styles(
      "Transition = (NONE, PIXELSTORM, RESIZE, RANDOM, Random)\n"
      "S = { Transition a = RESIZE; Transition b = Random; Transition c; String d = \"RESIZE\" }");
  EXPECT_EQ(getTransition(Q("S.a"), 0), 11);
  EXPECT_EQ(getTransition(Q("S.b"), 3), 3);  // not a transition name
  EXPECT_EQ(getTransition(Q("S.c"), 4), 0);  // the empty text is NONE
  EXPECT_EQ(getTransition(Q("S.d"), 5), 5);  // a String is no enumeration value
  struct Case {
    double seconds;
    DWORD ms;
  };
  const Case cases[] = {{2, 2000},
                        {2.0005, 2000},
                        {0, 0},
                        {-3, 0},
                        {2097152, 2097152000u},
                        {4294967.2955, 0xFFFFFFFFu},
                        {1e300, 0xFFFFFFFFu}};
  for (const Case& c : cases) EXPECT_EQ(SecondsToMilliseconds(c.seconds), c.ms) << c.seconds;
}

TEST_F(PropertyTableTest, LookupThroughTypesAndTheTypeTests) {
  Styles(
      "DefaultPage = { Value x = 1; Value y = 2 }\n"
      "DefaultPage Gallery { Value y = 3 }\n"
      "Gallery Wide;\n"
      "CADPage = { }\n"
      "Value DefaultPageValue\n");
  const auto* wide = getStruct(Q("Wide"));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(getInt(wide->LookupInherited(PropertyNameId("x")), 0), 1);
  EXPECT_EQ(getInt(wide->LookupInherited(PropertyNameId("y")), 0), 3);  // nearest wins
  PropertyTable& t = StyleTable();
  EXPECT_TRUE(t.IsDerived("Wide", "DefaultPage"));
  EXPECT_TRUE(t.IsDerived("DefaultPage", "DefaultPage"));
  EXPECT_FALSE(t.IsDerived("Wide", "CADPage"));
  EXPECT_FALSE(t.IsDerived("Nothing", "DefaultPage"));
  EXPECT_TRUE(PropertyTable::IsA(wide, "Gallery"));
  EXPECT_TRUE(PropertyTable::IsA(wide, "Wide"));
  EXPECT_FALSE(PropertyTable::IsA(Q("DefaultPageValue"), "DefaultPageValue"));
}

TEST_F(PropertyTableTest, RecursiveFindPrefersDirectMembersThenSubtreesInOrder) {
  Styles("N = { Value n }\nRoot = { N A { n = 1 }; N B { n = 2 } }");
  Property* root = StyleTable().MemberByName("Root");
  ASSERT_NE(root, nullptr);
  Property* n = root->Find("n", true);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(getInt(n, 0), 1);  // A's, found before B's and C's
  EXPECT_EQ(root->Find("n", false), nullptr);
  EXPECT_EQ(root->Find("Root", false), root);
}

TEST_F(PropertyTableTest, TypesThatReachThemselvesEndTheirChain) {
  // A struct redefined in terms of itself, and two that name each other:
  // every walk along a chain of types ends.
  Styles(
      "Label = { Value size = 1 }\n"
      "Label Label { Value own = 2 }\n"
      "A = { }\n"
      "A B { Value b = 1 }\n"
      "B A { Value a = 1 }\n"
      "A C { }\n");
  EXPECT_EQ(getInt(Q("Label.own"), 0), 2);
  EXPECT_EQ(Q("Label.missing"), nullptr);
  EXPECT_EQ(getInt(Q("C.b"), 0), 1);
  EXPECT_EQ(getInt(Q("C.a"), 0), 1);
  EXPECT_EQ(Q("C.nothing"), nullptr);
  PropertyTable& t = StyleTable();
  EXPECT_FALSE(t.IsDerived("C", "DefaultPage"));
  EXPECT_FALSE(t.IsDerived("Label", "Other"));
  EXPECT_FALSE(PropertyTable::IsA(Q("C"), "Other"));
  std::unique_ptr<PropertyStruct> s(ApplyStyleAssignments("C(b = 5)", nullptr));
  EXPECT_EQ(getInt(s->StyleQuery("b"), 0), 5);
  ClearLog();
  t.Print();
  EXPECT_FALSE(LogLines().empty());
}

TEST_F(PropertyTableTest, NoEntryKeepsALinkIntoAStructThatWentAway) {
  Styles(
      "Align = (LEFT, RIGHT)\n"
      "Font = { Value size = 10 }\n"
      "Label = { Font font; Align align = LEFT }\n");
  // A style that derives from a member struct of the table, and one with
  // an enumeration variable of the table's enumeration.
  std::unique_ptr<PropertyStruct> fontStyle(InstantiateAnonymous(Q("Label.font")));
  std::unique_ptr<PropertyStruct> labelStyle(ApplyStyleAssignments("Label(align = RIGHT)", nullptr));
  EXPECT_EQ(getInt(fontStyle->StyleQuery("size"), 0), 10);
  // A reload empties the table; the styles lose their bases instead of
  // reading freed memory.
  StyleTable().clear();
  EXPECT_EQ(fontStyle->StyleQuery("size"), nullptr);
  EXPECT_EQ(fontStyle->GetType(), nullptr);
  const auto* align = static_cast<const PropertyConst*>(labelStyle->MemberByName("align"));
  ASSERT_NE(align, nullptr);
  EXPECT_EQ(align->EnumType(), nullptr);
  ClearLog();
  labelStyle->Print();
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"struct ?", "enum align = RIGHT", "}"}));
  // Loaded again, the style held by name finds the new definition.
  Styles("Label = { Value font = 3 }");
  EXPECT_EQ(getInt(labelStyle->StyleQuery("font"), 0), 3);
}

TEST_F(PropertyTableTest, RedefiningAStructLeavesNoLinkIntoTheOldOne) {
  Styles("Font = { Value size = 10 }\nLabel = { Font font }\nLabel big { font.size = 20 }\n");
  // big's own font derives from Label's font directly; Label is replaced.
  Styles("Label = { Value other = 1 }\n");
  EXPECT_EQ(getInt(Q("big.font.size"), 0), 20);
  EXPECT_EQ(getInt(Q("big.other"), 0), 1);
}

TEST_F(PropertyTableTest, SetMemberFillsEmptySlotsAndKeepsOrder) {
  PropertyStruct s;
  s.SetMember("a", NewLeafProperty(kPropertyValue));
  s.SetMember("b", NewLeafProperty(kPropertyValue));
  Property* b = s.MemberByName("b");
  s.SetMember("a", NewLeafProperty(kPropertyString));
  EXPECT_EQ(s.MemberAt(0)->kind, kPropertyString);
  EXPECT_EQ(s.MemberAt(1), b);
  s.SetMember("c", nullptr);  // ignored
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.MemberAt(-1), nullptr);
  EXPECT_EQ(s.MemberAt(2), nullptr);
  s.SetMember("b", b);  // the same entry again is kept
  EXPECT_EQ(s.MemberAt(1), b);
}

}  // namespace
