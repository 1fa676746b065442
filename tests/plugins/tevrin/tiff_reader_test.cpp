// The TIFF reader against tifftopnm on real variants (every depth, both
// byte orders, no compression, LZW and PackBits, strips of several sizes),
// its refusals, and files whose sizes, offsets and codes lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "plugins/common/support/picture_oracle.h"
#include "tevrin/tiff_lzw.h"
#include "tevrin/tiff_reader.h"
#include "tiff_builder.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

using plugin_test::DataFiles;
using plugin_test::DataPath;
using tiff_test::TiffBuilder;

struct ReadResult {
  HGLOBAL dib = nullptr;
  std::vector<std::string> messages;
};

ReadResult Read(const std::vector<std::uint8_t>& bytes, HWND progress = nullptr) {
  win::ClearMessageBoxLog();
  HGLOBAL block = plugin_test::NewReaderBlock();
  ReadResult r;
  r.dib = tevrin::ReadTiff(bytes.data(), bytes.size(), block, progress);
  for (const auto& box : win::MessageBoxLog()) {
    EXPECT_EQ(box.caption, "Tevrin.DLL");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
    r.messages.push_back(box.text);
  }
  // A failed read leaves the block to the caller, still a valid handle.
  if (!r.dib) EXPECT_EQ(GlobalFree(block), nullptr);
  win::ClearMessageBoxLog();
  return r;
}

int DibBits(HGLOBAL dib) {
  auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  int bits = h->biBitCount;
  GlobalUnlock(dib);
  return bits;
}

TEST(TiffOracle, EveryVariantReadsAsTifftopnmDecodesIt) {
  const std::map<std::string, int> depthByPicture = {
      {"bw", 1}, {"g4", 4}, {"g8", 8}, {"p4", 4}, {"p8", 8}, {"rgb", 24},
      {"noise8", 8}, {"rgbnoise", 24}, {"two", 4}};
  auto names = DataFiles("tiff", ".tif");
  ASSERT_GE(names.size(), 40u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ReadResult r = Read(plugin_test::ReadBytes(DataPath("tiff/" + name + ".tif")));
    ASSERT_NE(r.dib, nullptr);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(plugin_test::Compare(plugin_test::ReadPnmFile(DataPath("tiff/" + name + ".ppm")),
                                   plugin_test::DibToRgb(r.dib)),
              "");
    EXPECT_EQ(DibBits(r.dib), depthByPicture.at(name.substr(0, name.find('-'))));
    GlobalFree(r.dib);
  }
}

TEST(TiffOracle, RefusedLayoutsShowTheirMessage) {
  auto names = DataFiles("tiff/refused", ".tif");
  ASSERT_EQ(names.size(), 5u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ReadResult r = Read(plugin_test::ReadBytes(DataPath("tiff/refused/" + name + ".tif")));
    EXPECT_EQ(r.dib, nullptr);
    // A tiled picture also has no strips: every message that applies shows.
    std::string expected = plugin_test::ReadText(DataPath("tiff/refused/" + name + ".txt"));
    EXPECT_NE(std::find(r.messages.begin(), r.messages.end(), expected), r.messages.end());
  }
}

TEST(TiffOracle, PredictorIsNotUndone) {
  // A horizontal predictor stores each pixel as its difference to the one
  // on its left; the reader takes those differences as they are.
  ReadResult r = Read(plugin_test::ReadBytes(DataPath("tiff/predictor/g8-lzw-predictor.tif")));
  ASSERT_NE(r.dib, nullptr);
  EXPECT_TRUE(r.messages.empty());
  const auto original = plugin_test::ReadPnmFile(DataPath("tiff/g8-none-le.ppm"));
  const auto read = plugin_test::DibToRgb(r.dib);
  ASSERT_EQ(read.width, original.width);
  for (int y = 0; y < original.height; ++y) {
    for (int x = 0; x < original.width; ++x) {
      const std::size_t at = (std::size_t(y) * original.width + x) * 3;
      const int left = x ? original.pixels[at - 3] : 0;
      ASSERT_EQ(read.pixels[at], static_cast<std::uint8_t>(original.pixels[at] - left)) << x << "," << y;
    }
  }
  GlobalFree(r.dib);
}

