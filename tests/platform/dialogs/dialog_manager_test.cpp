// The dialog manager driven as a user drives it: keys and clicks through
// the window system's input, modal loops, modeless dialogs beside them,
// and the geometry of templates.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"
#include "win/kernel.h"

namespace {

using namespace dialog_test;

constexpr int kUser = 1003, kPassword = 1004, kLocation = 1005;

struct Login {
  std::string user, password, location;
  std::function<void(HWND)> onInit;  // queues input once the dialog exists
  BOOL initResult = TRUE;
};

INT_PTR CALLBACK LoginProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* l = reinterpret_cast<Login*>(GetWindowLong(dlg, DWL_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLong(dlg, DWL_USER, lp);
      l = reinterpret_cast<Login*>(lp);
      if (l->onInit) l->onInit(dlg);
      return l->initResult;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        l->user = TextOf(GetDlgItem(dlg, kUser));
        l->password = TextOf(GetDlgItem(dlg, kPassword));
        l->location = TextOf(GetDlgItem(dlg, kLocation));
        EndDialog(dlg, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

using DialogManagerTest = DialogTest;

TEST_F(DialogManagerTest, LoginDialogTakesTypedFieldsAndEnterGivesOk) {
  HWND host = Host();
  Login login;
  Type("alice");
  Key(VK_TAB);
  Type("s3cret");
  Key(VK_TAB);
  Type("korvex://host:8000/");
  Key(VK_RETURN);
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, LoginProc, reinterpret_cast<LPARAM>(&login)), IDOK);
  EXPECT_EQ(login.user, "alice");
  EXPECT_EQ(login.password, "s3cret");
  EXPECT_EQ(login.location, "korvex://host:8000/");
  // The owner is back and active; the dialog is gone.
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_EQ(GetActiveWindow(), host);
}

TEST_F(DialogManagerTest, KeysOfTheLoginDialog) {
  struct Case {
    const char* name;
    std::function<void()> keys;
    INT_PTR result;
    const char* user;
    const char* password;
    const char* location;
  };
  const Case cases[] = {
      {"Escape cancels", [] { Type("bob"); Key(VK_ESCAPE); }, IDCANCEL, "bob", "", ""},
      {"Shift+Tab reaches Cancel, Enter presses it",
       [] { Chord({VK_SHIFT}, VK_TAB); Key(VK_RETURN); }, IDCANCEL, "", "", ""},
      {"space presses the focused OK",
       [] { Chord({VK_SHIFT}, VK_TAB); Chord({VK_SHIFT}, VK_TAB); Key(VK_SPACE); }, IDOK, "", "", ""},
      {"Alt+L goes to the location",
       [] { Chord({VK_MENU}, 'L'); Type("x"); Key(VK_RETURN); }, IDOK, "", "", "x"},
      {"Alt+P goes to the password, Alt+U back",
       [] { Chord({VK_MENU}, 'P'); Type("pw"); Chord({VK_MENU}, 'U'); Type("u"); Key(VK_RETURN); }, IDOK,
       "u", "pw", ""},
      {"Backspace and arrows edit", [] { Type("abd"); Key(VK_BACK); Key(VK_LEFT); Type("c"); Key(VK_END); Type("e");
                                         Key(VK_RETURN); },
       IDOK, "acbe", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    notes().clear();
    HWND host = Host();
    Login login;
    c.keys();
    EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, LoginProc, reinterpret_cast<LPARAM>(&login)),
              c.result);
    EXPECT_EQ(login.user, c.user);
    EXPECT_EQ(login.password, c.password);
    EXPECT_EQ(login.location, c.location);
    DestroyWindow(host);
  }
}

TEST_F(DialogManagerTest, TheCloseBoxAndTheDialogProcsFocus) {
  HWND host = Host();
  // WM_CLOSE is Cancel.
  Login closed;
  closed.onInit = [](HWND dlg) { PostMessage(dlg, WM_CLOSE, 0, 0); };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, LoginProc, reinterpret_cast<LPARAM>(&closed)),
            IDCANCEL);
  // FALSE from WM_INITDIALOG leaves the focus where the procedure put it.
  Login own;
  own.initResult = FALSE;
  own.onInit = [](HWND dlg) { SetFocus(GetDlgItem(dlg, kPassword)); };
  Type("typed");
  Key(VK_RETURN);
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, LoginProc, reinterpret_cast<LPARAM>(&own)), IDOK);
  EXPECT_EQ(own.user, "");
  EXPECT_EQ(own.password, "typed");
}

// ---- The modal loop -------------------------------------------------------------------

