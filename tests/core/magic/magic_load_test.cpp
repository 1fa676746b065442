// Reading rules into the magic table: fields, numbers, string escapes, and
// which lines count.
#include <cstring>
#include <string>

#include "magic_fixture.h"
#include "support/temp_dir.h"

namespace {

using magic_testing::MagicTest;

class MagicLoad : public MagicTest {};

TEST_F(MagicLoad, NumericFields) {
  struct Case {
    const char* line;
    int continuation;
    int offset;
    char relation;
    int type;
    std::int32_t value;
    const char* message;
  };
  const Case cases[] = {
      {"0 byte 10 X", 0, 0, '=', kMagicByte, 10, "X"},
      {">12\tshort\t<0x7f  Y z", 1, 12, '<', kMagicShort, 0x7f, "Y z"},
      {"3 long >-5 m", 0, 3, '>', kMagicLong, -5, "m"},
      {"0 long &0x80 hi", 0, 0, '&', kMagicLong, 0x80, "hi"},
      {"0 byte = 65 spaced relation", 0, 0, '=', kMagicByte, 65, "spaced relation"},
      {"0 byte 010 octal", 0, 0, '=', kMagicByte, 8, "octal"},
      {"0 byte 0x1ff cut to a byte", 0, 0, '=', kMagicByte, -1, "cut to a byte"},
      {"0 byte 200 sign-extended", 0, 0, '=', kMagicByte, -56, "sign-extended"},
      {"0 short 0x18000 cut to a short", 0, 0, '=', kMagicShort, -32768, "cut to a short"},
      {"0 short -2 negative", 0, 0, '=', kMagicShort, -2, "negative"},
      // A 32-bit pattern above 0x7fffffff keeps its bits.
      {"0 long 0xC6D3D0C5 eps", 0, 0, '=', kMagicLong, static_cast<std::int32_t>(0xC6D3D0C5u),
       "eps"},
      {"0 long 4294967295 all ones", 0, 0, '=', kMagicLong, -1, "all ones"},
      // Keywords are checked by prefix.
      {"0 bytes 7 b", 0, 0, '=', kMagicByte, 0, "s 7 b"},
      {"0 longer 7 l", 0, 0, '=', kMagicLong, 0, "er 7 l"},
      // No number: the value is 0 and the rest is the message.
      {"5 byte abc", 0, 5, '=', kMagicByte, 0, "abc"},
      {"7 byte 1", 0, 7, '=', kMagicByte, 1, ""},
      {"99999999999 byte 1 far", 0, 2147483647, '=', kMagicByte, 1, "far"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.line)) << c.line;
    ASSERT_EQ(MagicEntryCount(), 1) << c.line;
    const MagicEntry& e = MagicEntries()[0];
    EXPECT_EQ(e.continuation, c.continuation) << c.line;
    EXPECT_EQ(e.reserved, 0) << c.line;
    EXPECT_EQ(e.offset, c.offset) << c.line;
    EXPECT_EQ(e.relation, c.relation) << c.line;
    EXPECT_EQ(e.type, c.type) << c.line;
    EXPECT_EQ(e.value, c.value) << c.line;
    EXPECT_STREQ(e.message, c.message) << c.line;
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(MagicLoad, StringValuesAndEscapes) {
  struct Case {
    const char* line;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"0 string BM BMP", "BM", "BMP"},
      {"0 string \\b\\f\\n\\r\\t\\v x", "\b\f\n\r\t\v", "x"},
      {"0 string \\101\\0\\1234 oct", std::string("A\0S4", 4), "oct"},
      {"0 string \\x41\\x4a4\\xq hex",
       "A\xa4"
       "xq",
       "hex"},  // three digits, cut to a byte
      {"0 string \\x1ff cut", "\xff", "cut"},
      {"0 string a\\ b\\\\c spaces", "a b\\c", "spaces"},
      {"0 string \\=\\q\\% others", "=q%", "others"},
      {"0 string II*\\0 TIFF", std::string("II*\0", 4), "TIFF"},
      {"0 string =AA explicit", "AA", "explicit"},
      {"0 string >   AA after blanks", "AA", "after blanks"},
      {"0 string ends\\", "ends", ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.line)) << c.line;
    ASSERT_EQ(MagicEntryCount(), 1) << c.line;
    const MagicEntry& e = MagicEntries()[0];
    EXPECT_EQ(e.type, kMagicString) << c.line;
    EXPECT_EQ(std::string(e.string, e.stringLength), c.bytes) << c.line;
    EXPECT_EQ(e.string[e.stringLength], '\0') << c.line;
    EXPECT_STREQ(e.message, c.message) << c.line;
  }
}

