// The GIF reader against giftopnm on real variants (every table size,
// interlaced, transparent, local tables only, frames at offsets), and on
// files whose sizes, codes and indices lie.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plugins/common/support/picture_oracle.h"
#include "wendle/gif_lzw.h"
#include "wendle/gif_reader.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

using plugin_test::DataFiles;
using plugin_test::DataPath;
using Bytes = std::vector<std::uint8_t>;

struct ReadResult {
  HGLOBAL dib = nullptr;
  int transparent = -2;
  std::vector<std::string> messages;
};

ReadResult Read(const Bytes& bytes, wendle::GifSource source = wendle::GifSource::kMemory,
                DWORD color = 0) {
  win::ClearMessageBoxLog();
  HGLOBAL block = plugin_test::NewReaderBlock();
  ReadResult r;
  r.dib = wendle::ReadGif(bytes.data(), bytes.size(), source, block, color, &r.transparent);
  for (const auto& box : win::MessageBoxLog()) {
    if (box.caption == "Wendle_DLL") continue;
    EXPECT_EQ(box.caption, "Wendle.DLL");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
    r.messages.push_back(box.text);
  }
  if (!r.dib) EXPECT_EQ(GlobalFree(block), nullptr);  // still the caller's, still valid
  return r;
}

BITMAPINFOHEADER Header(HGLOBAL dib) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, GlobalLock(dib), sizeof h);
  GlobalUnlock(dib);
  return h;
}

// The transparent index of the first graphic control extension with its
// flag set, or -1.
int DeclaredTransparency(const Bytes& b) {
  for (std::size_t i = 0; i + 7 < b.size(); ++i)
    if (b[i] == 0x21 && b[i + 1] == 0xF9 && b[i + 2] == 4 && (b[i + 3] & 1)) return b[i + 6];
  return -1;
}

TEST(GifOracle, EveryVariantReadsAsGiftopnmDecodesIt) {
  const std::map<std::string, int> depth = {
      {"c2", 1}, {"c2-interlaced", 1}, {"c3", 4}, {"c11", 4}, {"c11-interlaced", 4},
      {"c11-transparent", 4}, {"c200", 8}, {"c200-interlaced", 8}, {"g256", 8}, {"noise8", 8},
      {"noise8-interlaced", 8}, {"local-only", 8}, {"local-only-size0", 4}, {"local-only-256", 8},
      {"gce-flag-clear", 4}, {"gce-index5", 4}, {"frames", 4}, {"offset", 4}};
  auto names = DataFiles("gif", ".gif");
  ASSERT_EQ(names.size(), depth.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    Bytes bytes = plugin_test::ReadBytes(DataPath("gif/" + name + ".gif"));
    ReadResult r = Read(bytes);
    ASSERT_NE(r.dib, nullptr);
    EXPECT_TRUE(r.messages.empty()) << r.messages[0];
    EXPECT_EQ(plugin_test::Compare(plugin_test::ReadPnmFile(DataPath("gif/" + name + ".ppm")),
                                   plugin_test::DibToRgb(r.dib)),
              "");
    BITMAPINFOHEADER h = Header(r.dib);
    EXPECT_EQ(h.biBitCount, depth.at(name));
    EXPECT_EQ(h.biClrUsed, 1u << h.biBitCount);
    EXPECT_EQ(h.biXPelsPerMeter, 2953);
    EXPECT_EQ(GlobalSize(r.dib), 40 + 1024 + h.biSizeImage);
    EXPECT_EQ(r.transparent, DeclaredTransparency(bytes));
    GlobalFree(r.dib);
  }
}

