// A tree of overlapping windows painted through GDI and compared pixel by
// pixel with the picture the visible regions should give.
#include <algorithm>

#include "support/temp_dir.h"
#include "window_pixels.h"

using namespace pixels_test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0);

using WindowTreePixels = PixelTest;

// top 120 x 100 red; a (10, 10, 60 x 50) green above b (40, 30, 60 x 50)
// blue, both clipping their siblings; a1 yellow, inside a at (40, 30) but
// reaching out of it.
struct Tree {
  HWND top, a, b, a1;
};

Tree Build(DWORD topStyle) {
  Tree t;
  t.top = PixelTest::Solid(nullptr, topStyle, 0, 0, 120, 100, kRed);
  t.a = PixelTest::Solid(t.top, WS_CLIPSIBLINGS, 10, 10, 60, 50, kGreen);
  t.b = PixelTest::Solid(t.top, WS_CLIPSIBLINGS, 40, 30, 60, 50, kBlue);
  t.a1 = PixelTest::Solid(t.a, 0, 40, 30, 40, 40, kYellow);
  return t;
}

std::unique_ptr<win::gdi::Surface> Expected(bool aShown = true) {
  auto want = win::gdi::Surface::Create(120, 100);
  PixelTest::Paint(*want, RECT{0, 0, 120, 100}, kRed);
  PixelTest::Paint(*want, RECT{40, 30, 100, 80}, kBlue);
  if (aShown) {
    PixelTest::Paint(*want, RECT{10, 10, 70, 60}, kGreen);
    PixelTest::Paint(*want, RECT{50, 40, 70, 60}, kYellow);  // a1 cut at a's edges
  }
  return want;
}

TEST_F(WindowTreePixels, OverlappingChildrenShowByZOrderAndClipping) {
  for (DWORD clip : {0u, static_cast<unsigned>(WS_CLIPCHILDREN)}) {
    SetUp();
    const Tree t = Build(clip);
    win::headless::DispatchPending();
    auto got = win::headless::CaptureWindow(t.top);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(Difference(*got, *Expected()), "") << "clip children " << clip;

    // The parent painted again: with WS_CLIPCHILDREN it cannot reach the
    // children; without, they are invalidated with it and paint again.
    InvalidateRect(t.top, nullptr, FALSE);
    win::headless::DispatchPending();
    got = win::headless::CaptureWindow(t.top);
    EXPECT_EQ(Difference(*got, *Expected()), "") << "repainted, clip children " << clip;
  }
}

