// Key symbols of X11 as Windows virtual-key codes.
#pragma once

#include <X11/Xlib.h>

#include "win/types.h"

namespace win::display::x11 {

// The virtual-key code of a key symbol (as XLookupKeysym gives it for
// column 0), or 0 for a key Windows has no code for.
UINT VirtualKeyOf(KeySym sym);

}  // namespace win::display::x11
