// The KXHDR header: what the writer emits byte for byte, what the reader
// takes (lines in any order, unknown and broken lines, both end markers),
// the values it refuses to squeeze into 32 bits, and the two programming
// errors.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/fatal.h"
#include "net/kx_header.h"
#include "win/user.h"

namespace {

using std::string_literals::operator""s;

struct Fields {
  std::int32_t type, sz, ref, Z, ver;
};

void ExpectFields(const KxHeader& h, const Fields& f, const std::string& label) {
  EXPECT_EQ(h.type, f.type) << label;
  EXPECT_EQ(h.sz, f.sz) << label;
  EXPECT_EQ(h.ref, f.ref) << label;
  EXPECT_EQ(h.Z, f.Z) << label;
  EXPECT_EQ(h.ver, f.ver) << label;
}

constexpr std::int32_t U = KxHeader::kUnset;
constexpr std::int32_t T9 = KxHeader::kUnsetType;

TEST(KxHeaderWrite, SanitisedDefaultIsThirtySevenBytesAndReadsBack) {
  KxHeader h;
  h.ver = U;    // only sanitising sets it back to 1
  h.type = 12;  // outside 0..8: not unset, sanitised to 7
  CString out;
  h.writeString(out);
  const std::string expected = "KXHDR\nver=1\ntype=7\nsz=-1\nref=-1\nZ=0\n\0"s;
  ASSERT_EQ(out.GetLength(), 37);
  EXPECT_EQ(std::string(out.c_str(), 37), expected);
  // The header itself is not changed by writing.
  EXPECT_EQ(h.type, 12);
  EXPECT_EQ(h.ver, U);

  KxHeader back;
  EXPECT_EQ(back.read(expected.data(), static_cast<int>(expected.size())), 37);
  ExpectFields(back, {7, -1, -1, 0, 1}, "read back");
}

TEST(KxHeaderWrite, ValuesAndTheFlagsLowByte) {
  KxHeader h;
  h.type = 2;
  h.sz = 123456;
  h.ref = -7;
  h.Z = 257;  // written as its low byte
  h.ver = 3;
  char buffer[KxHeader::kMaxLength];
  int length = 0;
  h.write(buffer, length);
  const std::string expected = "KXHDR\nver=3\ntype=2\nsz=123456\nref=-7\nZ=1\n\0"s;
  ASSERT_EQ(length, static_cast<int>(expected.size()));
  EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)), expected);
}

struct ReadCase {
  const char* label;
  std::string bytes;
  int result;
  Fields fields;
};

TEST(KxHeaderRead, TableOfHeaders) {
  const std::string body = "<html>body";
  const ReadCase cases[] = {
      {"NUL end, body behind it", "KXHDR\nver=1\ntype=1\nsz=10\nref=3\nZ=1\n\0"s + body, 36,
       {1, 10, 3, 1, 1}},
      {"empty line ends it, its line feed counted", "KXHDR\nsz=5\n\nrest", 12, {T9, 5, U, U, 1}},
      {"any order, unknown key skipped, carriage return matches nothing",
       "KXHDR\nZ=0\nfoo=bar\nsz=9\r\nref=4\ntype=3\nver=2\n\0"s, 44, {3, U, 4, 0, 2}},
      {"type 12 unset, type -1 no match", "KXHDR\ntype=12\n\0"s, 15, {T9, U, U, U, 1}},
      {"negative type matches no pattern", "KXHDR\ntype=-1\n\0"s, 15, {T9, U, U, U, 1}},
      {"Z=2 matches nothing", "KXHDR\nZ=2\n\0"s, 11, {T9, U, U, U, 1}},
      {"a comma in the flag reads as 0", "KXHDR\nZ=,\n\0"s, 11, {T9, U, U, 0, 1}},
      {"a line without '=' is skipped", "KXHDR\nsz 5\nsz=6\n\0"s, 17, {T9, 6, U, U, 1}},
      {"magic alone with its NUL", "KXHDR\n\0"s, 7, {T9, U, U, U, 1}},
      {"six bytes are too few", "KXHDR\n", -1, {T9, U, U, U, 1}},
      {"magic without line feed", "KXHDR\0\0\0"s, -1, {T9, U, U, U, 1}},
      {"size line without its line feed", "KXHDR\nsz=5", -1, {T9, U, U, U, 1}},
      {"wrong magic", "KXHDX\nsz=5\n\0"s, -1, {T9, U, U, U, 1}},
      {"magic in lower case", "kxhdr\nsz=5\n\0"s, -1, {T9, U, U, U, 1}},
      {"magic with a carriage return", "KXHDR\r\nsz=5\n\0"s, -1, {T9, U, U, U, 1}},
      {"body without a header", "<html><body>hello</body></html>\n", -1, {T9, U, U, U, 1}},
      // Values the 32-bit fields cannot hold set nothing.
      {"size past 32 bits stays unset", "KXHDR\nsz=99999999999\nref=-99999999999\n\0"s, 39,
       {T9, U, U, U, 1}},
      {"type past 32 bits is outside 0..8", "KXHDR\ntype=99999999999999999999\n\0"s, 33,
       {T9, U, U, U, 1}},
      {"leading zeros keep a small size",
       "KXHDR\nsz=00000000000000000000000000000000000042\n\0"s, 49, {T9, 42, U, U, 1}},
      {"largest 32-bit size", "KXHDR\nsz=2147483647\nref=-2147483648\n\0"s, 37,
       {T9, 2147483647, INT32_MIN, U, 1}},
      {"a NUL inside a line sets nothing", "KXHDR\nsz=5\0x\n\0"s, 14, {T9, U, U, U, 1}},
      {"a line starting with NUL ends the header", "KXHDR\n\0sz=5\n"s, 7, {T9, U, U, U, 1}},
      {"a later line overrides", "KXHDR\nsz=1\nsz=2\n\0"s, 17, {T9, 2, U, U, 1}},
  };
  for (const ReadCase& c : cases) {
    KxHeader h;
    h.type = 0;  // read starts from the unset values
    EXPECT_EQ(h.read(c.bytes.data(), static_cast<int>(c.bytes.size())), c.result) << c.label;
    if (c.result > 0) ExpectFields(h, c.fields, c.label);
  }
}

