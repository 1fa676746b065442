#include <gtest/gtest.h>

#include <string>

#include "win/kernel.h"

namespace {

struct CasePair {
  int upper;
  int lower;
};

TEST(WinCasing, PairsOfWindows1252) {
  const CasePair pairs[] = {{'A', 'a'}, {'Z', 'z'}, {0xC0, 0xE0}, {0xC9, 0xE9}, {0xDE, 0xFE},
                            {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};
  for (const auto& p : pairs) {
    EXPECT_EQ(win_toupper(p.lower), p.upper) << std::hex << p.lower;
    EXPECT_EQ(win_tolower(p.upper), p.lower) << std::hex << p.upper;
  }
}

TEST(WinCasing, BytesWithoutPartnerStay) {
  // Sharp s, micro sign, the multiplication and division signs, digits, '_'.
  for (int c : {0xDF, 0xB5, 0xD7, 0xF7, int{'0'}, int{'_'}, int{'@'}, int{'['}, 0x80, 0xA0, 0}) {
    EXPECT_EQ(win_toupper(c), c) << std::hex << c;
    EXPECT_EQ(win_tolower(c), c) << std::hex << c;
  }
  EXPECT_EQ(win_toupper(EOF), EOF);
}

TEST(WinCompare, CaseInsensitiveComparesLowerCaseForms) {
  EXPECT_EQ(_stricmp("Tolm.INI", "tolm.ini"), 0);
  EXPECT_EQ(_stricmp("\xC4rger", "\xE4RGER"), 0);  // Windows-1252 umlaut
  // '_' (0x5F) lies between the cases; compared as lower case it sorts first.
  EXPECT_LT(_stricmp("_", "A"), 0);
  EXPECT_LT(_stricmp("abc", "ABCD"), 0);
  EXPECT_GT(_stricmp("b", "A"), 0);
  EXPECT_EQ(_strnicmp("HOMEdir", "homeDIRECTORY", 7), 0);
  EXPECT_NE(_strnicmp("HOMEdir", "homeDIRECTORY", 8), 0);
  EXPECT_EQ(_mbsicmp(reinterpret_cast<const unsigned char*>("\x8A"),
                     reinterpret_cast<const unsigned char*>("\x9A")),
            0);
}

TEST(WinCompare, MultibyteCompareIsUnsignedAndCaseSensitive) {
  auto u = [](const char* s) { return reinterpret_cast<const unsigned char*>(s); };
  EXPECT_LT(_mbscmp(u("a"), u("\xE4")), 0);  // 0xE4 is above 'a', not negative
  EXPECT_LT(_mbscmp(u("B"), u("a")), 0);
  EXPECT_EQ(_mbscmp(u("same"), u("same")), 0);
  EXPECT_LT(_mbscmp(u("ab"), u("abc")), 0);
}

TEST(WinCompare, NullStringsDoNotCrash) {
  EXPECT_EQ(_stricmp(nullptr, nullptr), 0);
  EXPECT_LT(_stricmp(nullptr, "a"), 0);
  EXPECT_GT(_mbscmp(reinterpret_cast<const unsigned char*>("a"), nullptr), 0);
  EXPECT_EQ(_strupr(nullptr), nullptr);
}

TEST(WinCompare, InPlaceCasing) {
  char s[] = "Stra\xDF" "e \xE9t\xE9 \xFF";
  EXPECT_EQ(std::string(_strupr(s)), "STRA\xDF" "E \xC9T\xC9 \x9F");
  EXPECT_EQ(std::string(_strlwr(s)), "stra\xDF" "e \xE9t\xE9 \xFF");
}

TEST(WinIntToText, RadixAndSign) {
  char buf[40];
  EXPECT_STREQ(_itoa(-42, buf, 10), "-42");
  EXPECT_STREQ(_itoa(-1, buf, 16), "ffffffff");  // other radices show the 32 bits
  EXPECT_STREQ(_ltoa(INT32_MIN, buf, 10), "-2147483648");
  EXPECT_STREQ(_ltoa(-1, buf, 2), "11111111111111111111111111111111");
  EXPECT_STREQ(_ultoa(4294967295u, buf, 10), "4294967295");
  EXPECT_STREQ(_ultoa(35, buf, 36), "z");
  EXPECT_STREQ(_itoa(0, buf, 8), "0");
  EXPECT_STREQ(_itoa(5, buf, 1), "");  // no such radix: empty, no garbage
}

}  // namespace
