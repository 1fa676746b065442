// Palettes, and the 8- and 4-bit display modes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "dib_builder.h"
#include "gdi_test_util.h"
#include "win/wing.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;

namespace {

class GdiPalette : public gdi_test::GdiTest {};

HPALETTE MakePalette(const std::vector<COLORREF>& colors, BYTE flags = 0) {
  std::vector<std::uint8_t> block(4 + 4 * colors.size());
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(colors.size());
  for (std::size_t i = 0; i < colors.size(); ++i) {
    lp->palPalEntry[i] = PALETTEENTRY{GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), flags};
  }
  return CreatePalette(lp);
}

TEST_F(GdiPalette, DeviceCapsFollowDisplayDepth) {
  struct Case {
    int bits;
    bool palette;
    int size, numColors;
  } cases[] = {{24, false, 0, -1}, {8, true, 256, 20}, {4, true, 16, 16}};
  for (const Case& c : cases) {
    ASSERT_TRUE(win::SetDisplayBitsPerPixel(c.bits));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES), c.bits);
    EXPECT_EQ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0, c.palette);
    EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), c.size);
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), c.numColors);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, TECHNOLOGY), DT_RASDISPLAY);
    ReleaseDC(nullptr, screen);
  }
  EXPECT_FALSE(win::SetDisplayBitsPerPixel(16));
  EXPECT_EQ(win::DisplayBitsPerPixel(), 4);
  // The environment setting is read when GDI starts afresh.
  setenv("ZEMRA_DISPLAY_BPP", "8", 1);
  win::ResetGdiState();
  EXPECT_EQ(win::DisplayBitsPerPixel(), 8);
  setenv("ZEMRA_DISPLAY_BPP", "17", 1);
  win::ResetGdiState();
  EXPECT_EQ(win::DisplayBitsPerPixel(), 24);
  unsetenv("ZEMRA_DISPLAY_BPP");
  win::ResetGdiState();
  EXPECT_EQ(win::DisplayBitsPerPixel(), 24);
}

