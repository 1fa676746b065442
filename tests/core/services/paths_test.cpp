#include "core/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "win/kernel.h"

namespace {

TEST(IsAbsolute, Cases) {
  struct Case {
    const char* name;
    bool expected;
  };
  const Case cases[] = {
      {"C:\\data", true}, {"d:x", true},     {"\\\\server\\share", true}, {"/usr/share", true},
      {"data\\x", false}, {"\\data", false}, {"x", false},                {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isAbsolute(c.name), c.expected) << c.name;
  EXPECT_FALSE(isAbsolute(nullptr));
}

TEST(MakePath, Cases) {
  struct Case {
    const char* dir;
    const char* name;
    const char* ext;
    const char* expected;
  };
  const Case cases[] = {
      {"c:\\data", "index", "idx", "C:\\DATA\\INDEX.IDX"},
      {"c:\\data", "index.old", "idx", "C:\\DATA\\INDEX.IDX"},
      {"c:\\data", "index", ".idx", "C:\\DATA\\INDEX.IDX"},
      {"c:\\data\\", "index", "idx", "C:\\DATA\\INDEX.IDX"},
      {"c:\\data", "D:\\X", "", "D:\\X"},
      {"c:\\data", "D:\\X", "idx", "D:\\X.IDX"},
      {"c:\\my.dir", "file", "txt", "C:\\MY.DIR\\FILE.TXT"},
      {"c:\\data", "links.dat", "", "C:\\DATA\\LINKS.DAT"},
      {"", "index", "idx", "INDEX.IDX"},
      {nullptr, "index", "idx", "INDEX.IDX"},
      {"c:\\data", "/srv/kx/links", "dat", "/SRV/KX/LINKS.DAT"},
      {"/srv/kx/", "links", "dat", "/SRV/KX/LINKS.DAT"},
      {"c:\\data", "sub\\name.a.b", "c", "C:\\DATA\\SUB\\NAME.A.C"},
      {"c:\\data", "\xe4x", "", "C:\\DATA\\\xc4X"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(makePath(c.dir, c.name, c.ext), c.expected) << (c.name ? c.name : "");
}

TEST(MakePath, LongResultsAreCutToTheBuffer) {
  std::string dir(400, 'd');
  const char* p = makePath(dir.c_str(), "name", "ext");
  EXPECT_EQ(std::strlen(p), static_cast<size_t>(kPathBufferSize - 1));
  EXPECT_EQ(std::string(p), std::string(kPathBufferSize - 1, 'D'));
}

TEST(MakePath, EachFunctionKeepsItsOwnBuffer) {
  ForgetPathDirectories();
  const char* general = makePath("c:\\a", "x", "");
  const char* app = makeAppPath("y", "");
  EXPECT_NE(general, app);
  EXPECT_STREQ(general, "C:\\A\\X");
  makePath("c:\\b", "z", "");
  EXPECT_STREQ(general, "C:\\B\\Z");  // the same buffer, overwritten
  EXPECT_STREQ(makeDataDirPath("file.old", "new"), "FILE.NEW");
}

TEST(MakeAppPath, WithoutApplicationUsesCurrentDirectoryUpperCased) {
  ForgetPathDirectories();
  char cwd[MAX_PATH] = {};
  ASSERT_GT(GetCurrentDirectory(sizeof cwd, cwd), 0u);
  std::string expected = std::string(cwd) + "\\TOLM.INI";
  for (char& c : expected) c = static_cast<char>(win_toupper(static_cast<unsigned char>(c)));
  EXPECT_STREQ(makeAppPath("tolm", "ini"), expected.c_str());
  EXPECT_STREQ(localDataPath("tolm", "ini"), expected.c_str());
  ForgetPathDirectories();
}

TEST(DriveKind, LocalDisksAreFixed) {
  EXPECT_EQ(driveKind("C:\\"), 0);
  EXPECT_EQ(driveKind("/tmp"), 0);
  EXPECT_EQ(driveKind(nullptr), 0);
  CString label("unchanged");
  EXPECT_EQ(getVolumeLabel("C:\\", label), 0);
  EXPECT_EQ(label, "unchanged");
}

}  // namespace
