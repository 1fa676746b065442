// Input from the display becomes the messages Windows sends: hit testing,
// cursors, clicks and double clicks, capture, keys and focus.
#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "support/user_clock.h"
#include "win/kernel.h"

using namespace user_test;
namespace hl = win::headless;

namespace {

constexpr char kDblClass[] = "DoubleClicker";

class InputTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kDblClass;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  // A shown popup at (100, 100), 200 x 150, painted and with nothing queued.
  HWND Window(const char* cls = kClass, DWORD style = WS_POPUP) {
    HWND w = CreateWindow(cls, "", style | WS_VISIBLE, 100, 100, 200, 150, nullptr, nullptr, nullptr, nullptr);
    hl::DispatchPending();
    received().clear();
    return w;
  }
  static std::vector<UINT> Messages(std::initializer_list<UINT> skip = {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}) {
    std::vector<UINT> out;
    for (const Received& r : received()) {
      bool skipped = false;
      for (UINT s : skip) skipped = skipped || r.msg == s;
      if (!skipped) out.push_back(r.msg);
    }
    return out;
  }
};

TEST_F(InputTest, PointerMovesAndClicksInTheClientArea) {
  HWND w = Window();
  hl::MoveMouse(150, 120);
  hl::DispatchPending();
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
  EXPECT_EQ(received()[1].lp, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(received()[1].wp, reinterpret_cast<WPARAM>(w));
  EXPECT_EQ(received()[2].lp, MAKELPARAM(50, 20));
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 150);

  received().clear();
  hl::PressButton(150, 120);
  hl::ReleaseButton(150, 120);
  hl::DispatchPending();
  const std::vector<Received> buttons = Only({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETCURSOR});
  ASSERT_EQ(buttons.size(), 5u);  // the press came with a move to the same place
  EXPECT_EQ(buttons[2].msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(buttons[2].wp, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(buttons[3].lp, MAKELPARAM(HTCLIENT, WM_LBUTTONUP));
  EXPECT_EQ(buttons[4].msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(buttons[4].wp, 0u);
}

TEST_F(InputTest, DoubleClicksOnlyForClassesThatAskForThem) {
  // The clicks of one case come at one time; cases lie a second apart.
  testing_support::TestUserClock clock;
  struct Case {
    const char* cls;
    int secondX;  // where the second click is
    DWORD gap;    // between the first two clicks, in ms
    std::vector<UINT> downs;
  };
  const Case cases[] = {
      {kDblClass, 150, 0, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}},
      {kDblClass, 150, 500, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}},
      {kDblClass, 150, 501, {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}},  // too slow
      {kClass, 150, 0, {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN}},
      {kDblClass, 160, 0, {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}},  // too far apart
  };
  for (const Case& c : cases) {
    clock.Advance(1000);
    HWND w = Window(c.cls);
    hl::Click(150, 120);
    hl::DispatchPending();
    clock.Advance(c.gap);
    hl::Click(c.secondX, 120);
    hl::Click(c.secondX, 120);
    hl::DispatchPending();
    std::vector<UINT> downs;
    for (const Received& r : Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})) downs.push_back(r.msg);
    EXPECT_EQ(downs, c.downs) << c.cls << " " << c.secondX << " " << c.gap;
    DestroyWindow(w);
  }
  // The time is the user's setting.
  HWND w = Window(kDblClass);
  SetDoubleClickTime(20);
  hl::Click(150, 120);
  hl::DispatchPending();
  clock.Advance(21);
  hl::Click(150, 120);
  hl::DispatchPending();
  EXPECT_TRUE(Only({WM_LBUTTONDBLCLK}).empty());
  DestroyWindow(w);
}

