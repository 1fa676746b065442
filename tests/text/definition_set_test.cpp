#include "text/definition_set.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "text/token_items.h"
#include "text/value_table.h"

namespace {

DefinitionSet& Read(DefinitionSet& set, const std::string& text) {
  std::istringstream in(text);
  EXPECT_TRUE(set.Read(in));
  return set;
}

std::string Params(const Action& a) {
  std::string out = a.name().str() + ":" + std::to_string(a.kind());
  for (int i = 0; i < a.parameterCount(); ++i) out += "|" + a.parameter(i).str();
  return out;
}

TEST(DefinitionSet, ReadsSections) {
  DefinitionSet set;
  Read(set,
       "# a definition file\n"
       "STRINGTRANSLATIONLIST SIZES { big = 14, Small = 8, nokey, }\n"
       "style Head { SCALE = @SIZES(big)0 }\n"
       "action x { FUNCT = 5, PARAM1 = \"a b\", PARAM2 = c d }\n"
       "ACTION y { FUNCTION = 40, PARAM13 = z, PARAMS2 = w }\n"
       "EVENT H1|| { x, nosuch, x }\n"
       "EVENT ~H1|| { y }\n"
       "EVENT H2 { x }\n"
       "EVENT H3|| { later }\n"
       "ACTION later { FUNCT = 1 }\n"
       "PREFORMATEDTAGS { PRE, XMP }\n");
  ASSERT_NE(set.FindList("SIZES"), nullptr);
  EXPECT_EQ(set.FindList("SIZES")->Count(), 2);
  ASSERT_NE(set.FindStyle("Head"), nullptr);
  EXPECT_EQ(set.FindStyle("Head")->style.scale.value, 140);
  ASSERT_NE(set.FindAction("x"), nullptr);
  EXPECT_EQ(Params(*set.FindAction("x")), "x:5||a b|c");
  EXPECT_EQ(Params(*set.FindAction("y")), "y:0|w");
  const EventDefinition* h1 = set.FindEvent("H1", "", "");
  ASSERT_NE(h1, nullptr);
  ASSERT_EQ(h1->actions.size(), 2u);
  EXPECT_EQ(h1->actions[0].name().str(), "x");
  EXPECT_EQ(set.FindEvent("H2", "", ""), nullptr);
  ASSERT_NE(set.FindEvent("H3", "", ""), nullptr);
  EXPECT_TRUE(set.FindEvent("H3", "", "")->actions.empty());
  EXPECT_TRUE(set.IsPreformatted("XMP"));
  EXPECT_EQ(set.PreformattedCount(), 2);
}

TEST(DefinitionSet, EmptyAndOddFiles) {
  DefinitionSet empty;
  Read(empty, "");
  EXPECT_EQ(empty.StyleCount(), 0);
  DefinitionSet odd;
  Read(odd, "PREFORMATEDTAGS { }\nnoise , here }\nACTION a { FUNCT = 2 ");
  EXPECT_TRUE(odd.IsPreformatted("}"));
  EXPECT_TRUE(odd.IsPreformatted("here"));  // the "," after "noise" went on with the list
  EXPECT_EQ(odd.PreformattedCount(), 2);
  ASSERT_NE(odd.FindAction("a"), nullptr);  // kept at the end of the input
  EXPECT_EQ(odd.FindAction("a")->kind(), 2);
}

TEST(DefinitionSet, EventMatchingOrder) {
  DefinitionSet set;
  Read(set,
       "ACTION a { FUNCT = 1 } ACTION b { FUNCT = 2 } ACTION c { FUNCT = 3 }\n"
       "EVENT IMG|| { a } EVENT |ALIGN| { b } EVENT IMG|ALIGN|TOP { c }\n");
  TokenEvent start(0, "IMG");
  start.AddPair("ALIGN", "top");
  std::vector<const EventDefinition*> found;
  ASSERT_TRUE(set.FindEventDefinitions(start, found));
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0]->actions[0].name().str(), "a");
  EXPECT_EQ(found[1]->actions[0].name().str(), "b");
  EXPECT_EQ(found[2]->actions[0].name().str(), "c");
  TokenEvent end(0, "~IMG");
  end.AddPair("ALIGN", "top");
  found.clear();
  ASSERT_TRUE(set.FindEventDefinitions(end, found));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]->actions[0].name().str(), "b");
  TokenEvent emptyValue(0, "P");
  emptyValue.AddPair("ALIGN", "");
  found.clear();
  EXPECT_TRUE(set.FindEventDefinitions(emptyValue, found));
  EXPECT_EQ(found.size(), 1u);
}

