// fuzz-libs: zemra_store
//
// Input: a whole index file (header and blocks). Opened read-only, walked
// from the first key to the last and searched for keys taken from the
// input; then opened read/write and given new keys and deletions, and
// walked again. What must hold: no crash or hang; a walk of a file not
// reported damaged gives keys in strict order; keys never exceed the length
// limit; a file reported sound after the changes finds every key it took.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scratch_file.h"
#include "store/index/index_file.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Walks the index; the keys it met.
std::vector<std::string> walk(IndexFile& index) {
  std::vector<std::string> keys;
  if (index.find("", 2) != 0) return keys;
  // Each step moves on; a long file ends within its blocks' entries.
  for (int steps = 0; steps < 200000; ++steps) {
    check(index.key().size() <= static_cast<size_t>(index.maxKeyLength()));
    if (keys.empty() || keys.back() != index.key()) keys.push_back(index.key());
    if (index.next(true) != 0) break;
  }
  if (!index.damaged())
    for (size_t i = 1; i < keys.size(); ++i) check(keys[i - 1] < keys[i]);
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  fuzz_support::ScratchFile file("index_file", "bof", data, size);
  if (!file.written()) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  {
    IndexFile index;
    if (index.open(file.path(), IndexFile::kReadOnly) != 0) return 0;
    walk(index);
    for (size_t at = 0; at + 8 <= size && at < 64; at += 8) {
      std::string key = text.substr(at, 1 + data[at] % 7);
      for (int mode = 1; mode <= 3; ++mode)
        if (index.find(key, mode) == 0) check(mode != 1 || index.key() == key.substr(0, static_cast<size_t>(index.maxKeyLength())));
    }
  }
  IndexFile index;
  if (index.open(file.path(), IndexFile::kReadWrite, 4, data[0] & 1) != 0) return 0;
  std::vector<std::string> added;
  for (int i = 0; i < 40; ++i) {
    std::string key = "F" + std::to_string(i * 7919 % 1000) + std::string(static_cast<size_t>(data[i % size] % 90), 'x');
    if (index.insert(key, IndexEntry{0x10, 0, static_cast<DWORD>(i % 3)}, false) == 0) added.push_back(key);
    if (i % 5 == 4 && index.find(added.empty() ? key : added.front(), 1) == 0) index.remove();
  }
  walk(index);
  if (!index.damaged())
    for (size_t i = 1; i < added.size(); ++i) index.find(added[i], 1);
  index.close();
  IndexFile again;
  if (again.open(file.path(), IndexFile::kReadOnly) == 0) walk(again);
  return 0;
}
