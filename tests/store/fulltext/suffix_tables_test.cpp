#include "store/fulltext/suffix_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/fulltext/language_file.h"
#include "support/temp_dir.h"

namespace {

class SuffixFile : public ::testing::Test {
 protected:
  int load(const std::string& text, int language = kGerman) {
    std::string path = dir_.write("suffix.txt", text);
    return tables_.load(language, path.c_str());
  }
  testing_support::TempDir dir_;
  SuffixTables tables_;
};

TEST_F(SuffixFile, StripsInPassesLeavingTheShortestStem) {
  ASSERT_EQ(load("en 1 1\nkeit 1 1\nlich 0 1\ne 0 0\n# a note\n"), 1);
  struct Case {
    const char* word;
    std::vector<std::string> stems;
  };
  const Case cases[] = {
      {"FREUNDLICHKEITEN", {"FREUNDLICHKEIT", "FREUNDLICH"}},
      {"HUNDE", {"HUND"}},     // five letters lose one: four stay
      {"HUNDEN", {"HUND"}},
      {"TASSEEN", {"TASSE"}},  // E may only be cut in the first pass
      {"WAGEN", {}},           // EN would leave three
      {"STADT", {}},           // KEIT does not match
      {"123", {}},             // not a letter
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    std::vector<std::string> stems;
    EXPECT_EQ(tables_.strip(word, -1, -1, kGerman, &stems), c.stems.empty() ? 0 : 1) << c.word;
    EXPECT_EQ(stems, c.stems) << c.word;
    EXPECT_EQ(word, c.stems.empty() ? std::string(c.word) : c.stems.back()) << c.word;
  }
  // The caller's bounds: one pass, or a shorter stem allowed.
  std::string word = "FREUNDLICHKEITEN";
  std::vector<std::string> stems;
  tables_.strip(word, -1, 1, kGerman, &stems);
  EXPECT_EQ(stems, std::vector<std::string>{"FREUNDLICHKEIT"});
  word = "WAGEN";
  EXPECT_EQ(tables_.strip(word, 3, -1, kGerman), 1);
  EXPECT_EQ(word, "WAG");
}

TEST_F(SuffixFile, HeaderLinesSetStemAndPassesDefaultsOtherwise) {
  ASSERT_EQ(load("ung 2 2\n"), 1);
  EXPECT_EQ(tables_.table(kGerman)->minStem, 4);
  EXPECT_EQ(tables_.table(kGerman)->passes, 2);
  SuffixTables other;
  std::string path = dir_.write("s2.txt", ">  6\n<1\nung 2 2\n>x\n");
  ASSERT_EQ(other.load(kEnglish, path.c_str()), 1);
  EXPECT_EQ(other.table(kEnglish)->minStem, 0);  // the last ">" line has no digits
  EXPECT_EQ(other.table(kEnglish)->passes, 1);
  EXPECT_EQ(other.load(kCurrentLanguage), 1);
}

TEST_F(SuffixFile, EntriesAreSortedReversedAndKeepTheirSlot) {
  ASSERT_EQ(load("ung 0 0\nung 1 1\nen 1 1\nn 1 1\n" + std::string(100, 'x') + " 1 1\n"), 1);
  const SuffixTables::Table* t = tables_.table(kGerman);
  ASSERT_EQ(t->entries.size(), 5u);
  std::vector<std::string> order;
  for (const auto& e : t->entries) order.push_back(e.reversed);
  EXPECT_EQ(order, (std::vector<std::string>{"GNU", "GNU", "N", "NE", std::string(11, 'X')}));
  EXPECT_EQ(t->entries[0].limit, 0);  // equal suffixes keep file order
  EXPECT_EQ(t->entries[1].limit, 1);
  EXPECT_EQ(t->first['N'], 2);
  EXPECT_EQ(t->first['A'], -1);
}

TEST_F(SuffixFile, AFileWithoutEntriesOrMissingGivesNoTable) {
  EXPECT_EQ(load("> 3\n< 2\n"), 0);
  EXPECT_EQ(tables_.load(kEnglish, dir_.file("absent").c_str()), 0);
  std::string word = "HUNDE";
  EXPECT_EQ(tables_.strip(word, -1, -1, kEnglish), 0);
  EXPECT_EQ(word, "HUNDE");
}

}  // namespace
