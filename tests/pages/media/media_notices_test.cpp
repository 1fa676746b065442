// The window that media plays report their end to: it counts what it is
// told, and after the window system was reset it neither uses nor destroys
// another window that now has its old handle.
#include <gtest/gtest.h>

#include "pages/media/media_notices.h"
#include "pages/support/pages_fixture.h"
#include "support/window_system.h"
#include "win/mci.h"
#include "win/user.h"

namespace pages_test {
namespace {

class MediaNoticesTest : public PagesTest {
 protected:
  void TearDown() override {
    DestroyMediaNoticeWindow();
    PagesTest::TearDown();
  }
  static void PumpMessages() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  }
  // A plain window of another kind, made the way the program's are.
  static HWND OtherWindow() {
    WNDCLASS cls{};
    cls.lpfnWndProc = DefWindowProc;
    cls.lpszClassName = "NoticesTestOther";
    WNDCLASS known{};
    if (!GetClassInfo(nullptr, cls.lpszClassName, &known)) RegisterClass(&cls);
    return CreateWindowEx(0, cls.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
};

TEST_F(MediaNoticesTest, NoticesAreCountedAndAResetNeverTakesAnotherWindow) {
  HWND first = MediaNoticeWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(MediaNoticeWindow(), first);  // one window, kept
  const std::uint32_t before = MediaNoticeCount();
  for (WPARAM why : {MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUPERSEDED})
    PostMessage(first, MM_MCINOTIFY, why, 1);
  PumpMessages();
  EXPECT_EQ(MediaNoticeCount(), before + 3);

  // The window system starts afresh; handles are given out again from the
  // start, so another window may now have the old one.
  testing_support::FreshWindowSystem();
  HWND other = OtherWindow();
  ASSERT_NE(other, nullptr);
  HWND again = MediaNoticeWindow();
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, other);
  PostMessage(again, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 1);
  PumpMessages();
  EXPECT_EQ(MediaNoticeCount(), before + 4);
  // Dropping the notice window leaves the other one alone.
  testing_support::FreshWindowSystem();
  other = OtherWindow();
  DestroyMediaNoticeWindow();
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
}

}  // namespace
}  // namespace pages_test
