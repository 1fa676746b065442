// What the tests of the shell's dialogs and of the command interpreter
// share: a fresh window system, an empty style table, the languages in their
// start-up order, the logbook in a temporary file whose lines a test reads,
// and a dialog class that runs the test's steps while its modal loop waits
// for the user.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mfc/afx.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace shell_ui_test {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The logbook's lines so far (without their line feeds).
  std::vector<std::string> LogLines() const;
  void ClearLog();
  // Parses a style text (the header is put in front).
  static void Styles(const std::string& body);

  testing_support::TempDir tmp_;

 private:
  std::string logPath_;
};

// Types the text as key presses that make these characters (letters,
// digits, blanks and a few signs), to whatever has the focus.
void Type(const std::string& text);
void Key(UINT vk);
// The text of a control of a dialog.
std::string ItemText(HWND dialog, int id);
std::string WindowText(HWND wnd);

// A dialog of the shell whose steps run one by one each time its modal loop
// goes idle: the dialog is then shown and has handled what the previous
// step typed. A dialog that the steps fail to close is cancelled.
template <class Dialog>
class Driven : public Dialog {
 public:
  using Step = std::function<void(Driven&)>;
  using Dialog::Dialog;

  std::vector<Step> steps;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KICKIDLE) {
      if (next_ < steps.size()) {
        steps[next_++](*this);
      } else if (!closing_) {
        closing_ = true;
        ADD_FAILURE() << "the dialog stayed open after the last step";
        this->PostMessage(WM_COMMAND, IDCANCEL);
      }
      return FALSE;
    }
    return Dialog::WindowProc(message, wParam, lParam);
  }

 private:
  size_t next_ = 0;
  bool closing_ = false;
};

}  // namespace shell_ui_test
