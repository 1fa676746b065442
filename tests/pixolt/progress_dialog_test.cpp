// The library's progress dialog: its templates in the library's own
// resources, DlgConversion's first values, and a reduction filling in an
// attached dialog and destroying it at the end.
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"

namespace pixolt_test {
namespace {

std::string ItemText(HWND dlg, int id) {
  char text[128] = {};
  GetDlgItemText(dlg, id, text, sizeof text);
  return text;
}

std::string Caption(HWND wnd) {
  char text[128] = {};
  GetWindowText(wnd, text, sizeof text);
  return text;
}

class ProgressDialogTest : public PixoltTest {
 protected:
  void SetUp() override {
    PixoltTest::SetUp();
    win::ResetUserState();
  }
};

TEST_F(ProgressDialogTest, TemplatesAndFirstValues) {
  HINSTANCE module = pixolt::ResourceModule();
  ASSERT_NE(module, nullptr);
  HWND dlg = CreateDialog(module, MAKEINTRESOURCE(PIXOLT_DLG_CONVERSION), nullptr, DlgConversion);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(Caption(dlg), "Farbreduzierung von 24 auf 8 Bit");
  EXPECT_EQ(ItemText(dlg, PIXOLT_IDC_VERSION), "1.2");
  EXPECT_EQ(ItemText(dlg, PIXOLT_IDC_PERCENT), "0");
  EXPECT_EQ(ItemText(dlg, PIXOLT_IDC_STEP), "Text");
  DestroyWindow(dlg);
  // Any other message is left to the dialog manager.
  EXPECT_EQ(DlgConversion(nullptr, WM_COMMAND, IDOK, 0), 0);

  HWND percentage = CreateDialog(module, MAKEINTRESOURCE(PIXOLT_DLG_PERCENTAGE), nullptr, DlgConversion);
  ASSERT_NE(percentage, nullptr);
  EXPECT_EQ(Caption(percentage), "Reducing Colors");
  EXPECT_EQ(ItemText(percentage, PIXOLT_IDC_PERCENTAGE), "0");
  DestroyWindow(percentage);
  // Registered again after the modules were dropped.
  win::ResetResources();
  EXPECT_NE(pixolt::ResourceModule(), nullptr);
}

// What the attached dialog shows while the reduction runs, seen from
// messages the pump dispatches to it on the way.
std::vector<std::string> g_seen;
const UINT kLook = WM_USER + 40;

INT_PTR WatchingProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kLook) {
    std::string step = ItemText(dlg, PIXOLT_IDC_STEP);
    if (g_seen.empty() || g_seen.back() != step) g_seen.push_back(step);
    PostMessage(dlg, kLook, 0, 0);
    return TRUE;
  }
  return DlgConversion(dlg, msg, wp, lp);
}

TEST_F(ProgressDialogTest, AReductionFillsTheAttachedDialogAndEndsIt) {
  HWND dlg = CreateDialog(pixolt::ResourceModule(), MAKEINTRESOURCE(PIXOLT_DLG_CONVERSION), nullptr, WatchingProc);
  ASSERT_NE(dlg, nullptr);
  pixolt::SetProgressWindow(dlg);
  g_seen.clear();
  PostMessage(dlg, kLook, 0, 0);
  HGLOBAL dib = Keep(MakeDib(200, 150, 24, {}, [](int x, int y) { return std::uint32_t(x * 0x010203 + y * 0x030201); }));
  HGLOBAL reduced = Keep(ReduceColors(dib, 8, PIXOLT_REDUCE_MEDIANCUT | PIXOLT_REDUCE_DITHER));
  ASSERT_NE(reduced, nullptr);
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_EQ(g_seen, (std::vector<std::string>{"Step 1: Reduction to 15 Bit", "Step 2: Define Colortable",
                                              "Step 3: Mapping Colors", "Step 4: Mapping DIB"}));
  // The next reduction has no window.
  g_seen.clear();
  EXPECT_NE(Keep(ReduceColors(dib, 4, 0)), nullptr);
  EXPECT_TRUE(g_seen.empty());
}

}  // namespace
}  // namespace pixolt_test
