// Raw input from the display, and how it becomes messages. Both display
// backends (and the headless test API) hand their events to QueueInput;
// the queue turns each into the messages Windows would produce when it is
// taken: hit testing, WM_SETCURSOR, capture, mouse activation, double
// clicks, the focus window for keys.
#pragma once

#include <cstdint>

#include "win/user.h"

namespace win::user {

enum class InputKind : std::uint8_t {
  MouseMove,
  ButtonDown,
  ButtonUp,
  KeyDown,
  KeyUp,
  Close,      // the display's close request for `top` (WM_CLOSE)
  Activate,   // the display gave `top` the input focus
  Configure,  // the display moved or sized `top` to `rect`
  Command,    // the window manager's minimize or restore (WM_SYSCOMMAND `command`)
};

enum class MouseButton : std::uint8_t { Left, Right, Middle };

struct RawInput {
  InputKind kind = InputKind::MouseMove;
  // The top-level window the display saw the event in; null: the window is
  // found from the position (the headless display).
  HWND top = nullptr;
  POINT pt{0, 0};  // screen coordinates of the pointer
  MouseButton button = MouseButton::Left;
  UINT vk = 0;        // Windows virtual-key code
  UINT scan = 0;      // scan code for lParam bits 16-23
  int character = -1;  // what the key makes on the display's layout; -1: US layout from vk
  RECT rect{};        // Configure: the new window rectangle (screen)
  WPARAM command = 0;  // Command: SC_MINIMIZE, SC_RESTORE
};

// Queues an event (time-stamped now). Consecutive pointer moves are merged.
// At most 10000 wait; more are dropped.
void QueueInput(const RawInput& input);
// Whether raw or cooked input is waiting.
bool InputWaiting();

// For the message queue: the first input message the filter admits, cooking
// raw events as needed; with `remove` it is taken.
bool TakeInput(HWND filterWnd, UINT first, UINT last, bool remove, MSG* out);
// The character the display reported for a key message taken from the
// queue; -1 when it reported none (TranslateMessage then uses the US layout).
int DisplayCharacterOf(const MSG& msg);

void ForgetWindowInput(HWND wnd);
void ResetInput();

// Keyboard and button state as the display reports it (keyboard.cpp).
void NoteAsyncKey(UINT vk, bool down);
bool AsyncKeyDown(UINT vk);

// VK_MENU or VK_F10 while that key was the last key or button pressed in
// the messages taken (the release of such a key opens the menu bar); 0
// otherwise. The menu forgets it when it closes.
UINT MenuKeyAlone();
void ForgetMenuKey();

}  // namespace win::user
