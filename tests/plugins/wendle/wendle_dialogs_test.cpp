// Wendle's options dialog: without a "DLG_GIF" template (the plug-in
// carries none) ConvertDIBtoGIF writes nothing; with one that a host
// registers under the module "Wendle", the dialog runs modally and its
// choices reach the file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "plugins/common/support/picture_oracle.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "wendle/wendle.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

const char kHostTemplate[] =
    "DLG_GIF DIALOG 0, 0, 180, 100\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\n"
    "CAPTION \"GIF\"\n"
    "BEGIN\n"
    "    LTEXT \"\", 101, 5, 5, 40, 8\n"
    "    AUTORADIOBUTTON \"GIF87a\", 102, 5, 20, 60, 10, WS_GROUP\n"
    "    AUTORADIOBUTTON \"GIF89a\", 103, 5, 32, 60, 10\n"
    "    AUTOCHECKBOX \"Global\", 104, 5, 44, 60, 10, WS_GROUP\n"
    "    AUTOCHECKBOX \"Interlace\", 105, 5, 56, 60, 10\n"
    "    AUTOCHECKBOX \"Reduce\", 106, 5, 68, 60, 10\n"
    "    DEFPUSHBUTTON \"OK\", IDOK, 110, 20, 50, 14\n"
    "    PUSHBUTTON \"Cancel\", IDCANCEL, 110, 40, 50, 14\n"
    "END\n";

TEST(WendleDialogs, OptionsDialogNeedsAHostTemplate) {
  win::ResetResources();
  win::SetModuleSearchDirectories({plugin_test::ModuleDirectory()});
  HMODULE lib = LoadLibrary("WENDLE.DLL");
  ASSERT_NE(lib, nullptr);
  auto write = reinterpret_cast<wendle::ConvertDIBtoGIFFn>(GetProcAddress(lib, MAKEINTRESOURCE(4)));
  testing_support::TempDir dir;
  HGLOBAL dib = plugin_test::MakeDib(12, 9, 8, std::vector<std::uint32_t>(256, 0x336699),
                                     [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
  std::string file = dir.file("out.gif");
  EXPECT_FALSE(write(file.c_str(), dib));
  EXPECT_EQ(GetFileAttributes(file.c_str()), INVALID_FILE_ATTRIBUTES);

  ASSERT_NE(win::RegisterResourceScript("Wendle", kHostTemplate, sizeof kHostTemplate - 1), nullptr);
  std::string seen;
  auto answer = [&](HWND d) {
    char text[8] = {};
    GetDlgItemText(d, 101, text, sizeof text);
    seen = std::string(text) + (IsDlgButtonChecked(d, 102) ? " 87" : "") + (IsDlgButtonChecked(d, 104) ? " global" : "") +
           (IsWindowEnabled(GetDlgItem(d, 106)) ? " reduce" : "");
    // GIF89a, interlaced: the buttons tell the procedure as clicks do.
    SendMessage(d, WM_COMMAND, 103, 0);
    SendMessage(d, WM_COMMAND, 105, 0);
    SendMessage(d, WM_COMMAND, IDOK, 0);
  };
  ASSERT_TRUE(plugin_test::AnswerModal([&] { return write(file.c_str(), dib); }, answer));
  EXPECT_EQ(seen, "1.0 87 global");
  auto bytes = plugin_test::ReadBytes(file);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
  EXPECT_EQ(bytes[6 + 7 + 768 + 9] & 0x40, 0x40);  // the image is interlaced

  EXPECT_FALSE(plugin_test::AnswerModal([&] { return write(dir.file("cancelled.gif").c_str(), dib); },
                                        [](HWND d) { SendMessage(d, WM_COMMAND, IDCANCEL, 0); }));
  GlobalFree(dib);
  FreeLibrary(lib);
  win::ResetResources();
}

}  // namespace
