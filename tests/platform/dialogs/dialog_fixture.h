// A fresh window system with the standard controls and the sample
// resources (tests/platform/controls/data/sample.rc) for the tests of the
// dialog manager, the controls and the menus; a host window that records
// what its children tell it; and synthetic input.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "display/headless.h"
#include "win/gdi.h"
#include "win/user.h"

namespace dialog_test {

struct Note {
  HWND from;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

inline std::vector<Note>& notes() {
  static std::vector<Note> n;
  return n;
}

// The host records commands, owner drawing, the menu messages and scrolling.
inline LRESULT HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_INITMENUPOPUP:
    case WM_INITMENU:
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_HSCROLL:
    case WM_VSCROLL:
      notes().push_back(Note{wnd, msg, wp, lp});
      if (msg == WM_SYSCOMMAND) return 0;
      return 0;
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      notes().push_back(Note{wnd, msg, dis->itemAction, static_cast<LPARAM>(dis->itemState)});
      HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
      FillRect(dis->hDC, &dis->rcItem, b);
      DeleteObject(b);
      return TRUE;
    }
    default: return DefWindowProc(wnd, msg, wp, lp);
  }
}

inline constexpr char kHost[] = "DialogTestHost";

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    win::ResetGdiState();
    win::ResetResources();
    notes().clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = kHost;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    ASSERT_NE(RegisterClass(&wc), 0);
    const std::string script =
        ReadFile(std::string(ZEMRA_SOURCE_DIR) + "/tests/platform/controls/data/sample.rc");
    std::string error;
    module_ = win::RegisterResourceScript("Sample", script.data(), script.size(), &error);
    ASSERT_NE(module_, nullptr) << error;
    // A modal loop that a test fails to end stops after a while instead of
    // hanging the run.
    SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
  }
  void TearDown() override {
    win::ResetUserState();
    win::ResetGdiState();
    win::ResetResources();
  }

  // A visible top-level window to own dialogs and hold controls.
  HWND Host(int x = 0, int y = 0, int w = 400, int h = 300) {
    HWND wnd = CreateWindow(kHost, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                            nullptr, nullptr);
    return wnd;
  }

  HWND Control(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
               int h, DWORD exStyle = 0) {
    HWND c = CreateWindowEx(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (c) SendMessage(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
  }

  // The WM_COMMAND notifications (code, id) the host received, in order.
  static std::vector<std::pair<int, int>> Commands() {
    std::vector<std::pair<int, int>> out;
    for (const Note& n : notes())
      if (n.msg == WM_COMMAND) out.emplace_back(HIWORD(n.wp), LOWORD(n.wp));
    return out;
  }
  static std::vector<int> Codes(int id) {
    std::vector<int> out;
    for (const Note& n : notes())
      if (n.msg == WM_COMMAND && LOWORD(n.wp) == id) out.push_back(HIWORD(n.wp));
    return out;
  }

  HINSTANCE module_ = nullptr;
};

// ---- Input --------------------------------------------------------------------------

inline UINT KeyOf(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<UINT>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<UINT>(c);
  switch (c) {
    case ' ': return VK_SPACE;
    case ':': return VK_OEM_1;
    case '/': return VK_OEM_2;
    case '.': return VK_OEM_PERIOD;
    case '-': return VK_OEM_MINUS;
    case '@': return '2';
    default: return VK_OEM_7;
  }
}

// Types the text as key presses that make these characters.
inline void Type(const std::string& text) {
  for (char c : text) {
    const UINT vk = KeyOf(c);
    win::headless::PressKey(vk, static_cast<unsigned char>(c));
    win::headless::ReleaseKey(vk);
  }
}

inline void Key(UINT vk) { win::headless::TypeKey(vk); }

// A key with modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU).
inline void Chord(std::initializer_list<UINT> mods, UINT vk) {
  for (UINT m : mods) win::headless::PressKey(m);
  win::headless::TypeKey(vk);
  for (auto it = std::rbegin(mods); it != std::rend(mods); ++it) win::headless::ReleaseKey(*it);
}

inline POINT CentreOf(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void ClickOn(HWND wnd) {
  const POINT p = CentreOf(wnd);
  win::headless::Click(p.x, p.y);
}

// Takes and handles every waiting message, the dialog's keyboard first.
inline void Pump(HWND dlg = nullptr) {
  MSG m;
  for (int i = 0; i < 10000 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return;
    }
    if (dlg && IsWindow(dlg) && IsDialogMessage(dlg, &m)) continue;
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

inline std::string TextOf(HWND wnd) {
  char buf[512] = {};
  GetWindowText(wnd, buf, sizeof buf);
  return buf;
}

}  // namespace dialog_test
