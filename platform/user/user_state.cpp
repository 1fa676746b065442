// The state of the USER layer as a whole.
#include "caret.h"
#include "display/display.h"
#include "input_queue.h"
#include "tracking.h"
#include "window_store.h"

namespace win {

bool IsHeadless() { return display::Active().IsHeadless(); }

void ResetUserState() {
  using namespace win::user;
  ResetTracking();
  ResetCaret();
  ClearWindowsAndClasses();
  ResetQueue();
  ResetInput();
  ResetTimers();
  ResetFocus();
  ResetCursors();
  ResetKeyboard();
  ResetMetrics();
  ResetMessageBoxes();
  if (display::Chosen()) {
    display::Display& d = display::Active();
    d.Reset();
    const SIZE size = d.ScreenSize();
    SetScreenSize(size.cx, size.cy);
  }
  // The standard controls, the dialog class and the menu window exist in a
  // fresh state as they do when the program starts.
  RegisterControlClasses();
}

}  // namespace win
