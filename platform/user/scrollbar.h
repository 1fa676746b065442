// The standard scroll bars of windows: their state, layout, parts and
// drawing (the Windows 95 look).
#pragma once

#include "tracking.h"
#include "window_store.h"

namespace win::user {

// Null for a bar other than SB_HORZ / SB_VERT.
ScrollBarState* BarState(Window& w, int bar);

// A bar laid out along its length: `rect` in window coordinates, arrows of
// `arrow` pixels at both ends, and the thumb `thumbSize` long at
// `thumbOffset` from the bar's start (no thumb when hasThumb is false).
struct BarGeometry {
  RECT rect{};
  bool vertical = true;
  int length = 0;
  int arrow = 0;
  int thumbOffset = 0;
  int thumbSize = 0;
  bool hasThumb = false;
};
BarGeometry MeasureBar(const Window& w, int bar);
// The part under a point in window coordinates (None outside the bar, on
// a disabled arrow, or anywhere on a disabled bar).
ScrollPart PartAt(const Window& w, int bar, const BarGeometry& g, POINT windowPoint);
// The position a thumb dragged to `thumbOffset` stands for.
int ThumbValueAt(const ScrollBarState& s, const BarGeometry& g, int thumbOffset);
// The highest position: max - (page - 1) for a page, else max.
int MaxScrollPos(const ScrollBarState& s);

// Draws a bar with a window DC (window coordinates).
void PaintScrollBar(HDC dc, HWND wnd, int bar);
// Draws the bar now when it is shown.
void RedrawScrollBar(HWND wnd, int bar);

// A raised Windows 95 button face (scroll arrows, thumb, caption buttons):
// pressed ones are flat with a shadow line.
void DrawButtonFace(HDC dc, const RECT& r, bool pressed);

}  // namespace win::user
