#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "kernel_test_util.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

namespace fs = std::filesystem;

// A tree in mixed case: Data/Sub/Index.IDX, Data/Sub/index.idx (a second
// spelling), Data/Notes.txt, readme.TXT.
class PathMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp_.write("Data/Sub/Index.IDX", "upper");
    tmp_.write("Data/Notes.txt", "notes");
    tmp_.write("readme.TXT", "readme");
    root_ = tmp_.path().string();
    winRoot_ = win::WindowsPath(root_);
  }
  testing_support::TempDir tmp_;
  std::string root_;     // host form
  std::string winRoot_;  // "C:\tmp\zemra-test-..."
};

TEST_F(PathMapTest, WindowsNamesFindMixedCaseFiles) {
  struct Case {
    std::string name;
    std::string host;
  };
  const Case cases[] = {
      {winRoot_ + "\\DATA\\sub\\INDEX.idx", root_ + "/Data/Sub/Index.IDX"},
      {winRoot_ + "\\data/SUB\\index.IDX", root_ + "/Data/Sub/Index.IDX"},  // both separators
      {winRoot_ + "\\README.txt", root_ + "/readme.TXT"},
      {winRoot_ + "\\Data\\Sub\\..\\..\\README.txt", root_ + "/readme.TXT"},
      {winRoot_ + "\\.\\data\\.\\notes.TXT", root_ + "/Data/Notes.txt"},
      {"d:" + root_ + "/data/notes.txt", root_ + "/Data/Notes.txt"},  // any drive letter
      {root_ + "/DATA//Notes.TXT", root_ + "/Data/Notes.txt"},        // a plain host path
      {winRoot_ + "\\DATA\\NewDir\\X.txt", root_ + "/Data/NewDir/X.txt"},  // missing parts kept
      {winRoot_ + "\\DATA\\sub\\", root_ + "/Data/Sub"},
  };
  for (const auto& c : cases) EXPECT_EQ(win::HostPath(c.name), c.host) << c.name;
}

TEST_F(PathMapTest, ExactSpellingWinsThenByteOrder) {
  tmp_.write("Data/Sub/index.idx", "lower");
  EXPECT_EQ(win::HostPath(root_ + "/Data/Sub/index.idx"), root_ + "/Data/Sub/index.idx");
  EXPECT_EQ(win::HostPath(root_ + "/Data/Sub/Index.IDX"), root_ + "/Data/Sub/Index.IDX");
  // Neither spelled as asked: "Index.IDX" comes first in byte order.
  EXPECT_EQ(win::HostPath(root_ + "/Data/Sub/INDEX.IDX"), root_ + "/Data/Sub/Index.IDX");
}

