// Labels draw their background pictures as picture objects do: from the
// image cache, for the page they are shown on (whose pictures the cache
// keeps while it is shown).
#include "pages/objects/label_picture.h"

#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/vimage.h"

LabelPictureInfo LookUpLabelPicture(const CString& name, const void* page) {
  LabelPictureInfo info;
  if (name.IsEmpty()) return info;
  const CDib* picture = TheImageCache().Load(name, 1, page);
  if (!picture) return info;
  info.loaded = true;
  info.transparent = picture->TransparentIndex() >= 0;
  return info;
}

bool DrawLabelPicture(CDC* dc, const RECT& clip, const RECT& target, const CString& name, int mode,
                      const void* page) {
  return VImage::DrawImage(dc, clip, target, name, static_cast<char>(mode), 0, 0, page) != 0;
}
