// The end of an idle call: whether MFC's loop calls OnIdle again at once,
// or sleeps until the next message. A page that needs an idle event at a
// time (a medium's end looked for, the next picture of a show) gets a
// thread timer, whose WM_TIMER is such a message; a page that needs none
// costs nothing until something happens.
#pragma once

#include "win/types.h"

// `wait`: how soon the page needs its next idle event (VObject::IdleWait):
// 0 gives TRUE (call again at once); otherwise FALSE, with the wake-up timer
// set to `wait` milliseconds, or killed for VObject::kNoIdleWait.
BOOL WakeForIdle(DWORD wait);
// The wake-up timer's id while it is set; 0 when none is.
UINT_PTR IdleWakeTimer();
