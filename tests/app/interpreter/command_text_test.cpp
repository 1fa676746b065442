// The lexical routines of command lines: what each reads, and where it
// leaves the cursor.
#include <gtest/gtest.h>

#include <string>

#include "app/interpreter/command_text.h"
#include "core/screen_geometry.h"

namespace {

using namespace command_text;

// How many characters of the text the routine passed.
template <class Read>
auto ReadFrom(const char* text, Read read, int* passed) {
  const char* cursor = text;
  auto value = read(&cursor);
  *passed = static_cast<int>(cursor - text);
  return value;
}

TEST(CommandTextTest, IdentifiersAndSpace) {
  struct Case {
    const char* text;
    const char* word;
    int passed;
  };
  const Case cases[] = {
      {"  goto Vela", "goto", 6},
      {"\t\r\n\v\fback", "back", 9},
      {"3d_view.caption", "3d_view", 7},  // a run may begin with a digit
      {".caption", "", 0},
      {"   ", "", 3},
      {"", "", 0},
      // Bytes above 127 are neither letters nor space, whatever the locale.
      {"caf\xE9", "caf", 3},
      {"\xA0x", "", 0},
  };
  for (const Case& c : cases) {
    int passed = -1;
    const CString word = ReadFrom(c.text, command_text::ReadIdentifier, &passed);
    EXPECT_STREQ(word, c.word) << c.text;
    EXPECT_EQ(passed, c.passed) << c.text;
  }
  // No cursor, and a cursor at nothing, are left alone.
  SkipSpace(nullptr);
  const char* none = nullptr;
  SkipSpace(&none);
  EXPECT_EQ(none, nullptr);
  EXPECT_STREQ(ReadIdentifier(&none), "");
}

TEST(CommandTextTest, Numbers) {
  SetScreenRect(RECT{0, 0, 640, 480});
  struct Case {
    const char* text;
    int value;
    int passed;
  };
  const Case cases[] = {
      {" 42 rest", 42, 3},
      {"-5", 0, 0},  // no sign
      {"99999999999999", 2147483647, 14},
      {"\"1/10\"", 48, 6},  // a tenth of the screen height
      {"\"3\" x", 3, 3},
      {"\"1/10", 0, 5},    // not closed
      {"\"1/10\nx\"", 0, 5},  // a line feed ends it unclosed
      {"abc", 0, 0},
  };
  for (const Case& c : cases) {
    int passed = -1;
    EXPECT_EQ(ReadFrom(c.text, command_text::ReadNumber, &passed), c.value) << c.text;
    EXPECT_EQ(passed, c.passed) << c.text;
  }
  ResetScreenRect();
}

TEST(CommandTextTest, Colours) {
  struct Case {
    const char* text;
    COLORREF color;
    int passed;
  };
  const Case cases[] = {
      {" 0x112233", 0x332211, 9},  // red in the low byte
      {"0xFFaa00 ", 0x00AAFF, 8},
      {"0x1234567890", 0x563412, 12},  // six digits read, all passed
      {"0xF", 0x0F0000, 3},
      {"0x", 0, 2},
      {"0X112233", 0, 0},  // lower-case x only
      {"112233", 0, 0},
  };
  for (const Case& c : cases) {
    int passed = -1;
    EXPECT_EQ(ReadFrom(c.text, command_text::ReadColor, &passed), c.color) << c.text;
    EXPECT_EQ(passed, c.passed) << c.text;
  }
}

TEST(CommandTextTest, QuotedStrings) {
  struct Case {
    const char* text;
    const char* value;
    int passed;
  };
  const Case cases[] = {
      {" \"Vela; Lyra\" x", "Vela; Lyra", 13},
      {"\"two\nlines\"", "two\nlines", 11},
      {"\"open to the end", "open to the end", 16},
      {"\"\"", "", 2},
      {"plain", "", 0},
  };
  for (const Case& c : cases) {
    int passed = -1;
    EXPECT_STREQ(ReadFrom(c.text, command_text::ReadQuotedString, &passed), c.value) << c.text;
    EXPECT_EQ(passed, c.passed) << c.text;
  }
}

TEST(CommandTextTest, ArgumentReferences) {
  struct Case {
    const char* text;
    const char* arguments;
    const char* value;
  };
  const Case cases[] = {
      {"#1", "korvex://vela/0x1,second", "korvex://vela/0x1"},
      {"#2", "one, b ,three", "b "},  // leading blank dropped, trailing kept
      {" #3", "one,two,three", "three"},
      {"#4", "one,two,three", ""},
      {"#0", "one", ""},
      {"#", "one", ""},
      {"#1", nullptr, ""},
      {"#1", "", ""},
      {"1", "one", ""},
      {"#99999999999", "one", ""},
  };
  for (const Case& c : cases) {
    const char* cursor = c.text;
    EXPECT_STREQ(ReadArgument(&cursor, c.arguments), c.value) << c.text;
  }
}

}  // namespace
