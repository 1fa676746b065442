// Information calls, palettes, drawing into device contexts, device-bitmap
// conversion, and the export table as a run-time caller binds it.
#include <cstring>
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "win/module.h"

namespace pixolt_test {
namespace {

class InfoDrawTest : public PixoltTest {
 protected:
  void SetUp() override {
    PixoltTest::SetUp();
    win::ResetGdiState();
  }
  // A 24-bit memory context of w x h, cleared to white.
  HDC Canvas(int w, int h) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(w, h, 1, 24, nullptr);
    SelectObject(dc, bm);
    PatBlt(dc, 0, 0, w, h, WHITENESS);
    return dc;
  }
  static Rgb At(HDC dc, int x, int y) {
    COLORREF c = GetPixel(dc, x, y);
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
  }
};

TEST_F(InfoDrawTest, ColourCountsAndSmallCalls) {
  struct Case {
    WORD bits;
    DWORD clrUsed;
    DWORD expected;
  } cases[] = {{24, 0, 0}, {8, 0, 256}, {4, 5, 5}, {4, 0, 16}, {1, 0, 2}, {24, 7, 7}};
  for (const Case& c : cases) {
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biBitCount = c.bits;
    h.biClrUsed = c.clrUsed;
    EXPECT_EQ(GetColorsInPalette(&h), c.expected) << c.bits << "/" << c.clrUsed;
  }
  HGLOBAL dib = Keep(MakeDib(7, 3, 4, std::vector<Rgb>(16), [](int, int) { return 0u; }));
  EXPECT_EQ(GetDIBWidth(dib), 7);
  EXPECT_EQ(GetDIBHeight(dib), 3);
  EXPECT_EQ(GetDIBBitPerPixel(dib), 4u);
  EXPECT_EQ(GetDIBWidth(nullptr), 0);
  EXPECT_EQ(GetDIBHeight(nullptr), 0);
  EXPECT_EQ(GetDIBBitPerPixel(nullptr), 0u);
  EXPECT_EQ(DIBGetVersion(), 0x0400);
  EXPECT_EQ(WEP(0), 1);
  EXPECT_EQ(ReduceIT(-12345), -12345);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(InfoDrawTest, PaletteOfTheTableOrTheColourCube) {
  HGLOBAL rgb = Keep(MakeDib(2, 2, 24, {}, [](int, int) { return 0u; }));
  HPALETTE cube = CreateDIBPalette(rgb);
  ASSERT_NE(cube, nullptr);
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(cube, 0, 256, e), 256u);
  EXPECT_EQ((std::vector<int>{e[0].peRed, e[0].peGreen, e[0].peBlue}), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ((std::vector<int>{e[7].peRed, e[7].peGreen, e[7].peBlue}), (std::vector<int>{224, 0, 0}));
  EXPECT_EQ((std::vector<int>{e[255].peRed, e[255].peGreen, e[255].peBlue}), (std::vector<int>{224, 224, 192}));
  DeleteObject(cube);

  HGLOBAL five = Keep(MakeDib(2, 2, 8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}},
                              [](int, int) { return 0u; }));
  HPALETTE pal = CreateDIBPalette(five);
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 256, e), 5u);
  EXPECT_EQ((std::vector<int>{e[4].peRed, e[4].peGreen, e[4].peBlue, e[4].peFlags}), (std::vector<int>{13, 14, 15, 0}));
  DeleteObject(pal);

  HGLOBAL os2 = Keep(BlockOf(std::string("\x0c\0\0\0\x02\0\x02\0\x01\0\x08\0", 12)));
  EXPECT_EQ(CreateDIBPalette(os2), nullptr);
  EXPECT_EQ(CreateDIBPalette(nullptr), nullptr);
  // A 16-bit DIB has neither a table nor the cube.
  HGLOBAL sixteen = Keep(MakeDib(2, 2, 24, {}, [](int, int) { return 0u; }));
  static_cast<BITMAPINFOHEADER*>(GlobalLock(sixteen))->biBitCount = 16;
  GlobalUnlock(sixteen);
  EXPECT_EQ(CreateDIBPalette(sixteen), nullptr);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(InfoDrawTest, DrawAndStretchADib) {
  std::vector<Rgb> colors = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
  HGLOBAL dib = Keep(MakeDib(5, 3, 8, colors, [](int x, int y) { return std::uint32_t((x + y) % 3); }));
  Picture expected = Render(dib);
  HDC dc = Canvas(20, 20);
  HGDIOBJ before = GetCurrentObject(dc, OBJ_PAL);
  EXPECT_EQ(DrawDIB(dc, dib, nullptr, 2, 4), TRUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(dc, 2 + x, 4 + y), expected.at(x, y)) << x << "," << y;
  EXPECT_EQ(At(dc, 1, 4), (Rgb{255, 255, 255}));

  HPALETTE pal = CreateDIBPalette(dib);
  EXPECT_EQ(StretchDIB(dc, dib, pal, 0, 10, 10, 6), TRUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
  EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(At(dc, x, 10 + y), expected.at(x / 2, y / 2)) << x << "," << y;
  DeleteObject(pal);

  // Nothing is drawn for a null DIB or one whose header lies; no message.
  HGLOBAL lying = Keep(MakeDib(5, 3, 8, colors, [](int, int) { return 1u; }));
  static_cast<BITMAPINFOHEADER*>(GlobalLock(lying))->biWidth = 4000;
  GlobalUnlock(lying);
  EXPECT_EQ(DrawDIB(dc, nullptr, nullptr, 0, 0), FALSE);
  EXPECT_EQ(DrawDIB(dc, lying, nullptr, 0, 0), FALSE);
  EXPECT_EQ(StretchDIB(dc, lying, nullptr, 0, 0, 4, 4), FALSE);
  EXPECT_EQ(At(dc, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_TRUE(Messages().empty());
  DeleteDC(dc);
}

TEST_F(InfoDrawTest, DeviceBitmapsBothWays) {
  HGLOBAL dib = Keep(MakeDib(6, 4, 24, {}, [](int x, int y) { return std::uint32_t(x * 0x281400 + y * 0x000A33 + 5); }));
  HBITMAP bm = DIBtoDDB(dib, nullptr);
  ASSERT_NE(bm, nullptr);
  HGLOBAL back = Keep(DDBtoDIB(bm, nullptr, 24, BI_RGB));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(FirstDifference(Render(back), Render(dib)), "");
  BITMAPINFOHEADER h = HeaderOf(back);
  EXPECT_EQ(h.biXPelsPerMeter, 2953);
  EXPECT_EQ(h.biSizeImage, 4u * 20);

  // The bitmap drawn unscaled and stretched.
  HDC dc = Canvas(20, 20);
  EXPECT_EQ(DrawDDB(dc, bm, nullptr, 1, 1), TRUE);
  EXPECT_EQ(StretchDDB(dc, bm, nullptr, 8, 0, 12, 8), TRUE);
  Picture p = Render(dib);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(At(dc, 1 + x, 1 + y), p.at(x, y));
      EXPECT_EQ(At(dc, 8 + 2 * x, 2 * y), p.at(x, y));
    }
  // The bitmap is free again for its owner.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_NE(SelectObject(other, bm), nullptr);
  DeleteDC(other);

  // Bit count 0: the bitmap's own depth.
  HBITMAP deep = CreateBitmap(3, 2, 1, 32, nullptr);
  HGLOBAL d32 = Keep(DDBtoDIB(deep, nullptr, 0, BI_RGB));
  ASSERT_NE(d32, nullptr);
  EXPECT_EQ(HeaderOf(d32).biBitCount, 32);

  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(DDBtoDIB(bm, nullptr, 8, BI_RLE8), nullptr);
  EXPECT_EQ(DDBtoDIB(nullptr, nullptr, 8, BI_RGB), nullptr);
  EXPECT_EQ(DrawDDB(dc, nullptr, nullptr, 0, 0), FALSE);
  EXPECT_EQ(StretchDDB(dc, nullptr, nullptr, 0, 0, 1, 1), FALSE);
  EXPECT_EQ(DIBtoDDB(nullptr, nullptr), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"DDBtoDIB: Fehler in GetDIBits bei RLE-DIBs!",
                                                  "DDBtoDIB: Keine DDB vorhanden!", "DrawDDB: Keine DDB vorhanden!",
                                                  "StretchDDB: Keine DDB vorhanden!", "DIBtoDDB: Keine DIB vorhanden!"}));
  DeleteDC(dc);
  DeleteObject(bm);
  DeleteObject(deep);
}