TEST_F(PathMapTest, ANameMatchesOnlyANameOfItsOwnLength) {
  // Neighbours that begin or end alike, some before "Index.IDX" in byte order.
  for (const char* name : {"Data/Sub/Index.ID", "Data/Sub/Index.IDX.old", "Data/Sub/I", "Data/Sub/A"})
    tmp_.write(name, "neighbour");
  const struct {
    const char* asked;
    const char* found;
  } cases[] = {
      {"/data/SUB/INDEX.IDX", "/Data/Sub/Index.IDX"},
      {"/data/SUB/INDEX.id", "/Data/Sub/Index.ID"},
      {"/data/SUB/index.idx.OLD", "/Data/Sub/Index.IDX.old"},
      {"/data/SUB/i", "/Data/Sub/I"},
      {"/data/SUB/INDEX.I", "/Data/Sub/INDEX.I"},  // none: kept as asked
      {"/data/SUB/INDEX.IDXX", "/Data/Sub/INDEX.IDXX"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(win::HostPath(root_ + c.asked), root_ + c.found) << c.asked;
}

TEST_F(PathMapTest, NewFilesGoUnderTheExistingMixedCaseDirectory) {
  std::string name = winRoot_ + "\\data\\SUB\\New.Txt";
  HFILE f = _lcreat(name.c_str(), 0);
  ASSERT_NE(f, HFILE_ERROR);
  EXPECT_EQ(_lwrite(f, "hi", 2), 2u);
  _lclose(f);
  EXPECT_EQ(testing_support::TempDir::read(root_ + "/Data/Sub/New.Txt"), "hi");
  EXPECT_FALSE(fs::exists(root_ + "/data"));
  // Opened again under yet another spelling, it is the same file.
  EXPECT_NE(GetFileAttributes((winRoot_ + "\\DATA\\sub\\NEW.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(CreateDirectory((winRoot_ + "\\DATA\\Fresh").c_str(), nullptr));
  EXPECT_TRUE(fs::is_directory(root_ + "/Data/Fresh"));
  EXPECT_FALSE(CreateDirectory((winRoot_ + "\\data\\FRESH").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

// A file about to be made: its directory is found in any spelling, its own
// name kept as spelled even where another spelling exists.
TEST_F(PathMapTest, NewNamesMapTheirDirectoryAndKeepTheirSpelling) {
  kernel_test::CwdGuard cwd;
  ASSERT_TRUE(SetCurrentDirectory(winRoot_.c_str()));
  const struct {
    std::string name;
    std::string host;
  } cases[] = {
      {winRoot_ + "\\DATA\\sub\\New.Txt", root_ + "/Data/Sub/New.Txt"},
      {winRoot_ + "\\data/SUB\\INDEX.idx", root_ + "/Data/Sub/INDEX.idx"},  // another spelling exists
      {"DATA\\notes.TXT", "Data/notes.TXT"},
      {"C:fresh.txt", "fresh.txt"},  // drive-relative: current directory
      {"fresh.txt", "fresh.txt"},
      {"C:\\fresh.txt", "/fresh.txt"},
      {winRoot_ + "\\DATA\\", ""},
      {winRoot_ + "\\DATA\\..", ""},
      {".", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(win::HostPathOfNewName(c.name), c.host) << c.name;
}

TEST_F(PathMapTest, RelativeNamesStayRelative) {
  kernel_test::CwdGuard cwd;
  ASSERT_TRUE(SetCurrentDirectory((winRoot_ + "\\DATA").c_str()));
  EXPECT_EQ(win::HostPath("sub\\INDEX.idx"), "Sub/Index.IDX");
  EXPECT_EQ(win::HostPath("..\\README.TXT"), "../readme.TXT");
  EXPECT_EQ(win::HostPath("C:notes.TXT"), "Notes.txt");  // drive-relative: current directory
  EXPECT_EQ(win::HostPath("."), ".");
  EXPECT_EQ(win::AbsoluteHostPath(win::HostPath("..\\readme.txt")), root_ + "/readme.TXT");
  EXPECT_EQ(win::FullWindowsPath("sub\\index.IDX"), winRoot_ + "\\Data\\Sub\\Index.IDX");
}

TEST(PathMap, WindowsFormOfHostPaths) {
  EXPECT_EQ(win::WindowsPath("/a/b"), "C:\\a\\b");
  EXPECT_EQ(win::WindowsPath("/"), "C:\\");
  EXPECT_EQ(win::WindowsPath("rel/x.txt"), "rel\\x.txt");
  EXPECT_EQ(win::HostPath("C:\\"), "/");
  EXPECT_EQ(win::HostPath("\\..\\.."), "/");  // no way above the root
  EXPECT_EQ(win::HostPath(nullptr), "");
  EXPECT_EQ(win::HostPath(""), "");
}

TEST(PathMap, MapPathToHostFitsOrFails) {
  char buf[8];
  EXPECT_EQ(MapPathToHost("C:\\usr", buf, sizeof buf), 4u);
  EXPECT_STREQ(buf, "/usr");
  EXPECT_EQ(MapPathToHost("C:\\usr\\share\\x", buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(MapPathToHost(nullptr, buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "");
}

}  // namespace
