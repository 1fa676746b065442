// The rule files shipped in the home directory load and sound and stem the
// words of their language as meant.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/fulltext/language_file.h"
#include "store/fulltext/phonetic_tables.h"
#include "store/fulltext/suffix_tables.h"

namespace {

std::string shipped(const char* name) { return std::string(ZEMRA_SOURCE_DIR) + "/data/" + name; }

TEST(ShippedTables, NamesThatSoundAlikeShareAForm) {
  PhoneticTables tables;
  ASSERT_EQ(tables.load(kGerman, shipped("PHONEM.deu").c_str()), 1);
  ASSERT_EQ(tables.load(kEnglish, shipped("PHONEM.enu").c_str()), 1);
  struct Case {
    int language;
    const char* a;
    const char* b;
    const char* form;
  };
  const Case cases[] = {
      {kGerman, "Schmidt", "Schmitt", "SMT"},
      {kGerman, "Meier", "Mayer", "MR"},
      {kEnglish, "Philip", "Filip", "FLP"},
      {kEnglish, "Knight", "Night", "NFT"},
  };
  for (const Case& c : cases) {
    std::string a = c.a, b = c.b;
    tables.form(a, c.language);
    tables.form(b, c.language);
    EXPECT_EQ(a, c.form) << c.a;
    EXPECT_EQ(b, c.form) << c.b;
  }
}

TEST(ShippedTables, WordsLoseTheirEndings) {
  SuffixTables tables;
  ASSERT_EQ(tables.load(kGerman, shipped("SUFFIX.deu").c_str()), 1);
  ASSERT_EQ(tables.load(kEnglish, shipped("SUFFIX.enu").c_str()), 1);
  struct Case {
    int language;
    const char* word;
    std::vector<std::string> stems;
  };
  const Case cases[] = {
      {kGerman, "HOFFNUNGEN", {"HOFFNUNGE", "HOFFNUNG", "HOFFN"}},
      {kGerman, "HAUS", {}},
      {kEnglish, "WALKING", {"WALK"}},
      {kEnglish, "HOUSES", {"HOUSE"}},
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    std::vector<std::string> stems;
    tables.strip(word, -1, -1, c.language, &stems);
    EXPECT_EQ(stems, c.stems) << c.word;
  }
}

}  // namespace
