// A user's walk through the whole sample web with the mouse alone: the
// titles of the collection pages and the tool bar's buttons, clicked where
// the page objects lie, bring every collection of the observatory to the
// screen, each page naming what it shows, and Back and Up return.
#include <gtest/gtest.h>

#include <set>

#include "app/support/page_clicks.h"

namespace app_test {
namespace {

using ClickThroughTest = ClickingShellTest;

TEST_F(ClickThroughTest, TitlesAndToolButtonsReachEveryCollection) {
  StartAndLogIn();
  Settle();
  WalkEveryCollection();
  EXPECT_EQ(visited, (std::set<long>{0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108, 0x109}));
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

}  // namespace
}  // namespace app_test
