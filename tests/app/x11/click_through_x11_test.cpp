// The same walk through the sample web as the headless one, on an X server
// of the test's own: the client's windows are X windows, and the clicks go
// to the page objects where the server shows them.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "app/support/page_clicks.h"
#include "display/display.h"
#include "platform/x11/xvfb_server.h"
#include "support/tools.h"
#include "win/gdi.h"
#include "win/user.h"

namespace app_test {
namespace {

class ClickThroughX11 : public ClickingShellTest {
 protected:
  void TearDown() override {
    ClickingShellTest::TearDown();
    win::ResetUserState();
    win::display::Use(win::display::MakeHeadless());
    server_.Stop();
  }
  x11_test::XvfbServer server_;
};

TEST_F(ClickThroughX11, TitlesAndToolButtonsReachEveryCollection) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("Xvfb"), "Xvfb is not installed");
  std::string error;
  ZEMRA_SKIP_WITHOUT(server_.Start(1024, 768, &error), error);
  win::ResetUserState();
  auto x11 = win::display::MakeX11(server_.name().c_str());
  ASSERT_NE(x11, nullptr) << "cannot open " << server_.name();
  win::display::Use(std::move(x11));
  win::ResetGdiState();

  StartAndLogIn();
  Settle();
  WalkEveryCollection();
  EXPECT_EQ(visited, (std::set<long>{0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108, 0x109}));
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

}  // namespace
}  // namespace app_test