struct Probe {
  HWND owner = nullptr;
  bool ownerEnabledInside = true;
  bool shown = false;
  std::function<void(HWND)> init;
};

INT_PTR CALLBACK ProbeProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* p = reinterpret_cast<Probe*>(GetWindowLong(dlg, DWL_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLong(dlg, DWL_USER, lp);
      p = reinterpret_cast<Probe*>(lp);
      if (p->init) p->init(dlg);
      return TRUE;
    case WM_SHOWWINDOW:
      if (wp) p->shown = true;
      return FALSE;
    case WM_USER + 7:
      p->ownerEnabledInside = IsWindowEnabled(p->owner) != FALSE;
      EndDialog(dlg, 1234);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return FALSE;
      EndDialog(dlg, LOWORD(wp));
      return TRUE;
    default: return FALSE;
  }
}

TEST_F(DialogManagerTest, TheOwnerIsDisabledWhileTheLoopRuns) {
  HWND host = Host();
  Probe p;
  p.owner = host;
  p.init = [](HWND dlg) { PostMessage(dlg, WM_USER + 7, 0, 0); };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, ProbeProc, reinterpret_cast<LPARAM>(&p)), 1234);
  EXPECT_FALSE(p.ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(host));
  // An owner given as a child stands for its top-level window.
  HWND child = Control(host, "STATIC", "", 0, 5, 0, 0, 10, 10);
  Probe q;
  q.owner = host;
  q.init = [](HWND dlg) { PostMessage(dlg, WM_USER + 7, 0, 0); };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), child, ProbeProc, reinterpret_cast<LPARAM>(&q)), 1234);
  EXPECT_FALSE(q.ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(host));
}

TEST_F(DialogManagerTest, EndingInInitDialogNeverShowsTheDialog) {
  Probe p;
  p.init = [](HWND dlg) { EndDialog(dlg, 77); };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), nullptr, ProbeProc, reinterpret_cast<LPARAM>(&p)), 77);
  EXPECT_FALSE(p.shown);
}

TEST_F(DialogManagerTest, QuitEndsTheLoopAndIsPostedAgain) {
  HWND host = Host();
  Probe p;
  p.init = [](HWND) { PostQuitMessage(5); };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), host, ProbeProc, reinterpret_cast<LPARAM>(&p)), 0);
  EXPECT_TRUE(IsWindowEnabled(host));
  MSG m{};
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 5u);
}

TEST_F(DialogManagerTest, TemplatesByNameByPointerAndMissingOnes) {
  Probe p;
  p.init = [](HWND dlg) { PostMessage(dlg, WM_USER + 7, 0, 0); };
  p.owner = Host();
  EXPECT_EQ(DialogBoxParam(module_, "dlg_gif", nullptr, ProbeProc, reinterpret_cast<LPARAM>(&p)), 1234);
  HRSRC r = FindResource(module_, MAKEINTRESOURCE(143), RT_DIALOG);
  const auto* tmpl = static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(module_, r)));
  ASSERT_NE(tmpl, nullptr);
  EXPECT_EQ(DialogBoxIndirectParam(module_, tmpl, nullptr, ProbeProc, reinterpret_cast<LPARAM>(&p)), 1234);
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(999), nullptr, ProbeProc, 0), -1);
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(142), nullptr, ProbeProc, 0), -1);  // not the program's
  EXPECT_EQ(CreateDialogParam(module_, MAKEINTRESOURCE(999), nullptr, ProbeProc, 0), nullptr);
}

// ---- Modeless beside modal --------------------------------------------------------------

std::vector<int> gModelessClicks;

INT_PTR CALLBACK ModelessProc(HWND, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) gModelessClicks.push_back(LOWORD(wp));
  return FALSE;
}

TEST_F(DialogManagerTest, AModelessDialogWorksBesideAModalOne) {
  gModelessClicks.clear();
  HWND frame = Host(0, 0, 300, 300);
  HWND other = Host(500, 300, 300, 300);
  HWND modeless = CreateDialogParam(module_, MAKEINTRESOURCE(320), frame, ModelessProc, 0);
  ASSERT_NE(modeless, nullptr);
  ShowWindow(modeless, SW_SHOW);
  HWND frameBox = GetDlgItem(modeless, 114);
  ASSERT_NE(frameBox, nullptr);
  Login login;
  login.onInit = [frameBox](HWND dlg) {
    Type("bob");
    ClickOn(frameBox);                   // the modeless dialog's check box
    ClickOn(GetDlgItem(dlg, IDOK));      // then the modal dialog's OK
  };
  EXPECT_EQ(DialogBoxParam(module_, MAKEINTRESOURCE(142), other, LoginProc, reinterpret_cast<LPARAM>(&login)), IDOK);
  EXPECT_EQ(login.user, "bob");
  EXPECT_EQ(IsDlgButtonChecked(modeless, 114), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(gModelessClicks, std::vector<int>{114});
  EXPECT_TRUE(IsWindowEnabled(modeless));
  EXPECT_TRUE(IsWindow(modeless));
}

// ---- The dialog keyboard on a modeless dialog ------------------------------------------------

std::vector<int> gCommands;

INT_PTR CALLBACK OptionsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) {
    CheckRadioButton(dlg, 103, 106, 103);
    return TRUE;
  }
  if (msg == WM_COMMAND && (HIWORD(wp) == BN_CLICKED)) gCommands.push_back(LOWORD(wp));
  return FALSE;
}

class DialogKeyboardTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    gCommands.clear();
    dlg_ = CreateDialogParam(module_, MAKEINTRESOURCE(320), Host(), OptionsProc, 0);
    ASSERT_NE(dlg_, nullptr);
    ShowWindow(dlg_, SW_SHOW);
    Pump(dlg_);
  }
  int FocusId() { return GetDlgCtrlID(GetFocus()); }
  void Press(UINT vk) {
    Key(vk);
    Pump(dlg_);
  }
  HWND dlg_ = nullptr;
};

TEST_F(DialogKeyboardTest, ArrowsMoveWithinTheRadioGroupAndCheck) {
  EXPECT_EQ(FocusId(), 103);
  Press(VK_DOWN);
  EXPECT_EQ(FocusId(), 104);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, 104), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dlg_, 103), static_cast<UINT>(BST_UNCHECKED));
  Press(VK_UP);
  Press(VK_UP);  // round to the last of the group
  EXPECT_EQ(FocusId(), 106);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, 106), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(gCommands, (std::vector<int>{104, 103, 106}));
  // A disabled radio button is passed over.
  EnableWindow(GetDlgItem(dlg_, 103), FALSE);
  Press(VK_DOWN);
  EXPECT_EQ(FocusId(), 104);
}

TEST_F(DialogKeyboardTest, TabVisitsTheTabStopsAndEntersTheGroupAtItsCheckedButton) {
  CheckRadioButton(dlg_, 103, 106, 105);
  SetFocus(GetDlgItem(dlg_, 105));
  std::vector<int> seen;
  for (int i = 0; i < 6; ++i) {
    Press(VK_TAB);
    seen.push_back(FocusId());
  }
  EXPECT_EQ(seen, (std::vector<int>{114, 107, IDOK, IDCANCEL, 105, 114}));
  Chord({VK_SHIFT}, VK_TAB);
  Pump(dlg_);
  EXPECT_EQ(FocusId(), 105);
  // Hidden controls are no tab stops.
  ShowWindow(GetDlgItem(dlg_, 107), SW_HIDE);
  Press(VK_TAB);
  Press(VK_TAB);
  EXPECT_EQ(FocusId(), IDOK);
}

TEST_F(DialogKeyboardTest, MnemonicsEnterAndEscape) {
  // A label's mnemonic moves to the control after it; a number field
  // refuses letters.
  Chord({VK_MENU}, 'R');
  Pump(dlg_);
  EXPECT_EQ(FocusId(), 107);
  Type("4a2");
  Pump(dlg_);
  EXPECT_EQ(TextOf(GetDlgItem(dlg_, 107)), "42");
  // Enter in the field presses the default button; Escape is Cancel.
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_EQ(gCommands, (std::vector<int>{IDOK, IDCANCEL}));
  // A check box's mnemonic clicks it; with the focus on a button the
  // letter alone does.
  gCommands.clear();
  Chord({VK_MENU}, 'F');
  Pump(dlg_);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, 114), static_cast<UINT>(BST_CHECKED));
  Press('F');
  EXPECT_EQ(IsDlgButtonChecked(dlg_, 114), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(gCommands, (std::vector<int>{114, 114}));
}

