// Raw display input, cooked into mouse and key messages when taken; mouse
// capture and the double-click time.
#include <algorithm>
#include <cstdlib>
#include <deque>

#include "geometry.h"
#include "input_queue.h"
#include "message_queue.h"
#include "tracking.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

constexpr size_t kMaxRaw = 10000;
constexpr size_t kMaxCooked = 10000;
constexpr size_t kMaxCharacters = 64;
constexpr UINT kDefaultDoubleClickMs = 500;

// An event with the state of the keyboard and buttons when it happened:
// cooking happens later, when the display has already reported more.
struct TimedInput {
  RawInput raw;
  DWORD time = 0;
  bool wasDown = false;  // keys: the key was down before this event
  bool alt = false;      // Alt down (for a release: before it)
  bool ctrl = false;
  WPARAM mouseKeys = 0;  // MK_ flags after the event
};

struct ReportedCharacter {
  MSG key;
  int character;
};

struct LastClick {
  HWND wnd = nullptr;
  MouseButton button = MouseButton::Left;
  POINT pt{0, 0};
  DWORD time = 0;
  bool valid = false;
};

struct InputState {
  std::deque<TimedInput> raw;
  std::deque<MSG> cooked;
  std::deque<ReportedCharacter> characters;
  HWND capture = nullptr;
  LastClick lastClick;
  UINT doubleClickMs = kDefaultDoubleClickMs;
};

InputState& state() {
  static InputState s;
  return s;
}

UINT ButtonVk(MouseButton b) {
  switch (b) {
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
    default: return VK_LBUTTON;
  }
}

