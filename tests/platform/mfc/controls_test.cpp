// The control wrappers over the standard controls, the modal loop ending on
// WM_QUIT, and windows tied to their objects even where the window system
// runs no creation hook.
#include <gtest/gtest.h>

#include <string>

#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

const char kScript[] =
    "600 DIALOG 0, 0, 200, 120\n"
    "STYLE WS_POPUP | WS_CAPTION\n"
    "CAPTION \"Controls\"\n"
    "BEGIN\n"
    "  EDITTEXT 10, 5, 5, 100, 12, ES_AUTOHSCROLL\n"
    "  LISTBOX 11, 5, 20, 80, 50, WS_VSCROLL\n"
    "  COMBOBOX 12, 100, 20, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL\n"
    "  LTEXT \"label\", 14, 110, 80, 60, 10\n"
    "END\n";

class ControlsTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    mfc_test::RegisterScript(kScript);
  }
};

class ControlsDlg : public CDialog {
 public:
  ControlsDlg() : CDialog(600) {}
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, 10, edit);
    DDX_Control(dx, 11, list);
    DDX_Control(dx, 12, combo);
    DDX_Control(dx, 14, label);
  }
  CEdit edit;
  CListBox list;
  CComboBox combo;
  CStatic label;
};

TEST_F(ControlsTest, WrappersReachTheirControls) {
  ControlsDlg dlg;
  ASSERT_TRUE(dlg.Create(600));

  dlg.edit.SetWindowText("hello world");
  dlg.edit.SetSel(6, 11);
  int start = 0, end = 0;
  dlg.edit.GetSel(start, end);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(end, 11);
  dlg.edit.ReplaceSel("there");
  CString text;
  dlg.edit.GetWindowText(text);
  EXPECT_STREQ(text, "hello there");
  dlg.edit.LimitText(4);
  EXPECT_EQ(dlg.edit.GetLimitText(), 4u);
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(90, "Arial"));
  dlg.edit.SetFont(&font, FALSE);
  EXPECT_EQ(dlg.edit.GetFont(), &font);  // the program's own object comes back

  EXPECT_EQ(dlg.list.AddString("alpha"), 0);
  EXPECT_EQ(dlg.list.AddString("beta"), 1);
  EXPECT_EQ(dlg.list.InsertString(0, "first"), 0);
  EXPECT_EQ(dlg.list.GetCount(), 3);
  EXPECT_EQ(dlg.list.FindStringExact(-1, "beta"), 2);
  dlg.list.SetCurSel(2);
  EXPECT_EQ(dlg.list.GetCurSel(), 2);
  dlg.list.GetText(1, text);
  EXPECT_STREQ(text, "alpha");
  dlg.list.SetItemData(1, 4711);
  EXPECT_EQ(dlg.list.GetItemData(1), 4711u);
  dlg.list.DeleteString(0);
  EXPECT_EQ(dlg.list.GetCount(), 2);
  dlg.list.ResetContent();
  EXPECT_EQ(dlg.list.GetCount(), 0);

  dlg.combo.AddString("red");
  dlg.combo.AddString("green");
  EXPECT_EQ(dlg.combo.GetCount(), 2);
  dlg.combo.SetCurSel(1);
  EXPECT_EQ(dlg.combo.GetCurSel(), 1);
  dlg.combo.GetLBText(1, text);
  EXPECT_STREQ(text, "green");
  EXPECT_EQ(dlg.combo.GetLBTextLen(0), 3);

  dlg.label.GetWindowText(text);
  EXPECT_STREQ(text, "label");
  dlg.DestroyWindow();
}

TEST_F(ControlsTest, ScrollBarControl) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 80, 16), &parent, 13));
  bar.SetScrollRange(0, 50);
  bar.SetScrollPos(20);
  EXPECT_EQ(bar.GetScrollPos(), 20);
  int lo = -1, hi = -1;
  bar.GetScrollRange(&lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 50);
  parent.DestroyWindow();
}

// A dialog that asks for the program's end while it runs.
class QuittingDlg : public CDialog {
 public:
  QuittingDlg() : CDialog(600) {}
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    PostQuitMessage(5);
    return FALSE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(QuittingDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST_F(ControlsTest, WMQuitEndsAModalDialogAndReachesTheLoopOutside) {
  QuittingDlg dlg;
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  int code = 0;
  EXPECT_TRUE(mfc_test::TakeQuit(&code));
  EXPECT_EQ(code, 5);  // the code the program asked for, not 0
}

class Created : public CWnd {
 public:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    ++creates;
    return CWnd::OnCreate(cs);
  }
  int creates = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Created, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class OkDlg : public CDialog {
 public:
  OkDlg() : CDialog(600) {}
  BOOL OnInitDialog() override {
    ++inits;
    CDialog::OnInitDialog();
    EndDialog(IDOK);
    return TRUE;
  }
  int inits = 0;
};

TEST_F(ControlsTest, WithoutACreationHookWindowsAreStillTied) {
  const win::WindowCreationHook hook = win::SetWindowCreationHook(nullptr);
  {
    // A window of the framework's classes is tied by its first message.
    Created w;
    ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(w.creates, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);
    // A standard control is subclassed once it is made.
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | BS_AUTOCHECKBOX, CRect(0, 0, 5, 5), &w, 3));
    EXPECT_EQ(CWnd::FromHandlePermanent(button.m_hWnd), &button);
    button.SetCheck(1);
    EXPECT_EQ(button.GetCheck(), 1);
    // A dialog is tied by its dialog procedure's first message.
    OkDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.inits, 1);
    w.DestroyWindow();
    EXPECT_EQ(button.m_hWnd, nullptr);
  }
  win::SetWindowCreationHook(hook);
}

}  // namespace
