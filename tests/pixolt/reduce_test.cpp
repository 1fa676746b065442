// Colour reduction: the colour tables of median cut and popularity, the
// mapping with and without dithering, golden results, quality measured
// against pnmquant and ImageMagick, and the message pump during the work.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace pixolt_test {
namespace {

// A smooth picture with a few saturated areas: hard for 16 colours, easy
// for 256.
std::uint32_t Scene(int x, int y) {
  int r = (x * 255) / 95, g = (y * 255) / 71, b = ((x + y) * 3) % 256;
  if ((x / 16 + y / 12) % 4 == 0) return 0xE02020;
  return std::uint32_t(r << 16 | g << 8 | b);
}

class ReduceTest : public PixoltTest {
 protected:
  HGLOBAL SceneDib() { return Keep(MakeDib(96, 72, 24, {}, Scene)); }
};

TEST_F(ReduceTest, Refusals) {
  HGLOBAL rgb = Keep(MakeDib(2, 2, 24, {}, [](int, int) { return 0u; }));
  HGLOBAL eight = Keep(MakeDib(2, 2, 8, std::vector<Rgb>(2), [](int, int) { return 0u; }));
  HGLOBAL os2 = Keep(BlockOf(std::string("\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0", 12)));
  struct Case {
    HGLOBAL in;
    UINT bits;
    const char* message;
  } cases[] = {{nullptr, 8, "ReduceColors: Keine DIB vorhanden!"},
               {rgb, 9, "ReduceColors: nBPP > 8!"},
               {os2, 8, "ReduceColors: Keine Unterst\xfc" "tzung f\xfc" "r OS/2-Bitmaps!"},
               {eight, 8, "ReduceColors: Bitmap ist bereits reduziert!"}};
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(ReduceColors(c.in, c.bits, 0), nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{c.message}));
  }
}

TEST_F(ReduceTest, PopularityTakesTheCommonestCellsFirst) {
  // Counts 3 (cell of red), 5 (green), 3 (blue): green, then the lower of
  // the two tied cells (blue's cell number is lower than red's), then red,
  // then the lowest-numbered of them again.
  HGLOBAL dib = Keep(MakeDib(11, 1, 24, {}, [](int x, int) {
    return x < 3 ? 0xF80000u : x < 8 ? 0x00F800u : 0x0000F8u;
  }));
  HGLOBAL reduced = Keep(ReduceColors(dib, 2, 0));
  ASSERT_NE(reduced, nullptr);
  std::vector<Rgb> table = TableOf(reduced);
  ASSERT_EQ(table.size(), 256u);
  EXPECT_EQ(table[0], (Rgb{0, 248, 0}));
  EXPECT_EQ(table[1], (Rgb{0, 0, 248}));
  EXPECT_EQ(table[2], (Rgb{248, 0, 0}));
  EXPECT_EQ(table[3], (Rgb{0, 0, 248}));
  EXPECT_EQ(table[4], (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelAt(reduced, 0, 0), 2u);
  EXPECT_EQ(PixelAt(reduced, 5, 0), 0u);
  EXPECT_EQ(PixelAt(reduced, 10, 0), 1u);
}

TEST_F(ReduceTest, MedianCutOfOneColour) {
  HGLOBAL dib = Keep(MakeDib(5, 4, 24, {}, [](int, int) { return 0x8C4A21u; }));
  HGLOBAL reduced = Keep(ReduceColors(dib, 8, PIXOLT_REDUCE_MEDIANCUT));
  ASSERT_NE(reduced, nullptr);
  std::vector<Rgb> table = TableOf(reduced);
  EXPECT_EQ(table[0], (Rgb{0x88, 0x48, 0x20}));
  for (std::size_t i = 1; i < 256; ++i) EXPECT_EQ(table[i], (Rgb{0, 0, 0})) << i;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(reduced, x, y), 0u);
  BITMAPINFOHEADER h = HeaderOf(reduced);
  EXPECT_EQ(h.biBitCount, 8);
  EXPECT_EQ(h.biClrUsed, 256u);
  EXPECT_EQ(h.biSizeImage, 8u * 4);
  EXPECT_EQ(h.biXPelsPerMeter, 2953);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ReduceTest, SixteenColoursStillGiveAn8BitDib) {
  HGLOBAL dib = SceneDib();
  std::string before = BlockBytes(dib);
  for (UINT flags : {0u, 1u, 2u, 3u}) {
    HGLOBAL reduced = Keep(ReduceColors(dib, 4, flags));
    ASSERT_NE(reduced, nullptr) << flags;
    EXPECT_EQ(HeaderOf(reduced).biClrUsed, 256u);
    std::vector<Rgb> table = TableOf(reduced);
    for (std::size_t i = 16; i < 256; ++i) EXPECT_EQ(table[i], (Rgb{0, 0, 0})) << flags << " " << i;
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < 96; ++x) ASSERT_LT(PixelAt(reduced, x, y), 16u);
  }
  EXPECT_EQ(BlockBytes(dib), before);
}

