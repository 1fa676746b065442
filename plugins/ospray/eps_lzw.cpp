#include "eps_lzw.h"

#include <algorithm>
#include <new>

namespace ospray {
namespace {
constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kEnd = 257;
constexpr std::uint32_t kFirstFree = 258;
constexpr std::size_t kFlushAbove = 250;
}  // namespace

void LzwEncoder::Reset() {
  std::fill(children_.get(), children_.get() + 4096 * kSlots, kEmpty);
  next_ = kFirstFree;
}

bool LzwEncoder::Start() {
  children_.reset(new (std::nothrow) std::uint32_t[4096 * kSlots]);
  if (!children_) return false;
  Reset();
  width_ = 9;
  current_ = -1;
  Emit(kClear);
  return true;
}

void LzwEncoder::Emit(std::uint32_t code) {
  acc_ = (acc_ << width_) | code;
  bits_ += width_;
  while (bits_ >= 8) {
    bits_ -= 8;
    out_.push_back(static_cast<std::uint8_t>(acc_ >> bits_));
  }
  acc_ &= (1u << bits_) - 1;
}

bool LzwEncoder::Drain(bool all) {
  if (failed_) return false;
  if (out_.empty() || (!all && out_.size() <= kFlushAbove)) return true;
  if (!sink_(out_.data(), out_.size())) failed_ = true;
  out_.clear();
  return !failed_;
}

bool LzwEncoder::Put(const std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t c = data[i];
    if (current_ < 0) {
      current_ = c;
      continue;
    }
    const auto w = static_cast<std::uint32_t>(current_);
    std::uint32_t* slots = children_.get() + w * kSlots;
    std::uint32_t found = kEmpty;
    int freeSlot = -1;
    for (int s = 0; s < kSlots; ++s) {
      if (slots[s] == kEmpty) {
        freeSlot = s;
        break;
      }
      if (char_[slots[s]] == c) {
        found = slots[s];
        break;
      }
    }
    if (found == kEmpty && freeSlot < 0) {
      // Every slot taken: the table itself, from the first free code on.
      for (std::uint32_t code = kFirstFree; code < next_; ++code)
        if (prefix_[code] == w && char_[code] == c) {
          found = code;
          break;
        }
    }
    if (found != kEmpty) {
      current_ = static_cast<int>(found);
      continue;
    }
    if (next_ == 4094) {
      Emit(w);
      Reset();
      Emit(kClear);
      width_ = 9;
    } else {
      prefix_[next_] = static_cast<std::uint16_t>(w);
      char_[next_] = c;
      if (freeSlot >= 0) slots[freeSlot] = next_;
      Emit(w);
      ++next_;
      width_ = next_ < 512 ? 9 : next_ < 1024 ? 10 : next_ < 2048 ? 11 : 12;
    }
    current_ = c;
    if (out_.size() > kFlushAbove && !Drain(false)) return false;
  }
  return Drain(false);
}

bool LzwEncoder::Finish() {
  if (current_ >= 0) Emit(static_cast<std::uint32_t>(current_));
  Emit(kEnd);
  if (bits_ > 0) {
    out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - bits_)));
    bits_ = 0;
    acc_ = 0;
  }
  return Drain(true);
}

}  // namespace ospray
