// CDib: loading every picture format, the display copy at each display
// depth, error diffusion, and drawing.
#include <gtest/gtest.h>

#include <cstring>

#include "mfc/dc.h"
#include "pages/picture/cdib.h"
#include "pages/picture/dither_table.h"
#include "pages/picture/support/picture_fixture.h"
#include "support/packed_dib.h"
#include "support/tools.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace pages_test {
namespace {

using testing_support::PackDib;

class CDibTest : public PictureTest {
 protected:
  // A 4 x 3 picture at the bit count: column x, row y (from the top).
  std::string Picture(const std::string& name, int bits) {
    std::vector<std::uint32_t> table;
    if (bits == 1) table = {0x000000, 0xFFFFFF};
    if (bits == 4 || bits == 8)
      for (int i = 0; i < 16; ++i) table.push_back(static_cast<std::uint32_t>(i * 0x101010));
    return WriteBmp(name, PackDib(4, 3, bits, table, true, [bits](int x, int y) -> std::uint32_t {
      if (bits == 24) return static_cast<std::uint32_t>(x * 60 << 16 | y * 100 << 8 | 40);
      if (bits == 1) return (x + y) & 1;
      return static_cast<std::uint32_t>(x + 4 * y);
    }));
  }
};

TEST_F(CDibTest, BitmapsAreHeldAsEightOrTwentyFourBits) {
  struct Case {
    int bits;
    DWORD colorCount;
    int heldBits;
    unsigned pixel21;  // column 2, row 1 from the top
  } cases[] = {{1, 2, 8, 0xFFFFFF}, {4, 16, 8, 6 * 0x101010}, {8, 16, 8, 6 * 0x101010},
               {24, 0, 24, 120u << 16 | 100u << 8 | 40u}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    CDib picture;
    ASSERT_EQ(picture.Load(Picture("p" + std::to_string(c.bits) + ".bmp", c.bits).c_str()), 1);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.ColorCount(), c.colorCount);
    EXPECT_EQ(HeaderOf(picture.Dib()).biBitCount, c.heldBits);
    EXPECT_EQ(PixelOf(picture.Dib(), 2, 1), c.pixel21);
  }
}

