// Buttons and statics: their messages by kind, clicks by mouse and space
// bar, radio groups, owner drawing, and what statics do with clicks.
#include <vector>

#include "platform/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_test;

class ButtonTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host();
  }
  HWND Button(DWORD style, int id, int y = 10, const char* text = "Button") {
    return Control(host_, "BUTTON", text, style, id, 10, y, 100, 20);
  }
  HWND host_ = nullptr;
};

TEST_F(ButtonTest, CheckStatesAndDialogCodesByKind) {
  struct Case {
    DWORD style;
    UINT afterChecked;
    UINT afterIndeterminate;
    LRESULT code;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, 0, 0, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, 0, 0, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_CHECKBOX, BST_CHECKED, BST_CHECKED, DLGC_BUTTON},
      {BS_AUTOCHECKBOX, BST_CHECKED, BST_CHECKED, DLGC_BUTTON},
      {BS_3STATE, BST_CHECKED, BST_INDETERMINATE, DLGC_BUTTON},
      {BS_AUTO3STATE, BST_CHECKED, BST_INDETERMINATE, DLGC_BUTTON},
      {BS_RADIOBUTTON, BST_CHECKED, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_AUTORADIOBUTTON, BST_CHECKED, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_GROUPBOX, 0, 0, DLGC_STATIC},
      {BS_OWNERDRAW, 0, 0, DLGC_BUTTON},
  };
  int id = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND b = Button(c.style, ++id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), c.code);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessage(b, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(static_cast<UINT>(SendMessage(b, BM_GETCHECK, 0, 0)), c.afterChecked);
    SendMessage(b, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(static_cast<UINT>(SendMessage(b, BM_GETCHECK, 0, 0)), c.afterIndeterminate);
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    SendMessage(b, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    SendMessage(b, BM_SETSTATE, FALSE, 0);
  }
  // BM_SETSTYLE changes the kind, and with it the answers.
  HWND b = Button(BS_PUSHBUTTON, 200);
  SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_TRUE(GetWindowLong(b, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ButtonTest, ClicksChangeAutomaticButtonsAndNotify) {
  struct Case {
    DWORD style;
    std::vector<UINT> checks;  // after each of three clicks
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, {0, 0, 0}},
      {BS_CHECKBOX, {0, 0, 0}},
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
      {BS_AUTORADIOBUTTON, {BST_CHECKED, BST_CHECKED, BST_CHECKED}},
  };
  int id = 300;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    notes().clear();
    ++id;
    HWND b = Button(c.style, id, 10 + (id - 300) * 30);
    for (UINT want : c.checks) {
      ClickOn(b);
      Pump();
      EXPECT_EQ(static_cast<UINT>(SendMessage(b, BM_GETCHECK, 0, 0)), want);
    }
    EXPECT_EQ(Codes(id), (std::vector<int>{BN_CLICKED, BN_CLICKED, BN_CLICKED}));
  }
}

TEST_F(ButtonTest, AnAutomaticRadioButtonUnchecksItsGroupOnly) {
  HWND a = Button(BS_AUTORADIOBUTTON | WS_GROUP, 1, 10);
  HWND b = Button(BS_AUTORADIOBUTTON, 2, 40);
  HWND c = Button(BS_AUTORADIOBUTTON, 3, 70);
  HWND other = Button(BS_AUTORADIOBUTTON | WS_GROUP, 4, 100);
  SendMessage(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
  ClickOn(c);
  Pump();
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonTest, ARadioButtonInsideAGroupBoxTakesItsClick) {
  HWND box = Control(host_, "BUTTON", "Group", BS_GROUPBOX, 9, 5, 5, 200, 100);
  HWND radio = Control(host_, "BUTTON", "Inside", BS_AUTORADIOBUTTON | WS_GROUP, 10, 20, 30, 100, 20);
  ASSERT_NE(box, nullptr);
  ClickOn(radio);
  Pump();
  EXPECT_EQ(SendMessage(radio, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Codes(10), std::vector<int>{BN_CLICKED});
  EXPECT_TRUE(Codes(9).empty());
}

TEST_F(ButtonTest, APressShowsPushedAndOnlyAReleaseInsideClicks) {
  HWND b = Button(BS_PUSHBUTTON, 7);
  RECT r;
  GetWindowRect(b, &r);
  win::headless::PressButton(r.left + 5, r.top + 5);
  Pump();
  EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
  win::headless::MoveMouse(r.right + 30, r.top + 5);
  Pump();
  EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  win::headless::ReleaseButton(r.right + 30, r.top + 5);
  Pump();
  EXPECT_TRUE(Codes(7).empty());
  // Back inside before the release: a click.
  win::headless::PressButton(r.left + 5, r.top + 5);
  win::headless::MoveMouse(r.right + 30, r.top + 5);
  win::headless::MoveMouse(r.left + 6, r.top + 6);
  win::headless::ReleaseButton(r.left + 6, r.top + 6);
  Pump();
  EXPECT_EQ(Codes(7), std::vector<int>{BN_CLICKED});
  // The space bar clicks the focused button; a disabled one takes nothing.
  Key(VK_SPACE);
  Pump();
  EXPECT_EQ(Codes(7), (std::vector<int>{BN_CLICKED, BN_CLICKED}));
  EnableWindow(b, FALSE);
  ClickOn(b);
  Pump();
  EXPECT_EQ(Codes(7).size(), 2u);
  SendMessage(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Codes(7).size(), 2u);
  EnableWindow(b, TRUE);
  SendMessage(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Codes(7).size(), 3u);
}

TEST_F(ButtonTest, OwnerDrawnButtonsAskTheirParentToDraw) {
  HWND b = Button(BS_OWNERDRAW, 1008);
  UpdateWindow(host_);
  Pump();
  auto draws = [] {
    std::vector<std::pair<UINT, UINT>> out;  // action, state
    for (const Note& n : notes())
      if (n.msg == WM_DRAWITEM) out.emplace_back(static_cast<UINT>(n.wp), static_cast<UINT>(n.lp));
    return out;
  };
  ASSERT_FALSE(draws().empty());
  EXPECT_EQ(draws().back().first, static_cast<UINT>(ODA_DRAWENTIRE));
  notes().clear();
  RECT r;
  GetWindowRect(b, &r);
  win::headless::PressButton(r.left + 3, r.top + 3);
  Pump();
  // The focus comes first, then the pressed look.
  const auto d = draws();
  ASSERT_GE(d.size(), 2u);
  EXPECT_EQ(d[0], std::make_pair(static_cast<UINT>(ODA_FOCUS), static_cast<UINT>(ODS_FOCUS)));
  EXPECT_EQ(d[1], std::make_pair(static_cast<UINT>(ODA_SELECT), static_cast<UINT>(ODS_FOCUS | ODS_SELECTED)));
  win::headless::ReleaseButton(r.left + 3, r.top + 3);
  Pump();
  EXPECT_EQ(Codes(1008), std::vector<int>{BN_CLICKED});
  // What the parent drew is what shows.
  auto shot = win::headless::CaptureWindow(b);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->At(10, 10) & 0xFFFFFF, 0x008000u);
}

TEST_F(ButtonTest, StaticsPassClicksOnUnlessTheyNotify) {
  HWND plain = Control(host_, "STATIC", "plain", SS_LEFT, 20, 10, 10, 100, 20);
  HWND notify = Control(host_, "STATIC", "notify", SS_LEFT | SS_NOTIFY, 21, 10, 40, 100, 20);
  EXPECT_EQ(SendMessage(plain, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  ClickOn(plain);
  ClickOn(notify);
  Pump();
  EXPECT_TRUE(Codes(20).empty());
  EXPECT_EQ(Codes(21), std::vector<int>{STN_CLICKED});
  // An icon static shows its icon at the icon's size.
  HWND icon = Control(host_, "STATIC", "#32515", SS_ICON, 22, 150, 10, 5, 5);
  RECT rc;
  GetClientRect(icon, &rc);
  EXPECT_EQ(rc.right, 32);
  EXPECT_EQ(SendMessage(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(LoadIcon(nullptr, IDI_EXCLAMATION)));
  SendMessage(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_HAND)), 0);
  EXPECT_EQ(SendMessage(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(LoadIcon(nullptr, IDI_HAND)));
  SetWindowText(plain, "changed");
  EXPECT_EQ(TextOf(plain), "changed");
}

TEST_F(ButtonTest, SystemIconsAndTheCheckBoxPictures) {
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK})
    EXPECT_NE(LoadIcon(nullptr, id), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, "#32513"), LoadIcon(nullptr, IDI_HAND));
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  ASSERT_NE(boxes, nullptr);
  BITMAP bm{};
  ASSERT_TRUE(GetObject(boxes, sizeof bm, &bm));
  // Four columns by three rows of 13-pixel cells, as the form fields measure.
  EXPECT_EQ(bm.bmWidth / 4, 13);
  EXPECT_EQ(bm.bmHeight / 3, 13);
  DeleteObject(boxes);
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

}  // namespace