TEST(GifTransparency, FlagDecidesAndTheColourArgumentFillsTheEntry) {
  Bytes index5 = plugin_test::ReadBytes(DataPath("gif/gce-index5.gif"));
  ReadResult plain = Read(index5);
  EXPECT_EQ(plain.transparent, 5);
  ReadResult replaced = Read(index5, wendle::GifSource::kMemory, 0x80112233);
  EXPECT_EQ(replaced.transparent, 5);
  auto* table = static_cast<const std::uint8_t*>(GlobalLock(replaced.dib)) + 40;
  EXPECT_EQ(table[4 * 5 + 0], 0x11);  // blue
  EXPECT_EQ(table[4 * 5 + 1], 0x22);
  EXPECT_EQ(table[4 * 5 + 2], 0x33);  // red, the low byte of the argument
  GlobalUnlock(replaced.dib);
  // Without bit 31 the palette stays the file's.
  EXPECT_EQ(plugin_test::DibToRgb(plain.dib), plugin_test::ReadPnmFile(DataPath("gif/gce-index5.ppm")));
  GlobalFree(plain.dib);
  GlobalFree(replaced.dib);

  ReadResult clear = Read(plugin_test::ReadBytes(DataPath("gif/gce-flag-clear.gif")), wendle::GifSource::kMemory,
                          0x80FFFFFF);
  EXPECT_EQ(clear.transparent, -1);
  EXPECT_EQ(plugin_test::DibToRgb(clear.dib), plugin_test::ReadPnmFile(DataPath("gif/gce-flag-clear.ppm")));
  GlobalFree(clear.dib);
}

