#include "core/magic_table.h"

#include <cstring>

namespace magic_detail {

Table& table() {
  static Table t{};
  return t;
}

}  // namespace magic_detail

int MagicEntryCount() { return magic_detail::table().count; }

const MagicEntry* MagicEntries() { return magic_detail::table().entries; }

void SetMagicEntries(const MagicEntry* entries, int count) {
  magic_detail::Table& t = magic_detail::table();
  if (!entries || count < 0) count = 0;
  if (count > kMagicMaxEntries) count = kMagicMaxEntries;
  if (count > 0) std::memcpy(t.entries, entries, sizeof(MagicEntry) * count);
  t.count = count;
}
