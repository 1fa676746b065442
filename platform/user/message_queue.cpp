// The message queue of the one thread: posting, peeking, waiting and
// dispatching.
#include "message_queue.h"

#include <algorithm>
#include <deque>

#include "display/display.h"
#include "input_queue.h"
#include "paint.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

// Windows refuses to post more than this many messages to one queue; a
// runaway poster fails instead of exhausting memory.
constexpr size_t kMaxPosted = 10000;
#define ERROR_NOT_ENOUGH_QUOTA 1816
// While messages are taken, what was drawn is shown at most this often.
constexpr DWORD kFlushIntervalMs = 15;

const HWND kThreadOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

struct Queue {
  std::deque<MSG> posted;
  bool quitPending = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  InputWaiter waiter = nullptr;
  DWORD lastFlush = 0;
};

Queue& queue() {
  static Queue q;
  return q;
}

MSG makeMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  MSG m{};
  m.hwnd = wnd;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = Now();
  GetCursorPos(&m.pt);
  return m;
}

bool validFilter(HWND filterWnd) {
  return !filterWnd || filterWnd == kThreadOnly || FindWindow(filterWnd);
}

bool rangeAdmits(UINT first, UINT last, UINT msg) {
  return (first == 0 && last == 0) || (msg >= first && msg <= last);
}

// Shows what was drawn, at most every kFlushIntervalMs unless `now`.
void flushDisplay(bool now) {
  Queue& q = queue();
  const DWORD t = GetTickCount();
  if (!now && t - q.lastFlush < kFlushIntervalMs) return;
  q.lastFlush = t;
  win::display::Active().Flush();
}

bool peekInternal(MSG* out, HWND filterWnd, UINT first, UINT last, bool remove) {
  Queue& q = queue();
  win::display::Active().Poll();
  flushDisplay(false);
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!FilterAdmits(filterWnd, first, last, it->hwnd, it->message)) continue;
    *out = *it;
    if (remove) {
      q.posted.erase(it);
      NoteKeyMessage(*out);
    }
    q.lastTime = out->time;
    return true;
  }
  if (filterWnd != kThreadOnly && TakeInput(filterWnd, first, last, remove, out)) {
    if (remove) NoteKeyMessage(*out);
    q.lastTime = out->time;
    return true;
  }
  if (q.quitPending && rangeAdmits(first, last, WM_QUIT)) {
    *out = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
    if (remove) q.quitPending = false;
    q.lastTime = out->time;
    return true;
  }
  if (filterWnd != kThreadOnly && rangeAdmits(first, last, WM_PAINT)) {
    // WM_PAINT is never taken off: it stays until the window is validated.
    if (HWND wnd = NextWindowToPaint(filterWnd)) {
      *out = makeMessage(wnd, WM_PAINT, 0, 0);
      q.lastTime = out->time;
      return true;
    }
  }
  if (TakeDueTimer(filterWnd, first, last, remove, out)) {
    q.lastTime = out->time;
    return true;
  }
  return false;
}

bool anythingWaiting(HWND filterWnd, UINT first, UINT last) {
  MSG ignored{};
  return peekInternal(&ignored, filterWnd, first, last, false);
}

// Shows what was drawn, then waits on the display until input comes or the
// next timer is due.
void waitForInput(HWND filterWnd, UINT first, UINT last) {
  flushDisplay(true);
  DWORD ms = TimeToNextTimer(filterWnd, first, last);
  if (ms == 0) ms = 1;
  if (queue().waiter)
    queue().waiter(ms == kNoTimer ? win::display::Display::kForever : ms);
  else
    win::display::Active().Wait(ms == kNoTimer ? win::display::Display::kForever : ms);
}

}  // namespace

namespace win::user {

bool FilterAdmits(HWND filterWnd, UINT first, UINT last, HWND wnd, UINT msg) {
  if (!rangeAdmits(first, last, msg)) return false;
  if (!filterWnd) return true;
  if (filterWnd == kThreadOnly) return wnd == nullptr;
  return wnd == filterWnd || IsChild(filterWnd, wnd);
}

void PostFront(const MSG& msg) { queue().posted.push_front(msg); }

void SetInputWaiter(InputWaiter waiter) { queue().waiter = waiter; }

void ForgetWindowInQueue(HWND wnd) {
  std::erase_if(queue().posted, [wnd](const MSG& m) { return m.hwnd == wnd; });
}

void ResetQueue() {
  Queue& q = queue();
  q.posted.clear();
  q.quitPending = false;
  q.quitCode = 0;
  q.lastTime = 0;
}

}  // namespace win::user

BOOL PostMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (wnd && !FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Queue& q = queue();
  if (q.posted.size() >= kMaxPosted) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
  }
  q.posted.push_back(makeMessage(wnd, msg, wp, lp));
  return TRUE;
}

// There is one thread: every thread id names it.
BOOL PostThreadMessage(DWORD, UINT msg, WPARAM wp, LPARAM lp) {
  return PostMessage(nullptr, msg, wp, lp);
}

void PostQuitMessage(int exitCode) {
  queue().quitPending = true;
  queue().quitCode = exitCode;
}

BOOL PeekMessage(LPMSG msg, HWND wnd, UINT first, UINT last, UINT remove) {
  if (!msg || !validFilter(wnd)) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return peekInternal(msg, wnd, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessage(LPMSG msg, HWND wnd, UINT first, UINT last) {
  for (;;) {
    if (!msg || !validFilter(wnd)) {
      SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
      return -1;
    }
    if (peekInternal(msg, wnd, first, last, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
    waitForInput(wnd, first, last);
  }
}

BOOL WaitMessage() {
  while (!anythingWaiting(nullptr, 0, 0)) waitForInput(nullptr, 0, 0);
  return TRUE;
}

DWORD GetMessageTime() { return queue().lastTime; }

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  const UINT m = msg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return (m == WM_KEYUP || m == WM_SYSKEYUP);
  // The display's own layout decides when it reported a character.
  int ch = DisplayCharacterOf(*msg);
  if (ch < 0) ch = CharacterOfKey(static_cast<UINT>(msg->wParam));
  if (ch) {
    MSG c = *msg;
    c.message = m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    c.wParam = static_cast<WPARAM>(ch);
    PostFront(c);
  }
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_SYSTIMER && RunSystemTimer(*msg)) return 0;
  if (msg->message == WM_PAINT && msg->hwnd) {
    const LRESULT r = SendMessage(msg->hwnd, WM_PAINT, msg->wParam, msg->lParam);
    ValidateAfterPaint(msg->hwnd);
    return r;
  }
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure that a live timer was set with is called: a posted
    // WM_TIMER must not make us jump to an address it carries.
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (IsTimerProc(msg->hwnd, msg->wParam, proc))
      proc(msg->hwnd, WM_TIMER, msg->wParam, Now());
    return 0;
  }
  if (!msg->hwnd) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

namespace win {

void FlushDisplay() { flushDisplay(true); }

bool RunModalLoop(const std::function<bool()>& done) {
  MSG msg{};
  while (!done || !done()) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The loop outside must end too: the quit goes back in the queue.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (got < 0) return false;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return true;
}

}  // namespace win
