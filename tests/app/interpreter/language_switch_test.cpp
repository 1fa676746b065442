// A language switch as the user makes it: "language" queues the language
// command, which shows the Language Options dialog; a click on German and
// Enter make German the most preferred language.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/commands/command_queue.h"
#include "app/commands/session_commands.h"
#include "app/dialogs/dialog_resources.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "app/dialogs/support/ui_fixture.h"
#include "core/languages.h"

namespace {

// The main window: when the dialog goes idle the first time, the user
// clicks the entry and presses Enter (or Escape).
class MainWindow : public CWnd {
 public:
  int entry = 1;
  UINT key = VK_RETURN;
  std::string listed;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ENTERIDLE) {
      HWND dialog = reinterpret_cast<HWND>(lParam);
      listed = shell_ui_test::ListNames(dialog, kLanguageList);
      shell_ui_test::ClickListEntry(dialog, kLanguageList, entry);
      shell_ui_test::Key(key);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class LanguageSwitchTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    previous_ = GetShellUi();
    ReplaceShellUi(ShellUi());
    InstallShellDialogs();
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
    app_ = std::make_unique<CWinApp>("Tolm");
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Tolm", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               400, 300, nullptr, nullptr));
    app_->m_pMainWnd = &main_;
    ASSERT_TRUE(Languages::instance()->setOrder("engefr"));
  }
  void TearDown() override {
    app_->m_pMainWnd = nullptr;
    if (main_.GetSafeHwnd()) main_.DestroyWindow();
    app_.reset();
    TheCommandQueue().ResetForTests();
    ReplaceShellUi(previous_);
    UiTest::TearDown();
  }
  // Runs the line and then the one command it queued; what it answered.
  BOOL RunQueued(const char* line) {
    Interpreter::Run(line);
    EXPECT_EQ(TheCommandQueue().Count(), 1);
    std::unique_ptr<Command> c(TheCommandQueue().Pop());
    return c ? c->Execute() : FALSE;
  }

  ShellUi previous_;
  std::unique_ptr<CWinApp> app_;
  MainWindow main_;
};

TEST_F(LanguageSwitchTest, ChosenInTheDialog) {
  Languages* languages = Languages::instance();
  const std::string german = languages->name("ge").str();
  EXPECT_TRUE(RunQueued("language"));
  EXPECT_EQ(main_.listed, languages->name("en").str() + "," + german + "," + languages->name("fr").str());
  EXPECT_STREQ(languages->orderString(), "geenfr");

  // Cancel after a click: the order at the opening comes back, no change.
  main_.entry = 2;
  main_.key = VK_ESCAPE;
  EXPECT_FALSE(RunQueued("language"));
  EXPECT_STREQ(languages->orderString(), "geenfr");
}

TEST_F(LanguageSwitchTest, ByCode) {
  Languages* languages = Languages::instance();
  RunQueued("language fr");
  EXPECT_STREQ(languages->orderString(), "frenge");
  RunQueued("language xx");
  EXPECT_STREQ(languages->orderString(), "frenge");
}

}  // namespace
