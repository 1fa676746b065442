// The XBM readers: pictures written by ImageMagick and netpbm read as
// netpbm's own reader sees them; the header words, data on the declaration's
// line, and inputs that must give null without reading past their end.
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "support/temp_dir.h"

namespace pixolt_test {
namespace {

class XbmTest : public PixoltTest {
 protected:
  testing_support::TempDir dir_;

  // Reads the text from a file and from memory; both must agree.
  HGLOBAL ReadBoth(const std::string& text) {
    std::string path = dir_.write("case.xbm", text);
    HGLOBAL file = Keep(ReadXbm(path.c_str(), Keep(EmptyBlock())));
    HGLOBAL mem = Keep(ReadMemXbm(text.data(), static_cast<DWORD>(text.size()), Keep(EmptyBlock())));
    EXPECT_EQ(file == nullptr, mem == nullptr) << text;
    if (file && mem) EXPECT_EQ(BlockBytes(file), BlockBytes(mem)) << text;
    EXPECT_TRUE(Messages().empty());
    return file;
  }
};

TEST_F(XbmTest, FilesOfBothToolsMatchNetpbm) {
  for (const char* name : {"im_23x17", "netpbm_23x17", "netpbm_33x9"}) {
    Picture expected;
    ASSERT_TRUE(ReadPnm(DataPath(std::string("xbm/") + name + ".pbm"), expected)) << name;
    HGLOBAL dib = ReadBoth(ReadFile(DataPath(std::string("xbm/") + name + ".xbm")));
    ASSERT_NE(dib, nullptr) << name;
    EXPECT_EQ(FirstDifference(Render(dib), expected), "") << name;
  }
}

TEST_F(XbmTest, HeaderAndTableOfTheResult) {
  HGLOBAL dib = ReadBoth("#define p_width 10\n#define p_height 2\nstatic char p_bits[] = {\n0x01, 0x00, 0x00, 0x02};\n");
  ASSERT_NE(dib, nullptr);
  BITMAPINFOHEADER h = HeaderOf(dib);
  EXPECT_EQ(h.biWidth, 10);
  EXPECT_EQ(h.biHeight, 2);
  EXPECT_EQ(h.biBitCount, 1);
  EXPECT_EQ(h.biSizeImage, 8u);
  EXPECT_EQ(h.biXPelsPerMeter, 0);
  EXPECT_EQ(h.biClrUsed, 2u);
  EXPECT_EQ(h.biClrImportant, 2u);
  EXPECT_EQ(GlobalSize(dib), 48u + 8);
  EXPECT_EQ(TableOf(dib), (std::vector<Rgb>{{255, 255, 255}, {0, 0, 0}}));
  // Two data bytes per row; 0x01 blackens the leftmost pixel of the top
  // row; 0x02 in the second byte of the next row is its pixel 9.
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(PixelAt(dib, x, 1), x == 0 ? 1u : 0u) << x;
    EXPECT_EQ(PixelAt(dib, x, 0), x == 9 ? 1u : 0u) << x;
  }
}

TEST_F(XbmTest, LayoutsOfTheSamePicture) {
  const std::string reference = "#define a_width 8\n#define a_height 3\nstatic unsigned char a_bits[] = {\n  0x81, 0x42,\n  0x3c};\n";
  HGLOBAL base = ReadBoth(reference);
  ASSERT_NE(base, nullptr);
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"closing brace on a line of its own", "#define a_width 8\n#define a_height 3\nstatic char a_bits[] = {\n0x81, 0x42, 0x3c,\n};\n"},
      {"data on the declaration's line", "#define a_width 8\n#define a_height 3\nstatic char a_bits[] = { 0x81, 0x42, 0x3c };\n"},
      {"a name holding bits", "#define bits_width 8\n#define bits_height 3\nstatic char bits_bits[] = {\n0x81,0x42,0x3c};"},
      {"CR LF lines and upper-case digits", "#define a_width 8\r\n#define a_height 3\r\nstatic char a_bits[] = {\r\n0X81,0x42,\r\n0x3C};\r\n"},
      {"hexadecimal and octal sizes", "#define a_width 0x8\n#define a_height 03\nstatic char a_bits[] = {\n0x81,0x42,0x3c};"},
      {"bytes beyond the picture", "#define a_width 8\n#define a_height 3\nstatic char a_bits[] = {\n0x81,0x42,0x3c,0xff,0xff};"},
  };
  for (const Case& c : cases) {
    HGLOBAL dib = ReadBoth(c.text);
    ASSERT_NE(dib, nullptr) << c.what;
    EXPECT_EQ(BlockBytes(dib), BlockBytes(base)) << c.what;
  }
}

TEST_F(XbmTest, WhatGivesNull) {
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"width 0", "#define a_width 0\n#define a_height 3\nstatic char a_bits[] = {0x01};"},
      {"no height", "#define a_width 8\nstatic char a_bits[] = {0x01};"},
      {"negative width", "#define a_width -8\n#define a_height 3\nstatic char a_bits[] = {0x01};"},
      {"sides beyond the limit", "#define a_width 99999999\n#define a_height 99999999\nstatic char a_bits[] = {0x01};"},
      {"no bits", "#define a_width 8\n#define a_height 3\n"},
      {"empty", ""},
      {"not text at all", std::string("\0\xff\x01\x02", 4)},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadBoth(c.text), nullptr) << c.what;
  EXPECT_EQ(ReadXbm(nullptr, Keep(EmptyBlock())), nullptr);
  EXPECT_EQ(ReadXbm(dir_.file("missing.xbm").c_str(), Keep(EmptyBlock())), nullptr);
  EXPECT_EQ(ReadMemXbm(nullptr, 10, Keep(EmptyBlock())), nullptr);
  EXPECT_TRUE(Messages().empty());
}

// The memory reader stops at its length even where the text goes on.
TEST_F(XbmTest, MemoryLengthIsTheEnd) {
  std::string text = "#define a_width 8\n#define a_height 2\nstatic char a_bits[] = {\n0x01, 0x01};";
  std::size_t cut = text.find("0x01") + 5;  // the first value and its comma
  HGLOBAL dib = Keep(ReadMemXbm(text.data(), static_cast<DWORD>(cut), Keep(EmptyBlock())));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(PixelAt(dib, 0, 1), 1u);
  EXPECT_EQ(PixelAt(dib, 0, 0), 0u);
  // A length that ends before the data begin.
  EXPECT_EQ(ReadMemXbm(text.data(), static_cast<DWORD>(text.find('{') + 1), Keep(EmptyBlock())), nullptr);
}

}  // namespace
}  // namespace pixolt_test
