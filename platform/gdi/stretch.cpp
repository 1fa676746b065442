#include "gdi/stretch.h"

#include <algorithm>
#include <cstring>

#include "gdi/rop.h"
#include "gdi/vector_width.h"

namespace win::gdi {
namespace {

// out[i] = the pixel at offset k[i] of the fetched row, fourth byte cleared.
ZEMRA_VECTOR_BODY void GatherPixelsBody(std::uint32_t* __restrict out, const std::uint32_t* __restrict from,
                  const std::uint32_t* __restrict k, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = from[k[i]] & 0xFFFFFFu;
}
ZEMRA_VECTOR_VERSIONS(GatherPixels, GatherPixelsBody,
                      (std::uint32_t* __restrict out, const std::uint32_t* __restrict from, const std::uint32_t* __restrict k, std::size_t n),
                      (out, from, k, n))

// out[i] = from[i], fourth byte cleared: the gather of an unstretched row.
ZEMRA_VECTOR_BODY void CopyPixelsBody(std::uint32_t* __restrict out, const std::uint32_t* __restrict from, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = from[i] & 0xFFFFFFu;
}
ZEMRA_VECTOR_VERSIONS(CopyPixels, CopyPixelsBody,
                      (std::uint32_t* __restrict out, const std::uint32_t* __restrict from, std::size_t n),
                      (out, from, n))

// out[i] = the 32-bit pixel at byte 4 * i of `from`, fourth byte cleared.
ZEMRA_VECTOR_BODY void CopyPixelBytesBody(std::uint32_t* __restrict out, const std::uint8_t* __restrict from, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t v;
    std::memcpy(&v, from + 4 * i, 4);
    out[i] = v & 0xFFFFFFu;
  }
}
ZEMRA_VECTOR_VERSIONS(CopyPixelBytes, CopyPixelBytesBody,
                      (std::uint32_t* __restrict out, const std::uint8_t* __restrict from, std::size_t n),
                      (out, from, n))

// The surface rectangle a stretch may touch, its corners kept in range.
RECT AreaOf(const AxisMap& ax, const AxisMap& ay) {
  const std::int64_t lim = 1 << 28;
  return RECT{LONG(std::clamp<std::int64_t>(ax.dst, -lim, lim)), LONG(std::clamp<std::int64_t>(ay.dst, -lim, lim)),
              LONG(std::clamp<std::int64_t>(ax.dst + ax.dstLen, -lim, lim)),
              LONG(std::clamp<std::int64_t>(ay.dst + ay.dstLen, -lim, lim))};
}

}  // namespace

AxisMap MakeAxis(std::int64_t dst, std::int64_t dstExt, std::int64_t src, std::int64_t srcExt) {
  AxisMap a;
  bool dneg = dstExt < 0, sneg = srcExt < 0;
  a.dstLen = dneg ? -dstExt : dstExt;
  a.srcLen = sneg ? -srcExt : srcExt;
  a.dst = dneg ? dst + dstExt + 1 : dst;
  a.src = sneg ? src + srcExt + 1 : src;
  a.mirror = dneg != sneg;
  return a;
}

