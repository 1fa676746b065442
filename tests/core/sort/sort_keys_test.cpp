#include "core/sort_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_object.h"

namespace {

using sort_test::RecordObject;

std::string Negated(std::string s) {
  for (char& c : s) c = static_cast<char>((256 - static_cast<unsigned char>(c)) & 0xFF);
  return s;
}
std::string Up(const std::string& value) { return value + '\x01'; }
std::string Down(const std::string& value) { return Negated(value) + '\xFF'; }

std::string Hex(const std::string& s) {
  std::string out;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02x ", c);
    out += b;
  }
  return out;
}

TEST(SortKeys, EachLetterAndDirection) {
  struct Case {
    const char* order;
    const char* record;
    int classCode;
    std::string key;
  };
  const Case cases[] = {
      {"#", "Sequence=12\n", 4, Up("0000000012")},
      {"#", "Sequence=\n", 4, Up("0000000000")},
      {"#", "Title=en:x\n", 4, Up("0000000000")},
      {"#", "Sequence= +7x\n", 4, Up("0000000007")},
      {"#", "Sequence=-5\n", 4, Up("-" + Negated("0000000005"))},
      {"#", "Sequence=2147483647\n", 4, Up("2147483647")},
      {"#", "Sequence=99999999999\n", 4, Up("2147483647")},
      {"#", "Sequence=-2147483648\n", 4, Up("-" + Negated("2147483648"))},
      {"-#", "Sequence=12\n", 4, Down("0000000012")},
      {"A", "Author=Joe@kx.org\n", 4, Up("joe")},
      {"A", "Author=JOE Smith\n", 4, Up("joe")},
      {"A", "Author=@ @\n", 4, Up("")},
      {"-A", "Author=joe\n", 4, Down("joe")},
      {"C", "TimeCreated=96/05/01 10:00:00\n", 4, Up("1996/05/01 10:00:00")},
      {"C", "TimeCreated=101/01/02 03:04:05\n", 4, Up("2001/01/02 03:04:05")},
      {"C", "TimeCreated=05/01/02 03:04:05\n", 4, Up("1905/01/02 03:04:05")},
      {"C", "TimeCreated=2003/01/02 03:04:05\n", 4, Up("2003/01/02 03:04:05")},
      {"C", "TimeCreated=yesterday\n", 4, Up("yesterday")},
      {"-C", "TimeCreated=100/01/01 00:00:00\n", 4, Down("2000/01/01 00:00:00")},
      {"E", "TimeExpire=99/12/31 23:59:59\n", 4, Up("1999/12/31 23:59:59")},
      {"O", "TimeOpen=124/02/29 12:00:00\n", 4, Up("2024/02/29 12:00:00")},
      {"I", "ObjectID=0x00AB12CD\n", 4, Up("0x00ab12cd")},
      {"-I", "ObjectID=0x1\n", 4, Down("0x1")},
      {"P", "Parent=0x00AB\n", 4, Up("0x00ab")},
      {"S", "Type=Document\nScore=7\n", 4, Up("0007")},
      {"S", "Type=Anchor\nScore=7\n", 1, Up("")},
      {"S", "Type=Document\n", 4, Up("")},
      {"T", "Title=en:The Home\n", 4, Up("the home")},
      {"T", "Title=de:M\xe4rz\n", 4, Up("maerz")},
      {"-T", "Title=en:Home\n", 4, Down("home")},
      {"t", "", 5, Up("F")},
      {"t", "", 0, Up("A")},
      {"X", "Title=en:Home\n", 4, Up("")},
      {"", "Title=en:Home\n", 4, ""},
      {"--T", "Title=en:a\n", 4, Down("a")},
      {"-", "Title=en:a\n", 4, ""},
      // "-" reaches only the next letter.
      {"-CT", "TimeCreated=96/05/01 10:00:00\nTitle=en:Home\n", 4,
       Down("1996/05/01 10:00:00") + Up("home")},
      {"#CT", "Sequence=12\nTimeCreated=96/05/01 10:00:00\nTitle=en:Home\n", 4,
       Up("0000000012") + Up("1996/05/01 10:00:00") + Up("home")},
  };
  for (const Case& c : cases) {
    RecordObject object(c.record, c.classCode);
    const std::string key = BuildSortKey(object, c.order).str();
    EXPECT_EQ(Hex(key), Hex(c.key)) << "order '" << c.order << "' record " << c.record;
  }
}

TEST(SortKeys, ComparisonIsSignedBytesWithPrefixesFirst) {
  struct Case {
    std::string a;
    std::string b;
    bool lessOrEqual;
  };
  const Case cases[] = {
      {"abc", "abc", true},
      {"ab", "abc", true},       // a prefix comes first
      {"abc", "ab", false},
      {"abd", "abc", false},
      {"", "", true},
      {"", "a", true},
      {"\xe9", "a", true},       // bytes 0x80-0xFF are negative: before ASCII
      {"a", "\xe9", false},
      {"\xff", "\x01", true},
      {"\x80", "\xff", true},
      {"ab\xe9", "ab", true},    // a negative byte sorts before the end of b
      {std::string("a\0z", 3), "a", true},  // a NUL ends a key
  };
  for (const Case& c : cases)
    EXPECT_EQ(SortKeyLessOrEqual(CString(c.a), CString(c.b)), c.lessOrEqual)
        << Hex(c.a) << "<= " << Hex(c.b);
}

// Keys ordered as their values should be, ascending and descending, for
// values that are prefixes of each other, signed numbers and times on both
// sides of 2000.
TEST(SortKeys, KeysOrderValuesBothWays) {
  struct Case {
    const char* letter;
    const char* key;
    std::vector<const char*> ascending;  // values in ascending order
  };
  const Case cases[] = {
      {"T", "Title=", {"chapter 1", "chapter 10", "chapter 2", "chapters", "x"}},
      {"#", "Sequence=", {"-2147483648", "-1000000000", "-10", "-2", "0", "5", "999999999",
                          "1000000000", "2147483647"}},
      {"C", "TimeCreated=", {"5/01/01 00:00:00", "96/05/01 10:00:00", "99/12/31 23:59:59",
                              "100/01/01 00:00:00", "101/06/01 08:00:00", "124/01/01 00:00:00"}},
      {"I", "ObjectID=", {"0x1", "0x10", "0x1a", "0x2"}},
  };
  for (const Case& c : cases) {
    for (const bool descending : {false, true}) {
      const CString order = descending ? CString("-") + c.letter : CString(c.letter);
      std::vector<CString> keys;
      for (const char* value : c.ascending) {
        RecordObject object((std::string(c.key) + value + "\n").c_str());
        keys.push_back(BuildSortKey(object, order));
      }
      for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t j = 0; j < keys.size(); ++j) {
          if (i == j) continue;
          const bool before = descending ? j < i : i < j;
          EXPECT_EQ(SortKeyLessOrEqual(keys[i], keys[j]), before)
              << order.str() << ": " << c.ascending[i] << " vs " << c.ascending[j];
        }
      }
    }
  }
}

}  // namespace
