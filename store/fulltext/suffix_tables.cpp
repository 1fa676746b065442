#include "store/fulltext/suffix_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/line_reader.h"
#include "store/fulltext/language_file.h"

namespace {

// Whether entry `e` comes before a new entry `n`: lower over the shorter
// length, or equal there and not longer (so equal suffixes keep file order).
bool before(const SuffixTables::Entry& e, const SuffixTables::Entry& n) {
  size_t k = std::min(e.reversed.size(), n.reversed.size());
  int c = std::memcmp(e.reversed.data(), n.reversed.data(), k);
  if (c != 0) return c < 0;
  return e.reversed.size() <= n.reversed.size();
}

}  // namespace

const SuffixTables::Table* SuffixTables::table(int language) const {
  for (const auto& t : tables_)
    if (t->language == language) return t.get();
  return nullptr;
}

bool SuffixTables::read(Table& table, const char* fileName) {
  LineReader reader;
  if (!openLanguageFile(reader, "SUFFIX.", table.language, fileName)) return false;
  for (; !reader.atEnd(); reader.readLine()) {
    const char* line = reader.line();
    unsigned char c = static_cast<unsigned char>(line[0]);
    if (c == '>') {
      table.minStem = headerNumber(line + 1);
    } else if (c == '<') {
      table.passes = headerNumber(line + 1);
    } else if (isLetterOrHigh(c)) {
      char suffix[kSuffixRead + 1] = {};
      Entry e;
      if (std::sscanf(line, "%80s %i %i", suffix, &e.limit, &e.bound) < 1) continue;
      std::string s(suffix, std::min(std::strlen(suffix), static_cast<size_t>(kMaxSuffix)));
      for (auto it = s.rbegin(); it != s.rend(); ++it)
        e.reversed.push_back(static_cast<char>(upperLatin1(static_cast<unsigned char>(*it))));
      auto at = std::find_if(table.entries.begin(), table.entries.end(),
                             [&](const Entry& x) { return !before(x, e); });
      table.entries.insert(at, std::move(e));
    }
  }
  std::fill(std::begin(table.first), std::end(table.first), -1);
  for (size_t i = table.entries.size(); i-- > 0;)
    table.first[static_cast<unsigned char>(table.entries[i].reversed[0])] = static_cast<int>(i);
  return !table.entries.empty();
}

int SuffixTables::load(int language, const char* fileName) {
  if (language == kCurrentLanguage) return current_ ? 1 : 0;
  if (const Table* t = table(language)) {
    current_ = t;
    return 1;
  }
  auto t = std::make_unique<Table>();
  t->language = language;
  if (!read(*t, fileName)) return 0;
  current_ = t.get();
  tables_.push_back(std::move(t));
  return 1;
}

int SuffixTables::stripWith(const Table& table, std::string& word, int minStem, int passes,
                            std::vector<std::string>* stems) const {
  int shortest = minStem >= 0 ? minStem : table.minStem;
  int left = passes >= 0 && passes < table.passes ? passes : table.passes;
  std::string stem = word;
  bool made = false;
  for (int pass = 0; left > 0; ++pass) {
    if (stem.empty()) break;
    unsigned char last = static_cast<unsigned char>(stem.back());
    if (last < 'A' || table.first[last] < 0) break;
    const Entry* taken = nullptr;
    for (size_t i = static_cast<size_t>(table.first[last]);
         i < table.entries.size() && static_cast<unsigned char>(table.entries[i].reversed[0]) == last; ++i) {
      const Entry& e = table.entries[i];
      size_t n = e.reversed.size();
      // The suffix must leave at least the shortest stem.
      if (stem.size() < n || static_cast<int>(stem.size() - n) < shortest) continue;
      if (std::equal(e.reversed.begin(), e.reversed.end(), stem.rbegin()) && e.bound >= pass) {
        taken = &e;
        break;
      }
    }
    if (!taken) break;
    stem.resize(stem.size() - taken->reversed.size());
    if (stems) stems->push_back(stem);
    made = true;
    left = taken->limit < left ? taken->limit : left - 1;
  }
  if (made) word = stem;
  return made ? 1 : 0;
}

int SuffixTables::strip(std::string& word, int minStem, int passes, int language, std::vector<std::string>* stems) {
  if (language != kEveryLanguage) {
    const Table* t = language == kCurrentLanguage ? current_ : table(language);
    return t ? stripWith(*t, word, minStem, passes, stems) : 0;
  }
  int made = 0;
  for (const auto& t : tables_) {
    std::string copy = word;
    made |= stripWith(*t, copy, minStem, passes, stems);
  }
  return made;
}
