#include "store/fulltext/phonetic_tables.h"

#include <algorithm>
#include <cctype>

#include "core/line_reader.h"
#include "store/fulltext/language_file.h"

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(upperLatin1(static_cast<unsigned char>(c)));
  return s;
}

bool lessBytes(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

// A rule line: the pattern is the run of letters at its start, the
// replacement the run of letters and digits after the blanks that follow.
PhoneticTables::Rule parseRule(const char* line) {
  PhoneticTables::Rule rule;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
  for (; isLetterOrHigh(*p); ++p)
    if (rule.pattern.size() < PhoneticTables::kMaxPattern) rule.pattern.push_back(static_cast<char>(*p));
  while (*p == ' ') ++p;
  for (; isLetterOrHigh(*p) || std::isdigit(*p); ++p)
    if (rule.replacement.size() < PhoneticTables::kMaxPattern) rule.replacement.push_back(static_cast<char>(*p));
  rule.pattern = upper(rule.pattern);
  rule.replacement = upper(rule.replacement);
  return rule;
}

void addRule(PhoneticTables::Section& section, PhoneticTables::Rule rule) {
  auto at = std::upper_bound(section.rules.begin(), section.rules.end(), rule.pattern,
                             [](const std::string& p, const PhoneticTables::Rule& r) { return lessBytes(p, r.pattern); });
  section.rules.insert(at, std::move(rule));
}

// The rule whose pattern is the longest one found at `text`'s start.
const PhoneticTables::Rule* findRule(const PhoneticTables::Section& section, const std::string& text, size_t at) {
  for (size_t n = std::min(static_cast<size_t>(PhoneticTables::kMaxPattern), text.size() - at); n > 0; --n) {
    std::string piece = text.substr(at, n);
    auto it = std::lower_bound(section.rules.begin(), section.rules.end(), piece,
                               [](const PhoneticTables::Rule& r, const std::string& p) { return lessBytes(r.pattern, p); });
    if (it != section.rules.end() && it->pattern == piece) return &*it;
  }
  return nullptr;
}

}  // namespace

const PhoneticTables::Table* PhoneticTables::table(int language) const {
  for (const auto& t : tables_)
    if (t->language == language) return t.get();
  return nullptr;
}

bool PhoneticTables::read(Table& table, const char* fileName) {
  LineReader reader;
  if (!openLanguageFile(reader, "PHONEM.", table.language, fileName)) return false;
  Section section;
  bool opened = false;  // an "=" line was met
  for (; !reader.atEnd(); reader.readLine()) {
    const char* line = reader.line();
    unsigned char c = static_cast<unsigned char>(line[0]);
    if (c == '=') {
      // The "=" line ends a section only once it holds a rule.
      if (!section.rules.empty()) {
        table.sections.push_back(std::move(section));
        section = Section();
      }
      opened = true;
    } else if (c == '>') {
      section.lead = headerNumber(line + 1);
    } else if (c == '<') {
      section.limit = headerNumber(line + 1);
    } else if (c == '-' && (line[1] == 'D' || line[1] == 'd')) {
      section.collapse = true;
    } else if (isLetterOrHigh(c)) {
      // Rules before the first section line describe a section the file
      // does not count: such a file is refused.
      if (!opened) return false;
      addRule(section, parseRule(line));
    }
  }
  if (!section.rules.empty()) table.sections.push_back(std::move(section));
  return opened && !table.sections.empty();
}

int PhoneticTables::load(int language, const char* fileName) {
  for (const auto& t : tables_)
    if (t->language == language) {
      current_ = t.get();
      return 1;
    }
  auto t = std::make_unique<Table>();
  t->language = language;
  if (!read(*t, fileName)) return 0;
  current_ = t.get();
  tables_.push_back(std::move(t));
  return 1;
}

std::string PhoneticTables::apply(const Table& table, const std::string& word) {
  std::string input = upper(word.substr(0, kMaxWordUsed));
  for (size_t s = 0; s < table.sections.size(); ++s) {
    const Section& section = table.sections[s];
    bool last = s + 1 == table.sections.size();
    std::string out;
    size_t at = 0;
    for (int kept = 1; kept < section.lead && at < input.size(); ++kept) out.push_back(input[at++]);
    while (at < input.size()) {
      if (const Rule* rule = findRule(section, input, at)) {
        out += rule->replacement;
        at += rule->pattern.size();
      } else {
        out.push_back(input[at++]);
      }
      if (out.size() >= static_cast<size_t>(kMaxWordUsed)) break;
      if (!last && out.size() >= static_cast<size_t>(section.limit)) break;
    }
    if (section.collapse) {
      std::string kept;
      for (char c : out)
        if (kept.empty() || kept.back() != c) kept.push_back(c);
      out = std::move(kept);
    }
    if (last && out.size() >= static_cast<size_t>(section.limit)) out.resize(static_cast<size_t>(section.limit));
    input = std::move(out);
    if (input.empty()) break;
  }
  return input;
}

int PhoneticTables::form(std::string& word, int language) {
  if (language == kEveryLanguage) {
    int differs = 0;
    std::string result = word;
    for (const auto& t : tables_) {
      if (t->sections.empty()) continue;
      t->form = apply(*t, word);
      differs |= t->form != word;
      result = t->form;
    }
    word = result;
    return differs;
  }
  Table* t = language == kCurrentLanguage ? current_ : const_cast<Table*>(table(language));
  if (!t || t->sections.empty()) return 0;
  t->form = apply(*t, word);
  int differs = t->form != word;
  word = t->form;
  return differs;
}

PhoneticTables::Variants PhoneticTables::variants(const std::string& word) const {
  Variants list;
  if (word.empty()) return list;
  std::string w = upper(word);
  // Each entry costs its code, its text and a NUL; the list ends with an
  // empty entry.
  size_t bytes = 2;
  auto add = [&](int code, const std::string& text) {
    if (std::any_of(list.begin(), list.end(), [&](const auto& v) { return v.second == text; })) return;
    if (bytes + text.size() + 2 > static_cast<size_t>(kMaxVariantBytes)) return;
    bytes += text.size() + 2;
    list.emplace_back(code, text);
  };
  add(1, w.substr(0, 1));
  if (!current_) return list;
  for (auto s = current_->sections.rbegin(); s != current_->sections.rend(); ++s) {
    std::vector<std::string> sounds;
    for (const auto& v : list) sounds.push_back(v.second);
    for (size_t n = 2; n <= std::min(w.size(), static_cast<size_t>(kMaxPattern)); ++n) sounds.push_back(w.substr(0, n));
    for (const std::string& sound : sounds)
      for (const Rule& rule : s->rules)
        if (rule.replacement == sound) add(static_cast<int>(rule.replacement.size()), rule.pattern);
  }
  return list;
}
