// The attribute values of the event being handled, by attribute name: what
// "$NAME" references in action parameters expand to. Adding a name again
// keeps the earlier entry but the table then finds the newer one.
#pragma once

#include <memory>
#include <vector>

#include "mfc/cstring.h"
#include "text/string_hash_table.h"
#include "win/types.h"

struct ValueEntry {
  CString name;
  CString value;
  BYTE flag = 0;
};

class ValueTable {
 public:
  static constexpr int kBuckets = 53;

  ValueTable() : table_(kBuckets) {}

  bool Add(const CString& name, const CString& value, BYTE flag);
  const ValueEntry* Lookup(std::string_view name) const;
  void Clear();
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  StringHashTable<ValueEntry*> table_;
  std::vector<std::unique_ptr<ValueEntry>> entries_;
};
