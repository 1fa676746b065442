// Directory searches: patterns with '*' and '?', names compared without
// regard to case, the order and the end of a search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

std::vector<std::string> Find(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(data.cFileName);
  while (FindNextFile(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));
  return names;
}

TEST(FindFile, PatternsMatchWithoutRegardToCase) {
  testing_support::TempDir tmp;
  for (const char* name : {"MAIN.STY", "a.sty", "B.Sty", "c.styx", "notes.txt", "x.sty.bak"})
    tmp.write(name, "12345");
  tmp.write("dir.sty/inner", "");
  const std::string dir = win::WindowsPath(tmp.path().string()) + "\\";
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*.sty", {"B.Sty", "MAIN.STY", "a.sty", "dir.sty"}},
      {"*.STY", {"B.Sty", "MAIN.STY", "a.sty", "dir.sty"}},
      {"?.sty", {"B.Sty", "a.sty"}},
      {"main.*", {"MAIN.STY"}},
      {"*x*", {"c.styx", "notes.txt", "x.sty.bak"}},
      {"nothing*", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(dir + c.pattern), c.names) << c.pattern;
  EXPECT_EQ(Find(dir + "*").front(), ".");

  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile((dir + "A.STY").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_FALSE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
  h = FindFirstFile((dir + "DIR.STY").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
}

TEST(FindFile, FailuresSayWhy) {
  testing_support::TempDir tmp;
  const std::string dir = win::WindowsPath(tmp.path().string());
  WIN32_FIND_DATA data;
  EXPECT_EQ(FindFirstFile((dir + "\\*.none").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFile((dir + "\\missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFile("", &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFile(INVALID_HANDLE_VALUE, &data));
  EXPECT_FALSE(FindClose(nullptr));
}

}  // namespace
