// A DC's surface pixels handed to a caller that writes them itself (the
// frames of a film, converted straight into the window rather than into a
// picture that is then copied there). Only where drawing would reach every
// pixel of the rectangle anyway: all of it inside the DC's clip, on a
// true-colour surface, at one logical unit a pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win/types.h"

namespace win::gdi {

struct DirectPixels {
  std::uint32_t* first = nullptr;  // the rectangle's top-left pixel
  std::ptrdiff_t stride = 0;       // pixels from one row to the next
  RECT area{};                     // the rectangle on the surface
};

// The pixels under `rect` (the DC's logical coordinates), for writing as
// 0x00RRGGBB; false when the DC cannot hand them out.
bool BeginDirectPixels(HDC dc, const RECT& rect, DirectPixels* out);
// Counts the rectangle as drawn (the display sends it on).
void EndDirectPixels(HDC dc, const DirectPixels& pixels);

}  // namespace win::gdi
