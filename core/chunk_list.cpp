#include "core/chunk_list.h"

#include <new>

void ChunkList::freeChunks() {
  Chunk* c = first_.next;
  while (c) {
    Chunk* following = c->next;
    delete c;
    c = following;
  }
  first_.next = nullptr;
}

void ChunkList::reset() {
  cursor_ = &first_;
  index_ = 0;
  first_.slots[0] = nullptr;
  first_.next = nullptr;
}

void ChunkList::RemoveAll() {
  freeChunks();
  reset();
}

void* ChunkList::First() {
  cursor_ = &first_;
  index_ = 0;
  return current();
}

void* ChunkList::Next() {
  if (current()) {
    ++index_;
    if (index_ == kSlots && cursor_->next) {
      cursor_ = cursor_->next;
      index_ = 0;
    }
  }
  return current();
}

void* ChunkList::Add(void* p) {
  if (!p) return nullptr;
  while (Next()) {
  }
  if (index_ == kSlots) {
    Chunk* fresh = new (std::nothrow) Chunk{};
    if (!fresh) return nullptr;
    cursor_->next = fresh;
    cursor_ = fresh;
    index_ = 0;
  }
  cursor_->slots[index_++] = p;
  if (index_ < kSlots) cursor_->slots[index_] = nullptr;
  return p;
}

int ChunkList::chunkCount() const {
  int n = 1;
  for (const Chunk* c = first_.next; c; c = c->next) ++n;
  return n;
}
