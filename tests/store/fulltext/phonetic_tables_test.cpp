#include "store/fulltext/phonetic_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "store/fulltext/language_file.h"
#include "support/temp_dir.h"

namespace {

// Two sections: the first keeps the first letter, drops A and E, sounds S
// as Z and stops at six characters; the second turns Z back into S,
// collapses repeats and cuts the form to four.
const char* kRules =
    "; sounds\n"
    "=\n"
    ">2\n"
    "<6\n"
    "PH F\n"
    "SCH S\n"
    "S Z\n"
    "ck K\n"
    "A\n"
    "E\n"
    "=\n"
    "-D\n"
    "<4\n"
    "Z S\n";

class PhoneticFile : public ::testing::Test {
 protected:
  int load(const std::string& text, int language = kGerman) {
    std::string path = dir_.write("phonem" + std::to_string(language), text);
    return tables_.load(language, path.c_str());
  }
  testing_support::TempDir dir_;
  PhoneticTables tables_;
};

TEST_F(PhoneticFile, SectionsTurnWordsIntoForms) {
  ASSERT_EQ(load(kRules), 1);
  ASSERT_EQ(tables_.table(kGerman)->sections.size(), 2u);
  struct Case {
    const char* word;
    const char* form;
  };
  const Case cases[] = {
      {"phase", "PHS"},       // the first letter is kept, A and E go, S sounds Z and back
      {"SCHWESTER", "SCHW"},  // the first section stops at six, the last cuts to four
      {"ASSESS", "AS"},       // repeats collapse
      {"PSCHA", "PS"},        // the longest pattern wins
      {"P", "P"},
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(tables_.form(word, kGerman), std::string(c.word) != c.form ? 1 : 0) << c.word;
    EXPECT_EQ(word, c.form) << c.word;
  }
}

TEST_F(PhoneticFile, FormsStopAtTwentyCharactersAndMayPassThemOnce) {
  ASSERT_EQ(load("=\n<30\nB BBB\nC CCCC\n"), 1);
  std::string word = std::string(10, 'B');
  tables_.form(word, kGerman);
  EXPECT_EQ(word, std::string(21, 'B'));
  word = std::string(30, 'C');
  tables_.form(word, kGerman);
  EXPECT_EQ(word, std::string(20, 'C'));
}

TEST_F(PhoneticFile, FilesThatDoNotFollowTheSectionLayoutAreRefused) {
  EXPECT_EQ(load("PH F\n=\nV F\n"), 0);
  EXPECT_EQ(load("PH F\n", kEnglish), 0);
  EXPECT_EQ(tables_.load(kEnglish, dir_.file("absent").c_str()), 0);
  std::string word = "PHASE";
  EXPECT_EQ(tables_.form(word, kGerman), 0);
  EXPECT_EQ(word, "PHASE");
  // An "=" after the last rule opens nothing.
  EXPECT_EQ(load("=\nPH F\n=\n", 9), 1);
  EXPECT_EQ(tables_.table(9)->sections.size(), 1u);
}

TEST_F(PhoneticFile, LongRuleTextsKeepFourCharacters) {
  ASSERT_EQ(load("=\nabcdefgh 123456789\nx\tq\n"), 1);
  const auto& rules = tables_.table(kGerman)->sections[0].rules;
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0].pattern, "ABCD");
  EXPECT_EQ(rules[0].replacement, "1234");
  EXPECT_EQ(rules[1].pattern, "X");  // a tab ends the blanks: no replacement
  EXPECT_EQ(rules[1].replacement, "");
}

TEST_F(PhoneticFile, EveryLoadedTableFormsTheUnchangedWordAndTheCurrentOneStays) {
  ASSERT_EQ(load("=\nPH F\n", kGerman), 1);
  ASSERT_EQ(load("=\nF V\n", kEnglish), 1);
  ASSERT_EQ(load("=\nQ K\n", kGerman), 1);  // loaded already: made current again
  std::string word = "PHONE";
  EXPECT_EQ(tables_.form(word, kEveryLanguage), 1);
  EXPECT_EQ(word, "PHONE");  // the English rule changes nothing in PHONE
  EXPECT_EQ(tables_.table(kGerman)->form, "FONE");
  EXPECT_EQ(tables_.current()->language, kGerman);
  word = "FONE";
  EXPECT_EQ(tables_.form(word, kCurrentLanguage), 0);
}

TEST_F(PhoneticFile, VariantsAreTheSpellingsOfTheWordsBeginning) {
  ASSERT_EQ(load("=\nPH F\nV F\nPH F\nQU KW\n"), 1);
  PhoneticTables::Variants v = tables_.variants("film");
  EXPECT_EQ(v, (PhoneticTables::Variants{{1, "F"}, {1, "PH"}, {1, "V"}}));
  v = tables_.variants("KWARK");
  EXPECT_EQ(v, (PhoneticTables::Variants{{1, "K"}, {2, "QU"}}));
  EXPECT_TRUE(tables_.variants("").empty());

  std::string many = "=\n";
  for (int i = 0; i < 60; ++i) many += std::string{'P', static_cast<char>('A' + i % 26), static_cast<char>('A' + i / 26)} + " F\n";
  ASSERT_EQ(load(many, kEnglish), 1);
  v = tables_.variants("F");
  size_t bytes = 2;
  for (const auto& e : v) bytes += e.second.size() + 2;
  EXPECT_LE(bytes, 100u);
  EXPECT_GT(v.size(), 10u);
}

}  // namespace