WPARAM MouseKeyFlags() {
  WPARAM f = 0;
  if (AsyncKeyDown(VK_LBUTTON)) f |= MK_LBUTTON;
  if (AsyncKeyDown(VK_RBUTTON)) f |= MK_RBUTTON;
  if (AsyncKeyDown(VK_MBUTTON)) f |= MK_MBUTTON;
  if (AsyncKeyDown(VK_SHIFT)) f |= MK_SHIFT;
  if (AsyncKeyDown(VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

// Client messages; the non-client ones are these - WM_MOUSEMOVE + WM_NCMOUSEMOVE.
UINT ClientMouseMessage(InputKind kind, MouseButton b, bool doubleClick) {
  if (kind == InputKind::MouseMove) return WM_MOUSEMOVE;
  const UINT base = b == MouseButton::Right ? WM_RBUTTONDOWN
                    : b == MouseButton::Middle ? WM_MBUTTONDOWN
                                               : WM_LBUTTONDOWN;
  if (kind == InputKind::ButtonUp) return base + 1;
  return doubleClick ? base + 2 : base;
}

LPARAM PackPoint(LONG x, LONG y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// The window under the point: inside `top` when the display named it.
HWND TargetAt(HWND top, POINT pt) {
  if (!top) return WindowFromPoint(pt);
  Window* t = FindWindow(top);
  if (!t || !IsShowing(top)) return nullptr;
  // Search this top-level window's tree only: the display knows which of
  // its windows the pointer was in, whatever our Z order says.
  HWND best = top;
  for (;;) {
    POINT local = pt;
    ScreenToClient(best, &local);
    Window* w = FindWindow(best);
    HWND next = nullptr;
    for (HWND c : w->children) {
      Window* cw = FindWindow(c);
      if (!cw || !cw->visible() || !cw->enabled()) continue;
      if (local.x >= cw->rect.left && local.x < cw->rect.right && local.y >= cw->rect.top &&
          local.y < cw->rect.bottom) {
        next = c;
        break;
      }
    }
    if (!next) break;
    // A point in a child's window rectangle but outside its parent's client
    // area stays with the parent.
    RECT rc;
    GetClientRect(best, &rc);
    if (local.x < 0 || local.y < 0 || local.x >= rc.right || local.y >= rc.bottom) break;
    best = next;
  }
  return best;
}

bool Holds(HWND wnd, POINT screen) {
  RECT r;
  return GetWindowRect(wnd, &r) && PtInRect(&r, screen);
}

struct Hit {
  HWND wnd = nullptr;
  LRESULT code = HTNOWHERE;
};

// Hit testing as Windows does it: the deepest window under the point is
// asked first (WM_NCHITTEST); one that answers HTTRANSPARENT lets the point
// through to the next sibling below it that holds the point, and so on up
// to the parent. `wnd` holds the point; null when it and everything in it
// are transparent there.
Hit HitWithin(HWND wnd, POINT screen) {
  Window* w = FindWindow(wnd);
  if (!w) return {};
  POINT local = screen;
  ScreenToClient(wnd, &local);
  RECT client;
  GetClientRect(wnd, &client);
  if (PtInRect(&client, local)) {
    const std::vector<HWND> children = w->children;
    for (HWND c : children) {
      Window* cw = FindWindow(c);
      // A disabled child leaves the point to what lies below it.
      if (!cw || !cw->visible() || !cw->enabled() || !Holds(c, screen)) continue;
      const Hit h = HitWithin(c, screen);
      if (h.wnd) return h;
      if (!FindWindow(wnd)) return {};
    }
  }
  const LRESULT code = SendMessage(wnd, WM_NCHITTEST, 0, PackPoint(screen.x, screen.y));
  if (!FindWindow(wnd) || code == HTTRANSPARENT) return {};
  return Hit{wnd, code};
}

// The window that takes mouse input at the point: within `top` when the
// display named it (it knows which of its windows the pointer was in,
// whatever our records say), else among the enabled top-level windows from
// the topmost down.
Hit HitTest(HWND top, POINT screen) {
  if (top) return FindWindow(top) && IsShowing(top) ? HitWithin(top, screen) : Hit{};
  const std::vector<HWND> tops = FindWindow(DesktopHandle())->children;
  for (HWND t : tops) {
    if (!FindWindow(t) || !IsShowing(t) || !IsWindowEnabled(t) || !Holds(t, screen)) continue;
    const Hit h = HitWithin(t, screen);
    if (h.wnd) return h;
  }
  return {};
}

bool IsDoubleClick(const LastClick& last, HWND wnd, MouseButton b, POINT pt, DWORD time) {
  if (!last.valid || last.wnd != wnd || last.button != b) return false;
  if (time - last.time > state().doubleClickMs) return false;
  const int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  return std::abs(pt.x - last.pt.x) <= dx && std::abs(pt.y - last.pt.y) <= dy;
}

void CookMouse(const TimedInput& in) {
  InputState& s = state();
  const RawInput& r = in.raw;
  SetCursorPos(r.pt.x, r.pt.y);
  if (TrackerActive()) {
    TrackerMouse(r.kind == InputKind::MouseMove   ? TrackEvent::Move
                 : r.kind == InputKind::ButtonDown ? TrackEvent::Down
                                                   : TrackEvent::Up,
                 r.pt);
    return;
  }
  HWND target = s.capture;
  LRESULT hit = HTCLIENT;
  if (!target) {
    target = TargetAt(r.top, r.pt);
    if (target && !IsWindowEnabled(TopLevelOf(target))) {
      // A disabled window (an owner while its modal box is up) takes no
      // input: it only shows the error cursor, and beeps at a press.
      const UINT clientMsg = ClientMouseMessage(r.kind, r.button, false);
      SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                  MAKELPARAM(static_cast<WORD>(HTERROR), static_cast<WORD>(clientMsg)));
      return;
    }
    if (!target) return;
    const Hit h = HitTest(r.top, r.pt);
    if (!h.wnd) return;
    target = h.wnd;
    hit = h.code;
  }
  const bool client = hit == HTCLIENT;
  bool doubleClick = false;
  if (r.kind == InputKind::ButtonDown) {
    Window* w = FindWindow(target);
    const bool classWants = !client || (w && w->cls && (w->cls->style & CS_DBLCLKS));
    if (IsDoubleClick(s.lastClick, target, r.button, r.pt, in.time) && classWants) {
      doubleClick = true;
      s.lastClick.valid = false;  // a third press starts again
    } else {
      s.lastClick = LastClick{target, r.button, r.pt, in.time, true};
    }
  }
  const UINT clientMsg = ClientMouseMessage(r.kind, r.button, doubleClick);
  if (r.kind == InputKind::ButtonDown && !s.capture) {
    const HWND top = TopLevelOf(target);
    if (top && top != GetActiveWindow()) {
      const LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                     MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(clientMsg)));
      if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && FindWindow(top))
        SetActiveWindow(top);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
      if (!FindWindow(target)) return;
    }
  }
  if (!s.capture) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(clientMsg)));
    if (!FindWindow(target)) return;
  }
  MSG m{};
  m.hwnd = target;
  m.time = in.time;
  m.pt = r.pt;
  if (client) {
    POINT local = r.pt;
    ScreenToClient(target, &local);
    m.message = clientMsg;
    m.wParam = in.mouseKeys;
    m.lParam = PackPoint(local.x, local.y);
  } else {
    m.message = clientMsg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    m.wParam = static_cast<WPARAM>(hit);
    m.lParam = PackPoint(r.pt.x, r.pt.y);
  }
  if (s.cooked.size() < kMaxCooked) s.cooked.push_back(m);
}

