// The rules that choose a page style for an object that names none: one
// rule a line in "tolm.rul", conditions on the object's member counts and
// attributes joined by "&", then "=>" and a page expression. The first rule
// whose conditions all hold gives its expression.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mfc/cstring.h"

class TypeCount;

// One side of a condition: a number, a string, or an identifier that names
// a count or an attribute of the object.
struct RuleOperand {
  enum Kind : std::uint8_t { Undefined = 0, Number = 1, String = 2, Identifier = 3 };
  Kind kind = Undefined;
  CString text;
  std::int32_t value = 0;
};

struct RuleCondition {
  enum Operation : std::int32_t {
    Less = 0,
    LessOrEqual = 1,
    Equal = 2,
    NotEqual = 3,
    GreaterOrEqual = 4,
    Greater = 5,
    Matches = 6
  };
  RuleOperand left;
  RuleOperand right;
  Operation operation = Equal;
};

class Rule {
 public:
  virtual ~Rule();
  std::vector<RuleCondition> conditions;
  // The page expression, without the blanks (a CR among them) at its end.
  CString result;
};

class RuleSet {
 public:
  RuleSet() = default;
  RuleSet(const RuleSet&) = delete;
  RuleSet& operator=(const RuleSet&) = delete;
  ~RuleSet();

  // Reads the file and appends its rules; a file that cannot be read is
  // logged ("cannot load rules from ...") and adds nothing.
  void load(const char* fileName);
  // Parses rule text held in memory and appends its rules.
  void parse(const char* text);
  void clear();
  // The result of the first rule that holds for the counts; "" when none.
  CString evaluate(const TypeCount& context) const;

  int count() const { return static_cast<int>(rules_.size()); }
  const Rule* at(int i) const;

 private:
  std::vector<std::unique_ptr<Rule>> rules_;
};

// The program's rule set (empty at start).
RuleSet& TheRuleSet();

// Whether the text matches the pattern: '?' one character, '*' any run.
bool RulePatternMatches(const char* pattern, const char* text);

// A rule file larger than this is not read.
inline constexpr long kMaxRuleFileBytes = 4L << 20;
