// The menu bar in a frame, through the window system: the client area below
// it, its picture, and the mouse and the keyboard reaching it through hit
// testing and DefWindowProc, as a user would use it.
#include <cstring>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"
#include "user/menus/menu_bar.h"
#include "user/menus/menu_window.h"

namespace {

using namespace dialog_test;

constexpr UINT kNew = 0xE100, kOpen = 0xE101, kExit = 0xE141, kToolbar = 0xE800;
constexpr char kFrameClass[] = "MenuBarFrame";

bool APopupIsShown() {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassName(w, cls, sizeof cls);
    if (std::strcmp(cls, "#32768") == 0 && IsWindowVisible(w)) return true;
  }
  return false;
}

struct Heard {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
  bool popupShown;  // a menu popup was on the screen when it came
};
std::vector<Heard>& heard() {
  static std::vector<Heard> h;
  return h;
}

// A frame that hears its menu and leaves everything to DefWindowProc.
LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND || msg == WM_INITMENUPOPUP || msg == WM_INITMENU || msg == WM_SYSCOMMAND)
    heard().push_back(Heard{msg, msg == WM_SYSCOMMAND ? (wp & 0xFFF0) : wp, lp, APopupIsShown()});
  return DefWindowProc(wnd, msg, wp, lp);
}

class MenuBarFrameTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    heard().clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClass(&wc), 0);
    bar_ = LoadMenu(module_, MAKEINTRESOURCE(128));
    ASSERT_NE(bar_, nullptr);
    frame_ = Frame(bar_);
    ASSERT_NE(frame_, nullptr);
    Pump();
    heard().clear();
  }
  static HWND Frame(HMENU menu) {
    return CreateWindow(kFrameClass, "Zemra", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 40, 400, 300, nullptr, menu,
                        nullptr, nullptr);
  }
  // The screen centre of a bar item.
  POINT TitleCentre(int index) const {
    const RECT bar = win::user::MenuBarRect(frame_);
    const win::user::BarLayout layout = win::user::LayoutMenuBar(bar_, bar.right - bar.left);
    const RECT& r = layout.items[static_cast<size_t>(index)];
    RECT wr;
    GetWindowRect(frame_, &wr);
    return POINT{wr.left + bar.left + (r.left + r.right) / 2, wr.top + bar.top + (r.top + r.bottom) / 2};
  }
  // The screen centre of an item of the popup dropped from bar item `title`.
  POINT ItemCentre(int title, int index) const {
    const RECT bar = win::user::MenuBarRect(frame_);
    const win::user::BarLayout bars = win::user::LayoutMenuBar(bar_, bar.right - bar.left);
    RECT wr;
    GetWindowRect(frame_, &wr);
    const RECT& t = bars.items[static_cast<size_t>(title)];
    const win::user::PopupLayout popup = win::user::LayoutPopup(GetSubMenu(bar_, title));
    const RECT& r = popup.items[static_cast<size_t>(index)];
    return POINT{wr.left + bar.left + t.left + (r.left + r.right) / 2,
                 wr.top + bar.top + t.bottom + (r.top + r.bottom) / 2};
  }
  // Menu commands (a control's notifications name the control in lParam).
  static std::vector<UINT> Commands() {
    std::vector<UINT> out;
    for (const Heard& h : heard())
      if (h.msg == WM_COMMAND && h.lp == 0) out.push_back(LOWORD(h.wp));
    return out;
  }
  static int Count(UINT msg) {
    int n = 0;
    for (const Heard& h : heard()) n += h.msg == msg;
    return n;
  }

  HMENU bar_ = nullptr;
  HWND frame_ = nullptr;
};

TEST_F(MenuBarFrameTest, TheClientAreaStartsBelowTheBar) {
  HWND plain = Frame(nullptr);
  RECT withBar, without;
  GetClientRect(frame_, &withBar);
  GetClientRect(plain, &without);
  const int menuHeight = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(withBar.right, without.right);
  EXPECT_EQ(withBar.bottom, without.bottom - menuHeight);
  // The bar lies between the caption and the client area, and hit tests as HTMENU.
  const RECT bar = win::user::MenuBarRect(frame_);
  POINT origin{0, 0};
  ClientToScreen(frame_, &origin);
  RECT wr;
  GetWindowRect(frame_, &wr);
  EXPECT_EQ(origin.y, wr.top + bar.bottom);
  EXPECT_EQ(SendMessage(frame_, WM_NCHITTEST, 0, MAKELPARAM(wr.left + bar.left + 3, wr.top + bar.top + 3)), HTMENU);
  EXPECT_EQ(SendMessage(frame_, WM_NCHITTEST, 0, MAKELPARAM(origin.x + 3, origin.y + 3)), HTCLIENT);
  // AdjustWindowRect with a menu gives the window back from its client area.
  RECT adjusted = withBar;
  AdjustWindowRect(&adjusted, WS_OVERLAPPEDWINDOW, TRUE);
  EXPECT_EQ(adjusted.bottom - adjusted.top, wr.bottom - wr.top);
  // SetMenu moves the client area, and tells the window of its new size.
  ASSERT_TRUE(SetMenu(plain, bar_));
  RECT now;
  GetClientRect(plain, &now);
  EXPECT_EQ(now.bottom, withBar.bottom);
  ASSERT_TRUE(SetMenu(plain, nullptr));
  GetClientRect(plain, &now);
  EXPECT_EQ(now.bottom, without.bottom);
  // A narrow frame wraps its bar into two rows.
  SetMenu(plain, bar_);
  MoveWindow(plain, 0, 0, 60, 200, TRUE);
  EXPECT_EQ(win::user::MenuBarRect(plain).bottom - win::user::MenuBarRect(plain).top, 2 * menuHeight);
  // Titles added until the bar needs a second row: DrawMenuBar gives the
  // client area up to it.
  HMENU more = LoadMenu(module_, MAKEINTRESOURCE(128));
  SetMenu(plain, more);
  MoveWindow(plain, 0, 0, 400, 300, TRUE);
  GetClientRect(plain, &now);
  ASSERT_EQ(now.bottom, withBar.bottom);
  for (int i = 0; i < 12; ++i) AppendMenu(more, MF_STRING, 100 + i, "&Extra");
  GetClientRect(plain, &now);
  EXPECT_EQ(now.bottom, withBar.bottom);  // nothing moves before DrawMenuBar
  ASSERT_TRUE(DrawMenuBar(plain));
  GetClientRect(plain, &now);
  EXPECT_LE(now.bottom, withBar.bottom - menuHeight);
}

