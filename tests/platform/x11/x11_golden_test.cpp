// A frame with a menu bar and a modeless dialog of every control kind, shown
// on an X server (an Xvfb the test starts): the server's screenshot (xwd) of
// the frame is compared pixel for pixel with the picture kept in golden/
// (ZEMRA_UPDATE_GOLDEN=1 writes it anew).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "display/display.h"
#include "display/headless.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "support/tools.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"
#include "settle.h"
#include "xvfb_server.h"
#include "xwd_reader.h"

namespace {

constexpr int kIdName = 201, kIdNotes = 202, kIdText = 203, kIdImage = 204, kIdEffects = 205,
              kIdLanguages = 206, kIdKind = 207, kIdZoom = 208;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void ExpectLooksLike(const win::gdi::Surface& s, const std::string& name) {
  testing_support::ExpectGolden(s, "tests/platform/x11/golden/" + name + ".png");
}

class X11Golden : public ::testing::Test {
 protected:
  void TearDown() override {
    win::ResetUserState();
    win::display::Use(win::display::MakeHeadless());
    win::ResetResources();
    server_.Stop();
  }
  x11_test::XvfbServer server_;
};

TEST_F(X11Golden, AFrameWithAMenuAndADialogOfEveryControl) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("xwd"), "xwd (x11-apps) is not installed");
  std::string error;
  ZEMRA_SKIP_WITHOUT(server_.Start(640, 480, &error), error);
  win::ResetUserState();
  auto x11 = win::display::MakeX11(server_.name().c_str());
  ASSERT_NE(x11, nullptr) << "cannot open " << server_.name();
  win::display::Use(std::move(x11));
  win::ResetGdiState();
  win::ResetResources();
  const std::string script = ReadFile(std::string(ZEMRA_SOURCE_DIR) + "/tests/platform/x11/data/golden_frame.rc");
  HINSTANCE module = win::RegisterResourceScript("GoldenFrame", script.data(), script.size(), &error);
  ASSERT_NE(module, nullptr) << error;

  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "GoldenFrame";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(RegisterClass(&wc), 0);
  HMENU menu = LoadMenu(module, MAKEINTRESOURCE(128));
  ASSERT_NE(menu, nullptr);
  HWND frame = CreateWindow("GoldenFrame", "Zemra - Korvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 600, 440,
                            nullptr, menu, module, nullptr);
  ASSERT_NE(frame, nullptr);

  HWND dlg = CreateDialogParam(module, MAKEINTRESOURCE(300), frame, Quiet, 0);
  ASSERT_NE(dlg, nullptr);
  SetDlgItemText(dlg, kIdName, "Zemra");
  SetDlgItemText(dlg, kIdNotes, "First line\r\nSecond line, longer");
  CheckRadioButton(dlg, kIdText, kIdImage, kIdImage);
  CheckDlgButton(dlg, kIdEffects, BST_CHECKED);
  for (const char* t : {"English", "Deutsch", "Fran\xe7" "ais", "Steirisch", "Italiano", "Espa\xf1ol"})
    SendDlgItemMessage(dlg, kIdLanguages, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendDlgItemMessage(dlg, kIdLanguages, LB_SETCURSEL, 1, 0);
  for (const char* t : {"Page", "Text", "Image"})
    SendDlgItemMessage(dlg, kIdKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendDlgItemMessage(dlg, kIdKind, CB_SETCURSEL, 1, 0);
  HWND zoom = GetDlgItem(dlg, kIdZoom);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 30, 0};
  SetScrollInfo(zoom, SB_CTL, &si, TRUE);
  // The focus on a button: no caret blinking in the picture.
  SendMessage(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, IDOK)), TRUE);
  x11_test::Settle();
  ASSERT_TRUE(IsWindowVisible(dlg));
  EXPECT_EQ(GetActiveWindow(), dlg);

  testing_support::TempDir dir;
  const std::string dump = dir.file("screen.xwd");
  const std::string command = "xwd -root -silent -display " + server_.name() + " -out " + dump;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  auto screen = x11_test::ReadXwd(dump, &error);
  ASSERT_NE(screen, nullptr) << error;
  RECT fr;
  GetWindowRect(frame, &fr);
  ASSERT_LE(fr.right, screen->width());
  ASSERT_LE(fr.bottom, screen->height());
  auto shot = win::gdi::Surface::Create(fr.right - fr.left, fr.bottom - fr.top);
  ASSERT_NE(shot, nullptr);
  for (int y = 0; y < shot->height(); ++y)
    for (int x = 0; x < shot->width(); ++x) shot->Row(y)[x] = screen->At(fr.left + x, fr.top + y) & 0xFFFFFF;
  ExpectLooksLike(*shot, "frame_with_dialog");
}

}  // namespace
