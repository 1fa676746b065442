#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kernel_test_util.h"
#include "support/temp_dir.h"
#include "win/kernel.h"

namespace {

// A settings file written by hand: CR LF, blanks around names and "=",
// quotes, comments, a key before any section, duplicate sections and keys.
const char kOddIni[] =
    "orphan=before any section\r\n"
    "; a comment\r\n"
    "[CONNECT]\r\n"
    "Server = korvex://host:418/ \r\n"
    "  Login=\t guest\t\r\n"
    "Password=\"  spaced secret  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"abc'\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "login=second login is ignored\r\n"
    ";Autologin=1\r\n"
    "\r\n"
    "[ Init ]  trailing text\r\n"
    "Effects = 0\r\n"
    "Number=  -42xyz\r\n"
    "Hex=0x1F\r\n"
    "Text=abc\r\n"
    "[connect]\r\n"
    "Server=duplicate section is ignored\r\n"
    "Extra=only in the duplicate\r\n"
    "[Last]\r\n"
    "Tail=no line end";

class ProfileTest : public ::testing::Test {
 protected:
  std::string Get(const char* section, const char* key, const char* def = "<default>") {
    char buf[260];
    GetPrivateProfileString(section, key, def, buf, sizeof buf, file_.c_str());
    return buf;
  }
  // A NUL-separated list with its final double NUL, as one string.
  std::string List(const char* section, DWORD size, DWORD* result = nullptr) {
    std::string buf(size + 4, '#');
    DWORD n = GetPrivateProfileString(section, nullptr, "ignored", buf.data(), size, file_.c_str());
    if (result) *result = n;
    return buf;
  }
  testing_support::TempDir tmp_;
  std::string file_ = tmp_.write("Tolm.ini", kOddIni);
};

TEST_F(ProfileTest, ValuesWithOddSpacingQuotesAndComments) {
  struct Case {
    const char* section;
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"CONNECT", "Server", "korvex://host:418/"},
      {"connect", " LOGIN ", "guest"},  // names without case or surrounding blanks
      {"CONNECT", "Password", "  spaced secret  "},  // quotes keep the blanks inside
      {"CONNECT", "Single", "x"},
      {"CONNECT", "Mismatched", "\"abc'"},
      {"CONNECT", "Empty", ""},
      {"CONNECT", "NoEquals", ""},
      {"CONNECT", "Autologin", "<default>"},  // commented out
      {"CONNECT", "Extra", "<default>"},      // the first section of a name wins
      {"  init", "effects", "0"},
      {"Last", "Tail", "no line end"},
      {"Missing", "Server", "<default>"},
      {"", "orphan", "<default>"},            // a key before any section is ignored
      {"CONNECT", "orphan", "<default>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST_F(ProfileTest, DefaultsForMissingFileAndNullDefault) {
  char buf[16] = "stale";
  EXPECT_EQ(GetPrivateProfileString("CONNECT", "Server", nullptr, buf, sizeof buf,
                                    tmp_.file("none.ini").c_str()),
            0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(GetPrivateProfileString("CONNECT", "Nope", "dflt  ", buf, sizeof buf, file_.c_str()), 4u);
  EXPECT_STREQ(buf, "dflt");  // trailing blanks of a default are dropped
}

TEST_F(ProfileTest, ValueIsCutToTheBuffer) {
  char buf[8];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(GetPrivateProfileString("CONNECT", "Server", "", buf, 5, file_.c_str()), 4u);
  EXPECT_STREQ(buf, "korv");
  EXPECT_EQ(buf[5], '#');
  EXPECT_EQ(GetPrivateProfileString("CONNECT", "Server", "", buf, 1, file_.c_str()), 0u);
  EXPECT_STREQ(buf, "");
}

TEST_F(ProfileTest, SectionAndKeyLists) {
  DWORD n = 0;
  std::string all = List(nullptr, 100, &n);
  const std::string sections("CONNECT\0Init\0Last\0\0", 19);
  EXPECT_EQ(all.substr(0, 19), sections);  // the duplicate [connect] once
  EXPECT_EQ(n, 18u);
  std::string keys = List("Connect", 200, &n);
  const std::string expected("Server\0Login\0Password\0Single\0Mismatched\0Empty\0NoEquals\0\0", 56);
  EXPECT_EQ(keys.substr(0, 56), expected);
  EXPECT_EQ(n, 55u);
  EXPECT_EQ(List("Missing", 10, &n).substr(0, 2), std::string("\0\0", 2));
  EXPECT_EQ(n, 0u);
}

TEST_F(ProfileTest, ListsAreCutWithTwoNuls) {
  struct Case {
    DWORD size;
    DWORD result;
    std::string bytes;
  };
  const Case cases[] = {
      {10, 8, std::string("CONNECT\0\0\0#", 11)},
      {6, 4, std::string("CONN\0\0#", 7)},
      {2, 0, std::string("\0\0#", 3)},
      {1, 0, std::string("\0#", 2)},
  };
  for (const auto& c : cases) {
    DWORD n = 0;
    std::string got = List(nullptr, c.size, &n);
    EXPECT_EQ(n, c.result) << c.size;
    EXPECT_EQ(got.substr(0, c.bytes.size()), c.bytes) << c.size;
  }
}

TEST_F(ProfileTest, SectionLines) {
  char buf[64];
  DWORD n = GetPrivateProfileSection("init", buf, sizeof buf, file_.c_str());
  const std::string expected("Effects=0\0Number=-42xyz\0Hex=0x1F\0Text=abc\0\0", 43);
  EXPECT_EQ(n, 42u);
  EXPECT_EQ(std::string(buf, 43), expected);
}

TEST_F(ProfileTest, Integers) {
  struct Case {
    const char* section;
    const char* key;
    int def;
    UINT value;
  };
  const Case cases[] = {
      {"Init", "Effects", 1, 0},
      {"Init", "Number", 7, static_cast<UINT>(-42)},  // digits up to the first non-digit
      {"Init", "Hex", 7, 31},
      {"Init", "Text", 7, 0},  // present without digits: 0, not the default
      {"CONNECT", "Empty", 7, 0},
      {"Init", "Missing", 7, 7},
      {"Init", "Missing", -3, static_cast<UINT>(-3)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetPrivateProfileInt(c.section, c.key, c.def, file_.c_str()), c.value) << c.key;
}

TEST_F(ProfileTest, BareFileNameIsInTheCurrentDirectory) {
  kernel_test::CwdGuard cwd;
  ASSERT_TRUE(SetCurrentDirectory(tmp_.path().c_str()));
  char buf[32];
  GetPrivateProfileString("CONNECT", "Login", "", buf, sizeof buf, "TOLM.INI");
  EXPECT_STREQ(buf, "guest");
}

TEST_F(ProfileTest, WritesKeepEveryOtherLine) {
  ASSERT_TRUE(WritePrivateProfileString("connect", "LOGIN", "admin", file_.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("Init", "NewKey", "  v  ", file_.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("Fresh", "Key", "1", file_.c_str()));
  std::string text = testing_support::TempDir::read(file_);
  // Only the Login line changed (keeping its spelling); the new key follows
  // the last entry of its section; the new section comes at the end.
  std::string expected = kOddIni;
  expected.replace(expected.find("  Login=\t guest\t"), 16, "Login=admin");
  expected.replace(expected.find("Text=abc\r\n") + 10, 0, "NewKey=  v  \r\n");
  expected += "\r\n\r\n[Fresh]\r\nKey=1\r\n";
  EXPECT_EQ(text, expected);
  EXPECT_EQ(Get("CONNECT", "login"), "admin");
  EXPECT_EQ(Get("Init", "NewKey"), "v");
  EXPECT_EQ(GetPrivateProfileInt("FRESH", "key", 0, file_.c_str()), 1u);
}

TEST_F(ProfileTest, DeletingKeysAndSections) {
  ASSERT_TRUE(WritePrivateProfileString("CONNECT", "login", nullptr, file_.c_str()));
  EXPECT_EQ(Get("CONNECT", "Login"), "<default>");  // every spelling of the key went
  EXPECT_EQ(Get("CONNECT", "Server"), "korvex://host:418/");
  ASSERT_TRUE(WritePrivateProfileString("connect", nullptr, nullptr, file_.c_str()));
  EXPECT_EQ(Get("CONNECT", "Server"), "<default>");
  EXPECT_EQ(Get("CONNECT", "Extra"), "<default>");  // the duplicate went too
  std::string text = testing_support::TempDir::read(file_);
  EXPECT_NE(text.find("; a comment\r\n[ Init ]"), std::string::npos) << text;
  EXPECT_EQ(Get("Last", "Tail"), "no line end");
}

// A file whose last line ends in a bare carriage return: the return ends the
// line (it is not part of the name), and stays so once a write appends more.
TEST(Profile, CarriageReturnAtTheEndOfTheFileEndsTheLine) {
  testing_support::TempDir tmp;
  std::string file = tmp.write("cr.ini", "[A]\nx=1\n[B]\r");
  char buf[64];
  GetPrivateProfileString(nullptr, nullptr, "", buf, sizeof buf, file.c_str());
  EXPECT_EQ(std::string(buf, 4), std::string("A\0B\0", 4));
  ASSERT_TRUE(WritePrivateProfileString("C", "y", "2", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("B", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(GetPrivateProfileString("B", "y", "<none>", buf, sizeof buf, file.c_str()), 6u);
  EXPECT_EQ(GetPrivateProfileInt("C", "y", 0, file.c_str()), 2u);
  EXPECT_EQ(testing_support::TempDir::read(file).find("[B]"), std::string::npos);
}

TEST(Profile, WriteThenReadRoundTrips) {
  testing_support::TempDir tmp;
  std::string file = tmp.file("new.ini");  // created by the first write
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"CONNECT", "Server", "kxlocal:C:\\data\\"},
      {"CONNECT", "Autologin", "1"},
      {"INIT", "LanguageOrder", "en ge, fr"},
      {"Color", "Red", "255,0,0;0,0,0"},
      {"CONNECT", "Server", "korvex://other"},  // replaces the first
      {"Empty", "Key", ""},
  };
  for (const auto& c : cases) ASSERT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, file.c_str()));
  char buf[64];
  const Case expected[] = {{"connect", "server", "korvex://other"},
                           {"CONNECT", "Autologin", "1"},
                           {"INIT", "LanguageOrder", "en ge, fr"},
                           {"COLOR", "red", "255,0,0;0,0,0"},
                           {"Empty", "Key", ""}};
  for (const auto& c : expected) {
    GetPrivateProfileString(c.section, c.key, "<none>", buf, sizeof buf, file.c_str());
    EXPECT_STREQ(buf, c.value) << c.key;
  }
  EXPECT_EQ(testing_support::TempDir::read(file),
            "[CONNECT]\r\nServer=korvex://other\r\nAutologin=1\r\n\r\n[INIT]\r\n"
            "LanguageOrder=en ge, fr\r\n\r\n[Color]\r\nRed=255,0,0;0,0,0\r\n\r\n[Empty]\r\nKey=\r\n");
}

TEST(Profile, LfFilesStayLfAndUnsafeWritesAreRefused) {
  testing_support::TempDir tmp;
  std::string file = tmp.write("lf.ini", "[A]\nx=1\n");
  ASSERT_TRUE(WritePrivateProfileString("A", "y", "2", file.c_str()));
  EXPECT_EQ(testing_support::TempDir::read(file), "[A]\nx=1\ny=2\n");
  // Each of these would change the shape of the file if written.
  const char* bad[][3] = {{"A", "z", "1\r\n[Injected]"}, {"A", "k=v", "1"}, {"A]", "k", "1"},
                          {"A", ";k", "1"},             {"", "k", "1"},     {"A", "", "1"}};
  for (const auto& b : bad) {
    EXPECT_FALSE(WritePrivateProfileString(b[0], b[1], b[2], file.c_str())) << b[1];
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(testing_support::TempDir::read(file), "[A]\nx=1\ny=2\n");
  EXPECT_FALSE(WritePrivateProfileString("A", "k", "1", tmp.file("missing/dir/x.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ::chmod(file.c_str(), 0444);  // a read-only file stays as it is
  EXPECT_FALSE(WritePrivateProfileString("A", "k", "1", file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(testing_support::TempDir::read(file), "[A]\nx=1\ny=2\n");
}

TEST(Profile, WritingThroughALinkChangesItsTarget) {
  testing_support::TempDir tmp;
  std::string target = tmp.write("real.ini", "[A]\n");
  std::string link = tmp.file("link.ini");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(WritePrivateProfileString("A", "k", "v", link.c_str()));
  EXPECT_EQ(testing_support::TempDir::read(target), "[A]\nk=v\n");
  struct stat st;
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the file's permissions are kept
}

}  // namespace
