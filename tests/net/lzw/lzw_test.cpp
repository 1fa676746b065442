#include "net/lzw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
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

// Decodes through a stream in pieces of `piece` bytes, checking that each
// read stays within its room.
Decoded Stream(const std::vector<BYTE>& input, size_t piece, WORD bits = kLzwReplyBits,
               LONG limit = kLzwMaxOutput) {
  static const BYTE kNothing = 0;
  LzwStream stream;
  Decoded d{};
  d.status = stream.start(input.empty() ? &kNothing : input.data(), static_cast<LONG>(input.size()), bits, limit);
  std::vector<BYTE> buffer(piece);
  while (d.status == LzwStatus::Ok) {
    LONG n = -1;
    d.status = stream.read(buffer.data(), static_cast<LONG>(piece), n);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, static_cast<LONG>(piece));
    if (n <= 0) break;
    d.bytes.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(n));
  }
  if (d.status == LzwStatus::Ok) {
    EXPECT_TRUE(stream.finished());
  }
  d.stats = stream.stats();
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
      // Strings hundreds of bytes long: their copies outgrow the room the
      // decoder keeps for them, and the last ones are written along their
      // prefixes.
      {"period five", [] {
         std::string s;
         while (s.size() < 2500000) s += "vwxyz";
         return s;
       }()},
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

