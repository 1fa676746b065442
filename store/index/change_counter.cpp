#include "store/index/change_counter.h"

#include <map>

#include "win/path_map.h"

namespace index_changes {

std::uint64_t* counterFor(const char* name) {
  static std::map<std::string, std::uint64_t> counters;
  std::string key = win::AbsoluteHostPath(win::HostPath(name));
  return &counters[key];
}

}  // namespace index_changes
