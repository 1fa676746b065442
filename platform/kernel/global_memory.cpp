// Global memory blocks. Every block is registered, so a bad or freed handle
// is answered with a failure instead of touching memory. A fixed block's
// handle is its address, as on Windows (callers cast GPTR results to
// pointers); a moveable block's handle is a token that is never an address
// (malloc results are 16-byte aligned, tokens end in binary 0010) and never
// reused, so a stale moveable handle is always recognised.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "win/kernel.h"

namespace {

constexpr DWORD_PTR kMaxBlockBytes = DWORD_PTR{1} << 30;  // 1 GiB

struct Block {
  unsigned char* data = nullptr;
  DWORD_PTR size = 0;  // as asked for
  UINT flags = 0;      // GMEM_MOVEABLE, GMEM_DISCARDABLE ...
  UINT locks = 0;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, Block> blocks;    // by handle
  std::unordered_map<std::uintptr_t, std::uintptr_t> byAddress;  // data -> handle
  std::uintptr_t nextToken = 1;
};

Registry& Blocks() {
  static Registry* registry = new Registry;  // outlives static destructors that free blocks
  return *registry;
}

std::uintptr_t Key(HGLOBAL h) { return reinterpret_cast<std::uintptr_t>(h); }

// Backing store is at least one byte so that even an empty block has an
// address of its own.
unsigned char* Allocate(DWORD_PTR bytes, bool zero) {
  size_t n = bytes == 0 ? 1 : static_cast<size_t>(bytes);
  return static_cast<unsigned char*>(zero ? std::calloc(1, n) : std::malloc(n));
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
  unsigned char* data = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Registry& r = Blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(data);
  if (flags & GMEM_MOVEABLE) handle = (r.nextToken++ << 4) | 0x2;
  r.blocks[handle] = Block{data, bytes, flags & (GMEM_MOVEABLE | GMEM_DISCARDABLE), 0};
  r.byAddress[reinterpret_cast<std::uintptr_t>(data)] = handle;
  return reinterpret_cast<HGLOBAL>(handle);
}

// Keeps the content up to the smaller size; growth is zero-filled. A
// moveable block keeps its handle. Growing needs new memory, and a block
// whose address is in use (a locked moveable block, or any fixed block, whose
// handle is its address) moves only when the flags include GMEM_MOVEABLE, as
// on Windows; then a fixed block gets a new handle. Otherwise the call fails
// and the block stays as it was, so no pointer is left dangling unasked.
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
  bool moveable = (b->flags & GMEM_MOVEABLE) != 0;
  bool mustMove = bytes > b->size;  // shrinking stays in place
  bool addressInUse = !moveable || b->locks > 0;
  if (mustMove && addressInUse && !(flags & GMEM_MOVEABLE)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  unsigned char* data = b->data;
  if (mustMove) {
    data = Allocate(bytes, false);
    if (!data) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    std::memcpy(data, b->data, static_cast<size_t>(b->size));
    // Growth is zeroed whether or not GMEM_ZEROINIT asks for it: without the
    // flag callers may not rely on any content, so zeros serve both cases.
    std::memset(data + b->size, 0, static_cast<size_t>(bytes - b->size));
    std::free(b->data);
  }
  Block moved = *b;
  moved.data = data;
  moved.size = bytes;
  std::uintptr_t oldHandle = Key(mem);
  std::uintptr_t newHandle = moveable ? oldHandle : reinterpret_cast<std::uintptr_t>(data);
  r.byAddress.erase(reinterpret_cast<std::uintptr_t>(b->data));
  r.blocks.erase(oldHandle);
  r.blocks[newHandle] = moved;
  r.byAddress[reinterpret_cast<std::uintptr_t>(data)] = newHandle;
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
  std::free(b->data);
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
