// CDialog: modal dialogs with data exchange both ways, validation that keeps
// the dialog open, EndDialog from OnInitDialog, a missing template, a
// modeless dialog working beside a modal one, and a dialog made from a
// template in memory, shown before a timer that is due when its loop starts.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "display/headless.h"
#include "mfc/afx.h"
#include "support/mfc_fixture.h"
#include "support/user_clock.h"

namespace {

using mfc_test::MfcTest;

constexpr UINT kForm = 500;
constexpr UINT kSmall = 501;
constexpr int kName = 1001;
constexpr int kCount = 1002;
constexpr int kUnsigned = 1003;
constexpr int kCheck = 1004;
constexpr int kRadioA = 1005;
constexpr int kRadioB = 1006;
constexpr int kRadioC = 1007;
constexpr int kList = 1008;

const char kScript[] =
    "500 DIALOG 0, 0, 200, 120\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
    "CAPTION \"Form\"\n"
    "BEGIN\n"
    "  EDITTEXT 1001, 5, 5, 100, 12, ES_AUTOHSCROLL\n"
    "  EDITTEXT 1002, 5, 20, 100, 12\n"
    "  EDITTEXT 1003, 5, 35, 100, 12\n"
    "  AUTOCHECKBOX \"Check\", 1004, 5, 50, 60, 10\n"
    "  AUTORADIOBUTTON \"A\", 1005, 5, 62, 40, 10, WS_GROUP | WS_TABSTOP\n"
    "  AUTORADIOBUTTON \"B\", 1006, 5, 72, 40, 10\n"
    "  AUTORADIOBUTTON \"C\", 1007, 5, 82, 40, 10\n"
    "  LISTBOX 1008, 110, 5, 80, 50, WS_GROUP | WS_VSCROLL\n"
    "  DEFPUSHBUTTON \"OK\", 1, 140, 100, 50, 14, WS_GROUP\n"
    "  PUSHBUTTON \"Cancel\", 2, 80, 100, 50, 14\n"
    "END\n"
    "501 DIALOG 0, 0, 100, 40\n"
    "STYLE WS_POPUP | WS_CAPTION\n"
    "CAPTION \"Small\"\n"
    "BEGIN\n"
    "  EDITTEXT 1001, 5, 5, 80, 12\n"
    "  PUSHBUTTON \"Go\", 1006, 5, 20, 40, 14\n"
    "END\n";

// A dialog whose test actions run when its modal loop first goes idle (the
// dialog is then shown), and again after each message box.
class FormDlg : public CDialog {
 public:
  FormDlg() : CDialog(kForm) {}
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kName, name);
    DDV_MaxChars(dx, name, 8);
    DDX_Text(dx, kCount, count);
    DDX_Text(dx, kUnsigned, unsignedCount);
    DDX_Check(dx, kCheck, check);
    DDX_Radio(dx, kRadioA, radio);
    DDX_Control(dx, kList, list);
  }
  BOOL OnInitDialog() override {
    ++inits;
    const BOOL focus = CDialog::OnInitDialog();
    list.AddString("one");
    list.AddString("two");
    if (endAtInit) EndDialog(77);
    return focus;
  }
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (!actions.empty()) {
      auto next = actions.front();
      actions.erase(actions.begin());
      next(*this);
    }
    return FALSE;
  }
  CString Text(int id) {
    CString s;
    GetDlgItemText(id, s);
    return s;
  }

  CString name;
  int count = 0;
  UINT unsignedCount = 0;
  int check = 0;
  int radio = 0;
  CListBox list;
  int inits = 0;
  bool endAtInit = false;
  std::vector<std::function<void(FormDlg&)>> actions;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FormDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class DialogTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    mfc_test::RegisterScript(kScript);
  }
};