TEST_F(MagicLoad, CommentsEmptyLinesAndLineEnds) {
  ASSERT_TRUE(Load("# comment\n\n0 byte 1 one\r\n\n>1 byte 2 two\n#0 byte 3 no\n2 byte 3 three"));
  ASSERT_EQ(MagicEntryCount(), 3);
  EXPECT_STREQ(MagicEntries()[0].message, "one");
  EXPECT_STREQ(MagicEntries()[1].message, "two");
  EXPECT_EQ(MagicEntries()[1].continuation, 1);
  EXPECT_STREQ(MagicEntries()[2].message, "three");
}

TEST_F(MagicLoad, MessageKeepsAtMost49Characters) {
  const std::string message(80, 'm');
  ASSERT_TRUE(Load("0 byte 1 " + message));
  EXPECT_EQ(std::string(MagicEntries()[0].message), std::string(49, 'm'));
}

TEST_F(MagicLoad, OverlongLineIsCutNotSplit) {
  // The characters beyond 499 would read as a rule of their own if the rest
  // of the line were taken as the next line.
  std::string line = "0 byte 1 x" + std::string(489, 'y') + "0 byte 2 tail";
  ASSERT_GT(line.size(), 499u);
  ASSERT_TRUE(Load(line + "\n1 byte 3 next"));
  ASSERT_EQ(MagicEntryCount(), 2);
  EXPECT_EQ(std::string(MagicEntries()[0].message), "x" + std::string(48, 'y'));
  EXPECT_STREQ(MagicEntries()[1].message, "next");
}

TEST_F(MagicLoad, RejectedLineFailsTheLoadButOthersStay) {
  struct Case {
    const char* line;
    const char* box;
  };
  const Case cases[] = {
      {"0 word 1 w", "Magic numbers: invalid type: word 1 w"},
      {"-1 byte 1 m", "Magic numbers: invalid type: -1 byte 1 m"},
      {"0x10 byte 1 m", "Magic numbers: invalid type: x10 byte 1 m"},
      {" 4 byte 1 m", "Magic numbers: invalid type: 4 byte 1 m"},
      {"   ", "Magic numbers: invalid type: "},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_FALSE(Load(std::string("0 byte 1 before\n") + c.line + "\n1 byte 2 after")) << c.line;
    EXPECT_EQ(MagicEntryCount(), 2) << c.line;
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box}) << c.line;
    EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");
    EXPECT_EQ(win::MessageBoxLog()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

TEST_F(MagicLoad, StringTooLongKeeps31Bytes) {
  const std::string value = std::string(31, 'a') + "bcd\\ e";
  ASSERT_TRUE(Load("0 string " + value + " msg"));
  ASSERT_EQ(MagicEntryCount(), 1);
  const MagicEntry& e = MagicEntries()[0];
  EXPECT_EQ(e.stringLength, 31);
  EXPECT_EQ(std::string(e.string), std::string(31, 'a'));
  EXPECT_STREQ(e.message, "msg");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"String too long: " + value});
}

TEST_F(MagicLoad, TableOverflowRejectsThe250thEntryAndWarnsOncePerRun) {
  std::string rules;
  for (int i = 0; i < 260; ++i) rules += std::to_string(i) + " byte 1 r" + std::to_string(i) + "\n";
  EXPECT_FALSE(Load(rules));
  EXPECT_EQ(MagicEntryCount(), kMagicMaxEntries);
  EXPECT_STREQ(MagicEntries()[kMagicMaxEntries - 1].message, "r248");
  const std::vector<std::string> once{"magic table overflow - increase MAXMAGIS beyond 250"};
  EXPECT_EQ(BoxTexts(), once);

  // A second load overflows as well, without a second box.
  EXPECT_FALSE(Load(rules));
  EXPECT_EQ(BoxTexts(), once);

  // Comments beyond the limit are no entries and reject nothing.
  std::string full;
  for (int i = 0; i < kMagicMaxEntries; ++i) full += "0 byte 1 r\n";
  EXPECT_TRUE(Load(full + "# a comment\n\n"));

  ResetMagicOverflowNotice();
  EXPECT_FALSE(Load(rules));
  EXPECT_EQ(BoxTexts().size(), 2u);
}

TEST_F(MagicLoad, FromFileAndUnreadableFile) {
  testing_support::TempDir dir;
  const std::string path = dir.write("format.dat", "0 string BM BMP\r\n0 string GIF8 GIF\n");
  EXPECT_TRUE(LoadMagic(path.c_str()));
  EXPECT_EQ(MagicEntryCount(), 2);
  EXPECT_STREQ(MagicEntries()[1].message, "GIF");
  EXPECT_TRUE(win::MessageBoxLog().empty());

  const std::string missing = dir.file("missing.dat");
  EXPECT_FALSE(LoadMagic(missing.c_str()));
  EXPECT_EQ(MagicEntryCount(), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Can't read magic file " + missing});
}

}  // namespace
