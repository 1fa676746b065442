// Command texts split into commands, and each command read into what it
// asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/interpreter/statement.h"

namespace {

std::vector<std::string> Split(const char* text) {
  std::vector<std::string> out;
  SplitCommands(text, [&out](const CString& c) { out.push_back(c.str()); });
  return out;
}

TEST(StatementTest, SplittingAtSemicolons) {
  using V = std::vector<std::string>;
  struct Case {
    const char* text;
    V commands;
  };
  const Case cases[] = {
      {"back; home", {"back", "home"}},
      {"  ;; ;\t; ", {}},
      {"goto \"Vela; Lyra\"; up", {"goto \"Vela; Lyra\"", "up"}},  // quotes kept
      {"goto Vela   ; up", {"goto Vela   ", "up"}},                // trailing blanks kept
      {"goto a\nup", {"goto a\nup"}},                              // a line feed is no separator
      {"goto \"open; to the end", {"goto \"open; to the end"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.text), c.commands) << c.text;
  EXPECT_TRUE(Split(nullptr).empty());
}

TEST(StatementTest, KeywordsAndTheirArguments) {
  struct Case {
    const char* line;
    const char* arguments;
    StatementKind kind;
    const char* argument;
  };
  const Case cases[] = {
      {"goto Vela Observatory ", nullptr, StatementKind::Goto, "Vela Observatory "},
      {"goto #2", "first, b ,third", StatementKind::Goto, "b "},
      {"goto #2", nullptr, StatementKind::Goto, ""},
      {"undo", nullptr, StatementKind::Back, ""},
      {"again", nullptr, StatementKind::Again, ""},
      {"redo please", nullptr, StatementKind::Forward, ""},
      {"previous", nullptr, StatementKind::Previous, ""},
      {"search comet tails", nullptr, StatementKind::Search, "comet tails"},
      {"fulltextsearch", nullptr, StatementKind::FullTextSearch, ""},
      {"language ge fr", nullptr, StatementKind::Language, "ge"},
      {"language ,ge", nullptr, StatementKind::Language, ""},
      {"setbookmark korvex://vela/0x2", nullptr, StatementKind::SetBookmark, "korvex://vela/0x2"},
      {"set title.caption = \"x\"", nullptr, StatementKind::Set, ""},
      {"Goto Vela", nullptr, StatementKind::Unknown, ""},  // case counts
      {".set", nullptr, StatementKind::Unknown, ""},
      {"gotoVela", nullptr, StatementKind::Unknown, ""},
      {"   ", nullptr, StatementKind::Empty, ""},
  };
  for (const Case& c : cases) {
    const Statement s = ParseStatement(c.line, c.arguments);
    EXPECT_EQ(s.kind, c.kind) << c.line;
    EXPECT_STREQ(s.argument, c.argument) << c.line;
  }
  EXPECT_TRUE(ParseStatement("goto   ", nullptr).missingTarget);
  EXPECT_FALSE(ParseStatement("goto #5", nullptr).missingTarget);
  EXPECT_STREQ(ParseStatement("set  title.caption", nullptr).rest, "title.caption");
}

}  // namespace
