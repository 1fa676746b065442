// Colour conversions between COLORREF (0x00BBGGRR), surface pixels
// (0x00RRGGBB) and the values raster operations work on ("device values":
// the pixel itself on Color and Mono surfaces, the system-palette index on
// Display surfaces while the display has a palette).
#pragma once

#include <cstdint>

#include "gdi/surface.h"
#include "win/types.h"

namespace win::gdi {

inline std::uint32_t RgbToPixel(COLORREF c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF PixelToRgb(std::uint32_t px) {
  return ((px & 0xFFu) << 16) | (px & 0xFF00u) | ((px >> 16) & 0xFFu);
}

// A colour on a monochrome surface: white when bright enough.
inline std::uint32_t MonoPixel(std::uint32_t px) {
  unsigned sum = ((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF);
  return sum >= 384 ? 0xFFFFFFu : 0u;
}

// How raster operations see one surface. `format` is Display only while the
// display has a palette (a Display surface of a 24-bit display is Color).
struct DeviceSpace {
  PixelFormat format = PixelFormat::Color;
  std::uint32_t mask = 0xFFFFFFu;  // bits that a device value has

  std::uint32_t FromPixel(std::uint32_t px) const;    // a surface pixel
  std::uint32_t ToPixel(std::uint32_t value) const;   // back to a surface pixel
  std::uint32_t FromColor(std::uint32_t px) const;    // any 0x00RRGGBB colour, mapped
};

DeviceSpace SpaceOf(const Surface& s);

}  // namespace win::gdi
