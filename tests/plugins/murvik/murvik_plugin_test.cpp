// Murvik as the client uses it: loaded by the name format.dat gives, bound
// by ordinal, its message boxes recorded. Reading is checked pixel for
// pixel against netpbm (files made by tools/make-pcx-oracles.sh, with what
// pcxtoppm read from them) and ImageMagick; writing by decoding what
// Murvik wrote with both tools.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "murvik.h"
#include "murvik_messages.h"
#include "pcx_writer.h"
#include "plugins/common/support/dib_fixture.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"
#include "support/tools.h"

namespace {

using namespace convert_test;
using Bytes = std::vector<std::uint8_t>;

std::string OracleDir() { return std::string(ZEMRA_SOURCE_DIR) + "/tests/data/plugins/pcx/"; }

class MurvikPlugin : public plugin_test::PluginTest {
 protected:
  MurvikPlugin() : PluginTest("MURVIK.DLL", "Murvik.DLL") {}
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    read_ = Bind<murvik::ConvertPCXtoDIBFn>(2);
    readMem_ = Bind<murvik::ConvertPCXMemtoDIBFn>(20);
    write_ = Bind<murvik::ConvertDIBtoPCXFn>(4);
    writeEx_ = Bind<murvik::ConvertDIBtoPCXExFn>(6);
    isPcx_ = Bind<murvik::ConvertIsPCXFileFn>(8);
    version_ = Bind<murvik::ConvertPCXGetVersionFn>(10);
  }
  // The DIB of a file through ordinal 2, as the picture loader calls it.
  Bytes ReadFileDib(const std::string& path) {
    HGLOBAL block = EmptyReaderBlock();
    int transparent = -1;
    HGLOBAL dib = read_(path.c_str(), 0, nullptr, block, 0, &transparent);
    EXPECT_EQ(transparent, -1);
    Bytes out = FromBlock(dib);
    GlobalFree(dib ? dib : block);
    return out;
  }
  Bytes ReadMemoryDib(const std::string& bytes) {
    HGLOBAL block = EmptyReaderBlock();
    int transparent = -1;
    HGLOBAL dib = readMem_(bytes.data(), static_cast<DWORD>(bytes.size()), block, &transparent);
    Bytes out = FromBlock(dib);
    GlobalFree(dib ? dib : block);
    return out;
  }

  murvik::ConvertPCXtoDIBFn read_ = nullptr;
  murvik::ConvertPCXMemtoDIBFn readMem_ = nullptr;
  murvik::ConvertDIBtoPCXFn write_ = nullptr;
  murvik::ConvertDIBtoPCXExFn writeEx_ = nullptr;
  murvik::ConvertIsPCXFileFn isPcx_ = nullptr;
  murvik::ConvertPCXGetVersionFn version_ = nullptr;
};

void ExpectSamePicture(const Bytes& dib, const Pnm& want) {
  ASSERT_GE(dib.size(), 40u);
  ASSERT_EQ(DibHeader(dib).biWidth, want.width);
  ASSERT_EQ(DibHeader(dib).biHeight, want.height);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      Rgb got = DibPixel(dib, x, y);
      ASSERT_EQ(got, want.at(x, y)) << "pixel " << x << "," << y;
    }
}

TEST_F(MurvikPlugin, ExportsTheContract) {
  auto wep = Bind<int (*)(int)>(1);
  EXPECT_EQ(wep(0), 1);
  EXPECT_EQ(version_(), 0x0100);
  EXPECT_EQ(GetProcAddress(lib_, "ConvertPCXMemtoDIB"), GetProcAddress(lib_, MAKEINTRESOURCE(20)));
  EXPECT_EQ(GetProcAddress(lib_, MAKEINTRESOURCE(3)), nullptr);
}

