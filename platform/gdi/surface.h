// A framebuffer that GDI draws on: 32-bit pixels 0x00RRGGBB (bytes B, G, R,
// X in memory, the X byte always 0), rows top-down. Window surfaces, the
// screen, memory bitmaps and printer pages are all Surfaces.
//
// The display backend reads the damage list to send only what changed:
// every drawing operation adds the rectangle it touched (already clipped).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "win/types.h"

namespace win::gdi {

// How the pixels of a surface take colours:
//   Color: any 24-bit colour (memory bitmaps of explicit depth, printer pages).
//   Mono: only black (0x000000) and white (0xFFFFFF); a monochrome bitmap.
//   Display: follows the display's depth. At 24 bits any colour; at 8 or 4
//     bits only colours of the system palette, and raster operations act on
//     the palette indexes, as on a palette display. Window and screen
//     surfaces and bitmaps compatible with them are Display surfaces.
enum class PixelFormat : std::uint8_t { Color, Mono, Display };

class Surface {
 public:
  // Null when a side is below 1 or above ZEMRA_GDI_MAX_SIDE, or the pixels
  // would pass ZEMRA_GDI_MAX_BYTES. New pixels are `fill`.
  static std::unique_ptr<Surface> Create(int width, int height,
                                         PixelFormat format = PixelFormat::Color,
                                         std::uint32_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_; }  // in pixels (4 bytes each), not bytes
  PixelFormat format() const { return format_; }

  std::uint32_t* pixels() { return pixels_.data(); }
  const std::uint32_t* pixels() const { return pixels_.data(); }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // New size; the old pixels are kept where they overlap, the rest `fill`.
  // False (nothing changed) for a size Create would refuse.
  bool Resize(int width, int height, std::uint32_t fill = 0);
  void Fill(std::uint32_t pixel);  // the whole surface; adds it to the damage

  // Damage: rectangles (surface coordinates) changed since the last take.
  // Past 64 rectangles they are merged into their bounding box.
  void AddDamage(const RECT& r);
  const std::vector<RECT>& damage() const { return damage_; }
  std::vector<RECT> TakeDamage();

  // Counts changes of the pixels (any drawing); the display can skip a
  // surface whose count it has already seen.
  std::uint64_t changeCount() const { return changes_; }

 private:
  Surface(int width, int height, PixelFormat format);

  int width_;
  int height_;
  PixelFormat format_;
  std::vector<std::uint32_t> pixels_;
  std::vector<RECT> damage_;
  std::uint64_t changes_ = 0;
};

}  // namespace win::gdi
