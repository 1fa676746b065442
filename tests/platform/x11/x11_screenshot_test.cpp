// A window opened and drawn on an X server (an Xvfb the test starts): the
// server's own screenshot (xwd) shows the same pixels as the headless
// rendering of the same calls.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/display.h"
#include "display/headless.h"
#include "support/temp_dir.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"
#include "settle.h"
#include "xvfb_server.h"
#include "xwd_reader.h"
#include "support/tools.h"

namespace {

constexpr int kX = 20, kY = 30, kWidth = 160, kHeight = 120;

LRESULT DrawingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(wnd, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(wnd, &ps);
  RECT rc;
  GetClientRect(wnd, &rc);
  HBRUSH sky = CreateSolidBrush(RGB(40, 90, 200));
  FillRect(dc, &rc, sky);
  DeleteObject(sky);
  HBRUSH sun = CreateSolidBrush(RGB(250, 220, 40));
  HGDIOBJ oldBrush = SelectObject(dc, sun);
  Ellipse(dc, 10, 10, 60, 60);
  SelectObject(dc, oldBrush);
  DeleteObject(sun);
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 30, 30));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, 0, 100, nullptr);
  LineTo(dc, 140, 70);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOut(dc, 70, 20, "Zemra", 5);
  EndPaint(wnd, &ps);
  return 0;
}

// Opens the window on the display in use, lets it paint, and shows it.
HWND OpenAndDraw() {
  win::ResetUserState();
  win::ResetGdiState();
  WNDCLASS wc{};
  wc.lpfnWndProc = DrawingProc;
  wc.lpszClassName = "Drawing";
  RegisterClass(&wc);
  HWND w = CreateWindow("Drawing", "Zemra X11 test", WS_POPUP | WS_BORDER | WS_VSCROLL | WS_VISIBLE,
                        kX, kY, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 25, 40, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  x11_test::Settle();
  return w;
}

class X11Screenshot : public ::testing::Test {
 protected:
  void TearDown() override {
    win::ResetUserState();
    win::display::Use(win::display::MakeHeadless());
    server_.Stop();
  }
  x11_test::XvfbServer server_;
};

TEST_F(X11Screenshot, TheServerShowsWhatTheHeadlessDisplayDraws) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("xwd"), "xwd (x11-apps) is not installed");
  std::string error;
  ZEMRA_SKIP_WITHOUT(server_.Start(640, 480, &error), error);

  win::ResetUserState();
  auto x11 = win::display::MakeX11(server_.name().c_str());
  ASSERT_NE(x11, nullptr) << "cannot open " << server_.name();
  win::display::Use(std::move(x11));
  EXPECT_FALSE(win::IsHeadless());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  OpenAndDraw();

  testing_support::TempDir dir;
  const std::string dump = dir.file("screen.xwd");
  const std::string command = "xwd -root -silent -display " + server_.name() + " -out " + dump;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  auto screen = x11_test::ReadXwd(dump, &error);
  ASSERT_NE(screen, nullptr) << error;
  ASSERT_GE(screen->width(), kX + kWidth);

  // The same calls, headless.
  win::ResetUserState();
  win::display::Use(win::display::MakeHeadless());
  HWND w = OpenAndDraw();
  auto expected = win::headless::CaptureWindow(w);
  ASSERT_NE(expected, nullptr);

  int differing = 0;
  std::string first;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t got = screen->At(kX + x, kY + y), want = expected->At(x, y);
      if (got != want && !differing++) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "(%d, %d): 0x%06X, headless 0x%06X", x, y,
                      static_cast<unsigned>(got), static_cast<unsigned>(want));
        first = buf;
      }
    }
  EXPECT_EQ(differing, 0) << "first difference at " << first;
}

}  // namespace
