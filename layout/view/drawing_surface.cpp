#include "layout/view/drawing_surface.h"

#include <algorithm>
#include <type_traits>

#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_blit.h"
#include "text/draw/draw_styles.h"
#include "text/style/color_table.h"
#include "win/user.h"

namespace {

// The draw style of the document background: filled on the screen only.
constexpr SHORT kBackgroundStored = 9;

// a * b / c rounded to the nearest whole number, halves away from zero.
LONG mulDivRound(LONG a, LONG b, LONG c) {
  if (c == 0) return a;
  long long p = static_cast<long long>(a) * b;
  long long half = (c < 0 ? -c : c) / 2;
  long long q = ((p < 0) != (c < 0)) ? (p - (p < 0 ? half : -half)) / c : (p + (p < 0 ? -half : half)) / c;
  return static_cast<LONG>(q);
}

}  // namespace

struct DrawingSurface::Holder {
  enum Kind { kPaint, kWindow, kGiven };
  Kind kind = kGiven;
  HWND window = nullptr;
  HDC dc = nullptr;
  PAINTSTRUCT paint{};
  int saved = 0;
  bool printing = false;

  ~Holder() {
    if (!dc) return;
    if (saved) RestoreDC(dc, saved);
    if (kind == kPaint) EndPaint(window, &paint);
    if (kind == kWindow) ReleaseDC(window, dc);
  }
};

DrawingSurface::DrawingSurface() = default;

DrawingSurface::~DrawingSurface() {
  while (!holders_.empty()) End();
}

bool DrawingSurface::push(std::unique_ptr<Holder> holder, ColorTable* colors) {
  colors_ = colors;
  ResetCache();
  if (holder->dc) holder->saved = SaveDC(holder->dc);
  HDC dc = holder->dc;
  holders_.push_back(std::move(holder));
  if (!dc) return false;
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE);
  SetMapMode(dc, MM_TEXT);
  fontScale_ = GetDeviceCaps(dc, LOGPIXELSY) * 1024 / 72;
  if (HGDIOBJ fixed = GetStockObject(ANSI_FIXED_FONT)) SelectObject(dc, fixed);
  if (HGDIOBJ var = GetStockObject(ANSI_VAR_FONT)) SelectObject(dc, var);
  // Fonts are made for one resolution: another device needs new ones.
  if (fontScale_ != cacheFontScale_) {
    fonts_.entries.clear();
    cacheFontScale_ = fontScale_;
  }
  return true;
}

bool DrawingSurface::BeginPaint(HWND window, ColorTable* colors) {
  auto h = std::make_unique<Holder>();
  h->kind = Holder::kPaint;
  h->window = window;
  h->dc = window ? ::BeginPaint(window, &h->paint) : nullptr;
  if (!h->dc) h->kind = Holder::kGiven;
  return push(std::move(h), colors);
}

bool DrawingSurface::BeginWindow(HWND window, ColorTable* colors) {
  auto h = std::make_unique<Holder>();
  h->kind = Holder::kWindow;
  h->window = window;
  h->dc = window ? GetDC(window) : nullptr;
  if (!h->dc) h->kind = Holder::kGiven;
  return push(std::move(h), colors);
}

bool DrawingSurface::BeginDevice(HDC dc, ColorTable* colors, bool printing) {
  auto h = std::make_unique<Holder>();
  h->dc = dc;
  h->printing = printing;
  return push(std::move(h), colors);
}

void DrawingSurface::End() {
  if (holders_.empty()) return;
  holders_.pop_back();
  // The context below may hold other objects: nothing counts as selected.
  ResetCache();
  if (!holders_.empty() && holders_.back()->dc) fontScale_ = GetDeviceCaps(holders_.back()->dc, LOGPIXELSY) * 1024 / 72;
}

HDC DrawingSurface::Dc() const { return holders_.empty() ? nullptr : holders_.back()->dc; }

bool DrawingSurface::Printing() const { return !holders_.empty() && holders_.back()->printing; }

RECT DrawingSurface::PaintRect() const {
  if (holders_.empty() || holders_.back()->kind != Holder::kPaint) return RECT{0, 0, 0, 0};
  return holders_.back()->paint.rcPaint;
}

void DrawingSurface::ResetCache() {
  font_ = FontDescriptor();
  pen_ = FontDescriptor();
  brush_ = FontDescriptor();
  metrics_ = FontDescriptor();
  blank_ = FontDescriptor();
  penStale_ = false;
  metricsValid_ = false;
  blankValid_ = false;
}

