// Random patterns and texts over the syntax that Regexp and Python's `re`
// read the same way, each pattern written in both dialects. Deterministic for
// a seed (own arithmetic on mt19937, no library distributions).
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace regexp_testing {

struct PatternPair {
  std::string ours;
  std::string python;  // for re.compile(bytes, re.DOTALL)
};

class PatternGenerator {
 public:
  explicit PatternGenerator(std::uint32_t seed) : rng_(seed) {}

  std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(rng_() % n); }
  bool Chance(std::uint32_t percent) { return Below(100) < percent; }

  PatternPair Pattern() {
    groups_ = 0;
    Part p = Alternation(0);
    return {p.ours, p.python};
  }

  // Bytes from a small alphabet with a newline, a high byte and a dot; no NUL.
  std::string Text(int maxLength) {
    static const char kAlphabet[] = "aaaabbbbcc\n\xe9.";
    std::string text;
    int length = static_cast<int>(Below(static_cast<std::uint32_t>(maxLength) + 1));
    for (int i = 0; i < length; ++i) text += kAlphabet[Below(sizeof kAlphabet - 1)];
    return text;
  }

 private:
  struct Part {
    std::string ours;
    std::string python;
    bool nonEmpty;  // can never match the empty string
  };

  Part Alternation(int depth) {
    Part result = Sequence(depth);
    int more = Chance(30) ? static_cast<int>(Below(3)) + 1 : 0;
    for (int i = 0; i < more; ++i) {
      Part next = Sequence(depth);
      result.ours += "|" + next.ours;
      result.python += "|" + next.python;
      result.nonEmpty = result.nonEmpty && next.nonEmpty;
    }
    return result;
  }

  Part Sequence(int depth) {
    Part result{"", "", false};
    if (Chance(4)) return result;  // an empty alternative
    int pieces = static_cast<int>(Below(4)) + 1;
    for (int i = 0; i < pieces; ++i) {
      Part piece = Piece(depth);
      result.ours += piece.ours;
      result.python += piece.python;
      result.nonEmpty = result.nonEmpty || piece.nonEmpty;
    }
    return result;
  }

  Part Piece(int depth) {
    Part atom = Atom(depth);
    // Only operands that cannot match empty get an operator: "^", "$" and
    // groups that may match empty stay bare.
    if (!atom.nonEmpty || Chance(55)) return atom;
    static const char kOps[] = "*+?";
    char op = kOps[Below(3)];
    atom.ours += op;
    atom.python += op;
    if (op != '+') atom.nonEmpty = false;
    return atom;
  }

  Part Atom(int depth) {
    std::uint32_t kind = Below(100);
    if (kind < 8) return {"^", "^", false};
    if (kind < 14) return {"$", "\\Z", false};
    if (kind < 24) return {".", ".", true};
    if (kind < 40) {
      std::string bracket = Bracket();
      return {bracket, bracket, true};
    }
    if (kind < 44) {
      static const char kQuoted[] = ".*+";
      std::string quoted = std::string("\\") + kQuoted[Below(3)];
      return {quoted, quoted, true};
    }
    if (kind < 62 && depth < 3 && groups_ < 9) {
      ++groups_;
      Part inner = Alternation(depth + 1);
      return {"(" + inner.ours + ")", "(" + inner.python + ")", inner.nonEmpty};
    }
    static const char kLiterals[] = "aaabbbc\xe9";
    std::string literal(1, kLiterals[Below(sizeof kLiterals - 1)]);
    return {literal, literal, true};
  }

  std::string Bracket() {
    static const char* const kItems[] = {"a", "b", "c", "\xe9", "\n", "a-b", "a-c", "b-c", "\xe0-\xff"};
    std::string bracket = Chance(30) ? "[^" : "[";
    int items = static_cast<int>(Below(3)) + 1;
    for (int i = 0; i < items; ++i) bracket += kItems[Below(sizeof kItems / sizeof kItems[0])];
    return bracket + "]";
  }

  std::mt19937 rng_;
  int groups_ = 0;
};

}  // namespace regexp_testing
