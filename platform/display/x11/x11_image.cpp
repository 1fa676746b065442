#include "x11_image.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace win::display::x11 {
namespace {

// Scales an 8-bit channel into a mask's bits.
unsigned long Channel(std::uint32_t value8, unsigned long mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const unsigned long max = mask >> shift;
  return ((value8 * max + 127) / 255) << shift;
}

}  // namespace

ImageSender::ImageSender(::Display* dpy, Visual* visual, int depth)
    : dpy_(dpy), visual_(visual), depth_(depth), redMask_(visual->red_mask),
      greenMask_(visual->green_mask), blueMask_(visual->blue_mask) {}

bool ImageSender::Direct() const {
  return (depth_ == 24 || depth_ == 32) && redMask_ == 0xFF0000 && greenMask_ == 0xFF00 &&
         blueMask_ == 0xFF;
}

void ImageSender::Send(Drawable target, GC gc, const gdi::Surface& s, const RECT& area) {
  const int x0 = std::max<int>(0, area.left), y0 = std::max<int>(0, area.top);
  const int x1 = std::min<int>(s.width(), area.right), y1 = std::min<int>(s.height(), area.bottom);
  if (x1 <= x0 || y1 <= y0) return;
  const unsigned w = static_cast<unsigned>(x1 - x0), h = static_cast<unsigned>(y1 - y0);
  if (Direct()) {
    // The store's rows as they are: 32 bits a pixel, blue first in memory.
    XImage* img = XCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                               const_cast<char*>(reinterpret_cast<const char*>(s.pixels())),
                               static_cast<unsigned>(s.width()), static_cast<unsigned>(s.height()),
                               32, s.width() * 4);
    if (!img) return;
    img->byte_order = LSBFirst;
    img->bitmap_bit_order = LSBFirst;
    XPutImage(dpy_, target, gc, img, x0, y0, x0, y0, w, h);
    img->data = nullptr;  // the store's pixels are not ours to free
    XDestroyImage(img);
    return;
  }
  // Any other true-colour visual: each pixel converted to its masks.
  XImage* img = XCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr, w, h,
                             32, 0);
  if (!img) return;
  std::vector<char> data(static_cast<size_t>(img->bytes_per_line) * h);
  img->data = data.data();
  for (unsigned y = 0; y < h; ++y) {
    const std::uint32_t* row = s.Row(y0 + static_cast<int>(y)) + x0;
    for (unsigned x = 0; x < w; ++x) {
      const std::uint32_t p = row[x];
      const unsigned long pixel = Channel((p >> 16) & 0xFF, redMask_) |
                                  Channel((p >> 8) & 0xFF, greenMask_) | Channel(p & 0xFF, blueMask_);
      XPutPixel(img, static_cast<int>(x), static_cast<int>(y), pixel);
    }
  }
  XPutImage(dpy_, target, gc, img, 0, 0, x0, y0, w, h);
  img->data = nullptr;
  XDestroyImage(img);
}

}  // namespace win::display::x11
