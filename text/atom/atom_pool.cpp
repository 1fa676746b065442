#include "text/atom/atom_pool.h"

#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMRA_POOL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZEMRA_POOL_ASAN 1
#endif
#ifdef ZEMRA_POOL_ASAN
#include <sanitizer/asan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;
// The objects hold pointers and 32-bit numbers at most: 8-byte steps
// waste less than the heap's 16.
constexpr std::size_t kGrain = 8;
constexpr std::size_t kClasses = AtomPool::kLargest / kGrain;

struct FreeSlot {
  FreeSlot* next;
};

struct Block {
  Block* next;
};

constexpr std::size_t kHeaderBytes = (sizeof(Block) + kGrain - 1) / kGrain * kGrain;

// Objects of every size are cut one after the other from the newest
// block, so that what is made together (a word, its span and its run) lies
// together; given back, an object waits on the free list of its size.
struct Pool {
  FreeSlot* free[kClasses] = {};
  char* bump = nullptr;  // the rest of the newest block, never handed out
  char* end = nullptr;
  Block* blocks = nullptr;
  std::size_t live = 0;
  std::size_t blockCount = 0;
};

Pool& ThePool() {
  // Never destroyed: objects may be freed by static destructors after this
  // file's statics are gone.
  static Pool* pool = new Pool;
  return *pool;
}

std::size_t ClassOf(std::size_t size) { return size == 0 ? 0 : (size - 1) / kGrain; }
std::size_t SlotBytes(std::size_t sizeClass) { return (sizeClass + 1) * kGrain; }

bool NewBlock(Pool& pool) {
  auto* b = static_cast<Block*>(std::malloc(kBlockBytes));
  if (!b) return false;
  b->next = pool.blocks;
  pool.blocks = b;
  ++pool.blockCount;
  pool.bump = reinterpret_cast<char*>(b) + kHeaderBytes;
  pool.end = reinterpret_cast<char*>(b) + kBlockBytes;
  POOL_POISON(pool.bump, static_cast<std::size_t>(pool.end - pool.bump));
  return true;
}

// Every object is back: all blocks go to the heap.
void ReleaseAll(Pool& pool) {
  while (Block* b = pool.blocks) {
    pool.blocks = b->next;
    POOL_UNPOISON(b, kBlockBytes);
    std::free(b);
  }
  pool.blockCount = 0;
  pool.bump = pool.end = nullptr;
  for (FreeSlot*& f : pool.free) f = nullptr;
}

}  // namespace

void* AtomPool::Allocate(std::size_t size) noexcept {
  if (size > kLargest) return ::operator new(size, std::nothrow);
  Pool& pool = ThePool();
  const std::size_t k = ClassOf(size);
  const std::size_t bytes = SlotBytes(k);
  void* p;
  if (FreeSlot* slot = pool.free[k]) {
    POOL_UNPOISON(slot, bytes);
    pool.free[k] = slot->next;
    p = slot;
  } else {
    // The rest of a block too small for this size is left unused.
    if (static_cast<std::size_t>(pool.end - pool.bump) < bytes && !NewBlock(pool)) return nullptr;
    p = pool.bump;
    POOL_UNPOISON(p, bytes);
    pool.bump += bytes;
  }
  ++pool.live;
  return p;
}

void AtomPool::Free(void* p, std::size_t size) noexcept {
  if (!p) return;
  if (size > kLargest) {
    ::operator delete(p);
    return;
  }
  Pool& pool = ThePool();
  const std::size_t k = ClassOf(size);
  auto* slot = static_cast<FreeSlot*>(p);
  slot->next = pool.free[k];
  pool.free[k] = slot;
  POOL_POISON(p, SlotBytes(k));
  if (--pool.live == 0) ReleaseAll(pool);
}

std::size_t AtomPool::LiveObjects() noexcept { return ThePool().live; }
std::size_t AtomPool::Blocks() noexcept { return ThePool().blockCount; }
