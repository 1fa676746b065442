// Murvik's dialogs: the options dialog that ConvertDIBtoPCX runs modally
// from the plug-in's template 100, answered from a timer inside its loop as
// a user would, and the progress dialog of template 200.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "murvik.h"
#include "plugins/common/support/dib_fixture.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

using namespace convert_test;

std::string gSeen;

class MurvikDialogs : public plugin_test::PluginDialogTest {
 protected:
  MurvikDialogs() : PluginDialogTest("MURVIK.DLL") {}
  void SetUp() override {
    PluginDialogTest::SetUp();
    gSeen.clear();
  }
  // The fields and buttons as the dialog opens, and where the focus is.
  void Seen(HWND dialog) override {
    char text[32] = {};
    for (int item : {101, 102}) {
      GetDlgItemText(dialog, item, text, sizeof text);
      gSeen += std::string(text) + "|";
    }
    for (int item : {103, 104}) gSeen += IsDlgButtonChecked(dialog, item) ? "x" : "-";
    gSeen += GetFocus() == GetDlgItem(dialog, IDOK) ? " ok-focused" : " focus elsewhere";
  }
};

TEST_F(MurvikDialogs, OptionsDialogStartsWithRunLengthAndStoresTheChoice) {
  HGLOBAL dib = ToBlock(MakeDib(20, 3, 8, TestPalette(256), [](int x, int) { return static_cast<std::uint32_t>(x); }));
  // The user picks "none": the file is written without run-length coding.
  std::string plain = dir_.file("plain.pcx");
  ASSERT_TRUE(WriteAnswered(plain, dib, [](HWND d) {
    SendDlgItemMessage(d, 104, BM_CLICK, 0, 0);
    SendMessage(d, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_EQ(gSeen, "1.0|8|x- ok-focused");
  std::string bytes = ReadFile(plain);
  ASSERT_GT(bytes.size(), 128u);
  EXPECT_EQ(bytes[2], 0);  // encoding byte
  EXPECT_EQ(bytes.size(), 128u + 3 * 20 + 769);

  // OK as it opened: run-length coded.
  std::string coded = dir_.file("coded.pcx");
  ASSERT_TRUE(WriteAnswered(coded, dib, [](HWND d) { SendMessage(d, WM_COMMAND, IDOK, 0); }));
  EXPECT_EQ(ReadFile(coded)[2], 1);

  // Cancel writes nothing and answers 0, without a box.
  std::string cancelled = dir_.file("cancelled.pcx");
  EXPECT_FALSE(WriteAnswered(cancelled, dib, [](HWND d) { SendMessage(d, WM_COMMAND, IDCANCEL, 0); }));
  EXPECT_EQ(GetFileAttributes(cancelled.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(win::MessageBoxLog().empty());
  GlobalFree(dib);
}

TEST_F(MurvikDialogs, ProgressDialogOfTemplate200) {
  auto conversion = reinterpret_cast<DLGPROC>(GetProcAddress(lib_, MAKEINTRESOURCE(16)));
  auto options = reinterpret_cast<DLGPROC>(GetProcAddress(lib_, MAKEINTRESOURCE(14)));
  ASSERT_NE(conversion, nullptr);
  ASSERT_NE(options, nullptr);
  auto writeEx = reinterpret_cast<murvik::ConvertDIBtoPCXExFn>(GetProcAddress(lib_, MAKEINTRESOURCE(6)));
  HGLOBAL dib = ToBlock(MakeDib(8, 4, 24, {}, [](int x, int) { return static_cast<std::uint32_t>(x * 0x10101); }));
  ASSERT_TRUE(writeEx(dir_.file("p.pcx").c_str(), dib, nullptr));
  // Nothing of the write's own progress dialog is left.
  EXPECT_EQ(GetActiveWindow(), nullptr);
  HINSTANCE module = win::FindResourceModule("Murvik");
  ASSERT_NE(module, nullptr);
  HWND progress = CreateDialogParam(module, MAKEINTRESOURCE(200), nullptr, conversion, 0);
  ASSERT_NE(progress, nullptr);
  char text[16] = {};
  GetDlgItemText(progress, 101, text, sizeof text);
  EXPECT_STREQ(text, "1.0");
  GetDlgItemText(progress, 201, text, sizeof text);
  EXPECT_STREQ(text, "0");
  EXPECT_EQ(conversion(progress, WM_COMMAND, IDOK, 0), 0);
  DestroyWindow(progress);
  GlobalFree(dib);
}

}  // namespace
