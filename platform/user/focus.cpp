// Keyboard focus and window activation.
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

struct FocusState {
  HWND focus = nullptr;
  HWND active = nullptr;
};

FocusState& state() {
  static FocusState s;
  return s;
}

bool inside(HWND top, HWND wnd) { return wnd && (wnd == top || IsChild(top, wnd)); }

}  // namespace

HWND GetFocus() { return state().focus; }
HWND GetActiveWindow() { return state().active; }
HWND GetDesktopWindow() { return DesktopHandle(); }

HWND SetFocus(HWND wnd) {
  FocusState& s = state();
  const HWND old = s.focus;
  if (wnd && !FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (wnd == old) return old;
  if (wnd) {
    const HWND top = TopLevelOf(wnd);
    if (top != s.active) SetActiveWindow(top);  // its WM_ACTIVATE may move the focus
    if (!FindWindow(wnd) || s.focus == wnd) return old;
  }
  // The focus changes before the messages go out, as on Windows: a handler
  // of WM_KILLFOCUS already sees the new focus and may move it again.
  const HWND losing = s.focus;
  s.focus = wnd;
  if (losing && FindWindow(losing))
    SendMessage(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd), 0);
  if (wnd && s.focus == wnd && FindWindow(wnd))
    SendMessage(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
  return old;
}

HWND SetActiveWindow(HWND wnd) {
  FocusState& s = state();
  const HWND old = s.active;
  if (wnd) {
    Window* w = FindWindow(wnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (w->isChild()) return old;  // only top-level windows are activated
  }
  if (wnd == old) return old;
  s.active = wnd;
  if (old && FindWindow(old)) {
    Window* o = FindWindow(old);
    const WORD minimized = (o->style & WS_MINIMIZE) ? 1 : 0;
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimized), reinterpret_cast<LPARAM>(wnd));
  }
  if (!wnd) {
    // Nothing active: the focus leaves the window that was.
    if (old && inside(old, s.focus)) SetFocus(nullptr);
    return old;
  }
  if (s.active != wnd || !FindWindow(wnd)) return old;  // a handler activated another
  // The window about to be active may realize its palette first.
  SendMessage(wnd, WM_QUERYNEWPALETTE, 0, 0);
  if (s.active != wnd || !FindWindow(wnd)) return old;
  Window* n = FindWindow(wnd);
  const WORD minimized = (n->style & WS_MINIMIZE) ? 1 : 0;
  SendMessage(wnd, WM_NCACTIVATE, TRUE, 0);
  if (FindWindow(wnd))
    SendMessage(wnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized), reinterpret_cast<LPARAM>(old));
  return old;
}

namespace win::user {

void ForgetWindowFocus(HWND wnd) {
  FocusState& s = state();
  if (s.focus == wnd) s.focus = nullptr;
  if (s.active == wnd) s.active = nullptr;
}

void ResetFocus() { state() = FocusState{}; }

}  // namespace win::user
