// The window-creation hook through which the application framework attaches
// its window objects to new windows before their first message.
#include "win/user.h"

namespace {
win::WindowCreationHook gHook = nullptr;
}  // namespace

namespace win {

WindowCreationHook SetWindowCreationHook(WindowCreationHook hook) {
  WindowCreationHook old = gHook;
  gHook = hook;
  return old;
}

void CallWindowCreationHook(HWND wnd, CREATESTRUCT* cs) {
  if (gHook) gHook(wnd, cs);
}

}  // namespace win
