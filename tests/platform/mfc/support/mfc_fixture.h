// A fresh window system, GDI and resource set for the tests of the window
// classes, with the standard controls registered, and helpers to register
// resource scripts and to pump messages as the framework's loop does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/afx.h"
#include "win/gdi.h"
#include "win/user.h"

namespace mfc_test {

// Registers a resource script as the program's resources.
inline void RegisterScript(const std::string& script) {
  std::string error;
  ASSERT_NE(win::RegisterResourceScript(nullptr, script.data(), script.size(), &error), nullptr)
      << error;
}

// Takes and handles every waiting message the way the framework's loop does
// (PreTranslateMessage first); stops at WM_QUIT, which it leaves queued, and
// returns whether one is waiting.
inline bool PumpPending(int limit = 10000) {
  MSG msg{};
  while (limit-- > 0 && PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) return true;
    PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    const bool handled = AfxGetThread() ? AfxGetThread()->PreTranslateMessage(&msg)
                                        : CWnd::WalkPreTranslateTree(nullptr, &msg);
    if (!handled) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  return false;
}

// Whether WM_QUIT is waiting (it is taken), and its exit code.
inline bool TakeQuit(int* code = nullptr) {
  MSG msg{};
  if (!PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  if (code) *code = static_cast<int>(msg.wParam);
  return true;
}

class MfcTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override {
    AfxResetWindowMaps();
    Fresh();
  }
  static void Fresh() {
    AfxResetWindowMaps();
    win::ResetUserState();
    win::ResetGdiState();
    // The stock objects first: a brush made before them fills with another
    // colour (a fault of the GDI layer, reported to its owner).
    GetStockObject(WHITE_BRUSH);
    win::ResetResources();
  }
};

}  // namespace mfc_test
