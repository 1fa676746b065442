// What DefWindowProc does for the messages windows leave to it, and the
// palette messages.
#include <cstdlib>
#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "win/gdi.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using DefProcTest = UserTest;

TEST_F(DefProcTest, FontsAreKeptPerWindow) {
  HWND a = Top("a");
  HWND b = Top("b");
  HFONT font = reinterpret_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  EXPECT_EQ(SendMessage(a, WM_GETFONT, 0, 0), 0);
  SendMessage(a, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(SendMessage(a, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  EXPECT_EQ(SendMessage(b, WM_GETFONT, 0, 0), 0);
}

TEST_F(DefProcTest, SystemCommandsAndAltF4) {
  struct Case {
    const char* what;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool destroyed;
    bool minimized;
  };
  const Case cases[] = {
      {"close command", WM_SYSCOMMAND, SC_CLOSE, 0, true, false},
      {"minimize command", WM_SYSCOMMAND, SC_MINIMIZE, 0, false, true},
      {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 1 << 29, true, false},
      {"F4 without Alt", WM_SYSKEYDOWN, VK_F4, 0, false, false},
  };
  for (const Case& c : cases) {
    HWND top = Top();
    HWND child = Child(top, 1);
    ShowWindow(top, SW_SHOW);
    received().clear();
    SendMessage(c.msg == WM_SYSKEYDOWN ? child : top, c.msg, c.wp, c.lp);
    EXPECT_EQ(!IsWindow(top), c.destroyed) << c.what;
    if (c.destroyed) {
      EXPECT_FALSE(Only({WM_CLOSE}).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(IsIconic(top) != FALSE, c.minimized) << c.what;
    DestroyWindow(top);
  }
}

TEST_F(DefProcTest, CalcSizeAndMouseActivateFollowTheParent) {
  HWND top = CreateWindowEx(WS_EX_CLIENTEDGE, kClass, "", WS_POPUP | WS_BORDER, 0, 0, 50, 50, nullptr,
                            nullptr, nullptr, nullptr);
  RECT r{10, 10, 60, 60};
  SendMessage(top, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 13);
  EXPECT_EQ(r.bottom, 57);
  HWND child = Child(top, 1);
  reactions()[{top, WM_MOUSEACTIVATE}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATE; };
  EXPECT_EQ(SendMessage(child, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), 0), MA_NOACTIVATE);
  reactions().clear();
  EXPECT_EQ(SendMessage(child, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), 0), MA_ACTIVATE);
}

TEST_F(DefProcTest, TheClassBrushMayBeASystemColourIndex) {
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = "Faced";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClass(&wc);
  HWND w = CreateWindow("Faced", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
  win::headless::DispatchPending();
  auto picture = win::headless::CaptureWindow(w);
  ASSERT_NE(picture, nullptr);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(picture->At(10, 10), ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF));
  // SetClassLong changes what the next erase uses.
  SetClassLong(w, GCL_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
  InvalidateRect(w, nullptr, TRUE);
  win::headless::DispatchPending();
  EXPECT_EQ(win::headless::CaptureWindow(w)->At(10, 10), 0u);
}

TEST_F(DefProcTest, PaletteMessagesGoToEveryTopLevelWindowWithoutEndlessNesting) {
  HWND a = Top("a");
  HWND b = Top("b");
  Child(a, 1);
  // Each realizes its palette in answer to the other's change, which would
  // change the palette again and again.
  int nested = 0;
  const Reaction realize = [&](HWND self, UINT, WPARAM wp, LPARAM) -> LRESULT {
    if (reinterpret_cast<HWND>(wp) != self) {
      ++nested;
      win::NotifyPaletteChanged(self);
    }
    return 0;
  };
  reactions()[{a, WM_PALETTECHANGED}] = realize;
  reactions()[{b, WM_PALETTECHANGED}] = realize;
  received().clear();
  win::NotifyPaletteChanged(a);
  EXPECT_EQ(nested, 2);  // b answered a, a answered b; a third level is not started
  std::vector<std::pair<HWND, WPARAM>> got;
  for (const Received& r : Only({WM_PALETTECHANGED})) got.push_back({r.wnd, r.wp});
  const auto A = reinterpret_cast<WPARAM>(a), B = reinterpret_cast<WPARAM>(b);
  // Newest window first (the Z order); the nested broadcast inside b's answer.
  const std::vector<std::pair<HWND, WPARAM>> expected = {{b, A}, {b, B}, {a, B}, {a, A}};
  EXPECT_EQ(got, expected);
  // Activation asks the window for its palette first.
  received().clear();
  SetActiveWindow(a);
  const std::vector<Received> act = Only({WM_QUERYNEWPALETTE, WM_ACTIVATE});
  ASSERT_GE(act.size(), 2u);
  EXPECT_EQ(act[act.size() - 2].msg, static_cast<UINT>(WM_QUERYNEWPALETTE));
  EXPECT_EQ(act.back().wnd, a);
}

// On a palette display, realizing a palette that changes the system palette
// on a window's DC tells every top-level window; one that changes nothing,
// or a true-colour display, tells no one.
TEST_F(DefProcTest, RealizingAPaletteOnAWindowTellsTheOtherWindows) {
  HWND a = Top("a");
  HWND b = Top("b");
  LOGPALETTE* lp = static_cast<LOGPALETTE*>(std::calloc(1, sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 2;
  lp->palPalEntry[0] = {12, 34, 56, 0};
  lp->palPalEntry[1] = {78, 90, 123, 0};
  HPALETTE pal = CreatePalette(lp);
  std::free(lp);
  for (int bits : {24, 8}) {
    SCOPED_TRACE(bits);
    win::SetDisplayBitsPerPixel(bits);
    HDC dc = GetDC(a);
    HPALETTE old = SelectPalette(dc, pal, FALSE);
    received().clear();
    const UINT first = RealizePalette(dc);
    const size_t afterFirst = Only({WM_PALETTECHANGED}).size();
    received().clear();
    RealizePalette(dc);  // the same colours again: nothing changes
    EXPECT_TRUE(Only({WM_PALETTECHANGED}).empty());
    if (bits == 8) {
      EXPECT_EQ(first, 2u);
      EXPECT_EQ(afterFirst, 2u);  // both top-level windows, wParam the realizer
    } else {
      EXPECT_EQ(first, 0u);
      EXPECT_EQ(afterFirst, 0u);
    }
    SelectPalette(dc, old, FALSE);
    ReleaseDC(a, dc);
  }
  win::SetDisplayBitsPerPixel(24);
  DeleteObject(pal);
  (void)b;
}

}  // namespace
