// Cursor-font shapes by name ("left_ptr", "watch").
#pragma once

namespace win::display::x11 {

// The cursor-font glyph of a shape name; the arrow for a name it does not
// know.
unsigned int CursorFontShape(const char* name);

}  // namespace win::display::x11
