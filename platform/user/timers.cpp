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
  DWORD due;  // on USER's clock
  SystemTimerProc systemProc = nullptr;  // set for the system's own timers
  bool system() const { return systemProc != nullptr; }
  UINT message() const { return system() ? WM_SYSTIMER : WM_TIMER; }
};

struct Timers {
  std::vector<Timer> list;
  UINT_PTR nextThreadId = kFirstThreadId;
};

Timers& timers() {
  static Timers t;
  return t;
}

win::UserClock gClock = nullptr;

// Tick counts wrap after 49.7 days: compare by signed difference.
LONG ticksUntil(DWORD due, DWORD now) { return static_cast<LONG>(due - now); }

Timer* find(HWND wnd, UINT_PTR id, bool system = false) {
  for (Timer& t : timers().list)
    if (t.wnd == wnd && t.id == id && t.system() == system) return &t;
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

namespace win {

UserClock SetUserClock(UserClock clock) {
  const UserClock old = gClock;
  gClock = clock;
  return old;
}

}  // namespace win

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (wnd && !FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  elapse = std::clamp(elapse, kMinElapse, kMaxElapse);
  const DWORD now = Now();
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
                         [&](const Timer& t) { return t.wnd == wnd && t.id == id && !t.system(); });
  if (it == list.end()) return FALSE;
  list.erase(it);
  return TRUE;
}

namespace win::user {

DWORD Now() { return gClock ? gClock() : GetTickCount(); }

bool TakeDueTimer(HWND filterWnd, UINT first, UINT last, bool take, MSG* out) {
  const DWORD now = Now();
  Timer* best = nullptr;
  for (Timer& t : timers().list) {
    if (ticksUntil(t.due, now) > 0) continue;
    if (!FilterAdmits(filterWnd, first, last, t.wnd, t.message())) continue;
    if (!best || ticksUntil(t.due, best->due) < 0) best = &t;
  }
  if (!best) return false;
  *out = MSG{};
  out->hwnd = best->wnd;
  out->message = best->message();
  out->wParam = best->id;
  out->lParam = best->system() ? 0 : reinterpret_cast<LPARAM>(best->proc);
  out->time = now;
  GetCursorPos(&out->pt);
  if (take) best->due = now + best->elapse;
  return true;
}

DWORD TimeToNextTimer(HWND filterWnd, UINT first, UINT last) {
  const DWORD now = Now();
  DWORD soonest = kNoTimer;
  for (const Timer& t : timers().list) {
    if (!FilterAdmits(filterWnd, first, last, t.wnd, t.message())) continue;
    const LONG left = ticksUntil(t.due, now);
    const DWORD wait = left <= 0 ? 0 : static_cast<DWORD>(left);
    soonest = std::min(soonest, wait);
  }
  return soonest;
}

void SetSystemTimer(HWND wnd, UINT_PTR id, UINT elapse, SystemTimerProc proc) {
  if (!proc || (wnd && !FindWindow(wnd))) return;
  elapse = std::clamp(elapse, kMinElapse, kMaxElapse);
  const DWORD now = Now();
  if (Timer* t = find(wnd, id, true)) {
    t->elapse = elapse;
    t->systemProc = proc;
    t->due = now + elapse;
    return;
  }
  if (timers().list.size() >= kMaxTimers) return;
  Timer t{wnd, id, elapse, nullptr, now + elapse};
  t.systemProc = proc;
  timers().list.push_back(t);
}

void KillSystemTimer(HWND wnd, UINT_PTR id) {
  std::erase_if(timers().list,
                [&](const Timer& t) { return t.wnd == wnd && t.id == id && t.system(); });
}

bool HasSystemTimer(HWND wnd, UINT_PTR id) { return find(wnd, id, true) != nullptr; }

bool RunSystemTimer(const MSG& msg) {
  const Timer* t = find(msg.hwnd, msg.wParam, true);
  if (!t) return false;
  const SystemTimerProc proc = t->systemProc;
  proc(msg.hwnd, msg.wParam);
  return true;
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
  gClock = nullptr;
  timers().nextThreadId = kFirstThreadId;
}

}  // namespace win::user
