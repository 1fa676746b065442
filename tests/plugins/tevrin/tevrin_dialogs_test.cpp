// Tevrin's dialogs: the options dialog that ConvertDIBtoTIF runs modally
// from the plug-in's own template 100, answered here from a timer inside
// its loop as a user would, and the progress dialog of the writer.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "plugins/common/support/picture_oracle.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "tevrin/tevrin.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

std::string gSeen;

class TevrinDialogs : public plugin_test::PluginDialogTest {
 protected:
  TevrinDialogs() : PluginDialogTest("TEVRIN.DLL") {}
  void SetUp() override {
    PluginDialogTest::SetUp();
    gSeen.clear();
  }
  // The fields and buttons as the dialog opens, and whether CCITT can be
  // chosen.
  void Seen(HWND dialog) override {
    char text[32] = {};
    for (int item : {101, 102, 107, 108}) {
      GetDlgItemText(dialog, item, text, sizeof text);
      gSeen += std::string(text) + "|";
    }
    for (int item = 103; item <= 106; ++item) gSeen += IsDlgButtonChecked(dialog, item) ? "x" : "-";
    gSeen += IsWindowEnabled(GetDlgItem(dialog, 104)) ? " ccitt" : " no-ccitt";
  }
};

std::uint32_t Tag(const std::vector<std::uint8_t>& b, std::uint16_t tag) {
  auto u16 = [&](std::size_t at) { return std::uint32_t(b[at] | b[at + 1] << 8); };
  std::size_t ifd = u16(4) | u16(6) << 16;
  for (std::uint32_t i = 0; i < u16(ifd); ++i)
    if (u16(ifd + 2 + 12 * i) == tag) return u16(ifd + 2 + 12 * i + 8);
  return 0xFFFFFFFF;
}

TEST_F(TevrinDialogs, OptionsDialogShowsTheDefaultsAndStoresTheChoice) {
  HGLOBAL grey = plugin_test::MakeDib(40, 30, 8, std::vector<std::uint32_t>(256, 0x808080),
                                      [](int x, int y) { return static_cast<std::uint32_t>(x ^ y); });
  std::string file = dir_.file("grey.tif");
  // LZW chosen, a strip size that is no number keeps the old one.
  ASSERT_TRUE(WriteAnswered(file, grey, [](HWND d) {
    CheckRadioButton(d, 103, 106, 106);
    SetDlgItemText(d, 107, "viel");
    SendMessage(d, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_EQ(gSeen, "1.0|8|10|P|--x- no-ccitt");
  auto bytes = plugin_test::ReadBytes(file);
  EXPECT_EQ(Tag(bytes, 259), 5u);
  EXPECT_EQ(Tag(bytes, 278), 30u);  // 10 KB strips hold every row

  // Cancel writes nothing and answers 0.
  std::string cancelled = dir_.file("cancelled.tif");
  EXPECT_FALSE(WriteAnswered(cancelled, grey, [](HWND d) { SendMessage(d, WM_COMMAND, IDCANCEL, 0); }));
  EXPECT_EQ(GetFileAttributes(cancelled.c_str()), INVALID_FILE_ATTRIBUTES);

  // A 1-bit picture may ask for CCITT (and then fails with both messages).
  gSeen.clear();
  HGLOBAL bw = plugin_test::MakeDib(16, 2, 1, {0, 0xFFFFFF}, [](int x, int) { return static_cast<std::uint32_t>(x & 1); });
  win::ClearMessageBoxLog();
  EXPECT_FALSE(WriteAnswered(dir_.file("bw.tif"), bw, [](HWND d) {
    CheckRadioButton(d, 103, 106, 104);
    SetDlgItemText(d, 107, "1");
    SendMessage(d, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_EQ(gSeen, "1.0|1|10|B|--x- ccitt");
  ASSERT_EQ(win::MessageBoxLog().size(), 2u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "CCITT-Komprimierung wird nicht unterstützt!");
  win::ClearMessageBoxLog();
  GlobalFree(grey);
  GlobalFree(bw);
}

TEST_F(TevrinDialogs, ProgressDialogLivesForTheWrite) {
  auto writeEx = reinterpret_cast<tevrin::ConvertDIBtoTIFExFn>(GetProcAddress(lib_, MAKEINTRESOURCE(6)));
  auto conversion = reinterpret_cast<DLGPROC>(GetProcAddress(lib_, MAKEINTRESOURCE(16)));
  HGLOBAL dib = plugin_test::MakeDib(8, 4, 24, {}, [](int x, int) { return static_cast<std::uint32_t>(x * 0x10101); });
  ASSERT_TRUE(writeEx(dir_.file("p.tif").c_str(), dib, nullptr));
  // Template 200 of the plug-in's resources with its DlgConversion.
  HINSTANCE module = win::FindResourceModule("Tevrin");
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
  // Nothing of the write's own progress dialog is left.
  EXPECT_EQ(GetActiveWindow(), nullptr);
  GlobalFree(dib);
}

}  // namespace
