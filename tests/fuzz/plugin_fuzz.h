// The steps every converter plug-in's fuzz target takes: message boxes
// recorded without windows, the input written to a scratch file of its own
// for the file readers, and what a reader gave back checked: a DIB whose
// header, colour table and rows lie inside its block, or a refusal that told
// the user.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "common/dib_block.h"
#include "scratch_file.h"
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

using fuzz_support::ScratchFile;

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
