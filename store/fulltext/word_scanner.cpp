#include "store/fulltext/word_scanner.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "store/fulltext/char_class.h"
#include "store/fulltext/fold.h"
#include "store/fulltext/phonetic_tables.h"

namespace {

// Where the brace that closes the one before `at` ends; the end of the text
// when it never comes.
size_t pastClosingBrace(std::string_view text, size_t at) {
  int depth = 1;
  for (; at < text.size(); ++at) {
    if (text[at] == '{') ++depth;
    if (text[at] == '}' && --depth == 0) return at + 1;
  }
  return text.size();
}

bool startsWith(std::string_view text, size_t at, std::string_view what) {
  return text.substr(at, what.size()) == what;
}

}  // namespace

int WordScanner::prepare(std::string_view request, PhoneticTables* phonetic, int language) {
  terms_.clear();
  std::fill(std::begin(firstChars_), std::end(firstChars_), false);
  phonetic_ = phonetic;
  language_ = language;
  size_t at = 0;
  while (at < request.size()) {
    while (at < request.size() && request[at] == ' ') ++at;
    size_t end = request.find(' ', at);
    if (end == std::string_view::npos) end = request.size();
    std::string_view word = request.substr(at, end - at);
    at = end;
    Term t;
    if (!word.empty() && word.back() == '*') {
      t.prefix = true;
      word.remove_suffix(1);
    }
    t.text = foldText(word, kCapitalsAndDigits);
    if (phonetic_ && !t.text.empty()) phonetic_->form(t.text, language_);
    if (t.text.empty()) continue;
    t.number = static_cast<int>(terms_.size());
    unsigned char first = static_cast<unsigned char>(t.text[0]);
    firstChars_[first] = true;
    firstChars_[static_cast<unsigned char>(std::tolower(first))] = true;
    terms_.push_back(std::move(t));
  }
  restart();
  return static_cast<int>(terms_.size());
}

void WordScanner::restart() {
  word_.clear();
  inWordText_ = true;
  heading_ = false;
  entry_ = -1;
  entries_ = 0;
  groups_.clear();
  pending_.clear();
  for (Term& t : terms_) t.hit = -2;
}

void WordScanner::matchWord() {
  std::string word = word_;
  if (phonetic_) phonetic_->form(word, language_);
  if (word.empty() || !firstChars_[static_cast<unsigned char>(word[0])]) return;
  for (Term& t : terms_) {
    if (t.text[0] != word[0] || (t.text.size() > 1 && (word.size() < 2 || t.text[1] != word[1]))) continue;
    bool match = t.prefix ? word.compare(0, t.text.size(), t.text) == 0 : word == t.text;
    if (!match) continue;
    t.hit = wordStart_;
    pending_.push_back(Hit{entry_, t.number, wordStart_, heading_});
  }
}

void WordScanner::endWord() {
  if (!word_.empty() && inWordText_) matchWord();
  word_.clear();
}

void WordScanner::addChar(int code, long at) {
  int second;
  int folded = charClass(code) & kOrdinaryBit ? foldChar(code, kCapitalsAndDigits, second, false) : 0;
  if (!folded) {
    endWord();
    return;
  }
  if (word_.empty()) wordStart_ = at;
  if (word_.size() < static_cast<size_t>(kMaxFoldedLength)) word_.push_back(static_cast<char>(folded));
  if (second && word_.size() < static_cast<size_t>(kMaxFoldedLength)) word_.push_back(static_cast<char>(second));
}

size_t WordScanner::skipMarkup(std::string_view text, size_t at) {
  // `at` is the backslash.
  size_t next = at + 1;
  if (startsWith(text, next, "\\")) {
    endWord();
    return next + 1;
  }
  if (startsWith(text, next, "sup{") || startsWith(text, next, "sub{")) return pastClosingBrace(text, next + 4);
  for (const char* code : {"eb", "ek", "ey", "ee"})
    if (startsWith(text, next, code))
      return text.substr(next + 2, 1) == "{" ? pastClosingBrace(text, next + 3) : std::min(next + 2, text.size());
  if (next + 1 < text.size() && text[next + 1] == '{' && std::strchr("sSuUw", text[next])) {
    if (text[next] != 'w') endWord();
    groups_.push_back(text[next]);
    return next + 2;
  }
  endWord();
  return next;
}

int WordScanner::scan(std::string_view text, const Options& options, long base, std::vector<Hit>& results) {
  size_t before = results.size();
  if (entry_ < 0) entry_ = base;
  size_t at = 0;
  while (at < text.size()) {
    unsigned char b = static_cast<unsigned char>(text[at]);
    long here = base + static_cast<long>(at);
    if (b == '@') {
      if (at + 1 >= text.size()) break;  // the marker's letter lies beyond the text
      char c = text[at + 1];
      endWord();
      at += 2;
      if (c == '1') {
        collectHits(results);
        entry_ = here;
        if (++entries_ > 1 && options.firstEntryOnly) return static_cast<int>(results.size() - before);
      } else if (c == '4') {
        inWordText_ = true;
      } else if (c == '0' || c == '2' || c == '3') {
        inWordText_ = false;
      } else if (c == 'C') {
        heading_ = true;
      } else if (c == 'D') {
        heading_ = false;
      }
      continue;
    }
    if (b == '\\') {
      at = skipMarkup(text, at);
      continue;
    }
    if (b == '}' && !groups_.empty()) {
      char kind = groups_.back();
      groups_.pop_back();
      if (kind != 'w') endWord();
      ++at;
      continue;
    }
    if (b == ';' && !groups_.empty() && groups_.back() == 'S') {
      // In an "\S{" group the text after a semicolon is passed over.
      endWord();
      groups_.pop_back();
      at = pastClosingBrace(text, at + 1);
      continue;
    }
    if (b > 160) {
      if (at + 1 >= text.size()) break;  // a lead byte without its second byte
      addChar(decodeWide((b << 8) | static_cast<unsigned char>(text[at + 1])), here);
      at += 2;
      continue;
    }
    addChar(b, here);
    ++at;
  }
  if (options.collectAtEnd) {
    endWord();
    collectHits(results);
  }
  return static_cast<int>(results.size() - before);
}

void WordScanner::collectHits(std::vector<Hit>& results) {
  bool whole = !terms_.empty();
  for (const Term& t : terms_)
    whole = whole && std::any_of(pending_.begin(), pending_.end(), [&](const Hit& h) { return h.term == t.number; });
  if (whole) results.insert(results.end(), pending_.begin(), pending_.end());
  pending_.clear();
}
