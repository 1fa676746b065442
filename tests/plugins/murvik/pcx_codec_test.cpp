// The PCX codec on hand-made files: header checks with their messages,
// run-length streams that cross lines, overrun the picture or end early,
// the plane layouts, and the writer's file layout and run coding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "murvik_messages.h"
#include "pcx_reader.h"
#include "pcx_writer.h"
#include "plugins/common/support/dib_fixture.h"

namespace {

using namespace murvik;
using convert_test::DibIndex;
using convert_test::DibPixel;
using convert_test::MakeDib;
using convert_test::Rgb;
using Bytes = std::vector<std::uint8_t>;

PcxHeader Header(int width, int height, int bpp, int planes, int bpl, int encoding = 1) {
  PcxHeader h;
  h.version = 5;
  h.encoding = static_cast<std::uint8_t>(encoding);
  h.bitsPerPixel = static_cast<std::uint8_t>(bpp);
  h.planes = static_cast<std::uint8_t>(planes);
  h.xmin = 10;  // a window not at 0: the size is its extent
  h.ymin = 20;
  h.xmax = static_cast<std::uint16_t>(10 + width - 1);
  h.ymax = static_cast<std::uint16_t>(20 + height - 1);
  h.bytesPerLine = static_cast<std::uint16_t>(bpl);
  return h;
}

Bytes File(const PcxHeader& h, const Bytes& data, bool vgaPalette = false, std::uint8_t marker = 12) {
  Bytes f(kPcxHeaderSize);
  StorePcxHeader(h, f.data());
  f.insert(f.end(), data.begin(), data.end());
  if (vgaPalette) {
    f.push_back(marker);
    for (int i = 0; i < 256; ++i) {
      f.push_back(static_cast<std::uint8_t>(i));
      f.push_back(static_cast<std::uint8_t>(255 - i));
      f.push_back(static_cast<std::uint8_t>(i / 2));
    }
  }
  return f;
}

// Plans and decodes; the message (null on success) and the DIB.
const char* Decode(const Bytes& file, Bytes& dib) {
  PcxPlan plan;
  if (const char* bad = PlanPcx(plugins::ByteSpan(file.data(), file.size()), plan)) return bad;
  dib.assign(plan.dibSize, 0);
  return DecodePcx(plan, plugins::ByteSpan(file.data(), file.size()), dib.data());
}

TEST(PcxReader, HeaderFieldsAreCheckedBeforeAnythingIsRead) {
  struct Case {
    const char* what;
    Bytes file;
    const char* message;
  };
  PcxHeader notPcx = Header(4, 2, 8, 1, 4);
  notPcx.manufacturer = 11;
  PcxHeader xBackwards = Header(4, 2, 8, 1, 4);
  xBackwards.xmax = 5;  // below xmin 10
  PcxHeader yBackwards = Header(4, 2, 8, 1, 4);
  yBackwards.ymax = 0;
  PcxHeader huge = Header(1, 1, 8, 3, 65535);
  huge.xmin = huge.ymin = 0;
  huge.xmax = huge.ymax = 65534;  // 65535 x 65535 x 3 bytes
  Bytes shortPalette = File(Header(4, 2, 8, 1, 4), Bytes(100, 0));  // no room for 769 bytes
  Case cases[] = {
      {"manufacturer", File(notPcx, {}), msg::kNotPcx},
      {"two bits", File(Header(4, 2, 2, 1, 2), {}), msg::kBadColorFormat},
      {"eight bits in planes", File(Header(4, 2, 4, 2, 2), {}), msg::kBadColorFormat},
      {"32 bits", File(Header(4, 2, 8, 4, 4), {}), msg::kBadColorFormat},
      {"24 bits in one plane", File(Header(4, 2, 24, 1, 12), {}), msg::kBad24Bit},
      {"xmax below xmin", File(xBackwards, {}, true), msg::kDecodeFailed},
      {"ymax below ymin", File(yBackwards, {}, true), msg::kDecodeFailed},
      {"lines shorter than the pixels", File(Header(9, 2, 8, 1, 8), {}, true), msg::kDecodeFailed},
      {"1-bit lines too short", File(Header(17, 2, 1, 1, 2), {}), msg::kDecodeFailed},
      {"short 8-bit file", shortPalette, msg::kBadPaletteMarker},
      {"palette marker", File(Header(4, 2, 8, 1, 4), Bytes(8, 0), true, 13), msg::kBadPaletteMarker},
      {"more than a block holds", File(huge, {}), msg::kNoMemoryDib},
      {"cut header", Bytes(100, 10), msg::kReadFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes dib;
    EXPECT_STREQ(Decode(c.file, dib), c.message);
  }
  Bytes dib;
  EXPECT_EQ(Decode(File(Header(4, 2, 8, 1, 4), Bytes(8, 1), true), dib), nullptr);
}

TEST(PcxReader, RunsCrossLinesAndStopAtThePicture) {
  struct Case {
    const char* what;
    Bytes data;
    std::vector<std::uint8_t> pixels;  // 3 x 2, top row first
  };
  Case cases[] = {
      // One run of 8 fills both lines of 4 bytes (3 pixels and a pad byte).
      {"run across the line end", {0xC8, 5}, {5, 5, 5, 5, 5, 5}},
      // 63 bytes for a picture of 8: the rest of the run goes nowhere.
      {"run past the picture", {0xFF, 7, 0xFF, 9}, {7, 7, 7, 7, 7, 7}},
      {"data end early", {1, 2}, {1, 2, 0, 0, 0, 0}},
      {"count without value", {1, 0xC5}, {1, 0, 0, 0, 0, 0}},
      // A count of 0 repeats nothing; 8 is line 0's pad byte; 0xC1 codes 0xC9.
      {"zero count", {0xC0, 3, 4, 0xC2, 6, 8, 0xC1, 0xC9}, {4, 6, 6, 0xC9, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes dib;
    ASSERT_EQ(Decode(File(Header(3, 2, 8, 1, 4), c.data, true), dib), nullptr);
    // Each line is 4 bytes: 3 pixels and a pad byte.
    Bytes got;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) got.push_back(static_cast<std::uint8_t>(DibIndex(dib, x, y)));
    EXPECT_EQ(got, c.pixels);
  }
}

// Lines long enough for the decoder's quick stretch: codes of every kind
// (literals, runs of 0 to 63 bytes, values of 0xC0 and above coded as
// runs) read as a plain expansion of the stream says, runs carrying over
// line ends, with the data ending anywhere.
TEST(PcxReader, LongLinesReadAsThePlainExpansion) {
  constexpr int kWidth = 150, kHeight = 4;
  std::uint32_t seed = 7;
  auto next = [&] { return seed = seed * 1664525 + 1013904223, seed >> 16; };
  Bytes stream;
  while (stream.size() < 700) {
    const std::uint32_t r = next();
    if (r % 3 == 0) {
      stream.push_back(static_cast<std::uint8_t>(next() % 0xC0));  // a literal
    } else {
      stream.push_back(static_cast<std::uint8_t>(0xC0 | (r % 5 == 0 ? next() % 64 : next() % 10)));
      stream.push_back(static_cast<std::uint8_t>(next()));
    }
  }
  // The stream expanded: every byte it codes, in order.
  auto expand = [](const Bytes& data) {
    Bytes out;
    for (std::size_t i = 0; i < data.size(); ++i) {
      if (data[i] < 0xC0) {
        out.push_back(data[i]);
      } else if (i + 1 < data.size()) {
        out.insert(out.end(), data[i] & 0x3F, data[i + 1]);
        ++i;
      }
    }
    return out;
  };
  for (std::size_t cut : {stream.size(), std::size_t{401}, std::size_t{200}, std::size_t{97}}) {
    SCOPED_TRACE(cut);
    const Bytes data(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
    Bytes flat = expand(data);
    flat.resize(std::max<std::size_t>(flat.size(), kWidth * kHeight), 0);
    Bytes dib;
    ASSERT_EQ(Decode(File(Header(kWidth, kHeight, 8, 1, kWidth), data, true), dib), nullptr);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(DibIndex(dib, x, y), flat[static_cast<std::size_t>(y) * kWidth + x]) << x << "," << y;
  }
}

// A 16-colour picture 10 pixels wide in four planes, built by hand: the
// PCX form (planes padded to bytes per line) and the SCR form (planes one
// after the other) read into the same 4-bit DIB.
TEST(PcxReader, FourPlanesCombineIntoNibblesInPcxAndScrForm) {
  const int w = 10, h = 3;
  auto value = [](int x, int y) { return (x * 3 + y * 5) & 15; };
  auto planeByte = [&](int y, int p, int i) {
    std::uint8_t b = 0;
    for (int k = 0; k < 8; ++k) {
      int x = i * 8 + k;
      if (x < w && (value(x, y) >> p & 1)) b |= static_cast<std::uint8_t>(0x80 >> k);
    }
    return b;
  };
  Bytes pcx, scr;
  for (int y = 0; y < h; ++y)
    for (int p = 0; p < 4; ++p) {
      for (int i = 0; i < 4; ++i) pcx.push_back(i < 2 ? planeByte(y, p, i) : 0xEE);  // pad bytes skipped
      for (int i = 0; i < 2; ++i) scr.push_back(planeByte(y, p, i));
    }
  PcxHeader ph = Header(w, h, 1, 4, 4, 0);
  PcxHeader sh = ph;
  sh.manufacturer = kScrManufacturer;
  for (int i = 0; i < 48; ++i) ph.colorMap[i] = sh.colorMap[i] = static_cast<std::uint8_t>(i * 5);
  for (auto [what, file] : {std::pair{"pcx", File(ph, pcx)}, std::pair{"scr", File(sh, scr)}}) {
    SCOPED_TRACE(what);
    Bytes dib;
    ASSERT_EQ(Decode(file, dib), nullptr);
    EXPECT_EQ(convert_test::DibHeader(dib).biBitCount, 4);
    EXPECT_EQ(convert_test::DibHeader(dib).biClrUsed, 16u);
    EXPECT_EQ(convert_test::DibHeader(dib).biWidth, w);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(DibIndex(dib, x, y), static_cast<std::uint32_t>(value(x, y))) << x << "," << y;
    EXPECT_EQ(DibPixel(dib, 0, 0), (Rgb{0, 5, 10}));  // colour 0 from the header's map
  }
}

TEST(PcxReader, RgbPlanesPackedNibblesAndTheDefaultPalette) {
  // 24 bits: red, green and blue planes of 3 pixels, one pad byte each.
  Bytes rgb = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
  Bytes dib;
  ASSERT_EQ(Decode(File(Header(3, 1, 8, 3, 4, 0), rgb), dib), nullptr);
  EXPECT_EQ(DibPixel(dib, 0, 0), (Rgb{1, 4, 7}));
  EXPECT_EQ(DibPixel(dib, 2, 0), (Rgb{3, 6, 9}));

  // 4 bits in one plane: nibbles as stored, high nibble first.
  ASSERT_EQ(Decode(File(Header(3, 1, 4, 1, 2, 0), {0x12, 0x30}), dib), nullptr);
  EXPECT_EQ(DibIndex(dib, 0, 0), 1u);
  EXPECT_EQ(DibIndex(dib, 2, 0), 3u);

  // Version 3 carries no palette: the built-in one (EGA first) stands in.
  PcxHeader v3 = Header(2, 1, 1, 4, 2, 0);
  v3.version = 3;
  ASSERT_EQ(Decode(File(v3, Bytes(8, 0)), dib), nullptr);
  const std::uint8_t* table = dib.data() + 40;
  EXPECT_EQ(table[4 * 1 + 0], 170);  // blue of colour 1
  EXPECT_EQ(table[4 * 15 + 2], 255);
}

TEST(PcxReader, TheVgaPaletteGivesAll256Colours) {
  Bytes dib;
  ASSERT_EQ(Decode(File(Header(2, 1, 8, 1, 2), {0xC2, 200}, true), dib), nullptr);
  EXPECT_EQ(convert_test::DibHeader(dib).biClrUsed, 256u);
  EXPECT_EQ(DibPixel(dib, 1, 0), (Rgb{200, 55, 100}));
  EXPECT_EQ(convert_test::DibHeader(dib).biXPelsPerMeter, 2953);
}

plugins::DibSource Source(const Bytes& dib) {
  plugins::DibSource s;
  EXPECT_EQ(plugins::ViewDib(dib.data(), dib.size(), s), plugins::DibCheck::kOk);
  return s;
}

TEST(PcxWriter, FourBitPicturesBecomeFourPlanes) {
  Bytes dib = MakeDib(3, 1, 4, convert_test::TestPalette(16), [](int x, int) { return x == 0 ? 0x5u : (x == 1 ? 0xAu : 0xFu); });
  Bytes out;
  PcxWriteOptions o;
  o.runLength = 0;
  ASSERT_EQ(EncodePcx(Source(dib), o, out, nullptr), nullptr);
  PcxHeader h = ParsePcxHeader(out.data());
  EXPECT_EQ(h.bitsPerPixel, 1);
  EXPECT_EQ(h.planes, 4);
  EXPECT_EQ(h.bytesPerLine, 2);
  EXPECT_EQ(h.xmax, 2);
  EXPECT_EQ(h.hres, 640);
  EXPECT_EQ(h.vres, 480);
  EXPECT_EQ(h.paletteInfo, 1);
  EXPECT_EQ(h.colorMap[3], convert_test::TestPalette(16)[1].r);
  // Plane p holds bit p of the pixels 5, A, F: 1 0 1, 0 1 1, 1 0 1, 0 1 1.
  const std::uint8_t* line = out.data() + kPcxHeaderSize;
  EXPECT_EQ(Bytes(line, line + 8), (Bytes{0xA0, 0, 0x60, 0, 0xA0, 0, 0x60, 0}));
  EXPECT_EQ(out.size(), kPcxHeaderSize + 8);
}

TEST(PcxWriter, RunsAreCodedPerLineAndThePaletteHas256Entries) {
  // 70 bytes of 0x11, then a single 0xC5 and a single 0x20: width 72.
  Bytes dib = MakeDib(72, 1, 8, convert_test::TestPalette(3), [](int x, int) {
    return x < 70 ? 0x11u : (x == 70 ? 0xC5u : 0x20u);
  });
  // Only three colours in the table.
  reinterpret_cast<BITMAPINFOHEADER*>(dib.data())->biClrUsed = 3;
  Bytes compact(dib.begin(), dib.begin() + 40 + 12);
  compact.insert(compact.end(), dib.begin() + 40 + 1024, dib.end());
  Bytes out;
  ASSERT_EQ(EncodePcx(Source(compact), PcxWriteOptions{}, out, nullptr), nullptr);
  Bytes want = {0xFF, 0x11, 0xC7, 0x11, 0xC1, 0xC5, 0x20};
  EXPECT_EQ(Bytes(out.begin() + kPcxHeaderSize, out.begin() + kPcxHeaderSize + 7), want);
  // The palette follows the picture's last line at once, where other
  // readers look for it.
  std::size_t body = 7;
  ASSERT_EQ(out.size(), kPcxHeaderSize + body + kVgaPaletteSize);
  const std::uint8_t* pal = out.data() + kPcxHeaderSize + body;
  EXPECT_EQ(pal[0], 12);
  EXPECT_EQ(pal[1 + 3 * 2], convert_test::TestPalette(3)[2].r);
  EXPECT_EQ(pal[1 + 3 * 3], 0);  // beyond the used colours
  EXPECT_EQ(pal[768], 0);
}

// What the writer writes, the reader reads back: every depth, odd and even
// widths, with and without run-length coding.
TEST(PcxRoundTrip, EveryDepthReadsBackPixelForPixel) {
  struct Case {
    int bits, width, height;
  } cases[] = {{1, 1, 1}, {1, 37, 9}, {4, 1, 3}, {4, 19, 8}, {8, 1, 2}, {8, 33, 17}, {24, 1, 1}, {24, 21, 10}};
  for (const Case& c : cases)
    for (int rle : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.bits << " bits " << c.width << "x" << c.height << " rle " << rle);
      auto pixel = [&](int x, int y) -> std::uint32_t {
        std::uint32_t v = static_cast<std::uint32_t>(x * 7 + y * 13 + (x ^ y));
        if (c.bits == 24) return v * 0x9E3779u & 0xFFFFFF;
        return v & ((1u << c.bits) - 1);
      };
      Bytes dib = MakeDib(c.width, c.height, c.bits, convert_test::TestPalette(c.bits == 24 ? 0 : 1 << c.bits), pixel);
      Bytes out, back;
      PcxWriteOptions o;
      o.runLength = static_cast<std::uint16_t>(rle);
      ASSERT_EQ(EncodePcx(Source(dib), o, out, nullptr), nullptr);
      ASSERT_EQ(Decode(out, back), nullptr);
      ASSERT_EQ(convert_test::DibHeader(back).biBitCount, c.bits);
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) ASSERT_EQ(DibPixel(back, x, y), DibPixel(dib, x, y)) << x << "," << y;
    }
}

}  // namespace
