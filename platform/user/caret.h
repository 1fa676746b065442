// The caret's links to painting, scrolling and window destruction.
#pragma once

#include "win/user.h"

namespace win::user {

// BeginPaint hides the caret of the window it paints; EndPaint shows it.
void HideCaretWhilePainting(HWND wnd);
void ShowCaretAfterPainting(HWND wnd);
// ScrollWindowEx: the caret is hidden while pixels move and follows them
// when it lies in the scrolled rectangle (client coordinates).
void HideCaretForScroll(HWND wnd);
void ShowCaretAfterScroll(HWND wnd, const RECT& scrolled, int dx, int dy);
// The window is going away: its caret is forgotten (not drawn again).
void ForgetWindowCaret(HWND wnd);
void ResetCaret();

}  // namespace win::user
