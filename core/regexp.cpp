// Regexp: owns the pattern and its compiled program, runs searches and keeps
// the group offsets of the last one.
#include "core/regexp.h"

#include <cstdio>
#include <cstring>

#include "core/regexp_program.h"

namespace {

// Sets text[at] to NUL for its lifetime and puts the old byte back, however
// the search ends.
class TerminatorGuard {
 public:
  TerminatorGuard(char* text, int at) : byte_(text + at), saved_(*byte_) { *byte_ = '\0'; }
  ~TerminatorGuard() { *byte_ = saved_; }
  TerminatorGuard(const TerminatorGuard&) = delete;
  TerminatorGuard& operator=(const TerminatorGuard&) = delete;

 private:
  char* byte_;
  char saved_;
};

}  // namespace

Regexp::Regexp(const char* pattern) : pattern_(pattern ? pattern : ""), isNull_(pattern == nullptr) {
  ClearMatch();
}

Regexp::~Regexp() = default;

void Regexp::SetPattern(const char* pattern) {
  const bool isNull = pattern == nullptr;
  if (isNull == isNull_ && (isNull || pattern_ == pattern)) return;
  pattern_ = pattern ? pattern : "";
  isNull_ = isNull;
  program_.reset();
  compileTried_ = false;
  compileError_ = nullptr;
  error_ = nullptr;
  ClearMatch();
}

void Regexp::SetLimits(std::size_t maxBacktrack, std::uint64_t maxSteps) {
  maxBacktrack_ = maxBacktrack;
  maxSteps_ = maxSteps;
}

void Regexp::Report(const char* message) {
  error_ = message;
  std::fprintf(stderr, "regexp(3): %s\n", message);
}

void Regexp::ClearMatch() {
  for (int n = 0; n < kGroups; ++n) starts_[n] = ends_[n] = -1;
}

bool Regexp::Compile() {
  if (compileTried_) return compileError_ == nullptr;
  compileTried_ = true;
  auto program = std::make_unique<regexp_detail::Program>();
  compileError_ = regexp_detail::CompileProgram(Pattern(), program.get());
  if (compileError_) {
    Report(compileError_);
    return false;
  }
  program_ = std::move(program);
  return true;
}

int Regexp::Search(char* text, int end, int start) {
  ClearMatch();
  error_ = nullptr;
  if (!Compile()) {
    error_ = compileError_;
    return -1;
  }
  if (text == nullptr) {
    Report("NULL parameter");
    return -1;
  }
  if (start < 0 || end < start) {
    Report("search range outside the text");
    return -1;
  }

  TerminatorGuard terminator(text, end);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
  // An earlier NUL ends the stretch, as the terminator would.
  const void* nul = std::memchr(bytes + start, 0, static_cast<std::size_t>(end - start));
  const int stop = nul ? static_cast<int>(static_cast<const std::uint8_t*>(nul) - bytes) : end;

  regexp_detail::MatchResult result;
  regexp_detail::MatchProgram(*program_, bytes, start, stop, {maxBacktrack_, maxSteps_}, fastPaths_,
                              &result);
  if (result.error) {
    Report(result.error);
    return -1;
  }
  if (!result.matched) return -1;
  for (int n = 0; n < kGroups; ++n) {
    starts_[n] = result.starts[n];
    ends_[n] = result.ends[n];
  }
  return ends_[0] - starts_[0];
}

int Regexp::BeginningOfMatch(int n) const { return n >= 0 && n < kGroups ? starts_[n] : -1; }

int Regexp::EndOfMatch(int n) const { return n >= 0 && n < kGroups ? ends_[n] : -1; }

int Regexp::StartHint() { return Compile() ? program_->startHint : -1; }

bool Regexp::Anchored() { return Compile() && program_->anchored; }

std::string Regexp::MustContain() {
  if (!Compile() || program_->mustOffset < 0) return std::string();
  return std::string(reinterpret_cast<const char*>(program_->code.data()) + program_->mustOffset,
                     static_cast<std::size_t>(program_->mustLength));
}
