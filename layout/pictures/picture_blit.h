// Puts a picture (or a part of it) on a device context, stretched to a
// destination rectangle. A picture with a transparent colour index is drawn
// in two passes, a mask and the picture, through colour tables of their own:
// the picture's own bits and colours are only read, never changed, so a
// shared picture stays intact whatever is drawn with it.
#pragma once

#include "win/gdi.h"

class DibPicture;

// `src` counts from the picture's top-left corner. False without a DIB.
bool BlitPicture(HDC dc, const DibPicture& picture, const RECT& dst, const RECT& src);
