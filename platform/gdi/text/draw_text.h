// DrawText: lines laid out by the LineBreaker, placed in the rectangle by the
// DT_ alignment flags, drawn with the DC's colours and background mode, with
// the prefix character underlined, or only measured with DT_CALCRECT.
//
// The DC's text alignment is not used: lines are placed by their top-left
// corner. DT_VCENTER and DT_BOTTOM act only with DT_SINGLELINE. DT_CALCRECT
// keeps the rectangle's left and top and sets right and bottom to bound the
// text (with DT_WORDBREAK, lines are broken at the rectangle's width first).
// The ellipsis flags, DT_INTERNAL, DT_EDITCONTROL and DT_RTLREADING are not
// supported (ignored).
#pragma once

#include "gdi/dc.h"
#include "gdi/fonts/real_font.h"

namespace win::gdi::text {

// The height of the text; with DT_VCENTER or DT_BOTTOM (single line), the
// offset from the rectangle's top to the bottom of the text.
int DrawTextLines(DcRecord& dc, fonts::RealFont& font, const char* text, int length, RECT* rect,
                  UINT format);

}  // namespace win::gdi::text
