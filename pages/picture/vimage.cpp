#include "pages/picture/vimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/user_break.h"
#include "mfc/dc.h"
#include "pages/link_cursor.h"
#include "pages/page/vpage.h"
#include "pages/picture/cdib.h"
#include "pages/picture/dither_table.h"
#include "pages/picture/image_cache.h"
#include "pages/style/property_getters.h"
#include "pixolt.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

constexpr DWORD kSrcAnd = 0x008800C6;
constexpr DWORD kSrcPaint = 0x00EE0086;

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }

// The aspect-true size of a picture of pw x ph inside a box of bw x bh.
SIZE AspectSize(int bw, int bh, int pw, int ph) {
  if (pw <= 0 || ph <= 0) return SIZE{0, 0};
  if (static_cast<long long>(bw) * ph <= static_cast<long long>(bh) * pw) {
    const int h = static_cast<int>(static_cast<long long>(bw) * ph / pw);
    return SIZE{bw, std::min(h, bh)};
  }
  const int w = static_cast<int>(static_cast<long long>(bh) * pw / ph);
  return SIZE{std::min(w, bw), bh};
}

char Resolve(char mode, int boxW, int boxH, int pw, int ph) {
  if (mode != VImage::kAspectLimit) return mode;
  return pw > boxW || ph > boxH ? VImage::kAspectRatio : VImage::kCenter;
}

}  // namespace

VImage::VImage(int left, int top, int right, int bottom, const char* fileName)
    : VGroup(left, top, right, bottom), box_{left, top, right, bottom} {
  SetFileName(fileName ? fileName : "", 0);
}

VImage::~VImage() = default;

const char* VImage::GetClassName() const { return "VImage"; }

const void* VImage::Owner() { return GetPage(); }

void VImage::Initialize() {
  VObject::Initialize();
  Layout();
  InitializeChildren();
}

bool VImage::IsEmpty() const { return !(pictureW_ > 0 && pictureH_ > 0); }

void VImage::SetFileName(const char* name, int flag) {
  const CString next(name ? name : "");
  if (next == fileName_) return;
  fileName_ = next;
  Layout();
  if (flag) TheImageCache().MarkFileTemporary(fileName_);
  Invalidate();
}

void VImage::SetMode(char mode) {
  if (mode == mode_) return;
  mode_ = mode;
  Layout();
  Invalidate();
}

void VImage::SetBgColor(COLORREF color) {
  if (color == kTransparentColor) {
    if (transparentBg_) return;
    transparentBg_ = 1;
  } else {
    if (!transparentBg_ && color == bgColor_) return;
    transparentBg_ = 0;
    bgColor_ = color;
  }
  Layout();
  Invalidate();
}

void VImage::ClampScroll() {
  scrollX_ = std::max(0, std::min(scrollX_, pictureW_ - W(Rect())));
  scrollY_ = std::max(0, std::min(scrollY_, pictureH_ - H(Rect())));
}

void VImage::SetScroll(int x, int y) {
  const int oldX = scrollX_, oldY = scrollY_;
  scrollX_ = x;
  scrollY_ = y;
  ClampScroll();
  if (mode_ == kScroll && (scrollX_ != oldX || scrollY_ != oldY)) Invalidate();
}

void VImage::SetRect(int left, int top, int right, int bottom) {
  const RECT r{left, top, right, bottom};
  if (std::memcmp(&r, &box_, sizeof r) == 0) return;
  box_ = r;
  Layout();
  Invalidate();
}

char VImage::EffectiveMode() const { return Resolve(mode_, W(box_), H(box_), pictureW_, pictureH_); }