TEST_F(ReduceTest, OneCellOneIndexWithoutDithering) {
  HGLOBAL dib = Keep(MakeDib(64, 2, 24, {}, [](int x, int y) {
    if (x == 0) return y ? 0xCF6737u : 0xC86432u;  // (207,103,55) and (200,100,50)
    return std::uint32_t(x * 0x040302);
  }));
  HGLOBAL reduced = Keep(ReduceColors(dib, 3, PIXOLT_REDUCE_MEDIANCUT));
  ASSERT_NE(reduced, nullptr);
  EXPECT_EQ(PixelAt(reduced, 0, 0), PixelAt(reduced, 0, 1));
  // The 24-to-8 conversion is the dithered median cut.
  HGLOBAL scene = SceneDib();
  EXPECT_EQ(BlockBytes(Keep(DIB24To8(scene, FALSE))), BlockBytes(Keep(ReduceColors(scene, 8, 3))));
}

// Results of a fixed picture are kept as files: a change in any of them is
// a change of the library's output. ZEMRA_UPDATE_GOLDEN=1 writes them anew.
TEST_F(ReduceTest, GoldenResults) {
  HGLOBAL dib = SceneDib();
  struct Golden {
    const char* file;
    HGLOBAL result;
  } goldens[] = {
      {"golden/median8.bmp", Keep(ReduceColors(dib, 8, PIXOLT_REDUCE_MEDIANCUT))},
      {"golden/median8_dither.bmp", Keep(ReduceColors(dib, 8, PIXOLT_REDUCE_MEDIANCUT | PIXOLT_REDUCE_DITHER))},
      {"golden/median4_dither.bmp", Keep(ReduceColors(dib, 4, PIXOLT_REDUCE_MEDIANCUT | PIXOLT_REDUCE_DITHER))},
      {"golden/popular5.bmp", Keep(ReduceColors(dib, 5, 0))},
      {"golden/popular5_dither.bmp", Keep(ReduceColors(dib, 5, PIXOLT_REDUCE_DITHER))},
      {"golden/dither1.bmp", Keep(DIB24To1(dib))},
      {"golden/dither4.bmp", Keep(DIB24To4(dib))},
  };
  bool update = std::getenv("ZEMRA_UPDATE_GOLDEN") && std::string(std::getenv("ZEMRA_UPDATE_GOLDEN")) == "1";
  for (const Golden& g : goldens) {
    ASSERT_NE(g.result, nullptr) << g.file;
    std::string path = DataPath(g.file);
    if (update) ASSERT_EQ(WriteDIB(path.c_str(), g.result), TRUE);
    HGLOBAL kept = Keep(ReadDIB(path.c_str(), Keep(EmptyBlock())));
    ASSERT_NE(kept, nullptr) << g.file;
    EXPECT_EQ(BlockBytes(kept), BlockBytes(g.result)) << g.file;
  }
}

