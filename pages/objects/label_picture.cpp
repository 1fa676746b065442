// Until the image cache exists, labels have no pictures to show: a label
// with a background picture draws its frame and caption over what lies
// under it, as it does for a picture that cannot be read.
#include "pages/objects/label_picture.h"

LabelPictureInfo LookUpLabelPicture(const CString&, const void*) { return {}; }

bool DrawLabelPicture(CDC*, const RECT&, const RECT&, const CString&, int, const void*) {
  return false;
}
