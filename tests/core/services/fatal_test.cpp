#include "core/fatal.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "win/user.h"

namespace {

struct FatalExit {
  int status;
};

class FatalErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    previous_ = SetFatalExitHook([](int status) { throw FatalExit{status}; });
  }
  void TearDown() override {
    SetFatalExitHook(previous_);
    win::ResetUserState();
  }
  FatalExitHook previous_;
};

TEST_F(FatalErrors, FatalErrorShowsBoxAndExitsWithMinusOne) {
  try {
    FatalError();
    FAIL() << "FatalError returned";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.status, -1);
  }
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "!! A FATAL ERROR occurred - the program will exit !!");
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");
}

TEST_F(FatalErrors, FatalErrorTextAppendsTheReason) {
  try {
    FatalErrorText("Anchor with Type=7");
    FAIL() << "FatalErrorText returned";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.status, -1);
  }
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text,
            "!! A FATAL ERROR occurred - the program will exit !!\nError:Anchor with Type=7");
}

TEST(FatalErrorsDeathTest, ProgramEndsWithStatusMinusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(FatalError(), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(FatalErrorText("broken"), ::testing::ExitedWithCode(255), "");
}

}  // namespace
