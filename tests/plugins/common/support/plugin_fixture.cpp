#include "plugin_fixture.h"

#include "picture_oracle.h"

namespace plugin_test {

void ExpectPluginBox(const win::MessageBoxRecord& box, const std::string& caption) {
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, caption);
  EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
}

namespace {

std::function<void(HWND)>& PendingAnswer() {
  static std::function<void(HWND)> answer;
  return answer;
}

// Runs once inside the dialog's modal loop: the active window is the dialog.
void CALLBACK AnswerFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PendingAnswer()(GetActiveWindow());
}

}  // namespace

BOOL AnswerModal(const std::function<BOOL()>& call, std::function<void(HWND)> answer) {
  PendingAnswer() = std::move(answer);
  SetTimer(nullptr, 0, 1, AnswerFromTimer);
  return call();
}

void PluginTest::SetUp() {
  win::SetModuleSearchDirectories({ModuleDirectory()});
  lib_ = LoadLibrary(moduleName_);
  ASSERT_NE(lib_, nullptr) << "no " << moduleName_ << " in " << ModuleDirectory();
  win::ClearMessageBoxLog();
}

void PluginTest::TearDown() {
  if (lib_) {
    EXPECT_TRUE(FreeLibrary(lib_));
  }
  win::ClearMessageBoxLog();
}

std::vector<std::string> PluginTest::Messages() {
  std::vector<std::string> out;
  for (const auto& box : win::MessageBoxLog()) {
    ExpectPluginBox(box, caption_);
    out.push_back(box.text);
  }
  win::ClearMessageBoxLog();
  return out;
}

std::string PluginTest::OnlyBox() {
  const auto& log = win::MessageBoxLog();
  EXPECT_EQ(log.size(), 1u);
  if (log.empty()) return "";
  ExpectPluginBox(log[0], caption_);
  std::string text = log[0].text;
  win::ClearMessageBoxLog();
  return text;
}

void PluginDialogTest::SetUp() {
  win::SetModuleSearchDirectories({ModuleDirectory()});
  lib_ = LoadLibrary(moduleName_);
  ASSERT_NE(lib_, nullptr);
  write_ = reinterpret_cast<WriteFn>(GetProcAddress(lib_, MAKEINTRESOURCE(4)));
  win::ClearMessageBoxLog();
}

BOOL PluginDialogTest::WriteAnswered(const std::string& file, HGLOBAL dib, std::function<void(HWND)> answer) {
  return AnswerModal([&] { return write_(file.c_str(), dib); },
                     [this, answer = std::move(answer)](HWND dialog) {
                       Seen(dialog);
                       answer(dialog);
                     });
}

}  // namespace plugin_test
