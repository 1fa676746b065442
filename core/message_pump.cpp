#include "core/message_pump.h"

#include "framework/app_services.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
bool gQuitSeen = false;
}

int PumpMessages(bool sleep) {
  if (sleep) Sleep(1);
  if (gQuitSeen) return -1;
  RefreshBusyCursor();
  MSG msg{};
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return 0;
  if (msg.message == WM_QUIT) {
    // Not put back: the application's own loop must not see it again.
    gQuitSeen = true;
    return -1;
  }
  TranslateMessage(&msg);
  DispatchMessage(&msg);
  return 0;
}

bool PumpQuitSeen() { return gQuitSeen; }
void ResetPumpQuit() { gQuitSeen = false; }
