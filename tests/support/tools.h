// Outside programs that tests compare with (ImageMagick, netpbm, xwd, an
// Xvfb server...). Where one is missing a test cannot do its part: it is
// skipped on a developer's machine, but where the test command asks for
// every tool (ZEMRA_REQUIRE_TOOLS=1, as tools/run-tests.sh and CI set it,
// after installing them all) the test fails instead, so that nothing is
// silently left unchecked there.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Whether every outside tool must be there (ZEMRA_REQUIRE_TOOLS=1).
bool ToolsRequired();
// Records that `what` is missing: a failure of the running test when the
// tools are required, nothing otherwise.
void NoteMissing(const std::string& what);
// Whether the program is on the PATH; a missing one is noted.
bool HaveTool(const std::string& name);

}  // namespace testing_support

// Ends the running test when `have` is false: skipped, or failed where the
// tools are required (once: HaveTool has noted a missing program already).
// `what` says what is missing.
#define ZEMRA_SKIP_WITHOUT(have, what)                                          \
  do {                                                                          \
    if (!(have)) {                                                              \
      const std::string missing_ = (what);                                      \
      if (!::testing::Test::HasFailure()) ::testing_support::NoteMissing(missing_); \
      GTEST_SKIP() << missing_;                                                 \
    }                                                                           \
  } while (0)
