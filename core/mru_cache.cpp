#include "core/mru_cache.h"

#include <new>

MruKey::~MruKey() = default;
MruValue::~MruValue() = default;

MruEntry::~MruEntry() {
  delete value_;
  delete key_;
}

// A cache of fewer than one entry would drop the value it is about to return.
MruCache::MruCache(int capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

MruCache::~MruCache() { entries_.clearAndDelete(); }

MruValue* MruCache::Get(const MruKey& key) {
  for (ListElement* e = entries_.first(); e; e = e->next()) {
    auto* entry = static_cast<MruEntry*>(e);
    if (!matches(*entry, key)) continue;
    if (entries_.first() != entry) {
      entries_.unlink(entry);
      entries_.prepend(entry);
    }
    return entry->value();
  }
  MruValue* value = create(key);
  MruKey* copy = key.clone();
  auto* entry = value && copy ? new (std::nothrow) MruEntry(value, copy) : nullptr;
  if (!entry) {
    delete value;
    delete copy;
    return nullptr;
  }
  if (entries_.count() >= capacity_) delete entries_.popBack();
  entries_.prepend(entry);
  return value;
}