void CookKey(const TimedInput& in) {
  InputState& s = state();
  const RawInput& r = in.raw;
  const bool down = r.kind == InputKind::KeyDown;
  const bool alt = in.alt;
  const bool ctrl = in.ctrl;
  // Alt without Ctrl (Ctrl+Alt stands for AltGr) and F10 make system keys,
  // and so does any key while no window has the focus.
  bool system = (alt && !ctrl) || r.vk == VK_F10;
  HWND target = GetFocus();
  if (!target) {
    target = GetActiveWindow();
    system = true;
  }
  if (!target) return;
  MSG m{};
  m.hwnd = target;
  m.message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  m.wParam = r.vk;
  DWORD lp = 1u | ((r.scan & 0xFFu) << 16);
  if (alt) lp |= 1u << 29;
  if (in.wasDown || !down) lp |= 1u << 30;
  if (!down) lp |= 1u << 31;
  m.lParam = static_cast<LPARAM>(static_cast<LONG>(lp));
  m.time = in.time;
  GetCursorPos(&m.pt);
  if (s.cooked.size() >= kMaxCooked) return;
  s.cooked.push_back(m);
  if (down && r.character >= 0) {
    if (s.characters.size() >= kMaxCharacters) s.characters.pop_front();
    s.characters.push_back(ReportedCharacter{m, r.character});
  }
}

