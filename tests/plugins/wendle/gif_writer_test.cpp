// The GIF writer: what it writes must decode, in giftopnm, in giflib and in
// our own reader, to the DIB it was given, for every depth, both versions,
// global and local tables, plain and interlaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixolt.h"
#include "plugins/common/support/picture_oracle.h"
#include "support/temp_dir.h"
#include "wendle/gif_reader.h"
#include "wendle/gif_writer.h"
#include "win/kernel.h"
#include "win/user.h"
#include "support/tools.h"

namespace {

using plugin_test::MakeDib;
using wendle::GifWriteOptions;

std::vector<std::string> Messages() {
  std::vector<std::string> out;
  for (const auto& box : win::MessageBoxLog()) out.push_back(box.caption + ": " + box.text);
  win::ClearMessageBoxLog();
  return out;
}

plugin_test::Rgb ReadBack(const std::string& file, HGLOBAL* keep = nullptr) {
  auto bytes = plugin_test::ReadBytes(file);
  HGLOBAL block = plugin_test::NewReaderBlock();
  HGLOBAL dib = wendle::ReadGif(bytes.data(), bytes.size(), wendle::GifSource::kFile, block, 0, nullptr);
  if (!dib) {
    GlobalFree(block);
    return {};
  }
  auto rgb = plugin_test::DibToRgb(dib);
  if (keep)
    *keep = dib;
  else
    GlobalFree(dib);
  return rgb;
}

std::vector<std::uint32_t> Palette(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(static_cast<std::uint32_t>((i * 67 % 256) << 16 | (i * 29 % 256) << 8 | (i * 151 % 256)));
  return p;
}

TEST(GifWriterOracle, EveryDepthAndOptionDecodesToTheSource) {
  ZEMRA_SKIP_WITHOUT(plugin_test::HaveTool("giftopnm") && plugin_test::HaveTool("gifbuild"), "netpbm and giflib-tools missing");
  testing_support::TempDir dir;
  struct Source {
    const char* name;
    int bits;
    std::vector<std::uint32_t> palette;
    int width, height;
  } sources[] = {
      {"two", 1, {0x000000, 0xFFFFFF}, 45, 21},
      {"eleven", 4, Palette(11), 37, 23},
      {"sixteen", 4, Palette(16), 8, 9},
      {"many", 8, Palette(256), 61, 40},
      {"true", 24, {}, 50, 31},
  };
  for (const Source& src : sources) {
    HGLOBAL dib = MakeDib(src.width, src.height, src.bits, src.palette, [&](int x, int y) -> std::uint32_t {
      if (src.bits == 24) return static_cast<std::uint32_t>((x * 5) << 16 | (y * 8) << 8 | (x * y) % 256);
      return static_cast<std::uint32_t>((x / 3 + y * 7 + x * y) % src.palette.size());
    });
    for (DWORD reduction : {0u, 1u}) {
      if (reduction && src.bits != 24) continue;
      // What the picture is after Pixolt's reduction, or itself.
      HGLOBAL narrowed = src.bits == 24 ? DIB24To8(dib, reduction) : nullptr;
      const plugin_test::Rgb expected = plugin_test::DibToRgb(narrowed ? narrowed : dib);
      if (narrowed) GlobalFree(narrowed);
      for (DWORD format : {87u, 89u}) {
        for (DWORD global : {1u, 0u}) {
          for (DWORD interlace : {0u, 1u}) {
            SCOPED_TRACE(testing::Message() << src.name << " " << format << " global " << global << " interlace "
                                            << interlace << " reduction " << reduction);
            std::string file = dir.file(std::string(src.name) + ".gif");
            GifWriteOptions options{0x0100, format, global, interlace, reduction};
            ASSERT_TRUE(wendle::WriteGif(file.c_str(), dib, options, nullptr));
            EXPECT_TRUE(Messages().empty());
            auto bytes = plugin_test::ReadBytes(file);
            EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), format == 87 ? "GIF87a" : "GIF89a");
            std::string pnm, dump;
            ASSERT_TRUE(plugin_test::Run("giftopnm '" + file + "' 2>&1", &pnm));
            EXPECT_EQ(plugin_test::Compare(expected, plugin_test::ReadPnm({pnm.begin(), pnm.end()})), "");
            // giflib reads it too, without complaint.
            EXPECT_TRUE(plugin_test::Run("gifbuild -d '" + file + "' 2>&1 >/dev/null", &dump)) << dump;
            EXPECT_EQ(dump, "");
            HGLOBAL back = nullptr;
            EXPECT_EQ(plugin_test::Compare(expected, ReadBack(file, &back)), "");
            if (back) {
              auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(back));
              EXPECT_EQ(h->biBitCount, src.bits == 24 ? 8 : src.bits);
              GlobalUnlock(back);
              GlobalFree(back);
            }
          }
        }
      }
    }
    GlobalFree(dib);
  }
}

