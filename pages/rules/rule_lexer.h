// The tokens of the rule file: identifiers, numbers and strings, the seven
// comparisons, "&" (or "&&"), and "=>", which takes the rest of its line as
// its text. Comments as in the style files; messages go to the logbook.
#pragma once

#include <cstdint>

#include "mfc/cstring.h"

enum RuleToken : std::int32_t {
  kRuleEnd = 0,
  // The comparisons, in the order of RuleCondition::Operation.
  kRuleLess,
  kRuleLessOrEqual,
  kRuleEqual,
  kRuleNotEqual,
  kRuleGreaterOrEqual,
  kRuleGreater,
  kRuleMatches,
  kRuleIdentifier,
  kRuleNumber,
  kRuleString,
  kRuleAnd,
  kRuleArrow,
  // A single "=", which no rule accepts.
  kRuleAssign
};

class RuleLexer {
 public:
  explicit RuleLexer(const char* text);

  RuleToken Next();
  RuleToken kind() const { return kind_; }
  const CString& text() const { return text_; }
  std::int32_t number() const { return number_; }
  // Where reading goes on (the end of the text once it is reached).
  const char* position() const { return position_; }
  int line() const { return line_; }
  // Moves to the end of the current line (before its line feed) and
  // returns that place.
  const char* SkipToLineEnd();

 private:
  void SkipLineEnd();

  const char* position_;
  RuleToken kind_ = kRuleEnd;
  CString text_;
  std::int32_t number_ = 0;
  int line_ = 1;
};
