// Test fixtures of the converter plug-ins as the client meets them: the
// module loaded by the name format.dat gives, bound by ordinal, freed after
// each test, its message boxes recorded; and its modal dialogs answered
// from a timer inside their loop, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace plugin_test {

// Checks that `box` was shown as a plug-in shows its failures: task-modal,
// a warning, without owner, captioned with the library's file name.
void ExpectPluginBox(const win::MessageBoxRecord& box, const std::string& caption);

// Runs `call` while `answer` gets the active window (the dialog) once, from
// a timer inside the dialog's modal loop; returns what `call` returned.
BOOL AnswerModal(const std::function<BOOL()>& call, std::function<void(HWND)> answer);

// The plug-in `moduleName` ("MURVIK.DLL"), whose boxes are captioned
// `caption` ("Murvik.DLL"), loaded for each test.
class PluginTest : public testing::Test {
 protected:
  PluginTest(const char* moduleName, const char* caption) : moduleName_(moduleName), caption_(caption) {}
  void SetUp() override;
  void TearDown() override;

  // The export of `ordinal`, which must be there.
  template <class Fn>
  Fn Bind(WORD ordinal) {
    FARPROC p = GetProcAddress(lib_, MAKEINTRESOURCE(ordinal));
    EXPECT_NE(p, nullptr) << "ordinal " << ordinal;
    return reinterpret_cast<Fn>(p);
  }
  // The texts of the boxes shown since the last check, each checked as a
  // plug-in box; the log is emptied.
  std::vector<std::string> Messages();
  // The one box shown since the last check: its text, after checking how
  // it was shown.
  std::string OnlyBox();

  HMODULE lib_ = nullptr;

 private:
  const char* moduleName_;
  const char* caption_;
};

// The plug-in `moduleName` loaded for each test of its options dialog,
// which its ConvertDIBto<FMT> export (ordinal 4) runs modally.
class PluginDialogTest : public testing::Test {
 protected:
  using WriteFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);

  explicit PluginDialogTest(const char* moduleName) : moduleName_(moduleName) {}
  void SetUp() override;
  void TearDown() override { FreeLibrary(lib_); }

  // Writes through ordinal 4 with the dialog answered by `answer`, after
  // Seen() has looked at it.
  BOOL WriteAnswered(const std::string& file, HGLOBAL dib, std::function<void(HWND)> answer);
  // What a test notes of the dialog as it opens, before the answer.
  virtual void Seen(HWND) {}

  HMODULE lib_ = nullptr;
  WriteFn write_ = nullptr;
  testing_support::TempDir dir_;

 private:
  const char* moduleName_;
};

}  // namespace plugin_test
