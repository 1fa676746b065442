// Ospray's reader on what its writer wrote (every readable form) and on
// broken files: messages for each kind of fault, titles that hold the
// reader's keywords, hex data that end inside the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eps_reader.h"
#include "eps_writer.h"
#include "ospray_messages.h"
#include "plugins/common/support/dib_fixture.h"

namespace {

using namespace ospray;
using convert_test::DibHeader;
using convert_test::DibIndex;
using convert_test::DibPixel;
using convert_test::MakeDib;
using convert_test::Rgb;
using convert_test::TestPalette;
using Bytes = std::vector<std::uint8_t>;

std::string WriteEps(const Bytes& dib, int level, int grey, const std::string& title = "C:\\pics\\a.eps") {
  EpsWriteOptions o;
  o.level = level;
  o.grey = grey;
  o.preview = 0;
  plugins::DibSource s;
  EXPECT_EQ(plugins::ViewDib(dib.data(), dib.size(), s), plugins::DibCheck::kOk);
  std::string out;
  EXPECT_EQ(WriteEpsPostScript(s, o, EpsText{title, "today"},
                               [&](const void* d, std::size_t n) {
                                 out.append(static_cast<const char*>(d), n);
                                 return true;
                               },
                               nullptr),
            nullptr);
  return out;
}

// Reads a file image; the message, or null and the DIB.
const char* Read(const std::string& file, Bytes& dib) {
  // An exact-size heap copy, so a read past the text is caught.
  std::vector<std::uint8_t> image(file.begin(), file.end());
  std::string_view text;
  if (const char* bad = FindPostScript(plugins::ByteSpan(image.data(), image.size()), text)) return bad;
  EpsPlan plan;
  if (const char* bad = PlanEps(text, plan)) return bad;
  dib.assign(plan.layout.totalBytes, 0);
  return DecodeEps(plan, dib.data());
}

// Every form the writer writes with hex data reads back: grey pictures as
// 8-bit grey, level 1 colour as 24 bits, level 2 colour at its own depth.
TEST(EpsReader, ReadsBackWhatTheWriterWrote) {
  struct Case {
    int level, grey, bits, wantBits;
  } cases[] = {{1, 1, 1, 8}, {1, 1, 4, 8},  {1, 1, 8, 8},  {1, 1, 24, 8}, {2, 1, 8, 8},  {2, 1, 24, 8},
               {1, 0, 1, 24}, {1, 0, 8, 24}, {1, 0, 24, 24}, {2, 0, 1, 1}, {2, 0, 4, 4}, {2, 0, 8, 8},
               {2, 0, 24, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << c.level << " grey " << c.grey << " bits " << c.bits);
    const int w = 13, h = 5;
    Bytes src = MakeDib(w, h, c.bits, TestPalette(c.bits == 24 ? 0 : 1 << c.bits), [&](int x, int y) -> std::uint32_t {
      if (c.bits == 24) return static_cast<std::uint32_t>(x * 19 | y * 50 << 8 | (x + y) * 11 << 16);
      return static_cast<std::uint32_t>(x + 2 * y) & ((1u << c.bits) - 1);
    });
    Bytes dib;
    ASSERT_EQ(Read(WriteEps(src, c.level, c.grey), dib), nullptr);
    ASSERT_EQ(DibHeader(dib).biBitCount, c.wantBits);
    EXPECT_EQ(DibHeader(dib).biWidth, w);
    EXPECT_EQ(DibHeader(dib).biHeight, h);
    EXPECT_EQ(DibHeader(dib).biXPelsPerMeter, 2953);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        Rgb s = DibPixel(src, x, y);
        Rgb want = c.grey ? Rgb{GreyOf(s.r, s.g, s.b), GreyOf(s.r, s.g, s.b), GreyOf(s.r, s.g, s.b)} : s;
        ASSERT_EQ(DibPixel(dib, x, y), want) << x << "," << y;
        if (!c.grey && c.wantBits == c.bits && c.bits < 24) {
          ASSERT_EQ(DibIndex(dib, x, y), DibIndex(src, x, y));
        }
      }
  }
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(EpsReader, BrokenFilesGiveTheirMessage) {
  Bytes grey = MakeDib(6, 3, 8, TestPalette(256), [](int x, int y) { return static_cast<std::uint32_t>(x * y); });
  const std::string good = WriteEps(grey, 2, 1);
  const std::string level1 = WriteEps(grey, 1, 1);
  std::string dos(32, '\0');
  const std::uint8_t magic[] = {0xC5, 0xD0, 0xD3, 0xC6, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0};
  std::copy(std::begin(magic), std::end(magic), dos.begin());
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  } cases[] = {
      {"not PostScript", "GIF89a", msg::kNotEps},
      {"empty", "", msg::kNotEps},
      {"DOS header cut", dos.substr(0, 20), msg::kReadFailed},
      {"DOS PostScript beyond the file", dos + "%!", msg::kReadFailed},
      {"another creator", Replace(good, "Ospray.DLL V1.0", "dvips 5.9"), msg::kNotOspray},
      {"creator only in the body", Replace(Replace(good, "%%Creator: Ospray.DLL V1.0\r\n", ""), "%%Page: ? ?", "%%Creator: Ospray.DLL"),
       msg::kNotOspray},
      {"no width", Replace(good, "/OsprayX       6 def", "/OsprayQ       6 def"), msg::kInterpretFailed},
      {"zero height", Replace(good, "/OsprayY       3 def", "/OsprayY       0 def"), msg::kInterpretFailed},
      {"negative width", Replace(good, "/OsprayX       6 def", "/OsprayX       -6 def"), msg::kInterpretFailed},
      {"width past 31 bits", Replace(good, "/OsprayX       6 def", "/OsprayX       99999999999 def"), msg::kInterpretFailed},
      {"more than a block holds", Replace(Replace(good, "/OsprayX       6 def", "/OsprayX       60000 def"), "/OsprayY       3 def", "/OsprayY       60000 def"),
       msg::kNoMemoryDib},
      {"no end of comments", Replace(good, "%%EndComments", "%%EndCommentz"), msg::kInterpretFailed},
      {"level 2 LZW", Replace(good, "/ASCIIHexDecode", "/LZWDecode"), msg::kNoLzw},
      {"level 1 LZW", Replace(level1, "{ currentfile OsprayX string readhexstring pop }", "/LZWDecode"), msg::kNoLzw},
      {"no image operator", Replace(good, "\r\nimage\r\n", "\r\nimagemask\r\n"), msg::kDecodeFailed},
      {"rows end early", good.substr(0, good.find("> % EOD") - 5), msg::kDecodeFailed},
      {"hex cut in a row", level1.substr(0, level1.find("image\r\n") + 9), msg::kDecodeFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes dib;
    EXPECT_STREQ(Read(c.file, dib), c.message);
  }
}

// Words of the reader in the title (the file name) or in comments must not
// move it: a file called "an image.eps" reads back.
TEST(EpsReader, KeywordsInTheTitleDoNotMislead) {
  Bytes colour = MakeDib(4, 2, 24, {}, [](int x, int y) { return static_cast<std::uint32_t>(0x102030 * (x + 1) + y); });
  for (const char* title : {"C:\\image\\an image.eps", "image", "/OsprayX 99 def /DeviceRGB /Indexed /LZWDecode",
                            "x\r\nimage\r\n%%LanguageLevel: 2"}) {
    SCOPED_TRACE(title);
    for (int level : {1, 2}) {
      Bytes dib;
      ASSERT_EQ(Read(WriteEps(colour, level, 0, title), dib), nullptr);
      EXPECT_EQ(DibHeader(dib).biBitCount, 24);
      EXPECT_EQ(DibPixel(dib, 3, 1), DibPixel(colour, 3, 1));
    }
  }
}

TEST(EpsReader, DigitsAsTheReaderCountsThem) {
  Bytes grey = MakeDib(4, 1, 8, TestPalette(256), [](int, int) { return 0u; });
  std::string eps = WriteEps(grey, 1, 1);
  std::size_t row = eps.find("image\r\n") + 7;
  // Lower-case letters, a letter past F (G = 16), and a stray sign (0).
  eps.replace(row, 8, "ff1aG0-3");
  Bytes dib;
  ASSERT_EQ(Read(eps, dib), nullptr);
  EXPECT_EQ(DibIndex(dib, 0, 0), 0xFFu);
  EXPECT_EQ(DibIndex(dib, 1, 0), 0x1Au);
  EXPECT_EQ(DibIndex(dib, 2, 0), static_cast<std::uint32_t>((16 * 16) & 0xFF));
  EXPECT_EQ(DibIndex(dib, 3, 0), 3u);
}

}  // namespace
