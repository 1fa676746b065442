// The system's own mouse tracking, started by DefWindowProc on a press in
// the non-client area: scroll bars, moving a window by its caption, and
// the caption's close button. While one runs, mouse input goes to it
// instead of becoming messages, and the tracked window has the capture.
#pragma once

#include "win/user.h"

namespace win::user {

bool TrackerActive();
// A mouse event for the running tracker (screen coordinates).
enum class TrackEvent { Move, Down, Up };
void TrackerMouse(TrackEvent event, POINT screen);

void StartScrollTracking(HWND wnd, int bar, POINT screen);
void StartMoveTracking(HWND wnd, POINT screen);
void StartCloseTracking(HWND wnd);
// Ends a running tracker without its final messages (window destroyed,
// capture taken away).
void CancelTracking();
// Forgets a running tracker without sending anything (ResetUserState).
void ResetTracking();

// What the scroll-bar painter needs to draw a pressed part: the part of
// (wnd, bar) that is pressed now, and where the dragged thumb is.
enum class ScrollPart { None, ArrowUp, PageUp, Thumb, PageDown, ArrowDown };
ScrollPart PressedScrollPart(HWND wnd, int bar);
// The pixel offset of a dragged thumb from the bar's start, or -1.
int DraggedThumbOffset(HWND wnd, int bar);
bool ClosePressed(HWND wnd);

}  // namespace win::user
