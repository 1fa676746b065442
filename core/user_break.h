// The user-break flag as the foundation and the network layer use it (the
// flag itself lives in app/framework/user_break.h), and the window-message
// step that polling the flag runs.
//
// Every source file that includes this header installs the step through a
// header-defined guard, so the progress reporter's poll pumps messages in any
// program that links the object model.
#pragma once

#include "framework/user_break.h"
#include "core/static_guard.h"

// One step of the message pump without sleeping; when that step meets the
// quit message, the application's clean-up hook runs (once).
void UserBreakMessageStep();

struct UserBreakPump {
  static void Init();  // installs UserBreakMessageStep
  static void Exit();  // removes it
};

// This file's share of the use counter.
static StaticGuard<UserBreakPump> userBreakPumpGuard;