TEST(TiffSignature, BothByteOrdersByTheirBytes) {
  struct Case {
    const char* bytes;
    std::size_t n;
    bool tiff;
  } cases[] = {
      {"II*\0", 4, true}, {"MM\0*", 4, true}, {"II\0*", 4, false},
      {"MM*\0", 4, false}, {"II*", 3, false}, {"GIF8", 4, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tevrin::IsTiffSignature(reinterpret_cast<const std::uint8_t*>(c.bytes), c.n), c.tiff)
        << c.bytes;
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> b, std::size_t at, std::vector<std::uint8_t> with) {
  std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  return b;
}

TEST(TiffReaderBounds, LyingFilesFailWithTheirMessage) {
  const std::string kRead = "Fehler beim Lesen der TIFF-Datei!";
  const std::string kDecode = "Fehler beim Dekodieren der TIFF-Datei!";
  const std::string kMemory = "Zu wenig Speicher für DIB vorhanden!";
  auto good = tiff_test::Grey8(5, 4).Build();
  std::vector<std::uint8_t> lzwBad = {0x80, 0x00, 0x25, 0x80};  // Clear, 0, then code 300
  const std::size_t ifd = good[4] | good[5] << 8;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> messages;
  } cases[] = {
      {"two bytes", {'I', 'I'}, {kRead}},
      {"no byte order", {'X', 'X', 42, 0, 8, 0, 0, 0}, {"Falsche Byte-Reihenfolge!\nKeine TIFF-Datei!"}},
      {"empty", {}, {"Falsche Byte-Reihenfolge!\nKeine TIFF-Datei!"}},
      {"wrong magic", Patched(good, 2, {43}), {"Falsche TIFF-Kennung!"}},
      {"no IFD", Patched(good, 4, {0, 0, 0, 0}), {"Kein IFD-Eintrag!"}},
      {"IFD past the end", Patched(good, 4, {0xF0, 0xFF, 0xFF, 0xFF}), {kRead}},
      {"entries past the end", Patched(good, ifd, {0xFF, 0xFF}), {kRead}},
      {"zero width", tiff_test::Grey8(5, 4).Long(256, 0).Build(), {kRead}},
      {"huge", tiff_test::Grey8(5, 4).Long(256, 0xFFFFFFFF).Long(257, 0xFFFFFFFF).Build(), {kMemory}},
      {"product past 32 bits", tiff_test::Grey8(5, 4).Long(256, 70000).Long(257, 70000).Build(), {kMemory}},
      {"strip past the end", tiff_test::Grey8(5, 4).Tag(273, 4, {0xFFFFFF00}).Build(), {kDecode}},
      {"strip count past the end", tiff_test::Grey8(5, 4).Tag(279, 4, {0x7FFFFFFF}).Build(), {kDecode}},
      {"offsets array past the end", tiff_test::Grey8(5, 4).Long(278, 1).Tag(273, 4, {8, 8, 0xFFFFFF00}).Tag(279, 4, {1, 1, 1}).Build(), {kDecode}},
      {"no strips", tiff_test::Grey8(5, 4).Tag(273, 4, {}).Build(), {"Dieser Bildaufbau (Tiled Image) wird nicht unterstützt!"}},
      {"no strip offsets", TiffBuilder().Long(256, 2).Long(257, 2).Short(258, 8).Short(262, 1).Build(),
       {"TIFF-Datenbereich ist nicht vorhanden!"}},
      {"palette without map", tiff_test::Grey8(5, 4).Short(262, 3).Build(), {kRead}},
      {"map past the end", tiff_test::Grey8(5, 4).Short(262, 3).Short(258, 4).Tag(320, 3, std::vector<std::uint32_t>(48, 1)).Build(), {}},
      {"LZW code beyond the table", tiff_test::Grey8(5, 4).Short(259, 5).Strips({lzwBad}).Build(),
       {"Ungültiger LZW-Code 300!", kDecode}},
      {"CCITT strips", tiff_test::Grey8(5, 4).Short(259, 2).Build(), {"CCITT-Komprimierung wird nicht unterstützt!"}},
      {"unknown compression", tiff_test::Grey8(5, 4).Short(259, 7).Build(), {"Unbekanntes Komprimierungsformat!"}},
      {"16-bit grey", tiff_test::Grey8(5, 4).Short(258, 16).Build(), {"Falsches Farbformat in der TIFF-Datei!"}},
      {"CMYK", tiff_test::Grey8(5, 4).Short(262, 5).Build(), {"CMYK-Farbformat wird nicht unterstützt!"}},
      {"several refusals at once",
       tiff_test::Grey8(5, 4).Short(259, 6).Short(266, 2).Short(338, 1).Short(262, 6).Build(),
       {"JPEG-Format wird nicht unterstützt!",
        "Dieser Datenaufbau (Fillorder != 1) wird nicht unterstützt!",
        "ExtraSamples werden nicht unterstützt!", "YCbCr-Farbformat wird nicht unterstützt!"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "map past the end") {
      // Point the colour map's values past the end of the file.
      auto& b = c.bytes;
      for (std::size_t i = 8; i + 12 <= b.size(); i += 2) {
        if (b[i] == 0x40 && b[i + 1] == 0x01 && b[i + 2] == 3 && b[i + 4] == 48) {
          b[i + 8] = b[i + 9] = b[i + 10] = 0xF0;
          break;
        }
      }
      c.messages = {kRead};
    }
    ReadResult r = Read(c.bytes);
    EXPECT_EQ(r.dib, nullptr);
    EXPECT_EQ(r.messages, c.messages);
    if (r.dib) GlobalFree(r.dib);
  }
}

TEST(TiffReaderBounds, EveryTruncationOfRealFilesFailsOrReads) {
  for (const char* name : {"g8-lzw-le-r7", "rgb-packbits-be-r3", "p4-none-le", "noise8-lzw-be-r16"}) {
    auto whole = plugin_test::ReadBytes(DataPath(std::string("tiff/") + name + ".tif"));
    ASSERT_FALSE(whole.empty());
    for (std::size_t n = 0; n < whole.size(); n += 1 + n / 16) {
      std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      ReadResult r = Read(cut);
      if (r.dib) GlobalFree(r.dib);
      else EXPECT_FALSE(r.messages.empty()) << name << " cut at " << n;
    }
  }
}

TEST(TiffReader, StripRowsAndResolution) {
  // Rows per strip 0 stands for all rows; more decoded bytes than rows are
  // dropped; a short strip leaves the rest of the picture zero.
  auto a = Read(tiff_test::Grey8(3, 2).Short(278, 0).Build());
  ASSERT_NE(a.dib, nullptr);
  GlobalFree(a.dib);

  std::vector<std::uint8_t> longStrip(100, 9);
  auto b = Read(tiff_test::Grey8(3, 2).Strips({longStrip}).Build());
  ASSERT_NE(b.dib, nullptr);
  EXPECT_EQ(plugin_test::DibToRgb(b.dib).pixels, std::vector<std::uint8_t>(18, 9));
  GlobalFree(b.dib);

  auto c = Read(tiff_test::Grey8(3, 2).Strips({{200}}).Build());
  ASSERT_NE(c.dib, nullptr);
  auto rgb = plugin_test::DibToRgb(c.dib);
  EXPECT_EQ(rgb.pixels[0], 200);
  EXPECT_EQ(rgb.pixels[3], 0);
  GlobalFree(c.dib);

  struct Res {
    std::uint32_t unit, numerator;
    LONG perMetre;
  } res[] = {{2, 300, 11811}, {3, 300, 30000}, {1, 0, 2953}, {1, 72, 2834}, {2, 0, 0}};
  for (const Res& r : res) {
    auto d = Read(tiff_test::Grey8(3, 2).Short(296, r.unit).Tag(282, 5, {r.numerator, 1}).Tag(283, 5, {r.numerator, 1}).Build());
    ASSERT_NE(d.dib, nullptr);
    auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(d.dib));
    EXPECT_EQ(h->biXPelsPerMeter, r.perMetre) << r.unit << " " << r.numerator;
    EXPECT_EQ(h->biYPelsPerMeter, r.perMetre);
    GlobalUnlock(d.dib);
    GlobalFree(d.dib);
  }
}

