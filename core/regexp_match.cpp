// Backtracking matcher over the node program of regexp_program.h.
//
// Every node's link is the rest of the match after it, so trying an
// alternative or a repeat count means continuing from a node with the rest of
// the program. Where a recursive walk would call itself, this one pushes a
// choice (which alternative or count to try next) on an explicit stack and
// goes on; a failure pops the latest choice. The stack lives on the heap and
// has a cap, so a long text under a complex pattern ends in an error value
// instead of a stack overflow.
//
// Groups: a group keeps the position of the last OPEN and CLOSE on the path
// that matched, which is the last iteration of a repeated group. Positions are
// written at once and undone from a trail when a choice made before them is
// taken back.
#include <cstring>
#include <new>

#include "core/regexp_program.h"

namespace regexp_detail {
namespace {

constexpr const char* kStackFull = "backtrack stack full";
constexpr const char* kTooManySteps = "match step limit reached";

class Matcher {
 public:
  Matcher(const Program& program, const std::uint8_t* text, int bol, int stop,
          const MatchLimits& limits)
      : code_(program.code.data()),
        size_(static_cast<int>(program.code.size())),
        text_(text),
        bol_(bol),
        stop_(stop),
        limits_(limits) {}

  // Tries a match that starts at `at`. False on no match or on an error.
  bool Try(int at) {
    for (int& g : groups_) g = -1;
    choices_.clear();
    trail_.clear();
    int scan = 1;
    int pos = at;
    for (;;) {
      if (!Step(1)) return false;
      if (scan < 1 || scan > size_ - kNodeHeader) return Error("corrupted pointers");
      const std::uint8_t op = code_[scan];
      const int next = NextOf(code_, scan);
      bool ok = true;
      switch (op) {
        case kBol:
          ok = pos == bol_;
          break;
        case kEol:
          ok = pos == stop_;
          break;
        case kAny:
          ok = pos < stop_;
          if (ok) ++pos;
          break;
        case kExactly: {
          int length = OperandLength(scan);
          if (length < 0) return false;
          ok = length <= stop_ - pos && std::memcmp(code_ + OperandOf(scan), text_ + pos, length) == 0;
          if (ok) pos += length;
          break;
        }
        case kAnyOf:
        case kAnyBut: {
          if (pos >= stop_) {
            ok = false;
            break;
          }
          int length = OperandLength(scan);
          if (length < 0) return false;
          bool inSet = std::memchr(code_ + OperandOf(scan), text_[pos], length) != nullptr;
          ok = inSet == (op == kAnyOf);
          if (ok) ++pos;
          break;
        }
        case kNothing:
        case kBack:
          break;
        case kBranch:
          if (next == kNoNode) return Error("corrupted pointers");
          // A lone alternative is no choice; otherwise remember the next one.
          if (code_[next] == kBranch && !PushChoice(kAlternative, next, pos, 0)) return false;
          scan = OperandOf(scan);
          continue;
        case kStar:
        case kPlus: {
          if (next == kNoNode) return Error("corrupted pointers");
          int count = Repeat(OperandOf(scan), pos);
          if (error_) return false;
          if (ResumeRepeat(scan, pos, count, &scan, &pos)) continue;
          if (error_) return false;
          ok = false;
          break;
        }
        case kEnd:
          groups_[0] = at;
          groups_[kGroupCount] = pos;
          return true;
        default:
          if (op > kOpen && op < kOpen + kGroupCount) {
            if (!SetGroup(op - kOpen, pos)) return false;
          } else if (op > kClose && op < kClose + kGroupCount) {
            if (!SetGroup(kGroupCount + op - kClose, pos)) return false;
          } else {
            return Error("memory corruption");
          }
          break;
      }
      if (ok) {
        if (next == kNoNode) return Error("corrupted pointers");
        scan = next;
      } else if (!Backtrack(&scan, &pos)) {
        return false;
      }
    }
  }

  int GroupStart(int n) const { return groups_[n]; }
  int GroupEnd(int n) const { return groups_[kGroupCount + n]; }
  const char* error() const { return error_; }

