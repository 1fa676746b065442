#include "pages/area/area.h"

#include <algorithm>
#include <cstring>

#include "framework/app_services.h"
#include "mfc/dump_context.h"
#include "oldio/strstream.h"
#include "win/user.h"

namespace {

// Sizes come from style files; sums and products of them are taken in 64
// bits and brought back into the int range.
int clampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::int64_t width(const RECT& r) { return std::int64_t{r.right} - r.left; }
std::int64_t height(const RECT& r) { return std::int64_t{r.bottom} - r.top; }

// How many rounds the grid layout tries before it gives up.
constexpr int kGridRounds = 6;

}  // namespace

Area::Area(int left, int top, int right, int bottom) { AddRect(left, top, right, bottom); }

Area::Area(const Area& other) : CObject(), RectSink() { *this = other; }

Area& Area::operator=(const Area& other) {
  if (this == &other) return *this;
  columns = other.columns;
  maxcolumns = other.maxcolumns;
  spacex = other.spacex;
  spacey = other.spacey;
  borderLeft = other.borderLeft;
  borderTop = other.borderTop;
  borderRight = other.borderRight;
  borderBottom = other.borderBottom;
  minsizex = other.minsizex;
  minsizey = other.minsizey;
  maxsizex = other.maxsizex;
  maxsizey = other.maxsizey;
  rects_ = other.rects_;
  return *this;
}

Area::~Area() = default;

void Area::AddRect(int left, int top, int right, int bottom) {
  rects_.push_back(RECT{left, top, right, bottom});
}

void Area::Clear() { rects_.clear(); }

RECT Area::RectAt(int i) const {
  if (i < 0 || i >= Count()) return RECT{0, 0, 0, 0};
  return rects_[static_cast<std::size_t>(i)];
}

RECT Area::GetBounds() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT bounds = rects_.front();
  for (const RECT& r : rects_) UnionRect(&bounds, &bounds, &r);
  return bounds;
}

int Area::TileByColumns(int n, RECT* out) {
  if (n < 1 || !out || rects_.empty()) return 0;
  std::int64_t usable = 0;
  for (const RECT& r : rects_) {
    const std::int64_t inner = height(r) - borderTop - borderBottom;
    if (inner >= minsizey) usable += inner;
  }
  std::int64_t tileHeight = 0;
  bool chosen = false;
  for (int round = 0; round < kGridRounds && !chosen; ++round) {
    if (columns <= 0) columns = 1;
    if (columns > maxcolumns) columns = std::max(1, maxcolumns);
    const std::int64_t rows = std::max<std::int64_t>(1, (std::int64_t{n} + columns - 1) / columns);
    tileHeight = usable / rows - spacey;
    if (tileHeight > maxsizey) {
      tileHeight = maxsizey;
      chosen = true;
    } else if (tileHeight >= minsizey) {
      chosen = true;
    } else if (columns >= maxcolumns) {
      tileHeight = minsizey;
      chosen = true;
    } else {
      ++columns;
    }
  }
  if (!chosen) return 0;
  int placed = 0;
  for (const RECT& r : rects_) {
    if (placed >= n) break;
    const std::int64_t tileWidth = (width(r) - borderLeft - borderRight) / columns - spacex;
    if (tileWidth < 1) continue;
    // A tile height below 1 would place tiles on one spot for ever.
    const std::int64_t rowStep = std::max<std::int64_t>(1, tileHeight + spacey);
    for (std::int64_t top = std::int64_t{r.top} + borderTop;
         placed < n && top + tileHeight + borderBottom <= r.bottom; top += rowStep) {
      for (std::int64_t left = std::int64_t{r.left} + borderLeft;
           placed < n && left + tileWidth + borderRight <= r.right; left += tileWidth + spacex) {
        out[placed++] = RECT{clampToInt(left), clampToInt(top), clampToInt(left + tileWidth),
                             clampToInt(top + tileHeight)};
      }
    }
  }
  return placed;
}

