// Every collection of the sample web as the client shows it in its window,
// compared with the picture kept for it in golden/ (ZEMRA_UPDATE_GOLDEN=1
// writes them anew). The pictures hold for the pinned fonts, 96 dpi and
// the pinned anti-aliasing.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/support/page_clicks.h"
#include "display/headless.h"
#include "mfc/app.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "support/golden.h"

namespace app_test {
namespace {

struct Collection {
  const char* picture;
  long id;
  const char* title;
};

void PrintTo(const Collection& c, std::ostream* out) { *out << c.picture; }

class CollectionPicturesTest : public ClickingShellTest, public ::testing::WithParamInterface<Collection> {};

TEST_P(CollectionPicturesTest, LooksAsKept) {
  const Collection& c = GetParam();
  StartAndLogIn();
  if (c.id != CurrentId()) {
    TheCommandQueue().Push(new GotoCommand(ObjectId(static_cast<LONG>(c.id))));
    ASSERT_TRUE(IdleUntil([&] {
      VPage* page = CurrentPage();
      return TheCommandQueue().Count() == 0 && page && page->Object() && page->Object()->getObjectId() == c.id;
    }));
  }
  Settle();
  const std::vector<std::string> titles = PageTitles(CurrentPage());
  ASSERT_FALSE(titles.empty());
  EXPECT_EQ(titles.front(), c.title);
  const auto shot = win::headless::CaptureWindow(AfxGetMainWnd()->GetSafeHwnd());
  ASSERT_TRUE(shot);
  testing_support::ExpectGolden(*shot, std::string("tests/app/e2e/golden/") + c.picture + ".png");
}

INSTANTIATE_TEST_SUITE_P(SampleWeb, CollectionPicturesTest,
                         ::testing::Values(Collection{"root", 0x101, "The Observatory"},
                                           Collection{"planets", 0x102, "The planets"},
                                           Collection{"inner_planets", 0x103, "Inner planets"},
                                           Collection{"outer_planets", 0x104, "Outer planets"},
                                           Collection{"moon", 0x105, "The Moon"},
                                           Collection{"gallery", 0x106, "Picture gallery"},
                                           Collection{"media", 0x107, "Media room"},
                                           Collection{"elsewhere", 0x108, "Other servers"},
                                           Collection{"observers", 0x109, "Observers' corner"}),
                         [](const ::testing::TestParamInfo<Collection>& info) { return std::string(info.param.picture); });

}  // namespace
}  // namespace app_test