COLORREF DrawingSurface::tableColor(LONG index) const {
  if (!colors_) return RGB(0, 0, 0);
  const ColorRecord& c = colors_->GetColor(index);
  return RGB(c.red, c.green, c.blue);
}

COLORREF DrawingSurface::color(const ColorRecord& c) const {
  if (c.kind == ColorRecord::kExplicit) return RGB(c.red, c.green, c.blue);
  return tableColor(c.kind);
}

template <class Spec>
Spec& DrawingSurface::lookup(Cache<Spec>& cache, const FontDescriptor& d, int objectType) {
  auto& entries = cache.entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].key == d) {
      if (i) std::rotate(entries.begin(), entries.begin() + static_cast<long>(i), entries.begin() + static_cast<long>(i) + 1);
      return *entries.front().spec;
    }
  }
  if (entries.size() >= kCacheSize) {
    // The object about to be deleted may still be selected in a context of
    // the stack: put a stock object there first and forget the selection.
    Spec& old = *entries.back().spec;
    HGDIOBJ handle = nullptr;
    if constexpr (std::is_same_v<Spec, FontSpec>) handle = old.GetFont(cacheFontScale_);
    if constexpr (std::is_same_v<Spec, PenSpec>) handle = colors_ ? old.GetPen(*colors_) : nullptr;
    if constexpr (std::is_same_v<Spec, BrushSpec>) handle = colors_ ? old.GetBrush(*colors_) : nullptr;
    int stock = objectType == OBJ_FONT ? ANSI_VAR_FONT : objectType == OBJ_PEN ? BLACK_PEN : WHITE_BRUSH;
    for (auto& h : holders_)
      if (h->dc && handle && GetCurrentObject(h->dc, objectType) == handle) SelectObject(h->dc, GetStockObject(stock));
    ResetCache();
    entries.pop_back();
  }
  entries.insert(entries.begin(), typename Cache<Spec>::Entry{d, std::make_unique<Spec>(d)});
  return *entries.front().spec;
}

FontSpec& DrawingSurface::fontSpec(const FontDescriptor& d) { return lookup(fonts_, d, OBJ_FONT); }
PenSpec& DrawingSurface::penSpec(const FontDescriptor& d) { return lookup(pens_, d, OBJ_PEN); }
BrushSpec& DrawingSurface::brushSpec(const FontDescriptor& d) { return lookup(brushes_, d, OBJ_BRUSH); }

void DrawingSurface::SelectFont(const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || d == font_) return;
  FontSpec& spec = fontSpec(d);
  if (HFONT f = spec.GetFont(fontScale_)) SelectObject(dc, f);
  COLORREF text = (!d.color.isSet() || d.highlight) ? tableColor(spec.ColorIndex()) : color(d.color);
  SetTextColor(dc, text);
  font_ = d;
}

HFONT DrawingSurface::SetFont(const FontDescriptor& d) {
  HDC dc = Dc();
  FontSpec& spec = fontSpec(d);
  HFONT f = spec.GetFont(fontScale_ ? fontScale_ : 96 * 1024 / 72);
  if (dc && f) SelectObject(dc, f);
  font_ = d;
  return f;
}

void DrawingSurface::SelectPen(const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || !colors_ || (d == pen_ && !penStale_)) return;
  if (HPEN p = penSpec(d).GetPen(*colors_)) SelectObject(dc, p);
  pen_ = d;
  penStale_ = false;
}

void DrawingSurface::SelectNullPen() {
  if (HDC dc = Dc()) SelectObject(dc, GetStockObject(NULL_PEN));
  penStale_ = true;
}

void DrawingSurface::SelectBrush(const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || !colors_ || d == brush_) return;
  BrushSpec& spec = brushSpec(d);
  HBRUSH b = spec.GetBrush(*colors_);
  SelectObject(dc, b ? static_cast<HGDIOBJ>(b) : GetStockObject(NULL_BRUSH));
  brush_ = d;
}

void DrawingSurface::measureFont(const FontDescriptor& d) {
  if (metricsValid_ && d == metrics_) return;
  ascent_ = overhang_ = 0;
  if (HDC dc = Dc()) {
    SelectFont(d);
    TEXTMETRIC tm{};
    if (GetTextMetrics(dc, &tm)) {
      ascent_ = tm.tmAscent;
      overhang_ = tm.tmOverhang;
    }
  }
  metrics_ = d;
  metricsValid_ = true;
}

LONG DrawingSurface::Ascent(const FontDescriptor& d) {
  measureFont(d);
  return ascent_;
}

LONG DrawingSurface::Overhang(const FontDescriptor& d) {
  measureFont(d);
  return overhang_;
}

