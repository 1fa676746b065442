// Pictures of the controls: the check-box and radio pictures and the push
// button's edges pixel by pixel, and whole dialogs, a menu and a message box
// compared with the pictures kept under golden/ (ZEMRA_UPDATE_GOLDEN=1
// writes them anew).
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/dialogs/dialog_fixture.h"
#include "support/golden.h"
#include "user/dialogs/message_box_display.h"

namespace {

using namespace dialog_test;

std::uint32_t Px(COLORREF c) {
  return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}
std::uint32_t Sys(int index) { return Px(GetSysColor(index)); }

void ExpectLooksLike(const win::gdi::Surface& s, const std::string& name) {
  testing_support::ExpectGolden(s, "tests/platform/controls/golden/" + name + ".png");
}

class PictureTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host(0, 0, 400, 300);
  }
  std::unique_ptr<win::gdi::Surface> Shot(HWND wnd) {
    UpdateWindow(GetParent(wnd) ? GetParent(wnd) : wnd);
    Pump();
    return win::headless::CaptureWindow(wnd);
  }
  HWND host_ = nullptr;
};

TEST_F(PictureTest, CheckBoxesAndRadioButtonsAsWindows95DrawsThem) {
  // A 13-pixel box centred in a 20-pixel high button: its top-left corner at (0, 3).
  struct Case {
    DWORD style;
    UINT check;
    bool disabled;
    bool marked;
    int inside;
  };
  const Case cases[] = {
      {BS_CHECKBOX, BST_CHECKED, false, true, COLOR_WINDOW},
      {BS_CHECKBOX, BST_UNCHECKED, false, false, COLOR_WINDOW},
      {BS_CHECKBOX, BST_CHECKED, true, true, COLOR_3DFACE},
  };
  int id = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(id);
    HWND b = Control(host_, "BUTTON", "", c.style | (c.disabled ? WS_DISABLED : 0), id, 10, 10 + (id - 10) * 25, 40, 20);
    SendMessage(b, BM_SETCHECK, c.check, 0);
    auto s = Shot(b);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->At(0, 3) & 0xFFFFFF, Sys(COLOR_3DSHADOW));     // outer top-left
    EXPECT_EQ(s->At(12, 15) & 0xFFFFFF, Sys(COLOR_3DHILIGHT));  // outer bottom-right
    EXPECT_EQ(s->At(1, 4) & 0xFFFFFF, Sys(COLOR_3DDKSHADOW));   // inner top-left
    EXPECT_EQ(s->At(11, 14) & 0xFFFFFF, Sys(COLOR_3DLIGHT));    // inner bottom-right
    EXPECT_EQ(s->At(4, 6) & 0xFFFFFF, Sys(c.inside));           // inside, off the mark
    // The check mark's tip and its lower-left stroke.
    const std::uint32_t mark = c.marked ? Sys(c.disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT) : Sys(c.inside);
    EXPECT_EQ(s->At(9, 6) & 0xFFFFFF, mark);
    EXPECT_EQ(s->At(3, 8) & 0xFFFFFF, mark);
    EXPECT_EQ(s->At(5, 11) & 0xFFFFFF, mark);
    ++id;
  }
  // A radio button: a 12-pixel circle at (0, 4) with its dot.
  HWND r = Control(host_, "BUTTON", "", BS_RADIOBUTTON, 20, 100, 10, 40, 20);
  SendMessage(r, BM_SETCHECK, BST_CHECKED, 0);
  auto s = Shot(r);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->At(4, 4) & 0xFFFFFF, Sys(COLOR_3DSHADOW));
  EXPECT_EQ(s->At(7, 15) & 0xFFFFFF, Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(s->At(0, 4) & 0xFFFFFF, Sys(COLOR_3DFACE));  // outside the circle
  EXPECT_EQ(s->At(5, 8) & 0xFFFFFF, Sys(COLOR_WINDOWTEXT));  // the dot
  EXPECT_EQ(s->At(4, 6) & 0xFFFFFF, Sys(COLOR_WINDOW));
}

