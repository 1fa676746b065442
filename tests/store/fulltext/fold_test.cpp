#include "store/fulltext/fold.h"

#include <gtest/gtest.h>

#include <string>

#include "store/fulltext/char_class.h"

namespace {

TEST(Fold, WordsFoldToPlainLettersInTheCaseAsked) {
  struct Case {
    std::string text;
    int flags;
    int encoding;
    const char* expected;
  };
  const std::string aesop = "\xC6sop";       // Æ as a byte
  const std::string strasse = "Stra\xDF" "e";  // ß as a byte
  const std::string oeuvre = std::string("\x01\x52\x00u\x00v\x00r\x00" "e", 10);  // Œ in two-byte text
  const Case cases[] = {
      {aesop, 3, kOneByte, "AEsop"},
      {aesop, 2, kOneByte, "aesop"},
      {aesop, 1, kOneByte, "AESOP"},
      {aesop, 5, kOneByte, "AESOP"},
      {strasse, 2, kOneByte, "strasse"},
      {strasse, 5, kOneByte, "STRASSE"},
      {oeuvre, 3, kTwoBytes, "OEuvre"},
      {"a-b c", 5, kOneByte, "ABC"},
      {"a-b c", 5 | kKeepOtherAscii, kOneByte, "A-B C"},
      {"Route 66", 1, kOneByte, "ROUTE"},
      {"Route 66", 5, kOneByte, "ROUTE66"},
      {"caf\xE9 \xA2", 2, kOneByte, "cafec"},
      {"x\xD7y", 5, kOneByte, "XY"},  // × is not a letter
      {"$5", 5, kOneByte, "S5"},
      {std::string("\x03\xA9\x03\xB8", 4), 3, kTwoBytes, "Oth"},  // Greek capital omega, small theta
      {"\xDF\xDF\xDF", 5, kOneByte, "SSSSSS"},  // each letter grows into two
  };
  for (const Case& c : cases) EXPECT_EQ(foldText(c.text, c.flags, c.encoding), c.expected) << c.text;
}

TEST(Fold, CyrillicCapitalAndSmallLettersMeet) {
  int second;
  EXPECT_EQ(foldChar(0xC0, 5, second, true), 192);
  EXPECT_EQ(foldChar(0xE0, 5, second, true), 192);
  EXPECT_EQ(foldChar(0xFF, 5, second, true), 223);
  EXPECT_EQ(foldChar(168, 5, second, true), 197);   // Ё
  EXPECT_EQ(foldChar(184, 5, second, true), 197);   // ё
  EXPECT_EQ(foldChar(1040, 5, second, false), 192);  // А as a character number
  EXPECT_EQ(foldChar(1120, 5, second, false), 0);    // another Cyrillic letter
  EXPECT_EQ(foldChar(0xC0, 5, second, false), 'A');  // À without the option
  EXPECT_EQ(foldChar(1009, 5, second, false), 0);
  EXPECT_EQ(foldText("\xCC\xC8\xD0 \xEC\xE8\xF0", 5, kOneByte, true), "\xCC\xC8\xD0\xCC\xC8\xD0");
}

TEST(Fold, TheTextEndsAtTheLimitAStopCharacterOrACharacterCutShort) {
  struct Case {
    std::string text;
    int encoding;
    const char* stops;
    std::string expected;
  };
  const Case cases[] = {
      {std::string(150, 'a'), kOneByte, nullptr, std::string(100, 'A')},
      {std::string(99, 'a') + "\xC6", kOneByte, nullptr, std::string(99, 'A') + "A"},
      {"abc;def", kOneByte, ";", "ABC"},
      {"ab\xB0", kDictionaryBytes, nullptr, "AB"},       // a lead byte with no trail
      {"ab\xF8\xA1", kDictionaryBytes, nullptr, "AB"},   // three bytes, two there
      {"ab\xFC\xA1\xA1\xA1", kDictionaryBytes, nullptr, "AB"},
      {std::string("\x00" "a\x00" "b\x00", 5), kTwoBytes, nullptr, "AB"},
      {std::string("\x00\x00\x00" "a\x00\x00", 6), kFourBytes, nullptr, "A"},
      {"a\xA1\x21" "b", kDictionaryBytes, nullptr, "AAB"},  // 0xA121 is character 256, A with macron
  };
  for (const Case& c : cases) EXPECT_EQ(foldText(c.text, 5, c.encoding, false, c.stops), c.expected) << c.text;
  std::string text = "--";
  EXPECT_EQ(foldString(text, 5), 0);
  EXPECT_EQ(text, "");
  text = "Nord-Ost";
  EXPECT_EQ(foldString(text, 5), 1);
  EXPECT_EQ(text, "NORDOST");
}

TEST(CharClass, DecodesWideCodesAndClassifies) {
  struct Wide {
    int code;
    int expected;
  };
  const Wide wides[] = {{-5, -1},       {65, 65},         {0x9F41, 0x41},  {0xF600, -1},
                        {0xA121, 256},  {0xA17F, 350},    {0xA1A1, 351},   {0xA221, 446}};
  for (const Wide& w : wides) EXPECT_EQ(decodeWide(w.code), w.expected) << std::hex << w.code;
  struct Class {
    int code;
    int mode;
    int expected;
  };
  const Class classes[] = {{700, 0, kModifierLetter}, {789, 0, kCombiningMarkOther}, {800, 0, kCombiningMark},
                           {8400, 0, kCombiningMark}, {10, 0, kLineEnd},             {32, 0, kSeparator},
                           {'~', 0, kSeparator},      {160, 0, kSeparator},          {'A', 0, kOrdinary},
                           {0xA121, kClassOfWide, kOrdinary}, {0xA121, 0, kOrdinary}, {0x90A0, kClassOfWide, kSeparator}};
  for (const Class& c : classes) EXPECT_EQ(charClass(c.code, c.mode), c.expected) << c.code;
}

}  // namespace
