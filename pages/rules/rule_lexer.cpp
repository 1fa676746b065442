#include "pages/rules/rule_lexer.h"

#include "core/logbook.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

RuleLexer::RuleLexer(const char* text) : position_(text ? text : "") {}

void RuleLexer::SkipLineEnd() {
  if (*position_ == '\r' && position_[1] == '\n') ++position_;
  ++position_;
  ++line_;
}

const char* RuleLexer::SkipToLineEnd() {
  while (*position_ && *position_ != '\n' && *position_ != '\r') ++position_;
  return position_;
}

RuleToken RuleLexer::Next() {
  text_.Empty();
  number_ = 0;
  for (;;) {
    const char* p = position_;
    const char c = *p;
    if (!c) return kind_ = kRuleEnd;
    if (c == ' ' || c == '\t') {
      ++position_;
      continue;
    }
    if (c == '\n' || c == '\r') {
      SkipLineEnd();
      continue;
    }
    if (c == '/' && p[1] == '*') {
      const char* q = p + 2;
      while (*q && !(q[0] == '*' && q[1] == '/')) {
        if (*q == '\n') ++line_;
        ++q;
      }
      if (!*q) {
        position_ = q;
        TheLogbook().Write("comment started by /* not closed by */");
        return kind_ = kRuleEnd;
      }
      position_ = q + 2;
      continue;
    }
    if ((c == '/' && p[1] == '/') || c == '\'') {
      SkipToLineEnd();
      continue;
    }
    if (isLetter(c)) {
      const char* q = p;
      while (isLetter(*q) || isDigit(*q) || *q == '_') ++q;
      text_ = CString(p, static_cast<int>(q - p));
      position_ = q;
      return kind_ = kRuleIdentifier;
    }
    if (isDigit(c)) {
      const char* q = p;
      if (q[0] == '0' && q[1] == 'x' && hexDigit(q[2]) >= 0) {
        std::uint32_t v = 0;
        for (q += 2; hexDigit(*q) >= 0; ++q) v = v * 16 + static_cast<std::uint32_t>(hexDigit(*q));
        number_ = static_cast<std::int32_t>(v);
      } else {
        long long v = 0;
        for (; isDigit(*q); ++q) v = v > INT32_MAX ? v : v * 10 + (*q - '0');
        number_ = v > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(v);
      }
      text_ = CString(p, static_cast<int>(q - p));
      position_ = q;
      return kind_ = kRuleNumber;
    }
    if (c == '"') {
      const char* q = p + 1;
      while (*q && *q != '"' && *q != '\n' && *q != '\r') ++q;
      text_ = CString(p + 1, static_cast<int>(q - p - 1));
      if (*q == '"') {
        position_ = q + 1;
      } else {
        position_ = q;
        TheLogbook().Write("missing end of literal");
      }
      return kind_ = kRuleString;
    }
    auto two = [&](RuleToken t) {
      text_ = CString(p, 2);
      position_ = p + 2;
      return kind_ = t;
    };
    auto one = [&](RuleToken t) {
      text_ = CString(c);
      position_ = p + 1;
      return kind_ = t;
    };
    switch (c) {
      case '<': return p[1] == '=' ? two(kRuleLessOrEqual) : one(kRuleLess);
      case '>': return p[1] == '=' ? two(kRuleGreaterOrEqual) : one(kRuleGreater);
      case '~': return one(kRuleMatches);
      case '&': return p[1] == '&' ? two(kRuleAnd) : one(kRuleAnd);
      case '=':
        if (p[1] == '=') return two(kRuleEqual);
        if (p[1] == '>') {
          const char* start = p + 2;
          const char* q = start;
          while (*q && *q != '\n') ++q;
          text_ = CString(start, static_cast<int>(q - start));
          position_ = q;
          return kind_ = kRuleArrow;
        }
        return one(kRuleAssign);
      case '!':
        if (p[1] == '=') return two(kRuleNotEqual);
        TheLogbook().Write("invalid character (!) maybe you want !=");
        ++position_;
        continue;
      default:
        TheLogbook().Write("invalid character");
        ++position_;
        continue;
    }
  }
}