 private:
  enum Kind : std::uint8_t { kAlternative, kRepeat };
  struct Choice {
    Kind kind;
    int node;   // kAlternative: the BRANCH to try; kRepeat: the STAR or PLUS
    int pos;    // where the choice was made (kRepeat: where the repeat began)
    int count;  // kRepeat: the next count to try
    std::size_t trail;
  };
  struct Undo {
    int slot;
    int old;
  };

  bool Error(const char* message) {
    if (!error_) error_ = message;
    return false;
  }

  bool Step(std::uint64_t n) {
    steps_ += n;
    return steps_ <= limits_.maxSteps || Error(kTooManySteps);
  }

  // Length of the NUL-terminated operand of `node`, or -1 (error) when the
  // program ends before its NUL.
  int OperandLength(int node) {
    int operand = OperandOf(node);
    const void* nul = std::memchr(code_ + operand, 0, size_ - operand);
    if (!nul) {
      Error("memory corruption");
      return -1;
    }
    return static_cast<int>(static_cast<const std::uint8_t*>(nul) - (code_ + operand));
  }

  bool PushChoice(Kind kind, int node, int pos, int count) {
    if (choices_.size() >= limits_.maxBacktrack) return Error(kStackFull);
    choices_.push_back(Choice{kind, node, pos, count, trail_.size()});
    return true;
  }

  // Group positions need undoing only when there is a choice to go back to.
  bool SetGroup(int slot, int pos) {
    if (!choices_.empty()) {
      if (trail_.size() >= limits_.maxBacktrack) return Error(kStackFull);
      trail_.push_back(Undo{slot, groups_[slot]});
    }
    groups_[slot] = pos;
    return true;
  }

  // How many bytes from `pos` the one-byte-wide node matches in a row.
  int Repeat(int node, int pos) {
    if (node > size_ - kNodeHeader) {
      Error("corrupted pointers");
      return 0;
    }
    const std::uint8_t op = code_[node];
    int count = 0;
    switch (op) {
      case kAny:
        count = stop_ - pos;
        break;
      case kExactly: {
        if (OperandLength(node) < 1) return 0;
        const std::uint8_t c = code_[OperandOf(node)];
        while (pos + count < stop_ && text_[pos + count] == c) ++count;
        break;
      }
      case kAnyOf:
      case kAnyBut: {
        int length = OperandLength(node);
        if (length < 0) return 0;
        const std::uint8_t* set = code_ + OperandOf(node);
        const bool want = op == kAnyOf;
        while (pos + count < stop_ && (std::memchr(set, text_[pos + count], length) != nullptr) == want)
          ++count;
        break;
      }
      default:
        Error("internal foulup");
        return 0;
    }
    Step(static_cast<std::uint64_t>(count));
    return count;
  }

  // Greedy repeat: tries `count` bytes, then one fewer, down to the minimum.
  // When the node after the repeat is a literal, only counts that leave its
  // first byte next are worth trying. On success sets where to go on.
  bool ResumeRepeat(int node, int from, int count, int* scan, int* pos) {
    const int next = NextOf(code_, node);
    if (next < 1 || next > size_ - kNodeHeader) return Error("corrupted pointers");
    int nextByte = -1;
    if (code_[next] == kExactly && OperandOf(next) < size_) nextByte = code_[OperandOf(next)];
    const int min = code_[node] == kStar ? 0 : 1;
    for (; count >= min; --count) {
      if (!Step(1)) return false;
      if (nextByte >= 0 && !(from + count < stop_ && text_[from + count] == nextByte)) continue;
      if (count > min && !PushChoice(kRepeat, node, from, count - 1)) return false;
      *scan = next;
      *pos = from + count;
      return true;
    }
    return false;
  }

