// The TIFF writer: what it writes must decode, in tifftopnm and in our own
// reader, to the DIB it was given, for every depth, compression and strip
// size; and its messages and refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "plugins/common/support/picture_oracle.h"
#include "support/temp_dir.h"
#include "tevrin/tiff_lzw.h"
#include "tevrin/tiff_reader.h"
#include "tevrin/tiff_writer.h"
#include "win/kernel.h"
#include "win/user.h"
#include "support/tools.h"

namespace {

using plugin_test::MakeDib;
using tevrin::TiffWriteOptions;

std::vector<std::string> Messages() {
  std::vector<std::string> out;
  for (const auto& box : win::MessageBoxLog()) {
    EXPECT_EQ(box.caption, "Tevrin.DLL");
    out.push_back(box.text);
  }
  win::ClearMessageBoxLog();
  return out;
}

plugin_test::Rgb ReadBack(const std::string& file) {
  auto bytes = plugin_test::ReadBytes(file);
  HGLOBAL block = plugin_test::NewReaderBlock();
  HGLOBAL dib = tevrin::ReadTiff(bytes.data(), bytes.size(), block, nullptr);
  if (!dib) {
    GlobalFree(block);
    return {};
  }
  auto rgb = plugin_test::DibToRgb(dib);
  GlobalFree(dib);
  return rgb;
}

// A picture of every kind the writer meets.
struct Source {
  const char* name;
  int bits;
  std::vector<std::uint32_t> palette;
  int width, height;
};

std::uint32_t Pixel(const Source& s, int x, int y) {
  if (s.bits == 24) return static_cast<std::uint32_t>((x * 37 + y * 11) % 256 << 16 | (x * y) % 256 << 8 | (x ^ y) % 256);
  unsigned n = static_cast<unsigned>(s.palette.size());
  // Runs and noise, so that PackBits meets both kinds of run.
  return static_cast<std::uint32_t>((x / 5 + (y % 3 == 0 ? 0 : x * 7 + y)) % n);
}

std::vector<std::uint32_t> Ramp(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(static_cast<std::uint32_t>((i * 53 % 256) << 16 | (i * 91 % 256) << 8 | (255 - i) % 256));
  return p;
}

TEST(TiffWriterOracle, EveryDepthCompressionAndStripSizeDecodesToTheSource) {
  ZEMRA_SKIP_WITHOUT(plugin_test::HaveTool("tifftopnm") && plugin_test::HaveTool("tiffinfo"), "libtiff-tools and netpbm missing");
  testing_support::TempDir dir;
  const Source sources[] = {
      {"black-white", 1, {0x000000, 0xFFFFFF}, 45, 21},
      {"white-black", 1, {0xFFFFFF, 0x000000}, 9, 33},
      {"grey16", 4, Ramp(16), 37, 23},
      {"palette200", 8, Ramp(200), 61, 40},
      {"rgb", 24, {}, 50, 31},
      {"one-column", 8, Ramp(256), 1, 17},
  };
  for (const Source& src : sources) {
    HGLOBAL dib = MakeDib(src.width, src.height, src.bits, src.palette,
                          [&](int x, int y) { return Pixel(src, x, y); });
    const plugin_test::Rgb expected = plugin_test::DibToRgb(dib);
    for (DWORD compression : {1u, 5u, 32773u}) {
      for (DWORD stripKb : {0u, 1u, 10u}) {
        SCOPED_TRACE(testing::Message() << src.name << " compression " << compression << " strips " << stripKb);
        std::string file = dir.file(std::string(src.name) + ".tif");
        TiffWriteOptions options{0x0100, static_cast<DWORD>(src.bits), compression, stripKb};
        ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), dib, options, nullptr));
        EXPECT_TRUE(Messages().empty());
        std::string info;
        ASSERT_TRUE(plugin_test::Run("tiffinfo -D '" + file + "' 2>&1", &info));
        // The software name is padded with NULs to 18 bytes, which libtiff
        // mentions; nothing else may draw a warning.
        std::string rest;
        std::istringstream lines(info);
        for (std::string line; std::getline(lines, line);)
          if (line.find("\"Software\" contains null byte") == std::string::npos) rest += line + "\n";
        EXPECT_EQ(rest.find("Warning"), std::string::npos) << info;
        EXPECT_NE(info.find("Software: Tevrin.DLL V1.0"), std::string::npos);
        std::string pnm;
        ASSERT_TRUE(plugin_test::Run("tifftopnm '" + file + "' 2>/dev/null", &pnm));
        // The colour map holds palette byte x 256: 255 comes out of a
        // 16-bit scale as 254.
        EXPECT_EQ(plugin_test::Compare(expected, plugin_test::ReadPnm({pnm.begin(), pnm.end()}), src.bits == 24 || src.bits == 1 ? 0 : 1), "");
        EXPECT_EQ(plugin_test::Compare(expected, ReadBack(file)), "");
      }
    }
    GlobalFree(dib);
  }
}