void Cook(const TimedInput& in) {
  switch (in.raw.kind) {
    case InputKind::MouseMove:
    case InputKind::ButtonDown:
    case InputKind::ButtonUp: CookMouse(in); break;
    case InputKind::KeyDown:
    case InputKind::KeyUp: CookKey(in); break;
    case InputKind::Close:
    case InputKind::Command: {
      if (!FindWindow(in.raw.top) || state().cooked.size() >= kMaxCooked) break;
      MSG m{};
      m.hwnd = in.raw.top;
      m.message = in.raw.kind == InputKind::Close ? WM_CLOSE : WM_SYSCOMMAND;
      m.wParam = in.raw.kind == InputKind::Close ? 0 : in.raw.command;
      m.time = in.time;
      GetCursorPos(&m.pt);
      state().cooked.push_back(m);
      break;
    }
    case InputKind::Activate:
      if (FindWindow(in.raw.top) && IsShowing(in.raw.top) && GetActiveWindow() != in.raw.top)
        SetActiveWindow(in.raw.top);
      break;
    case InputKind::Configure: {
      const RECT& rc = in.raw.rect;
      if (FindWindow(in.raw.top))
        SetWindowPos(in.raw.top, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
  }
}

}  // namespace

namespace win::user {

void QueueInput(const RawInput& input) {
  InputState& s = state();
  TimedInput t{input, Now(), false};
  switch (input.kind) {
    case InputKind::ButtonDown:
    case InputKind::ButtonUp:
      NoteAsyncKey(ButtonVk(input.button), input.kind == InputKind::ButtonDown);
      break;
    case InputKind::KeyDown:
    case InputKind::KeyUp:
      t.wasDown = AsyncKeyDown(input.vk);
      NoteAsyncKey(input.vk, input.kind == InputKind::KeyDown);
      break;
    default: break;
  }
  const bool altBefore = t.wasDown && input.vk == VK_MENU;
  t.alt = input.kind == InputKind::KeyUp && input.vk == VK_MENU ? altBefore : AsyncKeyDown(VK_MENU);
  t.ctrl = AsyncKeyDown(VK_CONTROL);
  t.mouseKeys = MouseKeyFlags();
  if (input.kind == InputKind::MouseMove && !s.raw.empty() &&
      s.raw.back().raw.kind == InputKind::MouseMove && s.raw.back().raw.top == input.top) {
    s.raw.back() = t;  // only where the pointer is now matters
    return;
  }
  if (s.raw.size() >= kMaxRaw) return;
  s.raw.push_back(t);
}

bool InputWaiting() { return !state().raw.empty() || !state().cooked.empty(); }

bool TakeInput(HWND filterWnd, UINT first, UINT last, bool remove, MSG* out) {
  InputState& s = state();
  for (;;) {
    for (auto it = s.cooked.begin(); it != s.cooked.end(); ++it) {
      if (!FilterAdmits(filterWnd, first, last, it->hwnd, it->message)) continue;
      *out = *it;
      if (remove) s.cooked.erase(it);
      return true;
    }
    if (s.raw.empty()) return false;
    // Taken off the queue before cooking: cooking sends messages whose
    // handlers may look at the queue again.
    const TimedInput next = s.raw.front();
    s.raw.pop_front();
    Cook(next);
  }
}

int DisplayCharacterOf(const MSG& msg) {
  // Two presses of one key within a millisecond make equal messages (Shift+E
  // then e): each translation takes the oldest report that matches, so the
  // second press gets its own character.
  auto& reports = state().characters;
  for (auto it = reports.begin(); it != reports.end(); ++it) {
    const MSG& k = it->key;
    if (k.hwnd == msg.hwnd && k.message == msg.message && k.wParam == msg.wParam &&
        k.lParam == msg.lParam && k.time == msg.time) {
      const int character = it->character;
      reports.erase(it);
      return character;
    }
  }
  return -1;
}

void ForgetWindowInput(HWND wnd) {
  InputState& s = state();
  std::erase_if(s.cooked, [wnd](const MSG& m) { return m.hwnd == wnd; });
  std::erase_if(s.raw, [wnd](const TimedInput& t) { return t.raw.top == wnd; });
  if (s.capture == wnd) s.capture = nullptr;
  if (s.lastClick.wnd == wnd) s.lastClick.valid = false;
}

void ResetInput() { state() = InputState{}; }

}  // namespace win::user

HWND SetCapture(HWND wnd) {
  InputState& s = state();
  const HWND old = s.capture;
  if (wnd && !FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  s.capture = wnd;
  if (old && old != wnd && FindWindow(old))
    SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
  return old;
}

BOOL ReleaseCapture() {
  InputState& s = state();
  const HWND old = s.capture;
  s.capture = nullptr;
  if (old && FindWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return state().capture; }

UINT GetDoubleClickTime() { return state().doubleClickMs; }

BOOL SetDoubleClickTime(UINT ms) {
  state().doubleClickMs = ms ? ms : kDefaultDoubleClickMs;
  return TRUE;
}