void VImage::Layout() {
  if (transparentBg_) SetState(State() | kPassThrough);
  CDib* picture = fileName_.IsEmpty() ? nullptr : TheImageCache().Load(fileName_, 1, Owner());
  pictureW_ = picture ? picture->Width() : 0;
  pictureH_ = picture ? picture->Height() : 0;
  // Opaque only when it paints its whole rectangle: a background of its
  // own and a picture without a transparent colour.
  const bool seeThrough = transparentBg_ || !picture || picture->TransparentIndex() >= 0;
  SetState(seeThrough ? (State() | kTransparent) : (State() & ~kTransparent));
  if (picture && pictureW_ > 0 && pictureH_ > 0) {
    dragging_ = 0;
    const int bw = W(box_), bh = H(box_);
    SIZE size{bw, bh};
    switch (EffectiveMode()) {
      case kAspectRatio: size = AspectSize(bw, bh, pictureW_, pictureH_); break;
      case kCenter:
      case kScroll: size = SIZE{std::min(pictureW_, bw), std::min(pictureH_, bh)}; break;
      default: break;
    }
    const int left = box_.left + (bw - size.cx) / 2, top = box_.top + (bh - size.cy) / 2;
    VGroup::SetRect(left, top, left + size.cx, top + size.cy);
    ClampScroll();
  }
  SetState(State() & ~kPassThrough);
  Invalidate();
}

void VImage::Draw(CDC* dc, const RECT& clip) {
  if (!transparentBg_) FillRectWithColor(dc, clip, bgColor_);
  if (!DrawImage(dc, clip, Rect(), fileName_, mode_, scrollX_, scrollY_, Owner())) return;
  for (auto& anchor : anchors_)
    if (anchor && (anchor->shape == 'r' || anchor->shape == 'c' || anchor->shape == 'e')) DrawAnchor(dc, clip, *anchor);
}

int VImage::DrawImage(CDC* dc, const RECT&, const RECT& r, const char* fileName, char mode, int scrollX,
                      int scrollY, const void* owner) {
  if (!fileName || !*fileName) return 0;
  CDib* picture = TheImageCache().Load(fileName, 1, owner);
  if (!picture) return 0;
  const int pw = picture->Width(), ph = picture->Height();
  if (pw <= 0 || ph <= 0) return 0;
  const int rw = W(r), rh = H(r);
  const RECT whole{0, 0, pw, ph};
  switch (Resolve(mode, rw, rh, pw, ph)) {
    case kZoom: DrawDib(picture, dc, r, whole); return 1;
    case kAspectRatio: {
      const SIZE s = AspectSize(rw, rh, pw, ph);
      const int left = r.left + (rw - s.cx) / 2, top = r.top + (rh - s.cy) / 2;
      DrawDib(picture, dc, RECT{left, top, left + s.cx, top + s.cy}, whole);
      return 1;
    }
    case kTile:
      for (int y = r.top; y < r.bottom; y += ph)
        for (int x = r.left; x < r.right; x += pw) DrawDib(picture, dc, RECT{x, y, x + pw, y + ph}, whole);
      return 1;
    default: break;
  }
  // CENTER and SCROLL: an unscaled part of the picture.
  RECT src, dst;
  if (mode == kScroll) {
    const int sx = std::max(0, std::min(scrollX, pw - rw)), sy = std::max(0, std::min(scrollY, ph - rh));
    src = RECT{sx, sy, sx + rw, sy + rh};
    dst = r;
  } else {
    auto axis = [](int extent, int picture, LONG origin, LONG* s0, LONG* s1, LONG* d0, LONG* d1) {
      if (extent < picture) {
        *s0 = (picture - extent) / 2;
        *s1 = *s0 + extent;
        *d0 = origin;
        *d1 = origin + extent;
      } else {
        *s0 = 0;
        *s1 = picture;
        *d0 = origin + (extent - picture) / 2;
        *d1 = *d0 + picture;
      }
    };
    axis(rw, pw, r.left, &src.left, &src.right, &dst.left, &dst.right);
    axis(rh, ph, r.top, &src.top, &src.bottom, &dst.top, &dst.bottom);
  }
  // Equal sizes, and nothing taken from outside the picture.
  if (src.left < 0) src.right -= src.left, src.left = 0;
  if (src.top < 0) src.bottom -= src.top, src.top = 0;
  src.right = std::min<LONG>(src.right, pw);
  src.bottom = std::min<LONG>(src.bottom, ph);
  const LONG w = std::min(W(src), W(dst)), h = std::min(H(src), H(dst));
  if (w <= 0 || h <= 0) return 1;
  src.right = src.left + w, src.bottom = src.top + h;
  dst.right = dst.left + w, dst.bottom = dst.top + h;
  DrawDib(picture, dc, dst, src);
  return 1;
}

