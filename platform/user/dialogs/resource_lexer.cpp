#include "resource_lexer.h"

namespace win::user {
namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Token ResourceLexer::Fail(const char* why) {
  if (error_.empty()) error_ = "line " + std::to_string(line_) + ": " + why;
  pos_ = text_.size();
  return Token{Token::Kind::End, 0, {}, 0, line_};
}

void ResourceLexer::SkipBlanksAndComments() {
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
      lineStart_ = true;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
      while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
      const size_t end = text_.find("*/", pos_ + 2);
      if (end == std::string_view::npos) {
        Fail("comment not closed");
        return;
      }
      for (size_t i = pos_; i < end; ++i)
        if (text_[i] == '\n') ++line_;
      pos_ = end + 2;
    } else {
      return;
    }
  }
}

Token ResourceLexer::Next() {
  if (!error_.empty()) return Token{Token::Kind::End, 0, {}, 0, line_};
  SkipBlanksAndComments();
  if (!error_.empty() || pos_ >= text_.size()) return Token{Token::Kind::End, 0, {}, 0, line_};
  const bool atLineStart = lineStart_;
  lineStart_ = false;
  Token t;
  t.line = line_;
  const char c = text_[pos_];

  if (c == '#' && atLineStart) {
    // A directive runs to the end of its line.
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    t.kind = Token::Kind::Directive;
    t.text = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
    if (!t.text.empty() && t.text.back() == '\r') t.text.pop_back();
    pos_ = end;
    return t;
  }
  if (c >= '0' && c <= '9') {
    std::uint64_t v = 0;
    if (c == '0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      pos_ += 2;
      size_t digits = 0;
      while (pos_ < text_.size() && HexValue(text_[pos_]) >= 0) {
        v = v * 16 + static_cast<unsigned>(HexValue(text_[pos_]));
        if (v > 0xFFFFFFFFu) return Fail("number too large");
        ++pos_;
        ++digits;
      }
      if (!digits) return Fail("hexadecimal number without digits");
    } else {
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
        v = v * 10 + static_cast<unsigned>(text_[pos_] - '0');
        if (v > 0xFFFFFFFFu) return Fail("number too large");
        ++pos_;
      }
    }
    // The C suffixes L and U mean nothing here.
    while (pos_ < text_.size() && (text_[pos_] == 'L' || text_[pos_] == 'l' || text_[pos_] == 'U' ||
                                   text_[pos_] == 'u'))
      ++pos_;
    if (pos_ < text_.size() && IsNameChar(text_[pos_])) return Fail("malformed number");
    t.kind = Token::Kind::Number;
    t.number = static_cast<std::int64_t>(v);
    return t;
  }
  if (IsNameStart(c)) {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    t.kind = Token::Kind::Name;
    t.text = std::string(text_.substr(start, pos_ - start));
    return t;
  }
  if (c == '"') {
    ++pos_;
    std::string s;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') return Fail("string not closed");
      char ch = text_[pos_++];
      if (ch == '"') {
        // "" stands for one quote.
        if (pos_ < text_.size() && text_[pos_] == '"') {
          s += '"';
          ++pos_;
          continue;
        }
        break;
      }
      if (ch == '\\' && pos_ < text_.size()) {
        const char e = text_[pos_++];
        switch (e) {
          case 'n': ch = '\n'; break;
          case 't': ch = '\t'; break;
          case 'r': ch = '\r'; break;
          case 'a': ch = '\b'; break;  // right-aligns what follows in a menu item
          case '\\': ch = '\\'; break;
          case '"': ch = '"'; break;
          case 'x': {
            int v = 0, n = 0;
            while (n < 2 && pos_ < text_.size() && HexValue(text_[pos_]) >= 0) {
              v = v * 16 + HexValue(text_[pos_++]);
              ++n;
            }
            if (!n) return Fail("\\x without digits");
            ch = static_cast<char>(v);
            break;
          }
          default: return Fail("unknown escape in string");
        }
      }
      if (s.size() >= kMaxScriptString) return Fail("string too long");
      // Templates end their strings with NUL: one inside would cut them.
      if (ch == '\0') return Fail("a string may not hold a NUL");
      s += ch;
    }
    t.kind = Token::Kind::String;
    t.text = std::move(s);
    return t;
  }
  switch (c) {
    case ',': case '|': case '(': case ')': case '{': case '}': case '-': case '+': case '~':
    case '&':
      ++pos_;
      t.kind = Token::Kind::Punct;
      t.punct = c;
      return t;
    default: return Fail("unexpected character");
  }
}

}  // namespace win::user
