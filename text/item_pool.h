// Recycles the memory of the small objects the tokenizer makes by the
// million (events, text items, attribute pairs): a freed block of a class's
// own size goes on a free list instead of back to the allocator. Blocks of
// another size (derived classes) use the ordinary allocator. The program
// has one thread, so the lists are not locked.
#pragma once

#include <cstddef>
#include <new>

template <std::size_t Size>
class ItemPool {
 public:
  static void* Allocate(std::size_t size) {
    if (size != Size || !free_) return ::operator new(size);
    Block* b = free_;
    free_ = b->next;
    --count_;
    return b;
  }
  static void Release(void* p, std::size_t size) {
    if (!p) return;
    if (size != Size || count_ >= kKeep) {
      ::operator delete(p);
      return;
    }
    auto* b = static_cast<Block*>(p);
    b->next = free_;
    free_ = b;
    ++count_;
  }

 private:
  static_assert(Size >= sizeof(void*));
  // Enough for the look-ahead of any document; the rest goes back.
  static constexpr std::size_t kKeep = 4096;
  struct Block {
    Block* next;
  };
  static inline Block* free_ = nullptr;
  static inline std::size_t count_ = 0;
};

// Gives a class pooled new and delete.
#define ZEMRA_POOLED(Class)                                                                  \
  static void* operator new(std::size_t size) { return ItemPool<sizeof(Class)>::Allocate(size); } \
  static void operator delete(void* p, std::size_t size) { ItemPool<sizeof(Class)>::Release(p, size); }