TEST_F(PictureTest, PushButtonsHaveRaisedEdgesAndTheDefaultOneAFrame) {
  HWND plain = Control(host_, "BUTTON", "Plain", BS_PUSHBUTTON, 1, 10, 10, 75, 23);
  HWND def = Control(host_, "BUTTON", "Default", BS_DEFPUSHBUTTON, 2, 10, 40, 75, 23);
  auto p = Shot(plain);
  auto d = Shot(def);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(p->At(74, 22) & 0xFFFFFF, Sys(COLOR_3DDKSHADOW));  // outer bottom-right
  EXPECT_EQ(p->At(73, 21) & 0xFFFFFF, Sys(COLOR_3DSHADOW));    // inner bottom-right
  EXPECT_EQ(p->At(1, 1) & 0xFFFFFF, Sys(COLOR_3DHILIGHT));     // inner top-left
  EXPECT_EQ(p->At(10, 3) & 0xFFFFFF, Sys(COLOR_3DFACE));
  EXPECT_EQ(d->At(0, 0) & 0xFFFFFF, Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(d->At(74, 22) & 0xFFFFFF, Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(d->At(73, 21) & 0xFFFFFF, Sys(COLOR_3DDKSHADOW));
  // Pushed: a shadow frame inside the black one, the face flat.
  SendMessage(def, BM_SETSTATE, TRUE, 0);
  auto pushed = Shot(def);
  EXPECT_EQ(pushed->At(1, 1) & 0xFFFFFF, Sys(COLOR_3DSHADOW));
  EXPECT_EQ(pushed->At(73, 21) & 0xFFFFFF, Sys(COLOR_3DSHADOW));
  // Disabled text is embossed: grey over white, nothing near the black of
  // the text colour.
  EnableWindow(plain, FALSE);
  auto grey = Shot(plain);
  int dark = 0, greyish = 0, white = 0;
  for (int y = 3; y < 20; ++y)
    for (int x = 3; x < 72; ++x) {
      const std::uint32_t v = grey->At(x, y) & 0xFFFFFF;
      const int g = static_cast<int>((v >> 8) & 0xFF);
      if (g < 64) ++dark;
      else if (g < 150) ++greyish;
      else if (g > 230) ++white;
    }
  EXPECT_EQ(dark, 0);
  EXPECT_GT(greyish, 10);
  EXPECT_GT(white, 10);
}

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(PictureTest, ADialogOfEveryControl) {
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(310), host_, Quiet, 0);
  ASSERT_NE(dlg, nullptr);
  SetDlgItemText(dlg, 201, "Zemra");
  CheckRadioButton(dlg, 202, 203, 202);
  CheckDlgButton(dlg, 204, BST_CHECKED);
  CheckDlgButton(dlg, 205, BST_CHECKED);
  for (const char* t : {"English", "Deutsch", "Fran\xe7" "ais", "Steirisch", "Italiano"})
    SendDlgItemMessage(dlg, 206, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendDlgItemMessage(dlg, 206, LB_SETCURSEL, 1, 0);
  for (const char* t : {"Page", "Text", "Image"})
    SendDlgItemMessage(dlg, 207, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendDlgItemMessage(dlg, 207, CB_SETCURSEL, 2, 0);
  ShowWindow(dlg, SW_SHOW);
  SendMessage(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, IDOK)), TRUE);
  auto s = Shot(dlg);
  ASSERT_NE(s, nullptr);
  ExpectLooksLike(*s, "controls_dialog");
}

std::unique_ptr<win::gdi::Surface> gMenuShot;

void CALLBACK ShootTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassName(w, cls, sizeof cls);
    if (std::strcmp(cls, "#32768") == 0 && IsWindowVisible(w)) {
      UpdateWindow(w);
      gMenuShot = win::headless::CaptureWindow(w);
      break;
    }
  }
  EndMenu();
}

TEST_F(PictureTest, APopupMenu) {
  HMENU bar = LoadMenu(module_, MAKEINTRESOURCE(128));
  gMenuShot.reset();
  Key(VK_DOWN);
  Key(VK_DOWN);
  SetTimer(nullptr, 0, 50, ShootTheMenu);
  TrackPopupMenu(GetSubMenu(bar, 0), TPM_RETURNCMD, 50, 50, 0, host_, nullptr);
  ASSERT_NE(gMenuShot, nullptr);
  ExpectLooksLike(*gMenuShot, "popup_menu");
}

std::unique_ptr<win::gdi::Surface> gBoxShot;

void CALLBACK ShootTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = GetActiveWindow();
  UpdateWindow(box);
  Pump();
  gBoxShot = win::headless::CaptureWindow(box);
  PostMessage(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
}

TEST_F(PictureTest, AMessageBoxWithItsIcon) {
  gBoxShot.reset();
  SetTimer(nullptr, 0, 50, ShootTheBox);
  EXPECT_EQ(win::user::RunMessageBoxDisplay(host_, "Delete File Cache?", "Tolm", MB_YESNO | MB_ICONQUESTION), IDNO);
  ASSERT_NE(gBoxShot, nullptr);
  ExpectLooksLike(*gBoxShot, "message_box");
}

}  // namespace