bool DrawingSurface::DrawText(const LayoutPoint& at, const char* text, LONG length, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || !text || length <= 0) return true;
  SelectFont(d);
  TextOut(dc, at.x, at.y, text, length);
  return true;
}

bool DrawingSurface::TextExtent(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d) {
  HDC dc = Dc();
  box = LayoutRect::Of(0, 0, 0, 0);
  if (!dc) return false;
  SelectFont(d);
  const LONG ascent = Ascent(d);
  SIZE size{0, 0};
  LONG width = 0;
  LONG height = 0;
  if (text && length > 0) {
    GetTextExtentPoint(dc, text, length, &size);
    width = size.cx;
    height = size.cy - Overhang(d);
  } else {
    GetTextExtentPoint(dc, " ", 1, &size);
    height = size.cy;
  }
  box = LayoutRect::Of(0, width, -ascent, height - ascent);
  return true;
}

bool DrawingSurface::BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!blankValid_ || !(d == blank_)) {
    blankWidth_ = blankTop_ = blankBottom_ = 0;
    if (dc) {
      SelectFont(d);
      SIZE size{0, 0};
      GetTextExtentPoint(dc, " ", 1, &size);
      const LONG ascent = Ascent(d);
      blankWidth_ = size.cx;
      blankTop_ = -ascent;
      blankBottom_ = (size.cy - Overhang(d)) - ascent;
    }
    blank_ = d;
    blankValid_ = dc != nullptr;
  }
  if (count >= 1)
    box = LayoutRect::Of(0, blankWidth_ * count, blankTop_, blankBottom_);
  else
    box = LayoutRect::Of(blankWidth_, blankWidth_, blankTop_, blankBottom_);
  return dc != nullptr;
}

bool DrawingSurface::FillRect(const LayoutRect& rect, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || !colors_) return true;
  COLORREF fill;
  if (d.styleNumber == kBackgroundStored) {
    if (GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY) return true;
    fill = d.color.isSet() ? color(d.color) : tableColor(DrawStyles::Lookup(d).LineColorIndex(d));
  } else {
    fill = tableColor(DrawStyles::Lookup(d).FillColorIndex(d));
  }
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  COLORREF old = SetBkColor(dc, fill);
  ExtTextOut(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
  return true;
}

bool DrawingSurface::Polygon(const LayoutPoint* points, int count, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc || !points || count <= 0) return true;
  SelectPen(d);
  SelectBrush(d);
  std::vector<POINT> pts(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) pts[static_cast<size_t>(i)] = POINT{points[i].x, points[i].y};
  ::Polygon(dc, pts.data(), count);
  return true;
}

bool DrawingSurface::Ellipse(const LayoutRect& rect, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc) return true;
  SelectNullPen();
  SelectBrush(d);
  ::Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
  return true;
}

bool DrawingSurface::Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d) {
  HDC dc = Dc();
  if (!dc) return true;
  SelectPen(d);
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
  return true;
}

LONG DrawingSurface::FontSize(const FontDescriptor& d) {
  return static_cast<LONG>(static_cast<long long>(DrawStyles::Lookup(d).size) * d.scale / 100);
}

void DrawingSurface::PictureSize(LayoutSize& out, NamedObject* picture) {
  DibPicture* p = AsDibPicture(picture);
  out = p ? p->GetSize() : LayoutSize{0, 0};
  ScaleToDevice(out);
}

void DrawingSurface::ScaleToDevice(LayoutSize& size) {
  if (!Printing()) return;
  size.cx = mulDivRound(size.cx, printerDpi_.cx, screenDpi_.cx ? screenDpi_.cx : 96);
  size.cy = mulDivRound(size.cy, printerDpi_.cy, screenDpi_.cy ? screenDpi_.cy : 96);
}

bool DrawingSurface::StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture) {
  DibPicture* p = AsDibPicture(picture);
  HDC dc = Dc();
  if (!p || !dc) return false;
  LayoutSize natural = p->GetSize();
  return BlitPicture(dc, *p, RECT{at.x, at.y, at.x + size.cx, at.y + size.cy}, RECT{0, 0, natural.cx, natural.cy});
}

bool DrawingSurface::DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture) {
  DibPicture* p = AsDibPicture(picture);
  HDC dc = Dc();
  if (!p || !dc) return false;
  const LONG w = source.right - source.left, h = source.bottom - source.top;
  return BlitPicture(dc, *p, RECT{at.x, at.y, at.x + w, at.y + h},
                     RECT{source.left, source.top, source.right, source.bottom});
}