int VImage::DrawDib(CDib* picture, CDC* dc, const RECT& destination, const RECT& source) {
  if (!picture) return 0;
  HGLOBAL shown = picture->DisplayDib();
  const int index = picture->TransparentIndex();
  // The transparent index names an entry of the loaded picture's table: it
  // holds for the display copy only when that is the picture itself.
  BITMAPINFOHEADER header{};
  if (shown && GlobalSize(shown) >= sizeof header) {
    std::memcpy(&header, GlobalLock(shown), sizeof header);
    GlobalUnlock(shown);
  }
  const DWORD entries = shown ? GetColorsInPalette(&header) : 0;
  if (index < 0 || shown != picture->Dib() || static_cast<DWORD>(index) >= entries || entries > 256 ||
      GlobalSize(shown) < header.biSize + entries * sizeof(RGBQUAD))
    return picture->Draw(dc, destination, source, shown, picture->Palette());

  HDC hdc = dc->GetSafeHdc();
  HPALETTE previous = nullptr;
  if (picture->Palette()) {
    previous = SelectPalette(hdc, picture->Palette(), TRUE);
    RealizePalette(hdc);
  }
  auto* base = static_cast<BYTE*>(GlobalLock(shown));
  auto* table = reinterpret_cast<RGBQUAD*>(base + header.biSize);
  const BYTE* bits = base + header.biSize + entries * sizeof(RGBQUAD);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(base);
  std::vector<RGBQUAD> saved(table, table + entries);
  const int srcY = header.biHeight - source.bottom;
  auto blit = [&](DWORD rop) {
    return StretchDIBits(hdc, destination.left, destination.top, W(destination), H(destination), source.left,
                         srcY, W(source), H(source), bits, info, DIB_RGB_COLORS, rop);
  };
  SetStretchBltMode(hdc, COLORONCOLOR);
  std::fill(table, table + entries, RGBQUAD{0, 0, 0, 0});
  table[index] = RGBQUAD{255, 255, 255, 0};
  blit(kSrcAnd);
  std::copy(saved.begin(), saved.end(), table);
  table[index] = RGBQUAD{0, 0, 0, 0};
  const int result = blit(kSrcPaint);
  table[index] = saved[static_cast<size_t>(index)];
  GlobalUnlock(shown);
  if (picture->Palette()) SelectPalette(hdc, previous, FALSE);
  return result;
}

int VImage::AnchorCount() const {
  return static_cast<int>(std::count_if(anchors_.begin(), anchors_.end(), [](const auto& a) { return a != nullptr; }));
}

void VImage::AddAnchor(const ImageAnchor& anchor) {
  for (auto& slot : anchors_)
    if (!slot) {
      slot = std::make_unique<ImageAnchor>(anchor);
      return;
    }
  const size_t at = anchors_.size();
  anchors_.resize(at + kAnchorGrowth);
  anchors_[at] = std::make_unique<ImageAnchor>(anchor);
}

void VImage::ClearAnchors() {
  for (auto& slot : anchors_) slot.reset();
  selectedAnchor_ = -1;
}

void VImage::SetHighlightAnchor(int id) {
  if (id == highlightedAnchor_) return;
  highlightedAnchor_ = id;
  if (id >= 0) ScrollToAnchor(id);
  Invalidate();
}

// Brings the anchor's top left corner to the object's corner, as far as the
// picture allows: picture coordinates, y counted from the top.
void VImage::ScrollToAnchor(int id) {
  if (id < 0) return;
  for (auto& anchor : anchors_) {
    if (!anchor || anchor->id != id) continue;
    const double top = anchor->shape == 'c' ? anchor->y1 + anchor->radius : anchor->y2;
    const double left = anchor->shape == 'c' ? anchor->x1 - anchor->radius : anchor->x1;
    SetScroll(static_cast<int>(left * pictureW_), static_cast<int>((1.0 - top) * pictureH_));
    return;
  }
}

