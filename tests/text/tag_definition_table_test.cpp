#include "text/tag_definition_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "text/html_tokenizer.h"
#include "text/support/token_dump.h"

namespace {

// Start and end events only, with the open elements: what the repair does.
std::string Repair(const std::string& pri, const std::string& doc, std::string* open = nullptr) {
  std::istringstream definitions(pri);
  TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  std::istringstream in(doc);
  table.Reset(&in);
  std::string out;
  while (auto item = table.NextToken()) {
    if (item->Kind() != kEventItem) continue;
    const std::string name = static_cast<TokenEvent&>(*item).name.str();
    if (name == "Word" || name == "~Word" || name == "WordSpace") continue;
    if (!out.empty()) out += " ";
    out += DumpItem(*item);
  }
  if (open)
    for (const CString& n : table.OpenNames()) *open += n.str() + " ";
  return out;
}

const char kLists[] =
    "3\n"
    "UL { DEFINITIONS = 0:3:0:1:1 }\n"
    "LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL:OL, INSERTEVENT UL {} }\n"
    "P { DEFINITIONS = 3:1:0:1:1 }\n";

TEST(TagDefinitionTable, RepairsNesting) {
  struct C {
    const char* doc;
    const char* events;
  };
  const C cases[] = {
      {"<UL><LI>a<LI>b</UL>", "UL LI ~LI LI ~LI ~UL"},
      {"<LI>a", "UL LI ~LI ~UL"},
      {"<P>a<P>b", "P P ~P ~P"},  // P does not close P: its closeSame is off
      {"<UL><LI><P>a</UL>", "UL LI ~LI P ~P ~UL"},  // P closes below level 3
      {"</UL>x</P>", ""},
      {"<P><UL><LI>a</P>", "P UL LI ~LI ~UL ~P"},
  };
  for (const C& c : cases) EXPECT_EQ(Repair(kLists, c.doc), c.events) << c.doc;
}

TEST(TagDefinitionTable, EndOfInputClosesAll) {
  std::istringstream definitions(kLists);
  TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  std::istringstream in("<UL><LI>abc");
  table.Reset(&in);
  std::string out;
  while (auto item = table.NextToken()) out += DumpItem(*item, true) + " ";
  EXPECT_EQ(out, "UL@0 LI@4 Word@8 \"abc\"@8 ~Word@11 ~LI@11 ~UL@11 ");
}

TEST(TagDefinitionTable, EndClosesOffKeepsOpen) {
  EXPECT_EQ(Repair("1 B { DEFINITIONS = 0:1:0:0:1 }", "<B>a</B>b"), "B ~B ~B");
}

// An element that a later start tag closes is closed once, even when its
// own end tags do not close it.
TEST(TagDefinitionTable, ClosedByLevelOnceWhateverItsEndTags) {
  EXPECT_EQ(Repair("2 UL { DEFINITIONS = 0:0:0:0:1 } P { DEFINITIONS = 3:1:1:1:1 }", "<UL>a<P>b<P>c"),
            "UL ~UL P ~P P ~P");
}

TEST(TagDefinitionTable, EntryAttributesCarryToItsEnd) {
  EXPECT_EQ(Repair("1 P { DEFINITIONS = 0:1:1:1:1 }", "<P ALIGN=center>a</P>"), "P{ALIGN=center} ~P{ALIGN=center}");
}

TEST(TagDefinitionTable, PushBackRestoresTheStack) {
  std::istringstream definitions(kLists);
  TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  std::istringstream in("<UL>x");
  table.Reset(&in);
  auto ul = table.NextToken();
  ASSERT_EQ(table.OpenNames().size(), 1u);
  table.PushBack(std::move(ul));
  EXPECT_TRUE(table.OpenNames().empty());
  EXPECT_EQ(DumpItem(*table.NextToken()), "UL");
  EXPECT_EQ(table.OpenNames().size(), 1u);
}

// Tables whose insertions never satisfy the need are refused when read:
// the event then comes out without the insertion, and the load goes on.
TEST(TagDefinitionTable, EndlessInsertionsRefused) {
  struct C {
    const char* pri;
    const char* events;
  };
  const C cases[] = {
      {"1 LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL, INSERTEVENT LI {} }", "LI ~LI"},
      {"1 LI { DEFINITIONS = 0:2:1:1:1, INSERTEVENT UL {} }", "LI ~LI"},
      {"2 UL { DEFINITIONS = 0:3:0:1:0 } LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL, INSERTEVENT UL {} }",
       "LI ~LI"},
      {"1 LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL, INSERTEVENT UL {} }", "LI ~LI"},
  };
  for (const C& c : cases) {
    std::istringstream definitions(c.pri);
    TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
    ASSERT_NE(table.Find("LI"), nullptr) << c.pri;
    EXPECT_EQ(table.Find("LI")->insertEvent, nullptr) << c.pri;
    EXPECT_EQ(Repair(c.pri, "<LI>"), c.events) << c.pri;
  }
}

// Two entries that insert each other: each insertion is sound on its own,
// the chain is bounded when they meet.
TEST(TagDefinitionTable, InsertionChainsAreBounded) {
  const char pri[] =
      "2 A { DEFINITIONS = 0:1:0:1:1, NEEDEDEVENTS = B, INSERTEVENT B {} }\n"
      "B { DEFINITIONS = 0:1:0:1:1, NEEDEDEVENTS = A, INSERTEVENT A {} }\n";
  const std::string events = Repair(pri, "<A>");
  EXPECT_FALSE(events.empty());
  EXPECT_LT(events.size(), 200u);
}

TEST(TagDefinitionTable, CountIsOnlyABound) {
  std::istringstream definitions("2000000000 P { DEFINITIONS = 3:1 }");
  TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  EXPECT_EQ(table.EntryCount(), 1);
  ASSERT_NE(table.Find("P"), nullptr);
  EXPECT_EQ(table.Find("P")->closeLevel, 3);
  EXPECT_EQ(table.Find("P")->level, 1);
  EXPECT_EQ(table.Find("P")->closeSame, 1);
  std::istringstream negative("-3 P { }");
  TagDefinitionTable none(negative, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  EXPECT_EQ(none.EntryCount(), 0);
}

TEST(TagDefinitionTable, ReadsClauses) {
  std::istringstream definitions(
      "2 li { definitions = :5::0, neededevents = ul:ol, other = 9, insertevent UL { TYPE = disc } }\n"
      "UL { DEFINITIONS, KEEP }");
  TagDefinitionTable table(definitions, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  const TagDefinition* li = table.Find("li");
  ASSERT_NE(li, nullptr);
  EXPECT_EQ(li->closeLevel, 0);
  EXPECT_EQ(li->level, 5);
  EXPECT_EQ(li->closeSame, 1);
  EXPECT_EQ(li->endCloses, 0);
  EXPECT_EQ(li->neededEvents, "#UL##OL#");
  EXPECT_EQ(table.Find("LI"), nullptr);
}

// A long run of stray end tags is passed over without deep calls, and
// without walking a deep stack of open elements for each of them.
TEST(TagDefinitionTable, RunsOfDroppedEndTags) {
  std::string doc;
  for (int i = 0; i < 300000; ++i) doc += "</UL>";
  doc += "<P>x";
  EXPECT_EQ(Repair(kLists, doc), "P ~P");

  std::string deep = "<UL><LI>";
  for (int i = 0; i < 20000; ++i) deep += "<B>";
  for (int i = 0; i < 20000; ++i) deep += "</I></UL2>";
  const char pri[] = "4 UL { DEFINITIONS = 0:3:0:1:1 } LI { DEFINITIONS = 0:2:1:1:1 } "
                     "B { DEFINITIONS = 0:0:0:1:1 } I { DEFINITIONS = 0:0:0:1:1 }";
  const std::string events = Repair(pri, deep);
  EXPECT_EQ(events.find("~I"), std::string::npos);
  EXPECT_EQ(events.substr(events.size() - 7), "~LI ~UL");
}

}  // namespace
