// The start-up logo: laid out around the picture and centred on the
// screen, the version line centred in the band below it; a logo that
// cannot be read gives the layout of a 0 x 0 picture and draws nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "display/headless.h"
#include "pages/objects/logo_window.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/rect_text.h"
#include "support/packed_dib.h"

namespace {

using pages_test::PagesTest;
using pages_test::RectText;

class LogoWindowTest : public PagesTest {
 protected:
  // A 24-bit BMP file of w x h in one colour.
  std::string Logo(int w, int h, std::uint32_t colour) {
    const auto dib = testing_support::PackDib(w, h, 24, {}, true, [&](int, int) { return colour; });
    const std::string path = tmp_.file("ORVELLO.GIF");
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t size = static_cast<std::uint32_t>(14 + dib.size());
    const std::uint32_t offset = 14 + 40;
    const char header[14] = {'B', 'M',
                             char(size), char(size >> 8), char(size >> 16), char(size >> 24),
                             0, 0, 0, 0,
                             char(offset), char(offset >> 8), 0, 0};
    out.write(header, 14);
    out.write(reinterpret_cast<const char*>(dib.data()), static_cast<std::streamsize>(dib.size()));
    return path;
  }
  static RECT WindowRect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r;
  }
};

TEST_F(LogoWindowTest, TheDialogIsLaidOutAroundThePictureAndCentred) {
  LogoDialog logo("v0.85", Logo(300, 200, 0x3366CC).c_str());
  ASSERT_TRUE(logo.Create(static_cast<CWnd*>(nullptr)));
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int left = (sw - 310) / 2, top = (sh - 250) / 2;
  EXPECT_EQ(RectText(WindowRect(logo.GetSafeHwnd())), RectText(RECT{left, top, left + 310, top + 250}));
  EXPECT_TRUE(logo.Control().HasPicture());
  RECT control = WindowRect(logo.Control().GetSafeHwnd());
  POINT at{control.left, control.top};
  ScreenToClient(logo.GetSafeHwnd(), &at);
  EXPECT_EQ(at.x, 4);
  EXPECT_EQ(at.y, 4);
  EXPECT_EQ(control.right - control.left, 300);
  EXPECT_EQ(control.bottom - control.top, 200);
  HWND version = GetDlgItem(logo.GetSafeHwnd(), LogoDialog::kVersionId);
  ASSERT_TRUE(version);
  char text[64] = {};
  GetWindowText(version, text, sizeof text);
  EXPECT_STREQ(text, "Version v0.85");
  const RECT v = WindowRect(version);
  POINT vat{v.left, v.top};
  ScreenToClient(logo.GetSafeHwnd(), &vat);
  EXPECT_EQ(vat.x, (300 - (v.right - v.left)) / 2);
  EXPECT_EQ(vat.y, 200 + (50 - (v.bottom - v.top)) / 2);
  // The picture is drawn where the control is.
  logo.ShowWindow(SW_SHOW);
  logo.UpdateWindow();
  win::headless::DispatchPending();
  const auto shot = win::headless::CaptureWindow(logo.Control().GetSafeHwnd());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->At(150, 100) & 0xFFFFFF, 0x3366CCu);
}

TEST_F(LogoWindowTest, AnUnreadableLogoIsLaidOutAsNothingAndNeverDrawn) {
  const std::string path = tmp_.file("ORVELLO.GIF");
  std::ofstream(path) << "not a picture";
  for (const std::string& file : {path, tmp_.file("missing.gif")}) {
    LogoDialog logo("v0.85", file.c_str());
    ASSERT_TRUE(logo.Create(static_cast<CWnd*>(nullptr)));
    EXPECT_FALSE(logo.Control().HasPicture());
    const RECT r = WindowRect(logo.GetSafeHwnd());
    EXPECT_EQ(r.right - r.left, 10);
    EXPECT_EQ(r.bottom - r.top, 50);
    const RECT c = WindowRect(logo.Control().GetSafeHwnd());
    EXPECT_EQ(c.right - c.left, 0);
    EXPECT_EQ(c.bottom - c.top, 0);
    // An owner-draw request draws nothing from the empty picture.
    DRAWITEMSTRUCT dis{};
    dis.hDC = GetDC(logo.GetSafeHwnd());
    logo.Control().DrawItem(&dis);
    ReleaseDC(logo.GetSafeHwnd(), dis.hDC);
  }
}

}  // namespace
