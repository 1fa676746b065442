// fuzz-libs: zemra_store
//
// Input: the chain blocks of an index file of 256-byte blocks (block 1 on),
// behind a sound header. Chains are walked from ids taken from the input,
// values appended and removed. What must hold: no crash, and every walk
// ends (a damaged chain ends as broken, never in a loop).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scratch_file.h"
#include "store/index/block_pool.h"
#include "store/index/index_header.h"
#include "store/index/record_chain.h"
#include "win/kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kBlock = 256;
  if (size < 4 || size > 64 * kBlock) return 0;
  std::vector<BYTE> bytes(kBlock, 0);
  IndexHeader header;
  header.blockSize = kBlock;
  header.chainBlock = data[0] % 4;
  header.encode(bytes.data());
  bytes.insert(bytes.end(), data, data + size);
  bytes.resize(((bytes.size() + kBlock - 1) / kBlock) * kBlock, 0xA1);
  fuzz_support::ScratchFile file("record_chain", "bof", bytes.data(), bytes.size());
  if (!file.written()) return 0;
  HFILE handle = _lopen(file.path(), OF_READWRITE);
  if (handle == HFILE_ERROR) return 0;
  {
    BlockPool pool;
    if (pool.readHeader(handle) == 0 && pool.init(handle, 3, kBlock, data[1] & 1, false) == 0) {
      RecordChain chain;
      chain.bind(&pool);
      for (size_t at = 2; at + 2 <= size && at < 40; at += 2) {
        IndexEntry pair;
        pair.value = RecordChain::makeId(static_cast<WORD>(1 + data[at] % 8), data[at + 1] % 50);
        DWORD id = pair.value;
        int values = 0;
        for (int r = chain.next(pair, false); r == 0 && values < 100000; r = chain.next(pair, true)) ++values;
        if (data[at] & 0x80) chain.append(IndexEntry{0x20, 1, 7}, id);
        if (data[at + 1] & 0x80 && chain.next(pair, false) == 0) chain.remove();
      }
      DWORD fresh = 0;
      chain.append(IndexEntry{0x10, 0, 1}, fresh);
      pool.flush();
    }
  }
  _lclose(handle);
  return 0;
}
