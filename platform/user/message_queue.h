// The thread's message queue: internal view for the timers, the keyboard,
// painting and the input from the display.
#pragma once

#include "win/user.h"

namespace win::user {

// Whether a message for `wnd` numbered `msg` passes a PeekMessage filter.
bool FilterAdmits(HWND filterWnd, UINT first, UINT last, HWND wnd, UINT msg);

// Puts a message in front of everything posted (TranslateMessage's
// characters come next, before what was posted after their key).
void PostFront(const MSG& msg);

// Waiting for input: the display waits on its connection (or the headless
// one sleeps) and queues what arrives. A waiter set here replaces it (null
// puts the display back). `timeoutMs` is at most that long (the display's
// kForever: no limit); the function returns early when input may have
// arrived.
using InputWaiter = void (*)(DWORD timeoutMs);
void SetInputWaiter(InputWaiter waiter);

// USER's clock (timers.cpp): GetTickCount or a test's clock.
DWORD Now();

// Timers (timers.cpp): a due timer that the filter admits, as the WM_TIMER
// it yields; with `take` the timer's next period starts now.
bool TakeDueTimer(HWND filterWnd, UINT first, UINT last, bool take, MSG* out);
// Milliseconds until the next timer that the filter admits is due; 0 when
// one is due; kNoTimer when there is none.
constexpr DWORD kNoTimer = 0xFFFFFFFF;
DWORD TimeToNextTimer(HWND filterWnd, UINT first, UINT last);
// Whether `proc` is the procedure of a live timer of (wnd, id): the only
// procedures a WM_TIMER's lParam may make DispatchMessage call.
bool IsTimerProc(HWND wnd, UINT_PTR id, TIMERPROC proc);

// Keyboard (keyboard.cpp): notes a key message taken from the queue.
void NoteKeyMessage(const MSG& msg);
// The character a key makes with the current shift state, or 0.
int CharacterOfKey(UINT vk);

}  // namespace win::user

namespace win::user {

// System timers (timers.cpp): they yield WM_SYSTIMER, and DispatchMessage
// calls `proc` for them instead of the window procedure. Kept apart from
// the application's timers of the same window and id.
using SystemTimerProc = void (*)(HWND wnd, UINT_PTR id);
void SetSystemTimer(HWND wnd, UINT_PTR id, UINT elapse, SystemTimerProc proc);
void KillSystemTimer(HWND wnd, UINT_PTR id);
bool HasSystemTimer(HWND wnd, UINT_PTR id);
// Runs the procedure of a live system timer named by a WM_SYSTIMER; false
// when there is none.
bool RunSystemTimer(const MSG& msg);

}  // namespace win::user
