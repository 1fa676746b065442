// A user's walk through the whole sample web with the mouse alone: the
// titles of the collection pages and the tool bar's buttons, clicked where
// the page objects lie, bring every collection of the observatory to the
// screen, each page naming what it shows, and Back and Up return.
#include <gtest/gtest.h>

#include <set>
#include <string>

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

TEST_F(ClickThroughTest, EveryPictureOfTheGalleryOpensUnderItsTitle) {
  // One picture of each format the converters and the picture library read.
  StartAndLogIn();
  Settle();
  ASSERT_TRUE(OpenMember("Picture gallery", 0x106));
  const struct {
    const char* title;
    long id;
  } pictures[] = {
      {"Saturn and its rings", 0x140}, {"Jupiter's bands", 0x141}, {"A nebula", 0x142},
      {"A comet", 0x143},              {"A star", 0x144},          {"An orbit", 0x145},
  };
  for (const auto& p : pictures) {
    ASSERT_TRUE(OpenMember(p.title, p.id)) << p.title;
    ExpectPage(p.id, p.title);
    ASSERT_TRUE(PressTool("back", 0x106)) << p.title;
  }
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
  for (const std::string& line : LogLines()) EXPECT_EQ(line.find("cannot load image"), std::string::npos) << line;
}

}  // namespace
}  // namespace app_test
