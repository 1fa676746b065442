// The state of the USER layer as a whole.
#include "window_store.h"

namespace win {

bool IsHeadless() { return true; }

void ResetUserState() {
  using namespace win::user;
  ClearWindowsAndClasses();
  ResetQueue();
  ResetTimers();
  ResetFocus();
  ResetCursors();
  ResetKeyboard();
  ResetMetrics();
  ResetMessageBoxes();
}

}  // namespace win
