// CFormView from a dialog template: the form as a child dialog of its
// parent with the requested id, place and border, its controls, data
// exchange at the initial update, the dialog keyboard, and the view going
// away with its window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

constexpr UINT kFormTemplate = 131;
constexpr UINT kPageId = 12436;

const char kScript[] =
    "131 DIALOG 0, 0, 185, 92\n"
    "STYLE WS_CHILD | DS_SETFONT\n"
    "FONT 8, \"MS Sans Serif\"\n"
    "BEGIN\n"
    "  EDITTEXT 10, 5, 5, 80, 12\n"
    "  EDITTEXT 11, 5, 20, 80, 12\n"
    "  PUSHBUTTON \"Press\", 12, 5, 40, 40, 14\n"
    "END\n";

int gFormsAlive = 0;

class Form : public CFormView {
 public:
  Form() : CFormView(kFormTemplate) { ++gFormsAlive; }
  ~Form() override { --gFormsAlive; }
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 10, first); }
  afx_msg void OnPress() { ++presses; }
  afx_msg void OnLButtonDown(UINT, CPoint p) { clicks.push_back(p); }
  CString first = "initial";
  int presses = 0;
  std::vector<CPoint> clicks;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Form, CFormView)
  ON_BN_CLICKED(12, OnPress)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class FormViewTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    mfc_test::RegisterScript(kScript);
    ASSERT_TRUE(parent_.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0,
                                 640, 480, nullptr, nullptr));
  }
  void TearDown() override {
    if (parent_.m_hWnd) parent_.DestroyWindow();
    MfcTest::TearDown();
  }
  CWnd parent_;
};

TEST_F(FormViewTest, TheFormIsAChildDialogOfItsParentWithTheRequestedPlace) {
  auto* form = new Form;
  ASSERT_TRUE(form->Create(nullptr, "VPage", WS_CHILD | WS_VISIBLE, CRect(10, 20, 610, 420), &parent_,
                           kPageId));
  EXPECT_EQ(form->GetDlgCtrlID(), static_cast<int>(kPageId));
  EXPECT_EQ(::GetParent(form->m_hWnd), parent_.m_hWnd);
  EXPECT_TRUE(form->IsWindowVisible());
  CRect r;
  form->GetWindowRect(&r);
  parent_.ScreenToClient(&r);
  EXPECT_EQ(r, CRect(10, 20, 610, 420));
  // No border was asked for: none, and no scroll bars (the form is larger
  // than its template).
  EXPECT_FALSE(form->GetStyle() & (WS_BORDER | WS_HSCROLL | WS_VSCROLL));
  EXPECT_NE(form->GetDlgItem(10), nullptr);
  EXPECT_NE(form->GetDlgItem(12), nullptr);

  // The initial update fills the controls from the members.
  form->SendMessage(WM_INITIALUPDATE);
  CString text;
  form->GetDlgItemText(10, text);
  EXPECT_STREQ(text, "initial");

  // Its buttons reach its own map; clicks on the form itself too.
  form->SendMessage(WM_COMMAND, MAKEWPARAM(12, BN_CLICKED),
                    reinterpret_cast<LPARAM>(form->GetDlgItem(12)->m_hWnd));
  EXPECT_EQ(form->presses, 1);
  CRect inForm;
  form->GetWindowRect(&inForm);
  win::headless::Click(inForm.left + 300, inForm.top + 300);
  mfc_test::PumpPending();
  ASSERT_EQ(form->clicks.size(), 1u);
  EXPECT_EQ(form->clicks[0], CPoint(300, 300));

  // Destroying the window deletes the view.
  EXPECT_EQ(gFormsAlive, 1);
  form->DestroyWindow();
  EXPECT_EQ(gFormsAlive, 0);
}

TEST_F(FormViewTest, TabMovesThroughTheFormsControls) {
  auto* form = new Form;
  ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &parent_,
                           kPageId));
  HWND first = form->GetDlgItem(10)->m_hWnd;
  HWND second = form->GetDlgItem(11)->m_hWnd;
  ::SetActiveWindow(parent_.m_hWnd);
  ::SetFocus(first);
  mfc_test::PumpPending();
  win::headless::TypeKey(VK_TAB);
  mfc_test::PumpPending();
  EXPECT_EQ(::GetFocus(), second);
  form->DestroyWindow();
}

TEST_F(FormViewTest, AMissingTemplateFailsAndTheViewDeletesItself) {
  class NoTemplate : public CFormView {
   public:
    NoTemplate() : CFormView(999) { ++gFormsAlive; }
    ~NoTemplate() override { --gFormsAlive; }
  };
  auto* form = new NoTemplate;
  EXPECT_EQ(gFormsAlive, 1);
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &parent_, 1));
  EXPECT_EQ(gFormsAlive, 0);
}

// A small form in a small view: scroll bars appear and scroll the form.
TEST_F(FormViewTest, AFormSmallerThanItsTemplateScrolls) {
  auto* form = new Form;
  ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 60), &parent_,
                           kPageId));
  EXPECT_TRUE(form->GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(form->GetStyle() & WS_HSCROLL);
  CRect before;
  form->GetDlgItem(11)->GetWindowRect(&before);
  form->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  CRect after;
  form->GetDlgItem(11)->GetWindowRect(&after);
  EXPECT_LT(after.top, before.top);
  EXPECT_EQ(before.top - after.top, form->GetScrollPos(SB_VERT));
  form->DestroyWindow();
}

}  // namespace
