// BMP decoding checked pixel for pixel against ImageMagick's decoding of the
// same files: every bit depth, short and full colour tables, top-down rows,
// OS/2 headers, RLE8 and RLE4 streams (the stored small oracles, and larger
// files made at test time when convert is there).
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace pixolt_test {
namespace {

class BmpOracleTest : public PixoltTest {
 protected:
  // ReadDIB, the memory readers, and RLEtoDIB when the file is compressed;
  // all three must show the oracle's picture.
  void ExpectDecodes(const std::string& bmp, const Picture& expected, const std::string& label) {
    HGLOBAL dib = Keep(ReadDIB(bmp.c_str(), Keep(EmptyBlock())));
    ASSERT_NE(dib, nullptr) << label;
    std::string image = ReadFile(bmp);
    HGLOBAL fromMemory = Keep(ReadMemDIBEx(image.data(), static_cast<DWORD>(image.size()), Keep(EmptyBlock())));
    ASSERT_NE(fromMemory, nullptr) << label;
    EXPECT_EQ(BlockBytes(dib), BlockBytes(fromMemory)) << label << ": file and memory readers differ";
    HGLOBAL plain = dib;
    if (HeaderOf(dib).biCompression != 0) plain = Keep(RLEtoDIB(dib));
    ASSERT_NE(plain, nullptr) << label;
    Picture ours = Render(plain);
    EXPECT_EQ(FirstDifference(ours, expected), "") << label;
    EXPECT_TRUE(Messages().empty()) << label;
  }
};

TEST_F(BmpOracleTest, StoredVariantsMatchImageMagick) {
  const char* names[] = {"b1_23x17", "b1_33x9", "b4_16",   "b4_33x9", "b4_5",     "b8_256",   "b8_33x9",
                         "b8_20",    "b24_23x17", "b24_33x9", "b24_1x1", "td_1",  "td_4",     "td_8",
                         "td_24",    "gap_8",    "os2_1",   "os2_4",   "os2_8",    "os2_24",   "os2_1x1",
                         "r8_23x17", "r8_33x9",  "r8_moves", "r4_23x17", "r4_33x9"};
  for (const char* name : names) {
    Picture expected;
    ASSERT_TRUE(ReadPnm(DataPath(std::string("bmp/") + name + ".ppm"), expected)) << name;
    ExpectDecodes(DataPath(std::string("bmp/") + name + ".bmp"), expected, name);
  }
}

// Larger pictures in every form ImageMagick writes, made now.
TEST_F(BmpOracleTest, GeneratedVariantsMatchImageMagick) {
  ZEMRA_SKIP_WITHOUT(HaveTool("convert"), "ImageMagick's convert is not installed");
  testing_support::TempDir dir;
  std::string source = dir.file("source.ppm");
  bool ok = false;
  RunTool("convert -size 301x203 -seed 11 plasma:fractal -blur 0x1 ppm:" + source, &ok);
  ASSERT_TRUE(ok);
  struct Variant {
    const char* name;
    const char* options;
  } variants[] = {
      {"mono", "-type Bilevel BMP3:"},
      {"c16", "-dither None -colors 16 -compress None BMP3:"},
      {"c7", "-dither None -colors 7 -compress None BMP3:"},
      {"c256", "-colors 256 -compress None BMP3:"},
      {"rle8", "-colors 256 -compress RLE BMP3:"},
      {"rgb", "-type TrueColor BMP3:"},
      {"os2_8", "-colors 256 -type Palette BMP2:"},
      {"os2_24", "-type TrueColor BMP2:"},
  };
  for (const Variant& v : variants) {
    std::string bmp = dir.file(std::string(v.name) + ".bmp");
    std::string ppm = dir.file(std::string(v.name) + ".ppm");
    RunTool("convert " + source + " " + v.options + bmp + " && convert " + bmp + " -depth 8 ppm:" + ppm, &ok);
    ASSERT_TRUE(ok) << v.name;
    Picture expected;
    ASSERT_TRUE(ReadPnm(ppm, expected)) << v.name;
    ExpectDecodes(bmp, expected, v.name);
  }
}

// netpbm's reader agrees on the stored files it can read (it has no RLE4).
TEST_F(BmpOracleTest, NetpbmAgreesOnUncompressedFiles) {
  ZEMRA_SKIP_WITHOUT(HaveTool("bmptopnm"), "netpbm is not installed");
  for (const char* name : {"b1_33x9", "b4_5", "b8_20", "b24_23x17", "os2_8", "os2_24"}) {
    std::string bmp = DataPath(std::string("bmp/") + name + ".bmp");
    bool ok = false;
    std::string pnm = RunTool("bmptopnm " + bmp + " 2>/dev/null | pnmtopnm -plain 2>/dev/null | pnmtopnm 2>/dev/null", &ok);
    if (!ok) pnm = RunTool("bmptopnm " + bmp + " 2>/dev/null | ppmtoppm 2>/dev/null", &ok);
    ASSERT_TRUE(ok) << name;
    Picture expected;
    ASSERT_TRUE(ParsePnm(pnm, expected)) << name;
    HGLOBAL dib = Keep(ReadDIB(bmp.c_str(), Keep(EmptyBlock())));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(FirstDifference(Render(dib), expected), "") << name;
  }
}

}  // namespace
}  // namespace pixolt_test
