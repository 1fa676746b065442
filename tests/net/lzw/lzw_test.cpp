#include "net/lzw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lzw_samples.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

// Packs codes as compress(1) writes them: least significant bit first, in
// groups of `width` bytes; a new width (or a clear) starts a new group.
class CodePacker {
 public:
  CodePacker& put(int code) {
    for (int i = 0; i < width_; ++i) setBit(position_ + i, (code >> i) & 1);
    position_ += width_;
    return *this;
  }
  // Fills the rest of the current group with `filler` codes and reads on
  // with `width` bits.
  CodePacker& newGroup(int width, int filler) {
    while ((position_ - groupStart_) % (8 * width_) != 0) put(filler);
    groupStart_ = position_;
    width_ = width;
    return *this;
  }
  std::vector<BYTE> bytes() const { return std::vector<BYTE>(bytes_.begin(), bytes_.begin() + (position_ + 7) / 8); }

 private:
  void setBit(size_t bit, int value) {
    if (bytes_.size() <= bit / 8) bytes_.resize(bit / 8 + 1, 0);
    if (value) bytes_[bit / 8] |= static_cast<BYTE>(1u << (bit % 8));
  }
  std::vector<BYTE> bytes_;
  size_t position_ = 0;
  size_t groupStart_ = 0;
  int width_ = 9;
};

struct Decoded {
  LzwStatus status;
  std::string bytes;
  LONG capacity;
  LzwStats stats;
};

// Decodes into a fresh block and checks the block's promises on the way.
Decoded Expand(const std::vector<BYTE>& input, WORD bits = kLzwReplyBits, LONG limit = kLzwMaxOutput) {
  static const BYTE kNothing = 0;
  BYTE* block = nullptr;
  LONG length = -5;
  LONG capacity = 0;
  Decoded d{};
  d.status = lzwExpand(input.empty() ? &kNothing : input.data(), static_cast<LONG>(input.size()),
                       block, length, capacity, bits, limit, &d.stats);
  EXPECT_NE(block, nullptr);
  if (block) {
    EXPECT_GE(length, 0);
    EXPECT_LT(length, capacity);
    EXPECT_EQ(block[length], 0) << "the output is NUL-terminated";
    d.bytes.assign(reinterpret_cast<const char*>(block), static_cast<size_t>(length));
  }
  d.capacity = capacity;
  std::free(block);
  return d;
}

// ---- Against compress(1) and gzip -dc ----

class LzwAgainstCompress : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lzw_samples::HaveTool("compress") && lzw_samples::HaveTool("gzip"))
        << "compress(1) and gzip are needed: run tools/install-deps.sh";
  }

  // Compresses with -b <bits>, decodes without the header, and compares with
  // the data and with what gzip -dc makes of the same file.
  LzwStats RoundTrip(const std::string& name, const std::string& data, WORD bits = 12) {
    std::string z = lzw_samples::CompressZ(dir_.path().string(), name, data, bits);
    EXPECT_GE(z.size(), 3u) << name;
    if (z.size() < 3) return {};
    // Magic 1F 9D, then block mode (0x80) and the width.
    EXPECT_EQ(static_cast<BYTE>(z[0]), 0x1F);
    EXPECT_EQ(static_cast<BYTE>(z[1]), 0x9D);
    EXPECT_EQ(static_cast<BYTE>(z[2]), 0x80 | bits);
    std::vector<BYTE> body(z.begin() + 3, z.end());
    Decoded d = Expand(body, bits);
    EXPECT_EQ(d.status, LzwStatus::Ok) << name;
    EXPECT_TRUE(d.bytes == data) << name << ": " << d.bytes.size() << " bytes decoded of " << data.size();
    bool ok = false;
    std::string gunzipped = lzw_samples::GunzipZ(dir_.path().string(), name, z, ok);
    EXPECT_TRUE(ok) << name;
    EXPECT_TRUE(gunzipped == d.bytes) << name << ": gzip -dc disagrees";
    return d.stats;
  }

  testing_support::TempDir dir_;
};

TEST_F(LzwAgainstCompress, SamplesDecodeToWhatWasCompressed) {
  std::string allBytes;
  for (int round = 0; round < 40; ++round)
    for (int b = 0; b < 256; ++b) allBytes += static_cast<char>((b * 7 + round) & 0xFF);
  const struct {
    const char* name;
    std::string data;
  } cases[] = {
      {"empty", ""},
      {"one", "a"},
      {"short", "abababababababab"},
      {"text", lzw_samples::Text(400000, 1)},
      {"noise", lzw_samples::Random(200000, 2)},
      {"run", std::string(300000, 'a')},  // one KwKwK code after another
      {"zeros", std::string(70000, '\0')},
      {"bytes", allBytes},
      {"lines", lzw_samples::Text(5000, 3)},
  };
  for (const auto& c : cases) {
    LzwStats stats = RoundTrip(c.name, c.data);
    if (c.name == std::string("text") || c.name == std::string("noise"))
      EXPECT_EQ(stats.widestCode, 12) << c.name;
  }
}