TEST_F(WindowTreePixels, HidingAndMovingUncoverWhatLiesBelow) {
  const Tree t = Build(WS_CLIPCHILDREN);
  win::headless::DispatchPending();
  ShowWindow(t.a, SW_HIDE);
  win::headless::DispatchPending();
  EXPECT_EQ(Difference(*win::headless::CaptureWindow(t.top), *Expected(false)), "");
  ShowWindow(t.a, SW_SHOW);
  win::headless::DispatchPending();
  EXPECT_EQ(Difference(*win::headless::CaptureWindow(t.top), *Expected()), "");

  // b moves to the right edge and under nothing.
  MoveWindow(t.b, 80, 70, 40, 30, TRUE);
  win::headless::DispatchPending();
  auto want = win::gdi::Surface::Create(120, 100);
  Paint(*want, RECT{0, 0, 120, 100}, kRed);
  Paint(*want, RECT{10, 10, 70, 60}, kGreen);
  Paint(*want, RECT{50, 40, 70, 60}, kYellow);
  Paint(*want, RECT{80, 70, 120, 100}, kBlue);
  EXPECT_EQ(Difference(*win::headless::CaptureWindow(t.top), *want), "");

  // Raised above a, b now covers it where they meet.
  MoveWindow(t.b, 40, 30, 60, 50, TRUE);
  SetWindowPos(t.b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  win::headless::DispatchPending();
  want = Expected();
  Paint(*want, RECT{40, 30, 100, 80}, kBlue);
  EXPECT_EQ(Difference(*win::headless::CaptureWindow(t.top), *want), "");
}

TEST_F(WindowTreePixels, ScrollWindowMovesPixelsAndPaintsTheUncoveredStrip) {
  // Stripes drawn once; the window paints plain grey when asked again.
  HWND w = Solid(nullptr, 0, 0, 0, 40, 40, RGB(128, 128, 128));
  win::headless::DispatchPending();
  HDC dc = GetDC(w);
  for (int y = 0; y < 40; y += 10) {
    RECT band{0, y, 40, y + 10};
    HBRUSH brush = CreateSolidBrush(RGB(y * 6, 0, 0));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
  ReleaseDC(w, dc);
  RECT update{};
  ScrollWindowEx(w, 0, -10, nullptr, nullptr, nullptr, &update, SW_INVALIDATE);
  EXPECT_EQ(update.top, 30);
  EXPECT_EQ(update.bottom, 40);
  win::headless::DispatchPending();
  auto want = win::gdi::Surface::Create(40, 40);
  for (int y = 0; y < 30; y += 10) Paint(*want, RECT{0, y, 40, y + 10}, RGB((y + 10) * 6, 0, 0));
  Paint(*want, RECT{0, 30, 40, 40}, RGB(128, 128, 128));
  EXPECT_EQ(Difference(*win::headless::CaptureWindow(w), *want), "");
}

TEST_F(WindowTreePixels, TheFrameIsDrawnAroundTheClientArea) {
  // A thin border in the window-frame colour (black), a client edge, and
  // the client area painted by the window.
  HWND w = CreateWindowEx(WS_EX_CLIENTEDGE, kSolid, "", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 30,
                          20, nullptr, nullptr, nullptr, nullptr);
  SetWindowLong(w, GWL_USERDATA, static_cast<LONG_PTR>(kGreen));
  win::headless::DispatchPending();
  auto got = win::headless::CaptureWindow(w);
  ASSERT_NE(got, nullptr);
  auto rgb = [](COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
  EXPECT_EQ(got->At(0, 0), rgb(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(got->At(29, 19), rgb(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(got->At(1, 5), rgb(GetSysColor(COLOR_BTNSHADOW)));     // sunken edge, outer
  EXPECT_EQ(got->At(2, 5), rgb(GetSysColor(COLOR_3DDKSHADOW)));    // sunken edge, inner
  EXPECT_EQ(got->At(28, 5), rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(got->At(3, 3), rgb(kGreen));
  EXPECT_EQ(got->At(26, 16), rgb(kGreen));
}

TEST_F(WindowTreePixels, SavedPictureIsAPngOfTheWindow) {
  HWND top = Solid(nullptr, 0, 5, 5, 16, 8, kBlue);
  win::headless::DispatchPending();
  testing_support::TempDir dir;
  const std::string path = dir.file("window.png");
  std::string error;
  ASSERT_TRUE(win::headless::SaveWindowPng(top, path, &error)) << error;
  auto back = win::gdi::ReadPng(path, &error);
  ASSERT_NE(back, nullptr) << error;
  auto want = win::gdi::Surface::Create(16, 8);
  Paint(*want, RECT{0, 0, 16, 8}, kBlue);
  EXPECT_EQ(Difference(*back, *want), "");
  EXPECT_FALSE(win::headless::SaveWindowPng(reinterpret_cast<HWND>(999), path, &error));
}

}  // namespace

namespace {

TEST_F(WindowTreePixels, TheScreenShowsTheWindowsInTheirOrder) {
  Solid(nullptr, 0, 10, 10, 30, 30, kRed);
  HWND upper = Solid(nullptr, 0, 20, 20, 30, 30, kBlue);
  win::headless::DispatchPending();
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetPixel(screen, 15, 15), kRed);
  EXPECT_EQ(GetPixel(screen, 25, 25), kBlue);  // the newer window is on top
  EXPECT_EQ(GetPixel(screen, 45, 45), kBlue);
  EXPECT_EQ(GetPixel(screen, 5, 5), GetSysColor(COLOR_BACKGROUND));
  ReleaseDC(nullptr, screen);
  SetWindowPos(upper, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 25, 25), kRed);
  ReleaseDC(nullptr, screen);
}

}  // namespace
