// Ospray as the client uses it: loaded by the name format.dat gives, bound
// by ordinal, with Pixolt beneath it and its boxes recorded. Its reader is
// checked on the EPS oracle files (tools/make-eps-oracles.py: "%!" text
// and DOS EPS with a preview, each with the picture it means, which
// ghostscript confirms); its writer by rendering what it wrote with
// ghostscript (called directly) and comparing with the source DIB.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "eps_reader.h"
#include "eps_writer.h"
#include "ospray.h"
#include "ospray_messages.h"
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

std::string OracleDir() { return std::string(ZEMRA_SOURCE_DIR) + "/tests/data/plugins/eps/"; }

class OsprayPlugin : public plugin_test::PluginTest {
 protected:
  OsprayPlugin() : PluginTest("OSPRAY.DLL", "Ospray.DLL") {}
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    read_ = Bind<ospray::ConvertEPStoDIBFn>(2);
    readMem_ = Bind<ospray::ConvertEPSMemtoDIBFn>(20);
    write_ = Bind<ospray::ConvertDIBtoEPSFn>(4);
    writeEx_ = Bind<ospray::ConvertDIBtoEPSExFn>(6);
    isEps_ = Bind<ospray::ConvertIsEPSFileFn>(8);
    version_ = Bind<ospray::ConvertEPSGetVersionFn>(10);
  }
  Bytes ReadFileDib(const std::string& path) {
    HGLOBAL block = EmptyReaderBlock();
    int transparent = -1;
    HGLOBAL dib = read_(path.c_str(), 0, nullptr, block, 0, &transparent);
    // The caller's block grows into the DIB: one block for the caller to free.
    if (dib) {
      EXPECT_EQ(dib, block);
    }
    Bytes out = FromBlock(dib);
    GlobalFree(dib ? dib : block);
    return out;
  }
  Bytes ReadMemoryDib(const std::string& bytes) {
    HGLOBAL block = EmptyReaderBlock();
    HGLOBAL dib = readMem_(bytes.data(), static_cast<DWORD>(bytes.size()), block, nullptr);
    Bytes out = FromBlock(dib);
    GlobalFree(dib ? dib : block);
    return out;
  }
  ospray::ConvertEPStoDIBFn read_ = nullptr;
  ospray::ConvertEPSMemtoDIBFn readMem_ = nullptr;
  ospray::ConvertDIBtoEPSFn write_ = nullptr;
  ospray::ConvertDIBtoEPSExFn writeEx_ = nullptr;
  ospray::ConvertIsEPSFileFn isEps_ = nullptr;
  ospray::ConvertEPSGetVersionFn version_ = nullptr;
};

void ExpectPicture(const Pnm& got, const Pnm& want) {
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) ASSERT_EQ(got.at(x, y), want.at(x, y)) << "pixel " << x << "," << y;
}

Pnm DibAsPnm(const Bytes& dib) {
  Pnm p;
  EXPECT_TRUE(ReadPnm(DibToPpm(dib), p));
  return p;
}

// The page ghostscript renders of an EPS file, cropped to its bounding box
// at 144 dpi: one device pixel per picture pixel for even sizes.
bool Render(const std::string& eps, Pnm& out) {
  std::string ppm = eps + ".gs.ppm";
  if (RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r144 -sDEVICE=ppmraw -sOutputFile='" + ppm + "' '" +
                 eps + "' 2>/dev/null") != 0)
    return false;
  return ReadPnm(ReadFile(ppm), out);
}

TEST_F(OsprayPlugin, ExportsTheContract) {
  EXPECT_EQ(Bind<int (*)(int)>(1)(0), 1);
  EXPECT_EQ(version_(), 0x0100);
  EXPECT_EQ(GetProcAddress(lib_, "ConvertEPStoDIB"), GetProcAddress(lib_, MAKEINTRESOURCE(2)));
  EXPECT_EQ(GetProcAddress(lib_, "DlgEPS"), GetProcAddress(lib_, MAKEINTRESOURCE(14)));
  EXPECT_NE(GetProcAddress(lib_, MAKEINTRESOURCE(16)), nullptr);
  testing_support::TempDir tmp;
  EXPECT_TRUE(isEps_(tmp.write("a.eps", "%!PS").c_str()));
  EXPECT_TRUE(isEps_(tmp.write("b.eps", std::string("\xC5\xD0\xD3\xC6", 4)).c_str()));
  EXPECT_FALSE(isEps_(tmp.write("c.eps", "%").c_str()));
  EXPECT_FALSE(isEps_(tmp.write("d.eps", "GIF89a").c_str()));
  EXPECT_FALSE(isEps_(tmp.file("none.eps").c_str()));
}

