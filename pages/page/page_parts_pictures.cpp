// Page parts made of pictures: the background picture and the palette of
// the cached pictures. The picture members of pages come with the objects
// that show server pictures and clusters.
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"
#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/vimage.h"

VObject* MakeImageMember(const RECT&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeClusterMember(const RECT&, const Area&, const Ref<KXObject>&) { return nullptr; }

VObject* MakeBackgroundPicture(const RECT& rect) {
  return new VImage(rect.left, rect.top, rect.right, rect.bottom, nullptr);
}

VPage* MakeCADPage() { return nullptr; }

HPALETTE LargestCachedPalette() {
  CDib* picture = TheImageCache().LargestPaletteImage();
  return picture ? picture->Palette() : nullptr;
}
