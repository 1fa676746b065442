// WM_PALETTECHANGED to every top-level window when the system palette
// changed.
#include "window_store.h"

namespace {

// Windows realizing palettes in answer to the broadcast may change the
// palette again; a third level is not started.
constexpr int kMaxDepth = 2;
int gDepth = 0;

}  // namespace

namespace win {

void NotifyPaletteChanged(HWND changer) {
  if (gDepth >= kMaxDepth) return;
  ++gDepth;
  const std::vector<HWND> tops = user::FindWindow(user::DesktopHandle())->children;
  for (HWND t : tops)
    if (user::FindWindow(t)) SendMessage(t, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(changer), 0);
  --gDepth;
}

}  // namespace win
