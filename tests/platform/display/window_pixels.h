// Windows that paint themselves one solid colour, and pictures to compare
// what the window system drew with what it should have drawn.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "display/headless.h"
#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "win/gdi.h"
#include "win/user.h"

namespace pixels_test {

// The colour a Solid window paints is its GWL_USERDATA (a COLORREF).
inline LRESULT SolidProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT rc;
      GetClientRect(wnd, &rc);
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLong(wnd, GWL_USERDATA)));
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      EndPaint(wnd, &ps);
      return 0;
    }
    default: return DefWindowProc(wnd, msg, wp, lp);
  }
}

inline constexpr char kSolid[] = "Solid";

class PixelTest : public ::testing::Test {
 public:
  void SetUp() override {
    win::ResetUserState();
    win::ResetGdiState();
    WNDCLASS wc{};
    wc.lpfnWndProc = SolidProc;
    wc.lpszClassName = kSolid;
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    win::ResetUserState();
    win::ResetGdiState();
  }

  static HWND Solid(HWND parent, DWORD style, int x, int y, int w, int h, COLORREF color) {
    HWND wnd = CreateWindow(kSolid, "", style | WS_VISIBLE | (parent ? WS_CHILD : WS_POPUP), x, y, w,
                            h, parent, nullptr, nullptr, nullptr);
    SetWindowLong(wnd, GWL_USERDATA, static_cast<LONG_PTR>(color));
    InvalidateRect(wnd, nullptr, FALSE);
    return wnd;
  }
  // Fills a picture's rectangle with a colour (COLORREF).
  static void Paint(win::gdi::Surface& s, RECT r, COLORREF c) {
    const std::uint32_t px = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    for (LONG y = std::max<LONG>(0, r.top); y < std::min<LONG>(s.height(), r.bottom); ++y)
      for (LONG x = std::max<LONG>(0, r.left); x < std::min<LONG>(s.width(), r.right); ++x) s.Row(y)[x] = px;
  }
  // Empty when equal; otherwise where and how they differ.
  static std::string Difference(const win::gdi::Surface& got, const win::gdi::Surface& want) {
    if (got.width() != want.width() || got.height() != want.height())
      return "sizes differ: " + std::to_string(got.width()) + "x" + std::to_string(got.height());
    int count = 0;
    std::string first;
    for (int y = 0; y < got.height(); ++y)
      for (int x = 0; x < got.width(); ++x)
        if (got.At(x, y) != want.At(x, y)) {
          if (!count++) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "first at (%d, %d): 0x%06X, wanted 0x%06X", x, y,
                          static_cast<unsigned>(got.At(x, y)), static_cast<unsigned>(want.At(x, y)));
            first = buf;
          }
        }
    return count ? std::to_string(count) + " pixels differ, " + first : std::string();
  }
};

}  // namespace pixels_test
