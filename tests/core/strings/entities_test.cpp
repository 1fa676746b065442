#include "core/entities.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "support/tools.h"

namespace {

TEST(EntityTable, IsSortedAndSearchable) {
  ASSERT_EQ(EntityCount(), 100);
  for (int i = 1; i < EntityCount(); ++i)
    EXPECT_LT(std::strcmp(EntityAt(i - 1).name, EntityAt(i).name), 0) << EntityAt(i).name;
  for (int i = 0; i < EntityCount(); ++i) {
    int row = -1;
    ASSERT_TRUE(FindEntity(EntityAt(i).name, row)) << EntityAt(i).name;
    EXPECT_EQ(row, i);
  }
}

TEST(EntityTable, AbsentNameGivesInsertionRow) {
  int row = -1;
  EXPECT_FALSE(FindEntity("AUML", row));
  EXPECT_GE(row, 0);
  EXPECT_LE(row, EntityCount());
  if (row > 0) EXPECT_LT(std::strcmp(EntityAt(row - 1).name, "AUML"), 0);
  if (row < EntityCount()) EXPECT_GT(std::strcmp(EntityAt(row).name, "AUML"), 0);
  EXPECT_FALSE(FindEntity("", row));
  EXPECT_EQ(row, 0);
  EXPECT_FALSE(FindEntity("zzz", row));
  EXPECT_EQ(row, EntityCount());
}

// The codes are checked against an independent table: Python's list of HTML
// entity names. Three names of ours are not in it; they are checked here.
TEST(EntityTable, CodesAgreeWithPythonHtmlEntities) {
  FILE* p = popen(
      "python3 -c 'import html.entities as h\n"
      "for k, v in h.name2codepoint.items(): print(k, v)' 2>/dev/null",
      "r");
  std::map<std::string, int> python;
  if (p) {
    char name[64];
    int code = 0;
    while (std::fscanf(p, "%63s %d", name, &code) == 2) python[name] = code;
    pclose(p);
  }
  ZEMRA_SKIP_WITHOUT(!python.empty(), "python3 is not available: the independent table is missing");

  const std::map<std::string, int> ours_only = {{"brkbar", 166}, {"Dstrok", 208}, {"hibar", 175}};
  int compared = 0;
  for (int i = 0; i < EntityCount(); ++i) {
    const EntityRow& row = EntityAt(i);
    auto found = python.find(row.name);
    if (found == python.end()) {
      auto own = ours_only.find(row.name);
      ASSERT_NE(own, ours_only.end()) << row.name << " is unknown to Python and not expected";
      EXPECT_EQ(row.code, own->second) << row.name;
      continue;
    }
    EXPECT_EQ(row.code, found->second) << row.name;
    ++compared;
  }
  EXPECT_EQ(compared, 97);
}

TEST(DecodeEntities, Cases) {
  struct Case {
    CString in;
    CString out;
  };
  const Case cases[] = {
      {"plain text", "plain text"},
      {"&auml;", "\xe4"},
      {"Gr&uuml;&szlig;e", "Gr\xfc\xdf"
                           "e"},
      {"&auml", "&auml"},           // not closed
      {"&AUML;", "&AUML;"},         // names are case-sensitive
      {"a &amp; b", "a & b"},
      {"x&lt;y&gt;", "x<y>"},
      {"&unknown;", "&unknown;"},
      {"&&auml;", "&\xe4"},
      {"end&", "end&"},
      {"&;", "&;"},
      {"&nbsp;", "\xa0"},
      {"&copy;2024", "\xa9"
                     "2024"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeEntities(c.in), c.out) << c.in.str();
}

TEST(DecodeEntities, TextWithoutAmpersandIsReturnedWhole) {
  CString withNul("a\0b", 3);
  EXPECT_EQ(DecodeEntities(withNul).str(), withNul.str());
}

TEST(FoldToAscii, Cases) {
  struct Case {
    CString in;
    CString out;
  };
  const Case cases[] = {
      {"Hello World", "hello world"},
      {"Stra&szlig;e", "strasse"},
      {"&copy; 1996", " 1996"},
      {"&Auml;rger", "aerger"},
      {"\xc4rger \xdf", "aerger ss"},
      {"a\xa0" "b", "a b"},
      {"Tom & Jerry", "tom & jerry"},
      {"A&amp;B", "a&b"},
      {"tab\there\r\n", "tabhere"},
      {"\xa9\xb5x", "x"},
      {"x&lt;Y", "x<y"},
      {CString("ab\0CD", 5), "ab"},
      {"&AUML;", "&auml;"},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldToAscii(c.in), c.out) << c.in.str();
}

TEST(FoldToAscii, OutputIsLowerCasePrintableAscii) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  CString folded = FoldToAscii(CString(all));
  for (char c : folded.str()) {
    unsigned char u = static_cast<unsigned char>(c);
    EXPECT_TRUE(u >= 32 && u < 127) << int(u);
    EXPECT_FALSE(c >= 'A' && c <= 'Z') << c;
  }
}

}  // namespace