TEST_F(CDibTest, DeepAndCompressedBitmapsAreHeldExpanded) {
  // 16 bits 5-5-5 and 32 bits are held as true colour.
  auto deep = [&](int bits) {
    std::vector<unsigned char> dib(40 + 4 * ((2 * bits + 31) / 32) * 2, 0);
    BITMAPINFOHEADER h{};
    h.biSize = 40, h.biWidth = 2, h.biHeight = 2, h.biPlanes = 1, h.biBitCount = static_cast<WORD>(bits);
    std::memcpy(dib.data(), &h, 40);
    unsigned char* px = dib.data() + 40;
    if (bits == 16) {
      px[0] = 0x00, px[1] = 0x7C;  // red, bottom left
      px[2] = 0x1F, px[3] = 0x00;  // blue
    } else {
      px[2] = 0xFF;                // red
      px[4] = 0xFF;                // blue
    }
    return WriteBmp("deep" + std::to_string(bits) + ".bmp", dib);
  };
  for (int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    CDib picture;
    ASSERT_EQ(picture.Load(deep(bits).c_str()), 1);
    EXPECT_EQ(HeaderOf(picture.Dib()).biBitCount, 24);
    EXPECT_EQ(picture.ColorCount(), 0u);
    EXPECT_EQ(PixelOf(picture.Dib(), 0, 1), 0xFF0000u);
    EXPECT_EQ(PixelOf(picture.Dib(), 1, 1), 0x0000FFu);
  }
  // Run-length encoded 8 bits: two rows of two pixels.
  std::vector<unsigned char> rle(40 + 8, 0);
  BITMAPINFOHEADER h{};
  h.biSize = 40, h.biWidth = 2, h.biHeight = 2, h.biPlanes = 1, h.biBitCount = 8, h.biCompression = BI_RLE8;
  h.biClrUsed = 2;
  std::memcpy(rle.data(), &h, 40);
  const unsigned char table[8] = {0, 0, 255, 0, 0, 255, 0, 0};  // red, green
  rle.insert(rle.begin() + 40, table, table + 8);
  rle.resize(40 + 8);
  const unsigned char stream[] = {2, 0, 0, 0, 2, 1, 0, 1};
  rle.insert(rle.end(), stream, stream + sizeof stream);
  reinterpret_cast<BITMAPINFOHEADER*>(rle.data())->biSizeImage = sizeof stream;
  CDib picture;
  ASSERT_EQ(picture.Load(WriteBmp("rle.bmp", rle).c_str()), 1);
  EXPECT_EQ(HeaderOf(picture.Dib()).biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(PixelOf(picture.Dib(), 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelOf(picture.Dib(), 1, 0), 0x00FF00u);
}

TEST_F(CDibTest, ASecondLoadLeavesNoDisplayCopyOfTheFormerPicture) {
  CDib picture;
  ASSERT_EQ(picture.Load(Picture("a.bmp", 24).c_str()), 1);
  ASSERT_EQ(picture.ConvertDepth(nullptr, 0, 0, 0, 0), 1);
  EXPECT_EQ(picture.DisplayDib(), picture.Dib());
  ASSERT_EQ(picture.Load(Picture("b.bmp", 8).c_str()), 1);
  EXPECT_EQ(picture.DisplayDib(), nullptr);
  ASSERT_EQ(picture.ConvertDepth(nullptr, 0, 0, 0, 0), 1);
  EXPECT_EQ(PixelOf(picture.DisplayDib(), 2, 1), 6 * 0x101010u);
  // A failed load leaves nothing behind either.
  EXPECT_EQ(picture.Load(tmp_.write("junk.bmp", "BMnot a bitmap").c_str()), 0);
  EXPECT_EQ(picture.Dib(), nullptr);
  EXPECT_EQ(picture.DisplayDib(), nullptr);
  EXPECT_EQ(picture.ConvertDepth(nullptr, 0, 0, 0, 0), 0);
}

TEST_F(CDibTest, DisplayCopyFollowsTheDisplayDepth) {
  struct Case {
    int display;
    int halftone;
    int copyBits;
    DWORD copyColors;
  } cases[] = {{24, 0, 24, 0}, {24, 1, 24, 0}, {8, 0, 8, 236}, {8, 1, 8, 256}, {4, 0, 8, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.display << " bits, halftone " << c.halftone);
    UseDisplay(c.display);
    CDib picture;
    ASSERT_EQ(picture.Load(Picture("d.bmp", 24).c_str()), 1);
    ASSERT_EQ(picture.ConvertDepth(nullptr, 0, c.halftone, 0, 0), 1);
    const BITMAPINFOHEADER h = HeaderOf(picture.DisplayDib());
    EXPECT_EQ(h.biBitCount, c.copyBits);
    EXPECT_EQ(h.biClrUsed, c.copyColors);
    EXPECT_EQ(h.biWidth, 4);
    EXPECT_EQ(h.biHeight, 3);
    EXPECT_NE(picture.Palette(), nullptr);
    // A true-colour display shows the picture itself.
    EXPECT_EQ(c.display == 24, picture.DisplayDib() == picture.Dib());
  }
}

TEST_F(CDibTest, ErrorDiffusionKeepsPaletteColoursAndAverages) {
  UseDisplay(8);
  MainWindow& display = TheMainWindow();
  // Left half pure red (a palette colour), right half a grey between cube
  // steps: red stays red; the grey's dithered average stays near it.
  const auto dib = PackDib(16, 16, 24, {}, true, [](int x, int) -> std::uint32_t {
    return x < 8 ? 0xFF0000u : 0x4C4C4Cu;
  });
  HGLOBAL source = testing_support::CopyToBlock(dib);
  HGLOBAL result = CDib::DiffuseToDitherPalette(source, nullptr, display);
  ASSERT_NE(result, nullptr);
  const BITMAPINFOHEADER h = HeaderOf(result);
  EXPECT_EQ(h.biBitCount, 8);
  EXPECT_EQ(h.biClrUsed, 236u);
  EXPECT_EQ(h.biXPelsPerMeter, 2953);
  // The rows lie right after the 236 entries the header announces.
  EXPECT_EQ(GlobalSize(result), 40u + 236u * 4u + 16u * 16u);
  long sum = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const unsigned px = PixelOf(result, x, y);
      if (x < 4) EXPECT_EQ(px, 0xFF0000u) << x << "," << y;
      if (x >= 10) sum += px & 0xFF;
    }
  EXPECT_NEAR(sum / (6.0 * 16), 0x4C, 6);
  GlobalFree(result);
  GlobalFree(source);
}

TEST_F(CDibTest, IndicesBeyondTheColourTableTakeItsLastColour) {
  UseDisplay(8);
  auto dib = PackDib(4, 2, 8, {0x000000, 0xFF0000}, true, [](int x, int) -> std::uint32_t {
    return x == 0 ? 1u : 200u;
  });
  CDib picture;
  ASSERT_EQ(picture.Load(WriteBmp("beyond.bmp", dib).c_str()), 1);
  ASSERT_EQ(picture.ConvertDepth(nullptr, 0, 0, 0, 0), 1);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelOf(picture.DisplayDib(), x, 0), 0xFF0000u) << x;
}

TEST_F(CDibTest, PaletteIsMadeOnceAndKept) {
  UseDisplay(8);
  CDib picture;
  ASSERT_EQ(picture.Load(Picture("k.bmp", 24).c_str()), 1);
  ASSERT_EQ(picture.ConvertDepth(nullptr, 0, 0, 0, 0), 1);
  HPALETTE first = picture.Palette();
  ASSERT_EQ(picture.ConvertDepth(nullptr, 1, 0, 2, 2), 1);
  EXPECT_EQ(picture.Palette(), first);
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(HeaderOf(picture.DisplayDib()).biWidth, 2);
}

