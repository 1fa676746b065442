// fuzz-libs: zemra_core
//
// Input: one byte choosing the output's size (0..128), the magic rules up to
// the first NUL byte, then the buffer to match (no NUL: all rules, empty
// buffer). Loads the rules from text, matches, and checks what must always
// hold: a bounded table whose texts are terminated, an output that is
// NUL-terminated within its size on a match and untouched otherwise, nothing
// written beyond it, and the buffer unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/magic.h"
#include "win/user.h"

namespace {

constexpr std::size_t kGuard = 16;
constexpr unsigned char kFill = 0xAA;

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int outSize = data[0] % (kMagicResultSize + 1);
  const char* rest = reinterpret_cast<const char*>(data + 1);
  const std::size_t restSize = size - 1;
  const void* nul = std::memchr(rest, '\0', restSize);
  const std::size_t rulesSize = nul ? static_cast<const char*>(nul) - rest : restSize;
  const std::vector<char> buffer(rest + (nul ? rulesSize + 1 : restSize), rest + restSize);

  LoadMagicText(rest, rulesSize);
  Require(MagicEntryCount() >= 0 && MagicEntryCount() <= kMagicMaxEntries);
  for (int i = 0; i < MagicEntryCount(); ++i) {
    const MagicEntry& e = MagicEntries()[i];
    Require(std::memchr(e.message, '\0', sizeof e.message) != nullptr);
    Require(e.stringLength <= kMagicMaxString && e.string[e.stringLength] == '\0');
    Require(e.type == kMagicByte || e.type == kMagicShort || e.type == kMagicLong ||
            e.type == kMagicString);
  }

  std::vector<unsigned char> out(static_cast<std::size_t>(outSize) + kGuard, kFill);
  const std::vector<char> before = buffer;
  const bool found = MatchLoadedMagic(buffer.data(), static_cast<int>(buffer.size()),
                                      reinterpret_cast<char*>(out.data()), outSize);
  for (std::size_t i = static_cast<std::size_t>(outSize); i < out.size(); ++i)
    Require(out[i] == kFill);
  if (found && outSize > 0) {
    Require(std::memchr(out.data(), '\0', static_cast<std::size_t>(outSize)) != nullptr);
  } else {
    for (int i = 0; i < outSize; ++i) Require(out[static_cast<std::size_t>(i)] == kFill);
  }
  Require(buffer == before);

  win::ClearMessageBoxLog();
  return 0;
}
