// The memory of laid-out documents: atoms, the spans and runs of words,
// lines. A document makes such small objects by the hundred thousand and
// frees them all together when it goes; from the general heap each costs a
// search on the way in, another on the way out, and a header. The pool
// cuts them one after the other from 64 KiB blocks, so that what is made
// together (a word and its pieces) lies together, and keeps what is given
// back on a free list per size (multiples of 8 bytes up to kLargest):
// taking and giving back is a pointer swap. When the last object is given
// back (the documents are gone) every block is released to the heap, so
// nothing is held between documents.
//
// The pool serves the thread that builds and shows documents; it is not to
// be shared between threads. Under AddressSanitizer the room of a freed
// object is poisoned until it is handed out again.
#pragma once

#include <cstddef>
#include <new>

class AtomPool {
 public:
  // Sizes above this come from the general heap.
  static constexpr std::size_t kLargest = 1024;

  // Room for an object of `size` bytes; null when no memory is left.
  static void* Allocate(std::size_t size) noexcept;
  // Gives back what Allocate handed out for the same size (null: nothing).
  static void Free(void* p, std::size_t size) noexcept;

  // Objects handed out and not given back, and the blocks held: what tests
  // check after a document is gone.
  static std::size_t LiveObjects() noexcept;
  static std::size_t Blocks() noexcept;
};

// Gives a class and its derived classes pooled memory: `delete` of a base
// pointer frees the dynamic type's size (the classes have virtual
// destructors).
#define ZEMRA_POOLED_ALLOCATION                                                                          \
  static void* operator new(std::size_t size) {                                                         \
    if (void* p = AtomPool::Allocate(size)) return p;                                                   \
    throw std::bad_alloc();                                                                              \
  }                                                                                                      \
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {                         \
    return AtomPool::Allocate(size);                                                                     \
  }                                                                                                      \
  static void operator delete(void* p, std::size_t size) noexcept { AtomPool::Free(p, size); }