TEST(GifWriter, ClearCodeAfterTheLastTableEntry) {
  // Noise makes more than 4096 - 258 strings: a clear code follows code
  // 4095, at 12 bits, and the codes start again at 9 bits.
  testing_support::TempDir dir;
  std::string file = dir.file("noise.gif");
  std::uint32_t seed = 3;
  HGLOBAL dib = MakeDib(150, 120, 8, Palette(256), [&](int, int) {
    seed = seed * 1103515245 + 12345;
    return seed >> 24;
  });
  ASSERT_TRUE(wendle::WriteGif(file.c_str(), dib, GifWriteOptions{}, nullptr));
  auto b = plugin_test::ReadBytes(file);
  std::size_t at = 6 + 7 + 768 + 10;
  ASSERT_EQ(b[at], 8);  // minimum code size
  std::vector<std::uint8_t> data;
  for (++at; b[at] != 0; at += b[at] + 1) data.insert(data.end(), b.begin() + at + 1, b.begin() + at + 1 + b[at]);
  std::size_t bit = 0;
  unsigned width = 9, next = 258, clearsAt12 = 0, codesBefore = 0;
  bool first = true;
  for (;;) {
    unsigned c = 0;
    for (unsigned i = 0; i < width; ++i, ++bit) c |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
    if (c == 257) break;
    if (c == 256) {
      if (width == 12) {
        ++clearsAt12;
        EXPECT_EQ(next, 4096u);
      }
      width = 9, next = 258, first = true;
      continue;
    }
    ++codesBefore;
    if (!first && next < 4096 && ++next == (1u << width) && width < 12) ++width;
    first = false;
  }
  EXPECT_GE(clearsAt12, 1u);
  EXPECT_EQ(ReadBack(file), plugin_test::DibToRgb(dib));
  GlobalFree(dib);
}

TEST(GifWriter, MessagesAndRefusals) {
  testing_support::TempDir dir;
  HGLOBAL dib = MakeDib(4, 4, 8, Palette(256), [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
  win::ClearMessageBoxLog();
  EXPECT_FALSE(wendle::WriteGif(dir.file("a.gif").c_str(), dib, GifWriteOptions{0x100, 88, 1, 0, 0}, nullptr));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Wendle.DLL: Unknown Format"});
  EXPECT_FALSE(wendle::WriteGif(dir.file("no/dir/a.gif").c_str(), dib, GifWriteOptions{}, nullptr));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Wendle.DLL: Error on writing GIF-file"});
  EXPECT_FALSE(wendle::WriteGif("/dev/full", dib, GifWriteOptions{}, nullptr));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Wendle.DLL: Error on writing GIF-file"});
  HGLOBAL wide = MakeDib(70000, 1, 1, {0, 0xFFFFFF}, [](int, int) { return 0u; });
  EXPECT_FALSE(wendle::WriteGif(dir.file("wide.gif").c_str(), wide, GifWriteOptions{}, nullptr));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Wendle.DLL: Error on writing GIF-file"});
  // A palette longer than the depth allows writes only the depth's entries.
  static_cast<BITMAPINFOHEADER*>(GlobalLock(dib))->biClrUsed = 256;
  GlobalUnlock(dib);
  std::vector<int> seen;
  ASSERT_TRUE(wendle::WriteGif(dir.file("a.gif").c_str(), dib, GifWriteOptions{0x100, 89, 0, 1, 0},
                               [&](int p) { seen.push_back(p); }));
  EXPECT_EQ(seen, (std::vector<int>{0, 25, 50, 75}));
  EXPECT_TRUE(Messages().empty());
  GlobalFree(dib);
  GlobalFree(wide);
}

}  // namespace