TEST_F(DialogTest, ModalDataExchangeBothWays) {
  FormDlg dlg;
  dlg.name = "Anna";
  dlg.count = -12;
  dlg.unsignedCount = 4000000000u;
  dlg.check = 1;
  dlg.radio = 2;
  std::vector<std::string> shown;
  dlg.actions.push_back([&shown](FormDlg& d) {
    // What the members put into the controls.
    shown = {d.Text(kName).str(), d.Text(kCount).str(), d.Text(kUnsigned).str()};
    EXPECT_EQ(d.IsDlgButtonChecked(kCheck), 1u);
    EXPECT_EQ(d.GetCheckedRadioButton(kRadioA, kRadioC), kRadioC);
    EXPECT_TRUE(d.IsWindowVisible());
    EXPECT_EQ(d.list.GetCount(), 2);  // subclassed by DDX_Control
    // The user's changes.
    d.SetDlgItemText(kName, "Berta");
    d.SetDlgItemText(kCount, "  +35 ");
    d.SetDlgItemText(kUnsigned, "7");
    d.CheckDlgButton(kCheck, 0);
    d.CheckRadioButton(kRadioA, kRadioC, kRadioB);
    // Moving the focus the dialog's way.
    d.GotoDlgCtrl(d.GetDlgItem(kCount));
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.m_hWnd, kCount));
    d.NextDlgCtrl();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.m_hWnd, kUnsigned));
    d.PrevDlgCtrl();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.m_hWnd, kCount));
    d.PostMessage(WM_COMMAND, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(shown, (std::vector<std::string>{"Anna", "-12", "4000000000"}));
  EXPECT_STREQ(dlg.name, "Berta");
  EXPECT_EQ(dlg.count, 35);
  EXPECT_EQ(dlg.unsignedCount, 7u);
  EXPECT_EQ(dlg.check, 0);
  EXPECT_EQ(dlg.radio, 1);
  EXPECT_EQ(dlg.inits, 1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.list.m_hWnd, nullptr);  // untied with its window
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(DialogTest, InvalidInputIsReportedAndTheDialogStays) {
  struct Case {
    int control;
    const char* text;
    const char* message;
  };
  // Numbers must be whole, in range and fit the member; texts not too long.
  const Case cases[] = {
      {kCount, "12abc", "Please enter an integer."},
      {kCount, "99999999999", "Please enter an integer."},
      {kCount, "", "Please enter an integer."},
      {kUnsigned, "-1", "Please enter a positive integer."},
      {kUnsigned, "4294967296", "Please enter a positive integer."},
      {kName, "ninechars", "Please enter no more than 8 characters."},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    FormDlg dlg;
    HWND focusAfterFailure = nullptr;
    HWND offending = nullptr;
    bool stillOpen = false;
    dlg.actions.push_back([&](FormDlg& d) {
      offending = ::GetDlgItem(d.m_hWnd, c.control);
      d.SetDlgItemText(c.control, c.text);
      d.SendMessage(WM_COMMAND, IDOK);
      // Still open, the offending control has the focus.
      stillOpen = d.ContinueModal() != FALSE;
      focusAfterFailure = ::GetFocus();
      d.SetDlgItemText(c.control, "5");
      d.PostMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK) << c.text;
    ASSERT_EQ(win::MessageBoxLog().size(), 1u) << c.text;
    EXPECT_EQ(win::MessageBoxLog()[0].text, c.message);
    EXPECT_TRUE(stillOpen) << c.text;
    EXPECT_EQ(focusAfterFailure, offending) << c.text;
  }
}

TEST_F(DialogTest, CancelEndInitDialogAndMissingTemplates) {
  {
    FormDlg dlg;
    dlg.name = "kept";
    dlg.actions.push_back([](FormDlg& d) {
      d.SetDlgItemText(kName, "changed");
      d.PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.name, "kept");  // Cancel exchanges nothing
  }
  {
    FormDlg dlg;
    dlg.endAtInit = true;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.inits, 1);
  }
  {
    CDialog missing(999);
    EXPECT_EQ(missing.DoModal(), -1);
  }
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileAModalDialogRuns) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             0, 0, 300, 300, nullptr, nullptr));
  FormDlg dlg;
  dlg.m_pParentWnd = &owner;
  BOOL ownerEnabled = TRUE;
  HWND dlgOwner = nullptr;
  dlg.actions.push_back([&](FormDlg& d) {
    ownerEnabled = owner.IsWindowEnabled();
    dlgOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
    d.EndDialog(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(dlgOwner, owner.m_hWnd);
  EXPECT_TRUE(owner.IsWindowEnabled());
  owner.DestroyWindow();
}

// A modeless dialog that counts its button's clicks.
class SmallDlg : public CDialog {
 public:
  afx_msg void OnGo() { ++clicks; }
  int clicks = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SmallDlg, CDialog)
  ON_BN_CLICKED(1006, OnGo)
END_MESSAGE_MAP()

TEST_F(DialogTest, AModelessDialogWorksBesideAModalOne) {
  SmallDlg modeless;
  ASSERT_TRUE(modeless.Create(kSmall));
  modeless.ShowWindow(SW_SHOW);
  FormDlg modal;
  CString typed;
  modal.actions.push_back([&](FormDlg&) {
    // Keys typed into the modeless dialog reach it through its own
    // dialog keyboard while the modal loop runs.
    HWND edit = modeless.GetDlgItem(kName)->m_hWnd;
    ::SetActiveWindow(modeless.m_hWnd);
    ::SetFocus(edit);
    win::headless::TypeKey('X');
    win::headless::TypeKey(VK_TAB);  // on to the button
    win::headless::TypeKey(VK_SPACE);
  });
  modal.actions.push_back([&](FormDlg& d) {
    typed = "";
    modeless.GetDlgItemText(kName, typed);
    d.PostMessage(WM_COMMAND, IDCANCEL);
  });
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
  EXPECT_STREQ(typed, "x");
  EXPECT_EQ(modeless.clicks, 1);
  EXPECT_TRUE(modeless.DestroyWindow());
  EXPECT_EQ(modeless.m_hWnd, nullptr);
}

// A template in memory: header, no menu, the default class, a caption, and
// one push button.
std::vector<WORD> HandMadeTemplate() {
  std::vector<WORD> t;
  auto dword = [&t](DWORD v) {
    t.push_back(static_cast<WORD>(v & 0xFFFF));
    t.push_back(static_cast<WORD>(v >> 16));
  };
  auto text = [&t](const char* s) {
    for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
    t.push_back(0);
  };
  dword(WS_POPUP | WS_CAPTION);  // style
  dword(0);                      // extended style
  t.push_back(1);                // one item
  t.push_back(0);
  t.push_back(0);
  t.push_back(80);
  t.push_back(30);
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  text("Hand made");
  if (t.size() % 2) t.push_back(0);  // the item starts on a DWORD boundary
  dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
  dword(0);
  t.push_back(5);
  t.push_back(5);
  t.push_back(40);
  t.push_back(14);
  t.push_back(IDOK);
  t.push_back(0xFFFF);
  t.push_back(0x0080);  // BUTTON
  text("OK");
  t.push_back(0);  // no creation data
  return t;
}

// A dialog from a template in memory that clicks its own OK button once it
// is up (its modal loop first goes idle), and records what a timer saw.
class HandMadeDlg : public CDialog {
 public:
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (answerWhenIdle && !answered) {
      answered = true;
      // The OK button answers the dialog through CDialog's own map.
      PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDOK)));
    }
    return FALSE;
  }
  bool answerWhenIdle = true;
  bool answered = false;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(HandMadeDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST_F(DialogTest, ATemplateInMemory) {
  const std::vector<WORD> words = HandMadeTemplate();
  HandMadeDlg dlg;
  ASSERT_TRUE(dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(words.data())));
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(dlg.answered);
}

// What the timer below saw of the dialog.
struct TimerSight {
  HandMadeDlg* dlg = nullptr;
  bool visible = false;
  bool active = false;
  int calls = 0;
};
TimerSight gSight;

TEST_F(DialogTest, ATimerDueWhenTheModalLoopStartsFindsTheDialogShownAndActive) {
  testing_support::TestUserClock clock;
  const std::vector<WORD> words = HandMadeTemplate();
  HandMadeDlg dlg;
  dlg.answerWhenIdle = false;
  ASSERT_TRUE(dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(words.data())));
  gSight = TimerSight{&dlg};
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ++gSight.calls;
    const HWND wnd = gSight.dlg->m_hWnd;
    gSight.visible = ::IsWindowVisible(wnd) != FALSE;
    gSight.active = ::GetActiveWindow() == wnd;
    ::PostMessage(wnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  // Due before the dialog exists, as after a slow first creation.
  clock.Advance(10);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(gSight.calls, 1);
  EXPECT_TRUE(gSight.visible);
  EXPECT_TRUE(gSight.active);
}

}  // namespace