RECT VImage::AnchorRect(ImageAnchor& a) {
  if (pictureW_ <= 0 || pictureH_ <= 0) return RECT{0, 0, 0, 0};
  if (a.shape == 'c') {
    const double ry = a.radius * pictureW_ / pictureH_;
    a.shape = 'e';
    const double x = a.x1, y = a.y1;
    a.x1 = x - a.radius;
    a.x2 = x + a.radius;
    a.y1 = y - ry;
    a.y2 = y + ry;
  }
  const RECT& r = Rect();
  double scaleW = W(r), scaleH = H(r);
  int ox = 0, oy = 0;
  switch (EffectiveMode()) {
    case kCenter:
      // A picture larger than the object shows its middle part.
      scaleW = pictureW_, scaleH = pictureH_;
      ox = -std::max(0, (pictureW_ - W(r)) / 2);
      oy = -std::max(0, (pictureH_ - H(r)) / 2);
      break;
    case kTile: scaleW = pictureW_, scaleH = pictureH_; break;
    case kScroll:
      scaleW = pictureW_, scaleH = pictureH_;
      ox = -scrollX_;
      oy = -scrollY_;
      break;
    default: break;
  }
  return RECT{r.left + ox + static_cast<LONG>(a.x1 * scaleW), r.top + oy + static_cast<LONG>((1 - a.y2) * scaleH),
              r.left + ox + static_cast<LONG>(a.x2 * scaleW), r.top + oy + static_cast<LONG>((1 - a.y1) * scaleH)};
}

void VImage::DrawAnchor(CDC* dc, const RECT&, ImageAnchor& anchor) {
  if (pictureW_ <= 0 || pictureH_ <= 0) return;
  const bool highlighted = anchor.id == highlightedAnchor_;
  if (!anchor.active && !highlighted) return;
  const RECT r = AnchorRect(anchor);
  HDC hdc = dc->GetSafeHdc();
  const int saved = SaveDC(hdc);
  HPEN pen = CreatePen(PS_SOLID, 2, highlighted ? RGB(255, 255, 0) : RGB(255, 0, 0));
  SelectObject(hdc, pen);
  SelectObject(hdc, GetStockObject(NULL_BRUSH));
  if (anchor.shape == 'r') Rectangle(hdc, r.left, r.top, r.right, r.bottom);
  else Ellipse(hdc, r.left, r.top, r.right, r.bottom);
  RestoreDC(hdc, saved);
  DeleteObject(pen);
}

bool VImage::AnchorHit(int x, int y, ImageAnchor& anchor) {
  if (!anchor.active || anchor.id < 0 || anchor.shape == 0) return false;
  const RECT r = AnchorRect(anchor);
  if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return false;
  if (anchor.shape == 'r') return true;
  const double a = W(r) / 2, b = H(r) / 2;
  const double cx = r.left + a, cy = r.top + b;
  return (x - cx) * (x - cx) * b * b + (y - cy) * (y - cy) * a * a <= a * a * b * b;
}

int VImage::AnchorAt(int x, int y) {
  for (auto it = anchors_.rbegin(); it != anchors_.rend(); ++it)
    if (*it && AnchorHit(x, y, **it)) return (*it)->id;
  return -1;
}

void VImage::DragStep(int x, int y) {
  if (std::abs(x - dragPoint_.x) < kDragJump && std::abs(y - dragPoint_.y) < kDragJump)
    SetScroll(scrollX_ - (x - dragPoint_.x), scrollY_ - (y - dragPoint_.y));
  dragPoint_ = POINT{x, y};
}

void VImage::OnMouseDown(int x, int y) {
  if (mode_ != kScroll) return;
  if (dragging_) DragStep(x, y);
  dragging_ = 1;
  dragPoint_ = POINT{x, y};
}

