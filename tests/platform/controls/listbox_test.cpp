// List boxes: the LB_ messages, sorting and finding, the three ways of
// selecting by mouse and keys, notifications, and scrolling.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_test;

class ListBoxTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host(0, 0, 500, 400);
  }
  HWND List(DWORD style, int id = 60, int h = 100) {
    HWND lb = Control(host_, "LISTBOX", "", style | WS_BORDER, id, 10 + (id - 60) * 220, 10, 200, h);
    SetFocus(lb);
    Pump();
    notes().clear();
    return lb;
  }
  static void Fill(HWND lb, std::initializer_list<const char*> items) {
    for (const char* t : items) SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  static std::string Item(HWND lb, int i) {
    char buf[64] = {};
    SendMessage(lb, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  static std::vector<int> Selected(HWND lb) {
    int items[64];
    const LRESULT n = SendMessage(lb, LB_GETSELITEMS, 64, reinterpret_cast<LPARAM>(items));
    return n < 0 ? std::vector<int>{} : std::vector<int>(items, items + n);
  }
  // Clicks the middle of item `i` (with the keys given held).
  void ClickItem(HWND lb, int i, std::initializer_list<UINT> held = {}) {
    RECT r;
    SendMessage(lb, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(lb, &p);
    for (UINT k : held) win::headless::PressKey(k);
    win::headless::Click(p.x, p.y);
    for (UINT k : held) win::headless::ReleaseKey(k);
    Pump();
    // Far away, so the next click is no double click.
    win::headless::Click(490, 390);
    Pump();
  }
  HWND host_ = nullptr;
};

TEST_F(ListBoxTest, ItemsAreAddedInsertedSortedAndFound) {
  HWND lb = List(LBS_SORT | LBS_HASSTRINGS);
  Fill(lb, {"pear", "Apple", "banana", "apple"});
  ASSERT_EQ(SendMessage(lb, LB_GETCOUNT, 0, 0), 4);
  // Sorted without regard to case; an equal one goes after the others.
  EXPECT_EQ(Item(lb, 0), "Apple");
  EXPECT_EQ(Item(lb, 1), "apple");
  EXPECT_EQ(Item(lb, 2), "banana");
  EXPECT_EQ(Item(lb, 3), "pear");
  // LB_INSERTSTRING does not sort; -1 is the end.
  EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("zzz")), 1);
  EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("end")), 5);
  EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, 99, reinterpret_cast<LPARAM>("x")), LB_ERR);
  EXPECT_EQ(SendMessage(lb, LB_GETTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessage(lb, LB_GETTEXTLEN, 6, 0), LB_ERR);
  struct Find {
    UINT msg;
    int start;
    const char* text;
    LRESULT found;
  };
  const Find finds[] = {
      {LB_FINDSTRING, -1, "AP", 0},       {LB_FINDSTRING, 0, "ap", 2},  // after the start
      {LB_FINDSTRING, 2, "ap", 0},        {LB_FINDSTRING, -1, "kiwi", LB_ERR},
      {LB_FINDSTRINGEXACT, -1, "BANANA", 3}, {LB_FINDSTRINGEXACT, -1, "ban", LB_ERR},
      {LB_FINDSTRING, 5, "z", 1},         // round from the end
  };
  for (const Find& f : finds)
    EXPECT_EQ(SendMessage(lb, f.msg, static_cast<WPARAM>(f.start), reinterpret_cast<LPARAM>(f.text)), f.found)
        << f.text << " from " << f.start;
  EXPECT_EQ(SendMessage(lb, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("pe")), 4);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 4);
  // Item data, and deleting keeps the selection on its item.
  EXPECT_TRUE(SendMessage(lb, LB_SETITEMDATA, 4, 0x1234));
  EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 4, 0), 0x1234);
  EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 0, 0), 5);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 3, 0), 0x1234);
  EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 3, 0), 4);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 9, 0), LB_ERR);
  SendMessage(lb, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(lb, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, SingleSelectionByMouseAndKeysNotifies) {
  HWND lb = List(LBS_NOTIFY);
  Fill(lb, {"one", "two", "three", "four", "five"});
  ClickItem(lb, 2);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 2);
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 3);
  Key(VK_HOME);
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 0);
  Type("f");  // the next item starting with f
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 3);
  Type("f");
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(Codes(60), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));
  // Setting the selection by message tells nobody; the multi-select
  // messages are refused.
  notes().clear();
  EXPECT_EQ(SendMessage(lb, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessage(lb, LB_SETSEL, TRUE, 2), LB_ERR);
  EXPECT_EQ(SendMessage(lb, LB_GETSELCOUNT, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(lb, LB_GETSEL, 1, 0), 1);
  EXPECT_TRUE(Codes(60).empty());
  // A double click tells of itself; without LBS_NOTIFY nothing is told.
  RECT r;
  SendMessage(lb, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT p{r.left + 5, r.top + 2};
  ClientToScreen(lb, &p);
  win::headless::Click(p.x, p.y);
  win::headless::Click(p.x, p.y);
  Pump();
  EXPECT_EQ(Codes(60), (std::vector<int>{LBN_SELCHANGE, LBN_DBLCLK}));
  HWND quiet = List(0, 61);
  Fill(quiet, {"a", "b"});
  ClickItem(quiet, 1);
  EXPECT_EQ(SendMessage(quiet, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(Codes(61).empty());
}

TEST_F(ListBoxTest, MultipleAndExtendedSelection) {
  HWND multi = List(LBS_MULTIPLESEL | LBS_NOTIFY);
  Fill(multi, {"a", "b", "c", "d", "e"});
  ClickItem(multi, 1);
  ClickItem(multi, 3);
  ClickItem(multi, 1);  // a second click takes it back
  EXPECT_EQ(Selected(multi), std::vector<int>{3});
  Key(VK_UP);  // the caret (on the last one clicked) moves alone
  Key(VK_SPACE);
  Pump();
  EXPECT_EQ(Selected(multi), (std::vector<int>{0, 3}));
  EXPECT_EQ(SendMessage(multi, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(multi, LB_SETCURSEL, 0, 0), LB_ERR);
  SendMessage(multi, LB_SETSEL, TRUE, -1);
  EXPECT_EQ(SendMessage(multi, LB_GETSELCOUNT, 0, 0), 5);

  HWND ext = List(LBS_EXTENDEDSEL | LBS_NOTIFY, 61);
  Fill(ext, {"a", "b", "c", "d", "e", "f"});
  ClickItem(ext, 1);
  ClickItem(ext, 3, {VK_SHIFT});  // a range from the anchor
  EXPECT_EQ(Selected(ext), (std::vector<int>{1, 2, 3}));
  ClickItem(ext, 5, {VK_CONTROL});  // one more
  EXPECT_EQ(Selected(ext), (std::vector<int>{1, 2, 3, 5}));
  ClickItem(ext, 4);  // a plain click starts again
  EXPECT_EQ(Selected(ext), std::vector<int>{4});
  Chord({VK_SHIFT}, VK_DOWN);
  Pump();
  EXPECT_EQ(Selected(ext), (std::vector<int>{4, 5}));
  Key(VK_HOME);
  Pump();
  EXPECT_EQ(Selected(ext), std::vector<int>{0});
  SendMessage(ext, LB_SELITEMRANGE, TRUE, MAKELPARAM(2, 4));
  EXPECT_EQ(Selected(ext), (std::vector<int>{0, 2, 3, 4}));
}

TEST_F(ListBoxTest, TheTopIndexFollowsTheSelectionAndTheScrollBar) {
  HWND lb = List(WS_VSCROLL | LBS_NOTIFY, 60, 80);
  for (int i = 0; i < 30; ++i) {
    const std::string t = "item " + std::to_string(i);
    SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
  }
  const int itemH = static_cast<int>(SendMessage(lb, LB_GETITEMHEIGHT, 0, 0));
  RECT rc;
  GetClientRect(lb, &rc);
  const int rows = rc.bottom / itemH;
  EXPECT_EQ(rc.bottom % itemH, 0);  // whole rows only
  Key(VK_END);
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 29);
  EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX, 0, 0), 30 - rows);
  EXPECT_EQ(GetScrollPos(lb, SB_VERT), 30 - rows);
  Key(VK_PRIOR);
  Pump();
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 29 - (rows - 1));
  SendMessage(lb, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessage(lb, LB_SETTOPINDEX, 10, 0), 0);
  EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX, 0, 0), 10);
  EXPECT_EQ(SendMessage(lb, LB_SETTOPINDEX, 99, 0), LB_ERR);
  // The item under a point.
  const LRESULT hit = SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, itemH + 1));
  EXPECT_EQ(LOWORD(hit), 11);
  EXPECT_EQ(HIWORD(hit), 0);
  // Tab stops are set in dialog units.
  const int stops[] = {40, 80};
  EXPECT_TRUE(SendMessage(lb, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)));
}

}  // namespace
