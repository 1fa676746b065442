#include "pages/rules/rule_set.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/logbook.h"
#include "core/object_utils.h"
#include "pages/rules/rule_lexer.h"
#include "win/kernel.h"

namespace {

void Log(const CString& line) { TheLogbook().Write(line); }

// A decimal number at the start of the text, held at the int range; 0 when
// the text does not begin with a digit.
std::int32_t LeadingNumber(const CString& text) {
  const char* p = text.c_str();
  long long v = 0;
  if (*p < '0' || *p > '9') return 0;
  for (; *p >= '0' && *p <= '9'; ++p) v = std::min<long long>(INT32_MAX, v * 10 + (*p - '0'));
  return static_cast<std::int32_t>(v);
}

bool IsOperation(RuleToken t) { return t >= kRuleLess && t <= kRuleMatches; }

// Parses the rules of one text into the set.
class RuleParser {
 public:
  RuleParser(const char* text, std::vector<std::unique_ptr<Rule>>& rules)
      : lexer_(text), rules_(rules) {}

  void Run() {
    lexer_.Next();
    while (lexer_.kind() != kRuleEnd) ParseRule();
  }

 private:
  bool ParseOperand(RuleOperand& operand) {
    switch (lexer_.kind()) {
      case kRuleNumber:
        operand.kind = RuleOperand::Number;
        operand.value = lexer_.number();
        break;
      case kRuleString:
        operand.kind = RuleOperand::String;
        operand.text = lexer_.text();
        break;
      case kRuleIdentifier:
        operand.kind = RuleOperand::Identifier;
        operand.text = lexer_.text();
        break;
      default: Log("syntax error at " + lexer_.text()); return false;
    }
    lexer_.Next();
    return true;
  }

  bool ParseCondition(Rule& rule) {
    RuleCondition c;
    if (!ParseOperand(c.left)) return false;
    if (!IsOperation(lexer_.kind())) {
      Log("invalid operation");
      return false;
    }
    c.operation = static_cast<RuleCondition::Operation>(lexer_.kind() - kRuleLess);
    lexer_.Next();
    if (!ParseOperand(c.right)) return false;
    rule.conditions.push_back(std::move(c));
    return true;
  }

  void ParseRule() {
    const char* mark = lexer_.position();
    auto rule = std::make_unique<Rule>();
    bool failed = false;
    if (lexer_.kind() != kRuleArrow) {
      for (;;) {
        if (!ParseCondition(*rule)) {
          failed = true;
          break;
        }
        if (lexer_.kind() != kRuleAnd) break;
        lexer_.Next();
        if (lexer_.kind() == kRuleArrow) break;
      }
    }
    const bool keep = !failed && lexer_.kind() == kRuleArrow;
    if (keep) {
      rule->result = lexer_.text();
      // A rule file written on another system ends its lines in CR LF; the
      // CR and any blank before it belong to no page expression.
      rule->result.TrimRight();
      rules_.push_back(std::move(rule));
    }
    const char* lineEnd = lexer_.SkipToLineEnd();
    if (!keep) Log("rule ignored: " + CString(mark, static_cast<int>(mark ? lineEnd - mark : 0)));
    lexer_.Next();
  }