void VImage::OnMouseMove(int x, int y) {
  if (mode_ == kScroll && dragging_) {
    auto* page = dynamic_cast<VPage*>(GetPage());
    if (page && page->MouseDown()) DragStep(x, y);
  }
  if (AnchorCount() > 0) {
    if (AnchorAt(x, y) >= 0) ShowPageLinkCursor();
    else RestorePageCursor();
  }
}

void VImage::OnMouseUp(int x, int y) {
  if (mode_ == kScroll && dragging_) {
    DragStep(x, y);
    dragging_ = 0;
  }
  if (AnchorCount() > 0) {
    selectedAnchor_ = AnchorAt(x, y);
    if (selectedAnchor_ >= 0) {
      ShowPageLinkCursor();
      Notify(kClickedAnchor, this);
      return;
    }
    RestorePageCursor();
  }
  Notify(kClickedPicture, this);
}

void VImage::OnMouseEnter() {}
void VImage::OnMouseLeave() {}

char VImage::ParseMode(const char* text, char def) {
  if (!text) return def;
  static const struct {
    const char* name;
    char mode;
  } kModes[] = {{"CENTER", kCenter}, {"SCROLL", kScroll}, {"TILE", kTile},
                {"ZOOM", kZoom},     {"ASPECTRATIO", kAspectRatio}, {"ASPECTLIMIT", kAspectLimit}};
  for (const auto& m : kModes)
    if (std::strcmp(text, m.name) == 0) return m.mode;
  return def;
}

char VImage::ModeFromStyle(const Property* property, char def) {
  CString text = getConstant(property, CString());
  if (text.IsEmpty()) text = getString(property, CString());
  return text.IsEmpty() ? def : ParseMode(text, def);
}

void VImage::ReadStyleAttributes() {
  VGroup::ReadStyleAttributes();
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  const RECT pos = getRect(style->StyleQuery("pos"), box_);
  if (std::memcmp(&pos, &box_, sizeof pos) != 0) SetRect(pos.left, pos.top, pos.right, pos.bottom);
  SetMode(ModeFromStyle(style->StyleQuery("mode"), kAspectRatio));
  const int sy = getInt(style->StyleQuery("scrolly"), 0);
  const int sx = getInt(style->StyleQuery("scrollx"), 0);
  SetScroll(sx, sy);
  SetFileName(getFile(style->StyleQuery("filename"), fileName_), 0);
  SetBgColor(getColor(style->StyleQuery("bgcolor"), kTransparentColor));
}

bool VImage::SetBoolAttribute(const char* name, bool value) {
  if (std::strcmp(name, "transparent") == 0) {
    transparentBg_ = value ? 1 : 0;
    Layout();
    Invalidate();
  }
  return VGroup::SetBoolAttribute(name, value);
}

bool VImage::SetStringAttribute(const char* name, const char* text) {
  if (std::strcmp(name, "filename") == 0) {
    SetFileName(text, 0);
    return true;
  }
  if (std::strcmp(name, "mode") == 0) {
    SetMode(ParseMode(text, mode_));
    return true;
  }
  return VGroup::SetStringAttribute(name, text);
}

bool VImage::SetNumberAttribute(const char* name, int value) {
  if (std::strcmp(name, "scrollx") == 0) {
    SetScroll(value, scrollY_);
    return true;
  }
  if (std::strcmp(name, "scrolly") == 0) {
    SetScroll(scrollX_, value);
    return true;
  }
  return VGroup::SetNumberAttribute(name, value);
}

bool VImage::SetColorAttribute(const char* name, COLORREF color) {
  if (std::strcmp(name, "bgcolor") == 0) {
    SetBgColor(color);
    transparentBg_ = 0;
    Layout();
    Invalidate();
  }
  return VGroup::SetColorAttribute(name, color);
}

bool VImage::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (std::strcmp(name, "pos") == 0) {
    SetRect(left, top, right, bottom);
    return true;
  }
  return VGroup::SetRectAttribute(name, left, top, right, bottom);
}
