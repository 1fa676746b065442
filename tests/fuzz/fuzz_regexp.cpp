// fuzz-libs: zemra_core
//
// Input: a pattern, a NUL byte, then the text (no NUL: all pattern, empty
// text). Compiles the pattern, searches the text from a few starting offsets
// and checks what any result must satisfy: offsets inside the stretch, every
// group nested in group 0, the length equal to group 0's, the buffer
// unchanged, and the same answer with the fast paths off.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/regexp.h"

namespace {

constexpr std::size_t kMaxText = 4096;
constexpr std::size_t kMaxBacktrack = 1 << 16;
constexpr std::uint64_t kMaxSteps = 50000;

void Require(bool ok) {
  if (!ok) std::abort();
}

struct Answer {
  int length;
  int begin[Regexp::kGroups];
  int end[Regexp::kGroups];
  bool failed;
};

Answer SearchOnce(Regexp& rx, std::string& buffer, int end, int start) {
  const std::string before = buffer;
  Answer a{rx.Search(buffer.data(), end, start), {}, {}, rx.error() != nullptr};
  Require(buffer == before);
  for (int n = 0; n < Regexp::kGroups; ++n) {
    a.begin[n] = rx.BeginningOfMatch(n);
    a.end[n] = rx.EndOfMatch(n);
  }
  if (a.length < 0) {
    for (int n = 0; n < Regexp::kGroups; ++n) Require(a.begin[n] == -1 && a.end[n] == -1);
    return a;
  }
  Require(!a.failed);
  Require(start <= a.begin[0] && a.begin[0] <= a.end[0] && a.end[0] <= end);
  Require(a.length == a.end[0] - a.begin[0]);
  for (int n = 1; n < Regexp::kGroups; ++n) {
    if (a.begin[n] == -1 || a.end[n] == -1) {
      Require(a.begin[n] == -1 && a.end[n] == -1);
      continue;
    }
    Require(a.begin[0] <= a.begin[n] && a.begin[n] <= a.end[n] && a.end[n] <= a.end[0]);
  }
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* nul = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  std::string pattern(reinterpret_cast<const char*>(data), nul ? nul - data : size);
  std::string text = nul ? std::string(reinterpret_cast<const char*>(nul + 1), size - (nul + 1 - data)) : "";
  if (text.size() > kMaxText) text.resize(kMaxText);
  const int length = static_cast<int>(text.size());
  std::string buffer = text + "\x7f";  // the byte at `end` must come back

  Regexp fast(pattern.c_str());
  Regexp slow(pattern.c_str());
  fast.SetLimits(kMaxBacktrack, kMaxSteps);
  slow.SetLimits(kMaxBacktrack, kMaxSteps);
  slow.SetFastPaths(false);
  if (!fast.Compile()) return 0;

  const int starts[] = {0, 1, length / 2, length};
  for (int start : starts) {
    if (start > length) continue;
    for (int end : {length, length - 1}) {
      if (end < start) continue;
      Answer a = SearchOnce(fast, buffer, end, start);
      Answer b = SearchOnce(slow, buffer, end, start);
      if (a.failed || b.failed) continue;  // the limits count work, which the fast paths save
      Require(a.length == b.length);
      Require(std::memcmp(a.begin, b.begin, sizeof a.begin) == 0 && std::memcmp(a.end, b.end, sizeof a.end) == 0);
    }
  }
  return 0;
}