TEST(DefinitionSet, ApplyEventTranslatesCopies) {
  DefinitionSet set;
  Read(set,
       "STRINGTRANSLATIONLIST ALIGNS { left = 0, center = 2 }\n"
       "ACTION link { FUNCT = 22, PARAM1 = $HREF, PARAM2 = 1, PARAM3 = @ALIGNS($ALIGN) }\n"
       "EVENT A|| { link }\n");
  ValueTable values;
  std::vector<Action> actions;
  TokenEvent a(0, "A");
  a.AddPair("HREF", "x.html");
  a.AddPair("ALIGN", "center");
  ASSERT_TRUE(set.ApplyEvent(a, values, actions));
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(Params(actions[0]), "link:22||x.html|1|2");
  EXPECT_EQ(Params(*set.FindAction("link")), "link:22||$HREF|1|@ALIGNS($ALIGN)");

  values.Clear();
  actions.clear();
  TokenEvent bare(0, "A");
  ASSERT_TRUE(set.ApplyEvent(bare, values, actions));
  EXPECT_EQ(Params(actions[0]), "link:22|||1");
  TokenEvent none(0, "B");
  EXPECT_FALSE(set.ApplyEvent(none, values, actions));
}

// The actions of events without attributes are worked out once per name;
// they must stay what ApplyEvent gives, for more names than are kept at
// hand, and follow definitions entered later.
TEST(DefinitionSet, PlainEventActionsMatchApplyEvent) {
  DefinitionSet set;
  Read(set,
       "STRINGTRANSLATIONLIST SIDES { left = 0, right = 2 }\n"
       "ACTION a { FUNCT = 1, PARAM0 = @SIDES(right), PARAM1 = $HREF }\n"
       "ACTION b { FUNCT = 13, PARAM0 = plain }\n");
  std::string events;
  const std::vector<std::string> names = {"Word", "~Word", "WordSpace", "P", "~P", "H1", "~H1",
                                          "LI", "~LI", "TD", "~TD", "B"};
  for (size_t i = 0; i + 1 < names.size(); ++i)
    events += "EVENT " + names[i] + "|| { " + (i % 2 ? "b" : "a, b") + " }\n";
  Read(set, events);

  auto expected = [&](const std::string& name) {
    TokenEvent e(0, CString(name));
    ValueTable values;
    std::vector<Action> actions;
    std::string out = set.ApplyEvent(e, values, actions) ? "" : "none";
    for (const Action& a : actions) out += Params(a) + ";";
    return out;
  };
  auto plain = [&](const std::string& name) {
    const std::vector<Action>* actions = set.PlainEventActions(name);
    std::string out = actions ? "" : "none";
    if (actions)
      for (const Action& a : *actions) out += Params(a) + ";";
    return out;
  };
  EXPECT_EQ(plain("Word"), "a:1|2;b:13|plain;");
  for (int round = 0; round < 3; ++round)
    for (const std::string& name : names) EXPECT_EQ(plain(name), expected(name)) << name << " round " << round;
  EXPECT_EQ(plain("B"), "none");

  Read(set, "EVENT B|| { b }\nEVENT Word|| { b }\n");
  EXPECT_EQ(plain("B"), "b:13|plain;");
  EXPECT_EQ(plain("Word"), "b:13|plain;");
  Read(set, "STRINGTRANSLATIONLIST SIDES { right = 7 }\nEVENT P|| { a }\n");
  EXPECT_EQ(plain("P"), expected("P"));
}

TEST(Action, SharedBodyAndParameterCount) {
  Action a("a");
  a.SetParameter(2, "x");
  EXPECT_EQ(a.parameterCount(), 3);
  Action b = a;
  EXPECT_EQ(a.shareCount(), 2);
  b.SetParameter(2, "");
  EXPECT_EQ(b.parameterCount(), 0);
  EXPECT_EQ(a.parameterCount(), 3);
  EXPECT_EQ(a.parameter(2).str(), "x");
  a.SetParameter(13, "ignored");
  a.SetParameter(-1, "ignored");
  EXPECT_EQ(a.parameterCount(), 3);
}

TEST(DefinitionSet, ColorStylesDoNotCollide) {
  DefinitionSet set;
  StyleDefinition* black = set.GetColorStyle(0, 0, 0, 100);
  EXPECT_EQ(set.GetColorStyle(0, 0, 0, 100), black);
  EXPECT_EQ(set.StyleCount(), 1);
  // Without separators (1, 0x11, 1) and (0x11, 1, 1) would share a name.
  StyleDefinition* a = set.GetColorStyle(1, 0x11, 1, 100);
  StyleDefinition* b = set.GetColorStyle(0x11, 1, 1, 100);
  StyleDefinition* c = set.GetColorStyle(1, 1, 0x11, 100);
  StyleDefinition* d = set.GetColorStyle(0xff, 1, 1, 0);
  StyleDefinition* e = set.GetColorStyle(0xff, 1, 10, 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, c);
  EXPECT_NE(b, c);
  EXPECT_NE(d, e);
  EXPECT_EQ(b->style.color, ColorRecord::Rgb(0x11, 1, 1));
  EXPECT_EQ(b->style.scale, (StyleValue{StyleValue::kPercent, 1, 100}));
  EXPECT_EQ(b->name.str(), "mildawColor_110101_100");
}

}  // namespace