TEST_F(LzwAgainstCompress, ClearCodesAreFollowed) {
  for (std::uint32_t seed : {10u, 20u, 30u}) {
    LzwStats stats = RoundTrip("mixed" + std::to_string(seed), lzw_samples::Mixed(seed));
    EXPECT_GT(stats.clearCodes, 0) << "the sample must make compress emit clear codes";
  }
}

TEST_F(LzwAgainstCompress, EveryWidthTheDecoderAccepts) {
  // From 10 bits: what ncompress writes with -b 9 neither it nor gzip reads
  // back.
  for (WORD bits = kLzwMinBits + 1; bits <= kLzwMaxBits; ++bits) {
    LzwStats stats = RoundTrip("width" + std::to_string(bits), lzw_samples::Mixed(bits), bits);
    EXPECT_EQ(stats.widestCode, bits);
  }
}

TEST_F(LzwAgainstCompress, RandomSizesAcrossWidthChanges) {
  // Sizes around the points where the code width grows and the table fills.
  std::mt19937 rng(77);
  for (int i = 0; i < 12; ++i) {
    size_t size = 300 + rng() % 20000;
    std::string data = (i % 2) ? lzw_samples::Text(size, 100 + i) : lzw_samples::Random(size, 100 + i);
    RoundTrip("sized" + std::to_string(i), data);
  }
}

// ---- Code streams made by hand ----

TEST(LzwCodes, HandMadeStreams) {
  const int a = 'a', b = 'b', c = 'c', d = 'd';
  const struct {
    const char* name;
    std::vector<BYTE> input;
    LzwStatus status;
    std::string output;
  } cases[] = {
      {"empty input", {}, LzwStatus::Ok, ""},
      {"two codes leave six bits that are no code", CodePacker().put(a).put(b).bytes(), LzwStatus::Ok, "ab"},
      // 257 is the entry about to be made: the previous string and its
      // first byte.
      {"KwKwK", CodePacker().put(a).put(257).bytes(), LzwStatus::Ok, "aaa"},
      {"KwKwK twice", CodePacker().put(a).put(257).put(258).bytes(), LzwStatus::Ok, "aaaaaa"},
      {"entry made from two strings", CodePacker().put(a).put(b).put(257).bytes(), LzwStatus::Ok, "abab"},
      // The codes after a clear in its group are skipped: 511 would be
      // corrupt if read. After the clear, new entries start again at 257.
      {"clear drops the rest of its group",
       CodePacker().put(a).put(b).put(256).newGroup(9, 511).put(c).put(d).put(257).bytes(),
       LzwStatus::Ok, "abcdcd"},
      {"two clears in a row",
       CodePacker().put(a).put(256).newGroup(9, 0).put(256).newGroup(9, 0).put(b).bytes(),
       LzwStatus::Ok, "ab"},
      {"code beyond the next free entry", CodePacker().put(a).put(b).put(300).bytes(),
       LzwStatus::Corrupt, "ab"},
      {"first code names no byte", CodePacker().put(257).bytes(), LzwStatus::Corrupt, ""},
      {"first code is a clear", CodePacker().put(256).bytes(), LzwStatus::Corrupt, ""},
      {"after a clear only bytes are known",
       CodePacker().put(a).put(b).put(256).newGroup(9, 0).put(258).bytes(), LzwStatus::Corrupt, "ab"},
  };
  for (const auto& t : cases) {
    Decoded got = Expand(t.input);
    EXPECT_EQ(got.status, t.status) << t.name;
    EXPECT_EQ(got.bytes, t.output) << t.name;
  }
}

TEST(LzwCodes, WidthGrowsAfterTheTableReachesItsLimit) {
  // 'a' then 254 new codes each naming the last entry (KwKwK): the entries
  // reach 511, the next one is 512 and the width becomes 10 bits, in a new
  // group.
  CodePacker p;
  p.put('a');
  std::string expected = "a";
  std::string last = "a";
  for (int code = 257; code <= 511; ++code) {
    p.put(code);
    last += last[0];  // KwKwK: previous string plus its first byte
    expected += last;
  }
  p.newGroup(10, 0).put(512);
  last += last[0];
  expected += last;
  Decoded got = Expand(p.bytes());
  EXPECT_EQ(got.status, LzwStatus::Ok);
  EXPECT_EQ(got.bytes, expected);
  EXPECT_EQ(got.stats.widestCode, 10);
}

// ---- The output block ----

TEST(LzwOutputBlock, AllocatedWhenNoneIsGiven) {
  std::vector<BYTE> input = CodePacker().put('x').bytes();
  const struct {
    LONG capacityIn;
    LONG capacityOut;
  } cases[] = {{0, 2}, {-3, 2}, {1, 2}, {50, 50}};
  for (const auto& c : cases) {
    BYTE* block = nullptr;
    LONG length = 0;
    LONG capacity = c.capacityIn;
    ASSERT_EQ(lzwExpand(input.data(), static_cast<LONG>(input.size()), block, length, capacity, 12),
              LzwStatus::Ok);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(capacity, c.capacityOut) << c.capacityIn;
    EXPECT_EQ(length, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block)), "x");
    std::free(block);
  }
}