int Area::TileBySplitting(int n, RECT* out) {
  if (n < 1 || !out || rects_.empty()) return 0;
  const int first = std::min(n, Count());
  int count = 0;
  for (int i = 0; i < first; ++i) {
    const RECT& r = rects_[static_cast<std::size_t>(i)];
    out[count++] = RECT{clampToInt(std::int64_t{r.left} + borderLeft),
                        clampToInt(std::int64_t{r.top} + borderTop),
                        clampToInt(std::int64_t{r.right} - borderRight),
                        clampToInt(std::int64_t{r.bottom} - borderBottom)};
  }
  while (count < n) {
    int largest = -1;
    std::int64_t largestArea = 0;
    for (int i = 0; i < count; ++i) {
      const std::int64_t w = width(out[i]), h = height(out[i]);
      if (w < minsizex || h < minsizey) continue;
      const std::int64_t a = w * h;
      if (a >= 1 && a >= largestArea) {
        largest = i;
        largestArea = a;
      }
    }
    if (largest < 0) break;
    std::copy_backward(out + largest + 1, out + count, out + count + 1);
    RECT& a = out[largest];
    RECT& b = out[largest + 1];
    b = a;
    const std::int64_t w = width(a), h = height(a);
    if (w > h) {
      const std::int64_t half = std::max<std::int64_t>(1, (w - spacex) / 2);
      a.right = clampToInt(a.left + half);
      b.left = clampToInt(std::int64_t{a.left} + spacex + half);
    } else {
      const std::int64_t half = std::max<std::int64_t>(1, (h - spacey) / 2);
      a.bottom = clampToInt(a.top + half);
      b.top = clampToInt(std::int64_t{a.top} + spacey + half);
    }
    ++count;
  }
  return count;
}

RECT Area::TakeTop(int h) {
  RECT* best = nullptr;
  if (h >= 1)
    for (RECT& r : rects_)
      if (height(r) >= h && (!best || r.top < best->top)) best = &r;
  if (!best) return RECT{0, 0, 0, 0};
  const RECT strip{best->left, best->top, best->right, best->top + h};
  best->top += h;
  return strip;
}

RECT Area::TakeBottom(int h) {
  RECT* best = nullptr;
  if (h >= 1)
    for (RECT& r : rects_)
      if (height(r) >= h && (!best || r.bottom > best->bottom)) best = &r;
  if (!best) return RECT{0, 0, 0, 0};
  const RECT strip{best->left, best->bottom - h, best->right, best->bottom};
  best->bottom -= h;
  return strip;
}

void Area::Dump(CDumpContext& dc) const {
  dc << "TileArea\n";
  dc << "\tmaxcolumns=" << maxcolumns << " columns=" << columns << "\n";
  dc << "\tspacex=" << spacex << " spacey=" << spacey << "\n";
  dc << "\tminsizex=" << minsizex << " minsizey=" << minsizey << " maxsizex=" << maxsizex
     << " maxsizey_=" << maxsizey << "\n";
  dc << "\tborder left=" << borderLeft << " top=" << borderTop << " right=" << borderRight
     << " bottom=" << borderBottom << "\n";
  dc << "\ttilecount=" << Count() << "\n";
  for (int i = 0; i < Count(); ++i) {
    const RECT& r = rects_[static_cast<std::size_t>(i)];
    dc << "\t" << i << ": " << static_cast<int>(r.left) << "," << static_cast<int>(r.top) << ","
       << static_cast<int>(r.right) << "," << static_cast<int>(r.bottom) << "\n";
  }
}

void CopyBytes(const void* source, void* destination, std::size_t n) {
  if (n) std::memcpy(destination, source, n);
}

void ZeroBytes(void* destination, std::size_t n) {
  if (n) std::memset(destination, 0, n);
}

void ShowStreamMessage(oldio::strstream& stream) {
  AppMessageBox(stream.str(), MB_OK | MB_ICONHAND);
  stream.rdbuf()->freeze(0);
}
