// Rendering preview pages and shrinking them by area averaging.
#include "print/preview_render.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/dc.h"
#include "win/gdi.h"

namespace win::print {

std::unique_ptr<gdi::Surface> RenderPreviewPage(HDC dc, UINT page, const RenderPageFn& render) {
  gdi::DcRecord* rec = gdi::LookupDc(dc);
  if (!rec || rec->kind != gdi::DcKind::Printer || !render) return nullptr;
  gdi::Surface* surface = gdi::DcSurface(*rec);
  if (!surface) return nullptr;
  surface->Fill(0xFFFFFF);
  const int saved = SaveDC(dc);
  const bool drawn = render(dc, page);
  if (saved > 0) RestoreDC(dc, saved);
  if (!drawn) return nullptr;
  // The DC may have gone in the callback; look it up again.
  rec = gdi::LookupDc(dc);
  surface = rec ? gdi::DcSurface(*rec) : nullptr;
  if (!surface) return nullptr;
  auto copy = gdi::Surface::Create(surface->width(), surface->height());
  if (!copy) return nullptr;
  std::memcpy(copy->pixels(), surface->pixels(),
              static_cast<std::size_t>(surface->width()) * surface->height() * sizeof(std::uint32_t));
  return copy;
}

std::unique_ptr<gdi::Surface> ScalePicture(const gdi::Surface& src, int width, int height) {
  auto dst = gdi::Surface::Create(width, height);
  if (!dst) return nullptr;
  const int sw = src.width();
  const int sh = src.height();
  // Source columns and rows each destination pixel covers: [first, end).
  auto spans = [](int srcSize, int dstSize) {
    std::vector<int> first(static_cast<std::size_t>(dstSize) + 1);
    for (int i = 0; i <= dstSize; ++i) {
      first[static_cast<std::size_t>(i)] =
          static_cast<int>(static_cast<std::int64_t>(i) * srcSize / dstSize);
    }
    return first;
  };
  const std::vector<int> xs = spans(sw, width);
  const std::vector<int> ys = spans(sh, height);
  // 64 bits: one destination pixel may cover the whole of a large page.
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    const int y0 = ys[static_cast<std::size_t>(y)];
    const int y1 = std::max(ys[static_cast<std::size_t>(y) + 1], y0 + 1);
    std::fill(sums.begin(), sums.end(), std::uint64_t{0});
    for (int sy = y0; sy < y1 && sy < sh; ++sy) {
      const std::uint32_t* row = src.Row(sy);
      for (int x = 0; x < width; ++x) {
        const int x0 = xs[static_cast<std::size_t>(x)];
        const int x1 = std::max(xs[static_cast<std::size_t>(x) + 1], x0 + 1);
        std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 3];
        for (int sx = x0; sx < x1 && sx < sw; ++sx) {
          s[0] += (row[sx] >> 16) & 0xFF;
          s[1] += (row[sx] >> 8) & 0xFF;
          s[2] += row[sx] & 0xFF;
        }
      }
    }
    std::uint32_t* out = dst->Row(y);
    const std::uint64_t rows = static_cast<std::uint64_t>(std::min(y1, sh) - y0);
    for (int x = 0; x < width; ++x) {
      const int x0 = xs[static_cast<std::size_t>(x)];
      const int x1 = std::max(xs[static_cast<std::size_t>(x) + 1], x0 + 1);
      const std::uint64_t n = rows * static_cast<std::uint64_t>(std::min(x1, sw) - x0);
      const std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 3];
      auto mean = [n](std::uint64_t sum) { return static_cast<std::uint32_t>((sum + n / 2) / n); };
      out[x] = n == 0 ? 0xFFFFFFu : (mean(s[0]) << 16) | (mean(s[1]) << 8) | mean(s[2]);
    }
  }
  return dst;
}

}  // namespace win::print
