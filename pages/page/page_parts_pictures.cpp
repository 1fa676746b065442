// Page parts made of pictures: a server picture, a cluster of tiles, the
// CAD page, the background picture and the palette of the cached pictures.
#include "core/multilang_string.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"
#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/part_makers.h"
#include "pages/picture/vcad_page.h"
#include "pages/picture/vcluster.h"
#include "pages/picture/vimage.h"
#include "pages/picture/vkx_image.h"

VObject* MakeImageMember(const RECT& rect, const Ref<KXObject>& historyObject) {
  return new VKxImage(rect.left, rect.top, rect.right, rect.bottom, historyObject, 1);
}

VObject* MakeClusterMember(const RECT&, const Area& area, const Ref<KXObject>& historyObject) {
  return new VCluster(area, historyObject);
}

// Without a style that names a colour or a picture, the page's own
// background shows through.
VObject* MakeBackgroundPicture(const RECT& rect) {
  auto* picture = new VImage(rect.left, rect.top, rect.right, rect.bottom, nullptr);
  picture->SetBgColor(VImage::kTransparentColor);
  return picture;
}

VPage* MakeCADPage() { return new VCADPage; }

HPALETTE LargestCachedPalette() {
  CDib* picture = TheImageCache().LargestPaletteImage();
  return picture ? picture->Palette() : nullptr;
}

namespace {

VObject* MakeTitle(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle) {
  return VTitle::Create(area, object, partStyle);
}

VObject* MakeButton(int left, int top, int right, int bottom, const char* caption) {
  return new VLabel(left, top, right, bottom, VLabel::kBorder3d | VLabel::kAlignCenter,
                    MultiLangString::Compose(caption));
}

// The picture objects' titles and paging buttons are the standard ones.
const bool kMakersInstalled = [] {
  SetPartMakers(PartMakers{&MakeTitle, &MakeButton});
  return true;
}();

}  // namespace
