#include "core/id_array.h"

#include <algorithm>
#include <new>

IdArray::IdArray(const IdArray& other, int start, int count) {
  if (start < 0) start = 0;
  if (start >= other.count() || count <= 0) return;
  if (count > other.count() - start) count = other.count() - start;
  std::unique_ptr<ObjectId[]> block(new (std::nothrow) ObjectId[count]);
  if (!block) return;
  for (int i = 0; i < count; ++i) block[i] = other.at(start + i);
  items_.adopt(count, std::move(block), count);
}

void IdArray::Adopt(int count, std::unique_ptr<ObjectId[]> block, int capacity) {
  if (count < 0) count = 0;
  items_.adopt(count, std::move(block), capacity);
  Sort();
}

void IdArray::Sort() {
  ObjectId* first = items_.data();
  if (!first) return;
  ObjectId* last = first + items_.count();
  std::sort(first, last);
  items_.truncate(static_cast<int>(std::unique(first, last) - first));
}

bool IdArray::Union(const IdArray& other) {
  if (count() == 0) return items_.assign(other.items_);
  const int total = count() + other.count();
  std::unique_ptr<ObjectId[]> block(new (std::nothrow) ObjectId[total]);
  if (!block) return false;
  int a = 0, b = 0, n = 0;
  while (a < count() || b < other.count()) {
    if (b == other.count() || (a < count() && at(a) < other.at(b))) {
      block[n++] = at(a++);
    } else if (a == count() || other.at(b) < at(a)) {
      block[n++] = other.at(b++);
    } else {
      block[n++] = at(a++);
      ++b;
    }
  }
  items_.adopt(n, std::move(block), total);
  return true;
}

void IdArray::Subtract(const IdArray& other) {
  int kept = 0;
  int b = 0;
  for (int a = 0; a < count(); ++a) {
    ObjectId id = items_[a];
    while (b < other.count() && other.at(b) < id) ++b;
    if (b < other.count() && other.at(b) == id) continue;
    items_[kept++] = id;
  }
  items_.truncate(kept);
}

bool IdArray::Read(IntSource& in) {
  LONG count = 0;
  if (!in.readInt(count)) return false;
  if (count < 0 || static_cast<size_t>(count) > in.bytesLeft() || count > kMaxArrayCapacity)
    return false;
  std::unique_ptr<ObjectId[]> block(count > 0 ? new (std::nothrow) ObjectId[count] : nullptr);
  if (count > 0 && !block) return false;
  for (LONG i = 0; i < count; ++i) {
    LONG value = 0;
    if (!in.readInt(value)) return false;
    block[i] = ObjectId(value);
  }
  Adopt(count, std::move(block), count);
  return true;
}

bool ReadObjectId(IntSource& in, ObjectId& out) {
  LONG value = 0;
  if (!in.readInt(value)) return false;
  out = ObjectId(value);
  return true;
}