// A small GIF: screen w x h with a global table of 2^(field+1) colours (no
// table when field < 0), then `body`.
Bytes Gif(unsigned w, unsigned h, int field, const Bytes& body, const char* version = "GIF89a") {
  Bytes b(version, version + 6);
  b.insert(b.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
                     static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8),
                     static_cast<std::uint8_t>(field >= 0 ? 0x80 | field : 0), 0, 0});
  if (field >= 0)
    for (unsigned i = 0; i < (2u << field); ++i) b.insert(b.end(), {std::uint8_t(i * 40), std::uint8_t(255 - i), 7});
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// An image block at (left, top) of w x h whose data is `codes` (3-bit codes
// of minimum size 2, clear first).
Bytes Image(unsigned left, unsigned top, unsigned w, unsigned h, const std::vector<unsigned>& codes,
            std::uint8_t packed = 0, unsigned minSize = 2) {
  Bytes b = {',', std::uint8_t(left), std::uint8_t(left >> 8), std::uint8_t(top), std::uint8_t(top >> 8),
             std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8), packed,
             std::uint8_t(minSize)};
  Bytes data;
  std::uint32_t acc = 0;
  unsigned n = 0;
  for (unsigned c : codes) {
    acc |= c << n;
    n += 3;
    while (n >= 8) {
      data.push_back(std::uint8_t(acc));
      acc >>= 8;
      n -= 8;
    }
  }
  if (n) data.push_back(std::uint8_t(acc));
  b.push_back(std::uint8_t(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  b.push_back(0);
  return b;
}

Bytes Cut(Bytes b, std::size_t drop) {
  b.resize(b.size() - drop);
  return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(GifReaderBounds, LyingFilesFailWithTheirMessage) {
  const Bytes pixels = Image(0, 0, 2, 2, {4, 0, 1, 1, 0, 5});
  const Bytes end = {';'};
  struct Case {
    const char* name;
    Bytes bytes;
    bool dib;
    std::vector<std::string> messages;
    wendle::GifSource source = wendle::GifSource::kMemory;
  } cases[] = {
      {"too short", {'G', 'I', 'F', '8'}, false, {"No correct GIF file"}},
      {"no GIF", Bytes{'J', 'F', 'I', 'F', '8', '9', 'a'}, false, {"No correct GIF file"}},
      {"screen cut (memory)", Bytes{'G', 'I', 'F', '8', '9', 'a', 2, 0}, false,
       {"Error converting image, reading memory"}},
      {"screen cut (file)", Bytes{'G', 'I', 'F', '8', '9', 'a', 2, 0}, false, {"Error on reading file"},
       wendle::GifSource::kFile},
      {"zero width", Gif(0, 2, 0, Cat({pixels, end})), false, {"No correct GIF file"}},
      {"global table cut", Cut(Gif(2, 2, 7, {}), 10), false,
       {"Error converting image, reading memory"}},
      {"huge screen", Gif(65535, 65535, 7, Cat({pixels, end})), false, {"Out of memory error"}},
      {"code beyond the table", Gif(2, 2, 1, Cat({Image(0, 0, 2, 2, {4, 0, 7}), end})), false,
       {"Unknown LZW-code 7!"}},
      {"first code is a string", Gif(2, 2, 1, Cat({Image(0, 0, 2, 2, {4, 6}), end})), false,
       {"Unknown LZW-code 6!"}},
      {"code size 9", Gif(2, 2, 1, Cat({Image(0, 0, 2, 2, {4, 0}, 0, 9), end})), false,
       {"Unknown LZW-code 512!"}},
      {"no table at all", Gif(2, 2, -1, Cat({pixels, end})), false, {"No color table available"}},
      {"image data cut", Cat({Gif(2, 2, 1, {}), Cut(pixels, 3)}), false,
       {"Error converting image, reading memory"}},
      {"extension cut", Gif(2, 2, 1, {'!', 0xF9, 4, 1}), false, {"Error converting image, reading memory"}},
      {"illegal block", Gif(2, 2, 1, Cat({pixels, {'x'}})), true, {"Illegal GIF-block"}},
      {"no trailer", Gif(2, 2, 1, pixels), true, {"End of file"}},
      {"image right of the screen", Gif(2, 2, 1, Cat({pixels, Image(2, 0, 60000, 1, {4, 5}), end})), true, {}},
      {"image below the screen", Gif(2, 2, 1, Cat({pixels, Image(0, 2, 1, 60000, {4, 5}), end})), true, {}},
      // Only the rows on the screen, and no more than the data can fill,
      // are set aside: neither 4 GiB nor half of it.
      {"image far beyond the screen", Gif(2, 2, 1, Cat({pixels, Image(0, 0, 65535, 65535, {4, 5}), end})),
       true, {}},
      {"interlaced image far beyond the screen",
       Gif(2, 2, 1, Cat({pixels, Image(0, 1, 65535, 65535, {4, 5}, 0x40), end})), true, {}},
      {"transparent index past the table",
       Gif(2, 2, 0, Cat({Bytes{'!', 0xF9, 4, 1, 0, 0, 200, 0}, pixels, end})), true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReadResult r = Read(c.bytes, c.source, 0x80FFFFFF);
    EXPECT_EQ(r.dib != nullptr, c.dib);
    EXPECT_EQ(r.messages, c.messages);
    if (r.dib) {
      EXPECT_EQ(r.transparent, -1);
      auto rgb = plugin_test::DibToRgb(r.dib);
      // The first image's pixels 0 1 / 1 0 of the global table, untouched.
      EXPECT_EQ(rgb.pixels[0], 0);
      EXPECT_EQ(rgb.pixels[3], 40);
      GlobalFree(r.dib);
    }
  }
}

TEST(GifReaderBounds, IndicesBeyondTheDepthTouchNoNeighbour) {
  // A two-colour screen (1-bit DIB) whose image holds index 3: it shows as
  // entry 1 and the pixels beside it keep theirs.
  ReadResult r = Read(Gif(3, 1, 0, Cat({Image(0, 0, 3, 1, {4, 0, 3, 0, 5}), {';'}})));
  ASSERT_NE(r.dib, nullptr);
  auto rgb = plugin_test::DibToRgb(r.dib);
  EXPECT_EQ(rgb.pixels[0], 0);
  EXPECT_EQ(rgb.pixels[3], 40);
  EXPECT_EQ(rgb.pixels[6], 0);
  GlobalFree(r.dib);
}

TEST(GifVersion, UnknownVersionAsksFirst) {
  const Bytes body = Cat({Image(0, 0, 2, 2, {4, 0, 1, 1, 0, 5}), {';'}});
  for (int answer : {IDOK, IDCANCEL}) {
    win::ClearMessageBoxLog();
    win::QueueMessageBoxAnswer(answer);
    HGLOBAL block = plugin_test::NewReaderBlock();
    Bytes gif = Gif(2, 2, 1, body, "GIF90b");
    INT transparent = 7;
    HGLOBAL dib = wendle::ReadGif(gif.data(), gif.size(), wendle::GifSource::kFile, block, 0, &transparent);
    ASSERT_EQ(win::MessageBoxLog().size(), 1u);
    const auto& box = win::MessageBoxLog()[0];
    EXPECT_EQ(box.caption, "Wendle_DLL");
    EXPECT_EQ(box.text, "Unknown GIF-Version: 90b\n\rContinue?");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL));
    EXPECT_EQ(transparent, -1);
    EXPECT_EQ(dib != nullptr, answer == IDOK);
    GlobalFree(dib ? dib : block);
  }
  win::ClearMessageBoxLog();
  const std::uint8_t good[] = "GIF87a", bad[] = "GIF88a";
  EXPECT_TRUE(wendle::IsGifSignature(good, 6));
  EXPECT_FALSE(wendle::IsGifSignature(bad, 6));
  EXPECT_FALSE(wendle::IsGifSignature(good, 5));
}

TEST(GifReaderBounds, EveryTruncationOfRealFilesFailsOrReads) {
  for (const char* name : {"c11-interlaced", "noise8", "frames", "local-only-size0"}) {
    Bytes whole = plugin_test::ReadBytes(DataPath(std::string("gif/") + name + ".gif"));
    for (std::size_t n = 0; n < whole.size(); n += 1 + n / 16) {
      ReadResult r = Read(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)));
      EXPECT_FALSE(r.messages.empty()) << name << " cut at " << n;
      if (r.dib) GlobalFree(r.dib);
    }
  }
}

