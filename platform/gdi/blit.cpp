// BitBlt and StretchBlt between DCs.
#include <algorithm>
#include <vector>

#include "gdi/color.h"
#include "gdi/dc_internal.h"
#include "gdi/paint.h"
#include "gdi/rop.h"
#include "gdi/stretch.h"
#include "gdi/vector_width.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

// Surface pixels keep no fourth byte. The two rows never overlap. Built
// for the widest vectors the processor has: the copy runs from the caches,
// so the vector width is what limits it.
ZEMRA_VECTOR_BODY void CopyPixelsBody(std::uint32_t* __restrict out, const std::uint32_t* __restrict in, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = in[i] & 0xFFFFFFu;
}
ZEMRA_VECTOR_VERSIONS(CopyPixels, CopyPixelsBody,
                      (std::uint32_t* __restrict out, const std::uint32_t* __restrict in, std::size_t n),
                      (out, in, n))

// A plain copy at the same size between true-colour surfaces: each clipped
// destination row takes a run of source pixels as they stand, which is
// what the general engine computes pixel by pixel (a destination pixel
// whose source lies outside the source surface is left alone). `need` is
// the part of the source surface the copy reads.
void CopyRows(DcRecord& dst, Surface& ds, Surface& ss, const AxisMap& ax, const AxisMap& ay,
              const RECT& need) {
  const std::int64_t lim = 1 << 28;
  auto clamp = [&](std::int64_t v) { return LONG(std::clamp<std::int64_t>(v, -lim, lim)); };
  const std::int64_t shiftX = ax.dst - ax.src, shiftY = ay.dst - ay.src;
  const RECT area{clamp(need.left + shiftX), clamp(need.top + shiftY), clamp(need.right + shiftX),
                  clamp(need.bottom + shiftY)};
  const Region clipped = EffectiveClip(dst).IntersectRect(area);
  if (clipped.IsEmpty()) return;
  // Within one surface the rectangles of the clip could read what an
  // earlier one wrote: read from a copy of the source part then.
  std::vector<std::uint32_t> snap;
  const std::uint32_t* from = nullptr;
  std::size_t fromStride = 0;
  std::int64_t fromX = 0, fromY = 0;
  if (&ds == &ss) {
    const std::size_t nw = std::size_t(need.right - need.left);
    snap.resize(nw * std::size_t(need.bottom - need.top));
    for (LONG yy = need.top; yy < need.bottom; ++yy)
      std::copy_n(ss.Row(yy) + need.left, nw, snap.data() + std::size_t(yy - need.top) * nw);
    from = snap.data(), fromStride = nw, fromX = need.left, fromY = need.top;
  } else {
    from = ss.pixels(), fromStride = std::size_t(ss.stride());
  }
  for (const RECT& r : clipped.Rects()) {
    const std::size_t n = std::size_t(r.right - r.left);
    for (LONG y = r.top; y < r.bottom; ++y) {
      const std::uint32_t* in =
          from + std::size_t(y - shiftY - fromY) * fromStride + std::size_t(r.left - shiftX - fromX);
      CopyPixels(ds.Row(y) + r.left, in, n);
    }
    NoteDrawn(dst, r);
  }

}

BOOL Blit(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh,
          DWORD rop) {
  DcRecord* dst = LookupDc(hdst);
  if (!dst) return FALSE;
  std::uint8_t r = Rop3Index(rop);
  bool usesSrc = RopUsesSource(r);
  DcRecord* src = usesSrc ? LookupDc(hsrc) : nullptr;
  if (usesSrc && !src) return FALSE;
  Surface* ds = DcSurface(*dst);
  if (!ds) return TRUE;
  DeviceSpace dspace = SpaceOf(*ds);
  Ink ink;
  if (RopUsesPattern(r)) {
    ink = BrushInk(*dst, dst->state.brush, dspace);
    if (ink.none()) return TRUE;  // a null brush paints nothing
  }
  // Destination corner and extents in surface coordinates (MM_TEXT: the
  // extents do not change).
  POINT d0 = LogicalToSurface(*dst, POINT{x, y});
  if (!usesSrc) {
    AxisMap ax = MakeAxis(d0.x, w, 0, 1), ay = MakeAxis(d0.y, h, 0, 1);
    RunStretch(*dst, ax, ay, r, ink, nullptr);
    return TRUE;
  }
  Surface* ss = DcSurface(*src);
  if (!ss) return FALSE;
  POINT s0 = LogicalToSurface(*src, POINT{sx, sy});
  AxisMap ax = MakeAxis(d0.x, w, s0.x, sw), ay = MakeAxis(d0.y, h, s0.y, sh);
  if (ax.dstLen == 0 || ay.dstLen == 0 || ax.srcLen == 0 || ay.srcLen == 0) return TRUE;

  // Snapshot of the source part that can be read (it may be the destination).
  RECT need{LONG(std::max<std::int64_t>(ax.src, 0)), LONG(std::max<std::int64_t>(ay.src, 0)),
            LONG(std::min<std::int64_t>(ax.src + ax.srcLen, ss->width())),
            LONG(std::min<std::int64_t>(ay.src + ay.srcLen, ss->height()))};
  if (need.left >= need.right || need.top >= need.bottom) return TRUE;
  if (r == 0xCC && ax.srcLen == ax.dstLen && ay.srcLen == ay.dstLen && !ax.mirror && !ay.mirror &&
      dspace.format == PixelFormat::Color && SpaceOf(*ss).format == PixelFormat::Color) {
    CopyRows(*dst, *ds, *ss, ax, ay, need);
    return TRUE;
  }
  const int nw = need.right - need.left;
  std::vector<std::uint32_t> snap(std::size_t(nw) * std::size_t(need.bottom - need.top));
  for (LONG yy = need.top; yy < need.bottom; ++yy) {
    std::copy_n(ss->Row(yy) + need.left, nw, snap.data() + std::size_t(yy - need.top) * nw);
  }
  // How source pixels become destination values.
  const bool srcMono = ss->format() == PixelFormat::Mono;
  const bool dstMono = dspace.format == PixelFormat::Mono;
  std::uint32_t monoBlack = 0, monoWhite = 0, srcBk = 0;
  if (srcMono && !dstMono) {
    monoBlack = ColorValue(*dst, dst->state.textColor, dspace);
    monoWhite = ColorValue(*dst, dst->state.bkColor, dspace);
  }
  if (!srcMono && dstMono) {
    DeviceSpace sspace = SpaceOf(*ss);
    srcBk = sspace.ToPixel(sspace.FromColor(ResolveRgb(*src, src->state.bkColor)));
  }
  auto convert = [&](std::uint32_t px) -> std::uint32_t {
    if (srcMono && !dstMono) return px ? monoWhite : monoBlack;
    if (!srcMono && dstMono) return px == srcBk ? 0xFFFFFFu : 0u;
    return dspace.FromColor(px);
  };
  RowFetch fetch = [&](std::int64_t row, std::int64_t x0, std::int64_t x1, std::uint32_t* out,
                       std::uint8_t* valid) {
    bool rowOk = row >= need.top && row < need.bottom;
    const std::uint32_t* line = rowOk ? snap.data() + std::size_t(row - need.top) * nw : nullptr;
    for (std::int64_t c = x0; c < x1; ++c) {
      std::size_t i = std::size_t(c - x0);
      if (!rowOk || c < need.left || c >= need.right) {
        valid[i] = 0;
        out[i] = 0;
        continue;
      }
      out[i] = convert(line[c - need.left]);
    }
  };
  RunStretch(*dst, ax, ay, r, ink, fetch);
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  return Blit(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) {
  return Blit(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}
