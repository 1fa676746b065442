// Ospray's PostScript writer on small pictures: the whole text of one
// file, the choice among the eight image writers and their two forms, the
// colour table, the LZW stream, and the messages of its failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eps_lzw.h"
#include "eps_writer.h"
#include "ospray_messages.h"
#include "plugins/common/support/dib_fixture.h"

namespace {

using namespace ospray;
using convert_test::MakeDib;
using convert_test::TestPalette;
using Bytes = std::vector<std::uint8_t>;

plugins::DibSource Source(const Bytes& dib) {
  plugins::DibSource s;
  EXPECT_EQ(plugins::ViewDib(dib.data(), dib.size(), s), plugins::DibCheck::kOk);
  return s;
}

// Writes into a string; `limit` bytes may be written before the sink
// refuses.
const char* Write(const Bytes& dib, const EpsWriteOptions& o, std::string& out,
                  std::size_t limit = static_cast<std::size_t>(-1)) {
  out.clear();
  EpsText text{"C:\\pics\\a.eps", "01.02.1997 10:11:12"};
  return WriteEpsPostScript(
      Source(dib), o, text,
      [&](const void* data, std::size_t size) {
        if (out.size() + size > limit) return false;
        out.append(static_cast<const char*>(data), size);
        return true;
      },
      nullptr);
}

EpsWriteOptions Options(int level, int grey, int encoding, int frame = 0) {
  EpsWriteOptions o;
  o.level = level;
  o.grey = grey;
  o.encoding = encoding;
  o.frame = frame;
  o.preview = 0;
  return o;
}

TEST(EpsWriter, TheWholeTextOfAOneBitGreyPicture) {
  // Width 10: rows of 10 grey bytes, 20 hex digits; the bounding box is
  // rounded down (10 / 2 + 36, 3 / 2 + 36).
  Bytes dib = MakeDib(10, 3, 1, {{0, 0, 0}, {255, 255, 255}}, [](int x, int y) { return static_cast<std::uint32_t>((x + y) & 1); });
  std::string text;
  ASSERT_EQ(Write(dib, Options(1, 1, 1, 1), text), nullptr);
  const std::string want =
      "%!PS-Adobe-3.0 EPSF-3.0\r\n"
      "%%Title: C:\\pics\\a.eps\r\n"
      "%%Creator: Ospray.DLL V1.0\r\n"
      "%%CreationDate: 01.02.1997 10:11:12\r\n"
      "%%Pages: 1\r\n"
      "%%BoundingBox: 36 36 41 37\r\n"
      "%%EndComments\r\n"
      "\r\n"
      "%%BeginProlog\r\n"
      "%%EndProlog\r\n"
      "\r\n"
      "%%Page: ? ?\r\n"
      "\r\n"
      "/OsprayX       10 def\r\n"
      "/OsprayY       3 def\r\n"
      "/OsprayWidth   5 def\r\n"
      "/OsprayHeight  1 def\r\n"
      "\r\n"
      "/OsprayObj save def\r\n"
      "36 36 translate\r\n"
      "OsprayWidth OsprayHeight scale\r\n"
      "OsprayX OsprayY 8\r\n"
      "[ OsprayX 0 0 OsprayY 0 0 ]\r\n"
      "{ currentfile OsprayX string readhexstring pop }\r\n"
      "image\r\n"
      // Bottom row first: row 2 from the top starts black, row 1 white.
      "00FF00FF00FF00FF00FF\r\n"
      "FF00FF00FF00FF00FF00\r\n"
      "00FF00FF00FF00FF00FF\r\n"
      "OsprayObj restore\r\n"
      "\r\n"
      "% Rahmen\r\n"
      "0.5 setlinewidth\r\n"
      "newpath\r\n"
      "    36            36    moveto\r\n"
      "OsprayWidth       0    rlineto\r\n"
      "     0    OsprayHeight rlineto\r\n"
      "OsprayWidth neg   0    rlineto\r\n"
      "closepath\r\n"
      "stroke\r\n"
      "\r\n"
      "showpage\r\n"
      "\r\n"
      "%%EOF\r\n";
  EXPECT_EQ(text, want);
}

bool Has(const std::string& text, const std::string& line) { return text.find(line + "\r\n") != std::string::npos; }

TEST(EpsWriter, LevelEncodingAndColourChooseTheForm) {
  struct Case {
    int level, grey, encoding, bits;
    std::vector<const char*> present, absent;
  } cases[] = {
      {1, 1, 1, 8, {"{ currentfile OsprayX string readhexstring pop }"}, {"%%LanguageLevel: 2", "%%Extensions: CMYK", "> % EOD"}},
      {1, 0, 1, 4, {"%%Extensions: CMYK", "false 3", "colorimage"}, {"%%LanguageLevel: 2", "<<"}},
      // Level 1 with LZW takes the dictionary form, without the level comment.
      {1, 1, 2, 8, {"  /DataSource currentfile /LZWDecode filter", "/DeviceGray setcolorspace"}, {"%%LanguageLevel: 2", "> % EOD"}},
      {2, 1, 1, 24, {"%%LanguageLevel: 2", "/DeviceGray setcolorspace", "  /Decode [0 1]", "> % EOD"}, {"%%Extensions: CMYK"}},
      {2, 0, 1, 24, {"/DeviceRGB setcolorspace", "  /Decode [0 1 0 1 0 1]", "  /BitsPerComponent 8"}, {"[/Indexed"}},
      {2, 0, 1, 1, {"[/Indexed /DeviceRGB 1 <", "  /BitsPerComponent 1", "  /Decode [0 1]"}, {}},
      {2, 0, 2, 8, {"[/Indexed /DeviceRGB 255 <", "  /Decode [0 255]", "  /DataSource currentfile /LZWDecode filter"}, {"> % EOD"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << c.level << " grey " << c.grey << " encoding " << c.encoding << " bits " << c.bits);
    Bytes dib = MakeDib(6, 2, c.bits, TestPalette(c.bits == 24 ? 0 : 1 << c.bits), [](int x, int) { return static_cast<std::uint32_t>(x); });
    std::string text;
    ASSERT_EQ(Write(dib, Options(c.level, c.grey, c.encoding), text), nullptr);
    for (const char* line : c.present) EXPECT_TRUE(Has(text, line)) << line;
    for (const char* line : c.absent) EXPECT_FALSE(Has(text, line)) << line;
    EXPECT_FALSE(Has(text, "% Rahmen"));
  }
}

TEST(EpsWriter, SixteenColoursMakeTwoTableLinesWithUnusedEntriesZero) {
  Bytes dib = MakeDib(4, 1, 4, {{1, 2, 3}, {0xAA, 0xBB, 0xCC}}, [](int x, int) { return static_cast<std::uint32_t>(x & 1); });
  reinterpret_cast<BITMAPINFOHEADER*>(dib.data())->biClrUsed = 2;
  Bytes compact(dib.begin(), dib.begin() + 48);
  compact.insert(compact.end(), dib.begin() + 40 + 64, dib.end());
  std::string text;
  ASSERT_EQ(Write(compact, Options(2, 0, 1), text), nullptr);
  std::string zeros(6 * 6, '0');
  EXPECT_NE(text.find("[/Indexed /DeviceRGB 15 <\r\n010203AABBCC" + zeros + "\r\n" + std::string(48, '0') +
                      "\r\n> ] setcolorspace\r\n"),
            std::string::npos);
  // The samples are the DIB's own index nibbles: 0 1 0 1.
  EXPECT_TRUE(Has(text, "0101"));
}

// Indices beyond the used colours read no memory past the table: they
// stand for black in grey and in level 1 colour output.
TEST(EpsWriter, IndicesBeyondTheUsedColoursAreBlack) {
  Bytes full = MakeDib(2, 1, 8, {{10, 20, 30}, {40, 50, 60}}, [](int x, int) { return x == 0 ? 1u : 200u; });
  reinterpret_cast<BITMAPINFOHEADER*>(full.data())->biClrUsed = 2;
  Bytes dib(full.begin(), full.begin() + 48);
  dib.insert(dib.end(), full.begin() + 40 + 1024, full.end());
  std::string text;
  ASSERT_EQ(Write(dib, Options(1, 0, 1), text), nullptr);
  EXPECT_TRUE(Has(text, "28323C000000"));
  ASSERT_EQ(Write(dib, Options(1, 1, 1), text), nullptr);
  EXPECT_TRUE(Has(text, "3000"));  // grey of (40, 50, 60) is 48
}

TEST(EpsWriter, FailuresAndShortWrites) {
  Bytes dib = MakeDib(8, 4, 8, TestPalette(256), [](int x, int y) { return static_cast<std::uint32_t>(x * y); });
  std::string text;
  // An unknown encoding: the dictionary is closed, no data follow.
  EXPECT_STREQ(Write(dib, Options(2, 1, 3), text), msg::kUnknownCompression);
  EXPECT_EQ(text.substr(text.size() - 11), ">>\r\nimage\r\n");

  std::string whole;
  ASSERT_EQ(Write(dib, Options(2, 1, 1, 1), whole), nullptr);
  for (std::size_t limit : {std::size_t{0}, std::size_t{100}, whole.find("image\r\n") + 10, whole.size() - 20})
    EXPECT_STREQ(Write(dib, Options(2, 1, 1, 1), text, limit), msg::kWriteFailed) << limit;
  // The last line alone comes short: the disk is full.
  EXPECT_STREQ(Write(dib, Options(2, 1, 1, 1), text, whole.size() - 1), msg::kDiskFull);
  // LZW data that cannot be written.
  ASSERT_EQ(Write(dib, Options(2, 1, 2), whole), nullptr);
  EXPECT_STREQ(Write(dib, Options(2, 1, 2), text, whole.find("image\r\n") + 8), msg::kWriteFailed);
}

// A TIFF LZW decoder of the test's own (early switch, Clear and End), that
// also reports the width each Clear was read at.
Bytes DecodeLzw(const std::string& in, std::vector<int>& clearWidths) {
  Bytes out;
  std::vector<Bytes> table;
  auto reset = [&] {
    table.assign(258, {});
    for (int i = 0; i < 256; ++i) table[i] = {static_cast<std::uint8_t>(i)};
  };
  reset();
  std::size_t bit = 0;
  int width = 9;
  int previous = -1;
  while (bit + width <= in.size() * 8) {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit)
      code = code << 1 | ((static_cast<std::uint8_t>(in[bit / 8]) >> (7 - bit % 8)) & 1);
    if (code == 257) break;
    if (code == 256) {
      clearWidths.push_back(width);
      reset();
      width = 9;
      previous = -1;
      continue;
    }
    Bytes s;
    if (code < static_cast<int>(table.size()) && (code < 256 || !table[code].empty())) {
      s = table[code];
    } else if (code == static_cast<int>(table.size()) && previous >= 0) {
      s = table[previous];
      s.push_back(table[previous][0]);
    } else {
      ADD_FAILURE() << "bad code " << code;
      break;
    }
    if (previous >= 0) {
      Bytes entry = table[previous];
      entry.push_back(s[0]);
      table.push_back(entry);
    }
    out.insert(out.end(), s.begin(), s.end());
    previous = code;
    std::size_t next = table.size() + 1;  // the early switch
    width = next >= 2048 ? 12 : next >= 1024 ? 11 : next >= 512 ? 10 : 9;
  }
  return out;
}

// `input` encoded in one piece into `stream`; false when a step failed.
bool EncodeWhole(const Bytes& input, std::string& stream) {
  stream.clear();
  LzwEncoder encoder([&](const std::uint8_t* data, std::size_t size) {
    stream.append(reinterpret_cast<const char*>(data), size);
    return true;
  });
  return encoder.Start() && encoder.Put(input.data(), input.size()) && encoder.Finish();
}

TEST(EpsLzw, OneStreamForThePictureWithAClearAt12BitsWhenTheTableIsFull) {
  // Noise: far more than 4093 strings, so the table fills and is reset.
  Bytes input(40000);
  std::uint32_t seed = 12345;
  for (auto& b : input) {
    seed = seed * 1103515245 + 12345;
    b = static_cast<std::uint8_t>(seed >> 24);
  }
  std::string stream;
  std::vector<std::size_t> pieces;
  LzwEncoder encoder([&](const std::uint8_t* data, std::size_t size) {
    pieces.push_back(size);
    stream.append(reinterpret_cast<const char*>(data), size);
    return true;
  });
  ASSERT_TRUE(encoder.Start());
  for (std::size_t i = 0; i < input.size(); i += 1000) ASSERT_TRUE(encoder.Put(input.data() + i, 1000));
  ASSERT_TRUE(encoder.Finish());
  std::vector<int> clears;
  EXPECT_EQ(DecodeLzw(stream, clears), input);
  ASSERT_GE(clears.size(), 2u);
  EXPECT_EQ(clears[0], 9);
  EXPECT_EQ(clears[1], 12);
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) EXPECT_GT(pieces[i], 250u);

  // A run of one byte value codes ever longer strings.
  Bytes flat(5000, 'a');
  ASSERT_TRUE(EncodeWhole(flat, stream));
  clears.clear();
  EXPECT_EQ(DecodeLzw(stream, clears), flat);
  EXPECT_LT(stream.size(), 200u);
}

// When the last string's code brings the decoder's table to a width switch
// (511, 1023, 2047 entries), the decoder reads the end code one bit wider;
// written at the old width, it was read as more data or as a bad code.
TEST(EpsLzw, TheEndCodeHasTheWidthTheLastCodeLeaves) {
  // Noise of these lengths ends right at the switch to 10 and to 11 bits.
  for (std::size_t length : {764, 766, 768, 770, 772, 1810, 1812, 1814, 1816, 1818}) {
    SCOPED_TRACE(length);
    Bytes input(length);
    std::uint32_t seed = 12345;
    for (auto& b : input) {
      seed = seed * 1103515245 + 12345;
      b = static_cast<std::uint8_t>(seed >> 24);
    }
    std::string stream;
    ASSERT_TRUE(EncodeWhole(input, stream));
    std::vector<int> clears;
    EXPECT_EQ(DecodeLzw(stream, clears), input);
  }
}

}  // namespace