// The IFD entries of a little-endian file: tag -> (type, count, value).
struct Tag {
  std::uint16_t type;
  std::uint32_t count, value;
};
std::map<std::uint16_t, Tag> Tags(const std::vector<std::uint8_t>& b) {
  std::map<std::uint16_t, Tag> tags;
  auto u16 = [&](std::size_t at) { return std::uint32_t(b[at] | b[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::size_t ifd = u32(4);
  for (std::uint32_t i = 0; i < u16(ifd); ++i) {
    std::size_t e = ifd + 2 + 12 * i;
    tags[static_cast<std::uint16_t>(u16(e))] = Tag{static_cast<std::uint16_t>(u16(e + 2)), u32(e + 4),
                                                   u16(e + 2) == 3 && u32(e + 4) == 1 ? u16(e + 8) : u32(e + 8)};
  }
  return tags;
}

TEST(TiffWriter, LayoutOfTheFile) {
  testing_support::TempDir dir;
  std::string file = dir.file("one.tif");
  // One pixel wide, PackBits: every row is a literal of one byte.
  HGLOBAL column = MakeDib(1, 5, 8, Ramp(256), [](int, int y) { return static_cast<std::uint32_t>(y * 10); });
  ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), column, {0x100, 8, 32773, 10}, nullptr));
  auto b = plugin_test::ReadBytes(file);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.begin() + 18),
            (std::vector<std::uint8_t>{'I', 'I', 42, 0, b[4], b[5], b[6], b[7], 0, 0, 0, 10, 0, 20, 0, 30, 0, 40}));
  auto tags = Tags(b);
  EXPECT_EQ(tags.size(), 20u);
  EXPECT_EQ(tags[273].value, 8u);  // one strip: its offset and count in the entries
  EXPECT_EQ(tags[279].value, 10u);
  EXPECT_EQ(tags[296].value, 3u);
  EXPECT_EQ(tags[320].count, 768u);
  // The date has the real four-digit year.
  SYSTEMTIME now;
  GetLocalTime(&now);
  char year[8];
  std::snprintf(year, sizeof year, "%04u:", now.wYear);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[tags[306].value]), 5), year);
  // Resolution in pixels per centimetre, as a fraction of the DIB's metres.
  const std::uint8_t* x = &b[tags[282].value];
  EXPECT_EQ(x[0] | x[1] << 8, 2953);
  EXPECT_EQ(x[4], 100);
  GlobalFree(column);

  // 24 bits: three samples of 8 at an offset, no colour map entry at all.
  HGLOBAL rgb = MakeDib(3, 2, 24, {}, [](int x, int) { return static_cast<std::uint32_t>(x * 0x102030); });
  ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), rgb, {0x100, 24, 1, 10}, nullptr));
  tags = Tags(plugin_test::ReadBytes(file));
  EXPECT_EQ(tags.size(), 19u);
  EXPECT_EQ(tags.count(320), 0u);
  EXPECT_EQ(tags.count(0), 0u);
  EXPECT_EQ(tags[258].count, 3u);
  GlobalFree(rgb);

  // Strips taller than a SHORT holds: rows per strip becomes a LONG.
  HGLOBAL tall = MakeDib(1, 70000, 1, {0, 0xFFFFFF}, [](int, int y) { return static_cast<std::uint32_t>(y % 3 == 0); });
  ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), tall, {0x100, 1, 1, 100}, nullptr));
  tags = Tags(plugin_test::ReadBytes(file));
  EXPECT_EQ(tags[278].type, 4);
  EXPECT_EQ(tags[278].value, 70000u);
  EXPECT_EQ(ReadBack(file), plugin_test::DibToRgb(tall));
  GlobalFree(tall);
}

TEST(TiffWriter, LzwStripsStartAgainAfterATableOfStrings) {
  // Noise has more than 4093 strings: the stream holds a Clear at 12 bits,
  // after which codes have 9 bits again.
  testing_support::TempDir dir;
  std::string file = dir.file("noise.tif");
  std::uint32_t seed = 1;
  HGLOBAL noise = MakeDib(200, 100, 8, Ramp(256), [&](int, int) {
    seed = seed * 1103515245 + 12345;
    return seed >> 24;
  });
  ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), noise, {0x100, 8, 5, 100}, nullptr));
  auto b = plugin_test::ReadBytes(file);
  // Walk the codes as a decoder widens them.
  std::size_t bit = 8 * 8;
  unsigned width = 9, next = 258, clearsAt12 = 0, codes = 0;
  bool first = true;
  auto code = [&] {
    unsigned v = 0;
    for (unsigned i = 0; i < width; ++i, ++bit) v = v << 1 | ((b[bit / 8] >> (7 - bit % 8)) & 1);
    return v;
  };
  for (;;) {
    unsigned c = code();
    ++codes;
    if (c == 257) break;
    if (c == 256) {
      if (width == 12) ++clearsAt12;
      width = 9, next = 258, first = true;
      continue;
    }
    if (!first && next < 4096 && ++next == (1u << width) - 1 && width < 12) ++width;
    first = false;
  }
  EXPECT_GE(clearsAt12, 1u);
  EXPECT_EQ(ReadBack(file), plugin_test::DibToRgb(noise));
  GlobalFree(noise);
}

