#include "store/fulltext/word_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/fulltext/phonetic_tables.h"
#include "support/temp_dir.h"

namespace {

using Hits = std::vector<WordScanner::Hit>;

// The words that were hit, as "term@position" texts.
std::vector<std::string> found(const Hits& hits) {
  std::vector<std::string> out;
  for (const auto& h : hits) out.push_back(std::to_string(h.term) + "@" + std::to_string(h.position));
  return out;
}

TEST(WordScanner, TermsComeFromTheWordsOfTheRequest) {
  WordScanner s;
  EXPECT_EQ(s.prepare("  castle  velm*  -- "), 2);
  ASSERT_EQ(s.terms().size(), 2u);
  EXPECT_EQ(s.terms()[0].text, "CASTLE");
  EXPECT_FALSE(s.terms()[0].prefix);
  EXPECT_EQ(s.terms()[1].text, "VELM");
  EXPECT_TRUE(s.terms()[1].prefix);
  EXPECT_TRUE(s.startsTerm('C'));
  EXPECT_TRUE(s.startsTerm('v'));
  EXPECT_FALSE(s.startsTerm('x'));
  EXPECT_EQ(s.prepare("   "), 0);
}

TEST(WordScanner, AnEntryCountsWhenEveryTermMetIt) {
  WordScanner s;
  s.prepare("castle velm*");
  Hits hits;
  //                     0         1         2         3         4
  //                     01234567890123456789012345678901234567890123456
  std::string text = "@1Velmorian castle @1castles of Drenna @1CASTLE";
  EXPECT_EQ(s.scan(text, {}, 1000, hits), 2);
  EXPECT_EQ(found(hits), (std::vector<std::string>{"1@1002", "0@1012"}));
  EXPECT_EQ(hits[0].entry, 1000);
}

TEST(WordScanner, MarkupAndMarkersDecideWhatCounts) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> hits;
  };
  const Case cases[] = {
      {"outside word text", "@0castle @4velmor", {}},
      {"back in word text", "@0x @4castle velmor", {"0@6", "1@13"}},
      {"a passed-over superscript", "castle\\sup{2} velmor", {"0@0", "1@14"}},
      {"a marker without its brace", "\\ebcastle velmor", {"0@3", "1@10"}},
      {"a marker with its brace", "\\ee{castle} velmor", {}},
      {"a group that stays in the word", "cas\\w{tl}e velmor", {"0@0", "1@11"}},
      {"a group whose semicolon ends the text", "\\S{castle;velmor} velmor", {"0@3", "1@18"}},
      {"a counted group", "\\u{castle}velmor", {"0@3", "1@10"}},
      {"a doubled backslash", "castle\\\\velmor", {"0@0", "1@8"}},
      {"two-byte letters", "\xA1\x21" "castle velmor", {}},  // the word is ACASTLE
      {"a markup never closed", "velmor castle\\sup{x", {"1@0", "0@7"}},
      {"a lead byte at the end", "castle velmor\xB0", {"0@0", "1@7"}},
      {"a marker at the end", "castle velmor @", {"0@0", "1@7"}},
  };
  for (const Case& c : cases) {
    WordScanner s;
    s.prepare("castle velmor");
    Hits hits;
    s.scan(c.text, {}, 0, hits);
    EXPECT_EQ(found(hits), c.hits) << c.what;
  }
}

TEST(WordScanner, EntriesCarryOverPiecesAndTheFirstEntryCanBeEnough) {
  WordScanner s;
  s.prepare("castle velmor");
  Hits hits;
  WordScanner::Options go_on;
  go_on.collectAtEnd = false;
  s.scan("@1 castle\n", go_on, 0, hits);
  EXPECT_TRUE(hits.empty());
  s.scan("velmor\n@1 velmor", {}, 10, hits);
  EXPECT_EQ(found(hits), (std::vector<std::string>{"0@3", "1@10"}));

  s.restart();
  hits.clear();
  WordScanner::Options first;
  first.firstEntryOnly = true;
  s.scan("@1castle velmor @1castle velmor", first, 0, hits);
  EXPECT_EQ(found(hits), (std::vector<std::string>{"0@2", "1@9"}));
}

TEST(WordScanner, PhoneticTermsMatchWordsThatSoundAlike) {
  testing_support::TempDir dir;
  PhoneticTables tables;
  ASSERT_EQ(tables.load(4, dir.write("phonem", "=\nPH F\nY I\n").c_str()), 1);
  WordScanner s;
  s.prepare("filmor", &tables, 4);
  EXPECT_EQ(s.terms()[0].text, "FILMO");  // forms are cut to five
  Hits hits;
  s.scan("the Phylmor hills", {}, 0, hits);
  EXPECT_EQ(found(hits), (std::vector<std::string>{"0@4"}));
}

}  // namespace
