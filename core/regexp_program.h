// The compiled form of a Regexp, shared by its compiler and its matcher.
//
// A program is a byte string: the magic byte, then nodes laid out one after
// another. A node is an operator byte, a 16-bit link to the node that follows
// it in the match (0 = none; for BACK the link points backwards), and, for
// EXACTLY, ANYOF and ANYBUT, a NUL-terminated operand. Links are relative, so
// the compiler can shift a finished piece to put a node in front of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace regexp_detail {

enum Op : std::uint8_t {
  kEnd = 0,      // the match succeeded
  kBol = 1,      // start of the searched stretch
  kEol = 2,      // end of the searched stretch
  kAny = 3,      // any byte
  kAnyOf = 4,    // a byte of the operand set
  kAnyBut = 5,   // a byte not in the operand set
  kBranch = 6,   // one alternative; the operand is its first node
  kBack = 7,     // no-op whose link points backwards (loops)
  kExactly = 8,  // the operand bytes
  kNothing = 9,  // no-op
  kStar = 10,    // operand node (one byte wide) repeated 0 or more times
  kPlus = 11,    // the same, 1 or more times
  kOpen = 20,    // kOpen + n: group n starts here
  kClose = 30,   // kClose + n: group n ends here
};

constexpr std::uint8_t kMagic = 156;
constexpr int kGroupCount = 10;       // group 0 (whole match) and groups 1-9
constexpr int kNodeHeader = 3;        // operator byte and 16-bit link
constexpr int kProgramLimit = 32767;  // programs this size or larger are refused
constexpr int kNoNode = -1;

struct Program {
  std::vector<std::uint8_t> code;  // code[0] is kMagic; the first node is at 1
  int startHint = -1;              // byte every match begins with, or -1
  bool anchored = false;           // matches only at the start of the stretch
  int mustOffset = -1;             // offset in code of a literal every match holds
  int mustLength = 0;
  // The bytes a match can begin with, when every match begins with a byte
  // (an alternation of literals, sets and the like): a search skips the
  // other positions. A match may also begin at the start of the stretch
  // whatever its byte there when `firstAtStart` (an alternative begins
  // with ^).
  bool firstSet = false;
  bool firstAtStart = false;
  bool firstBytes[256] = {};
};

inline int OperandOf(int node) { return node + kNodeHeader; }

inline int LinkOf(const std::uint8_t* code, int node) {
  return code[node + 1] | (code[node + 2] << 8);
}

inline void SetLink(std::uint8_t* code, int node, int offset) {
  code[node + 1] = static_cast<std::uint8_t>(offset & 0xFF);
  code[node + 2] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
}

// The node after `node`, or kNoNode. The caller has checked that the node's
// header lies inside the program.
inline int NextOf(const std::uint8_t* code, int node) {
  int offset = LinkOf(code, node);
  if (offset == 0) return kNoNode;
  return code[node] == kBack ? node - offset : node + offset;
}

// Compiles `pattern` (null allowed) into `out`. Returns null on success, else
// the message that says why the pattern was refused.
const char* CompileProgram(const char* pattern, Program* out);

struct MatchLimits {
  std::size_t maxBacktrack;  // pending choices (and group undo entries) at once
  std::uint64_t maxSteps;    // node visits and repeated bytes, per search
};

struct MatchResult {
  bool matched = false;
  int starts[kGroupCount];  // offsets from the text, -1 when unset
  int ends[kGroupCount];
  const char* error = nullptr;
};

// Searches text[start, stop) for the program; the stretch holds no NUL byte.
// With fastPaths off, the start hint, anchored flag and must-contain literal
// are ignored (the result must be the same).
void MatchProgram(const Program& program, const std::uint8_t* text, int start, int stop,
                  const MatchLimits& limits, bool fastPaths, MatchResult* result);

}  // namespace regexp_detail
