#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "win/kernel.h"
#include "win/resources.h"
#include "win/string_table.h"

namespace {

TEST(StringTable, ParsesLinesEscapesAndNotes) {
  win::StringTable t = win::ParseStringTable(
      "# a note\r\n"
      "5 Information\r\n"
      "7 two\\nlines\\tand a \\\\ backslash\n"
      "8 unknown \\q escape stays\n"
      "9 \n"
      "5 second entry for 5 is ignored\n"
      "12abc not an entry\n"
      "no id here\n"
      "\n"
      "99999999999 too big\n"
      "42 last line without end");
  EXPECT_EQ(t.at(5), "Information");
  EXPECT_EQ(t.at(7), "two\nlines\tand a \\ backslash");
  EXPECT_EQ(t.at(8), "unknown \\q escape stays");
  EXPECT_EQ(t.at(9), "");
  EXPECT_EQ(t.at(42), "last line without end");
  EXPECT_EQ(t.size(), 5u);
}

TEST(StringTable, LoadStringCutsToTheBuffer) {
  // Ids 5 and 10 are the message-box captions of the program's table.
  ASSERT_STREQ(win_string_resource(10), "Error !");
  char buf[40];
  struct Case {
    int size;
    int result;
    const char* text;
  };
  const Case cases[] = {{32, 7, "Error !"}, {8, 7, "Error !"}, {7, 6, "Error "}, {2, 1, "E"}, {1, 0, ""}};
  for (const auto& c : cases) {
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(LoadString(nullptr, 10, buf, c.size), c.result) << c.size;
    EXPECT_STREQ(buf, c.text) << c.size;
    EXPECT_EQ(buf[c.size], '#') << "wrote past the buffer of " << c.size;
  }
  EXPECT_EQ(LoadString(GetModuleHandle(nullptr), 5, buf, sizeof buf), 11);
  EXPECT_STREQ(buf, "Information");
}

TEST(StringTable, RegisteredTablesAddIdsAndKeepWhatWasHandedOut) {
  // The program's table is registered before main; a later table adds what
  // is new, and an id already there keeps its text and its place.
  const char* before = win_string_resource(10);
  ASSERT_STREQ(before, "Error !");
  win::RegisterStringTable("10 Replaced\n64001 Added later\n");
  EXPECT_EQ(win_string_resource(10), before);
  EXPECT_STREQ(win_string_resource(10), "Error !");
  EXPECT_STREQ(win_string_resource(64001), "Added later");
  for (int i = 0; i < 2000; ++i) win::RegisterStringTable(std::to_string(62000 + i) + " filler\n");
  EXPECT_EQ(win_string_resource(10), before);
}

TEST(StringTable, UnknownIdGivesNothing) {
  char buf[8] = "stale";
  EXPECT_EQ(LoadString(nullptr, 65000, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(win_string_resource(65000), nullptr);
  EXPECT_EQ(LoadString(nullptr, 5, buf, 0), 0);
  EXPECT_EQ(LoadString(nullptr, 5, nullptr, 8), 0);
}

}  // namespace
