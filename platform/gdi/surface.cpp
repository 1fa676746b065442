#include "gdi/surface.h"

#include <algorithm>

#include "win/gdi.h"

namespace win::gdi {
namespace {

constexpr std::size_t kMaxDamageRects = 64;

bool SizeAllowed(int width, int height) {
  if (width < 1 || height < 1 || width > ZEMRA_GDI_MAX_SIDE || height > ZEMRA_GDI_MAX_SIDE) {
    return false;
  }
  std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * 4u;
  return bytes <= ZEMRA_GDI_MAX_BYTES;
}

}  // namespace

Surface::Surface(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format) {}

std::unique_ptr<Surface> Surface::Create(int width, int height, PixelFormat format,
                                         std::uint32_t fill) {
  if (!SizeAllowed(width, height)) return nullptr;
  std::unique_ptr<Surface> s(new Surface(width, height, format));
  s->pixels_.assign(std::size_t(width) * std::size_t(height), fill & 0xFFFFFFu);
  return s;
}

bool Surface::Resize(int width, int height, std::uint32_t fill) {
  if (!SizeAllowed(width, height)) return false;
  std::vector<std::uint32_t> next(std::size_t(width) * std::size_t(height), fill & 0xFFFFFFu);
  int w = std::min(width, width_);
  int h = std::min(height, height_);
  for (int y = 0; y < h; ++y) {
    std::copy_n(Row(y), w, next.data() + std::size_t(y) * width);
  }
  pixels_.swap(next);
  width_ = width;
  height_ = height;
  damage_.clear();
  AddDamage(RECT{0, 0, width, height});
  return true;
}

void Surface::Fill(std::uint32_t pixel) {
  std::fill(pixels_.begin(), pixels_.end(), pixel & 0xFFFFFFu);
  AddDamage(RECT{0, 0, width_, height_});
}

void Surface::AddDamage(const RECT& in) {
  RECT r{std::max<LONG>(in.left, 0), std::max<LONG>(in.top, 0), std::min<LONG>(in.right, width_),
         std::min<LONG>(in.bottom, height_)};
  if (r.left >= r.right || r.top >= r.bottom) return;
  ++changes_;
  for (RECT& d : damage_) {
    if (r.left >= d.left && r.top >= d.top && r.right <= d.right && r.bottom <= d.bottom) return;
  }
  damage_.push_back(r);
  if (damage_.size() > kMaxDamageRects) {
    RECT u = damage_.front();
    for (const RECT& d : damage_) {
      u.left = std::min(u.left, d.left);
      u.top = std::min(u.top, d.top);
      u.right = std::max(u.right, d.right);
      u.bottom = std::max(u.bottom, d.bottom);
    }
    damage_.assign(1, u);
  }
}

std::vector<RECT> Surface::TakeDamage() {
  std::vector<RECT> out;
  out.swap(damage_);
  return out;
}

}  // namespace win::gdi
