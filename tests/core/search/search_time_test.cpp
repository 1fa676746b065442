#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "core/search_query.h"

namespace {

// Local time is universal time here, so the expected texts are fixed.
class RelativeTime : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    hadTz_ = tz != nullptr;
    if (hadTz_) oldTz_ = tz;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_)
      setenv("TZ", oldTz_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

  // 96/05/01 12:00:00 UTC
  static constexpr std::time_t kNow = 830952000;

 private:
  bool hadTz_ = false;
  std::string oldTz_;
};

TEST_F(RelativeTime, CountsBackFromNow) {
  struct Case {
    const char* spec;
    const char* expected;
  };
  const Case cases[] = {
      {"minus 2 hours", "96/05/01 10:00:00"},
      {"minus 1,5 days", "96/04/30 00:00:00"},
      {"-1d12h", "96/04/30 00:00:00"},
      {"minus 30 min", "96/05/01 11:30:00"},
      {"- 2 Hours 30 Minutes", "96/05/01 09:30:00"},
      {"MINUS 1 DAY", "96/04/30 12:00:00"},
      {"-1 hour 1 minute 1 mins", "96/05/01 10:58:00"},
      {"-0.5m", "96/05/01 11:59:30"},
      {"-0.9m", "96/05/01 11:59:06"},   // 54 s
      {"-1.01m", "96/05/01 11:59:00"},  // 60.6 s: the fraction is dropped
      {"-3", "96/05/01 12:00:00"},      // no unit: now
      {"-2h5", "96/05/01 10:00:00"},    // a number after the last unit is ignored
      {"-", "96/05/01 12:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(relativeTime(c.spec, kNow), c.expected) << c.spec;
}

TEST_F(RelativeTime, AbsoluteTimesPassAsTyped) {
  for (const char* spec : {"96/05/01 12:00:00", " 96/05/01 ", "yesterday", ""})
    EXPECT_EQ(relativeTime(spec, kNow), spec) << "'" << spec << "'";
}

// Spans beyond the epoch or no number at all stay defined.
TEST_F(RelativeTime, HugeAndNonNumericSpansStayInRange) {
  struct Case {
    const char* spec;
    const char* expected;
  };
  const Case cases[] = {
      {"minus 1e300 days", "70/01/01 00:00:00"},
      {"-infd", "70/01/01 00:00:00"},
      {"-99999999999999999999999h", "70/01/01 00:00:00"},
      {"-nand", "96/05/01 12:00:00"},
      {"-xyzd", "96/05/01 12:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(relativeTime(c.spec, kNow), c.expected) << c.spec;
}

}  // namespace
