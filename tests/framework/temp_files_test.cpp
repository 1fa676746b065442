// Temporary files on a machine shared with other users and other runs of
// the client: a directory of the user's own, names no one can guess, files
// made exclusively, and names planted beforehand never followed.
#include "framework/temp_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

class TempFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    setenv("TMPDIR", dir_.path().c_str(), 1);
  }
  void TearDown() override {
    if (hadOld_)
      setenv("TMPDIR", old_.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  fs::path usual() const { return dir_.path() / ("zemra-" + std::to_string(::geteuid())); }
  static fs::path Host(const CString& name) {
    const fs::path p(win::HostPath(name.str()));
    return p.has_filename() ? p : p.parent_path();
  }
  static mode_t Mode(const fs::path& p) {
    struct stat st{};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st.st_mode;
  }

  TempDir dir_;
  std::string old_;
  bool hadOld_ = false;
};

TEST_F(TempFilesTest, FilesAreMadeAtOnceInTheUsersOwnDirectory) {
  const CString temp = GetTempDirectory();
  ASSERT_FALSE(temp.IsEmpty());
  EXPECT_EQ(temp.Right(1), "\\");
  EXPECT_EQ(Host(temp), usual());
  EXPECT_TRUE(S_ISDIR(Mode(usual())));
  EXPECT_EQ(Mode(usual()) & 0777, 0700u);

  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const CString name = MakeTempFileName("kxd");
    ASSERT_FALSE(name.IsEmpty());
    EXPECT_EQ(name.Left(temp.GetLength()), temp);
    const CString rest = name.Mid(temp.GetLength());
    ASSERT_EQ(rest.GetLength(), 12) << rest;
    EXPECT_EQ(rest.Right(4), ".kxd");
    EXPECT_EQ(rest.Left(8).SpanIncluding("0123456789ABCDEF").GetLength(), 8);
    // Made, empty, and the user's alone.
    const fs::path host = Host(name);
    EXPECT_TRUE(fs::is_regular_file(host));
    EXPECT_EQ(fs::file_size(host), 0u);
    EXPECT_EQ(Mode(host) & 0777, 0600u);
    names.insert(name.str());
  }
  // Drawn at random, not counted up from a clock another run shares.
  EXPECT_EQ(names.size(), 20u);

  // A name for a file made later is only checked, not made.
  const CString later = MakeTempName("kxdoc", ".*", false);
  ASSERT_FALSE(later.IsEmpty());
  EXPECT_EQ(later.Right(2), ".*");
  EXPECT_EQ(later.Mid(temp.GetLength(), 5), "kxdoc");
  EXPECT_FALSE(fs::exists(Host(later.Left(later.GetLength() - 2))));
}

TEST_F(TempFilesTest, APlantedLinkOrAnOpenDirectoryIsNeverUsedAsItStands) {
  // Someone links the usual name to a directory of their choosing: a fresh
  // directory of our own is used, and nothing lands where the link points.
  TempDir elsewhere;
  fs::create_directory_symlink(elsewhere.path(), usual());
  const CString temp = GetTempDirectory();
  ASSERT_FALSE(temp.IsEmpty());
  const fs::path used = Host(temp);
  EXPECT_NE(used, usual());
  EXPECT_FALSE(fs::is_symlink(used));
  EXPECT_EQ(used.parent_path(), dir_.path());
  EXPECT_EQ(Mode(used) & 0777, 0700u);
  ASSERT_FALSE(MakeTempFileName("txt").IsEmpty());
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
  // The same directory serves the rest of the run.
  EXPECT_EQ(GetTempDirectory(), temp);

  // A directory of ours that others could enter is closed first.
  fs::remove(usual());
  fs::create_directory(usual());
  fs::permissions(usual(), fs::perms::all);
  EXPECT_EQ(Host(GetTempDirectory()), usual());
  EXPECT_EQ(Mode(usual()) & 0777, 0700u);
}

TEST_F(TempFilesTest, AFileNamePlantedAsALinkIsNotFollowed) {
  const CString temp = GetTempDirectory();
  ASSERT_FALSE(temp.IsEmpty());
  TempDir elsewhere;
  const fs::path target = elsewhere.path() / "victim";
  const fs::path link = Host(temp) / "planted.txt";
  fs::create_symlink(target, link);
  EXPECT_FALSE(win::CreateNewPrivateFile((temp + "planted.txt").str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(win::CreateNewPrivateFile((temp + "fresh.txt").str()));
  EXPECT_FALSE(win::CreateNewPrivateFile((temp + "fresh.txt").str()));
}

// The directory of a new file is found in any spelling; the file itself is
// made as its name is spelled, and a file that holds the name in another
// spelling only is left as it is.
TEST_F(TempFilesTest, ANewFileIsMadeAsSpelledInItsDirectoryFoundInAnySpelling) {
  const CString temp = GetTempDirectory();
  ASSERT_FALSE(temp.IsEmpty());
  std::string otherSpelling = temp.str();
  const size_t at = otherSpelling.rfind("zemra-");
  ASSERT_NE(at, std::string::npos);
  otherSpelling.replace(at, 6, "ZEMRA-");
  EXPECT_TRUE(win::CreateNewPrivateFile(otherSpelling + "Fresh.TXT"));
  EXPECT_TRUE(fs::is_regular_file(usual() / "Fresh.TXT"));
  EXPECT_EQ(Mode(usual() / "Fresh.TXT") & 0777, 0600u);
  EXPECT_FALSE(win::CreateNewPrivateFile((temp + "Fresh.TXT").str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  { std::ofstream(usual() / "taken.txt") << "keep"; }
  EXPECT_TRUE(win::CreateNewPrivateFile((temp + "TAKEN.TXT").str()));
  std::ifstream kept(usual() / "taken.txt");
  std::string bytes;
  std::getline(kept, bytes);
  EXPECT_EQ(bytes, "keep");
  EXPECT_EQ(fs::file_size(usual() / "TAKEN.TXT"), 0u);

  EXPECT_FALSE(win::CreateNewPrivateFile((temp + "..").str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
