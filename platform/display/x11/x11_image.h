// Sending rectangles of a backing store (0x00RRGGBB pixels) to an X window.
#pragma once

#include <X11/Xlib.h>

#include "gdi/surface.h"

namespace win::display::x11 {

class ImageSender {
 public:
  ImageSender(::Display* dpy, Visual* visual, int depth);
  // Copies `r` (surface coordinates, clipped here) of `s` to the same place
  // in `target`.
  void Send(Drawable target, GC gc, const gdi::Surface& s, const RECT& r);

 private:
  bool Direct() const;  // the visual takes our pixels as they are

  ::Display* dpy_;
  Visual* visual_;
  int depth_;
  unsigned long redMask_, greenMask_, blueMask_;
};

}  // namespace win::display::x11
