#include "text/def_lexer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "text/string_translator.h"
#include "text/translation_list.h"
#include "text/value_table.h"

namespace {

std::string Items(const std::string& text) {
  std::istringstream in(text);
  DefLexer lexer(in);
  std::string out;
  CString item;
  while (lexer.NextItem(item)) out += "[" + item.str() + "]";
  return out;
}

TEST(DefLexer, Items) {
  struct C {
    const char* text;
    const char* items;
  };
  const C cases[] = {
      {"ACTION#comment\nx", "[ACTION][x]"},
      {"a{b", "[a][{][b]"},
      {"x=1.5", "[x][=][1][.][5]"},
      {"a-b", "[a-b]"},
      {"\"two\nlines\" z", "[two\nlines][z]"},
      {"\"cut # here\" z\nq\" r", "[cut q][r]"},  // a '#' inside quotes starts a comment
      {"a\r\nb", "[a][b]"},
      {"  ", ""},
      {"\"open", ""},
      {"# only a comment", ""},
      {"x # trailing\n# whole line\ny", "[x][y]"},
  };
  for (const C& c : cases) EXPECT_EQ(Items(c.text), c.items) << c.text;
}

TEST(DefLexer, LongLinesAreContinuedNotCut) {
  const std::string word(300, 'w');
  EXPECT_EQ(Items(word), "[" + std::string(254, 'w') + "][" + std::string(46, 'w') + "]");
}

TEST(DefLexer, NextSeparatorSkipsEverything) {
  std::istringstream in("a { \"b}\" c } d");
  DefLexer lexer(in);
  EXPECT_EQ(lexer.NextSeparator("}"), '}');
  EXPECT_EQ(lexer.NextSeparator("}"), '}');
  CString item;
  ASSERT_TRUE(lexer.NextItem(item));
  EXPECT_EQ(item.str(), "d");
  EXPECT_EQ(lexer.NextSeparator("}"), 0);
}

TEST(DefLexer, PushBack) {
  std::istringstream in("b c");
  DefLexer lexer(in);
  CString item;
  ASSERT_TRUE(lexer.NextItem(item));
  EXPECT_TRUE(lexer.PushBack("a"));
  EXPECT_FALSE(lexer.PushBack(CString(std::string(255, 'x'))));
  ASSERT_TRUE(lexer.NextItem(item));
  EXPECT_EQ(item.str(), "a");
  ASSERT_TRUE(lexer.NextItem(item));
  EXPECT_EQ(item.str(), "c");
}

class Lists : public TranslationListSource {
 public:
  const TranslationList* FindList(std::string_view name) const override {
    return name == "L" ? &list : nullptr;
  }
  TranslationList list{"L"};
};

TEST(StringTranslator, Translations) {
  ValueTable values;
  values.Add("A", "x$B", 0);
  values.Add("B", "y", 0);
  values.Add("E", "", 0);
  values.Add("HREF", "x.html", 0);
  Lists lists;
  lists.list.Set("k", "v");
  struct C {
    const char* in;
    StringTranslator::Mode mode;
    bool final;
    int result;
    const char* out;
  };
  const C cases[] = {
      {"", StringTranslator::kBoth, true, -1, ""},
      {"plain", StringTranslator::kBoth, true, 5, "plain"},
      {"$A", StringTranslator::kBoth, false, 2, "xy"},
      {"^A", StringTranslator::kBoth, true, 3, "x$B"},
      {"?A", StringTranslator::kBoth, true, 1, "1"},
      {"?E", StringTranslator::kBoth, true, 1, "1"},
      {"?Q", StringTranslator::kBoth, true, 1, "0"},
      {"$Q", StringTranslator::kBoth, false, 2, "$Q"},
      {"$Q", StringTranslator::kBoth, true, 0, ""},
      {"cost $", StringTranslator::kBoth, true, 6, "cost $"},
      {"@L(k)", StringTranslator::kBoth, true, 1, "v"},
      {"@L k", StringTranslator::kLists, false, 1, "v"},
      {"@M(k)", StringTranslator::kBoth, true, 1, "k"},
      {"@L(z)", StringTranslator::kBoth, true, 1, "z"},
      // Only the written form "@LIST(key)" is cleaned up: an address in a
      // value keeps its "@" and host.
      {"a@b", StringTranslator::kBoth, true, 3, "a@b"},
      {"mailto:ana@example.org x", StringTranslator::kBoth, true, 24, "mailto:ana@example.org x"},
      {"go $(HREF)#top", StringTranslator::kBoth, true, 13, "go x.html#top"},
  };
  for (const C& c : cases) {
    CString out;
    EXPECT_EQ(StringTranslator::Instance().Translate(c.in, out, &values, &lists, c.mode, c.final), c.result)
        << c.in;
    EXPECT_EQ(out.str(), c.out) << c.in;
  }
}

// An attribute whose value refers to itself, or grows each round, must
// come to an end; what stays unresolved is cleaned up.
TEST(StringTranslator, SelfReferenceEnds) {
  ValueTable values;
  values.Add("SELF", "$SELF", 0);
  values.Add("GROW", "ab$GROW", 0);
  values.Add("PING", "$PONG", 0);
  values.Add("PONG", "$PING", 0);
  values.Add("TWICE", "$TWICE $TWICE", 0);
  for (const char* in : {"$SELF", "$GROW", "<$PING>", "$TWICE"}) {
    CString out;
    const int n = StringTranslator::Instance().Translate(in, out, &values, nullptr, StringTranslator::kBoth, true);
    EXPECT_GE(n, 0) << in;
    EXPECT_LE(static_cast<size_t>(out.GetLength()), 2 * StringTranslator::kMaxLength + 64) << in;
    EXPECT_EQ(out.Find('$'), -1) << in;
  }
}

}  // namespace