TEST_F(DialogKeyboardTest, TheDefaultButtonFollowsTheFocusAndDmSetDefId) {
  auto isDefault = [&](int id) {
    return (SendMessage(GetDlgItem(dlg_, id), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
  };
  EXPECT_EQ(LOWORD(SendMessage(dlg_, DM_GETDEFID, 0, 0)), IDOK);
  EXPECT_EQ(HIWORD(SendMessage(dlg_, DM_GETDEFID, 0, 0)), DC_HASDEFID);
  EXPECT_TRUE(isDefault(IDOK));
  SendMessage(dlg_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg_, IDCANCEL)), TRUE);
  EXPECT_TRUE(isDefault(IDCANCEL));
  EXPECT_FALSE(isDefault(IDOK));
  SendMessage(dlg_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg_, 107)), TRUE);
  EXPECT_TRUE(isDefault(IDOK));
  EXPECT_FALSE(isDefault(IDCANCEL));
  // Another default id: Enter presses it.
  SendMessage(dlg_, DM_SETDEFID, IDCANCEL, 0);
  EXPECT_TRUE(isDefault(IDCANCEL));
  Press(VK_RETURN);
  // A disabled default button takes no Enter.
  EnableWindow(GetDlgItem(dlg_, IDCANCEL), FALSE);
  Press(VK_RETURN);
  EXPECT_EQ(gCommands, std::vector<int>{IDCANCEL});
}

// ---- Geometry from the template's font -----------------------------------------------------

