// StretchDIBits samples the nearest pixel: compared with ImageMagick's
// `convert -sample` on integer factors, up and down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "dib_builder.h"
#include "gdi/png_writer.h"
#include "gdi_test_util.h"
#include "support/temp_dir.h"
#include "support/tools.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;

namespace {

class GdiStretchSample : public gdi_test::GdiTest {};


TEST_F(GdiStretchSample, MatchesImageMagickSample) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("convert"), "ImageMagick's convert is not installed");
  testing_support::TempDir tmp;
  std::mt19937 rng(5);
  struct Case {
    int sw, sh, dw, dh;
  } cases[] = {{7, 5, 14, 10}, {5, 4, 15, 12}, {6, 3, 6, 12}, {12, 8, 6, 4}, {9, 9, 3, 3},
               {8, 6, 24, 3}};
  for (int bits : {24, 8}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << bits << " bits " << c.sw << "x" << c.sh << " to " << c.dw
                                      << "x" << c.dh);
      auto table = gdi_test::RampTable(256);
      auto d = gdi_test::MakeDib(c.sw, c.sh, bits, false, [&](int, int) {
        return bits == 8 ? std::uint32_t(rng() % 256) : std::uint32_t(rng() & 0xFFFFFF);
      }, bits == 8 ? table : std::vector<RGBQUAD>{});
      // The source as a PNG, through the DIB's own pixels.
      auto src = win::gdi::Surface::Create(c.sw, c.sh);
      for (int y = 0; y < c.sh; ++y)
        for (int x = 0; x < c.sw; ++x) {
          COLORREF col = d.ColorAt(x, y);
          src->Row(y)[x] = (std::uint32_t(GetRValue(col)) << 16) | (GetGValue(col) << 8) | GetBValue(col);
        }
      std::string in = tmp.file("in.png"), out = tmp.file("out.png");
      ASSERT_TRUE(win::gdi::WritePng(*src, in));
      std::string cmd = "convert " + in + " -sample " + std::to_string(c.dw) + "x" +
                        std::to_string(c.dh) + "! PNG24:" + out;
      ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
      auto want = win::gdi::ReadPng(out);
      ASSERT_TRUE(want);
      ASSERT_EQ(want->width(), c.dw);
      Canvas cv(c.dw, c.dh);
      SetStretchBltMode(cv.dc(), COLORONCOLOR);
      EXPECT_EQ(StretchDIBits(cv.dc(), 0, 0, c.dw, c.dh, 0, 0, c.sw, c.sh, d.pixelBits(), d.info(),
                              DIB_RGB_COLORS, SRCCOPY), c.sh);
      ExpectPicture(cv.surface(), [&](int x, int y) {
        std::uint32_t p = want->At(x, y);
        return RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF);
      }, "sample");
    }
  }
}

}  // namespace
