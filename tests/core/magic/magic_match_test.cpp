// Matching buffers against the table: relations, offsets, groups of rules,
// the output's room, and the message formats.
#include <cstring>
#include <string>

#include "magic_fixture.h"
#include "support/temp_dir.h"

namespace {

using magic_testing::MagicTest;

class MagicMatch : public MagicTest {};

TEST_F(MagicMatch, RelationsAndTypes) {
  struct Case {
    const char* rule;
    std::string bytes;
    bool matches;
  };
  const Case cases[] = {
      {"0 string BM BMP", "BM\x10\x20", true},
      {"0 string BM BMP", "BA", false},
      {"0 short 0x4d42 BMP", "BM", true},  // little-endian
      {"0 short 0x424d BMP", "BM", false},
      {"0 long 0xC6D3D0C5 EPS", "\xc5\xd0\xd3\xc6", true},
      {"1 byte &0x80 high", "a\x80", true},
      {"1 byte &0x80 high", "a\xff", true},
      {"1 byte &0x80 high", "a\x7f", false},
      {"0 byte &0 never", "\xff", false},
      {"0 byte <0 signed", "\x80", true},  // bytes are signed
      {"0 byte >100 signed", "\xc8", false},
      {"0 short <0 signed", std::string("\x00\x80", 2), true},
      {"0 long >0 positive", std::string("\x01\x00\x00\x00", 4), true},
      {"0 long <0 negative", std::string("\x00\x00\x00\x80", 4), true},
      // Strings: the difference at the first mismatch, buffer minus rule.
      {"0 string <abc less", "abb", true},
      {"0 string <abc less", "abd", false},
      {"0 string >abc greater", "ab\xff", true},  // as unsigned bytes
      {"0 string >abc greater", "abc", false},
      {"0 string &abc never", "abd", false},
      {"0 string ab prefix", "abcdef", true},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.rule)) << c.rule;
    EXPECT_EQ(Match(c.bytes) != "<none>", c.matches) << c.rule << " on " << c.bytes;
  }
}

TEST_F(MagicMatch, ValuesBeyondTheBufferDoNotMatch) {
  struct Case {
    const char* rule;
    int size;
    bool matches;
  };
  // A rule that would match zero bytes, against buffers of zeros.
  const Case cases[] = {
      {"3 byte 0 z", 4, true},
      {"4 byte 0 z", 4, false},
      {"2 short 0 z", 4, true},
      {"3 short 0 z", 4, false},
      {"0 long 0 z", 4, true},
      {"1 long 0 z", 4, false},
      {"600 byte 0 z", 512, false},
      {"2 string \\0\\0 z", 4, true},
      {"3 string \\0\\0 z", 4, false},
      {"3 string <\\1\\1 z", 4, false},  // partly past the end: no match, whatever the relation
      {"2147483647 long 0 z", 8, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.rule)) << c.rule;
    EXPECT_EQ(Match(std::string(static_cast<size_t>(c.size), '\0')) != "<none>", c.matches)
        << c.rule << " size " << c.size;
  }
  ASSERT_TRUE(Load("0 byte 0 z"));
  EXPECT_FALSE(MatchLoadedMagic(nullptr, 4, nullptr, 0));
}

TEST_F(MagicMatch, ContinuationsAppendTheirMessages) {
  ASSERT_TRUE(Load("0 byte 0x0a X\n>1 byte 5 version %d\n>2 byte 9 never\n>3 byte 1 rle"));
  EXPECT_EQ(Match(std::string("\x0a\x05\x00\x01", 4)), "X version 5 rle");
  EXPECT_EQ(Match(std::string("\x0a\x04\x00\x00", 4)), "X");
}

TEST_F(MagicMatch, FirstMatchingGroupWins) {
  ASSERT_TRUE(
      Load(">0 byte 1 orphan\n"
           "0 byte 2 two\n>1 byte 1 two-cont\n"
           "0 byte 1 one\n>1 byte 1 one-cont\n>1 byte 2 one-other\n"
           "0 byte 1 later\n"));
  // The group of "two" does not match, its continuation is skipped with it;
  // the orphan continuation before any rule is never taken.
  EXPECT_EQ(Match("\x01\x01"), "one one-cont");
  EXPECT_EQ(Match("\x02\x01"), "two two-cont");
  EXPECT_EQ(Match("\x03\x01"), "<none>");
}

TEST_F(MagicMatch, OutputRoomAndUntouchedOnNoMatch) {
  ASSERT_TRUE(Load("0 byte 1 abcdef\n>0 byte 1 gh\n>0 byte 1 ijklmnop\n>0 byte 1 q"));
  EXPECT_EQ(Match("\x01", 128), "abcdef gh ijklmnop q");
  // A message that does not fit is left out; later ones that fit go in.
  EXPECT_EQ(Match("\x01", 14), "abcdef gh q");
  EXPECT_EQ(Match("\x01", 7), "abcdef");
  // Each continuation brings its blank, even after a first message that
  // did not fit.
  EXPECT_EQ(Match("\x01", 6), " gh q");

  char out[16];
  std::memset(out, '#', sizeof out);
  EXPECT_FALSE(MatchLoadedMagic("\x02", 1, out, sizeof out));
  EXPECT_EQ(std::string(out, sizeof out), std::string(16, '#'));
}

TEST_F(MagicMatch, MatchMagicReadsTheFileEachTime) {
  testing_support::TempDir dir;
  const std::string path = dir.write("rules.dat", "0 string BM first\n");
  char out[kMagicResultSize];
  ASSERT_TRUE(MatchMagic(path.c_str(), "BM", 2, out, sizeof out));
  EXPECT_STREQ(out, "first");
  dir.write("rules.dat", "0 string BM second\n");
  ASSERT_TRUE(MatchMagic(path.c_str(), "BM", 2, out, sizeof out));
  EXPECT_STREQ(out, "second");

  // A rejected line makes the whole table useless, even a rule that would
  // match.
  dir.write("rules.dat", "0 string BM third\n0 quad 1 bad\n");
  out[0] = '\0';
  EXPECT_FALSE(MatchMagic(path.c_str(), "BM", 2, out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Magic numbers: invalid type: quad 1 bad"});
}

TEST_F(MagicMatch, UnknownTypeInTheTableIsReported) {
  MagicEntry bad{};
  bad.type = 3;
  bad.relation = '=';
  std::strcpy(bad.message, "bad");
  MagicEntry good{};
  good.type = kMagicByte;
  good.relation = '=';
  std::strcpy(good.message, "good");
  const MagicEntry entries[] = {bad, good};
  SetMagicEntries(entries, 2);
  EXPECT_EQ(Match(std::string(1, '\0')), "good");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Magic numbers: can't happen: m->type=3"});
}

}  // namespace
