// fuzz-libs:
// The printer blocks a caller hands PrintDlg (hDevMode, hDevNames) from
// arbitrary bytes: the first byte chooses the kind, the rest is the block.
// Reading never goes outside the block, and what was read survives being
// written and read again.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "print/print_dialog_model.h"
#include "win/kernel.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 4096) return 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size > 1 ? size - 1 : 1);
  if (!block) return 0;
  if (size > 1) {
    std::memcpy(GlobalLock(block), data + 1, size - 1);
    GlobalUnlock(block);
  }
  win::print::PrinterSetup setup;
  setup.output = "start.pdf";
  if (data[0] & 1) {
    win::print::ReadDevNames(block, &setup);
  } else {
    win::print::ReadDevMode(block, &setup);
  }
  check(!setup.output.empty());
  HGLOBAL names = win::print::WriteDevNames(nullptr, setup);
  HGLOBAL mode = win::print::WriteDevMode(nullptr, setup);
  win::print::PrinterSetup again;
  win::print::ReadDevNames(names, &again);
  win::print::ReadDevMode(mode, &again);
  check(again.output == setup.output);
  check(again.paper == setup.paper && again.landscape == setup.landscape);
  GlobalFree(names);
  GlobalFree(mode);
  GlobalFree(block);
  return 0;
}
