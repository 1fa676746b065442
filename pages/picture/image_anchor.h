// A clickable region over a picture: a rectangle, circle or ellipse given
// as fractions of the picture (x from the left edge, y from the bottom).
#pragma once

#include <cstdint>

#include "mfc/cstring.h"

struct ImageAnchor {
  ImageAnchor() = default;
  // Parses "RECT x1 y1 x2 y2", "ELLIPSE x1 y1 x2 y2" or "CIRCLE x y r";
  // other texts give an anchor of shape 0 (never drawn nor hit), with a
  // logbook line.
  ImageAnchor(const char* text, std::int32_t id, std::int32_t active);

  char shape = 0;  // 'r', 'c', 'e' or 0
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double radius = 0;
  std::int32_t id = -1;
  std::int32_t active = 0;
};
