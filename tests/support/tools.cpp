#include "support/tools.h"

#include <cstdlib>
#include <cstring>

namespace testing_support {

bool ToolsRequired() {
  const char* v = std::getenv("ZEMRA_REQUIRE_TOOLS");
  return v && *v && std::strcmp(v, "0") != 0;
}

void NoteMissing(const std::string& what) {
  if (ToolsRequired())
    ADD_FAILURE() << what << " (ZEMRA_REQUIRE_TOOLS is set: tools/install-deps.sh installs every tool)";
}

bool HaveTool(const std::string& name) {
  // Names are the test's own words; nothing from outside reaches the shell.
  const std::string command = "command -v '" + name + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == 0) return true;
  NoteMissing(name + " is not installed");
  return false;
}

}  // namespace testing_support
