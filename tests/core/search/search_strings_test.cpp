#include <gtest/gtest.h>

#include "core/search_query_strings.h"

namespace {

TEST(SearchStrings, MidRangeTakesBothEndsClampedToTheText) {
  struct Case {
    int a, b;
    const char* expected;
  };
  const Case cases[] = {
      {0, 2, "abc"}, {2, 4, "cde"}, {3, 3, "d"}, {4, 3, ""},   {-2, 1, "ab"},
      {4, 99, "ef"}, {6, 9, ""},    {0, -1, ""}, {-5, -1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(midRange("abcdef", c.a, c.b), c.expected) << c.a << ".." << c.b;
}

TEST(SearchStrings, MidFromTakesTheRest) {
  EXPECT_EQ(midFrom("abcdef", 4), "ef");
  EXPECT_EQ(midFrom("abcdef", 0), "abcdef");
  EXPECT_EQ(midFrom("abcdef", -3), "abcdef");
  EXPECT_EQ(midFrom("abcdef", 6), "");
  EXPECT_EQ(midFrom("abcdef", 60), "");
}

TEST(SearchStrings, StrEqualsComparesAsCStringsAndNullIsEmpty) {
  EXPECT_TRUE(StrEquals("Title", "Title"));
  EXPECT_FALSE(StrEquals("Title", "title"));
  EXPECT_FALSE(StrEquals("Title", "Titles"));
  EXPECT_TRUE(StrEquals("", nullptr));
  EXPECT_FALSE(StrEquals("x", nullptr));
  EXPECT_TRUE(StrEquals("", ""));
  // The comparison ends at a NUL, as it does for the server's C strings.
  EXPECT_TRUE(StrEquals(CString("ab\0cd", 5), "ab"));
}

TEST(SearchStrings, ConcatTreatsNullAsEmpty) {
  EXPECT_EQ(concat("Title=", CString("en:x")), "Title=en:x");
  EXPECT_EQ(concat(static_cast<const char*>(nullptr), CString("x")), "x");
  EXPECT_EQ(concat(CString("x"), "y"), "xy");
  EXPECT_EQ(concat(CString("x"), static_cast<const char*>(nullptr)), "x");
}

}  // namespace
