// The display behind the window system: where the backing stores of the
// top-level windows are shown and where mouse and keyboard input comes from.
// Two backends: headless (framebuffers in memory, input injected by tests,
// display/headless.h) and X11 (one X window per top-level window).
//
// The window system tells the display what changed; the display reads the
// window records itself (through user/display_link.h) and makes its side
// match, and turns what arrives into raw input for the USER queue
// (user/input_queue.h). Everything runs on the window thread.
#pragma once

#include <memory>
#include <string>

#include "win/types.h"

namespace win::display {

class Display {
 public:
  virtual ~Display() = default;

  virtual bool IsHeadless() const = 0;
  // The screen size the display reports (SetScreenSize follows it).
  virtual SIZE ScreenSize() const = 0;

  // A top-level window was created, moved, sized, shown, hidden, renamed,
  // minimized or restacked: make the display match its record.
  virtual void WindowChanged(HWND top) = 0;
  virtual void WindowDestroyed(HWND top) = 0;
  // Show the changed rectangles of every top-level window's backing store.
  virtual void Flush() = 0;
  // The current cursor or its show count changed.
  virtual void CursorChanged() = 0;
  // Takes in what has arrived, without waiting.
  virtual void Poll() = 0;
  // Waits until input arrives or `timeoutMs` passes (kForever: no limit),
  // and takes it in.
  static constexpr DWORD kForever = 0xFFFFFFFF;
  virtual void Wait(DWORD timeoutMs) = 0;
  // The descriptor that becomes readable when input arrives, for a wait
  // that watches other descriptors too; -1 when there is none. Poll()
  // first: input already taken off the connection shows only there.
  virtual int InputDescriptor() const { return -1; }
  // Sends what is waiting, waits until the server has done it, and answers
  // the exposures that brought back: afterwards another client of the
  // server (a screenshot) sees what was shown. Nothing to do headless.
  virtual void Sync() = 0;
  // Every window is gone (ResetUserState): forget them.
  virtual void Reset() = 0;
};

// The display in use, chosen on first use: X11 when DISPLAY is set and
// ZEMRA_HEADLESS is not 1 and the server answers; headless otherwise.
Display& Active();
// Whether a display has been chosen yet.
bool Chosen();

// Replaces the display (tests: switching to an X server they started). The
// caller resets the USER state first; the screen size follows the new one.
void Use(std::unique_ptr<Display> display);
std::unique_ptr<Display> MakeHeadless();
// Null, and `error` says why, when the server cannot be reached or the X11
// module cannot be loaded (`name` null: $DISPLAY).
std::unique_ptr<Display> MakeX11(const char* name, std::string* error = nullptr);

}  // namespace win::display
