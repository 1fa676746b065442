// fuzz-libs: zemra_store
//
// Input: one byte choosing the file kind (below 3 or from 3 on), the depth
// limit and fan-out, then a dictionary data file. Its entry tree is walked
// from the root, every node's children, siblings and parent taken, and
// entries looked up by number. What must hold: no crash or hang, depths
// within what a node holds, and a node found by number carries it.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "scratch_file.h"
#include "store/index/record_file.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void visit(RecordFile& file, std::optional<RecordNode> n, int& budget) {
  for (; n && budget > 0; n = file.nextSibling(*n)) {
    --budget;
    check(n->depth >= 0 && n->depth <= RecordNode::kMaxDepth);
    check(n->index() < n->entryCount);
    file.entryNumber(*n);
    // The enclosing node was read on the way down: it reads again.
    if (n->depth > 0) check(file.parent(*n).has_value());
    if (n->inner)
      for (int i = 0; i < 3; ++i) visit(file, file.child(*n, i), budget);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > (1u << 20)) return 0;
  fuzz_support::ScratchFile scratch("record_file", "sdb", data + 1, size - 1);
  if (!scratch.written()) return 0;
  RecordFile file;
  file.setFile(scratch.path(), data[0] & 1 ? 3 : 2, data[0] >> 5, (data[0] >> 1) & 0xF);
  int budget = 2000;
  visit(file, file.root(), budget);
  for (size_t at = 1; at + 4 <= size && at < 13; at += 4) {
    std::int32_t number = static_cast<std::int32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16)) -
                          (data[at + 3] & 1 ? 20000 : 0);
    std::optional<RecordNode> n = file.findEntry(number);
    if (n) check(file.entryNumber(*n) == number);
  }
  check(file.useCount() == 0);
  return 0;
}
