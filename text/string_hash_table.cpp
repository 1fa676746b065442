#include "text/string_hash_table.h"

#include "text/value_table.h"

std::uint32_t ElfHash(std::string_view key, std::uint32_t h) {
  for (char c : key) {
    h = (h << 4) + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    const std::uint32_t g = h & 0xF0000000u;
    if (g) h ^= (g >> 24) ^ g;
  }
  return h;
}

bool ValueTable::Add(const CString& name, const CString& value, BYTE flag) {
  entries_.push_back(std::make_unique<ValueEntry>(ValueEntry{name, value, flag}));
  table_.Insert(name, entries_.back().get());
  return true;
}

const ValueEntry* ValueTable::Lookup(std::string_view name) const {
  auto* n = table_.Find(name);
  return n ? n->value : nullptr;
}

void ValueTable::Clear() {
  if (entries_.empty() && table_.Count() == 0) return;
  table_.Clear();
  entries_.clear();
}