TEST_F(CDibTest, DrawCountsSourceRowsInThePictureItself) {
  CDib picture;
  ASSERT_EQ(picture.Load(Picture("draw.bmp", 24).c_str()), 1);
  // Shown smaller than it is: the shown height must not steer the rows.
  ASSERT_EQ(picture.ConvertDepth(nullptr, 1, 0, 2, 2), 1);
  ASSERT_EQ(picture.Height(), 2);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(memory, bitmap);
  CDC dc;
  dc.Attach(memory);
  const RECT whole{0, 0, 4, 3};
  EXPECT_EQ(picture.Draw(&dc, whole, whole, picture.Dib(), nullptr), 3);
  const RECT part{1, 1, 3, 3};  // columns 1-2 of rows 1-2 from the top
  EXPECT_GT(picture.Draw(&dc, RECT{4, 0, 6, 2}, part, picture.Dib(), nullptr), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const unsigned v = PixelOf(picture.Dib(), x, y);
      EXPECT_EQ(GetPixel(memory, x, y), RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF)) << x << "," << y;
    }
  const unsigned v = PixelOf(picture.Dib(), 1, 1);
  EXPECT_EQ(GetPixel(memory, 4, 0), RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF));
  EXPECT_EQ(picture.Draw(&dc, whole, whole, nullptr, nullptr), 0);
  dc.Detach();
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST_F(CDibTest, BufferIsAnEightBitPictureOfTheSizeGiven) {
  CDib picture;
  ASSERT_TRUE(picture.CreateBuffer(5, 3, 8));
  EXPECT_EQ(picture.BufferInfo()->biWidth, 5);
  EXPECT_EQ(picture.BufferInfo()->biBitCount, 8);
  ASSERT_NE(picture.BufferBits(), nullptr);
  EXPECT_EQ(picture.BufferBits()[8 * 3 - 1], 0);
  ASSERT_TRUE(picture.ResizeBuffer(9, 2));
  EXPECT_EQ(picture.BufferInfo()->biWidth, 9);
  EXPECT_TRUE(picture.CreateBuffer(0, 3, 8));
  EXPECT_EQ(picture.BufferBits(), nullptr);
  EXPECT_FALSE(picture.CreateBuffer(5, 3, 24));
}

// Every picture format of the sample gallery, read through the image
// library and the converter plug-ins, against an outside decoder.
TEST_F(CDibTest, SamplePicturesMatchAnOutsideDecoder) {
  // Ghostscript renders the EPS picture at two device pixels per point,
  // one per picture pixel.
  constexpr const char* kGhostscript = "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r144 -sDEVICE=ppmraw -sOutputFile=-";
  struct Case {
    const char* name;
    const char* tool;
    const char* command;
  } cases[] = {{"saturn.bmp", "bmptopnm", "bmptopnm"},   {"star.xbm", "xbmtopbm", "xbmtopbm"},
               {"jupiter.gif", "giftopnm", "giftopnm"},  {"moon.gif", "giftopnm", "giftopnm"},
               {"nebula.tif", "tifftopnm", "tifftopnm"}, {"comet.pcx", "pcxtoppm", "pcxtoppm"},
               {"orbit.eps", "gs", kGhostscript}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ZEMRA_SKIP_WITHOUT(testing_support::HaveTool(c.tool), c.tool);
    const std::string path = Sample(c.name);
    ToolPicture expected;
    ASSERT_TRUE(ReadPnmFrom(std::string(c.command) + " '" + path + "'", &expected));
    CDib picture;
    ASSERT_EQ(picture.Load(path.c_str()), 1);
    ASSERT_EQ(picture.Width(), expected.width);
    ASSERT_EQ(picture.Height(), expected.height);
    int wrong = 0;
    for (int y = 0; y < expected.height; ++y)
      for (int x = 0; x < expected.width; ++x)
        wrong += PixelOf(picture.Dib(), x, y) != expected.pixels[static_cast<size_t>(y) * expected.width + x];
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(CDibTest, EpsPicturesRoundTripThroughTheirPlugIn) {
  // The plug-in reads the EPS files it writes: a picture written by it
  // comes back pixel for pixel.
  const auto dib = PackDib(5, 4, 24, {}, true, [](int x, int y) { return static_cast<std::uint32_t>(x * 50 << 16 | y * 60 << 8 | 7); });
  const std::string eps = WriteEps("round.eps", dib);
  ASSERT_FALSE(eps.empty());
  CDib picture;
  ASSERT_EQ(picture.Load(eps.c_str()), 1);
  ASSERT_EQ(picture.Width(), 5);
  ASSERT_EQ(picture.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(picture.Dib(), x, y), static_cast<unsigned>(x * 50 << 16 | y * 60 << 8 | 7));
}

TEST_F(CDibTest, FilesOfNoPictureFormatAreNotLoaded) {
  CDib picture;
  EXPECT_EQ(picture.Load(tmp_.write("notes.txt", "plain words").c_str()), 0);
  EXPECT_EQ(picture.Load(""), 0);
}

}  // namespace
}  // namespace pages_test
