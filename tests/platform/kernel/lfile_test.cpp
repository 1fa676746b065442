#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

namespace fs = std::filesystem;

class OldFileApiTest : public ::testing::Test {
 protected:
  testing_support::TempDir tmp_;
  std::string file_ = tmp_.write("data.bin", "0123456789");
};

TEST_F(OldFileApiTest, SeekOriginsAndReadingPastTheEnd) {
  HFILE f = _lopen(file_.c_str(), OF_READ);
  ASSERT_NE(f, HFILE_ERROR);
  char buf[16] = {};
  struct Step {
    LONG offset;
    int origin;
    LONG position;
    UINT ask;
    UINT got;
    const char* bytes;
  };
  const Step steps[] = {
      {3, 0, 3, 2, 2, "34"},     // from the start
      {2, 1, 7, 2, 2, "78"},     // from the current position (5 + 2)
      {-4, 2, 6, 10, 4, "6789"}, // from the end; asking past it gives a short count
      {0, 1, 10, 5, 0, ""},      // at the end: 0 bytes
      {20, 0, 20, 5, 0, ""},     // past the end: still 0, not an error
  };
  for (const auto& s : steps) {
    EXPECT_EQ(_llseek(f, s.offset, s.origin), s.position);
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(_lread(f, buf, s.ask), s.got);
    EXPECT_STREQ(buf, s.bytes);
  }
  EXPECT_EQ(_llseek(f, -1, 0), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(_llseek(f, 0, 3), HFILE_ERROR);
  EXPECT_EQ(_lwrite(f, "x", 1), static_cast<UINT>(HFILE_ERROR));  // opened for reading only
  EXPECT_EQ(_lclose(f), 0);
}

TEST_F(OldFileApiTest, ZeroLengthWriteTruncatesAtThePosition) {
  HFILE f = _lopen(file_.c_str(), OF_READWRITE);
  ASSERT_NE(f, HFILE_ERROR);
  EXPECT_EQ(_llseek(f, 4, 0), 4);
  EXPECT_EQ(_lwrite(f, "AB", 2), 2u);
  EXPECT_EQ(_lwrite(f, "", 0), 0u);
  EXPECT_EQ(_llseek(f, 0, 2), 6);
  _lclose(f);
  EXPECT_EQ(testing_support::TempDir::read(file_), "0123AB");
}

TEST_F(OldFileApiTest, CreateTruncatesAndOpenFileFillsTheName) {
  HFILE f = _lcreat(file_.c_str(), 0);
  ASSERT_NE(f, HFILE_ERROR);
  EXPECT_EQ(_llseek(f, 0, 2), 0);
  EXPECT_EQ(_lwrite(f, "new", 3), 3u);
  EXPECT_EQ(_llseek(f, 0, 0), 0);
  char buf[4] = {};
  EXPECT_EQ(_lread(f, buf, 3), 3u);  // _lcreat opens for reading too
  _lclose(f);

  OFSTRUCT of;
  std::string upper = win::WindowsPath(tmp_.path().string()) + "\\DATA.BIN";
  HFILE h = OpenFile(upper.c_str(), &of, OF_READ);
  ASSERT_NE(h, HFILE_ERROR);
  EXPECT_EQ(std::string(of.szPathName), win::WindowsPath(file_));
  EXPECT_EQ(of.cBytes, sizeof(OFSTRUCT));
  _lclose(h);

  EXPECT_EQ(OpenFile(upper.c_str(), &of, OF_EXIST), 1);
  EXPECT_EQ(OpenFile(tmp_.file("gone.txt").c_str(), &of, OF_EXIST), HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenFile(tmp_.path().c_str(), &of, OF_READ), HFILE_ERROR);  // a directory

  HFILE c = OpenFile(tmp_.file("made.txt").c_str(), &of, OF_CREATE | OF_WRITE);
  ASSERT_NE(c, HFILE_ERROR);
  _lclose(c);
  EXPECT_TRUE(fs::exists(tmp_.file("made.txt")));
  EXPECT_EQ(OpenFile(tmp_.file("MADE.TXT").c_str(), &of, OF_DELETE), 1);
  EXPECT_FALSE(fs::exists(tmp_.file("made.txt")));

  std::string deep = tmp_.path().string() + "/" + std::string(200, 'x');
  EXPECT_EQ(OpenFile(deep.c_str(), &of, OF_PARSE), 0);
  EXPECT_EQ(std::strlen(of.szPathName), sizeof of.szPathName - 1);  // cut, never overrun
}

TEST_F(OldFileApiTest, ForeignAndClosedHandlesAreRefused) {
  HFILE f = _lopen(file_.c_str(), OF_READ);
  ASSERT_NE(f, HFILE_ERROR);
  ASSERT_EQ(_lclose(f), 0);
  int foreign = ::open(file_.c_str(), O_RDONLY);  // not opened through _lopen
  char buf[4];
  for (HFILE bad : {f, HFILE{foreign}, HFILE{-1}, HFILE{99999}}) {
    EXPECT_EQ(_lread(bad, buf, 4), static_cast<UINT>(HFILE_ERROR));
    EXPECT_EQ(_lwrite(bad, buf, 0), static_cast<UINT>(HFILE_ERROR));
    EXPECT_EQ(_llseek(bad, 0, 0), HFILE_ERROR);
    EXPECT_EQ(_lclose(bad), HFILE_ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(::read(foreign, buf, 4), 4);  // still open: _lclose left it alone
  ::close(foreign);
}

TEST_F(OldFileApiTest, ErrorsOfMissingFilesAndPaths) {
  struct Case {
    std::string name;
    DWORD error;
  };
  const Case cases[] = {{tmp_.file("nope.txt"), ERROR_FILE_NOT_FOUND},
                        {tmp_.file("nodir/nope.txt"), ERROR_PATH_NOT_FOUND}};
  for (const auto& c : cases) {
    EXPECT_EQ(_lopen(c.name.c_str(), OF_READ), HFILE_ERROR);
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    EXPECT_EQ(GetFileAttributes(c.name.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
}

TEST_F(OldFileApiTest, WholeFileOperations) {
  std::string copy = tmp_.file("copy.bin");
  EXPECT_TRUE(CopyFile(file_.c_str(), copy.c_str(), TRUE));
  EXPECT_EQ(testing_support::TempDir::read(copy), "0123456789");
  EXPECT_FALSE(CopyFile(file_.c_str(), copy.c_str(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  // Onto itself (under another spelling): refused, the file is intact.
  EXPECT_FALSE(CopyFile(file_.c_str(), tmp_.file("DATA.BIN").c_str(), FALSE));
  EXPECT_EQ(testing_support::TempDir::read(file_), "0123456789");

  EXPECT_FALSE(MoveFile(copy.c_str(), file_.c_str()));  // an existing target stays
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFile(copy.c_str(), tmp_.file("moved.bin").c_str()));
  EXPECT_TRUE(MoveFile(tmp_.file("moved.bin").c_str(), tmp_.file("MOVED.BIN").c_str()));
  EXPECT_TRUE(fs::exists(tmp_.file("MOVED.BIN")));
  EXPECT_FALSE(fs::exists(tmp_.file("moved.bin")));

  EXPECT_TRUE(CreateDirectory(tmp_.file("Dir").c_str(), nullptr));
  EXPECT_EQ(GetFileAttributes(tmp_.file("DIR").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributes(file_.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  ::chmod(file_.c_str(), 0444);
  EXPECT_EQ(GetFileAttributes(file_.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ::chmod(file_.c_str(), 0644);
  tmp_.write("Dir/inner.txt", "x");
  EXPECT_FALSE(RemoveDirectory(tmp_.file("dir").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(DeleteFile(tmp_.file("dir").c_str()));  // not for directories
  EXPECT_TRUE(DeleteFile(tmp_.file("DIR/INNER.TXT").c_str()));
  EXPECT_TRUE(RemoveDirectory(tmp_.file("dir").c_str()));
  EXPECT_FALSE(DeleteFile(tmp_.file("dir").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Drives, OnlyDriveCExists) {
  struct Case {
    const char* root;
    UINT type;
  };
  const Case cases[] = {{"C:\\", DRIVE_FIXED}, {"c:", DRIVE_FIXED},       {"/home", DRIVE_FIXED},
                        {nullptr, DRIVE_FIXED}, {"D:\\", DRIVE_NO_ROOT_DIR}, {"A:", DRIVE_NO_ROOT_DIR},
                        {"relative", DRIVE_NO_ROOT_DIR}};
  for (const auto& c : cases) EXPECT_EQ(GetDriveType(c.root), c.type) << (c.root ? c.root : "null");
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  EXPECT_EQ(SetErrorMode(old), static_cast<UINT>(SEM_FAILCRITICALERRORS));
}

}  // namespace
