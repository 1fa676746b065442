// An abstract most-recently-used cache: a list of {value, key copy} entries,
// most recent first, holding at most `capacity` entries. Subclasses say how a
// value is made from a key and whether an entry serves a key. The drawing
// surface keeps its pens, fonts and brushes in such caches.
#pragma once

#include "core/list.h"

class MruKey {
 public:
  virtual ~MruKey();
  // A copy the cache keeps; null when it cannot be made.
  virtual MruKey* clone() const = 0;
};

class MruValue {
 public:
  virtual ~MruValue();
};

class MruEntry : public ListElement {
 public:
  MruEntry(MruValue* value, MruKey* key) : value_(value), key_(key) {}
  ~MruEntry() override;  // deletes the value and the key copy

  MruValue* value() const { return value_; }
  const MruKey* key() const { return key_; }

 private:
  MruValue* value_;
  MruKey* key_;
};

class MruCache {
 public:
  explicit MruCache(int capacity);
  MruCache(const MruCache&) = delete;
  MruCache& operator=(const MruCache&) = delete;
  virtual ~MruCache();

  int capacity() const { return capacity_; }
  LONG count() const { return entries_.count(); }
  const List& entries() const { return entries_; }

  // The value for key: a hit moves to the front; a miss makes the value,
  // dropping the least recently used entry when the cache is full. The cache
  // keeps the value; the pointer stays good until its entry is dropped.
  // Null when the value or the key copy cannot be made.
  MruValue* Get(const MruKey& key);

 protected:
  virtual MruValue* create(const MruKey& key) = 0;
  virtual bool matches(const MruEntry& entry, const MruKey& key) const = 0;

 private:
  List entries_;
  int capacity_;
};
