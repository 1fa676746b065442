#include "core/str_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StrFindFrom, ClampsStartAndReturnsPositionAfterMatch) {
  struct Case {
    const char* text;
    int start;
    const char* sub;
    int expected;
  };
  const Case cases[] = {
      {"abcabc", 0, "bc", 3},   {"abcabc", 2, "bc", 6}, {"abcabc", -5, "ab", 2},
      {"abcabc", 99, "ab", -1}, {"abc", 0, "x", -1},    {"abc", 3, "", 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StrFindFrom(c.text, c.start, c.sub), c.expected) << c.text << " " << c.start;
}

TEST(StrUpToChar, CutsAtCharacterOrEnd) {
  EXPECT_EQ(StrUpToChar("key=value", 0, '='), "key");
  EXPECT_EQ(StrUpToChar("key=value", 4, '='), "value");
  EXPECT_EQ(StrUpToChar("key=value", -3, '='), "key");
  EXPECT_EQ(StrUpToChar("abc", 3, '='), "");
  EXPECT_EQ(StrUpToChar("abc", 4, '='), "");
}

TEST(StrReplaceChar, ReplacesEveryByte) {
  CString s("a\\b\\c");
  StrReplaceChar(s, '\\', '/');
  EXPECT_EQ(s, "a/b/c");
}

TEST(StrNegateBytes, MapsToComplementAndBack) {
  CString s("A");
  StrNegateBytes(s);
  EXPECT_EQ(static_cast<unsigned char>(s[0]), 191);
  CString text("Zemra \xe4!");
  CString copy = text;
  StrNegateBytes(copy);
  StrNegateBytes(copy);
  EXPECT_EQ(copy, text);
  // Descending order: a byte-wise larger text negates to a smaller one.
  CString a("b"), b("c");
  StrNegateBytes(a);
  StrNegateBytes(b);
  EXPECT_GT(a, b);
}

TEST(StrReplaceAll, ReplacesLeftToRightWithoutOverlap) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    bool ignoreCase;
    const char* expected;
  };
  const Case cases[] = {
      {"aaaa", "aa", "b", false, "bb"},
      {"aaa", "aa", "b", false, "ba"},
      {"One one ONE", "one", "1", false, "One 1 ONE"},
      // The text kept between the hits comes from the input, not the
      // lower-cased copy.
      {"One one ONE", "one", "1", true, "1 1 1"},
      {"Hello World", "WORLD", "There", true, "Hello There"},
      {"abc", "", "x", false, "abc"},
      {"", "a", "x", false, ""},
      {"a.b.c", ".", "::", false, "a::b::c"},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    EXPECT_EQ(StrReplaceAll(s, c.from, c.to, c.ignoreCase), c.expected) << c.text;
    EXPECT_EQ(s, c.expected);
  }
}

TEST(StrReplaceWord, ReplacesOnlyWholeWords) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    const char* delimiters;
    bool ignoreCase;
    const char* expected;
  };
  const Case cases[] = {
      {"band and brand", "and", "&", " ", false, "band & brand"},
      {"and", "and", "&", " ", false, "&"},
      {"and band", "and", "&", " ", false, "& band"},
      {"x AND y And z", "and", "&", " ", true, "x & y & z"},
      {"Mixed CASE kept", "and", "&", " ", true, "Mixed CASE kept"},
      {"a(or)b", "or", "|", "()", false, "a(|)b"},
      {"a or,b", "or", "|", " ", false, "a or,b"},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    EXPECT_EQ(StrReplaceWord(s, c.from, c.to, c.delimiters, c.ignoreCase), c.expected) << c.text;
  }
}

std::vector<std::string> fields(const CString& s, char sep) {
  std::vector<std::string> out;
  int pos = 0;
  CString f;
  while (StrNextField(s, pos, sep, f)) out.push_back(f.str());
  return out;
}

TEST(StrNextField, SkipsRepeatedSeparators) {
  EXPECT_EQ(fields(",,a,,,b,,", ','), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(fields("", ','), std::vector<std::string>{});
  EXPECT_EQ(fields(",,,", ','), std::vector<std::string>{});
  EXPECT_EQ(fields("single", ','), std::vector<std::string>{"single"});
  // A NUL byte ends the text.
  EXPECT_EQ(fields(CString("a,b\0,c", 6), ','), (std::vector<std::string>{"a", "b"}));
}

TEST(StrNextField, PositionOutsideTextGivesFalse) {
  CString out("unchanged");
  int pos = -1;
  EXPECT_FALSE(StrNextField("a,b", pos, ',', out));
  pos = 3;
  EXPECT_FALSE(StrNextField("a,b", pos, ',', out));
  EXPECT_EQ(out, "unchanged");
  pos = 1;
  ASSERT_TRUE(StrNextField("a,b", pos, ',', out));
  EXPECT_EQ(out, "b");
  EXPECT_EQ(pos, 3);
}

TEST(StrNextTokenSet, UsesTableOfDelimiters) {
  unsigned char table[256] = {};
  table[static_cast<unsigned char>(' ')] = 1;
  table[static_cast<unsigned char>(';')] = 1;
  CString s("  x;y  z");
  int pos = 0;
  CString out;
  std::vector<std::string> got;
  while (StrNextTokenSet(s, pos, table, out)) got.push_back(out.str());
  EXPECT_EQ(got, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(StrNextToken, AlternatingDelimiterSetsGiveSameTokensAsFreshTables) {
  const CString a("one two,three");
  const CString b("x-y z-w");
  int pa = 0, pb = 0;
  CString out;
  std::vector<std::string> gotA, gotB;
  for (;;) {
    bool moreA = StrNextToken(a, pa, " ", out);
    if (moreA) gotA.push_back(out.str());
    bool moreB = StrNextToken(b, pb, "-", out);
    if (moreB) gotB.push_back(out.str());
    if (!moreA && !moreB) break;
  }
  EXPECT_EQ(gotA, (std::vector<std::string>{"one", "two,three"}));
  EXPECT_EQ(gotB, (std::vector<std::string>{"x", "y z", "w"}));
}

TEST(StrSlice, TakesInclusiveRange) {
  struct Case {
    int a, b;
    const char* expected;
  };
  const Case cases[] = {{0, 2, "abc"}, {2, 2, "c"}, {3, 1, ""},   {-2, 1, "ab"},
                        {4, 99, "ef"}, {6, 9, ""},  {0, -1, ""}};
  for (const Case& c : cases) EXPECT_EQ(StrSlice("abcdef", c.a, c.b), c.expected) << c.a << c.b;
}

}  // namespace
