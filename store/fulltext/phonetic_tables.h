// Spelling-to-sound rules per language, read from "PHONEM." + the language's
// code. The file is made of sections, each opened by a line starting with
// "="; in a section, ">" sets how many leading characters plus one are kept
// as they are, "<" the length the form is cut to, "-D" that repeated
// characters collapse, and every line starting with a letter is a rule: up
// to four letters, blanks, and up to four letters or digits that replace
// them (possibly none). Sections apply one after the other, each to the
// output of the one before.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class PhoneticTables {
 public:
  enum : int {
    kMaxPattern = 4,
    kMaxWordUsed = 20,     // characters of a word a form is made from
    kDefaultLead = 1,      // lead count plus one
    kDefaultLimit = 5,
    kMaxVariantBytes = 100,
  };

  struct Rule {
    std::string pattern;
    std::string replacement;
  };
  struct Section {
    int lead = kDefaultLead;
    int limit = kDefaultLimit;
    bool collapse = false;
    std::vector<Rule> rules;  // sorted by pattern, file order among equals
  };
  struct Table {
    int language = 0;
    std::vector<Section> sections;
    std::string form;  // the form made last
  };
  // {code, text}: the spellings whose sound begins like a word's.
  using Variants = std::vector<std::pair<int, std::string>>;

  // 1 when the language's table is loaded (and now current). A file with no
  // "=" line, or with rules before its first "=" line, gives no table.
  int load(int language, const char* fileName = nullptr);

  // The phonetic form of `word`, which it then replaces; 1 when it differs
  // from the word. `language` kCurrentLanguage uses the current table,
  // kEveryLanguage each loaded table in turn on the unchanged word (the last
  // form wins). 0 and the word unchanged when there is no such table.
  int form(std::string& word, int language);

  // The spellings that the current table's rules would turn into the word's
  // beginning, starting with (1, its first letter); nothing for an empty word.
  Variants variants(const std::string& word) const;

  const Table* table(int language) const;
  const Table* current() const { return current_; }

 private:
  static bool read(Table& table, const char* fileName);
  static std::string apply(const Table& table, const std::string& word);

  std::vector<std::unique_ptr<Table>> tables_;
  Table* current_ = nullptr;
};
