#include "median_cut.h"

#include "diffusion.h"
#include "progress.h"
#include "report.h"

namespace pixolt {
namespace {

void Put(MedianCutState& s, unsigned red, unsigned green, unsigned blue) {
  if (s.written >= s.limit) return;
  s.table[s.written++] = RGBQUAD{static_cast<BYTE>(blue), static_cast<BYTE>(green), static_cast<BYTE>(red), 0};
}

std::uint32_t Count(const std::uint32_t* h, unsigned r, unsigned g, unsigned b) {
  return h[r * 1024 + g * 32 + b];
}

}  // namespace

void MedianCut(MedianCutState& state, const std::uint32_t* histogram, unsigned r0, unsigned r1,
               unsigned g0, unsigned g1, unsigned b0, unsigned b1, DWORD colours, std::uint64_t pixels) {
  // The upper box of each split is handled by the next turn of the loop.
  for (;;) {
    ++state.steps;
    ProgressPercent(state.expectedSteps ? state.steps * 100 / state.expectedSteps : 0);
    Pump();
    if (pixels == 0) return;
    if (r0 == r1 && g0 == g1 && b0 == b1) {
      if (Count(histogram, r0, g0, b0) != 0) {
        Put(state, r0 * 8, g0 * 8, b0 * 8);
      } else {
        Report("MedianCut", "Programmfehler: lPixels != 0");
      }
      return;
    }
    if (colours <= 1 || pixels == 1) {
      std::uint64_t sr = 0, sg = 0, sb = 0;
      for (unsigned r = r0; r <= r1; ++r)
        for (unsigned g = g0; g <= g1; ++g)
          for (unsigned b = b0; b <= b1; ++b) {
            std::uint64_t n = Count(histogram, r, g, b);
            sr += n * r;
            sg += n * g;
            sb += n * b;
          }
      Put(state, static_cast<unsigned>(sr / pixels * 8), static_cast<unsigned>(sg / pixels * 8),
          static_cast<unsigned>(sb / pixels * 8));
      return;
    }
    unsigned dr = r1 - r0, dg = g1 - g0, db = b1 - b0;
    int axis = db > dr && db > dg ? 2 : dg > dr ? 1 : 0;
    unsigned lo[3] = {r0, g0, b0}, hi[3] = {r1, g1, b1};
    // Sum the planes across the axis from the low end up to the median.
    std::uint64_t half = pixels / 2, before = 0, with = 0;
    unsigned s = lo[axis];
    for (;; ++s) {
      std::uint64_t plane = 0;
      unsigned from[3] = {lo[0], lo[1], lo[2]}, to[3] = {hi[0], hi[1], hi[2]};
      from[axis] = to[axis] = s;
      for (unsigned r = from[0]; r <= to[0]; ++r)
        for (unsigned g = from[1]; g <= to[1]; ++g)
          for (unsigned b = from[2]; b <= to[2]; ++b) plane += Count(histogram, r, g, b);
      before = with;
      with += plane;
      if (with >= half || s == hi[axis]) break;
    }
    unsigned lowerHi[3] = {hi[0], hi[1], hi[2]}, upperLo[3] = {lo[0], lo[1], lo[2]};
    std::uint64_t lowerPixels, upperPixels;
    if (s < hi[axis]) {
      lowerHi[axis] = s;
      upperLo[axis] = s + 1;
      lowerPixels = with;
      upperPixels = pixels > with ? pixels - with : 0;
    } else {
      lowerHi[axis] = s - 1;
      upperLo[axis] = s;
      lowerPixels = before;
      upperPixels = pixels > before ? pixels - before : 0;
    }
    colours /= 2;
    MedianCut(state, histogram, lo[0], lowerHi[0], lo[1], lowerHi[1], lo[2], lowerHi[2], colours,
              lowerPixels);
    r0 = upperLo[0];
    g0 = upperLo[1];
    b0 = upperLo[2];
    pixels = upperPixels;
  }
}

}  // namespace pixolt
