#include "pages/transitions/transitions.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "win/gdi.h"
#include "win/kernel.h"

namespace {

constexpr const char* kNames[] = {"NONE",        "PIXELSTORM", "DRAWLEFT",   "DRAWRIGHT",
                                  "DRAWTOP",     "DRAWBOTTOM", "RONDELL",    "SCROLLLEFT",
                                  "SCROLLRIGHT", "SCROLLTOP",  "SCROLLBOTTOM", "RESIZE",
                                  "RANDOM"};

// How many random blocks the pixel storm draws, and their largest side.
constexpr int kStormBlocks = 10000;
constexpr int kStormBlockSide = 10;

class Painter {
 public:
  Painter(HDC target, HDC source) : target_(target), source_(source) {}

  // The source region (sx, sy, w, h) to (dx, dy) in the target.
  void Copy(int dx, int dy, int w, int h, int sx, int sy) {
    BitBlt(target_, dx, dy, w, h, source_, sx, sy, SRCCOPY);
    ++copies_;
  }
  void CopyInPlace(int x, int y, int w, int h) { Copy(x, y, w, h, x, y); }
  void Stretch(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    StretchBlt(target_, dx, dy, dw, dh, source_, sx, sy, sw, sh, SRCCOPY);
    ++copies_;
  }
  long Copies() const { return copies_; }

  void Run(int left, int top, int right, int bottom, int effect);

 private:
  void Rondell(int left, int top, int right, int bottom, int w, int h);

  HDC target_;
  HDC source_;
  long copies_ = 0;
};

void Painter::Run(int left, int top, int right, int bottom, int effect) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  if (right <= left || bottom <= top) return;
  const int w = right - left;
  const int h = bottom - top;
  if (effect == kTransitionRandom) {
    do effect = win_rand() % 12;
    while (effect == kTransitionRandom);
  }
  switch (effect) {
    case kTransitionPixelStorm:
      for (int i = 0; i < kStormBlocks; ++i) {
        const int x = win_rand() % w;
        const int y = win_rand() % h;
        int bw = win_rand() % kStormBlockSide + 1;
        int bh = win_rand() % kStormBlockSide + 1;
        bw = std::min(bw, w - x);
        bh = std::min(bh, h - y);
        CopyInPlace(left + x, top + y, bw, bh);
      }
      CopyInPlace(left, top, w, h);
      break;
    case kTransitionDrawLeft:
      for (int x = left; x < right; ++x) CopyInPlace(x, top, 1, h);
      break;
    case kTransitionDrawRight:
      for (int x = right - 1; x >= left; --x) CopyInPlace(x, top, 1, h);
      break;
    case kTransitionDrawTop:
      for (int y = top; y < bottom; ++y) CopyInPlace(left, y, w, 1);
      break;
    case kTransitionDrawBottom:
      for (int y = bottom - 1; y >= top; --y) CopyInPlace(left, y, w, 1);
      break;
    case kTransitionRondell: Rondell(left, top, right, bottom, w, h); break;
    case kTransitionScrollLeft: {
      const int step = std::max(1, w / 100);
      for (int k = step; k < w; k += step) Copy(left, top, k, h, right - k, top);
      CopyInPlace(left, top, w, h);
      break;
    }
    case kTransitionScrollRight: {
      const int step = std::max(1, w / 100);
      for (int k = step; k < w; k += step) Copy(right - k, top, k, h, left, top);
      CopyInPlace(left, top, w, h);
      break;
    }
    case kTransitionScrollTop: {
      const int step = std::max(1, h / 100);
      for (int k = step; k < h; k += step) Copy(left, top, w, k, left, bottom - k);
      CopyInPlace(left, top, w, h);
      break;
    }
    case kTransitionScrollBottom: {
      const int step = std::max(1, h / 100);
      for (int k = step; k < h; k += step) Copy(left, bottom - k, w, k, left, top);
      CopyInPlace(left, top, w, h);
      break;
    }
    case kTransitionResize: {
      const int sx = std::max(1, w / 10);
      const int sy = std::max(1, h / 10);
      long hx = 1, hy = 1, cw = 2, ch = 2;
      while (hx < w && hy < h) {
        Stretch(static_cast<int>(left + w / 2 - hx), static_cast<int>(top + h / 2 - hy),
                static_cast<int>(cw), static_cast<int>(ch), left, top, w, h);
        cw += 2L * sx;
        hx += sx;
        ch += 2L * sy;
        hy += sy;
      }
      CopyInPlace(left, top, w, h);
      break;
    }
    default: CopyInPlace(left, top, w, h); break;
  }
}

// Bands of width s from the border inwards: top (left to right), right
// (downwards), bottom (right to left), left (upwards).
void Painter::Rondell(int left, int top, int right, int bottom, int w, int h) {
  const int s = std::max(1, std::min(w / 20, h / 20));
  int dx = 0, dy = 0;
  do {
    Run(left + dx, top + dy, right - dx, top + dy + s, kTransitionDrawLeft);
    Run(right - dx - s, top + dy + s, right - dx, bottom - dy, kTransitionDrawTop);
    Run(left + dx, bottom - s - dy, right - s - dx, bottom - dy, kTransitionDrawRight);
    Run(left + dx, top + dy + s, left + dx + s, bottom - dy - s, kTransitionDrawBottom);
    dx = std::min(dx + s, w);
    dy = std::min(dy + s, h);
  } while (dx < w || dy < h);
}

}  // namespace

int TransitionFromName(const char* text) {
  if (!text || !*text) return kTransitionNone;
  if (*text >= '0' && *text <= '9') {
    long long v = 0;
    for (; *text >= '0' && *text <= '9'; ++text) v = std::min<long long>(INT_MAX, v * 10 + (*text - '0'));
    return static_cast<int>(v);
  }
  for (int i = 0; i <= kTransitionRandom; ++i)
    if (std::strcmp(text, kNames[i]) == 0) return i;
  return -1;
}

long PaintTransition(HDC target, HDC source, int left, int top, int right, int bottom, int effect) {
  // The zoom grows beyond the area and the spiral's last bands fall
  // outside it when the area is not square: whatever the target's own
  // clipping, nothing is drawn outside the area.
  const int saved = SaveDC(target);
  IntersectClipRect(target, std::max(left, 0), std::max(top, 0), right, bottom);
  Painter painter(target, source);
  painter.Run(left, top, right, bottom, effect);
  RestoreDC(target, saved);
  return painter.Copies();
}