TEST_F(InputTest, TheClassCursorIsSetAndAChildAsksItsParentFirst) {
  HWND top = Window();
  HWND child = CreateWindow(kDblClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr, nullptr, nullptr);
  hl::DispatchPending();
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  received().clear();
  hl::MoveMouse(120, 120);
  hl::DispatchPending();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_IBEAM));
  const std::vector<Received> asks = Only({WM_SETCURSOR});
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0].wnd, child);
  EXPECT_EQ(asks[1].wnd, top);  // DefWindowProc of the child asked the parent
  // A parent that answers TRUE keeps its own cursor.
  reactions()[{top, WM_SETCURSOR}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    return TRUE;
  };
  hl::MoveMouse(121, 121);
  hl::DispatchPending();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(InputTest, CaptureTakesEveryPointerMessage) {
  HWND top = Window();
  HWND child = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr, nullptr, nullptr);
  HWND other = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50, nullptr, nullptr, nullptr, nullptr);
  hl::DispatchPending();
  EXPECT_EQ(SetCapture(child), nullptr);
  received().clear();
  hl::MoveMouse(90, 95);  // outside everything of the captured window
  hl::DispatchPending();
  ASSERT_EQ(Messages(), std::vector<UINT>{WM_MOUSEMOVE});
  EXPECT_EQ(received()[0].wnd, child);
  // Client coordinates of the child: (90 - 110, 95 - 110), as signed words.
  EXPECT_EQ(static_cast<SHORT>(LOWORD(received()[0].lp)), -20);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(received()[0].lp)), -15);

  received().clear();
  EXPECT_EQ(SetCapture(other), child);
  ASSERT_EQ(received().size(), 1u);
  EXPECT_EQ(received()[0].msg, static_cast<UINT>(WM_CAPTURECHANGED));
  EXPECT_EQ(received()[0].lp, reinterpret_cast<LPARAM>(other));
  received().clear();
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(received().size(), 1u);
  EXPECT_EQ(received()[0].wnd, other);
  EXPECT_EQ(received()[0].lp, 0);
  // A destroyed capture window loses it.
  SetCapture(child);
  DestroyWindow(child);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, AClickActivatesAnInactiveWindow) {
  HWND first = Window();
  HWND second = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 400, 100, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
  hl::DispatchPending();
  EXPECT_EQ(GetActiveWindow(), second);
  received().clear();
  hl::Click(150, 120);
  hl::DispatchPending();
  EXPECT_EQ(GetActiveWindow(), first);
  const std::vector<UINT> got = Messages({WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_NCACTIVATE,
                                          WM_ACTIVATE, WM_QUERYNEWPALETTE, WM_SETFOCUS, WM_KILLFOCUS});
  const std::vector<UINT> expected = {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCHITTEST,
                                      WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN,
                                      WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONUP};
  EXPECT_EQ(got, expected);
}

TEST_F(InputTest, ADisabledWindowTakesNoPointerInput) {
  HWND w = Window();
  EnableWindow(w, FALSE);
  received().clear();
  hl::Click(150, 120);
  hl::DispatchPending();
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_SETCURSOR, WM_SETCURSOR, WM_SETCURSOR}));
  EXPECT_EQ(static_cast<SHORT>(LOWORD(received()[1].lp)), HTERROR);
  EXPECT_EQ(HIWORD(received()[1].lp), WM_LBUTTONDOWN);
}

TEST_F(InputTest, ATransparentWindowPassesThePointToTheWindowBeneath) {
  HWND w = Window();
  HWND above = Child(w, 1);  // the top of the children's Z order
  HWND below = Child(w, 2);
  MoveWindow(above, 10, 10, 100, 80, FALSE);
  MoveWindow(below, 50, 50, 100, 80, FALSE);
  reactions()[{above, WM_NCHITTEST}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return HTTRANSPARENT; };
  struct Case {
    POINT at;           // in w's client area
    HWND target;        // the window that gets the press
    std::vector<HWND> asked;  // WM_NCHITTEST, in order
  };
  const Case cases[] = {
      {{60, 60}, below, {above, below}},  // over both: the sibling beneath
      {{20, 20}, w, {above, w}},          // over the transparent one only: the parent
      {{140, 120}, below, {below}},       // over the other one only
  };
  for (const Case& c : cases) {
    POINT p = c.at;
    ClientToScreen(w, &p);
    received().clear();
    hl::PressButton(p.x, p.y);
    hl::ReleaseButton(p.x, p.y);
    hl::DispatchPending();
    std::vector<HWND> asked, pressed;
    for (const Received& r : received()) {
      if (r.msg == WM_NCHITTEST && asked.size() < c.asked.size()) asked.push_back(r.wnd);
      if (r.msg == WM_LBUTTONDOWN) pressed.push_back(r.wnd);
    }
    EXPECT_EQ(asked, c.asked) << c.at.x << "," << c.at.y;
    EXPECT_EQ(pressed, std::vector<HWND>{c.target}) << c.at.x << "," << c.at.y;
  }
  // A transparent top-level window lets the press through to the one beneath.
  HWND cover = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150, nullptr, nullptr, nullptr, nullptr);
  reactions()[{cover, WM_NCHITTEST}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return HTTRANSPARENT; };
  hl::DispatchPending();
  received().clear();
  hl::Click(290, 240);
  hl::DispatchPending();
  ASSERT_FALSE(Only({WM_LBUTTONDOWN}).empty());
  EXPECT_EQ(Only({WM_LBUTTONDOWN})[0].wnd, w);
}

