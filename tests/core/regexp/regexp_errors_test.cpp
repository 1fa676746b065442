// Refused patterns and failed searches are values: the message goes to
// standard error with the "regexp(3): " prefix, error() keeps it, the search
// reports no match, and the program goes on.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/regexp.h"

namespace {

struct ErrorCase {
  std::string pattern;
  const char* message;
};

// Every message a pattern can cause. ("junk on end" cannot be reached: an
// alternative only stops at "|", ")" or the end, and a stray ")" is
// "unmatched ()". "out of space" needs an allocation failure.)
const std::vector<ErrorCase>& Cases() {
  static const std::vector<ErrorCase> cases = {
      {std::string(40000, 'a'), "kxregexp too big"},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many ()"},
      {"((((((((((a))))))))))", "too many ()"},
      {"(ab", "unmatched ()"},
      {"((a)", "unmatched ()"},
      {"ab)", "unmatched ()"},
      {"a)b(", "unmatched ()"},
      {"(a*)*", "*+ operand could be empty"},
      {"(a|)+", "*+ operand could be empty"},
      {"^*", "*+ operand could be empty"},
      {"x$+", "*+ operand could be empty"},
      {"(b?)*", "*+ operand could be empty"},
      {"a**", "nested *?+"},
      {"a*?", "nested *?+"},
      {"a+*", "nested *?+"},
      {"(ab)?+", "nested *?+"},
      {"*a", "?+* follows nothing"},
      {"a|+b", "?+* follows nothing"},
      {"(?a)", "?+* follows nothing"},
      {"?", "?+* follows nothing"},
      {"ab\\", "trailing \\"},
      {"[abc", "unmatched []"},
      {"[]", "unmatched []"},
      {"[^]", "unmatched []"},
      {"[a-", "unmatched []"},
      {"[z-a]", "invalid [] range"},
      {"[\xff-\x80]", "invalid [] range"},
      // The first error in the pattern is the one reported.
      {"[z-a]" + std::string(40000, 'a'), "invalid [] range"},
  };
  return cases;
}

TEST(RegexpErrorTest, RefusedPatternsReportAndSearchFindsNothing) {
  for (const ErrorCase& c : Cases()) {
    SCOPED_TRACE("pattern \"" + c.pattern.substr(0, 40) + "\"");
    Regexp rx(c.pattern.c_str());
    char text[] = "ab(a)[z-a]**c";
    testing::internal::CaptureStderr();
    EXPECT_EQ(rx.Search(text, 13), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("regexp(3): ") + c.message + "\n");
    EXPECT_STREQ(rx.error(), c.message);
    EXPECT_EQ(rx.BeginningOfMatch(0), -1);
    EXPECT_EQ(rx.EndOfMatch(0), -1);
    EXPECT_EQ(std::string(text), "ab(a)[z-a]**c");

    // Compiled once: a second search fails the same way without a new report.
    testing::internal::CaptureStderr();
    EXPECT_EQ(rx.Search(text, 13), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_STREQ(rx.error(), c.message);
  }
}

TEST(RegexpErrorTest, NullPatternAndNullText) {
  Regexp nullPattern(nullptr);
  char text[] = "abc";
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullPattern.Search(text, 3), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): NULL argument\n");
  EXPECT_STREQ(nullPattern.error(), "NULL argument");

  Regexp rx("a");
  testing::internal::CaptureStderr();
  EXPECT_EQ(rx.Search(nullptr, 3), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): NULL parameter\n");
  EXPECT_STREQ(rx.error(), "NULL parameter");

  // The object recovers: the next search is fine and clears the error.
  EXPECT_EQ(rx.Search(text, 3), 1);
  EXPECT_EQ(rx.error(), nullptr);
}

TEST(RegexpErrorTest, SearchRangeOutsideTheTextIsRefusedUntouched) {
  Regexp rx("b");
  char text[] = "abc";
  struct Range {
    int end, start;
  };
  for (Range r : {Range{-1, 0}, Range{1, 2}, Range{3, -1}}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(rx.Search(text, r.end, r.start), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): search range outside the text\n");
    EXPECT_STREQ(rx.error(), "search range outside the text");
    EXPECT_STREQ(text, "abc");
  }
}

// A search that would need more backtracking room than allowed ends with an
// error and no match, and leaves the text as it was.
TEST(RegexpErrorTest, BacktrackLimitGivesAnErrorValue) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += (i % 3 == 0) ? 'a' : 'b';
  text += "#";
  Regexp rx("(a|b)+$");
  rx.SetLimits(64, Regexp::kDefaultMaxSteps);
  testing::internal::CaptureStderr();
  EXPECT_EQ(rx.Search(text.data(), 1000), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): backtrack stack full\n");
  EXPECT_STREQ(rx.error(), "backtrack stack full");
  EXPECT_EQ(rx.BeginningOfMatch(0), -1);
  EXPECT_EQ(text[1000], '#');

  // The same search within the default limits matches.
  rx.SetLimits(Regexp::kDefaultMaxBacktrack, Regexp::kDefaultMaxSteps);
  EXPECT_EQ(rx.Search(text.data(), 1000), 1000);
  EXPECT_EQ(rx.error(), nullptr);
}

// Exponential backtracking stops at the step limit instead of running for
// years.
TEST(RegexpErrorTest, StepLimitGivesAnErrorValue) {
  std::string text(40, 'a');
  text += "#";
  Regexp rx("(a|aa)*[c]");
  rx.SetLimits(Regexp::kDefaultMaxBacktrack, 100000);
  testing::internal::CaptureStderr();
  EXPECT_EQ(rx.Search(text.data(), 40), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "regexp(3): match step limit reached\n");
  EXPECT_STREQ(rx.error(), "match step limit reached");
  EXPECT_EQ(text[40], '#');
}

}  // namespace
