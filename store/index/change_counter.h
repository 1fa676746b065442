// One process may hold the same index file open twice (a reader for searches
// beside a writer of keys). What the open objects of one file share: a
// counter that every write raises, so that an object that finds it moved
// drops the blocks it cached; and the number of objects writing it, so that
// opening it again never takes the writer's journal for one left by a crash.
#pragma once

#include <cstdint>

namespace index_changes {

struct FileState {
  std::uint64_t changes = 0;
  int writers = 0;
};

// The state of the file `name` names (any spelling of the same file gives
// the same state). The pointer stays valid for the life of the program.
FileState* stateOf(const char* name);

}  // namespace index_changes
