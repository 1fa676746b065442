#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "oldio/extract.h"
#include "oldio/getline.h"
#include "oldio/strstream.h"

namespace {

TEST(OldioGetlineTest, LongLinesAreReadInPiecesWithoutFailing) {
  std::istringstream in("abcdefgh\nxyz\n\nabcd\nend");
  char buf[5];
  std::vector<std::string> pieces;
  while (oldio::getline(in, buf, sizeof buf)) pieces.push_back(buf);
  // "abcd" of four characters fills the buffer; its delimiter is still taken.
  const std::vector<std::string> expected = {"abcd", "efgh", "xyz", "", "abcd", "end"};
  EXPECT_EQ(pieces, expected);
  EXPECT_TRUE(in.eof());
  EXPECT_STREQ(buf, "");
}

TEST(OldioGetlineTest, DelimiterAndTinyBuffers) {
  std::istringstream in("a;bc;");
  char buf[4];
  ASSERT_TRUE(oldio::getline(in, buf, sizeof buf, ';'));
  EXPECT_STREQ(buf, "a");
  char one[1];
  ASSERT_TRUE(oldio::getline(in, one, 1, ';'));  // room for the NUL only
  EXPECT_STREQ(one, "");
  ASSERT_TRUE(oldio::getline(in, buf, sizeof buf, ';'));
  EXPECT_STREQ(buf, "bc");
  EXPECT_FALSE(oldio::getline(in, buf, sizeof buf, ';'));
  std::istringstream other("x");
  EXPECT_FALSE(oldio::getline(other, nullptr, 4));
}

TEST(OldioExtractTest, ValuesAreKeptModulo2To32) {
  struct Case {
    const char* text;
    LONG asLong;
    DWORD asDword;
    bool ok;
  };
  const Case cases[] = {
      {"0", 0, 0, true},
      {"  -12 ", -12, 0xFFFFFFF4u, true},
      {"+7", 7, 7, true},
      {"2147483647", 2147483647, 2147483647u, true},
      {"2147483648", -2147483647 - 1, 2147483648u, true},
      {"4294967295", -1, 4294967295u, true},
      {"4294967296", 0, 0, true},
      {"-4294967295", 1, 1, true},
      {"99999999999999999999", static_cast<LONG>(0x7FFFFFFFu & 0), 0, true},
      {"12abc", 12, 12, true},
      {"-", 55, 55, false},
      {"abc", 55, 55, false},
      {"", 55, 55, false},
  };
  for (const Case& c : cases) {
    std::istringstream a(c.text), b(c.text);
    LONG l = 55;
    DWORD d = 55;
    const bool okLong = static_cast<bool>(oldio::extract(a, l));
    const bool okDword = static_cast<bool>(oldio::extract(b, d));
    EXPECT_EQ(okLong, c.ok) << c.text;
    EXPECT_EQ(okDword, c.ok) << c.text;
    if (std::strcmp(c.text, "99999999999999999999") == 0) {
      // 10^20 - 1 modulo 2^32.
      EXPECT_EQ(static_cast<DWORD>(l), 1661992959u);
      EXPECT_EQ(d, 1661992959u);
      continue;
    }
    EXPECT_EQ(l, c.asLong) << c.text;
    EXPECT_EQ(d, c.asDword) << c.text;
  }
  // Extraction stops before the first non-digit and reads on from there.
  std::istringstream in("10 -20,30");
  LONG x = 0, y = 0;
  oldio::extract(in, x);
  oldio::extract(in, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, -20);
  EXPECT_EQ(in.get(), ',');
}

TEST(OldioStrstreamTest, StrGivesATerminatedFrozenTextAndFreezeFalseReleasesIt) {
  oldio::strstream s;
  s << "count " << 42;
  EXPECT_EQ(s.pcount(), 8);
  char* text = s.str();  // no `ends` written: still NUL-ended
  EXPECT_STREQ(text, "count 42");
  EXPECT_EQ(s.pcount(), 8);
  EXPECT_EQ(s.str(), text);  // frozen: the same buffer
  s.freeze(false);
  s << " more";
  s.rdbuf()->freeze(0);

  // A long text that fills the buffer exactly still gets its NUL.
  oldio::ostrstream big;
  const std::string long_text(1000, 'x');
  big << long_text;
  EXPECT_EQ(std::string(big.str()), long_text);
  big.freeze(false);

  // Written `ends` counts, as it always did.
  oldio::ostrstream withEnds;
  withEnds << "ab" << std::ends;
  EXPECT_EQ(withEnds.pcount(), 3);
  EXPECT_STREQ(withEnds.str(), "ab");
  withEnds.freeze(false);

  // A fixed buffer with room left is terminated in place.
  char fixed[8];
  std::memset(fixed, '#', sizeof fixed);
  oldio::ostrstream f(fixed, sizeof fixed);
  f << "abc";
  EXPECT_STREQ(f.str(), "abc");

  // Reading back what was written.
  oldio::strstream rw;
  rw << "12 34";
  int a = 0, b = 0;
  rw >> a >> b;
  EXPECT_EQ(a + b, 46);
}

}  // namespace
