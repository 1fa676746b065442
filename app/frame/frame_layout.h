// Where the main window and its page area lie: the rectangles of the INIT
// settings MainWindow and Window, and the background colour.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

// Four numbers x, y, width and height, each optionally followed by a comma,
// read within `bounds`. A missing text gives the bounds; a width of 0 or a
// missing one spans the bounds; a width wider than the bounds is cut to
// them before an x outside the bounds centres the rectangle; a rectangle
// reaching past the right edge is cut there. The same for y and the height.
RECT ParseWindowRect(const char* text, const RECT& bounds);

// "0xRRGGBB" as a Windows colour (red in the low byte); black when it does
// not read.
COLORREF ParseWindowColor(const char* text);

// The page area in the frame's client coordinates, as the frame set it at
// creation (empty before); every page is made in it.
RECT FramePageArea();
void SetFramePageArea(const RECT& area);
// The background colour the frame fills with (black before creation).
COLORREF FrameBackground();
void SetFrameBackground(COLORREF color);
