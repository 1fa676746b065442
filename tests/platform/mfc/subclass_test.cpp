// Dialog items subclassed with framework objects: an owner-drawn button
// that draws itself from the parent's WM_DRAWITEM, notifications reflected
// back to the control that sent them, a static that chooses its own colours,
// and the objects untied when the dialog goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

constexpr UINT kLogoTemplate = 105;
constexpr int kPicture = 1008;
constexpr int kVersion = 1004;
constexpr int kReflecting = 1010;
constexpr int kPassing = 1011;

const char kScript[] =
    "105 DIALOG 0, 0, 150, 60\n"
    "STYLE WS_POPUP\n"
    "BEGIN\n"
    "  CONTROL \"\", 1008, \"BUTTON\", BS_OWNERDRAW | WS_CHILD | WS_VISIBLE, 0, 0, 40, 30\n"
    "  LTEXT \"\", 1004, 0, 40, 60, 10\n"
    "  PUSHBUTTON \"Mine\", 1010, 60, 5, 40, 14\n"
    "  PUSHBUTTON \"Both\", 1011, 60, 25, 40, 14\n"
    "END\n";

constexpr COLORREF kLogoColour = RGB(200, 0, 0);
constexpr COLORREF kStaticColour = RGB(0, 0, 200);

class LogoControl : public CButton {
 public:
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    ++draws;
    id = dis->CtlID;
    CDC* dc = CDC::FromHandle(dis->hDC);
    dc->FillSolidRect(&dis->rcItem, kLogoColour);
  }
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  int draws = 0;
  UINT id = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LogoControl, CButton)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class ReflectingButton : public CButton {
 public:
  afx_msg void OnClicked() { ++clicks; }
  int clicks = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// Sees the click and lets the parent see it too.
class PassingButton : public CButton {
 public:
  afx_msg BOOL OnClicked() {
    ++clicks;
    return FALSE;
  }
  int clicks = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PassingButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class ColouredStatic : public CStatic {
 public:
  ColouredStatic() { brush.CreateSolidBrush(kStaticColour); }
  afx_msg HBRUSH CtlColor(CDC* dc, UINT type) {
    ++asked;

    lastType = type;
    dc->SetBkColor(kStaticColour);
    return brush;
  }
  CBrush brush;
  int asked = 0;
  UINT lastType = 99;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColouredStatic, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class LogoDialog : public CDialog {
 public:
  LogoDialog() : CDialog(kLogoTemplate) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    subclassed = logo.SubclassDlgItem(kPicture, this) && mine.SubclassDlgItem(kReflecting, this) &&
                 both.SubclassDlgItem(kPassing, this) && version.SubclassDlgItem(kVersion, this);
    logo.SetWindowPos(nullptr, 4, 4, 30, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    GetDlgItem(kVersion)->SetWindowText("Version v0.85");
    return TRUE;
  }
  afx_msg void OnMine() { ++parentSawMine; }
  afx_msg void OnBoth() { ++parentSawBoth; }

  LogoControl logo;
  ReflectingButton mine;
  PassingButton both;
  ColouredStatic version;
  bool subclassed = false;
  int parentSawMine = 0;
  int parentSawBoth = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LogoDialog, CDialog)
  ON_BN_CLICKED(kReflecting, OnMine)
  ON_BN_CLICKED(kPassing, OnBoth)
END_MESSAGE_MAP()

class SubclassTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    mfc_test::RegisterScript(kScript);
  }
};

TEST_F(SubclassTest, SubclassedItemsDrawAnswerAndColourThemselves) {
  LogoDialog dlg;
  ASSERT_TRUE(dlg.Create(kLogoTemplate));
  ASSERT_TRUE(dlg.subclassed);
  EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(kPicture)->m_hWnd), &dlg.logo);
  dlg.ShowWindow(SW_SHOW);
  dlg.UpdateWindow();
  mfc_test::PumpPending();

  // The owner-drawn button drew itself, through the parent's WM_DRAWITEM.
  EXPECT_GE(dlg.logo.draws, 1);
  EXPECT_EQ(dlg.logo.id, static_cast<UINT>(kPicture));
  {
    CClientDC dc(&dlg.logo);
    EXPECT_EQ(dc.GetPixel(5, 5), kLogoColour);
  }
  // The static asked itself for its colours and painted with its brush.
  EXPECT_GE(dlg.version.asked, 1);
  EXPECT_EQ(dlg.version.lastType, static_cast<UINT>(CTLCOLOR_STATIC));
  {
    CClientDC dc(&dlg.version);
    CRect r;
    dlg.version.GetClientRect(&r);
    EXPECT_EQ(dc.GetPixel(r.right - 1, r.bottom - 1), kStaticColour);
  }

  // A reflected notification stops at the control; an _EX one that answers
  // FALSE goes on to the parent.
  const auto click = [&dlg](int id) {
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, id)));
  };
  click(kReflecting);
  click(kPassing);
  EXPECT_EQ(dlg.mine.clicks, 1);
  EXPECT_EQ(dlg.parentSawMine, 0);
  EXPECT_EQ(dlg.both.clicks, 1);
  EXPECT_EQ(dlg.parentSawBoth, 1);

  // The dialog's end unties every subclassed control; their windows got
  // their own procedures back first.
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.logo.m_hWnd, nullptr);
  EXPECT_EQ(dlg.mine.m_hWnd, nullptr);
  EXPECT_EQ(dlg.version.m_hWnd, nullptr);
}

TEST_F(SubclassTest, UnsubclassingGivesTheWindowBack) {
  LogoDialog dlg;
  ASSERT_TRUE(dlg.Create(kLogoTemplate));
  HWND mine = dlg.mine.m_hWnd;
  EXPECT_EQ(dlg.mine.UnsubclassWindow(), mine);
  EXPECT_EQ(CWnd::FromHandlePermanent(mine), nullptr);
  // Clicks now reach the parent's map only.
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kReflecting, BN_CLICKED), reinterpret_cast<LPARAM>(mine));
  EXPECT_EQ(dlg.mine.clicks, 0);
  EXPECT_EQ(dlg.parentSawMine, 1);
  // A window already tied to an object cannot be subclassed by another.
  CButton other;
  EXPECT_FALSE(other.SubclassDlgItem(kPassing, &dlg));
  EXPECT_FALSE(other.SubclassDlgItem(4242, &dlg));
  dlg.DestroyWindow();
}

}  // namespace
