// Working memory of a conversion taken from the global heap, so that a size
// a file asks for is refused by the heap's limit (1 GiB) and reported as
// missing memory instead of ending the program. Freed with the object.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win/kernel.h"

namespace plugins {

class ScratchBlock {
 public:
  ScratchBlock() = default;
  // `zeroed`: the bytes start as zeros.
  explicit ScratchBlock(std::uint64_t bytes, bool zeroed = false) { Allocate(bytes, zeroed); }
  ~ScratchBlock() { Release(); }
  ScratchBlock(const ScratchBlock&) = delete;
  ScratchBlock& operator=(const ScratchBlock&) = delete;

  // False when the heap cannot give that much.
  bool Allocate(std::uint64_t bytes, bool zeroed = false) {
    Release();
    if (bytes > (std::uint64_t{1} << 30)) return false;
    block_ = GlobalAlloc(zeroed ? GHND : GMEM_MOVEABLE, static_cast<DWORD_PTR>(bytes ? bytes : 1));
    if (block_) data_ = static_cast<std::uint8_t*>(GlobalLock(block_));
    size_ = data_ ? static_cast<std::size_t>(bytes) : 0;
    return data_ != nullptr;
  }
  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  void Release() {
    if (block_) {
      if (data_) GlobalUnlock(block_);
      GlobalFree(block_);
    }
    block_ = nullptr;
    data_ = nullptr;
    size_ = 0;
  }
  HGLOBAL block_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace plugins