  // Takes back the latest choice and sets where to go on. False when none is
  // left (no match here) or on an error.
  bool Backtrack(int* scan, int* pos) {
    while (!choices_.empty() && !error_) {
      const Choice choice = choices_.back();
      choices_.pop_back();
      while (trail_.size() > choice.trail) {
        groups_[trail_.back().slot] = trail_.back().old;
        trail_.pop_back();
      }
      if (choice.kind == kAlternative) {
        const int branch = choice.node;
        const int after = NextOf(code_, branch);
        if (after != kNoNode && after <= size_ - kNodeHeader && code_[after] == kBranch &&
            !PushChoice(kAlternative, after, choice.pos, 0))
          return false;
        *scan = OperandOf(branch);
        *pos = choice.pos;
        return true;
      }
      if (ResumeRepeat(choice.node, choice.pos, choice.count, scan, pos)) return true;
    }
    return false;
  }

  const std::uint8_t* code_;
  int size_;
  const std::uint8_t* text_;
  int bol_;
  int stop_;
  MatchLimits limits_;
  std::uint64_t steps_ = 0;
  const char* error_ = nullptr;
  int groups_[2 * kGroupCount];
  std::vector<Choice> choices_;
  std::vector<Undo> trail_;
};

// First position at or after `from` where the literal starts, or -1.
int FindLiteral(const std::uint8_t* text, int from, int stop, const std::uint8_t* literal, int length) {
  while (stop - from >= length) {
    const void* hit = std::memchr(text + from, literal[0], stop - from - length + 1);
    if (!hit) return -1;
    int at = static_cast<int>(static_cast<const std::uint8_t*>(hit) - text);
    if (std::memcmp(text + at, literal, length) == 0) return at;
    from = at + 1;
  }
  return -1;
}

}  // namespace

void MatchProgram(const Program& program, const std::uint8_t* text, int start, int stop,
                  const MatchLimits& limits, bool fastPaths, MatchResult* result) {
  result->matched = false;
  result->error = nullptr;
  for (int n = 0; n < kGroupCount; ++n) result->starts[n] = result->ends[n] = -1;
  if (text == nullptr) {
    result->error = "NULL parameter";
    return;
  }
  if (program.code.empty() || program.code[0] != kMagic) {
    result->error = "corrupted program";
    return;
  }

  if (fastPaths && program.mustOffset >= 0 && program.mustLength > 0) {
    if (program.mustOffset + program.mustLength >= static_cast<int>(program.code.size())) {
      result->error = "corrupted program";
      return;
    }
    const std::uint8_t* must = program.code.data() + program.mustOffset;
    if (FindLiteral(text, start, stop, must, program.mustLength) < 0) return;
  }

  try {
    Matcher matcher(program, text, start, stop, limits);
    auto finish = [&](bool matched) {
      result->error = matcher.error();
      if (!matched || result->error) return;
      result->matched = true;
      for (int n = 0; n < kGroupCount; ++n) {
        result->starts[n] = matcher.GroupStart(n);
        result->ends[n] = matcher.GroupEnd(n);
      }
    };

    if (fastPaths && program.anchored) {
      finish(matcher.Try(start));
      return;
    }
    if (fastPaths && program.startHint >= 0) {
      for (int at = start; at < stop; ++at) {
        const void* hit = std::memchr(text + at, program.startHint, stop - at);
        if (!hit) break;
        at = static_cast<int>(static_cast<const std::uint8_t*>(hit) - text);
        if (matcher.Try(at) || matcher.error()) return finish(!matcher.error());
      }
      return finish(false);
    }
    if (fastPaths && program.firstSet) {
      // Only where a match can begin: a byte of the set, or the start when
      // an alternative begins with ^. No match is empty, so none sits at
      // the end past the last byte, save the start of an empty stretch.
      if (program.firstAtStart && start == stop) return finish(matcher.Try(start) && !matcher.error());
      for (int at = start; at < stop; ++at) {
        if (!(program.firstBytes[text[at]] || (at == start && program.firstAtStart))) continue;
        if (matcher.Try(at) || matcher.error()) return finish(!matcher.error());
      }
      return finish(false);
    }
    // Every position, including the end: an empty match may sit there.
    for (int at = start; at <= stop; ++at)
      if (matcher.Try(at) || matcher.error()) return finish(!matcher.error());
    finish(false);
  } catch (const std::bad_alloc&) {
    result->error = "out of space";
  }
}

}  // namespace regexp_detail
