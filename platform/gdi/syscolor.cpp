// System colours of the Windows 95 standard scheme and their brushes.
#include "gdi/objects.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

constexpr int kColors = COLOR_INFOBK + 1;

constexpr COLORREF kScheme[kColors] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(192, 192, 192),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
};

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kColors) return 0;
  return kScheme[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kColors) return nullptr;
  static HBRUSH brushes[kColors] = {};
  // The table may have been cleared (ResetGdiState): make the brush again.
  if (!LookupBrush(brushes[index])) {
    Object o;
    o.kind = Kind::Brush;
    o.stock = true;
    BrushObj b;
    b.style = BS_SOLID;
    b.color = kScheme[index];
    o.data = std::move(b);
    brushes[index] = static_cast<HBRUSH>(AddObject(std::move(o)));
  }
  return brushes[index];
}