TEST(LzwOutputBlock, GrowsByDoublingAndHandsBackTheNewBlock) {
  std::vector<BYTE> input = CodePacker().put('a').put(257).put(258).put(259).bytes();  // 10 a's
  BYTE* block = static_cast<BYTE*>(std::malloc(4));
  LONG length = 0;
  LONG capacity = 4;
  ASSERT_EQ(lzwDecode(input.data(), static_cast<LONG>(input.size()), block, length, capacity, 12), 0);
  EXPECT_EQ(length, 10);
  EXPECT_EQ(capacity, 19);  // 4, then 2 * 4 + 1, then 2 * 9 + 1
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block)), "aaaaaaaaaa");
  std::free(block);

  // A block passed with no capacity is freed and replaced (the sanitizer
  // would report the leak otherwise).
  block = static_cast<BYTE*>(std::malloc(16));
  capacity = 0;
  ASSERT_EQ(lzwDecode(input.data(), static_cast<LONG>(input.size()), block, length, capacity, 12), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), static_cast<size_t>(length)), "aaaaaaaaaa");
  std::free(block);
}

TEST(LzwOutputBlock, OutputCapStopsAHugeExpansion) {
  // Each KwKwK code is one byte longer than the last: 3000 codes stand for
  // about 4.5 MB.
  CodePacker p;
  p.put('z');
  int width = 9;
  for (int code = 257; code < 257 + 3000; ++code) {
    if (code == (1 << width) && width < 12) p.newGroup(++width, 0);
    p.put(code);
  }
  Decoded whole = Expand(p.bytes());
  ASSERT_EQ(whole.status, LzwStatus::Ok);
  ASSERT_GT(whole.bytes.size(), 4000000u);
  Decoded capped = Expand(p.bytes(), 12, 100000);
  EXPECT_EQ(capped.status, LzwStatus::WriteFailed);
  EXPECT_LE(capped.bytes.size(), 100000u);
  EXPECT_LE(capped.capacity, 100001);
  EXPECT_EQ(capped.bytes, whole.bytes.substr(0, capped.bytes.size()));
}

// ---- Failures the user is told about ----

TEST(LzwFailures, EachShowsItsMessage) {
  std::vector<BYTE> good = CodePacker().put('a').bytes();
  std::vector<BYTE> corrupt = CodePacker().put('a').put(400).bytes();
  const struct {
    const char* name;
    const BYTE* input;
    LONG length;
    WORD bits;
    int mode;
    const char* message;
  } cases[] = {
      {"null input", nullptr, 4, 12, 0, "lzw E001: kein Input"},
      {"negative length", good.data(), -1, 12, 0, "lzw E001: kein Input"},
      {"width above 16", good.data(), 2, 17, 0, "lzw E013: dictionary size not supported"},
      {"width below 9", good.data(), 2, 8, 0, "lzw E013: dictionary size not supported"},
      {"corrupt codes", corrupt.data(), static_cast<LONG>(corrupt.size()), 12, 0, "lzw E014: corrupt input"},
      {"mode 2", good.data(), 2, 12, 2, "lzw E015: mode not supported"},
  };
  for (const auto& c : cases) {
    win::ClearMessageBoxLog();
    BYTE* block = nullptr;
    LONG length = 0;
    LONG capacity = 0;
    EXPECT_EQ(lzwDecode(c.input, c.length, block, length, capacity, c.bits, c.mode), 1) << c.name;
    ASSERT_EQ(win::MessageBoxLog().size(), 1u) << c.name;
    EXPECT_EQ(win::MessageBoxLog()[0].text, c.message) << c.name;
    EXPECT_EQ(win::MessageBoxLog()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONHAND)) << c.name;
    std::free(block);
  }
  win::ClearMessageBoxLog();
}

TEST(LzwReplyBody, ExpandsIntoATextWithItsNuls) {
  std::vector<BYTE> input = CodePacker().put('k').put(0).put(257).bytes();  // "k", "\0", "k\0"
  CString out("old");
  ASSERT_TRUE(lzwExpandReplyBody(input.data(), input.size(), out));
  EXPECT_EQ(out.GetLength(), 4);
  EXPECT_EQ(std::memcmp(static_cast<const char*>(out), "k\0k\0", 4), 0);

  EXPECT_TRUE(lzwExpandReplyBody(nullptr, 0, out));
  EXPECT_EQ(out.GetLength(), 0);

  win::ClearMessageBoxLog();
  std::vector<BYTE> bad = CodePacker().put(300).bytes();
  EXPECT_FALSE(lzwExpandReplyBody(bad.data(), bad.size(), out));
  EXPECT_EQ(out.GetLength(), 0);
  EXPECT_EQ(win::MessageBoxLog().size(), 1u);
  win::ClearMessageBoxLog();
}

}  // namespace
