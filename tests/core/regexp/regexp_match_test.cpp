// What Regexp matches: a table of patterns and texts with the expected match
// length and group offsets, including the patterns the URI parser and the
// KXHDR reader use, bytes above 0x7F, and programs near the size limit.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/regexp.h"

namespace {

using Span = std::pair<int, int>;

struct MatchCase {
  const char* pattern;
  std::string text;
  int start;
  int length;               // -1: no match
  std::vector<Span> groups;  // group 0 first; groups not listed must be unset
};

// Searches text[start, size) with a fresh object.
std::vector<Span> Groups(Regexp& rx) {
  std::vector<Span> groups;
  for (int n = 0; n < Regexp::kGroups; ++n) groups.emplace_back(rx.BeginningOfMatch(n), rx.EndOfMatch(n));
  return groups;
}

void Check(const MatchCase& c) {
  SCOPED_TRACE(std::string("pattern \"") + c.pattern + "\" text \"" + c.text + "\"");
  Regexp rx(c.pattern);
  std::string buffer = c.text + "#";
  int length = rx.Search(buffer.data(), static_cast<int>(c.text.size()), c.start);
  EXPECT_EQ(rx.error(), nullptr);
  EXPECT_EQ(length, c.length);
  std::vector<Span> expected = c.groups;
  expected.resize(Regexp::kGroups, Span(-1, -1));
  EXPECT_EQ(Groups(rx), expected);
}

const std::vector<MatchCase>& Cases() {
  static const std::vector<MatchCase> cases = {
      // Leftmost match; the length is end minus start of group 0.
      {"a*b", "xaab", 0, 3, {{1, 4}}},
      {"x*", "abc", 0, 0, {{0, 0}}},
      {"", "abc", 0, 0, {{0, 0}}},
      {"a*ab", "aaab", 0, 4, {{0, 4}}},  // the star gives a byte back
      {"x?y?z", "z", 0, 1, {{0, 1}}},
      {"a?b", "cb", 0, 1, {{1, 2}}},
      // "^" and "$" are the ends of the searched stretch, not of the buffer.
      {"^ab", "xab", 1, 2, {{1, 3}}},
      {"^ab", "xab", 0, -1, {}},
      {"$", "abc", 0, 0, {{3, 3}}},
      {"a$", "aba", 0, 1, {{2, 3}}},
      {"a^b", "a^b", 0, -1, {}},
      {"a\\^b", "a^b", 0, 3, {{0, 3}}},
      // The first alternative that lets the rest match wins.
      {"a|ab", "ab", 0, 1, {{0, 1}}},
      {"(a|ab)(c|bcd)", "abcd", 0, 4, {{0, 4}, {0, 1}, {1, 4}}},
      {"(a)|b", "b", 0, 1, {{0, 1}, {-1, -1}}},
      {"(a)?b", "b", 0, 1, {{0, 1}}},
      // An operator after a literal run takes its last byte only.
      {"ab+", "abbbab", 0, 4, {{0, 4}}},
      {"ab+", "xabab", 0, 2, {{1, 3}}},
      {"(ab)+", "xababa", 0, 4, {{1, 5}, {3, 5}}},
      {"(ab)*abc", "abababc", 0, 7, {{0, 7}, {2, 4}}},
      // A repeated group keeps its last iteration.
      {"(a|b)*c", "abac", 0, 4, {{0, 4}, {2, 3}}},
      {"((a)|b)+", "ab", 0, 2, {{0, 2}, {1, 2}, {0, 1}}},
      {"(a*)b", "aab", 0, 3, {{0, 3}, {0, 2}}},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)",
       "abcdefghi",
       0,
       9,
       {{0, 9}, {0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}}},
      // "." takes any byte, a newline too; "\" quotes.
      {"a.c", "a\nc", 0, 3, {{0, 3}}},
      {"a\\.b", "axb a.b", 0, 3, {{4, 7}}},
      // Bracket expressions.
      {"[a-c]+", "xxabcd", 0, 3, {{2, 5}}},
      {"[]x]", "a]", 0, 1, {{1, 2}}},
      {"[a-]", "b-", 0, 1, {{1, 2}}},
      {"[^0-9]", "0123456789", 0, -1, {}},
      {"[^0-9]+", "12ab3", 0, 2, {{2, 4}}},
      {"[--/]+", "a-./b", 0, 3, {{1, 4}}},
      {"[\\.]", "a\\b.", 0, 1, {{1, 2}}},  // "\" is an ordinary byte in brackets
      // The URI parser's path step and host checks.
      {"(^|/)[^/\\.]+/\\.\\.(/|$)", "a/b/../c", 0, 6, {{1, 7}, {1, 2}, {6, 7}}},
      {"(^|/)[^/\\.]+/\\.\\.(/|$)", "x/..", 0, 4, {{0, 4}, {0, 0}, {4, 4}}},
      {"(^|/)[^/\\.]+/\\.\\.(/|$)", "../a/./b", 0, -1, {}},
      {"^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$", "10.0.12.255", 0, 11, {{0, 11}}},
      {"^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$", "10.0.12", 0, -1, {}},
      {"^[^\\.]+(\\.[^\\.]+)*$", "www.example.org", 0, 15, {{0, 15}, {11, 15}}},
      {"^[^\\.]+(\\.[^\\.]+)*$", "a..b", 0, -1, {}},
      {"^\\.+$", "..", 0, 2, {{0, 2}}},
      // The KXHDR reader's line patterns.
      {"^sz=(-?[0-9]+)$", "sz=-12", 0, 6, {{0, 6}, {3, 6}}},
      {"^sz=(-?[0-9]+)$", "sz=5\r", 0, -1, {}},
      {"^type=([0-9]+)$", "type=-1", 0, -1, {}},
      {"^Z=([0,1])$", "Z=,", 0, 3, {{0, 3}, {2, 3}}},
      {"^Z=([0,1])$", "Z=2", 0, -1, {}},
      // Bytes above 0x7F compare as unsigned values.
      {"\xe9+", "a\xe9\xe9", 0, 2, {{1, 3}}},
      {"\xe9" "a", "x\xe9" "a", 0, 2, {{1, 3}}},
      {"[\x80-\xff]+", "ab\x80\xfe\xff" "c", 0, 3, {{2, 5}}},
      {"[^\x80-\xff]", "\x90\xa0" "a", 0, 1, {{2, 3}}},
      {"[\x7f-\x80]+", "a\x7f\x80\x81", 0, 2, {{1, 3}}},
      {"x*\xff\xfe", "xx\xff\xfe", 0, 4, {{0, 4}}},
      {".", "\xff", 0, 1, {{0, 1}}},
  };
  return cases;
}

