// What the standard controls share: their colours from the parent
// (WM_CTLCOLOR*), notifications, fonts, and the Windows 95 drawing of text
// and edges.
#pragma once

#include <string>

#include "win/gdi.h"
#include "win/user.h"

namespace win::user {

// WM_CTLCOLOR* to the parent; a brush answered is used as it is (with the
// DC's colours as the parent left them), otherwise the default colours are
// set in the DC and the default brush is given.
HBRUSH ControlColor(HWND ctl, HDC dc, UINT ctlColorMsg);
// The default answer to WM_CTLCOLOR* (sets the DC's colours).
HBRUSH DefaultControlColor(UINT ctlColorMsg, HDC dc);

// WM_COMMAND (MAKEWPARAM(id, code), ctl) to the parent.
void NotifyParent(HWND ctl, WORD code);

// The window's font (WM_GETFONT), or the system font.
HFONT ControlFont(HWND ctl);

// The window text as a string.
std::string WindowTextOf(HWND wnd);

// Text with the state of its control: greyed (embossed, the Windows 95 way)
// when `disabled`; otherwise in the DC's text colour. Transparent.
void DrawControlText(HDC dc, const std::string& text, RECT rect, UINT format, bool disabled);

// The dotted focus rectangle (exclusive-or: drawing it twice removes it).
void DrawFocus(HDC dc, RECT r);

// `r` filled with one colour.
void FillSolid(HDC dc, const RECT& r, COLORREF color);

// The character after the first single '&' of a text, lower case; 0 when
// there is none.
char MnemonicOf(const std::string& text);

// The height of one line of `font` (the system font when null) as the
// control `ctl` would draw it, measured on the screen when the control has
// no surface yet (a list never shown); 0 when it cannot be measured.
int LineHeightOf(HWND ctl, HFONT font);

// MulDiv as Windows rounds it (half away from zero); 0 divisor gives -1.
int MulDivRound(int a, int b, int c);

}  // namespace win::user
