// Regular expressions over bytes, for the URI parser and the KXHDR reader.
//
// Syntax: alternatives "|"; pieces of an atom and an optional "*", "+" or
// "?"; atoms "^" (start of the searched stretch), "$" (its end), "." (any
// byte), "[...]" bracket expressions with ranges and "^" negation, "(...)"
// groups 1-9, "\" quoting the next byte, and literal bytes. No case folding;
// bytes compare as unsigned values. The first alternative that lets the rest
// match wins (not the longest); repeats are greedy and give back byte by byte.
//
// Errors are values: a refused pattern or a failed search writes
// "regexp(3): " and the message to standard error, keeps the message for
// error(), and the search reports no match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace regexp_detail {
struct Program;
}

class Regexp {
 public:
  static constexpr int kGroups = 10;  // group 0 is the whole match
  // Defaults that only a runaway search reaches: pending backtrack entries
  // (about 20 bytes each) and node visits plus repeated bytes per Search.
  static constexpr std::size_t kDefaultMaxBacktrack = 1u << 20;
  static constexpr std::uint64_t kDefaultMaxSteps = 50'000'000;

  // Copies the pattern; null is refused ("NULL argument") when compiled.
  explicit Regexp(const char* pattern);
  ~Regexp();
  Regexp(const Regexp&) = delete;
  Regexp& operator=(const Regexp&) = delete;

  // Replaces the pattern. The compiled program is kept when the text is the
  // same, else it is dropped and the next Search compiles the new one.
  void SetPattern(const char* pattern);
  const char* Pattern() const { return isNull_ ? nullptr : pattern_.c_str(); }

  // Compiles the pattern unless already done; Search calls it. False when
  // the pattern is refused (see error()). A refused pattern is reported once.
  bool Compile();

  // Searches text[start, end) and returns the length of the match, or -1
  // (no match or an error). The byte at text[end] is set to NUL during the
  // call and restored afterwards in every case, so the buffer must be
  // writable up to and including text[end]. A NUL byte before `end` ends the
  // stretch there. The search refuses start < 0 and end < start.
  int Search(char* text, int end, int start = 0);

  // Offsets from `text` of group n's start and end in the last Search; -1
  // when n is outside 0-9, the last Search did not match, or group n took no
  // part in the match.
  int BeginningOfMatch(int n) const;
  int EndOfMatch(int n) const;

  // The message of the last failure (compile or search), null when fine.
  const char* error() const { return error_; }

  // ---- Tuning and inspection (tests, measurements)
  void SetLimits(std::size_t maxBacktrack, std::uint64_t maxSteps);
  // Off: ignore the start hint, anchored flag and must-contain literal.
  void SetFastPaths(bool enabled) { fastPaths_ = enabled; }
  // What the compiled program knows before it looks at a text (compiles
  // first): the byte every match starts with (-1 when none), whether it
  // matches only at the start, and a literal every match holds ("" if none).
  int StartHint();
  bool Anchored();
  std::string MustContain();

 private:
  void Report(const char* message);
  void ClearMatch();

  std::string pattern_;
  bool isNull_ = false;
  std::unique_ptr<regexp_detail::Program> program_;
  bool compileTried_ = false;
  const char* compileError_ = nullptr;
  const char* error_ = nullptr;
  int starts_[kGroups];
  int ends_[kGroups];
  std::size_t maxBacktrack_ = kDefaultMaxBacktrack;
  std::uint64_t maxSteps_ = kDefaultMaxSteps;
  bool fastPaths_ = true;
};
