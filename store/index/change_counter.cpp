#include "store/index/change_counter.h"

#include <map>
#include <string>

#include "win/path_map.h"

namespace index_changes {

FileState* stateOf(const char* name) {
  static std::map<std::string, FileState> states;
  std::string key = win::AbsoluteHostPath(win::HostPath(name));
  return &states[key];
}

}  // namespace index_changes
