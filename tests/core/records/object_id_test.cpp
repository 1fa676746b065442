#include "core/object_id.h"

#include <gtest/gtest.h>

#include <random>

#include "win/kernel.h"

namespace {

struct ParseCase {
  const char* text;
  LONG expected;
};

// The results of the 32-bit runtime's sscanf("0x%x"), then "%ld".
const ParseCase kParseCases[] = {
    {"0x2a", 42},
    {"42", 42},
    {"-1", -1},
    {"0X2a", 0},        // capital X: the decimal form reads only the 0
    {"17abc", 17},      // text after the number is ignored
    {"abc", 0},         // no digits
    {"", 0},
    {"0", 0},
    {"0x", 0},          // end of input inside the hexadecimal form
    {"0xg", 0},         // "0x" without digits: decimal reads the 0
    {"05", 5},
    {"   42", 42},      // %ld skips leading blanks
    {"\t\n-7", -7},
    {" 0x2a", 0},       // the literal 0 of "0x%x" does not skip blanks
    {"+5", 5},
    {"- 5", 0},         // a sign must touch its digits
    {"0x0000001f", 31},
    {"0xffffffff", -1},
    {"0x80000000", static_cast<LONG>(0x80000000u)},
    {"0x-1", -1},       // %x takes a sign
    {"0x 1f", 31},      // and skips blanks before it
    {"0x0x1f", 31},     // and an inner "0x" prefix
    {"0x123456789", 0x23456789},  // hex digits beyond 32 bits shift out
    {"4294967295", -1},           // decimal wraps in 32 bits
    {"4294967296", 0},
    {"2147483648", static_cast<LONG>(0x80000000u)},
    {"-2147483648", static_cast<LONG>(0x80000000u)},
    {"12\n34", 12},
};

TEST(ObjectIdParse, MatchesTheOldScanf) {
  for (const auto& c : kParseCases) {
    EXPECT_EQ(ObjectId::Parse(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(ObjectId(c.text).value(), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(ObjectId(CString(c.text)).value(), c.expected) << '"' << c.text << '"';
  }
}

// The same two scans through the platform's scanf with the 32-bit %ld.
LONG scanLikeTheRuntime(const char* text) {
  LONG id = 0;
  unsigned hex = 0;
  int n = win_sscanf(text, "0x%x", &hex);
  if (n != 0) return n == 1 ? static_cast<LONG>(hex) : 0;
  win_sscanf(text, "%ld", &id);
  return id;
}

TEST(ObjectIdParse, AgreesWithThePlatformScanf) {
  for (const auto& c : kParseCases)
    EXPECT_EQ(ObjectId::Parse(c.text), scanLikeTheRuntime(c.text)) << '"' << c.text << '"';
}

TEST(ObjectIdParse, NullPointerGivesNoObject) {
  const char* none = nullptr;
  EXPECT_EQ(ObjectId(none).value(), 0);
  EXPECT_TRUE(ObjectId(none).isNull());
}

TEST(ObjectIdParse, ReadsOnlyTheGivenView) {
  // The view ends before the digits that follow in memory.
  const char text[] = "0x1f99";
  EXPECT_EQ(ObjectId::Parse(std::string_view(text, 3)), 1);
  EXPECT_EQ(ObjectId::Parse(std::string_view(text, 2)), 0);
}

TEST(ObjectIdFormat, EightLowerCaseDigits) {
  EXPECT_EQ(ObjectId(31).Format(), "0x0000001f");
  EXPECT_EQ(ObjectId(-1).Format(), "0xffffffff");
  EXPECT_EQ(ObjectId(0).Format(), "0x00000000");
  EXPECT_EQ(ObjectId(static_cast<LONG>(0xABCDEF01u)).Format(), "0xabcdef01");
}

TEST(ObjectIdFormat, ParsesBackToTheSameId) {
  std::mt19937 rng(101);
  std::uniform_int_distribution<LONG> any(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 2000; ++i) {
    ObjectId id(any(rng));
    EXPECT_EQ(ObjectId(id.Format()), id);
  }
}

TEST(ObjectIdCompare, SignedOrderAndNumbers) {
  ObjectId high(static_cast<LONG>(0x80000000u));
  EXPECT_LT(high, ObjectId(0));
  EXPECT_LT(ObjectId(-1), ObjectId(0));
  EXPECT_LT(ObjectId(0), ObjectId(1));
  EXPECT_TRUE(ObjectId(42) == 42);
  EXPECT_TRUE(ObjectId(42) != 41);
  EXPECT_TRUE(ObjectId(-1) < 0);
  ObjectId copy = high;
  EXPECT_EQ(copy, high);
}

}  // namespace