TEST_F(GdiPalette, EightBitDisplayMapsToSystemPalette) {
  win::SetDisplayBitsPerPixel(8);
  Canvas cv(4, 1);
  const COLORREF odd = RGB(250, 10, 10);
  HBRUSH b = CreateSolidBrush(odd);
  RECT r{0, 0, 2, 1};
  FillRect(cv.dc(), &r, b);
  EXPECT_EQ(cv.At(0, 0), RGB(255, 0, 0));  // the nearest static colour
  EXPECT_EQ(GetNearestColor(cv.dc(), odd), RGB(255, 0, 0));
  // Realised into the system palette, the colour is shown as it is.
  HPALETTE pal = MakePalette({odd, RGB(1, 2, 3), RGB(0, 0, 0)});
  HDC screen = GetDC(nullptr);
  HPALETTE old = SelectPalette(screen, pal, FALSE);
  EXPECT_EQ(RealizePalette(screen), 2u);  // black is a static colour already
  EXPECT_EQ(RealizePalette(screen), 0u);  // nothing changes the second time
  PALETTEENTRY sys[256];
  EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 256, sys), 256u);
  EXPECT_EQ(sys[0].peRed, 0);
  EXPECT_EQ(sys[255].peBlue, 255);
  EXPECT_EQ(sys[10].peRed, 250);
  SelectPalette(screen, old, FALSE);
  ReleaseDC(nullptr, screen);
  FillRect(cv.dc(), &r, b);
  EXPECT_EQ(cv.At(0, 0), odd);
  // PALETTEINDEX names an entry of the DC's palette.
  SelectPalette(cv.dc(), pal, FALSE);
  EXPECT_EQ(SetPixel(cv.dc(), 3, 0, PALETTEINDEX(1)), RGB(1, 2, 3));
  EXPECT_EQ(SetPixel(cv.dc(), 3, 0, PALETTERGB(2, 2, 2)), RGB(1, 2, 3));  // nearest entry
  SelectPalette(cv.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(b);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST_F(GdiPalette, PaletteDibsUseTheRealisedPalette) {
  win::SetDisplayBitsPerPixel(8);
  std::vector<COLORREF> colors;
  std::vector<RGBQUAD> table;
  for (int i = 0; i < 16; ++i) {
    colors.push_back(RGB(i * 16 + 3, 200 - i * 9, i * 5 + 40));
    table.push_back(RGBQUAD{BYTE(i * 5 + 40), BYTE(200 - i * 9), BYTE(i * 16 + 3), 0});
  }
  HPALETTE pal = MakePalette(colors);
  auto d = gdi_test::MakeDib(6, 5, 4, false, [](int x, int y) { return std::uint32_t((x + y * 6) % 16); },
                             table, true);
  Canvas cv(6, 5);
  SelectPalette(cv.dc(), pal, FALSE);
  EXPECT_GT(RealizePalette(cv.dc()), 0u);
  SetDIBitsToDevice(cv.dc(), 0, 0, 6, 5, 0, 0, 0, 5, d.pixelBits(), d.info(), DIB_PAL_COLORS);
  ExpectPicture(cv.surface(), [&](int x, int y) { return d.ColorAt(x, y); }, "pal-colors");
  SelectPalette(cv.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(pal);
}

TEST_F(GdiPalette, InversionWorksOnIndexes) {
  for (int bits : {8, 4}) {
    win::SetDisplayBitsPerPixel(bits);
    Canvas cv(3, 1, RGB(255, 255, 255));
    SetPixel(cv.dc(), 1, 0, RGB(192, 192, 192));
    SetPixel(cv.dc(), 2, 0, RGB(128, 0, 0));
    RECT r{0, 0, 3, 1};
    InvertRect(cv.dc(), &r);
    EXPECT_EQ(cv.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(1, 0), RGB(128, 128, 128));  // the complementary static colour
    EXPECT_EQ(cv.At(2, 0), RGB(0, 255, 255));
    InvertRect(cv.dc(), &r);
    EXPECT_EQ(cv.At(1, 0), RGB(192, 192, 192));
    EXPECT_EQ(cv.At(2, 0), RGB(128, 0, 0));
  }
}

TEST_F(GdiPalette, LogicalPaletteCalls) {
  HPALETTE pal = MakePalette({RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 250)});
  ASSERT_TRUE(pal);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(10, 0, 200)), 2u);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 3u);
  PALETTEENTRY e[4];
  EXPECT_EQ(GetPaletteEntries(pal, 1, 4, e), 2u);
  EXPECT_EQ(e[0].peRed, 255);
  PALETTEENTRY repl{1, 2, 3, 0};
  EXPECT_EQ(SetPaletteEntries(pal, 2, 1, &repl), 1u);
  EXPECT_EQ(SetPaletteEntries(pal, 3, 1, &repl), 0u);
  EXPECT_TRUE(ResizePalette(pal, 5));
  WORD n = 0;
  EXPECT_EQ(GetObject(pal, sizeof n, &n), 2);
  EXPECT_EQ(n, 5);
  LOGPALETTE bad{0x200, 1, {{0, 0, 0, 0}}};
  EXPECT_FALSE(CreatePalette(&bad));
  LOGPALETTE empty{0x300, 0, {{0, 0, 0, 0}}};
  EXPECT_FALSE(CreatePalette(&empty));
  // On a true-colour display nothing is realised and the system palette is empty.
  HDC screen = GetDC(nullptr);
  SelectPalette(screen, pal, TRUE);
  EXPECT_EQ(RealizePalette(screen), 0u);
  EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 256, e), 0u);
  SelectPalette(screen, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(DeleteObject(pal));
  EXPECT_EQ(GetNearestPaletteIndex(pal, 0), CLR_INVALID);
}

TEST_F(GdiPalette, HalftonePalette) {
  HPALETTE pal = WinGCreateHalftonePalette();
  ASSERT_TRUE(pal);
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(pal, 0, 256, e), 256u);
  const RGBQUAD* want = win::HalftonePaletteColors();
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(e[i].peRed, want[i].rgbRed);
    EXPECT_EQ(e[i].peGreen, want[i].rgbGreen);
    EXPECT_EQ(e[i].peBlue, want[i].rgbBlue);
    EXPECT_EQ(e[i].peFlags, 0);
  }
  DeleteObject(pal);
}

TEST_F(GdiPalette, UpdateColorsFollowsANewPalette) {
  win::SetDisplayBitsPerPixel(8);
  HDC screen = GetDC(nullptr);
  HPALETTE a = MakePalette({RGB(100, 50, 25)});
  SelectPalette(screen, a, FALSE);
  RealizePalette(screen);
  SetPixel(screen, 0, 0, RGB(100, 50, 25));
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(100, 50, 25));
  // Another foreground palette takes the free entries; the old colour is no
  // longer there and UpdateColors shows the nearest one.
  HPALETTE b = MakePalette({RGB(90, 40, 30)});
  SelectPalette(screen, b, FALSE);
  EXPECT_EQ(RealizePalette(screen), 1u);
  UpdateColors(screen);
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(90, 40, 30));
  SelectPalette(screen, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  ReleaseDC(nullptr, screen);
  DeleteObject(a);
  DeleteObject(b);
}

}  // namespace