TEST_F(InputTest, KeysGoToTheFocusAndAltMakesSystemKeys) {
  HWND top = Window();
  HWND child = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr, nullptr, nullptr);
  SetFocus(child);
  hl::DispatchPending();
  received().clear();
  hl::PressKey(VK_SHIFT);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);  // the keyboard now
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);       // not yet taken from the queue
  hl::TypeKey('A');
  hl::ReleaseKey(VK_SHIFT);
  hl::PressKey(VK_MENU);
  hl::TypeKey('X');
  hl::ReleaseKey(VK_MENU);
  hl::DispatchPending();
  struct Expected {
    UINT msg;
    WPARAM wp;
    DWORD lp;
    bool toTop = false;
  };
  const Expected expected[] = {
      {WM_KEYDOWN, VK_SHIFT, 0x00000001},   {WM_KEYDOWN, 'A', 0x00000001},
      {WM_CHAR, 'A', 0x00000001},           {WM_KEYUP, 'A', 0xC0000001},
      {WM_KEYUP, VK_SHIFT, 0xC0000001},     {WM_SYSKEYDOWN, VK_MENU, 0x20000001},
      {WM_SYSKEYDOWN, 'X', 0x20000001},     {WM_SYSCHAR, 'x', 0x20000001},
      {WM_SYSCOMMAND, SC_KEYMENU, 'x', true},  // Alt+letter: the top-level window's menu
      {WM_SYSKEYUP, 'X', 0xE0000001},       {WM_SYSKEYUP, VK_MENU, 0xE0000001},
  };
  ASSERT_EQ(received().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(received()[i].wnd, expected[i].toTop ? top : child) << i;
    EXPECT_EQ(received()[i].msg, expected[i].msg) << i;
    EXPECT_EQ(received()[i].wp, expected[i].wp) << i;
    EXPECT_EQ(static_cast<DWORD>(received()[i].lp), expected[i].lp) << i;
  }
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);

  // Without a focus window, keys go to the active window as system keys.
  SetFocus(nullptr);
  received().clear();
  hl::PressKey('B');
  hl::DispatchPending();
  ASSERT_FALSE(received().empty());
  EXPECT_EQ(received()[0].wnd, top);
  EXPECT_EQ(received()[0].msg, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_LT(GetKeyState('B'), 0);
}

TEST_F(InputTest, TheDisplaysCharacterWinsOverTheUsLayout) {
  HWND top = Window();
  SetFocus(top);
  received().clear();
  hl::PressKey(0xDF, 0xE4);  // a key of the layout's own, making a-umlaut
  hl::PressKey('Y', 'z');    // a German keyboard's Y position
  hl::DispatchPending();
  const std::vector<Received> chars = Only({WM_CHAR});
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wp, 0xE4u);
  EXPECT_EQ(chars[1].wp, static_cast<WPARAM>('z'));

  // One key pressed twice in the same millisecond for two characters: each
  // press keeps its own.
  received().clear();
  hl::PressKey('E', 'E');
  hl::ReleaseKey('E');
  hl::PressKey('E', 'e');
  hl::DispatchPending();
  const std::vector<Received> again = Only({WM_CHAR});
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].wp, static_cast<WPARAM>('E'));
  EXPECT_EQ(again[1].wp, static_cast<WPARAM>('e'));
}

TEST_F(InputTest, TheCloseRequestSendsCloseAndTheCaptionMovesTheWindow) {
  HWND w = Window(kClass, WS_OVERLAPPEDWINDOW);
  hl::PressButton(150, 110);  // on the caption
  hl::MoveMouse(170, 115);
  hl::ReleaseButton(170, 115);
  hl::DispatchPending();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 105);
  EXPECT_EQ(GetCapture(), nullptr);
  const std::vector<Received> nc = Only({WM_NCLBUTTONDOWN});
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wp, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(nc[0].lp, MAKELPARAM(150, 110));

  hl::RequestClose(w);
  hl::DispatchPending();
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
