// Ospray's options dialog, run modally by ConvertDIBtoEPS from template 100
// and answered from a timer inside its loop as a user would: what it shows
// at the start, how the choices depend on each other, and that OK stores
// the choice and Cancel nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ospray.h"
#include "plugins/common/support/dib_fixture.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

using namespace convert_test;

// The state of items 102 to 114: "x" checked, "-" not; "/" after a
// disabled item.
std::string State(HWND d) {
  std::string s;
  for (int item = 102; item <= 114; ++item) {
    s += IsDlgButtonChecked(d, item) ? "x" : "-";
    if (!IsWindowEnabled(GetDlgItem(d, item))) s += "/";
  }
  return s;
}

void Click(HWND d, int item) { SendDlgItemMessage(d, item, BM_CLICK, 0, 0); }

class OsprayDialogs : public plugin_test::PluginDialogTest {
 protected:
  OsprayDialogs() : PluginDialogTest("OSPRAY.DLL") {}
};

TEST_F(OsprayDialogs, ChoicesFollowEachOtherAndOkStoresThem) {
  HGLOBAL dib = ToBlock(MakeDib(8, 4, 8, TestPalette(256), [](int x, int) { return static_cast<std::uint32_t>(x); }));
  std::vector<std::string> seen;
  std::string name = dir_.file("chosen.eps");
  ASSERT_TRUE(WriteAnswered(name, dib, [&](HWND d) {
    char version[8] = {};
    GetDlgItemText(d, 101, version, sizeof version);
    seen.push_back(version);
    // 102 on, 103 off; kinds 104-107 (3 and 4 disabled for grey); level
    // 108/109; grey 110/111; hex 112/113; frame 114.
    seen.push_back(State(d));
    Click(d, 113);  // LZW: level 2 follows
    seen.push_back(State(d));
    Click(d, 108);  // level 1: hex follows
    seen.push_back(State(d));
    Click(d, 111);  // colour: the colour previews open
    Click(d, 107);
    seen.push_back(State(d));
    Click(d, 110);  // grey again: back to kind 1
    seen.push_back(State(d));
    Click(d, 103);  // no preview: no kinds
    Click(d, 114);  // no frame
    seen.push_back(State(d));
    SendMessage(d, WM_COMMAND, IDOK, 0);
  }));
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0], "1.0");
  EXPECT_EQ(seen[1], "x-x--/-/x-x-x-x");
  EXPECT_EQ(seen[2], "x-x--/-/-xx--xx");
  EXPECT_EQ(seen[3], "x-x--/-/x-x-x-x");
  EXPECT_EQ(seen[4], "x----xx--xx-x");
  EXPECT_EQ(seen[5], "x-x--/-/x-x-x-x");
  EXPECT_EQ(seen[6], "-xx/-/-/-/x-x-x--");
  std::string file = ReadFile(name);
  EXPECT_EQ(file.compare(0, 2, "%!"), 0);  // no DOS EPS header
  EXPECT_EQ(file.find("% Rahmen"), std::string::npos);
  EXPECT_NE(file.find("{ currentfile OsprayX string readhexstring pop }"), std::string::npos);

  // Cancel writes nothing and answers 0.
  std::string cancelled = dir_.file("cancelled.eps");
  EXPECT_FALSE(WriteAnswered(cancelled, dib, [](HWND d) { SendMessage(d, WM_COMMAND, IDCANCEL, 0); }));
  EXPECT_EQ(GetFileAttributes(cancelled.c_str()), INVALID_FILE_ATTRIBUTES);
  // OK as it opened: every option 1 (preview of kind 1, level 1 grey hex,
  // frame).
  std::string defaults = dir_.file("defaults.eps");
  ASSERT_TRUE(WriteAnswered(defaults, dib, [](HWND d) { SendMessage(d, WM_COMMAND, IDOK, 0); }));
  std::string d = ReadFile(defaults);
  EXPECT_EQ(static_cast<unsigned char>(d[0]), 0xC5);
  EXPECT_NE(d.find("% Rahmen"), std::string::npos);
  EXPECT_TRUE(win::MessageBoxLog().empty());
  EXPECT_EQ(GetActiveWindow(), nullptr);
  GlobalFree(dib);
}

}  // namespace
