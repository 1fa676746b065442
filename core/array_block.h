// The storage shared by the growable arrays: a count, a capacity and one
// block of elements. Capacity grows by doubling from 1 and never past
// kMaxArrayCapacity; a growth that cannot be had leaves the array as it was.
#pragma once

#include <memory>
#include <new>
#include <utility>

constexpr int kMaxArrayCapacity = 1 << 28;

// The capacity after one growth step (0 -> 1, else doubled), or -1 when that
// would pass the cap.
inline int NextArrayCapacity(int capacity) {
  if (capacity <= 0) return 1;
  if (capacity > kMaxArrayCapacity / 2) return -1;
  return capacity * 2;
}

template <class T>
class ArrayBlock {
 public:
  ArrayBlock() = default;
  ArrayBlock(const ArrayBlock& other) { assign(other); }
  ArrayBlock& operator=(const ArrayBlock& other) {
    assign(other);
    return *this;
  }
  ArrayBlock(ArrayBlock&&) noexcept = default;
  ArrayBlock& operator=(ArrayBlock&&) noexcept = default;

  int count() const { return count_; }
  int capacity() const { return capacity_; }
  bool inRange(int i) const { return i >= 0 && i < count_; }
  const T& operator[](int i) const { return items_[i]; }
  T& operator[](int i) { return items_[i]; }
  const T* data() const { return items_.get(); }
  T* data() { return items_.get(); }

  // Moves the elements into a block of `capacity` slots (at least count).
  bool reserveExactly(int capacity) {
    if (capacity < count_ || capacity > kMaxArrayCapacity) return false;
    std::unique_ptr<T[]> block(capacity > 0 ? new (std::nothrow) T[capacity] : nullptr);
    if (capacity > 0 && !block) return false;
    for (int i = 0; i < count_; ++i) block[i] = std::move(items_[i]);
    items_ = std::move(block);
    capacity_ = capacity;
    return true;
  }

  bool grow() {
    int next = NextArrayCapacity(capacity_);
    return next > 0 && reserveExactly(next);
  }

  // Shifts the elements from `index` on up by one and stores x there.
  bool insertAt(int index, const T& x) {
    if (index < 0 || index > count_) return false;
    if (count_ == capacity_ && !grow()) return false;
    for (int i = count_; i > index; --i) items_[i] = std::move(items_[i - 1]);
    items_[index] = x;
    ++count_;
    return true;
  }

  bool append(const T& x) { return insertAt(count_, x); }

  bool removeAt(int index) {
    if (!inRange(index)) return false;
    for (int i = index; i + 1 < count_; ++i) items_[i] = std::move(items_[i + 1]);
    items_[--count_] = T();
    return true;
  }

  // Forgets every element and frees the block.
  void clear() {
    items_.reset();
    count_ = 0;
    capacity_ = 0;
  }

  // Becomes a copy of other (capacity = other's count); unchanged on failure
  // and when other is this array.
  bool assign(const ArrayBlock& other) {
    if (&other == this) return true;
    std::unique_ptr<T[]> block(other.count_ > 0 ? new (std::nothrow) T[other.count_] : nullptr);
    if (other.count_ > 0 && !block) return false;
    for (int i = 0; i < other.count_; ++i) block[i] = other.items_[i];
    items_ = std::move(block);
    count_ = other.count_;
    capacity_ = other.count_;
    return true;
  }

  // Takes over a block holding `count` elements in `capacity` slots.
  void adopt(int count, std::unique_ptr<T[]> block, int capacity) {
    items_ = std::move(block);
    count_ = items_ ? count : 0;
    capacity_ = items_ ? (capacity > count ? capacity : count) : 0;
  }

  // Cuts the count (elements past it are reset); capacity unchanged.
  void truncate(int count) {
    if (count < 0 || count >= count_) return;
    for (int i = count; i < count_; ++i) items_[i] = T();
    count_ = count;
  }

 private:
  std::unique_ptr<T[]> items_;
  int count_ = 0;
  int capacity_ = 0;
};
