#include <gtest/gtest.h>

#include <cstdlib>

#include "win/kernel.h"

namespace {

TEST(WinRand, SequencesOfTheOldRuntime) {
  struct Case {
    unsigned seed;
    int expected[5];
  };
  // Seed 1 is the state a program starts with.
  const Case cases[] = {
      {1, {41, 18467, 6334, 26500, 19169}},
      {12345, {7584, 19164, 25795, 22125, 5828}},
      {0, {38, 7719, 21238, 2437, 8855}},
  };
  for (const auto& c : cases) {
    win_srand(c.seed);
    for (int expected : c.expected) EXPECT_EQ(win_rand(), expected) << "seed " << c.seed;
  }
}

// The program's first numbers without any seeding: checked in a freshly
// started copy of the test program, since other tests move the state.
TEST(WinRandDeathTest, UnseededStartIsSeedOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto firstFive = [] {
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected)
      if (win_rand() != e) std::exit(1);
    std::exit(0);
  };
  EXPECT_EXIT(firstFive(), ::testing::ExitedWithCode(0), "");
}

TEST(WinRand, ResultsStayWithin15Bits) {
  win_srand(0xDEADBEEF);
  for (int i = 0; i < 10000; ++i) {
    int r = win_rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, WIN_RAND_MAX);
  }
}

}  // namespace