TEST(KxHeaderRead, BodyStartsRightAfterTheHeader) {
  KxHeader h;
  h.type = 4;
  h.sz = 3;
  CString head;
  h.writeString(head);
  const std::string wire = std::string(head.c_str(), static_cast<size_t>(head.GetLength())) + "abc";
  KxHeader r;
  const int n = r.read(wire.data(), static_cast<int>(wire.size()));
  ASSERT_EQ(n, head.GetLength());
  EXPECT_EQ(wire.substr(static_cast<size_t>(n)), "abc");
  EXPECT_EQ(r.sz, 3);
  EXPECT_EQ(r.type, 4);
}

TEST(KxHeaderRead, ScanTellsIncompleteFromForeignAndOverlong) {
  struct Case {
    const char* label;
    std::string bytes;
    KxHeader::Scan scan;
  };
  std::string longHeader = "KXHDR\n";
  while (longHeader.size() < KxHeader::kMaxLength + 10) longHeader += "unknown=line\n";
  const Case cases[] = {
      {"nothing yet", "", KxHeader::Scan::kIncomplete},
      {"first bytes of the magic", "KXH", KxHeader::Scan::kIncomplete},
      {"magic without its line feed yet", "KXHDR", KxHeader::Scan::kIncomplete},
      {"magic and part of a line", "KXHDR\nsz=1", KxHeader::Scan::kIncomplete},
      {"foreign first byte", "<html>", KxHeader::Scan::kNotHeader},
      {"magic continued by other bytes", "KXHDRX", KxHeader::Scan::kNotHeader},
      {"NUL first", "\0KXHDR\n"s, KxHeader::Scan::kNotHeader},
      {"no end within the limit", longHeader, KxHeader::Scan::kTooLong},
      {"complete", "KXHDR\n\n", KxHeader::Scan::kComplete},
  };
  for (const Case& c : cases) {
    KxHeader h;
    int length = 0;
    EXPECT_EQ(h.scan(c.bytes.data(), static_cast<int>(c.bytes.size()), length), c.scan) << c.label;
  }
}

TEST(KxHeaderLines, GetLine) {
  const std::string s = "ab\ncd\0x"s;
  const char* b = s.data();
  const char* e = b + s.size();
  EXPECT_EQ(KxHeader::get_line_(b, e), 2);
  EXPECT_EQ(KxHeader::get_line_(b + 3, e), -1);  // "cd" has no line feed before the end
  EXPECT_EQ(KxHeader::get_line_(b + 5, e), 0);   // a NUL
  EXPECT_EQ(KxHeader::get_line_(e, e), -1);      // nothing left
  EXPECT_EQ(KxHeader::get_line_(b + 2, e), 0);   // an empty line
}

struct FatalThrown : std::runtime_error {
  FatalThrown() : std::runtime_error("fatal") {}
};

class KxHeaderAssert : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ClearMessageBoxLog();
    old_ = SetFatalExitHook([](int) { throw FatalThrown(); });
  }
  void TearDown() override {
    SetFatalExitHook(old_);
    win::ClearMessageBoxLog();
  }
  std::string lastBox() const {
    const auto& log = win::MessageBoxLog();
    return log.empty() ? std::string() : log.back().text;
  }

 private:
  FatalExitHook old_;
};

TEST_F(KxHeaderAssert, WritingAnUnsetHeaderEndsTheProgram) {
  KxHeader h;
  h.ver = 5;  // ver alone does not make a header set
  ASSERT_TRUE(h.isUnset());
  CString out;
  EXPECT_THROW(h.writeString(out), FatalThrown);
  EXPECT_EQ(lastBox().rfind("Korvex assertion failed: KxHeader::write(): this not ok; file: "
                            "KXHEADER; line: ",
                            0),
            0u)
      << lastBox();
}

TEST_F(KxHeaderAssert, LineEndBeforeStartEndsTheProgram) {
  const char data[4] = "abc";
  EXPECT_THROW(KxHeader::get_line_(data + 2, data), FatalThrown);
  EXPECT_NE(lastBox().find("KxHeader::get_line_(): already passed end of data"), std::string::npos);
}

}  // namespace
