// Window and thread timers. A timer does not queue messages: when the queue
// has nothing else for the reader, a due timer yields one WM_TIMER, so a
// late reader gets one message however many periods went by.
#include <algorithm>
#include <vector>

#include "message_queue.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

constexpr UINT kMinElapse = 10;            // as Windows' USER_TIMER_MINIMUM
constexpr UINT kMaxElapse = 0x7FFFFFFF;    // as Windows' USER_TIMER_MAXIMUM
constexpr UINT_PTR kFirstThreadId = 0x8000;  // apart from the small ids windows use
constexpr size_t kMaxTimers = 10000;

struct Timer {
  HWND wnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  DWORD due;  // GetTickCount value
};

struct Timers {
  std::vector<Timer> list;
  UINT_PTR nextThreadId = kFirstThreadId;
};

Timers& timers() {
  static Timers t;
  return t;
}

// Tick counts wrap after 49.7 days: compare by signed difference.
LONG ticksUntil(DWORD due, DWORD now) { return static_cast<LONG>(due - now); }

Timer* find(HWND wnd, UINT_PTR id) {
  for (Timer& t : timers().list)
    if (t.wnd == wnd && t.id == id) return &t;
  return nullptr;
}

UINT_PTR newThreadId() {
  Timers& ts = timers();
  for (;;) {
    UINT_PTR id = ts.nextThreadId++;
    if (ts.nextThreadId == 0) ts.nextThreadId = kFirstThreadId;
    if (!find(nullptr, id)) return id;
  }
}

}  // namespace

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (wnd && !FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  elapse = std::clamp(elapse, kMinElapse, kMaxElapse);
  const DWORD now = GetTickCount();
  if (!wnd && !find(nullptr, id)) id = newThreadId();
  if (Timer* t = find(wnd, id)) {
    t->elapse = elapse;
    t->proc = proc;
    t->due = now + elapse;
  } else {
    if (timers().list.size() >= kMaxTimers) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    timers().list.push_back(Timer{wnd, id, elapse, proc, now + elapse});
  }
  // A window timer's result is its id; Windows answers 1 for id 0.
  return id ? id : 1;
}

BOOL KillTimer(HWND wnd, UINT_PTR id) {
  auto& list = timers().list;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const Timer& t) { return t.wnd == wnd && t.id == id; });
  if (it == list.end()) return FALSE;
  list.erase(it);
  return TRUE;
}

namespace win::user {

bool TakeDueTimer(HWND filterWnd, UINT first, UINT last, bool take, MSG* out) {
  const DWORD now = GetTickCount();
  Timer* best = nullptr;
  for (Timer& t : timers().list) {
    if (ticksUntil(t.due, now) > 0) continue;
    if (!FilterAdmits(filterWnd, first, last, t.wnd, WM_TIMER)) continue;
    if (!best || ticksUntil(t.due, best->due) < 0) best = &t;
  }
  if (!best) return false;
  *out = MSG{};
  out->hwnd = best->wnd;
  out->message = WM_TIMER;
  out->wParam = best->id;
  out->lParam = reinterpret_cast<LPARAM>(best->proc);
  out->time = now;
  GetCursorPos(&out->pt);
  if (take) best->due = now + best->elapse;
  return true;
}

DWORD TimeToNextTimer(HWND filterWnd, UINT first, UINT last) {
  const DWORD now = GetTickCount();
  DWORD soonest = kNoTimer;
  for (const Timer& t : timers().list) {
    if (!FilterAdmits(filterWnd, first, last, t.wnd, WM_TIMER)) continue;
    const LONG left = ticksUntil(t.due, now);
    const DWORD wait = left <= 0 ? 0 : static_cast<DWORD>(left);
    soonest = std::min(soonest, wait);
  }
  return soonest;
}

bool IsTimerProc(HWND wnd, UINT_PTR id, TIMERPROC proc) {
  const Timer* t = find(wnd, id);
  return t && t->proc && t->proc == proc;
}

void ForgetWindowTimers(HWND wnd) {
  std::erase_if(timers().list, [wnd](const Timer& t) { return t.wnd == wnd; });
}

void ResetTimers() {
  timers().list.clear();
  timers().nextThreadId = kFirstThreadId;
}

}  // namespace win::user
