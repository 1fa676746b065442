#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "mfc/afx.h"
#include "support/temp_dir.h"

using testing_support::TempDir;

namespace {

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { win::ResetUserState(); }
  void TearDown() override { win::ResetUserState(); }
};

TEST_F(AppTest, TheConstructedApplicationIsCurrentUntilItGoes) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  {
    CWinApp app("Tolm");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "Tolm");
    EXPECT_EQ(AfxGetInstanceHandle(), app.m_hInstance);
    EXPECT_TRUE(app.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    // The application replaces a name with its own malloc'd copy; the
    // destructor frees whatever is there.
    std::free(const_cast<char*>(app.m_pszExeName));
    app.m_pszExeName = ::strdup("Tolm");
    app.m_pszHelpFilePath = ::strdup("C:\\Tolm.hlp");
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(AfxGetInstanceHandle(), nullptr);
}

TEST_F(AppTest, AfxMessageBoxUsesTheTitleTheMainWindowAndDefaultIcons) {
  // Without an application the caption is "Tolm".
  EXPECT_EQ(AfxMessageBox("first"), IDOK);
  CWinApp app("Viewer");
  // A stand-in main window, resolved to a handle as the window classes will.
  static int fakeWnd;
  AfxSetWindowHandleResolver(
      [](const CWnd* w) { return w == reinterpret_cast<const CWnd*>(&fakeWnd) ? reinterpret_cast<HWND>(7) : nullptr; });
  app.m_pMainWnd = reinterpret_cast<CWnd*>(&fakeWnd);
  EXPECT_EQ(AfxGetMainWnd(), reinterpret_cast<CWnd*>(&fakeWnd));
  win::QueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(AfxMessageBox("Delete File Cache?", MB_YESNO), IDNO);
  AfxMessageBox("stop", MB_OK | MB_ICONHAND);
  AfxMessageBox("retry", MB_RETRYCANCEL);
  AfxMessageBox(5);  // from the string table
  AfxSetWindowHandleResolver(nullptr);

  const auto& log = win::MessageBoxLog();
  ASSERT_EQ(log.size(), 5u);
  struct Expected {
    const char* text;
    const char* caption;
    HWND owner;
    UINT type;
  };
  const Expected expected[] = {
      {"first", "Tolm", nullptr, MB_OK | MB_ICONEXCLAMATION},
      {"Delete File Cache?", "Viewer", reinterpret_cast<HWND>(7), MB_YESNO | MB_ICONEXCLAMATION},
      {"stop", "Viewer", reinterpret_cast<HWND>(7), MB_OK | MB_ICONHAND},
      {"retry", "Viewer", reinterpret_cast<HWND>(7), MB_RETRYCANCEL},
      {"Information", "Viewer", reinterpret_cast<HWND>(7), MB_OK | MB_ICONEXCLAMATION},
  };
  for (size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].text, expected[i].text) << i;
    EXPECT_EQ(log[i].caption, expected[i].caption) << i;
    EXPECT_EQ(log[i].owner, expected[i].owner) << i;
    EXPECT_EQ(log[i].type, expected[i].type) << i;
  }
}

TEST_F(AppTest, ProfileFunctionsUseTheProfileFile) {
  TempDir dir;
  const std::string ini = dir.write("Tolm.ini", "[INIT]\nEffects = 0\nSortOrder=#CT\n");
  CWinApp app("Tolm");
  // Without a profile name: defaults, and writes fail.
  EXPECT_STREQ(app.GetProfileString("INIT", "SortOrder", "dflt"), "dflt");
  EXPECT_FALSE(app.WriteProfileInt("INIT", "Effects", 1));
  app.m_pszProfileName = ::strdup(ini.c_str());
  EXPECT_STREQ(app.GetProfileString("init", "sortorder"), "#CT");
  EXPECT_EQ(app.GetProfileInt("INIT", "Effects", 1), 0u);
  EXPECT_EQ(app.GetProfileInt("INIT", "Missing", 42), 42u);
  EXPECT_TRUE(app.WriteProfileInt("CACHE", "LimitFiles", -3));
  EXPECT_TRUE(app.WriteProfileString("CACHE", "ClearCache", "Y"));
  EXPECT_STREQ(app.GetProfileString("CACHE", "LimitFiles"), "-3");
  EXPECT_STREQ(app.GetProfileString("CACHE", "ClearCache"), "Y");
}

TEST_F(AppTest, RecentFileListIsReadAndWrittenBack) {
  TempDir dir;
  const std::string ini = dir.write("app.ini", "[Recent File List]\nFile1=C:\\b.kxl\nFile2=C:\\a.kxl\n");
  CWinApp app("App");
  app.m_pszProfileName = ::strdup(ini.c_str());
  app.LoadStdProfileSettings(2);
  ASSERT_EQ(app.RecentFileCount(), 2);
  app.AddToRecentFileList("C:\\A.KXL");  // the same file: moves to the front
  app.AddToRecentFileList("C:\\c.kxl");
  EXPECT_EQ(app.RecentFileCount(), 2);
  EXPECT_STREQ(app.RecentFile(0), "C:\\c.kxl");
  EXPECT_STREQ(app.RecentFile(1), "C:\\A.KXL");
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_STREQ(app.GetProfileString("Recent File List", "File1"), "C:\\c.kxl");
  EXPECT_STREQ(app.GetProfileString("Recent File List", "File2"), "C:\\A.KXL");

  // An application with no recent files does not touch its settings file.
  const std::string untouched = dir.file("none.ini");
  CWinApp other("Other");
  other.m_pszProfileName = ::strdup(untouched.c_str());
  other.LoadStdProfileSettings(4);
  other.ExitInstance();
  EXPECT_FALSE(std::filesystem::exists(untouched));
}

class CountingApp : public CWinApp {
 public:
  BOOL InitInstance() override { return TRUE; }
  BOOL OnIdle(LONG count) override {
    counts.push_back(count);
    if (count == 1) {
      // The end of a round: a message starts another, the second ends the loop.
      if (++rounds < 2)
        PostMessage(nullptr, WM_USER, 0, 0);
      else
        PostQuitMessage(17);
    }
    return count < 1;  // more idle work only in the first call of a round
  }
  int ExitInstance() override {
    exited = true;
    return CWinApp::ExitInstance();
  }
  std::vector<LONG> counts;
  int rounds = 0;
  bool exited = false;
};

TEST_F(AppTest, RunCallsIdleUntilItIsDoneAndEndsWithTheQuitCode) {
  CountingApp app;
  PostMessage(nullptr, WM_USER + 1, 0, 0);
  app.counts.clear();
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOW), 17);
  EXPECT_TRUE(app.exited);
  // The first message was waiting before Run: it is taken before idling.
  const std::vector<LONG> expected = {0, 1, 0, 1};
  EXPECT_EQ(app.counts, expected);
  // AfxWinInit filled the names the application had not set.
  ASSERT_NE(app.m_pszExeName, nullptr);
  EXPECT_STREQ(app.m_pszExeName, "platform_tests");
  EXPECT_STREQ(app.m_pszAppName, "platform_tests");
  EXPECT_STREQ(app.m_pszProfileName, "platform_tests.INI");
  ASSERT_NE(app.m_pszHelpFilePath, nullptr);
  EXPECT_NE(std::strstr(app.m_pszHelpFilePath, "platform_tests.HLP"), nullptr);
}

}  // namespace
