#include "framework/viewer_app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "framework/app_hooks.h"
#include "framework/temp_files.h"
#include "core/paths.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

using testing_support::TempDir;

CString currentDirectory() {
  char buffer[4096] = {};
  GetCurrentDirectory(sizeof buffer, buffer);
  return CString(buffer);
}

// Runs a test inside a fresh directory and goes back afterwards.
class ViewerAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    start_ = currentDirectory();
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    ForgetPathDirectories();
    win::ResetUserState();
  }
  void writeIni(const std::string& text) { dir_.write("Tolm.ini", text); }

  TempDir dir_;
  std::filesystem::path old_;
  CString start_;
};

TEST_F(ViewerAppTest, SettingsFileIsCurrentDirectoryNameAndIni) {
  ViewerApp app("Tolm");
  EXPECT_EQ(app.GetStartDir(), start_);
  app.SetIniPath("Tolm");
  EXPECT_EQ(CString(app.GetIniPath()), start_ + "\\Tolm.ini");
  EXPECT_STREQ(app.m_pszProfileName, app.GetIniPath());
  EXPECT_STREQ(app.m_pszExeName, "Tolm");
  // Without a name the executable base name is used.
  app.SetIniPath(nullptr);
  EXPECT_EQ(CString(app.GetIniPath()), start_ + "\\Tolm.ini");
  EXPECT_STREQ(app.m_pszExeName, "Tolm");
  app.SetIniPath("Other");
  EXPECT_EQ(CString(app.GetIniPath()), start_ + "\\Other.ini");
  EXPECT_STREQ(app.m_pszExeName, "Other");
  // A path that would not fit is refused whole, not cut to another name.
  const std::string tooLong(MAX_PATH, 'n');
  EXPECT_FALSE(app.SetIniPath(tooLong.c_str()));
  EXPECT_EQ(CString(app.GetIniPath()), start_ + "\\Other.ini");
  EXPECT_STREQ(app.m_pszProfileName, app.GetIniPath());
  EXPECT_STREQ(app.m_pszExeName, "Other");
}

TEST_F(ViewerAppTest, ProfileValuesAreCutTo259Characters) {
  const std::string longValue(300, 'v');
  writeIni("[CONNECT]\nServer=" + longValue + "\nAutologin=7\nEmpty=\n");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  EXPECT_EQ(app.GetProfileString("CONNECT", "Server", "").str(), longValue.substr(0, 259));
  EXPECT_EQ(app.GetProfileString("connect", "missing", "dflt"), "dflt");
  EXPECT_EQ(app.GetProfileString("CONNECT", "missing", nullptr), "");
  EXPECT_EQ(app.GetProfileString("CONNECT", "Empty", "dflt"), "");
  EXPECT_EQ(app.GetProfileInt("CONNECT", "Autologin", 0), 7);
  EXPECT_EQ(app.GetProfileInt("CONNECT", "missing", -3), -3);
}

TEST_F(ViewerAppTest, HomeDirBecomesCurrentAndGetsASeparator) {
  std::filesystem::create_directories(dir_.path() / "home");
  writeIni("[Tolm]\nHomeDir=" + dir_.file("home") + "\n");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(app.GetHomeDir(), CString(dir_.file("home").c_str()) + "\\");
  EXPECT_EQ(std::filesystem::current_path(), dir_.path() / "home");
  EXPECT_EQ(app.GetStartDir(), start_);
  EXPECT_EQ(CString(app.m_pszHelpFilePath), currentDirectory() + "\\Tolm.hlp");
  app.ExitInstance();
}

TEST_F(ViewerAppTest, MissingOrAbsentHomeDirLeavesStartDirectoryCurrent) {
  struct Case {
    std::string ini;
    CString home;
  };
  const Case cases[] = {
      {"", start_ + "\\"},
      {"[Tolm]\nHomeDir=C:\\no\\such\\place\\\n", "C:\\no\\such\\place\\"},
      // Empty: not the root of the drive.
      {"[Tolm]\nHomeDir=\n", start_ + "\\"},
      {"[Tolm]\nHomeDir=   \n", start_ + "\\"},
  };
  for (const Case& c : cases) {
    writeIni(c.ini);
    ViewerApp app("Tolm");
    app.SetIniPath("Tolm");
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.GetHomeDir(), c.home) << c.ini;
    EXPECT_EQ(currentDirectory(), start_) << c.ini;
    EXPECT_EQ(CString(app.m_pszHelpFilePath), start_ + "\\Tolm.hlp") << c.ini;
    app.ExitInstance();
  }
}

