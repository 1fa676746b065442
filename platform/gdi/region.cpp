#include "gdi/region.h"

#include <algorithm>
#include <utility>

#include "win/gdi.h"

namespace win::gdi {
namespace {

// Coordinates are kept within this range so that sums of two never overflow.
constexpr LONG kCoordLimit = 1 << 27;

LONG ClampCoord(std::int64_t v) {
  if (v < -kCoordLimit) return -kCoordLimit;
  if (v > kCoordLimit) return kCoordLimit;
  return static_cast<LONG>(v);
}

using Spans = std::vector<std::pair<LONG, LONG>>;  // sorted, disjoint, not touching

struct Band {
  LONG top;
  LONG bottom;
  Spans spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects) {
  std::vector<Band> bands;
  for (const RECT& r : rects) {
    if (bands.empty() || bands.back().top != r.top) bands.push_back(Band{r.top, r.bottom, {}});
    bands.back().spans.emplace_back(r.left, r.right);
  }
  return bands;
}

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;  // RGN_COPY
  }
}

// Merges two span lists under a boolean operation.
Spans CombineSpans(const Spans* a, const Spans* b, int mode) {
  static const Spans kEmpty;
  const Spans& sa = a ? *a : kEmpty;
  const Spans& sb = b ? *b : kEmpty;
  Spans out;
  std::size_t i = 0, j = 0;
  bool inA = false, inB = false;
  bool inOut = false;
  LONG start = 0;
  // Walk the boundaries of both lists in order.
  while (i < sa.size() * 2 || j < sb.size() * 2) {
    LONG xa = i < sa.size() * 2 ? (i % 2 == 0 ? sa[i / 2].first : sa[i / 2].second) : 0;
    LONG xb = j < sb.size() * 2 ? (j % 2 == 0 ? sb[j / 2].first : sb[j / 2].second) : 0;
    LONG x;
    bool takeA = i < sa.size() * 2 && (j >= sb.size() * 2 || xa <= xb);
    bool takeB = j < sb.size() * 2 && (i >= sa.size() * 2 || xb <= xa);
    x = takeA ? xa : xb;
    if (takeA) { inA = !inA; ++i; }
    if (takeB) { inB = !inB; ++j; }
    bool now = Apply(mode, inA, inB);
    if (now && !inOut) {
      if (!out.empty() && out.back().second == x) {
        start = out.back().first;  // touches the previous span: continue it
        out.pop_back();
      } else {
        start = x;
      }
    } else if (!now && inOut && x > start) {
      out.emplace_back(start, x);
    }
    inOut = now;
  }
  return out;
}

void AppendBand(std::vector<Band>& out, LONG top, LONG bottom, Spans spans) {
  if (spans.empty() || top >= bottom) return;
  if (!out.empty() && out.back().bottom == top && out.back().spans == spans) {
    out.back().bottom = bottom;
    return;
  }
  out.push_back(Band{top, bottom, std::move(spans)});
}

std::vector<RECT> FromBands(const std::vector<Band>& bands) {
  std::vector<RECT> rects;
  for (const Band& b : bands) {
    for (const auto& s : b.spans) rects.push_back(RECT{s.first, b.top, s.second, b.bottom});
  }
  return rects;
}

}  // namespace

Region::Region(const RECT& r) {
  RECT c{ClampCoord(r.left), ClampCoord(r.top), ClampCoord(r.right), ClampCoord(r.bottom)};
  if (c.left < c.right && c.top < c.bottom) rects_.push_back(c);
}

Region Region::FromRect(int left, int top, int right, int bottom) {
  return Region(RECT{left, top, right, bottom});
}

Region Region::FromRects(const std::vector<RECT>& input) {
  std::vector<RECT> rects;
  rects.reserve(input.size());
  std::vector<LONG> ys;
  for (const RECT& r0 : input) {
    RECT r{ClampCoord(r0.left), ClampCoord(r0.top), ClampCoord(r0.right), ClampCoord(r0.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) continue;
    rects.push_back(r);
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  Region out;
  if (rects.empty()) return out;
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::sort(rects.begin(), rects.end(),
            [](const RECT& a, const RECT& b) { return a.top < b.top; });
  std::vector<Band> bands;
  Spans xs;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    LONG y0 = ys[k], y1 = ys[k + 1];
    xs.clear();
    for (const RECT& r : rects) {
      if (r.top > y0) break;
      if (r.bottom > y0) xs.emplace_back(r.left, r.right);
    }
    std::sort(xs.begin(), xs.end());
    Spans merged;
    for (const auto& s : xs) {
      if (!merged.empty() && s.first <= merged.back().second) {
        merged.back().second = std::max(merged.back().second, s.second);
      } else {
        merged.push_back(s);
      }
    }
    AppendBand(bands, y0, y1, std::move(merged));
  }
  out.rects_ = FromBands(bands);
  return out;
}

void RowSpanBuilder::AddRow(const std::int32_t* xs, std::size_t count) {
  std::vector<RECT>& rects = out_.rects_;
  const LONG top = ClampCoord(y_), bottom = ClampCoord(y_ + 1);
  ++y_;
  if (top >= bottom) return;
  const std::size_t rowStart = rects.size();
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    LONG a = ClampCoord(xs[i]), b = ClampCoord(xs[i + 1]);
    if (a >= b) continue;
    if (rects.size() > rowStart && a <= rects.back().right) {
      rects.back().right = std::max(rects.back().right, b);
    } else {
      rects.push_back(RECT{a, top, b, bottom});
    }
  }
  const std::size_t n = rects.size() - rowStart;
  if (n == 0) return;
  // The same spans right under the last band extend it.
  if (rowStart > bandStart_ && bandBottom_ == top && rowStart - bandStart_ == n) {
    bool same = true;
    for (std::size_t i = 0; i < n && same; ++i) {
      const RECT& above = rects[bandStart_ + i];
      const RECT& here = rects[rowStart + i];
      same = above.left == here.left && above.right == here.right;
    }
    if (same) {
      rects.resize(rowStart);
      for (std::size_t i = bandStart_; i < rowStart; ++i) rects[i].bottom = bottom;
      bandBottom_ = bottom;
      return;
    }
  }
  bandStart_ = rowStart;
  bandBottom_ = bottom;
}