  RuleLexer lexer_;
  std::vector<std::unique_ptr<Rule>>& rules_;
};

// The value of an operand for the counts; Undefined for an identifier that
// names nothing (logged).
RuleOperand Evaluate(const RuleOperand& operand, const TypeCount& context) {
  if (operand.kind != RuleOperand::Identifier) return operand;
  RuleOperand v;
  const CString& name = operand.text;
  const Ref<KXObject>& object = context.object();
  auto number = [&v](std::int32_t n) {
    v.kind = RuleOperand::Number;
    v.value = n;
  };
  auto string = [&v](const CString& s) {
    v.kind = RuleOperand::String;
    v.text = s;
  };
  const bool document = object && object->getType() == "Document";
  if (name == "totalcnt") number(context.total());
  else if (name == "imagecnt") number(context.count(kClassImage));
  else if (name == "textcnt") number(context.count(kClassText));
  else if (name == "collectioncnt") number(context.count(kClassCollection));
  else if (name == "moviecnt") number(context.count(kClassMovie));
  else if (name == "soundcnt") number(context.count(kClassSound));
  else if (name == "genericcnt") number(context.count(kClassGeneric));
  else if (name == "URL") string(object ? object->getIdentifier() : CString());
  else if (name == "Author") string(object ? object->getAuthor() : CString());
  else if (name == "SequenceNr") number(object ? LeadingNumber(object->getSequence()) : 0);
  else if (name == "Score") number(object ? LeadingNumber(object->getScoreText()) : 0);
  else if (name == "GlobalID") string(object ? object->getGOid() : CString());
  else if (name == "Type") string(object ? CString(objectTypeName(object->getClassCode())) : CString());
  else if (name == "Name") {
    const StringArray names = document ? object->getAllValues("Name=") : StringArray();
    string(names.count() > 0 ? names.at(0) : CString());
  } else if (name == "Title") string(document ? object->getTitle() : CString());
  else if (name == "SubType") string(document ? object->getAttribute("SubType=") : CString());
  else Log("Cannot evaluate identifier " + name);
  return v;
}

bool Holds(const RuleCondition& c, const TypeCount& context) {
  const RuleOperand left = Evaluate(c.left, context);
  const RuleOperand right = Evaluate(c.right, context);
  if (left.kind == RuleOperand::Undefined || right.kind == RuleOperand::Undefined) return false;
  if (left.kind == RuleOperand::Number) {
    if (right.kind != RuleOperand::Number) {
      Log("right operand must be value");
      return false;
    }
    switch (c.operation) {
      case RuleCondition::Less: return left.value < right.value;
      case RuleCondition::LessOrEqual: return left.value <= right.value;
      case RuleCondition::Equal: return left.value == right.value;
      case RuleCondition::NotEqual: return left.value != right.value;
      case RuleCondition::GreaterOrEqual: return left.value >= right.value;
      case RuleCondition::Greater: return left.value > right.value;
      default: Log("invalid numeric operation"); return false;
    }
  }
  const CString rightText = right.kind == RuleOperand::Number ? CString() : right.text;
  switch (c.operation) {
    case RuleCondition::Equal: return left.text.str() == rightText.str();
    case RuleCondition::NotEqual: return left.text.str() != rightText.str();
    case RuleCondition::Matches: return RulePatternMatches(rightText, left.text);
    default: Log("invalid string operation"); return false;
  }
}

}  // namespace

Rule::~Rule() = default;

RuleSet::~RuleSet() = default;

void RuleSet::load(const char* fileName) {
  const CString name(fileName);
  FILE* f = win_fopen(name, "rb");
  std::string text;
  bool ok = f && std::fseek(f, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(f) : -1;
  ok = ok && length >= 0 && length <= kMaxRuleFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    text.assign(static_cast<std::size_t>(length), '\0');
    text.resize(length ? std::fread(text.data(), 1, text.size(), f) : 0);
  }
  if (f) std::fclose(f);
  if (!ok) {
    Log("cannot load rules from " + name);
    return;
  }
  parse(text.c_str());
}

void RuleSet::parse(const char* text) {
  if (!text || !*text) return;
  RuleParser(text, rules_).Run();
}

void RuleSet::clear() { rules_.clear(); }

const Rule* RuleSet::at(int i) const {
  return i >= 0 && i < count() ? rules_[static_cast<std::size_t>(i)].get() : nullptr;
}

CString RuleSet::evaluate(const TypeCount& context) const {
  for (const auto& rule : rules_) {
    bool holds = true;
    for (const RuleCondition& c : rule->conditions)
      if (!Holds(c, context)) {
        holds = false;
        break;
      }
    if (holds) return rule->result;
  }
  return CString();
}

RuleSet& TheRuleSet() {
  static RuleSet rules;
  return rules;
}

// '*' takes any run: the greedy walk that comes back to the last star keeps
// a pattern of many stars from trying every split of the text.
bool RulePatternMatches(const char* pattern, const char* text) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*text) {
    if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      star = pattern;
      resume = text;
    } else if (*pattern == '?' || *pattern == *text) {
      ++pattern;
      ++text;
    } else if (star) {
      pattern = star;
      text = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}
