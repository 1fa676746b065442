#include "progress.h"

#include "pixolt.h"
#include "win/user.h"

namespace pixolt {
namespace {

HWND g_window = nullptr;
unsigned g_pumpCalls = 0;  // 0 to 15
bool g_quitSeen = false;

}  // namespace

void SetProgressWindow(HWND window) { g_window = window; }
HWND ProgressWindow() { return g_window; }

void ProgressStep(const char* text) {
  if (g_window && IsWindow(g_window)) SetDlgItemText(g_window, PIXOLT_IDC_STEP, text);
}

void ProgressPercent(unsigned percent) {
  if (g_window && IsWindow(g_window)) SetDlgItemInt(g_window, PIXOLT_IDC_PERCENT, percent, FALSE);
}

void ProgressFinish() {
  if (g_window && IsWindow(g_window)) DestroyWindow(g_window);
  g_window = nullptr;
}

void PumpBegin() { g_quitSeen = false; }

int Pump() {
  if (g_pumpCalls < 15) {
    ++g_pumpCalls;
    return g_quitSeen ? -1 : 0;
  }
  g_pumpCalls = 0;
  if (g_quitSeen) return -1;
  MSG msg;
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return 0;
  if (msg.message == WM_QUIT) {
    // The caller's loop must still see it.
    PostQuitMessage(static_cast<int>(msg.wParam));
    g_quitSeen = true;
    return -1;
  }
  TranslateMessage(&msg);
  DispatchMessage(&msg);
  return 0;
}

}  // namespace pixolt
