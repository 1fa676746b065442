// Suffixes that may be stripped from a word, per language, read from the
// file "SUFFIX." + the language's code. A line starting with a letter (or a
// byte of 128 or above) is an entry: the suffix, a pass limit a and a pass
// bound b ("%s %i %i", missing numbers 0); ">" sets the shortest stem left
// (default 4), "<" the most stripping passes (default 2); other lines are
// ignored. Entries are kept upper-cased and reversed (UNG as GNU), sorted so
// that the suffixes of a word's last letter lie together.
#pragma once

#include <memory>
#include <string>
#include <vector>

class SuffixTables {
 public:
  enum : int {
    kMaxSuffix = 11,       // characters kept of a suffix
    kSuffixRead = 80,      // characters read of a suffix
    kDefaultMinStem = 4,
    kDefaultPasses = 2,
  };

  struct Entry {
    int limit = 0;  // passes that may follow once this entry was taken
    int bound = 0;  // the last pass (from 0) in which it may be taken
    std::string reversed;
  };
  struct Table {
    int language = 0;
    int minStem = kDefaultMinStem;
    int passes = kDefaultPasses;
    std::vector<Entry> entries;
    int first[256];  // index of the first entry of each last letter, -1 none
  };

  // 1 when the language's table is loaded (at once when it was before); with
  // kCurrentLanguage, whether a table is current.
  int load(int language, const char* fileName = nullptr);

  // Strips suffixes from `word` (upper case) in passes: each pass cuts the
  // suffix of the first entry for the word's last letter that matches and
  // leaves at least the shortest stem. Each stem made is appended to
  // `stems`. 1 when at least one stem was made; for a single language the
  // word becomes the last stem. `minStem` and `passes` below 0 take the
  // table's; language kEveryLanguage strips with every loaded table.
  int strip(std::string& word, int minStem, int passes, int language, std::vector<std::string>* stems = nullptr);

  const Table* table(int language) const;

 private:
  bool read(Table& table, const char* fileName);
  int stripWith(const Table& table, std::string& word, int minStem, int passes, std::vector<std::string>* stems) const;

  std::vector<std::unique_ptr<Table>> tables_;
  const Table* current_ = nullptr;
};