TEST_F(OsprayPlugin, ReadsTheOracleFilesAsGhostscriptRendersThem) {
  const char* names[] = {"grey8-level1",    "grey8-level2",    "rgb24-level1",   "rgb24-level2",     "indexed1-level2",
                         "indexed4-level2", "indexed8-level2", "grey8-dos-preview", "title-image"};
  const bool gs = HaveTool("gs");
  for (const char* name : names) {
    SCOPED_TRACE(name);
    Pnm want;
    ASSERT_TRUE(ReadPnm(ReadFile(OracleDir() + name + ".ppm"), want));
    std::string eps = OracleDir() + name + ".eps";
    Bytes dib = ReadFileDib(eps);
    ASSERT_FALSE(dib.empty());
    ExpectPicture(DibAsPnm(dib), want);
    ExpectPicture(DibAsPnm(ReadMemoryDib(ReadFile(eps))), want);
    if (gs) {
      testing_support::TempDir tmp;
      std::string copy = tmp.write("x.eps", ReadFile(eps));
      Pnm rendered;
      ASSERT_TRUE(Render(copy, rendered));
      ExpectPicture(rendered, want);
    }
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

// What Ospray writes, ghostscript renders as the source DIB (grey output:
// its grey values); with the preview flag the file carries the DOS EPS
// header and a TIFF preview that ImageMagick reads.
TEST_F(OsprayPlugin, GhostscriptRendersWhatItWrote) {
  ZEMRA_SKIP_WITHOUT(HaveTool("gs"), "ghostscript is not installed");
  const bool magick = HaveTool("convert");
  struct Case {
    int bits, grey, level, encoding, preview, kind;
  } cases[] = {
      {1, 1, 1, 1, 0, 1},  {4, 0, 1, 1, 0, 1},  {8, 0, 2, 1, 0, 1}, {24, 0, 2, 2, 0, 1}, {8, 1, 2, 2, 0, 1},
      {4, 0, 2, 2, 0, 1},  {1, 0, 2, 1, 0, 1},  {24, 1, 1, 1, 1, 1}, {8, 0, 1, 2, 1, 2}, {4, 0, 2, 1, 1, 3},
      {24, 0, 1, 1, 1, 4}, {8, 1, 2, 1, 1, 4},
  };
  testing_support::TempDir tmp;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits grey " << c.grey << " level " << c.level << " encoding "
                                    << c.encoding << " preview " << c.preview << " kind " << c.kind);
    const int w = 24, h = 14;
    Bytes src = MakeDib(w, h, c.bits, TestPalette(c.bits == 24 ? 0 : 1 << c.bits), [&](int x, int y) -> std::uint32_t {
      if (c.bits == 24) return static_cast<std::uint32_t>((x * 10) | (y * 18) << 8 | ((x ^ y) * 7) << 16);
      return static_cast<std::uint32_t>(x / 2 + 3 * y) & ((1u << c.bits) - 1);
    });
    ospray::EpsWriteOptions o;
    o.level = c.level;
    o.grey = c.grey;
    o.encoding = c.encoding;
    o.preview = c.preview;
    o.previewKind = c.kind;
    o.frame = 0;
    std::string name = tmp.file("out" + std::to_string(n++) + ".eps");
    HGLOBAL dib = ToBlock(src);
    ASSERT_TRUE(writeEx_(name.c_str(), dib, &o));
    EXPECT_EQ(FromBlock(dib), src);
    GlobalFree(dib);
    EXPECT_TRUE(win::MessageBoxLog().empty());

    Pnm want = DibAsPnm(src);
    if (c.grey)
      for (Rgb& p : want.pixels) p.r = p.g = p.b = ospray::GreyOf(p.r, p.g, p.b);
    Pnm rendered;
    ASSERT_TRUE(Render(name, rendered));
    ExpectPicture(rendered, want);

    std::string file = ReadFile(name);
    if (!c.preview) {
      EXPECT_EQ(file.compare(0, 2, "%!"), 0);
      continue;
    }
    auto u32 = [&](std::size_t at) {
      std::uint32_t v;
      std::memcpy(&v, file.data() + at, 4);
      return v;
    };
    ASSERT_EQ(u32(0), ospray::kDosEpsMagic);
    EXPECT_EQ(u32(4), 32u);
    std::uint32_t psLength = u32(8), tiffOffset = u32(20), tiffLength = u32(24);
    EXPECT_EQ(u32(12), 0u);
    EXPECT_EQ(u32(16), 0u);
    EXPECT_EQ(u32(28), 0xFFFFu);
    EXPECT_EQ(file.compare(32, 2, "%!"), 0);
    EXPECT_EQ(tiffOffset, 32 + psLength);
    ASSERT_EQ(std::size_t{tiffOffset} + tiffLength, file.size());
    EXPECT_EQ(file.compare(32 + psLength - 7, 7, "%%EOF\r\n"), 0);
    if (!magick) continue;
    std::string tif = tmp.write("preview.tif", file.substr(tiffOffset));
    ASSERT_EQ(RunCommand("convert '" + tif + "' -depth 8 ppm:'" + tif + ".ppm' 2>/dev/null"), 0);
    Pnm preview;
    ASSERT_TRUE(ReadPnm(ReadFile(tif + ".ppm"), preview));
    bool half = c.kind == 1 || c.kind == 3;
    EXPECT_EQ(preview.width, half ? w / 2 : w);
    EXPECT_EQ(preview.height, half ? h / 2 : h);
    if (c.kind == 4) ExpectPicture(preview, DibAsPnm(src));
    if (c.kind <= 2) {
      for (const Rgb& p : preview.pixels) ASSERT_TRUE(p == (Rgb{0, 0, 0}) || p == (Rgb{255, 255, 255}));
    }
  }
}

