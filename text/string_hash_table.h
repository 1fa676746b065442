// The chained hash table behind every name table of the text layer: string
// keys, a fixed bucket count chosen at construction, new nodes at the front
// of their chain. Nothing is ever rehashed.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "mfc/cstring.h"

// The ELF string hash with the bytes taken as signed characters, so that
// tables built by older versions of the definition files bucket alike.
std::uint32_t ElfHash(std::string_view key, std::uint32_t h = 0);

template <typename V>
class StringHashTable {
 public:
  struct Node {
    CString key;
    V value;
    Node* next = nullptr;
    Node* prev = nullptr;
  };

  explicit StringHashTable(int bucketCount)
      : bucketCount_(bucketCount < 1 ? 1 : bucketCount), buckets_(new Node*[bucketCount_]()) {}
  StringHashTable(const StringHashTable&) = delete;
  StringHashTable& operator=(const StringHashTable&) = delete;
  virtual ~StringHashTable() { Clear(); }

  virtual int Hash(std::string_view key) const {
    return static_cast<int>(ElfHash(key) % static_cast<std::uint32_t>(bucketCount_));
  }

  void Clear() {
    for (int b = 0; b < bucketCount_; ++b) {
      Node* n = buckets_[b];
      while (n) {
        Node* next = n->next;
        delete n;
        n = next;
      }
      buckets_[b] = nullptr;
    }
    count_ = 0;
  }

  // Replaces the value of an existing key. The count grows in both cases:
  // it counts insertions minus removals.
  Node* Insert(const CString& key, V value) {
    const int b = Hash(key.view());
    Node* n = FindInBucket(key.view(), b);
    if (n) {
      n->value = std::move(value);
    } else {
      n = new Node{key, std::move(value), buckets_[b], nullptr};
      if (buckets_[b]) buckets_[b]->prev = n;
      buckets_[b] = n;
    }
    ++count_;
    return n;
  }

  // Unlinks the node of the key and hands it to the caller.
  std::unique_ptr<Node> Remove(std::string_view key) {
    const int b = Hash(key);
    Node* n = FindInBucket(key, b);
    if (!n) return nullptr;
    if (n->prev)
      n->prev->next = n->next;
    else
      buckets_[b] = n->next;
    if (n->next) n->next->prev = n->prev;
    n->next = n->prev = nullptr;
    --count_;
    return std::unique_ptr<Node>(n);
  }

  Node* FindInBucket(std::string_view key, int bucket) const {
    if (bucket < 0 || bucket >= bucketCount_) return nullptr;
    for (Node* n = buckets_[bucket]; n; n = n->next)
      if (n->key.view() == key) return n;
    return nullptr;
  }
  Node* Find(std::string_view key) const { return FindInBucket(key, Hash(key)); }

  // The first node of the lowest non-empty bucket, or null.
  Node* First() const {
    for (int b = 0; b < bucketCount_; ++b)
      if (buckets_[b]) return buckets_[b];
    return nullptr;
  }
  // The node after `node` in its own chain; null at the chain's end.
  Node* Next(const Node* node) const { return node ? node->next : nullptr; }
  // Every node, bucket by bucket.
  template <typename F>
  void ForEach(F&& f) const {
    for (int b = 0; b < bucketCount_; ++b)
      for (Node* n = buckets_[b]; n; n = n->next) f(*n);
  }

  int Count() const { return count_; }
  int BucketCount() const { return bucketCount_; }

 private:
  int bucketCount_;
  std::unique_ptr<Node*[]> buckets_;
  int count_ = 0;
};