TEST_F(ViewerAppTest, LongHomeDirAndStartDirectoryAreKeptWhole) {
  // A home directory deeper than any fixed buffer of the settings layer.
  std::filesystem::path deep = dir_.path();
  for (int i = 0; i < 12; ++i) deep /= std::string(40, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  writeIni("[Tolm]\nHomeDir=" + deep.string() + "\n");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ASSERT_TRUE(app.InitInstance());
  EXPECT_GT(app.GetHomeDir().GetLength(), 480);
  EXPECT_EQ(std::filesystem::current_path(), deep);
  app.ExitInstance();

  // Started there, the settings path keeps the whole directory.
  ViewerApp deepApp("Tolm");
  deepApp.SetIniPath("Tolm");
  EXPECT_EQ(CString(deepApp.GetIniPath()), deepApp.GetStartDir() + "\\Tolm.ini");
  EXPECT_GT(deepApp.GetStartDir().GetLength(), 480);
}

TEST_F(ViewerAppTest, InitInstanceComposesSettingsPathWhenNoneIsSet) {
  writeIni("[Tolm]\n");
  ViewerApp app("Tolm");
  // The executable's base name, as program start-up fills it in.
  app.m_pszExeName = strdup("Tolm");
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(CString(app.GetIniPath()), start_ + "\\Tolm.ini");
  EXPECT_NE(app.BusyCursor(), nullptr);  // the "BUSYCURSOR" resource
  app.ExitInstance();
}

TEST_F(ViewerAppTest, ExitInstanceFreesThePathStrings) {
  writeIni("");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ASSERT_TRUE(app.InitInstance());
  ASSERT_NE(app.m_pszHelpFilePath, nullptr);
  app.ExitInstance();
  EXPECT_EQ(app.m_pszHelpFilePath, nullptr);
  EXPECT_EQ(app.m_pszProfileName, nullptr);
  EXPECT_EQ(app.m_pszExeName, nullptr);
}

TEST_F(ViewerAppTest, BusyCountKeepsAndRestoresTheCursor) {
  writeIni("");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ASSERT_TRUE(app.InitInstance());
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR busy = app.BusyCursor();
  ASSERT_NE(arrow, nullptr);
  ASSERT_NE(busy, nullptr);
  SetCursor(arrow);

  struct Step {
    void (*call)();
    int count;
    HCURSOR cursor;  // what is shown afterwards
  };
  const Step steps[] = {
      {BeginBusyCursor, 1, busy},    {BeginBusyCursor, 2, busy},   {RefreshBusyCursor, 2, busy},
      {EndBusyCursor, 1, busy},      {EndBusyCursor, 0, arrow},    {RefreshBusyCursor, 0, arrow},
  };
  int i = 0;
  for (const Step& s : steps) {
    s.call();
    EXPECT_EQ(app.BusyCount(), s.count) << "step " << i;
    EXPECT_EQ(GetCursor(), s.cursor) << "step " << i;
    ++i;
  }
  EXPECT_EQ(app.SavedCursor(), arrow);

  // A further End leaves the count at 0 and sets no cursor: whatever the
  // application shows meanwhile stays.
  HCURSOR other = LoadCursor(nullptr, IDC_CROSS);
  SetCursor(other);
  EndBusyCursor();
  EXPECT_EQ(app.BusyCount(), 0);
  EXPECT_EQ(GetCursor(), other);
  app.ExitInstance();
}

TEST_F(ViewerAppTest, BusyCursorCallsDoNothingWithoutAnApplication) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(arrow);
  BeginBusyCursor();
  RefreshBusyCursor();
  EndBusyCursor();
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(GetViewerApp(), nullptr);
}

TEST_F(ViewerAppTest, LocalDataDirectoryComesFromTheSettings) {
  writeIni("[CONNECT]\nLocalDataPath=c:\\kx\\data\n");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ForgetPathDirectories();
  EXPECT_STREQ(localDataPath("links", "idx"), "C:\\KX\\DATA\\LINKS.IDX");
  CString startUpper = start_;
  startUpper.MakeUpper();
  EXPECT_EQ(CString(makeAppPath("tolm", "ini")), startUpper + "\\TOLM.INI");
}

TEST(AppHooks, PasswordPromptGivesNothingAndCleanupReturns) {
  EXPECT_EQ(AskPassword("Password:", 8), "");
  CleanupBeforeExit(-1);
}

}  // namespace