TEST_F(LzwAgainstCompress, StreamGivesWhatCompressDecodes) {
  // Every width compress reads back, with clear codes, in pieces smaller
  // than one string, around the table's size and larger than the output.
  for (WORD bits = kLzwMinBits + 1; bits <= kLzwMaxBits; ++bits) {
    const std::string name = "stream" + std::to_string(bits);
    const std::string data = lzw_samples::Mixed(bits + 40);
    const std::string z = lzw_samples::CompressZ(dir_.path().string(), name, data, bits);
    ASSERT_GE(z.size(), 3u) << name;
    bool ok = false;
    const std::string uncompressed = lzw_samples::UncompressZ(dir_.path().string(), name, z, ok);
    ASSERT_TRUE(ok && uncompressed == data) << name << ": compress -d disagrees with its input";
    const std::vector<BYTE> body(z.begin() + 3, z.end());
    const Decoded whole = Expand(body, bits);
    for (size_t piece : {size_t{3}, size_t{4093}, size_t{1} << bits, size_t{1} << 20}) {
      const Decoded streamed = Stream(body, piece, bits);
      EXPECT_EQ(streamed.status, LzwStatus::Ok) << name << " in pieces of " << piece;
      EXPECT_TRUE(streamed.bytes == uncompressed) << name << " in pieces of " << piece;
      EXPECT_EQ(streamed.stats.clearCodes, whole.stats.clearCodes) << name;
      EXPECT_EQ(streamed.stats.widestCode, whole.stats.widestCode) << name;
    }
    EXPECT_GT(whole.stats.clearCodes, 0) << name << ": the sample must make compress emit clear codes";
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

struct HandMade {
  const char* name;
  std::vector<BYTE> input;
  LzwStatus status;
  std::string output;
};

std::vector<HandMade> HandMadeCases() {
  const int a = 'a', b = 'b', c = 'c', d = 'd';
  return {
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
}

TEST(LzwCodes, HandMadeStreams) {
  for (const auto& t : HandMadeCases()) {
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

// ---- The streaming form ----

// `first`, then `count` codes each naming the entry about to be made:
// every string is one byte longer than the last. The width grows up to
// `bits`; at 9 bits the table fills and the codes stay 9 bits wide. A
// `last` code ends the stream when it is not negative.
std::vector<BYTE> GrowingRuns(int count, int bits, char first = 'z', int last = -1) {
  CodePacker p;
  p.put(static_cast<BYTE>(first));
  int width = 9;
  int next = 257;
  for (int i = 0; i < count; ++i) {
    const int limit = 1 << bits;
    if (next == (1 << width) && width < bits) p.newGroup(++width, 0);
    p.put(next < limit ? next : limit - 1);
    if (next < limit) ++next;
  }
  if (last >= 0) p.put(last);
  return p.bytes();
}

TEST(LzwStream, SameAsTheWholeBlockInEveryPieceSize) {
  struct Case {
    std::string name;
    std::vector<BYTE> input;
    WORD bits;
    LONG limit;
    LzwStatus status;
  };
  std::vector<Case> cases;
  for (const HandMade& h : HandMadeCases()) cases.push_back({h.name, h.input, 12, kLzwMaxOutput, h.status});
  // Strings of up to 1500 bytes, longer than most pieces.
  cases.push_back({"long strings", GrowingRuns(1500, 12), 12, kLzwMaxOutput, LzwStatus::Ok});
  cases.push_back({"full table at 9 bits", GrowingRuns(400, 9), 9, kLzwMaxOutput, LzwStatus::Ok});
  cases.push_back({"16-bit tables", GrowingRuns(1500, 16), 16, kLzwMaxOutput, LzwStatus::Ok});
  // The cap falls inside a string.
  cases.push_back({"capped", GrowingRuns(3000, 12), 12, 100000, LzwStatus::WriteFailed});
  cases.push_back({"capped before the first byte", GrowingRuns(3, 12), 12, 0, LzwStatus::FirstWrite});
  // 600 codes reach entry 857, at 10 bits: 1023 names no entry.
  cases.push_back({"corrupt after long strings", GrowingRuns(600, 12, 'z', 1023), 12, kLzwMaxOutput,
                   LzwStatus::Corrupt});
  for (const Case& c : cases) {
    const Decoded whole = Expand(c.input, c.bits, c.limit);
    EXPECT_EQ(whole.status, c.status) << c.name;
    for (size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{1000}, size_t{70000}}) {
      const Decoded streamed = Stream(c.input, piece, c.bits, c.limit);
      EXPECT_EQ(streamed.status, whole.status) << c.name << " in pieces of " << piece;
      EXPECT_TRUE(streamed.bytes == whole.bytes) << c.name << " in pieces of " << piece;
    }
  }
}

TEST(LzwStream, StreamsKeepTheirOwnTables) {
  // Two streams read by turns on one thread, with a whole-block decoding of
  // another width between their reads, each give their own bytes; a stream
  // started again gives the new input's.
  const std::vector<BYTE> wide = GrowingRuns(1200, 16, 'w');
  const std::vector<BYTE> narrow = GrowingRuns(900, 10, 'n');
  const std::vector<BYTE> other = GrowingRuns(300, 12, 'o');
  const std::string wideBytes = Expand(wide, 16).bytes;
  const std::string narrowBytes = Expand(narrow, 10).bytes;
  LzwStream first;
  LzwStream second;
  ASSERT_EQ(first.start(wide.data(), static_cast<LONG>(wide.size()), 16), LzwStatus::Ok);
  ASSERT_EQ(second.start(narrow.data(), static_cast<LONG>(narrow.size()), 10), LzwStatus::Ok);
  std::string a, b;
  BYTE buffer[2049];
  for (bool more = true; more;) {
    more = false;
    for (auto [stream, out] : {std::pair{&first, &a}, std::pair{&second, &b}}) {
      LONG n = 0;
      ASSERT_EQ(stream->read(buffer, sizeof buffer, n), LzwStatus::Ok);
      out->append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
      more = more || n > 0;
    }
    Expand(other, 12);
  }
  EXPECT_TRUE(a == wideBytes);
  EXPECT_TRUE(b == narrowBytes);

  ASSERT_EQ(first.start(narrow.data(), static_cast<LONG>(narrow.size()), 10), LzwStatus::Ok);
  std::string again;
  for (LONG n = 1; n > 0;) {
    ASSERT_EQ(first.read(buffer, sizeof buffer, n), LzwStatus::Ok);
    again.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
  }
  EXPECT_TRUE(again == narrowBytes);
}

TEST(LzwStream, MisuseAndFailuresAreStatuses) {
  const std::vector<BYTE> good = CodePacker().put('a').bytes();
  const std::vector<BYTE> corrupt = CodePacker().put('a').put(400).bytes();
  BYTE buffer[8];
  LONG n = -1;
  LzwStream stream;
  EXPECT_EQ(stream.read(buffer, sizeof buffer, n), LzwStatus::NoInput) << "read before a start";
  EXPECT_EQ(n, 0);
  EXPECT_FALSE(stream.finished());

  const struct {
    const char* name;
    const BYTE* input;
    LONG length;
    WORD bits;
    LzwStatus status;
  } starts[] = {
      {"null input", nullptr, 4, 12, LzwStatus::NoInput},
      {"negative length", good.data(), -1, 12, LzwStatus::NoInput},
      {"width above 16", good.data(), 2, 17, LzwStatus::BadWidth},
      {"width below 9", good.data(), 2, 8, LzwStatus::BadWidth},
  };
  for (const auto& c : starts) {
    EXPECT_EQ(stream.start(c.input, c.length, c.bits), c.status) << c.name;
    EXPECT_EQ(stream.read(buffer, sizeof buffer, n), c.status) << c.name;
    EXPECT_EQ(n, 0) << c.name;
  }

  ASSERT_EQ(stream.start(good.data(), static_cast<LONG>(good.size()), 12), LzwStatus::Ok);
  EXPECT_EQ(stream.read(nullptr, 8, n), LzwStatus::NoInput);
  EXPECT_EQ(stream.read(buffer, 0, n), LzwStatus::NoInput);
  ASSERT_EQ(stream.read(buffer, sizeof buffer, n), LzwStatus::Ok);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(stream.read(buffer, sizeof buffer, n), LzwStatus::Ok);
  EXPECT_EQ(n, 0);
  EXPECT_TRUE(stream.finished());

  // The bytes before a corrupt code come with the failure; later reads
  // report it again with nothing.
  ASSERT_EQ(stream.start(corrupt.data(), static_cast<LONG>(corrupt.size()), 12), LzwStatus::Ok);
  EXPECT_EQ(stream.read(buffer, sizeof buffer, n), LzwStatus::Corrupt);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(stream.read(buffer, sizeof buffer, n), LzwStatus::Corrupt);
  EXPECT_EQ(n, 0);
  EXPECT_FALSE(stream.finished());
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