void RunStretch(DcRecord& dst, const AxisMap& ax, const AxisMap& ay, std::uint8_t rop,
                const Ink& ink, const RowFetch& fetch) {
  if (ax.dstLen <= 0 || ay.dstLen <= 0 || ax.srcLen <= 0 || ay.srcLen <= 0) return;
  Surface* s = DcSurface(dst);
  if (!s) return;
  Region clipped = EffectiveClip(dst).IntersectRect(AreaOf(ax, ay));
  if (clipped.IsEmpty()) return;
  DeviceSpace space = SpaceOf(*s);
  const bool usesSrc = RopUsesSource(rop);
  RECT bounds = clipped.Bounds();
  // Source columns of the destination columns in the clipped bounds.
  std::vector<std::int64_t> cols(std::size_t(bounds.right - bounds.left));
  std::int64_t sx0 = INT64_MAX, sx1 = INT64_MIN;
  for (LONG x = bounds.left; x < bounds.right; ++x) {
    std::int64_t c = ax.Map(x);
    cols[std::size_t(x - bounds.left)] = c;
    sx0 = std::min(sx0, c);
    sx1 = std::max(sx1, c + 1);
  }
  std::vector<std::uint32_t> srcRow(usesSrc ? std::size_t(sx1 - sx0) : 0);
  std::vector<std::uint8_t> srcValid(usesSrc ? std::size_t(sx1 - sx0) : 0);
  std::vector<std::uint32_t> span;
  std::vector<std::uint8_t> keep;
  std::int64_t cachedRow = INT64_MIN;
  bool cachedAllValid = false;
  // A plain copy onto a true-colour surface writes the pixels straight from
  // the fetched row, and a destination row that takes the same source row
  // as the one above it is a copy of that row.
  const bool directCopy = rop == 0xCC && space.format != PixelFormat::Display;
  std::vector<std::uint32_t> offsets;
  // Columns taken one for one (no stretch, no mirror): rows are copied, not
  // gathered.
  bool unstretched = true;
  if (directCopy) {
    offsets.resize(cols.size());
    for (std::size_t i = 0; i < cols.size(); ++i) {
      offsets[i] = std::uint32_t(cols[i] - sx0);
      unstretched = unstretched && offsets[i] == offsets[0] + i;
    }
  }
  for (const RECT& r : clipped.Rects()) {
    std::int64_t rowAbove = INT64_MIN;  // the source row of y - 1 when it was copied directly
    for (LONG y = r.top; y < r.bottom; ++y) {
      if (!usesSrc) {
        PaintSpan(*s, space, y, r.left, r.right, rop, nullptr, &ink);
        continue;
      }
      std::int64_t sy = ay.Map(y);
      if (sy != cachedRow) {
        std::fill(srcValid.begin(), srcValid.end(), std::uint8_t(1));
        fetch(sy, sx0, sx1, srcRow.data(), srcValid.data());
        cachedRow = sy;
        cachedAllValid = srcValid.empty() || std::memchr(srcValid.data(), 0, srcValid.size()) == nullptr;
      }
      std::size_t n = std::size_t(r.right - r.left);
      if (directCopy && cachedAllValid) {
        std::uint32_t* out = s->Row(y) + r.left;
        if (sy == rowAbove) {
          std::copy_n(s->Row(y - 1) + r.left, n, out);
        } else if (unstretched) {
          CopyPixels(out, srcRow.data() + offsets[std::size_t(r.left - bounds.left)], n);
        } else {
          GatherPixels(out, srcRow.data(), offsets.data() + (r.left - bounds.left), n);
        }
        rowAbove = sy;
        continue;
      }
      rowAbove = INT64_MIN;
      span.resize(n);
      keep.resize(n);
      bool any = false, all = true;
      for (std::size_t i = 0; i < n; ++i) {
        std::size_t k = std::size_t(cols[std::size_t(r.left - bounds.left) + i] - sx0);
        span[i] = srcRow[k];
        keep[i] = srcValid[k];
        any = any || keep[i];
        all = all && keep[i];
      }
      if (!any) continue;
      PaintSpan(*s, space, y, r.left, r.right, rop, span.data(), &ink, all ? nullptr : keep.data());
    }
    NoteDrawn(dst, r);
  }
}

bool CopyPixelRows(DcRecord& dst, const AxisMap& ax, const AxisMap& ay, std::uint8_t rop,
                   const PixelRows& src) {
  if (rop != 0xCC || ax.mirror || ay.mirror || ax.dstLen <= 0 || ay.dstLen <= 0 || ax.srcLen != ax.dstLen ||
      ay.srcLen != ay.dstLen || !src.bits || src.stride < src.width * 4) {
    return false;
  }
  Surface* s = DcSurface(dst);
  if (!s || SpaceOf(*s).format != PixelFormat::Color) return false;
  Region clipped = EffectiveClip(dst).IntersectRect(AreaOf(ax, ay));
  if (clipped.IsEmpty()) return true;
  // Unstretched, destination d takes source src + (d - dst) on each axis.
  const RECT b = clipped.Bounds();
  const std::int64_t dx = ax.src - ax.dst, dy = ay.src - ay.dst;
  if (b.left + dx < 0 || b.right + dx > src.width || b.top + dy < src.first ||
      b.bottom + dy > src.first + src.count) {
    return false;
  }
  for (const RECT& r : clipped.Rects()) {
    const std::size_t n = std::size_t(r.right - r.left);
    for (LONG y = r.top; y < r.bottom; ++y) {
      const std::int64_t row = y + dy;
      const std::int64_t stored = src.bottomUp ? src.first + src.count - 1 - row : row - src.first;
      CopyPixelBytes(s->Row(y) + r.left, src.bits + stored * src.stride + (r.left + dx) * 4, n);
    }
    NoteDrawn(dst, r);
  }
  return true;
}

}  // namespace win::gdi
