// Global memory blocks. Every block is registered, so a bad or freed handle
// is answered with a failure instead of touching memory. A fixed block's
// handle is its address, as on Windows (callers cast GPTR results to
// pointers); a moveable block's handle is a token that is never an address
// (malloc results are 16-byte aligned, tokens end in binary 0010) and never
// reused, so a stale moveable handle is always recognised.
#include <sys/mman.h>
#include <malloc.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "win/kernel.h"

namespace {

constexpr DWORD_PTR kMaxBlockBytes = DWORD_PTR{1} << 30;  // 1 GiB

// Blocks this large get a mapping of their own: growing one remaps its
// pages instead of copying them, and the pages a new mapping brings are
// zero already, so a block grown from a small header to a whole picture
// costs neither a copy nor a zero fill.
//
// Under AddressSanitizer every block comes from malloc instead, so that a
// read or write past a picture's end is caught whatever its size.
#if defined(__SANITIZE_ADDRESS__)
#define ZEMRA_BLOCKS_FROM_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMRA_BLOCKS_FROM_MALLOC 1
#endif
#endif
#ifdef ZEMRA_BLOCKS_FROM_MALLOC
constexpr size_t kMapBytes = ~size_t{0};
#else
constexpr size_t kMapBytes = size_t{256} << 10;
#endif
// Freed mappings kept for the next large block (a program that decodes one
// picture after another would otherwise give the pages back and fault them
// in again every time): at most this many, and this many bytes in all.
constexpr size_t kKeptMappings = 4;
constexpr size_t kKeptBytes = size_t{128} << 20;

struct Block {
  unsigned char* data = nullptr;
  DWORD_PTR size = 0;  // as asked for
  UINT flags = 0;      // GMEM_MOVEABLE, GMEM_DISCARDABLE ...
  UINT locks = 0;
  size_t capacity = 0;  // of a mapping; 0 for a block from malloc
};

struct Mapping {
  unsigned char* data;
  size_t capacity;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, Block> blocks;    // by handle
  std::unordered_map<std::uintptr_t, std::uintptr_t> byAddress;  // data -> handle
  std::uintptr_t nextToken = 1;
  std::vector<Mapping> kept;  // freed mappings, with stale content
  size_t keptBytes = 0;
};

Registry& Blocks() {
  static Registry* registry = new Registry;  // outlives static destructors that free blocks
  return *registry;
}

std::uintptr_t Key(HGLOBAL h) { return reinterpret_cast<std::uintptr_t>(h); }

size_t PageRound(size_t n) {
  static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return (n + page - 1) / page * page;
}

// A mapping of at least `bytes`: a kept one that is not far too large
// (its content is stale: zeroed when `zero`), or a fresh one (zero).
Mapping Map(Registry& r, size_t bytes, bool zero) {
  const size_t want = PageRound(bytes);
  size_t best = r.kept.size();
  for (size_t i = 0; i < r.kept.size(); ++i) {
    const size_t c = r.kept[i].capacity;
    if (c >= want && c / 4 <= want && (best == r.kept.size() || c < r.kept[best].capacity)) best = i;
  }
  if (best < r.kept.size()) {
    const Mapping m = r.kept[best];
    r.kept.erase(r.kept.begin() + static_cast<std::ptrdiff_t>(best));
    r.keptBytes -= m.capacity;
    if (zero) std::memset(m.data, 0, bytes);
    return m;
  }
  void* p = mmap(nullptr, want, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return Mapping{nullptr, 0};
  // A block is asked for to be filled: it is held in large pages where the
  // system gives them, and its pages are made present in one go rather than
  // by a fault on the first touch of each (both only advice; a fault on
  // every page of a fresh picture cost more than decoding it).
  madvise(p, want, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  madvise(p, want, MADV_POPULATE_WRITE);
#endif
  return Mapping{static_cast<unsigned char*>(p), want};
}

void Unmap(Registry& r, unsigned char* data, size_t capacity) {
  if (capacity <= kKeptBytes) {
    // The oldest kept mappings make room for this one.
    while (!r.kept.empty() &&
           (r.kept.size() >= kKeptMappings || r.keptBytes + capacity > kKeptBytes)) {
      munmap(r.kept.front().data, r.kept.front().capacity);
      r.keptBytes -= r.kept.front().capacity;
      r.kept.erase(r.kept.begin());
    }
    r.kept.push_back(Mapping{data, capacity});
    r.keptBytes += capacity;
    return;
  }
  munmap(data, capacity);
}

// Backing store is at least one byte so that even an empty block has an
// address of its own. Null data when there is no memory.
Block Allocate(Registry& r, DWORD_PTR bytes, bool zero) {
  size_t n = bytes == 0 ? 1 : static_cast<size_t>(bytes);
  Block b;
  b.size = bytes;
  if (n >= kMapBytes) {
    const Mapping m = Map(r, n, zero);
    b.data = m.data;
    b.capacity = m.capacity;
    return b;
  }
  b.data = static_cast<unsigned char*>(zero ? std::calloc(1, n) : std::malloc(n));
  return b;
}

void Release(Registry& r, const Block& b) {
  if (b.capacity) Unmap(r, b.data, b.capacity);
  else std::free(b.data);
}

// Grows the block's memory to `bytes`, in place unless `mayMove`; the new
// part zeroed when `zero`. False, with the block unchanged, when it cannot.
bool Grow(Registry& r, Block& b, DWORD_PTR bytes, bool mayMove, bool zero) {
  const size_t n = static_cast<size_t>(bytes);
  const size_t old = static_cast<size_t>(b.size);
  if (b.capacity) {
    // Bytes past the size may be left from before a shrink.
    if (zero) std::memset(b.data + old, 0, std::min(n, b.capacity) - std::min(old, b.capacity));
    if (n <= b.capacity) return true;
    const size_t want = PageRound(n);
    void* p = mremap(b.data, b.capacity, want, mayMove ? MREMAP_MAYMOVE : 0);
    if (p == MAP_FAILED) return false;
    b.data = static_cast<unsigned char*>(p);
    b.capacity = want;  // the pages added are zero
    return true;
  }
  if (n <= malloc_usable_size(b.data)) {
    if (zero) std::memset(b.data + old, 0, n - old);
    return true;
  }
  if (!mayMove) return false;
  if (n >= kMapBytes) {
    // A kept mapping holds stale bytes, cleared by Map when `zero`; a
    // fresh one is zero already and is not written twice.
    const Mapping m = Map(r, n, zero);
    if (!m.data) return false;
    std::memcpy(m.data, b.data, old);
    std::free(b.data);
    b.data = m.data;
    b.capacity = m.capacity;
    return true;
  }
  void* p = std::realloc(b.data, n);
  if (!p) return false;
  b.data = static_cast<unsigned char*>(p);
  if (zero) std::memset(b.data + old, 0, n - old);
  return true;
}

Block* Find(Registry& r, HGLOBAL h) {
  auto it = r.blocks.find(Key(h));
  return it == r.blocks.end() ? nullptr : &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, DWORD_PTR bytes) {
  if (bytes > kMaxBlockBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block b = Allocate(r, bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!b.data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  b.flags = flags & (GMEM_MOVEABLE | GMEM_DISCARDABLE);
  std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(b.data);
  if (flags & GMEM_MOVEABLE) handle = (r.nextToken++ << 4) | 0x2;
  r.blocks[handle] = b;
  r.byAddress[reinterpret_cast<std::uintptr_t>(b.data)] = handle;
  return reinterpret_cast<HGLOBAL>(handle);
}

// Keeps the content up to the smaller size; growth is zero-filled when the
// flags include GMEM_ZEROINIT (otherwise its content is undefined, as on
// Windows). A moveable block keeps its handle. A block grows in place where
// its memory allows; a block whose address is in use (a locked moveable
// block, or any fixed block, whose handle is its address) moves only when
// the flags include GMEM_MOVEABLE, as on Windows; then a fixed block gets a
// new handle. Otherwise the call fails and the block stays as it was, so no
// pointer is left dangling unasked.
HGLOBAL GlobalReAlloc(HGLOBAL mem, DWORD_PTR bytes, UINT flags) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (flags & GMEM_MODIFY) {
    if (flags & GMEM_DISCARDABLE)
      b->flags |= GMEM_DISCARDABLE;
    else
      b->flags &= ~static_cast<UINT>(GMEM_DISCARDABLE);
    return mem;
  }
  if (bytes > kMaxBlockBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const bool moveable = (b->flags & GMEM_MOVEABLE) != 0;
  const bool addressInUse = !moveable || b->locks > 0;
  Block moved = *b;
  if (bytes > b->size &&
      !Grow(r, moved, bytes, !addressInUse || (flags & GMEM_MOVEABLE), (flags & GMEM_ZEROINIT) != 0)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  moved.size = bytes;  // shrinking stays in place
  std::uintptr_t oldHandle = Key(mem);
  std::uintptr_t newHandle = moveable ? oldHandle : reinterpret_cast<std::uintptr_t>(moved.data);
  r.byAddress.erase(reinterpret_cast<std::uintptr_t>(b->data));
  r.blocks.erase(oldHandle);
  r.blocks[newHandle] = moved;
  r.byAddress[reinterpret_cast<std::uintptr_t>(moved.data)] = newHandle;
  return reinterpret_cast<HGLOBAL>(newHandle);
}

LPVOID GlobalLock(HGLOBAL mem) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((b->flags & GMEM_MOVEABLE) && b->locks < GMEM_LOCKCOUNT) ++b->locks;
  return b->data;
}

// TRUE while the block stays locked; FALSE when it is now unlocked (last
// error ERROR_SUCCESS), was not locked (ERROR_NOT_LOCKED) or is no block.
BOOL GlobalUnlock(HGLOBAL mem) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!(b->flags & GMEM_MOVEABLE)) return TRUE;  // fixed blocks have no lock count
  if (b->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--b->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

DWORD_PTR GlobalSize(HGLOBAL mem) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return b->size;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  if (!mem) return nullptr;
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return mem;
  }
  r.byAddress.erase(reinterpret_cast<std::uintptr_t>(b->data));
  Release(r, *b);
  r.blocks.erase(Key(mem));
  return nullptr;
}

HGLOBAL GlobalHandle(LPCVOID locked) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.byAddress.find(reinterpret_cast<std::uintptr_t>(locked));
  if (it == r.byAddress.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return reinterpret_cast<HGLOBAL>(it->second);
}

UINT GlobalFlags(HGLOBAL mem) {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  Block* b = Find(r, mem);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return GMEM_INVALID_HANDLE;
  }
  return (b->flags & GMEM_DISCARDABLE) | b->locks;
}
