#include "x11_cursors.h"

#include <X11/cursorfont.h>

#include <cstring>

namespace win::display::x11 {
namespace {

struct Shape {
  const char* name;
  unsigned int glyph;
};

constexpr Shape kShapes[] = {
    {"left_ptr", XC_left_ptr},
    {"xterm", XC_xterm},
    {"watch", XC_watch},
    {"crosshair", XC_crosshair},
    {"cross", XC_cross},
    {"sb_up_arrow", XC_sb_up_arrow},
    {"sb_down_arrow", XC_sb_down_arrow},
    {"sb_left_arrow", XC_sb_left_arrow},
    {"sb_right_arrow", XC_sb_right_arrow},
    {"bottom_right_corner", XC_bottom_right_corner},
    {"bottom_left_corner", XC_bottom_left_corner},
    {"top_left_corner", XC_top_left_corner},
    {"top_right_corner", XC_top_right_corner},
    {"sb_h_double_arrow", XC_sb_h_double_arrow},
    {"sb_v_double_arrow", XC_sb_v_double_arrow},
    {"fleur", XC_fleur},
    {"circle", XC_circle},
    {"hand1", XC_hand1},
    {"hand2", XC_hand2},
    {"question_arrow", XC_question_arrow},
    {"arrow", XC_arrow},
    {"top_left_arrow", XC_top_left_arrow},
    {"pirate", XC_pirate},
    {"pencil", XC_pencil},
    {"plus", XC_plus},
    {"tcross", XC_tcross},
    {"X_cursor", XC_X_cursor},
    {"clock", XC_clock},
    {"exchange", XC_exchange},
};

}  // namespace

unsigned int CursorFontShape(const char* name) {
  if (name)
    for (const Shape& s : kShapes)
      if (std::strcmp(s.name, name) == 0) return s.glyph;
  return XC_left_ptr;
}

}  // namespace win::display::x11
