#include "mci/command_words.h"

namespace win::mci {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

MCIERROR SplitWords(std::string_view command, std::vector<Word>* out) {
  out->clear();
  std::size_t i = 0;
  while (i < command.size()) {
    if (IsBlank(command[i])) {
      ++i;
      continue;
    }
    Word w;
    w.begin = i;
    if (command[i] == '"') {
      const std::size_t close = command.find('"', i + 1);
      if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
      w.text = std::string(command.substr(i + 1, close - i - 1));
      w.quoted = true;
      i = close + 1;
    } else {
      while (i < command.size() && !IsBlank(command[i])) ++i;
      w.text = std::string(command.substr(w.begin, i - w.begin));
    }
    w.end = i;
    out->push_back(std::move(w));
  }
  return 0;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsKeyword(const Word& word, std::string_view keyword) {
  return !word.quoted && SameWord(word.text, keyword);
}

std::optional<std::int64_t> ParseCount(const Word& word) {
  if (word.text.empty()) return std::nullopt;
  std::int64_t v = 0;
  for (char c : word.text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > 0x7FFFFFFF) return std::nullopt;
  }
  return v;
}

bool WordCursor::Take(std::string_view keyword) {
  if (AtEnd() || !IsKeyword(words_[next_], keyword)) return false;
  ++next_;
  return true;
}

bool WordCursor::TakeAll(std::initializer_list<std::string_view> keywords) {
  std::size_t at = next_;
  for (std::string_view k : keywords) {
    if (at >= words_.size() || !IsKeyword(words_[at], k)) return false;
    ++at;
  }
  next_ = at;
  return true;
}

const Word* WordCursor::Next() { return AtEnd() ? nullptr : &words_[next_++]; }

}  // namespace win::mci
