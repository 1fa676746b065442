// The statements that act at once: the command window, the status report
// and printing, seen from the main window and the message boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/dialogs/dialog_resources.h"
#include "app/history/nav_history.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "core/object_utils.h"
#include "core/store.h"
#include "app/dialogs/support/ui_fixture.h"

namespace {

// The main window: records its commands, and fills and closes the command
// window when that goes idle the first time.
class MainWindow : public CWnd {
 public:
  std::vector<UINT> commands;
  std::string typed;
  UINT close = IDOK;
  std::string shown;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    if (message == WM_ENTERIDLE) {
      HWND dialog = reinterpret_cast<HWND>(lParam);
      shown = shell_ui_test::ItemText(dialog, kInterpreterTextEdit);
      ::SetDlgItemText(dialog, kInterpreterTextEdit, typed.c_str());
      ::PostMessage(dialog, WM_COMMAND, close, 0);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ImmediateStatementsTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
    TheHistory().Clear();
    Interpreter::ResetForTests();
    app_ = std::make_unique<CWinApp>("Tolm");
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Tolm", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               400, 300, nullptr, nullptr));
    app_->m_pMainWnd = &main_;
  }
  void TearDown() override {
    app_->m_pMainWnd = nullptr;
    if (main_.GetSafeHwnd()) main_.DestroyWindow();
    app_.reset();
    TheCommandQueue().ResetForTests();
    TheHistory().Clear();
    Interpreter::ResetForTests();
    UiTest::TearDown();
  }
  static int Queued() { return TheCommandQueue().Count(); }

  std::unique_ptr<CWinApp> app_;
  MainWindow main_;
};

TEST_F(ImmediateStatementsTest, CommandWindowRunsWhatIsAcceptedAndKeepsIt) {
  main_.typed = "language ge;\r\nlanguage fr";
  Interpreter::Run("debug");
  EXPECT_EQ(main_.shown, "");
  EXPECT_STREQ(Interpreter::LastDialogText(), "language ge;\r\nlanguage fr");
  EXPECT_EQ(Queued(), 2);

  // Opened again, it shows the last text; Cancel runs and keeps nothing.
  TheCommandQueue().ResetForTests();
  main_.typed = "language it";
  main_.close = IDCANCEL;
  Interpreter::Run("debug");
  EXPECT_EQ(main_.shown, "language ge;\r\nlanguage fr");
  EXPECT_STREQ(Interpreter::LastDialogText(), "language ge;\r\nlanguage fr");
  EXPECT_EQ(Queued(), 0);
}

TEST_F(ImmediateStatementsTest, PrintingGoesToTheMainWindow) {
  Interpreter::Run("printtext; printpreview");
  EXPECT_EQ(main_.commands, (std::vector<UINT>{0xE107, 0xE109}));
}

TEST_F(ImmediateStatementsTest, StatusReport) {
  win::ClearMessageBoxLog();
  Interpreter::Run("info");
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "pageObject: (no object)\n");
  EXPECT_EQ(win::MessageBoxLog()[0].type & 0xF, static_cast<UINT>(MB_OK));

  const Ref<KXObject> shown(new KXObject(
      "ObjectID=0x42\nType=Document\nDocumentType=text\nGOid=00000001 00000042\n", Ref<Store>()));
  shown->setStore(Ref<Store>(new Store("korvex://vela.test/")));
  TheHistory().Push(shown);
  Interpreter::Run("info");
  ASSERT_EQ(win::MessageBoxLog().size(), 2u);
  EXPECT_EQ(win::MessageBoxLog()[1].text, "pageObject: " + describeObject(shown).str() + "\n");
  EXPECT_NE(win::MessageBoxLog()[1].text.find("korvex:00000001 00000042"), std::string::npos);
}

}  // namespace