TEST_F(DialogManagerTest, DialogUnitsComeFromTheTemplateFont) {
  HWND host = Host(20, 30, 500, 400);
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(310), host, nullptr, 0);
  ASSERT_NE(dlg, nullptr);
  HFONT font = reinterpret_cast<HFONT>(SendMessage(dlg, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONT lf{};
  ASSERT_TRUE(GetObject(font, sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 dpi
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  // The base units as Windows measures them: the 52 letters and the height.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE ext{};
  GetTextExtentPoint32(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &ext);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int bx = (ext.cx / 26 + 1) / 2, by = tm.tmHeight;
  ASSERT_GT(bx, 0);
  auto x = [&](int dlu) { return (dlu * bx + 2) / 4; };
  auto y = [&](int dlu) { return (dlu * by + 4) / 8; };
  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, x(200));
  EXPECT_EQ(client.bottom, y(130));
  // A popup's place counts from its owner's client area.
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  RECT wr;
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(wr.left, origin.x + x(10));
  EXPECT_EQ(wr.top, origin.y + y(10));
  struct Item {
    int id, dx, dy, dw, dh;
  };
  const Item items[] = {{201, 40, 6, 80, 12}, {204, 96, 26, 60, 10}, {IDOK, 80, 108, 50, 14}};
  for (const Item& it : items) {
    SCOPED_TRACE(it.id);
    RECT r;
    GetWindowRect(GetDlgItem(dlg, it.id), &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<LPPOINT>(&r), 2);
    EXPECT_EQ(r.left, x(it.dx));
    EXPECT_EQ(r.top, y(it.dy));
    EXPECT_EQ(r.right - r.left, x(it.dw));
    EXPECT_EQ(r.bottom - r.top, y(it.dh));
  }
  RECT mapped{40, 6, 120, 18};
  ASSERT_TRUE(MapDialogRect(dlg, &mapped));
  EXPECT_EQ(mapped.left, x(40));
  EXPECT_EQ(mapped.bottom, y(18));
  // An icon takes its picture's size; a list box shows whole rows; a
  // combo box is as high as its field and drops to the template's height.
  RECT icon;
  GetClientRect(GetDlgItem(dlg, 208), &icon);
  EXPECT_EQ(icon.right, 32);
  EXPECT_EQ(icon.bottom, 32);
  HWND list = GetDlgItem(dlg, 206);
  RECT lc;
  GetClientRect(list, &lc);
  EXPECT_EQ(lc.bottom % SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 0);
  HWND combo = GetDlgItem(dlg, 207);
  RECT cr, dropped;
  GetWindowRect(combo, &cr);
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(cr.bottom - cr.top, tm.tmHeight + 6);
  EXPECT_EQ(dropped.bottom - dropped.top, y(60));
  // Controls get the dialog's font.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessage(GetDlgItem(dlg, 201), WM_GETFONT, 0, 0)), font);
}

TEST_F(DialogManagerTest, APopupDialogIsOwnedByTheTopLevelWindowOfTheControlGiven) {
  // The plug-ins' progress dialogs are made with the focus window as parent.
  HWND host = Host();
  HWND focus = Control(host, "EDIT", "", 0, 5, 0, 0, 50, 20);
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(143), focus, nullptr, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(GetWindow(dlg, GW_OWNER), host);
  EXPECT_FALSE(GetWindowLong(dlg, GWL_STYLE) & WS_CHILD);
}

TEST_F(DialogManagerTest, AChildDialogSitsInItsParentAndStaysHidden) {
  HWND host = Host();
  HWND page = CreateDialogParam(module_, MAKEINTRESOURCE(131), host, nullptr, 0);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), host);
  EXPECT_TRUE(GetWindowLong(page, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_EQ(GetFocus() == page || IsChild(page, GetFocus()), false);
  // The dialog class's background brush can be taken away (as pages do).
  SetClassLong(page, GCL_HBRBACKGROUND, 0);
  ShowWindow(page, SW_SHOW);
  Pump();
  EXPECT_TRUE(IsWindowVisible(page));
}

// ---- Dialog items ------------------------------------------------------------------------------

INT_PTR CALLBACK NullProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(DialogManagerTest, DlgItemIntReadsWholeNumbersOnly) {
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(142), Host(), NullProc, 0);
  ASSERT_NE(dlg, nullptr);
  struct Case {
    const char* text;
    BOOL isSigned;
    BOOL translated;
    UINT value;
  };
  const Case cases[] = {
      {"42", FALSE, TRUE, 42},
      {"  42  ", TRUE, TRUE, 42},
      {"-17", TRUE, TRUE, static_cast<UINT>(-17)},
      {"-17", FALSE, FALSE, 0},
      {"+5", FALSE, TRUE, 5},
      {"4294967295", FALSE, TRUE, 4294967295u},
      {"4294967296", FALSE, FALSE, 0},
      {"2147483648", TRUE, FALSE, 0},
      {"-2147483648", TRUE, TRUE, 0x80000000u},
      {"12abc", FALSE, FALSE, 0},
      {"", FALSE, FALSE, 0},
      {"-", TRUE, FALSE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetDlgItemText(dlg, kUser, c.text);
    BOOL ok = 2;
    EXPECT_EQ(GetDlgItemInt(dlg, kUser, &ok, c.isSigned), c.value);
    EXPECT_EQ(ok, c.translated);
  }
  SetDlgItemInt(dlg, kUser, static_cast<UINT>(-5), TRUE);
  EXPECT_EQ(TextOf(GetDlgItem(dlg, kUser)), "-5");
  SetDlgItemInt(dlg, kUser, static_cast<UINT>(-5), FALSE);
  EXPECT_EQ(TextOf(GetDlgItem(dlg, kUser)), "4294967291");
  char small[4];
  SetDlgItemText(dlg, kUser, "abcdef");
  EXPECT_EQ(GetDlgItemText(dlg, kUser, small, sizeof small), 3u);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(SendDlgItemMessage(dlg, kUser, WM_GETTEXTLENGTH, 0, 0), 6);
  EXPECT_EQ(SendDlgItemMessage(dlg, 4242, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(DialogManagerTest, CheckButtonsByIdAndRadioRanges) {
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(320), Host(), NullProc, 0);
  ASSERT_NE(dlg, nullptr);
  CheckRadioButton(dlg, 103, 106, 105);
  const UINT want[] = {BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED};
  for (int id = 103; id <= 106; ++id) EXPECT_EQ(IsDlgButtonChecked(dlg, id), want[id - 103]) << id;
  // The checked radio button is the group's tab stop.
  EXPECT_TRUE(GetWindowLong(GetDlgItem(dlg, 105), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLong(GetDlgItem(dlg, 103), GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(CheckDlgButton(dlg, 114, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dlg, 114), static_cast<UINT>(BST_CHECKED));
  EXPECT_FALSE(CheckDlgButton(dlg, 999, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dlg, 999), 0u);
}

INT_PTR CALLBACK ResultProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_USER + 1:
      SetWindowLong(dlg, DWL_MSGRESULT, 42);
      return TRUE;
    case WM_CTLCOLORSTATIC: return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_USER + 2: return static_cast<INT_PTR>(wp);  // FALSE: not handled
    default: return FALSE;
  }
}

TEST_F(DialogManagerTest, DefDlgProcAnswersWithTheResultOrTheBrush) {
  HWND dlg = CreateDialogParam(module_, MAKEINTRESOURCE(142), Host(), ResultProc, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(SendMessage(dlg, WM_USER + 1, 0, 0), 42);
  EXPECT_EQ(SendMessage(dlg, WM_CTLCOLORSTATIC, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(SendMessage(dlg, WM_USER + 2, 0, 0), 0);
  // Not handled: the default colours of a dialog.
  EXPECT_EQ(SendMessage(dlg, WM_CTLCOLORDLG, 0, 0), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE)));
  EXPECT_EQ(SendMessage(dlg, WM_CTLCOLOREDIT, 0, 0), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  EXPECT_NE(GetDlgItem(dlg, kUser), nullptr);
  DestroyWindow(dlg);
  EXPECT_FALSE(IsWindow(dlg));
}

}  // namespace
