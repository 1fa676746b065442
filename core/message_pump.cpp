#include "core/message_pump.h"

#include <algorithm>

#include "framework/app_services.h"
#include "win/kernel.h"
#include "win/message_wait.h"
#include "win/user.h"
#include "win/winsock_wait.h"

namespace {
bool gQuitSeen = false;
long long gWaits = 0;
}  // namespace

int WaitForSocketsOrMessages(winsock::fd_set* read, winsock::fd_set* write,
                             winsock::fd_set* except, DWORD limitMs) {
  const win::MessageWaitPlan plan = win::PlanMessageWait();
  // Once the quit message was seen the pump takes no more messages: one
  // left waiting must not keep every later wait from sleeping.
  const bool message = plan.messageWaiting && !gQuitSeen;
  const DWORD ms = message ? 0 : std::min(limitMs, plan.msToNextTimer);
  // poll() returns at once for a socket that is ready: a ready socket never
  // waits, whatever the limit.
  const winsock::timeval limit{static_cast<LONG>(ms / 1000), static_cast<LONG>(ms % 1000 * 1000)};
  if (ms > 0) ++gWaits;
  winsock::fd_set r{}, w{}, e{};
  if (read) r = *read;
  if (write) w = *write;
  if (except) e = *except;
  const int n = winsock::SelectWithDescriptor(&r, &w, &e, &limit,
                                              ms > 0 ? plan.displayDescriptor : -1, nullptr);
  if (n == winsock::SOCKET_ERROR) return n;
  if (read) *read = r;
  if (write) *write = w;
  if (except) *except = e;
  return n;
}

bool WaitForSocketOrMessages(int socket, bool forWrite, DWORD limitMs) {
  winsock::fd_set set{};
  winsock::FdSetAdd(static_cast<winsock::SOCKET>(socket), &set);
  return WaitForSocketsOrMessages(forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr,
                                  limitMs) > 0;
}

void WaitForMessages(DWORD limitMs) { WaitForSocketsOrMessages(nullptr, nullptr, nullptr, limitMs); }

long long PumpWaitCount() { return gWaits; }

int PumpMessages(bool sleep) {
  if (sleep) WaitForMessages(kPumpWaitMs);
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