TEST(TiffWriter, MessagesAndRefusals) {
  testing_support::TempDir dir;
  std::string file = dir.file("out.tif");
  HGLOBAL bw = MakeDib(8, 2, 1, {0, 0xFFFFFF}, [](int x, int) { return static_cast<std::uint32_t>(x & 1); });
  HGLOBAL grey = MakeDib(8, 2, 8, Ramp(256), [](int x, int) { return static_cast<std::uint32_t>(x); });
  HGLOBAL colored = MakeDib(8, 2, 1, {0xFF0000, 0x00FF00}, [](int x, int) { return static_cast<std::uint32_t>(x & 1); });
  HGLOBAL os2 = MakeDib(8, 2, 8, Ramp(256), [](int, int) { return 0u; });
  static_cast<BITMAPINFOHEADER*>(GlobalLock(os2))->biSize = 12;
  GlobalUnlock(os2);
  win::ClearMessageBoxLog();

  // CCITT of a 1-bit picture: both messages, an IFD that says none, 0.
  EXPECT_FALSE(tevrin::WriteTiff(file.c_str(), bw, {0x100, 1, 2, 10}, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"CCITT-Komprimierung wird nicht unterstützt!",
                                                   "Fehler beim Schreiben der TIFF-Datei"}));
  EXPECT_EQ(Tags(plugin_test::ReadBytes(file))[259].value, 1u);
  // CCITT of 8 bits, and any other number, is unknown.
  for (DWORD compression : {2u, 7u}) {
    EXPECT_FALSE(tevrin::WriteTiff(file.c_str(), grey, {0x100, 8, compression, 10}, nullptr));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Unbekanntes Komprimierungsformat!",
                                                     "Fehler beim Schreiben der TIFF-Datei"}));
  }
  // A coloured 1-bit picture becomes a 4-bit palette picture.
  EXPECT_TRUE(tevrin::WriteTiff(file.c_str(), colored, {0x100, 1, 5, 10}, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"1-Bit-DIB enthält Farben!\nEs wird eine 4-Bit-TIFF-Grafik erzeugt!"}));
  EXPECT_EQ(Tags(plugin_test::ReadBytes(file))[258].value, 4u);
  EXPECT_EQ(ReadBack(file), plugin_test::DibToRgb(colored));

  EXPECT_FALSE(tevrin::WriteTiff(file.c_str(), os2, {0x100, 8, 1, 10}, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Keine Unterstützung für OS/2-Bitmap!"}));
  EXPECT_FALSE(tevrin::WriteTiff(dir.file("no/such/dir/out.tif").c_str(), grey, {0x100, 8, 1, 10}, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"TIFF-Datei konnte nicht erzeugt werden!"}));

  // A disk that is full: the header cannot be written.
  EXPECT_FALSE(tevrin::WriteTiff("/dev/full", grey, {0x100, 8, 1, 10}, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Fehler beim Schreiben der TIFF-Datei!"}));

  // Progress after every row, from 0.
  std::vector<int> seen;
  EXPECT_TRUE(tevrin::WriteTiff(file.c_str(), grey, {0x100, 8, 1, 0}, [&](int p) { seen.push_back(p); }));
  EXPECT_EQ(seen, (std::vector<int>{0, 50}));
  for (HGLOBAL d : {bw, grey, colored, os2}) GlobalFree(d);
}

TEST(TiffWriter, RleDibsAreExpandedFirst) {
  testing_support::TempDir dir;
  std::string file = dir.file("rle.tif");
  // RLE8, 4 x 2: a run of 4 of index 1, end of line, 2 x 2 then 2 x 3, end
  // of bitmap.
  const std::uint8_t rle[] = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1};
  HGLOBAL dib = GlobalAlloc(GHND, 40 + 1024 + sizeof rle);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER h{40, 4, 2, 1, 8, 1, sizeof rle, 2953, 2953, 256, 0};
  std::memcpy(p, &h, sizeof h);
  for (int i = 0; i < 256; ++i) p[40 + 4 * i] = p[41 + 4 * i] = p[42 + 4 * i] = static_cast<std::uint8_t>(i * 50);
  std::memcpy(p + 40 + 1024, rle, sizeof rle);
  GlobalUnlock(dib);
  ASSERT_TRUE(tevrin::WriteTiff(file.c_str(), dib, {0x100, 8, 1, 10}, nullptr));
  auto rgb = ReadBack(file);
  ASSERT_EQ(rgb.width, 4);
  EXPECT_EQ(rgb.pixels[0], 100);       // top row: 2 2 3 3
  EXPECT_EQ(rgb.pixels[3 * 4], 50);    // bottom row: 1 1 1 1
  GlobalFree(dib);
  win::ClearMessageBoxLog();
}

}  // namespace