TEST(GifLzw, RoundTripsAndEndsWhereTheDecoderLooks) {
  // Byte pairs that never repeat make a new string per index, so the end
  // falls on every table size (lengths around 2^k - clear) once; random
  // data past 4096 codes passes clear codes after code 4095.
  std::vector<std::uint32_t> children(wendle::kGifChildTableBytes / 4);
  for (unsigned size : {2u, 4u, 8u}) {
    const unsigned colours = 1u << size;
    Bytes src;
    std::vector<bool> used(colours * colours);
    src.push_back(0);
    while (src.size() < colours * colours - 1) {
      unsigned b = 0;
      while (b < colours && used[src.back() * colours + b]) ++b;
      if (b == colours) break;
      used[src.back() * colours + b] = true;
      src.push_back(static_cast<std::uint8_t>(b));
    }
    std::uint32_t x = size;
    while (src.size() < 30000) {
      x = x * 1103515245 + 12345;
      src.push_back(static_cast<std::uint8_t>((x >> 24) % colours));
    }
    // Where a source of new strings ends with the next code at 2^k.
    std::vector<std::size_t> lengths = {1, 2, 3, 5000, 12000, 30000};
    for (unsigned k = size + 1; k <= 12; ++k)
      for (int d = -1; d <= 1; ++d) lengths.push_back((1u << k) - colours - 1 + d);
    for (std::size_t n : lengths) {
      if (n < 1 || n > src.size()) continue;
      Bytes enc(wendle::GifLzwWorstCase(n));
      std::size_t len = wendle::EncodeGifLzw(src.data(), n, size, enc.data(), enc.size(), children.data());
      ASSERT_GT(len, 0u);
      // Decode with room to spare: the stream must end with its end code
      // and nothing after it.
      Bytes out(n + 64);
      auto r = wendle::DecodeGifLzw(enc.data(), len, size, out.data(), out.size());
      ASSERT_TRUE(r.ok) << size << "/" << n << ": code " << r.badCode;
      ASSERT_EQ(r.written, n) << size << "/" << n;
      ASSERT_TRUE(std::equal(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(n), out.begin()));
    }
  }
}

}  // namespace
