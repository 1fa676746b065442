#include "core/search_query_expr.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

enum class Op { And, Or, AndNot };

const char* opText(Op op) {
  switch (op) {
    case Op::And:
      return "&&";
    case Op::Or:
      return "||";
    case Op::AndNot:
      return "&!";
  }
  return "";
}

bool isStructural(char c) { return c == '!' || c == '&' || c == '(' || c == '|' || c == ')'; }

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool onlyWhite(std::string_view run) {
  for (char c : run)
    if (!isWhite(c)) return false;
  return true;
}

// What was read since the last operand of a level: the operators (only
// what decides the one written: the first, and whether a negation came with
// or after it) and whether white space stood before the first of them and
// after the last.
struct Pending {
  bool any = false;
  Op first = Op::And;
  bool negation = false;       // any "&!"
  bool laterNegation = false;  // an "&!" after the first operator
  bool gapBefore = false;
  bool gapAfter = false;
};

// One nesting level while the expression is written out. A group's "(" and
// the operator before it are written as soon as the "(" is read; `mark`
// remembers where they began so that a group that ends without a term can
// be taken back, and the parent's pending operators be restored.
struct Level {
  bool haveOperand = false;
  Pending pending;
  size_t mark = 0;
  Pending parentPending;
  bool parentHadOperand = false;
};

class Writer {
 public:
  explicit Writer(const SearchExprStyle& style) : style_(style) { levels_.emplace_back(); }

  void op(Op o) {
    Pending& p = levels_.back().pending;
    if (!p.any) {
      p.any = true;
      p.first = o;
    } else if (o == Op::AndNot) {
      p.laterNegation = true;
    }
    if (o == Op::AndNot) p.negation = true;
    p.gapAfter = false;
  }

  void gap() {
    Pending& p = levels_.back().pending;
    if (!p.any)
      p.gapBefore = true;
    else
      p.gapAfter = true;
  }

  void term(const CString& run) {
    beginOperand(levels_.back());
    out_ += style_.term(run).str();
  }

  void open() {
    Level& parent = levels_.back();
    Level child;
    child.mark = out_.size();
    child.parentPending = parent.pending;
    child.parentHadOperand = parent.haveOperand;
    beginOperand(parent);
    out_ += '(';
    levels_.push_back(std::move(child));
  }

  // False when there is no open group to close.
  bool close() {
    if (levels_.size() < 2) return false;
    Level child = std::move(levels_.back());
    levels_.pop_back();
    if (child.haveOperand) {
      out_ += ')';
    } else {
      out_.resize(child.mark);
      levels_.back().pending = std::move(child.parentPending);
      levels_.back().haveOperand = child.parentHadOperand;
    }
    return true;
  }

  CString finish() {
    while (close()) {
    }
    return CString(std::move(out_));
  }

 private:
  // Writes what goes before a new operand of `level`: a "!" for a negation
  // that opens the level, or the one operator that joins it to the previous
  // operand. Trailing operators are simply never written.
  void beginOperand(Level& level) {
    const Pending& p = level.pending;
    const bool keep = style_.keepGaps;
    if (!level.haveOperand) {
      if (p.negation) {
        out_ += '!';
        if (keep && p.gapAfter) out_ += ' ';
      }
    } else if (!p.any) {
      out_ += style_.adjacentJoin ? style_.adjacentJoin : "";
    } else {
      Op first = p.first;
      if (first == Op::And && p.laterNegation) first = Op::AndNot;
      if (keep && p.gapBefore) out_ += ' ';
      out_ += opText(first);
      if (first == Op::Or && p.laterNegation) out_ += '!';
      if (keep && p.gapAfter) out_ += ' ';
    }
    level.pending = Pending{};
    level.haveOperand = true;
  }

  const SearchExprStyle& style_;
  std::vector<Level> levels_;
  std::string out_;
};

}  // namespace

CString rewriteSearchExpr(const CString& normalized, const SearchExprStyle& style) {
  const std::string_view text = normalized.view();
  Writer writer(style);
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c == '(') {
      writer.open();
      ++i;
    } else if (c == ')') {
      writer.close();  // a ")" without its "(" is dropped
      ++i;
    } else if (c == '&') {
      // "&!" is and-not; "&&" and a lone "&" are and.
      writer.op(next == '!' ? Op::AndNot : Op::And);
      i += (next == '!' || next == '&') ? 2 : 1;
    } else if (c == '|') {
      writer.op(Op::Or);
      i += next == '|' ? 2 : 1;
    } else if (c == '!') {
      writer.op(Op::AndNot);  // after normalising, a negation reads as and-not
      ++i;
    } else {
      size_t end = i;
      while (end < text.size() && !isStructural(text[end])) ++end;
      std::string_view run = text.substr(i, end - i);
      if (onlyWhite(run))
        writer.gap();
      else
        writer.term(CString(run));
      i = end;
    }
  }
  return writer.finish();
}
