// The tokens of the style language: blanks and three kinds of comments are
// skipped, literals run between double quotes or between balanced angle
// brackets, numbers are decimal, real or 0x-hexadecimal, and the eight type
// keywords, TRUE and FALSE are recognised with their exact case.
#include <cmath>
#include <cstring>

#include "core/logbook.h"
#include "pages/style/property_table.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Keyword {
  const char* word;
  StyleToken token;
};
constexpr Keyword kKeywords[] = {
    {"Area", kTokenArea},   {"Boolean", kTokenBoolean}, {"Color", kTokenColor},
    {"const", kTokenConst}, {"String", kTokenString},   {"Value", kTokenValue},
    {"File", kTokenFile},   {"Rect", kTokenRect}};

StyleToken punctuation(char c) {
  switch (c) {
    case '(': return kTokenOpenParen;
    case ')': return kTokenCloseParen;
    case ',': return kTokenComma;
    case '.': return kTokenDot;
    case ';': return kTokenSemicolon;
    case '=': return kTokenEquals;
    case '{': return kTokenOpenBrace;
    case '}': return kTokenCloseBrace;
    default: return kTokenEnd;
  }
}

}  // namespace

StyleToken PropertyTable::NextToken() {
  saved_ = state_;
  ReadToken();
  return state_.kind;
}

void PropertyTable::UngetToken() { state_ = saved_; }

void PropertyTable::ReadToken() {
  StyleLexState& s = state_;
  s.text.Empty();
  s.real = 0.0;
  s.integer = 0;
  for (;;) {
    const char*& p = s.position;
    if (!p || !*p) {
      p = nullptr;
      s.kind = kTokenEnd;
      s.text = "end-of-file";
      return;
    }
    const char c = *p;
    if (c == ' ' || c == '\t' || c == '\r') {
      ++p;
      continue;
    }
    if (c == '\n') {
      ++p;
      ++s.line;
      continue;
    }
    if (c == '/' && p[1] == '*') {
      const char* q = p + 2;
      int lines = 0;
      while (*q && !(q[0] == '*' && q[1] == '/')) {
        if (*q == '\n') ++lines;
        ++q;
      }
      if (!*q) {
        p = nullptr;
        s.kind = kTokenEnd;
        s.text = "end-of-file";
        ReportError("comment started by /* not closed by */");
        return;
      }
      s.line += lines;
      p = q + 2;
      continue;
    }
    if ((c == '/' && p[1] == '/') || c == '\'') {
      while (*p && *p != '\n') ++p;
      continue;
    }
    if (c == '"') {
      const char* q = ++p;
      while (*q && *q != '"' && *q != '\n') ++q;
      s.kind = kTokenLiteral;
      s.text = CString(p, static_cast<int>(q - p));
      if (*q == '"') {
        p = q + 1;
      } else {
        p = q;
        ReportError("missing end of literal");
      }
      return;
    }
    if (c == '<') {
      const char* q = ++p;
      int depth = 1;
      int lines = 0;
      for (; *q; ++q) {
        if (*q == '<') ++depth;
        if (*q == '>' && --depth == 0) break;
        if (*q == '\n') ++lines;
      }
      s.kind = kTokenLiteral;
      s.text = CString(p, static_cast<int>(q - p));
      s.line += lines;
      if (*q) {
        p = q + 1;
      } else {
        p = q;
        ReportError("missing end of script");
      }
      return;
    }
    if (const StyleToken t = punctuation(c)) {
      s.kind = t;
      s.text = CString(c);
      ++p;
      return;
    }
    if (isLetter(c)) {
      ReadWord();
      return;
    }
    if (isDigit(c)) {
      ReadNumber();
      return;
    }
    s.kind = kTokenInvalid;
    s.text = CString(c);
    ReportError("invalid character");
    ++p;
  }
}

void PropertyTable::ReadWord() {
  StyleLexState& s = state_;
  const char* start = s.position;
  const char* q = start;
  while (isLetter(*q) || isDigit(*q) || *q == '_') ++q;
  s.text = CString(start, static_cast<int>(q - start));
  s.position = q;
  s.kind = kTokenIdentifier;
  for (const Keyword& k : kKeywords)
    if (s.text == k.word) s.kind = k.token;
  if (s.text == "TRUE" || s.text == "FALSE") {
    s.kind = kTokenInteger;
    s.integer = s.text == "TRUE" ? 1 : 0;
    s.real = s.integer;
  }
}

// Decimal numbers beyond the int range are held at its largest value (their
// real value stays exact); hexadecimal numbers keep their low 32 bits.
void PropertyTable::ReadNumber() {
  StyleLexState& s = state_;
  const char* start = s.position;
  const char* q = start;
  if (q[0] == '0' && q[1] == 'x' && hexDigit(q[2]) >= 0) {
    std::uint32_t v = 0;
    for (q += 2; hexDigit(*q) >= 0; ++q) v = v * 16 + static_cast<std::uint32_t>(hexDigit(*q));
    s.kind = kTokenInteger;
    s.integer = static_cast<std::int32_t>(v);
    s.real = v;
  } else {
    double whole = 0.0;
    for (; isDigit(*q); ++q) whole = whole * 10 + (*q - '0');
    if (*q == '.') {
      ++q;
      while (isDigit(*q)) ++q;
      s.kind = kTokenReal;
      s.real = std::strtod(CString(start, static_cast<int>(q - start)).c_str(), nullptr);
      s.integer = 0;
    } else {
      s.kind = kTokenInteger;
      s.real = whole;
      s.integer = whole > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(whole);
    }
  }
  s.text = CString(start, static_cast<int>(q - start));
  s.position = q;
}

void PropertyTable::ReportError(const char* message) {
  CString line;
  if (state_.kind != kTokenEnd && state_.line > 0)
    line.Format("Error in line %d at '%s': %s", static_cast<int>(state_.line),
                state_.text.c_str(), message);
  else if (state_.kind != kTokenEnd)
    line.Format("Error at '%s': %s", state_.text.c_str(), message);
  else
    line.Format("Error: %s", message);
  if (!fileName_.IsEmpty()) line = fileName_ + " " + line;
  TheLogbook().Write(line);
}

void PropertyTable::BeginText(const char* text) {
  state_ = StyleLexState{};
  saved_ = StyleLexState{};
  state_.position = text;
  constFlag_ = false;
  depth_ = 0;
}

void PropertyTable::EndText() {
  state_.position = nullptr;
  state_.kind = kTokenEnd;
  state_.line = 0;
  saved_ = StyleLexState{};
}