TEST(TiffReader, RowsPerStripZeroReadsEveryStrip) {
  // No usable rows per strip: the rows are shared among the strips listed,
  // and every one of them is read.
  struct Case {
    std::uint32_t height;
    std::vector<std::vector<std::uint8_t>> strips;
    std::vector<std::uint8_t> rows;  // the first pixel of each row, top first
  } cases[] = {
      {3, {{1, 1}, {2, 2}, {3, 3}}, {1, 2, 3}},
      {4, {{1, 1, 2, 2}, {3, 3, 4, 4}}, {1, 2, 3, 4}},
      {3, {{1, 1, 2, 2}, {3, 3}}, {1, 2, 3}},
      {2, {{5, 5, 6, 6}}, {5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    auto r = Read(tiff_test::Grey8(2, c.height).Short(278, 0).Strips(c.strips).Build());
    ASSERT_NE(r.dib, nullptr);
    EXPECT_TRUE(r.messages.empty());
    auto rgb = plugin_test::DibToRgb(r.dib);
    for (std::uint32_t y = 0; y < c.height; ++y) EXPECT_EQ(rgb.pixels[y * 2 * 3], c.rows[y]) << y;
    GlobalFree(r.dib);
  }
}

TEST(TiffReader, ProgressAfterEachStrip) {
  plugin_test::ProgressRecorder recorder;
  auto bytes = tiff_test::Grey8(4, 3).Short(278, 1).Strips({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}).Build();
  ReadResult r = Read(bytes, recorder.window());
  ASSERT_NE(r.dib, nullptr);
  EXPECT_EQ(recorder.percents(), (std::vector<int>{33, 66, 100}));
  GlobalFree(r.dib);
}

// Codes packed most significant bit first.
struct Bits {
  std::vector<std::uint8_t> bytes;
  std::uint64_t acc = 0;
  unsigned n = 0;
  void Put(unsigned code, unsigned width) {
    acc = acc << width | code;
    n += width;
    while (n >= 8) bytes.push_back(static_cast<std::uint8_t>(acc >> (n -= 8)));
  }
  void Flush() {
    if (n) bytes.push_back(static_cast<std::uint8_t>(acc << (8 - n)));
    n = 0;
  }
};

TEST(TiffLzw, WidthStaysAtTwelveBitsWhenTheTableIsFull) {
  // 5000 codes without a Clear: the table fills at 4096 entries and the
  // codes go on at 12 bits.
  Bits s;
  unsigned width = 9, next = 258;
  s.Put(256, 9);
  s.Put(0, 9);
  for (int i = 0; i < 5000; ++i) {
    s.Put(0, width);
    if (next < 4096) {
      ++next;
      if (next == (1u << width) - 1 && width < 12) ++width;
    }
  }
  s.Put(257, width);
  s.Flush();
  std::vector<std::uint8_t> out(6000, 0xAA);
  auto r = tevrin::DecodeTiffLzw(s.bytes.data(), s.bytes.size(), out.data(), out.size());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.written, 5001u);
  EXPECT_EQ(out[5000], 0);
  EXPECT_EQ(out[5001], 0xAA);
}

TEST(TiffLzw, RoundTripsAndEndsWhereTheDecoderLooks) {
  // A source whose byte pairs never repeat makes a new string at every
  // step, so n bytes end with the table's next code at 257 + n: lengths
  // around 254, 766 and 1790 end right where the decoder widens its codes,
  // and the end code must be written at the width it reads. Longer random
  // data passes table resets.
  std::vector<std::uint32_t> children(tevrin::kLzwChildTableBytes / 4);
  std::vector<std::uint8_t> src;
  std::vector<bool> used(65536);
  src.push_back(0);
  while (src.size() < 2000) {
    unsigned b = 0;
    while (used[src.back() * 256u + b]) ++b;
    used[src.back() * 256u + b] = true;
    src.push_back(static_cast<std::uint8_t>(b));
  }
  std::uint32_t x = 12345;
  while (src.size() < 40000) {
    x = x * 1103515245 + 12345;
    src.push_back(static_cast<std::uint8_t>(x >> 24) & 0x3F);
  }
  for (std::size_t n : {0, 1, 2, 3, 253, 254, 255, 765, 766, 767, 1789, 1790, 1791, 2500, 9000, 40000}) {
    std::vector<std::uint8_t> enc(tevrin::TiffLzwWorstCase(n));
    std::size_t len = tevrin::EncodeTiffLzw(src.data(), n, enc.data(), enc.size(), children.data());
    ASSERT_GT(len, 0u) << n;
    std::vector<std::uint8_t> dec(n + 64);
    auto r = tevrin::DecodeTiffLzw(enc.data(), len, dec.data(), dec.size());
    ASSERT_TRUE(r.ok) << n << ": code " << r.badCode;
    ASSERT_EQ(r.written, n);
    ASSERT_TRUE(std::equal(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(n), dec.begin())) << n;
  }
}

}  // namespace
