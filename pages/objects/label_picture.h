// The background pictures of labels: looked up in the image cache and
// drawn into the label's rectangle by a picture display mode.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class CDC;

struct LabelPictureInfo {
  bool loaded = false;       // the cache holds the picture
  bool transparent = false;  // the picture has a transparent colour
};

// Loads the picture into the image cache when it can; `page` is the page
// it is shown on (or null).
LabelPictureInfo LookUpLabelPicture(const CString& name, const void* page);
// Draws the named picture into `target`, clipped to `clip`; false when
// there is no picture to draw.
bool DrawLabelPicture(CDC* dc, const RECT& clip, const RECT& target, const CString& name, int mode,
                      const void* page);
