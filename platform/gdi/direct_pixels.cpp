#include "gdi/direct_pixels.h"

#include "gdi/dc.h"
#include "gdi/color.h"
#include "gdi/region.h"
#include "gdi/surface.h"

namespace win::gdi {

bool BeginDirectPixels(HDC h, const RECT& rect, DirectPixels* out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out || rect.right <= rect.left || rect.bottom <= rect.top) return false;
  Surface* s = DcSurface(*dc);
  if (!s || SpaceOf(*s).format != PixelFormat::Color) return false;
  const RECT area = LogicalRectToSurface(*dc, rect);
  if (area.right - area.left != rect.right - rect.left || area.bottom - area.top != rect.bottom - rect.top) return false;
  if (!EffectiveClip(*dc).ContainsRect(area)) return false;
  out->first = s->Row(area.top) + area.left;
  out->stride = s->stride();
  out->area = area;
  return true;
}

void EndDirectPixels(HDC h, const DirectPixels& pixels) {
  if (DcRecord* dc = LookupDc(h)) NoteDrawn(*dc, pixels.area);
}

}  // namespace win::gdi
