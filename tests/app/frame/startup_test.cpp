// What the client shows and starts before the first page: the start-up
// picture from the home directory, centred on the background colour (or the
// plain colour when there is no picture), and the text viewer's file pool,
// made at start and stopped at exit.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/support/shell_fixture.h"
#include "display/headless.h"
#include "mfc/app.h"
#include "text/resources/viewer_resources.h"

namespace app_test {
namespace {

class StartupTest : public ShellTest {
 protected:
  // The main window as it shows once it has painted.
  std::unique_ptr<win::gdi::Surface> Shown() {
    win::headless::DispatchPending();
    CWnd* frame = AfxGetMainWnd();
    return frame ? win::headless::CaptureWindow(frame->GetSafeHwnd()) : nullptr;
  }
};

// The picture is 320 x 200; in a 640 x 480 window it lies at (160, 140).
constexpr int kLeft = 160, kTop = 140;

TEST_F(StartupTest, TheFrameShowsTheStartupPictureCentredOnItsColour) {
  ini["INIT"]["MainWindowColor"] = "0x102030";
  StartClient();
  const auto shot = Shown();
  ASSERT_NE(shot, nullptr);
  ASSERT_EQ(shot->width(), 640);
  const struct {
    const char* what;
    int x, y;
    std::uint32_t colour;
  } points[] = {
      {"background, top left", 5, 5, 0x102030},
      {"background, right of the picture", kLeft + 330, kTop + 100, 0x102030},
      {"background, below the picture", kLeft + 100, kTop + 205, 0x102030},
      {"the ground", kLeft + 10, kTop + 190, 0x181E1C},
      {"the name's first letter", kLeft + 25, kTop + 61, 0xF3EFE6},
  };
  for (const auto& p : points) EXPECT_EQ(shot->At(p.x, p.y) & 0xFFFFFF, p.colour) << p.what;
}

TEST_F(StartupTest, WithoutAStartupPictureTheFrameShowsItsColour) {
  const std::string home = tmp_.file("empty-home");
  std::filesystem::create_directories(home);
  ini["Tolm"]["HomeDir"] = home;
  ini["INIT"]["MainWindowColor"] = "0x102030";
  StartClient();
  const auto shot = Shown();
  ASSERT_NE(shot, nullptr);
  // Inside the view's sunken edge, the whole window.
  for (int y = 4; y < shot->height(); y += 7)
    for (int x = 4; x < shot->width(); x += 7) ASSERT_EQ(shot->At(x, y) & 0xFFFFFF, 0x102030u) << x << "," << y;
}

TEST_F(StartupTest, TheFilePoolLivesFromStartToExit) {
  StartClient();
  // Made before any page asks for a picture.
  EXPECT_NE(ViewerResources::Shared().Pool(), nullptr);
  EXPECT_NE(ViewerResources::Shared().Listener(), nullptr);
  ExitClient();
  EXPECT_EQ(ViewerResources::Shared().Listener(), nullptr);
  EXPECT_EQ(ViewerResources::Shared().Pool(), nullptr);
  EXPECT_EQ(ViewerResources::Shared().Companion(), nullptr);
}

}  // namespace
}  // namespace app_test