TEST(RegexpMatchTest, PatternsAgainstTexts) {
  for (const MatchCase& c : Cases()) Check(c);
}

TEST(RegexpMatchTest, EmptyStretchAndStartAtEnd) {
  Regexp anchoredEmpty("^$");
  char text[] = "abc";
  EXPECT_EQ(anchoredEmpty.Search(text, 3, 3), 0);
  EXPECT_EQ(anchoredEmpty.BeginningOfMatch(0), 3);
  EXPECT_EQ(anchoredEmpty.Search(text, 2, 2), 0);
  EXPECT_EQ(anchoredEmpty.EndOfMatch(0), 2);

  Regexp literal("a");
  EXPECT_EQ(literal.Search(text, 0, 0), -1);
}

TEST(RegexpMatchTest, NulBeforeEndEndsTheStretch) {
  char text[] = {'a', 'b', '\0', 'c', 'b', 'x'};
  Regexp atEnd("b$");
  EXPECT_EQ(atEnd.Search(text, 5), 1);
  EXPECT_EQ(atEnd.BeginningOfMatch(0), 1);
  Regexp beyond("c");
  EXPECT_EQ(beyond.Search(text, 5), -1);
  // A literal every match must hold counts only before the NUL.
  Regexp mustHold("[a-z]*cb");
  EXPECT_EQ(mustHold.Search(text, 5), -1);
  EXPECT_EQ(mustHold.Search(text + 3, 2), 2);
  EXPECT_EQ(text[5], 'x');
}

TEST(RegexpMatchTest, GroupQueriesOutsideTheRangeAreUnset) {
  Regexp rx("(a)");
  char text[] = "a";
  ASSERT_EQ(rx.Search(text, 1), 1);
  for (int n : {-1, 10, 1000}) {
    EXPECT_EQ(rx.BeginningOfMatch(n), -1) << n;
    EXPECT_EQ(rx.EndOfMatch(n), -1) << n;
  }
  EXPECT_EQ(rx.Search(text, 0), -1);
  EXPECT_EQ(rx.BeginningOfMatch(0), -1);  // a failed search clears the last match
  EXPECT_EQ(rx.BeginningOfMatch(1), -1);
}

// Program size: magic byte, BRANCH, EXACTLY with its operand and NUL, END.
TEST(RegexpMatchTest, ProgramSizeLimit) {
  const int overhead = 1 + 3 + 3 + 1 + 3;
  std::string largest(32766 - overhead, 'a');
  Regexp fits(largest.c_str());
  std::string text = "x" + largest + "#";
  EXPECT_EQ(fits.Search(text.data(), static_cast<int>(text.size()) - 1), static_cast<int>(largest.size()));
  EXPECT_EQ(fits.BeginningOfMatch(0), 1);

  std::string tooLarge = largest + "a";
  testing::internal::CaptureStderr();
  Regexp refused(tooLarge.c_str());
  EXPECT_FALSE(refused.Compile());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): kxregexp too big\n");
  EXPECT_STREQ(refused.error(), "kxregexp too big");
}

// Links that jump over most of a large program, both forwards and back.
TEST(RegexpMatchTest, LongLinksInALargeProgram) {
  std::string body(32000, 'a');
  std::string pattern = "(" + body + ")*b";
  Regexp rx(pattern.c_str());
  std::string text = body + body + "b#";
  EXPECT_EQ(rx.Search(text.data(), static_cast<int>(text.size()) - 1), 64001);
  EXPECT_EQ(rx.BeginningOfMatch(1), 32000);
  EXPECT_EQ(rx.EndOfMatch(1), 64000);
}

}  // namespace
