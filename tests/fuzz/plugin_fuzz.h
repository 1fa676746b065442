// The steps every converter plug-in's fuzz target takes: message boxes
// recorded without windows, the input written to a scratch file of its
// own (named after the process, so parallel runs do not meet) for the file
// readers, and what a reader gave back checked: a DIB whose header, colour
// table and rows lie inside its block, or a refusal that told the user.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/dib_block.h"
#include "win/kernel.h"
#include "win/user.h"

namespace plugin_fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// Boxes are only recorded, never shown.
inline void QuietBoxes() {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
}

// The input as a file "/tmp/zemra_fuzz_<name>_<pid>.<extension>", removed
// again when the object goes.
class ScratchFile {
 public:
  ScratchFile(const char* name, const char* extension, const std::uint8_t* data, std::size_t size)
      : path_(std::string("/tmp/zemra_fuzz_") + name + "_" + std::to_string(getpid()) + "." + extension) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    written_ = true;
  }
  ~ScratchFile() {
    if (written_) std::remove(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  bool written() const { return written_; }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
  bool written_ = false;
};

// How many boxes a refusal must have shown.
enum class Refusal { kOneBox, kSomeBox };

// Checks a reader's result: a DIB must be whole (and, with `quietDib`,
// come without a box; `more` then looks at it), a refusal must have shown
// its box. Frees what the caller holds and empties the box log.
template <class More>
void CheckRead(HGLOBAL dib, HGLOBAL block, Refusal refusal, bool quietDib, More&& more) {
  if (dib) {
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    check(plugins::ViewDib(lock.data(), lock.size(), source) == plugins::DibCheck::kOk);
    more(source);
    if (quietDib) check(win::MessageBoxLog().empty());
  } else if (refusal == Refusal::kOneBox) {
    check(win::MessageBoxLog().size() == 1);
  } else {
    check(!win::MessageBoxLog().empty());
  }
  GlobalFree(dib ? dib : block);
  win::ClearMessageBoxLog();
}

inline void CheckRead(HGLOBAL dib, HGLOBAL block, Refusal refusal, bool quietDib) {
  CheckRead(dib, block, refusal, quietDib, [](const plugins::DibSource&) {});
}

}  // namespace plugin_fuzz