// Every export is bound by its ordinal and its name, as the client and the
// plug-ins bind them when they load the library.
TEST_F(InfoDrawTest, ExportsByOrdinalAndName) {
  std::string path = std::string(ZEMRA_BINARY_DIR) + "/bin/PIXOLT.DLL";
  HMODULE lib = LoadLibrary(path.c_str());
  ASSERT_NE(lib, nullptr);
  struct Export {
    int ordinal;
    const char* name;
    void* address;
  } exports[] = {
      {1, "WEP", reinterpret_cast<void*>(WEP)},
      {2, "GetDIBWidth", reinterpret_cast<void*>(GetDIBWidth)},
      {5, "GetColorsInPalette", reinterpret_cast<void*>(GetColorsInPalette)},
      {6, "CreateDIBPalette", reinterpret_cast<void*>(CreateDIBPalette)},
      {8, "StretchDIB", reinterpret_cast<void*>(StretchDIB)},
      {11, "IsBMPFile", reinterpret_cast<void*>(IsBMPFile)},
      {12, "ReadDIB", reinterpret_cast<void*>(ReadDIB)},
      {16, "CopyDIB", reinterpret_cast<void*>(CopyDIB)},
      {18, "RLEtoDIB", reinterpret_cast<void*>(RLEtoDIB)},
      {21, "ReduceColors", reinterpret_cast<void*>(ReduceColors)},
      {22, "DIBGetVersion", reinterpret_cast<void*>(DIBGetVersion)},
      {24, "SmallSizeDIB", reinterpret_cast<void*>(SmallSizeDIB)},
      {25, "DIB1To4", reinterpret_cast<void*>(DIB1To4)},
      {26, "DIB1To8", reinterpret_cast<void*>(DIB1To8)},
      {28, "DIB4To8", reinterpret_cast<void*>(DIB4To8)},
      {31, "DIB4To1", reinterpret_cast<void*>(DIB4To1)},
      {32, "DIB8To1", reinterpret_cast<void*>(DIB8To1)},
      {34, "DIB24To1", reinterpret_cast<void*>(DIB24To1)},
      {36, "DIB24To8", reinterpret_cast<void*>(DIB24To8)},
      {37, "ReduceIT", reinterpret_cast<void*>(ReduceIT)},
      {38, "ReadXbm", reinterpret_cast<void*>(ReadXbm)},
      {39, "ReadMemDIB", reinterpret_cast<void*>(ReadMemDIB)},
      {40, "ReadMemXbm", reinterpret_cast<void*>(ReadMemXbm)},
      {91, "DlgConversion", reinterpret_cast<void*>(DlgConversion)},
  };
  for (const Export& e : exports) {
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCE(e.ordinal))), e.address) << e.name;
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(lib, e.name)), e.address) << e.name;
  }
  for (int unused : {20, 23, 42, 90, 92}) EXPECT_EQ(GetProcAddress(lib, MAKEINTRESOURCE(unused)), nullptr) << unused;
  // Called through the ordinal like the client does.
  auto version = reinterpret_cast<WORD (*)()>(GetProcAddress(lib, MAKEINTRESOURCE(22)));
  EXPECT_EQ(version(), 0x0400);
  EXPECT_EQ(FreeLibrary(lib), TRUE);
}

}  // namespace
}  // namespace pixolt_test
