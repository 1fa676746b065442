#include "core/file_on_path.h"

#include <gtest/gtest.h>

#include <string>

#include "scoped_env.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

TEST(IsFileOnPath, Cases) {
  TempDir dir;
  const std::string file = dir.write("present.txt", "x");
  dir.write("bin/zemra-only-on-path.probe", "x");
  const std::string bin = dir.file("bin");
  ScopedEnv path("PATH", (bin + ":/usr/bin:/bin").c_str());

  struct Case {
    std::string name;
    bool expected;
  };
  const Case cases[] = {
      {"com1", false},
      {"CON", false},
      {"Lpt3", false},
      {"prn", false},
      {"aux", false},
      {file, true},
      {dir.path().string(), false},  // a directory is no file
      {dir.file("absent.txt"), false},
      {"zemra-only-on-path.probe", true},
      {"zemra-nowhere-at-all.probe", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsFileOnPath(c.name.c_str()), c.expected) << c.name;
  EXPECT_FALSE(IsFileOnPath(nullptr));
}

}  // namespace
