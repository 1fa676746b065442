// Screen-relative coordinates of the style, script and page texts: unsigned
// decimal numbers, each optionally a fraction of the screen ("n/d" means
// n * screen width or height / d), read into values, points, rectangles and
// areas.
#pragma once

#include "core/rect_sink.h"
#include "win/types.h"

// The screen rectangle the coordinates are measured against. Until the page
// layer sets it, the display's: (0, 0, SM_CXSCREEN, SM_CYSCREEN), asked anew
// on each call.
RECT GetScreenRect();
void SetScreenRect(const RECT& rect);
// Back to following the display.
void ResetScreenRect();

// v * screen width (height) / d; v unchanged when d < 1 or v is 0. Results
// beyond the int range are held at its ends.
int ScaleToScreenWidth(int v, int d);
int ScaleToScreenHeight(int v, int d);

// Skips white space and reads an unsigned decimal number, leaving the
// cursor behind it; -1 at the end of the text or when no digit follows.
// Numbers beyond the int range are held at its largest value.
int ReadNumber(const char*& cursor);
// A number, optional white space, and optionally "/" and a divisor; -1 when
// the number is missing; else the number scaled to the screen width
// (horizontal) or height by the divisor (no divisor: as it stands).
int ReadCoord(const char*& cursor, bool horizontal);

// One vertical coordinate; -1 for a null text.
int ReadValue(const char* text);
// x (horizontal) and y (vertical); a missing number counts as -1.
POINT ReadPoint(const char* text);
// x, y, w, h as {x, y, x + w, y + h}; a missing number counts as -1.
RECT ReadRect(const char* text);
// Rectangles of x, y, w, h one after another until the text ends, each
// added to `area`. False for a null or blank text or when a number is
// missing (the rectangles read before stay added).
bool ReadArea(const char* text, RectSink& area);
