// An append-only list of non-null pointers kept in chunks of eight, with one
// cursor shared by walking and adding (an Add during a walk leaves the cursor
// at the end). The list ends at the first null slot or at the end of a full
// last chunk. The pointers are not owned; the chunks after the first are.
#pragma once

class ChunkList {
 public:
  static constexpr int kSlots = 8;

  ChunkList() { reset(); }
  ChunkList(const ChunkList&) = delete;
  ChunkList& operator=(const ChunkList&) = delete;
  ~ChunkList() { freeChunks(); }

  void* First();           // the first pointer, null when empty
  void* Next();            // the following pointer, null at the end
  void* Add(void* p);      // p, or null when p is null or memory failed
  void RemoveAll();

  // Chunks in use (at least the built-in first one).
  int chunkCount() const;

 private:
  struct Chunk {
    void* slots[kSlots];
    Chunk* next;
  };
  void* current() const { return index_ < kSlots ? cursor_->slots[index_] : nullptr; }
  void freeChunks();
  void reset();

  Chunk first_{};
  Chunk* cursor_ = &first_;
  int index_ = 0;  // 0..8; 8 only at the end of a full last chunk
};