// Each file as netpbm made it, read from the file and from memory, must
// give what pcxtoppm and ImageMagick see.
TEST_F(MurvikPlugin, ReadsWhatNetpbmWroteAsNetpbmAndImageMagickRead) {
  struct Case {
    const char* name;
    int bits;
  } cases[] = {{"mono1", 1},    {"planes4", 4}, {"packed4", 4}, {"indexed8", 8}, {"indexed8-from16", 8},
               {"rgb24", 24},   {"rgb24-from200", 24}};
  const bool magick = HaveTool("convert");
  testing_support::TempDir tmp;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string pcx = OracleDir() + c.name + ".pcx";
    Pnm want;
    ASSERT_TRUE(ReadPnm(ReadFile(OracleDir() + c.name + ".ppm"), want));
    Bytes dib = ReadFileDib(pcx);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(DibHeader(dib).biBitCount, c.bits);
    ExpectSamePicture(dib, want);
    ExpectSamePicture(ReadMemoryDib(ReadFile(pcx)), want);
    // ImageMagick reads a set bit of a 1-bit PCX as black whatever the
    // header's colour map says (netpbm and Murvik take the map).
    if (magick && c.bits > 1) {
      std::string out = tmp.file(std::string(c.name) + ".magick.ppm");
      ASSERT_EQ(RunCommand("convert '" + pcx + "' -depth 8 ppm:'" + out + "' 2>/dev/null"), 0);
      Pnm im;
      ASSERT_TRUE(ReadPnm(ReadFile(out), im));
      ExpectSamePicture(dib, im);
    }
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(MurvikPlugin, ReadFailuresShowTheirMessageAndLeaveTheBlock) {
  testing_support::TempDir tmp;
  std::string pcx = ReadFile(OracleDir() + "indexed8.pcx");
  std::string notPcx = pcx;
  notPcx[0] = 'P';
  struct Case {
    const char* what;
    std::string path;
    const char* message;
  } cases[] = {
      {"missing file", tmp.file("none.pcx"), murvik::msg::kCannotOpen},
      {"short file", tmp.write("short.pcx", pcx.substr(0, 127)), murvik::msg::kReadFailed},
      {"not PCX", tmp.write("not.pcx", notPcx), murvik::msg::kNotPcx},
      {"cut palette", tmp.write("cut.pcx", pcx.substr(0, pcx.size() - 1)), murvik::msg::kBadPaletteMarker},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HGLOBAL block = EmptyReaderBlock();
    int transparent = -1;
    EXPECT_EQ(read_(c.path.c_str(), 0, nullptr, block, 0, &transparent), nullptr);
    EXPECT_EQ(OnlyBox(), c.message);
    EXPECT_EQ(GlobalFree(block), nullptr);  // still the caller's, and valid
  }
  // The memory reader has its own word for a cut header.
  HGLOBAL block = EmptyReaderBlock();
  EXPECT_EQ(readMem_(pcx.data(), 127, block, nullptr), nullptr);
  EXPECT_EQ(OnlyBox(), murvik::msg::kMemoryHeader);
  // A memory image is read within its size: the palette must be inside.
  EXPECT_EQ(readMem_(pcx.data(), static_cast<DWORD>(pcx.size() - 769), block, nullptr), nullptr);
  EXPECT_EQ(OnlyBox(), murvik::msg::kBadPaletteMarker);
  GlobalFree(block);
}

TEST_F(MurvikPlugin, FormatTestReadsTheFirstByteOfA128ByteHeader) {
  testing_support::TempDir tmp;
  std::string header(128, '\0');
  header[0] = 10;
  EXPECT_TRUE(isPcx_(tmp.write("a.pcx", header).c_str()));
  header[0] = static_cast<char>(0xCD);
  EXPECT_TRUE(isPcx_(tmp.write("a.scr", header).c_str()));
  header[0] = 11;
  EXPECT_FALSE(isPcx_(tmp.write("b.pcx", header).c_str()));
  EXPECT_FALSE(isPcx_(tmp.write("c.pcx", std::string(127, '\x0a')).c_str()));
  EXPECT_FALSE(isPcx_(tmp.file("none.pcx").c_str()));
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

// Murvik's files decoded by pcxtoppm and ImageMagick give the source DIB.
TEST_F(MurvikPlugin, WrittenFilesDecodeToTheSourceInNetpbmAndImageMagick) {
  ZEMRA_SKIP_WITHOUT(HaveTool("pcxtoppm"), "netpbm is not installed");
  const bool magick = HaveTool("convert");
  testing_support::TempDir tmp;
  struct Case {
    int bits, width, height;
  } cases[] = {{1, 37, 5}, {4, 19, 7}, {8, 33, 6}, {24, 21, 9}};
  for (const Case& c : cases)
    for (WORD rle : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.bits << " bits, rle " << rle);
      Bytes src = MakeDib(c.width, c.height, c.bits, TestPalette(c.bits == 24 ? 0 : 1 << c.bits),
                          [&](int x, int y) -> std::uint32_t {
                            if (c.bits == 24) return static_cast<std::uint32_t>(x * 12 | y * 25 << 8 | (x ^ y) * 9 << 16);
                            return static_cast<std::uint32_t>(x + 3 * y) & ((1u << c.bits) - 1);
                          });
      std::string name = tmp.file("out" + std::to_string(c.bits) + "_" + std::to_string(rle) + ".pcx");
      HGLOBAL dib = ToBlock(src);
      murvik::PcxWriteOptions options;
      options.runLength = rle;
      ASSERT_TRUE(writeEx_(name.c_str(), dib, &options));
      EXPECT_EQ(FromBlock(dib), src);  // the caller's DIB is left as it was
      GlobalFree(dib);
      // pcxtoppm reads run-length coded files only.
      if (rle) {
        Pnm netpbm;
        ASSERT_EQ(RunCommand("pcxtoppm '" + name + "' > '" + name + ".ppm'"), 0);
        ASSERT_TRUE(ReadPnm(ReadFile(name + ".ppm"), netpbm));
        ExpectSamePicture(src, netpbm);
      }
      if (magick && c.bits > 1) {
        Pnm im;
        ASSERT_EQ(RunCommand("convert '" + name + "' -depth 8 ppm:'" + name + ".im.ppm' 2>/dev/null"), 0);
        ASSERT_TRUE(ReadPnm(ReadFile(name + ".im.ppm"), im));
        ExpectSamePicture(src, im);
      }
    }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(MurvikPlugin, WriteFailuresShowTheirMessage) {
  testing_support::TempDir tmp;
  Bytes good = MakeDib(4, 2, 8, TestPalette(256), [](int x, int) { return static_cast<std::uint32_t>(x); });
  auto with = [&](auto change) {
    Bytes d = good;
    change(*reinterpret_cast<BITMAPINFOHEADER*>(d.data()));
    return d;
  };
  struct Case {
    const char* what;
    Bytes dib;
    const char* message;
  } cases[] = {
      {"OS/2 header", with([](BITMAPINFOHEADER& h) { h.biSize = 12; }), murvik::msg::kOs2Bitmap},
      {"RLE", with([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }), murvik::msg::kRleBitmap},
      {"16 bits", with([](BITMAPINFOHEADER& h) { h.biBitCount = 16; }), murvik::msg::kUnknownDibFormat},
      {"rows beyond the block", with([](BITMAPINFOHEADER& h) { h.biHeight = 3000; }), murvik::msg::kNoDib},
      {"no width", with([](BITMAPINFOHEADER& h) { h.biWidth = 0; }), murvik::msg::kNoDib},
      {"cut header", Bytes(good.begin(), good.begin() + 20), murvik::msg::kNoDib},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HGLOBAL dib = ToBlock(c.dib);
    EXPECT_FALSE(writeEx_(tmp.file("x.pcx").c_str(), dib, nullptr));
    EXPECT_EQ(OnlyBox(), c.message);
    GlobalFree(dib);
  }
  EXPECT_FALSE(writeEx_(tmp.file("x.pcx").c_str(), nullptr, nullptr));
  EXPECT_EQ(OnlyBox(), murvik::msg::kNoDib);
  EXPECT_FALSE(write_(tmp.file("x.pcx").c_str(), nullptr));
  EXPECT_EQ(OnlyBox(), murvik::msg::kNoDib);
  HGLOBAL dib = ToBlock(good);
  EXPECT_FALSE(writeEx_(tmp.file("no/such/dir/x.pcx").c_str(), dib, nullptr));
  EXPECT_EQ(OnlyBox(), murvik::msg::kCannotCreate);
  GlobalFree(dib);
}

}  // namespace
