// Page transitions: a new picture, drawn first into an off-screen device
// context, is brought onto the window by one of eleven effects - random
// blocks, sweeping lines, a spiral, sliding strips or a growing zoom - made
// of plain copies (SRCCOPY) from the off-screen context.
#pragma once

#include "win/types.h"

// Effect numbers, as styles and scripts name them.
enum TransitionEffect : int {
  kTransitionNone = 0,
  kTransitionPixelStorm = 1,
  kTransitionDrawLeft = 2,
  kTransitionDrawRight = 3,
  kTransitionDrawTop = 4,
  kTransitionDrawBottom = 5,
  kTransitionRondell = 6,
  kTransitionScrollLeft = 7,
  kTransitionScrollRight = 8,
  kTransitionScrollTop = 9,
  kTransitionScrollBottom = 10,
  kTransitionResize = 11,
  kTransitionRandom = 12
};

// 0 for null, "" and "NONE"; the leading digits of a text that begins with
// one (held at the int range); the number of a name of the table (exact
// case); -1 for anything else.
int TransitionFromName(const char* text);

// Brings the source's rectangle onto the target with the effect; the
// rectangle is in the coordinates of both. A negative left or top counts
// as 0; an empty rectangle draws nothing, and nothing is drawn outside it. RANDOM picks one of 0 to 11 with
// the runtime's rand(); unknown numbers copy the whole area once. Returns
// how many copies were drawn.
long PaintTransition(HDC target, HDC source, int left, int top, int right, int bottom,
                     int effect);