TEST_F(MenuBarFrameTest, TheBarIsDrawnInTheFrame) {
  UpdateWindow(frame_);
  Pump();
  auto shot = win::headless::CaptureWindow(frame_);
  ASSERT_NE(shot, nullptr);
  const RECT bar = win::user::MenuBarRect(frame_);
  const COLORREF menu = GetSysColor(COLOR_MENU);
  const std::uint32_t want = (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
  EXPECT_EQ(shot->At(bar.right - 3, bar.top + 2) & 0xFFFFFF, want);  // past the last title
  // The titles' text: dark pixels within the first title.
  const win::user::BarLayout layout = win::user::LayoutMenuBar(bar_, bar.right - bar.left);
  int dark = 0;
  for (int y = bar.top; y < bar.bottom; ++y)
    for (int x = bar.left + layout.items[0].left; x < bar.left + layout.items[0].right; ++x)
      dark += (shot->At(x, y) & 0xFF) < 0x40;
  EXPECT_GT(dark, 10);
}

TEST_F(MenuBarFrameTest, AClickOnATitleDropsItsPopupAndAClickOnAnItemChoosesIt) {
  const POINT file = TitleCentre(0);
  const POINT exit = ItemCentre(0, 6);
  win::headless::Click(file.x, file.y);
  win::headless::Click(exit.x, exit.y);
  Pump();
  EXPECT_EQ(Commands(), std::vector<UINT>{kExit});
  EXPECT_FALSE(APopupIsShown());
  // WM_INITMENU for the bar, then WM_INITMENUPOPUP for File before its popup shows.
  ASSERT_EQ(Count(WM_INITMENUPOPUP), 1);
  for (const Heard& h : heard())
    if (h.msg == WM_INITMENUPOPUP) {
      EXPECT_EQ(h.wp, reinterpret_cast<WPARAM>(GetSubMenu(bar_, 0)));
      EXPECT_FALSE(h.popupShown);
    }
  EXPECT_EQ(heard().front().msg, static_cast<UINT>(WM_INITMENU));
  // A click outside the menu dismisses it without a command.
  heard().clear();
  const POINT view = TitleCentre(1);
  win::headless::Click(view.x, view.y);
  win::headless::Click(20, 20);
  Pump();
  EXPECT_EQ(Count(WM_INITMENUPOPUP), 1);
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(APopupIsShown());
}

TEST_F(MenuBarFrameTest, TheKeyboardReachesTheBar) {
  struct Case {
    const char* what;
    void (*keys)();
    std::vector<UINT> commands;
  };
  const Case cases[] = {
      {"Alt+F, then an item's letter",
       [] {
         Chord({VK_MENU}, 'F');
         Key('X');
       },
       {kExit}},
      {"Alt+V, then Enter on the first item",
       [] {
         Chord({VK_MENU}, 'V');
         Key(VK_RETURN);
       },
       {kToolbar}},
      {"Alt alone, then Down and Enter",
       [] {
         Key(VK_MENU);
         Key(VK_DOWN);
         Key(VK_RETURN);
       },
       {kNew}},
      {"F10, Down, Down, Enter",
       [] {
         Key(VK_F10);
         Key(VK_DOWN);
         Key(VK_DOWN);
         Key(VK_RETURN);
       },
       {kOpen}},
      {"Alt alone twice: in and out again",
       [] {
         Key(VK_MENU);
         Key(VK_MENU);
       },
       {}},
      {"Alt around another key opens nothing",
       [] { Chord({VK_MENU}, VK_F2); },
       {}},
  };
  for (const Case& c : cases) {
    heard().clear();
    SetFocus(frame_);
    c.keys();
    Pump();
    EXPECT_EQ(Commands(), c.commands) << c.what;
    EXPECT_FALSE(APopupIsShown()) << c.what;
    EXPECT_EQ(win::user::TrackedBarItem(frame_, nullptr), -1) << c.what;
  }
  // Alt+letter reached the frame as SC_KEYMENU with the letter.
  heard().clear();
  Chord({VK_MENU}, 'Q');  // no item has it
  Pump();
  ASSERT_EQ(Count(WM_SYSCOMMAND), 1);
  EXPECT_EQ(heard().front().wp, static_cast<WPARAM>(SC_KEYMENU));
  EXPECT_EQ(Count(WM_INITMENU), 0);
}

TEST_F(MenuBarFrameTest, AKeyFromAChildWindowReachesItsFramesBar) {
  HWND child = Control(frame_, "EDIT", "", WS_BORDER, 7, 10, 10, 100, 20);
  ASSERT_NE(child, nullptr);
  SetFocus(child);
  Chord({VK_MENU}, 'F');
  Key('O');
  Pump();
  EXPECT_EQ(Commands(), std::vector<UINT>{kOpen});
  EXPECT_EQ(GetFocus(), child);
}

}  // namespace