// No exact oracle exists for a reduction; ours must be about as close to
// the original as netpbm's and ImageMagick's, with and without dithering.
TEST_F(ReduceTest, QualityComparedWithPnmquantAndImageMagick) {
  bool haveNetpbm = HaveTool("pnmquant") && HaveTool("bmptopnm");
  bool haveMagick = HaveTool("convert");
  ZEMRA_SKIP_WITHOUT(haveNetpbm || haveMagick, "neither netpbm nor ImageMagick is installed");
  testing_support::TempDir dir;
  std::string source = dir.file("photo.bmp");
  bool ok = false;
  if (haveMagick) {
    RunTool("convert -size 240x160 -seed 5 plasma:fractal -blur 0x2 -type TrueColor BMP3:" + source, &ok);
  } else {
    ok = WriteDIB(source.c_str(), SceneDib()) == TRUE;
  }
  ASSERT_TRUE(ok);
  HGLOBAL dib = Keep(ReadDIB(source.c_str(), Keep(EmptyBlock())));
  ASSERT_NE(dib, nullptr);
  Picture original = Render(dib);
  // Errors are summed over the three channels (0 to 765). Allowed: 15 %
  // above the better of the other two, plus 8: our table colours come from
  // 15-bit cells whose colour is the cell's low corner (0 to 7 below the
  // pixels in each channel), a cost the other tools do not pay.
  const double kMargin = 1.15, kSlack = 8.0;
  for (int colors : {16, 256}) {
    for (bool dither : {false, true}) {
      UINT bits = colors == 16 ? 4 : 8;
      HGLOBAL ours = Keep(ReduceColors(dib, bits, PIXOLT_REDUCE_MEDIANCUT | (dither ? PIXOLT_REDUCE_DITHER : 0)));
      ASSERT_NE(ours, nullptr);
      double ourError = MeanColorError(Render(ours), original);
      double best = 1e9;
      std::vector<std::string> commands;
      std::string n = std::to_string(colors);
      if (haveNetpbm) {
        commands.push_back("bmptopnm " + source + " 2>/dev/null | pnmquant " + (dither ? "-fs " : "-nofs ") + n +
                           " 2>/dev/null");
      }
      if (haveMagick) {
        commands.push_back("convert " + source + (dither ? " -dither FloydSteinberg" : " -dither None") +
                           " -colors " + n + " -depth 8 ppm:-");
      }
      for (const std::string& command : commands) {
        Picture theirs;
        ASSERT_TRUE(ParsePnm(RunTool(command, &ok), theirs) && ok) << command;
        double error = MeanColorError(theirs, original);
        RecordProperty(command, std::to_string(error));
        best = std::min(best, error);
      }
      EXPECT_LE(ourError, best * kMargin + kSlack)
          << colors << " colours, dither " << dither << ": ours " << ourError << ", best other " << best;
    }
  }
}

// Messages for the caller's windows keep flowing during a reduction; the
// quit message is left for the caller's loop.
TEST_F(ReduceTest, PumpDispatchesButLeavesTheQuit) {
  win::ResetUserState();
  static int received = 0;
  received = 0;
  WNDCLASS wc{};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER + 5) ++received;
    return DefWindowProc(w, m, wp, lp);
  };
  wc.lpszClassName = "PixoltPumpTest";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND wnd = CreateWindow("PixoltPumpTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  for (int i = 0; i < 3; ++i) PostMessage(wnd, WM_USER + 5, 0, 0);
  PostQuitMessage(7);
  HGLOBAL reduced = Keep(ReduceColors(SceneDib(), 8, PIXOLT_REDUCE_MEDIANCUT));
  ASSERT_NE(reduced, nullptr);
  EXPECT_EQ(received, 3);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DestroyWindow(wnd);
}

}  // namespace
}  // namespace pixolt_test