TEST_F(OsprayPlugin, FailuresShowTheirMessage) {
  testing_support::TempDir tmp;
  // Reading.
  struct ReadCase {
    const char* what;
    std::string path;
    const char* message;
  } reads[] = {
      {"missing", tmp.file("none.eps"), ospray::msg::kReadFailed},
      {"not EPS", tmp.write("gif.eps", "GIF89a"), ospray::msg::kNotEps},
      {"foreign EPS", tmp.write("f.eps", "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: dvips\r\n%%EndComments\r\n"),
       ospray::msg::kNotOspray},
  };
  for (const ReadCase& c : reads) {
    SCOPED_TRACE(c.what);
    HGLOBAL block = EmptyReaderBlock();
    EXPECT_EQ(read_(c.path.c_str(), 0, nullptr, block, 0, nullptr), nullptr);
    EXPECT_EQ(OnlyBox(), c.message);
    EXPECT_EQ(GlobalFree(block), nullptr);
  }
  HGLOBAL block = EmptyReaderBlock();
  EXPECT_EQ(readMem_(nullptr, 0, block, nullptr), nullptr);
  EXPECT_EQ(OnlyBox(), ospray::msg::kNotEps);
  GlobalFree(block);

  // Writing.
  Bytes good = MakeDib(4, 2, 8, TestPalette(256), [](int x, int) { return static_cast<std::uint32_t>(x); });
  EXPECT_FALSE(writeEx_(tmp.file("a.eps").c_str(), nullptr, nullptr));
  EXPECT_EQ(OnlyBox(), ospray::msg::kNoDib);
  EXPECT_FALSE(write_(tmp.file("a.eps").c_str(), nullptr));
  EXPECT_EQ(OnlyBox(), ospray::msg::kNoDib);
  Bytes os2 = good;
  reinterpret_cast<BITMAPINFOHEADER*>(os2.data())->biSize = 12;
  Bytes tall = good;
  reinterpret_cast<BITMAPINFOHEADER*>(tall.data())->biHeight = 5000;
  for (auto [what, dibBytes, message] : {std::tuple{"OS/2", os2, ospray::msg::kOs2Bitmap},
                                         std::tuple{"rows beyond the block", tall, ospray::msg::kNoDib}}) {
    SCOPED_TRACE(what);
    HGLOBAL dib = ToBlock(dibBytes);
    EXPECT_FALSE(writeEx_(tmp.file("a.eps").c_str(), dib, nullptr));
    EXPECT_EQ(OnlyBox(), message);
    GlobalFree(dib);
  }
  HGLOBAL dib = ToBlock(good);
  EXPECT_FALSE(writeEx_(tmp.file("no/dir/a.eps").c_str(), dib, nullptr));
  EXPECT_EQ(OnlyBox(), ospray::msg::kCannotCreate);
  // An unknown preview kind: the EPS is written without its preview.
  ospray::EpsWriteOptions o;
  o.previewKind = 9;
  std::string name = tmp.file("nopreview.eps");
  EXPECT_FALSE(writeEx_(name.c_str(), dib, &o));
  EXPECT_EQ(OnlyBox(), ospray::msg::kUnknownPreview);
  std::string file = ReadFile(name);
  ASSERT_GT(file.size(), 32u);
  EXPECT_EQ(file.substr(20, 8), std::string(8, '\0'));
  EXPECT_FALSE(ReadFileDib(name).empty());
  // A full disk.
  if (RunCommand("test -w /dev/full") == 0) {
    EXPECT_FALSE(writeEx_("/dev/full", dib, nullptr));
    EXPECT_EQ(OnlyBox(), ospray::msg::kWriteFailed);
  }
  GlobalFree(dib);
}

// An RLE8 DIB is expanded through Pixolt before it is written.
TEST_F(OsprayPlugin, RleDibsAreExpandedFirst) {
  Bytes rle = MakeDib(4, 2, 8, TestPalette(256), [](int, int) { return 0u; });
  rle.resize(40 + 1024);
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(rle.data());
  h->biCompression = BI_RLE8;
  const std::uint8_t runs[] = {4, 5, 0, 0, 4, 7, 0, 1};  // bottom row 5s, top row 7s
  rle.insert(rle.end(), std::begin(runs), std::end(runs));
  h->biSizeImage = sizeof runs;
  testing_support::TempDir tmp;
  std::string name = tmp.file("rle.eps");
  HGLOBAL dib = ToBlock(rle);
  ospray::EpsWriteOptions o;
  o.grey = 0;
  o.level = 2;
  o.preview = 0;
  ASSERT_TRUE(writeEx_(name.c_str(), dib, &o));
  GlobalFree(dib);
  Bytes back = ReadFileDib(name);
  ASSERT_FALSE(back.empty());
  EXPECT_EQ(DibIndex(back, 0, 0), 7u);
  EXPECT_EQ(DibIndex(back, 3, 1), 5u);
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

}  // namespace
