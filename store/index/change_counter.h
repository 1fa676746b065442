// One process may hold the same index file open twice (a reader for searches
// beside a writer of keys). Every write to a file raises a counter kept per
// file; an open index that finds the counter moved since it last looked drops
// the blocks it cached.
#pragma once

#include <cstdint>
#include <string>

namespace index_changes {

// The counter of the file `name` names (any spelling of the same file gives
// the same counter). The pointer stays valid for the life of the program.
std::uint64_t* counterFor(const char* name);

}  // namespace index_changes