Region RowSpanBuilder::Finish() {
  bandStart_ = 0;
  return std::move(out_);
}

RECT Region::Bounds() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT b{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.right = std::max(b.right, r.right);
  }
  return b;
}

int Region::Type() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::size_t Region::FirstRectOfRow(int y) const {
  auto it = std::upper_bound(rects_.begin(), rects_.end(), y,
                             [](int yy, const RECT& r) { return yy < r.bottom; });
  if (it == rects_.end() || it->top > y) return rects_.size();
  return static_cast<std::size_t>(it - rects_.begin());
}

bool Region::Contains(int x, int y) const {
  for (std::size_t i = FirstRectOfRow(y); i < rects_.size() && rects_[i].top <= y; ++i) {
    if (x < rects_[i].left) return false;
    if (x < rects_[i].right) return true;
  }
  return false;
}

bool Region::Intersects(const RECT& r) const {
  if (r.left >= r.right || r.top >= r.bottom) return false;
  auto it = std::upper_bound(rects_.begin(), rects_.end(), r.top,
                             [](LONG yy, const RECT& q) { return yy < q.bottom; });
  for (; it != rects_.end() && it->top < r.bottom; ++it) {
    if (it->left < r.right && it->right > r.left) return true;
  }
  return false;
}

bool Region::ContainsRect(const RECT& r) const {
  if (r.left >= r.right || r.top >= r.bottom) return false;
  return Combine(Region(r), *this, RGN_DIFF).IsEmpty();
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  std::vector<Band> ba = ToBands(a.rects_);
  std::vector<Band> bb = ToBands(b.rects_);
  std::vector<LONG> ys;
  ys.reserve((ba.size() + bb.size()) * 2);
  for (const Band& x : ba) { ys.push_back(x.top); ys.push_back(x.bottom); }
  for (const Band& x : bb) { ys.push_back(x.top); ys.push_back(x.bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<Band> out;
  std::size_t ia = 0, ib = 0;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    LONG y0 = ys[k], y1 = ys[k + 1];
    while (ia < ba.size() && ba[ia].bottom <= y0) ++ia;
    while (ib < bb.size() && bb[ib].bottom <= y0) ++ib;
    const Spans* sa = (ia < ba.size() && ba[ia].top <= y0) ? &ba[ia].spans : nullptr;
    const Spans* sb = (ib < bb.size() && bb[ib].top <= y0) ? &bb[ib].spans : nullptr;
    if (!sa && !sb) continue;
    AppendBand(out, y0, y1, CombineSpans(sa, sb, mode));
  }
  Region r;
  r.rects_ = FromBands(out);
  return r;
}

Region Region::IntersectRect(const RECT& r) const {
  if (rects_.size() == 1) {
    RECT a = rects_[0];
    return Region(RECT{std::max(a.left, r.left), std::max(a.top, r.top),
                       std::min(a.right, r.right), std::min(a.bottom, r.bottom)});
  }
  return Combine(*this, Region(r), RGN_AND);
}

void Region::Offset(int dx, int dy) {
  if (rects_.empty()) return;
  RECT b = Bounds();
  std::int64_t ddx = dx, ddy = dy;
  // Keep the whole region inside the coordinate range.
  ddx = std::clamp<std::int64_t>(ddx, -kCoordLimit - std::int64_t(b.left),
                                 kCoordLimit - std::int64_t(b.right));
  ddy = std::clamp<std::int64_t>(ddy, -kCoordLimit - std::int64_t(b.top),
                                 kCoordLimit - std::int64_t(b.bottom));
  for (RECT& r : rects_) {
    r.left = static_cast<LONG>(r.left + ddx);
    r.right = static_cast<LONG>(r.right + ddx);
    r.top = static_cast<LONG>(r.top + ddy);
    r.bottom = static_cast<LONG>(r.bottom + ddy);
  }
}

bool Region::operator==(const Region& o) const {
  if (rects_.size() != o.rects_.size()) return false;
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    const RECT& a = rects_[i];
    const RECT& b = o.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) {
      return false;
    }
  }
  return true;
}

}  // namespace win::gdi
