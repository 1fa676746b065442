// Combo boxes: the CB_ messages, the list dropped and chosen from by mouse
// and keys with the notifications in order, the edit field, and the sizes.
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_test;

class ComboBoxTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host(0, 0, 600, 500);
  }
  HWND Combo(DWORD style, int id = 70, int h = 150) {
    HWND cb = Control(host_, "COMBOBOX", "", style | WS_VSCROLL, id, 10 + (id - 70) * 200, 10, 150, h);
    for (const char* t : {"red", "green", "blue", "cyan", "magenta"})
      SendMessage(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    SetFocus(cb);
    Pump();
    notes().clear();
    return cb;
  }
  // The screen point of item `i` in the dropped list, just below the box.
  static POINT ItemPoint(HWND cb, int i) {
    RECT r;
    GetWindowRect(cb, &r);
    const int h = static_cast<int>(SendMessage(cb, CB_GETITEMHEIGHT, 0, 0));
    return POINT{r.left + 20, r.bottom + 1 + i * h + h / 2};
  }
  static std::string Text(HWND cb) { return TextOf(cb); }
  HWND host_ = nullptr;
};

TEST_F(ComboBoxTest, TheMessagesOfTheList) {
  HWND cb = Combo(CBS_DROPDOWNLIST | CBS_SORT);
  EXPECT_EQ(SendMessage(cb, CB_GETCOUNT, 0, 0), 5);
  char buf[32] = {};
  EXPECT_EQ(SendMessage(cb, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf)), 4);
  EXPECT_STREQ(buf, "blue");  // sorted
  EXPECT_EQ(SendMessage(cb, CB_GETLBTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(Text(cb), "");
  EXPECT_EQ(SendMessage(cb, CB_SETCURSEL, 3, 0), 3);
  EXPECT_EQ(Text(cb), "magenta");
  EXPECT_EQ(SendMessage(cb, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("GR")), 2);
  EXPECT_EQ(SendMessage(cb, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("gre")), CB_ERR);
  EXPECT_EQ(SendMessage(cb, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("r")), 4);
  EXPECT_EQ(Text(cb), "red");
  EXPECT_EQ(SendMessage(cb, CB_SETITEMDATA, 1, 99), TRUE);
  EXPECT_EQ(SendMessage(cb, CB_GETITEMDATA, 1, 0), 99);
  EXPECT_EQ(SendMessage(cb, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first")), 0);
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 5);  // the selection moved with its item
  EXPECT_EQ(SendMessage(cb, CB_DELETESTRING, 0, 0), 5);
  // WM_SETTEXT of a drop-down list selects the item of that text.
  EXPECT_EQ(SendMessage(cb, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("cyan")), TRUE);
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(cb, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("black")), CB_ERR);
  EXPECT_EQ(SendMessage(cb, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
  EXPECT_EQ(Text(cb), "");
  SendMessage(cb, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(cb, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ComboBoxTest, ChoosingFromTheDroppedListByMouse) {
  HWND cb = Combo(CBS_DROPDOWNLIST);
  ClickOn(cb);
  Pump();
  EXPECT_TRUE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Codes(70), std::vector<int>{CBN_DROPDOWN});
  const POINT p = ItemPoint(cb, 2);
  win::headless::MoveMouse(p.x, p.y);
  win::headless::Click(p.x, p.y);
  Pump();
  EXPECT_FALSE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(cb), "blue");
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  // A click elsewhere closes the list and changes nothing.
  notes().clear();
  ClickOn(cb);
  win::headless::Click(500, 450);
  Pump();
  EXPECT_FALSE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  // Pressing on the box and letting go over an item chooses it.
  notes().clear();
  const POINT box = CentreOf(cb);
  const POINT item = ItemPoint(cb, 4);
  win::headless::PressButton(box.x, box.y);
  win::headless::MoveMouse(item.x, item.y);
  win::headless::ReleaseButton(item.x, item.y);
  Pump();
  EXPECT_EQ(Text(cb), "magenta");
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, TheKeyboardMovesDropsChoosesAndCancels) {
  HWND cb = Combo(CBS_DROPDOWNLIST);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_SELCHANGE, CBN_SELCHANGE}));
  notes().clear();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  notes().clear();
  Chord({VK_MENU}, VK_DOWN);
  Pump();
  EXPECT_TRUE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
  Key(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Codes(70), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  // A letter takes the next item starting with it.
  Type("m");
  Pump();
  EXPECT_EQ(Text(cb), "magenta");
  // Losing the focus closes the list.
  SendMessage(cb, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(host_);
  EXPECT_FALSE(SendMessage(cb, CB_GETDROPPEDSTATE, 0, 0));
}

INT_PTR CALLBACK CountOk(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_COMMAND && LOWORD(wp) == IDOK) notes().push_back(Note{dlg, msg, wp, 0});
  return msg == WM_INITDIALOG;
}

TEST_F(ComboBoxTest, InADialogEnterClosesTheDroppedListFirst) {
  const char script[] = R"(1 DIALOG 0, 0, 200, 100
STYLE WS_POPUP | WS_CAPTION
FONT 8, "MS Sans Serif"
BEGIN
  COMBOBOX 10, 5, 5, 100, 60, CBS_DROPDOWNLIST | WS_TABSTOP
  DEFPUSHBUTTON "OK", IDOK, 5, 80, 40, 14
END)";
  HINSTANCE m = win::RegisterResourceScript("Combo", script, sizeof script - 1);
  HWND dlg = CreateDialogParam(m, MAKEINTRESOURCE(1), host_, CountOk, 0);
  ASSERT_NE(dlg, nullptr);
  HWND cb = GetDlgItem(dlg, 10);
  SendMessage(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  SendMessage(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
  ShowWindow(dlg, SW_SHOW);
  Pump(dlg);
  ASSERT_EQ(GetFocus(), cb);
  notes().clear();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);  // closes the list
  Pump(dlg);
  EXPECT_EQ(TextOf(cb), "one");
  EXPECT_TRUE(notes().empty());
  Key(VK_RETURN);  // now the default button
  Pump(dlg);
  EXPECT_EQ(notes().size(), 1u);
}

TEST_F(ComboBoxTest, ADropDownHasAnEditField) {
  HWND cb = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  Type("gr");
  Pump();
  EXPECT_EQ(Text(cb), "gr");
  EXPECT_EQ(SendMessage(cb, WM_GETTEXTLENGTH, 0, 0), 2);
  const auto codes = Codes(70);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_EDITUPDATE), 2);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_EDITCHANGE), 2);
  // Up and Down in the field choose items.
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Text(cb), "red");
  SendMessage(cb, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(Text(cb), "green");
  SendMessage(cb, CB_LIMITTEXT, 3, 0);
  SendMessage(cb, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  Type("abcdef");
  Pump();
  EXPECT_EQ(Text(cb), "abc");
}

TEST_F(ComboBoxTest, TheBoxIsAsHighAsItsFieldAndDropsToTheHeightAskedFor) {
  HWND cb = Combo(CBS_DROPDOWNLIST, 70, 300);
  const int itemH = static_cast<int>(SendMessage(cb, CB_GETITEMHEIGHT, 0, 0));
  RECT r, dropped;
  GetWindowRect(cb, &r);
  EXPECT_EQ(r.bottom - r.top, itemH + 6);
  SendMessage(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.bottom - dropped.top, 300);
  // Moving it to a new drop rectangle (as form fields do) keeps the field's height.
  MoveWindow(cb, 20, 20, 180, 120, TRUE);
  GetWindowRect(cb, &r);
  EXPECT_EQ(r.bottom - r.top, itemH + 6);
  EXPECT_EQ(r.right - r.left, 180);
  SendMessage(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.bottom - dropped.top, 120);
  // A simple combo box shows its list for good.
  HWND simple = Combo(CBS_SIMPLE, 71, 150);
  GetWindowRect(simple, &r);
  EXPECT_EQ(r.bottom - r.top, 150);
  const POINT p{r.left + 20, r.top + itemH + 6 + 2 + itemH + itemH / 2};
  win::headless::Click(p.x, p.y);
  Pump();
  EXPECT_EQ(Text(simple), "green");
  EXPECT_EQ(Codes(71).back(), CBN_SELCHANGE);
}

}  // namespace
