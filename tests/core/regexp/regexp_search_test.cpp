// How Search treats its buffer and its object: the byte at `end` comes back
// in every case, a compiled program is reused with the same results as a
// fresh object, the fast paths change nothing but speed, and long texts under
// patterns that backtrack through many nodes do not exhaust the stack.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/regexp.h"
#include "random_patterns.h"

namespace {

struct Outcome {
  int length;
  std::vector<int> offsets;  // begin and end of groups 0-9
  bool operator==(const Outcome&) const = default;
};

Outcome SearchOutcome(Regexp& rx, std::string buffer, int end, int start) {
  Outcome out{rx.Search(buffer.data(), end, start), {}};
  for (int n = 0; n < Regexp::kGroups; ++n) {
    out.offsets.push_back(rx.BeginningOfMatch(n));
    out.offsets.push_back(rx.EndOfMatch(n));
  }
  return out;
}

TEST(RegexpSearchTest, ByteAtEndIsRestoredInEveryCase) {
  struct Case {
    const char* what;
    const char* pattern;
    std::size_t maxBacktrack;
  };
  const Case cases[] = {
      {"match", "b+", Regexp::kDefaultMaxBacktrack},
      {"match at the end", "c$", Regexp::kDefaultMaxBacktrack},
      {"no match", "x", Regexp::kDefaultMaxBacktrack},
      {"refused pattern", "(", Regexp::kDefaultMaxBacktrack},
      {"error while matching", "(a|b|c)+$", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char text[] = "abbcXYZ";
    Regexp rx(c.pattern);
    rx.SetLimits(c.maxBacktrack, Regexp::kDefaultMaxSteps);
    testing::internal::CaptureStderr();
    rx.Search(text, 4, 1);
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(text, "abbcXYZ");
  }
}

TEST(RegexpSearchTest, ReusedObjectAgreesWithFreshObjects) {
  const char* patterns[] = {"(^|/)[^/\\.]+/\\.\\.(/|$)", "^sz=(-?[0-9]+)$", "(a|b)*c", "x*ab", "(", "b"};
  const std::string text = "sz=-4 /a/b/../c abbac sz=7";
  struct Range {
    int end, start;
  };
  const Range ranges[] = {{26, 0}, {15, 5}, {5, 0}, {26, 21}, {21, 16}, {3, 3}};
  for (const char* pattern : patterns) {
    SCOPED_TRACE(pattern);
    testing::internal::CaptureStderr();
    Regexp reused(pattern);
    for (const Range& r : ranges) {
      Regexp fresh(pattern);
      EXPECT_EQ(SearchOutcome(reused, text, r.end, r.start), SearchOutcome(fresh, text, r.end, r.start)) << r.start << ".." << r.end;
    }
    testing::internal::GetCapturedStderr();
  }
}

TEST(RegexpSearchTest, SetPatternRecompilesOnlyOnChange) {
  char text[] = "xxaabb";
  Regexp rx("a+");
  EXPECT_EQ(rx.Search(text, 6), 2);
  rx.SetPattern("b+");
  EXPECT_EQ(rx.Search(text, 6), 2);
  EXPECT_EQ(rx.BeginningOfMatch(0), 4);

  testing::internal::CaptureStderr();
  rx.SetPattern("(b");
  EXPECT_EQ(rx.Search(text, 6), -1);
  rx.SetPattern("(b");  // same text: the refusal is kept, not reported again
  EXPECT_EQ(rx.Search(text, 6), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): unmatched ()\n");

  rx.SetPattern("a+");
  EXPECT_EQ(rx.Search(text, 6), 2);
  EXPECT_EQ(rx.error(), nullptr);
  EXPECT_EQ(rx.BeginningOfMatch(0), 2);
}

TEST(RegexpSearchTest, HintsFoundForSingleAlternatives) {
  struct Case {
    const char* pattern;
    int startHint;
    bool anchored;
    const char* must;
  };
  const Case cases[] = {
      {"abc", 'a', false, ""},
      {"\xe9" "b", 0xE9, false, ""},
      {"^abc", -1, true, ""},
      {"a|b", -1, false, ""},
      {"(ab)c", -1, false, ""},
      {"a?bcd", -1, false, "bcd"},
      {"[ab]*xyz(q)", -1, false, "xyz"},
      {"x*abc?de", -1, false, "de"},  // the later of two equally long literals
      {"x*(abc)", -1, false, ""},     // literals inside groups do not count
      {"x*|abc", -1, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    Regexp rx(c.pattern);
    EXPECT_EQ(rx.StartHint(), c.startHint);
    EXPECT_EQ(rx.Anchored(), c.anchored);
    EXPECT_EQ(rx.MustContain(), c.must);
  }
}

// The start hint, anchored flag and must-contain literal only skip work.
TEST(RegexpSearchTest, FastPathsGiveTheSameResults) {
  regexp_testing::PatternGenerator gen(7);
  int compared = 0;
  for (int i = 0; i < 1500; ++i) {
    std::string pattern = gen.Pattern().ours;
    Regexp fast(pattern.c_str());
    Regexp slow(pattern.c_str());
    slow.SetFastPaths(false);
    for (int j = 0; j < 4; ++j) {
      std::string prefix = gen.Text(2);
      std::string text = prefix + gen.Text(14);
      int end = static_cast<int>(text.size());
      text += "#";
      int start = static_cast<int>(prefix.size());
      ASSERT_EQ(SearchOutcome(fast, text, end, start), SearchOutcome(slow, text, end, start)) << pattern << " on " << text;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 6000);
}

// Patterns whose matches begin with one of a few bytes (alternations, sets,
// a leading ^ in one alternative) are searched only where such a byte is,
// and find the same leftmost match as a search of every position.
TEST(RegexpSearchTest, FirstByteSetsFindTheSameMatches) {
  struct Case {
    const char* pattern;
    const char* text;
    int start;
  };
  const Case cases[] = {
      {"(^|/)[^/.]+/\\.\\.(/|$)", "a/b/../c", 0},
      {"(^|/)[^/.]+/\\.\\.(/|$)", "x/../y", 0},
      {"(^|/)[^/.]+/\\.\\.(/|$)", "pre/x/..", 4},  // ^ is the start of the stretch
      {"(^|/)[^/.]+/\\.\\.(/|$)", "", 0},
      {"^|x", "", 0},          // an empty stretch: only ^ can match there
      {"(cat|dog)s?", "hotdogs and cats", 0},
      {"[0-9]+|x", "abc x 42", 0},
      {"[^a-y]z", "aaazzq z", 0},
      {"a*b|c", "xxaab", 0},   // a star: the byte after it may begin the match
      {"(a|)b", "ccb", 0},     // an empty alternative
      {"(ab)*c", "xababc", 0},
      {"a|b*", "xyz", 0},      // may be empty: every position is tried
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " on " + c.text);
    Regexp fast(c.pattern);
    Regexp slow(c.pattern);
    slow.SetFastPaths(false);
    std::string text = std::string(c.text) + "#";
    const int end = static_cast<int>(text.size()) - 1;
    EXPECT_EQ(SearchOutcome(fast, text, end, c.start), SearchOutcome(slow, text, end, c.start));
  }
}

// These backtrack through several nodes per byte; a matcher that recursed
// per node would overflow the stack here (ASan makes frames larger still).
TEST(RegexpSearchTest, LongTextsUnderComplexPatterns) {
  std::string repeated;
  for (int i = 0; i < 100000; ++i) repeated += "ab";
  std::string text = repeated + "c#";
  Regexp groupStar("(ab)*c");
  EXPECT_EQ(groupStar.Search(text.data(), static_cast<int>(text.size()) - 1), 200001);
  EXPECT_EQ(groupStar.BeginningOfMatch(1), 199998);
  EXPECT_EQ(groupStar.EndOfMatch(1), 200000);

  std::string mixed;
  for (int i = 0; i < 300000; ++i) mixed += (i % 7 < 3) ? 'a' : 'b';
  mixed += "#";
  Regexp alternatives("(a|b)+$");
  EXPECT_EQ(alternatives.Search(mixed.data(), 300000), 300000);
  EXPECT_EQ(alternatives.BeginningOfMatch(1), 299999);
  EXPECT_EQ(alternatives.error(), nullptr);

  // Many unsuccessful starts, each backtracking through a long stretch.
  std::string words;
  for (int i = 0; i < 300; ++i) words += "abc ";
  words += "#";
  Regexp noEnd("([a-c]+ )+x");
  EXPECT_EQ(noEnd.Search(words.data(), static_cast<int>(words.size()) - 1), -1);
  EXPECT_EQ(noEnd.error(), nullptr);
}

}  // namespace
