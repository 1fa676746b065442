// Checks that a built search query is well formed: parentheses balance,
// every operator stands between two operands (or "!" before one), no group
// is empty and every attribute test has a value. Shared by the search tests
// and the search-query fuzz target.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace query_shape {

class Checker {
 public:
  // `fullText`: words instead of attribute tests, "&" as an operator and
  // words or groups side by side allowed.
  Checker(std::string_view text, bool fullText) : t_(text), fullText_(fullText) {}

  // Empty text counts as well formed (nothing to search).
  bool wellFormed() {
    skipBlanks();
    if (pos_ == t_.size()) return true;
    if (!expr(0)) return false;
    skipBlanks();
    return pos_ == t_.size();
  }

 private:
  static constexpr size_t kMaxDepth = 4096;

  void skipBlanks() {
    if (!fullText_) return;  // blanks belong to the values of attribute tests
    while (pos_ < t_.size() && t_[pos_] == ' ') ++pos_;
  }
  bool at(std::string_view s) const { return t_.substr(pos_, s.size()) == s; }

  bool binop() {
    skipBlanks();
    for (std::string_view op : {"&&", "||", "&!"})
      if (at(op)) {
        pos_ += 2;
        return true;
      }
    if (fullText_ && at("&") && !at("&!")) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool startsOperand() {
    skipBlanks();
    if (pos_ >= t_.size()) return false;
    char c = t_[pos_];
    return c == '(' || c == '!' || !isStructural(c);
  }

  bool expr(size_t depth) {
    if (depth > kMaxDepth || !unary(depth)) return false;
    for (;;) {
      size_t save = pos_;
      if (binop()) {
        if (!unary(depth)) return false;
      } else if (fullText_ && startsOperand()) {
        if (!unary(depth)) return false;
      } else {
        pos_ = save;
        return true;
      }
    }
  }

  bool unary(size_t depth) {
    skipBlanks();
    if (at("!")) ++pos_;
    skipBlanks();
    if (at("(")) {
      ++pos_;
      if (!expr(depth + 1)) return false;
      skipBlanks();
      if (!at(")")) return false;
      ++pos_;
      return true;
    }
    return fullText_ ? word() : test();
  }

  static bool isStructural(char c) {
    return c == '&' || c == '|' || c == '!' || c == '(' || c == ')';
  }

  std::string_view run() {
    size_t start = pos_;
    while (pos_ < t_.size() && !isStructural(t_[pos_]) && !(fullText_ && t_[pos_] == ' ')) ++pos_;
    return t_.substr(start, pos_ - start);
  }

  static bool blank(std::string_view v) {
    for (char c : v)
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
  }

  bool word() { return !run().empty(); }

  // Key "=" value with a value that is not blank; a title's value is a
  // language code (possibly empty), ":" and the text; a time ends in "^".
  bool test() {
    std::string_view item = run();
    size_t eq = item.find('=');
    if (eq == std::string_view::npos || eq == 0) return false;
    std::string_view key = item.substr(0, eq);
    for (char c : key)
      if (!std::isalpha(static_cast<unsigned char>(c))) return false;
    std::string_view value = item.substr(eq + 1);
    if (key == "Title") {
      size_t colon = value.find(':');
      if (colon == std::string_view::npos || colon > 2) return false;
      value = value.substr(colon + 1);
    } else if (key == "TimeCreated") {
      if (value.empty() || value.back() != '^') return false;
      value.remove_suffix(1);
    }
    return !blank(value);
  }

  std::string_view t_;
  bool fullText_;
  size_t pos_ = 0;
};

inline bool attributeQueryWellFormed(std::string_view q) { return Checker(q, false).wellFormed(); }
inline bool fullTextQueryWellFormed(std::string_view q) { return Checker(q, true).wellFormed(); }

}  // namespace query_shape
