#include "pages/objects/vlabel.h"

#include <algorithm>

#include "framework/user_break.h"
#include "mfc/dc.h"
#include "mfc/wnd.h"
#include "pages/objects/label_picture.h"
#include "pages/objects/vdialog.h"
#include "pages/objects/vgroup.h"
#include "pages/objects/vhint_dlg.h"
#include "pages/page/vpage.h"
#include "pages/picture/vimage.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "win/gdi.h"
#include "win/user.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kDarkGrey = 0x808080;
constexpr COLORREF kLightGrey = 0xC0C0C0;

// Room the caption leaves around itself when the label fits it, and the
// room of the mark in front of it.
constexpr int kFitMarginX = 5;
constexpr int kFitMarginY = 3;
constexpr int kFitMarkWidth = 15;
constexpr int kDrawMarkWidth = 12;

int defaultFontSize = 0;

int clampPercent(int p) { return std::clamp(p, 0, 100); }

// One row of pixels from x0 to x1 inclusive (nothing when x1 < x0).
void HLine(HDC dc, int x0, int x1, int y, COLORREF color) {
  for (int x = x0; x <= x1; ++x) SetPixel(dc, x, y, color);
}
void VLine(HDC dc, int x, int y0, int y1, COLORREF color) {
  for (int y = y0; y <= y1; ++y) SetPixel(dc, x, y, color);
}

void ShowLinkCursor() {
  if (LongOperationFlag()) return;
  HCURSOR cursor = LoadCursor(AfxGetResourceHandle(), "LINKCURSOR");
  if (!cursor) cursor = LoadCursor(nullptr, IDC_HAND);
  SetCursor(cursor);
}

void RestoreCursor() {
  if (!LongOperationFlag()) SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace

std::uint8_t StippleRow(int pattern, int row) {
  static constexpr std::uint8_t kRows[5][2] = {
      {0x00, 0x00}, {0x88, 0x22}, {0xAA, 0x55}, {0xEE, 0xBB}, {0xFF, 0xFF}};
  pattern = std::clamp(pattern, 0, 4);
  return kRows[pattern][row & 1];
}

int VLabel::DefaultFontSize() {
  if (defaultFontSize == 0) {
    const int width = GetSystemMetrics(SM_CXFULLSCREEN);
    defaultFontSize = width <= 640 ? 16 : width <= 800 ? 20 : 24;
  }
  return defaultFontSize;
}

int VLabel::ParseMode(const char* text, int def) {
  return VImage::ParseMode(text, static_cast<char>(def));
}

VLabel::VLabel(int left, int top, int right, int bottom, DWORD labelFlags,
               const MultiLangString& caption)
    : VObject(left, top, right, bottom),
      caption_(caption),
      labelFlags_(labelFlags),
      fontSize_(DefaultFontSize()),
      fontName_(DefaultFontName()),
      layoutRect_{left, top, right, bottom} {
  if (labelFlags_ & kTransparentLabel) SetState(State() | kTransparent);
}

VLabel::~VLabel() { ForgetFont(); }

const char* VLabel::GetClassName() const { return "VLabel"; }

// ---- Fonts: one per size and face the label's style asks for ----

void VLabel::ForgetFont() {
  if (font_) DeleteObject(font_);
  font_ = nullptr;
}

HFONT VLabel::Font() {
  if (!font_) {
    font_ = CreateFont(fontSize_, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, fontName_);
    if (font_) ++fontsMade_;
  }
  return font_;
}

void VLabel::DrawCaption(CDC* dc, RECT* rect, UINT format) {
  if (!rect) return;
  const CString text = caption_.Text();
  if (text.IsEmpty() || !dc) {
    rect->right = rect->left;
    rect->bottom = rect->top;
    return;
  }
  const HDC hdc = dc->GetSafeHdc();
  HGDIOBJ old = SelectObject(hdc, Font());
  DrawText(hdc, text, text.GetLength(), rect, format);
  SelectObject(hdc, old);
}

// ---- Setters ----

void VLabel::Refresh() {
  if (labelFlags_ & kFitCaption)
    FitCaption();
  else
    Invalidate();
}

void VLabel::SetCaption(const MultiLangString& caption) {
  if (caption.Text() == caption_.Text()) {
    caption_ = caption;
    return;
  }
  caption_ = caption;
  Refresh();
}

void VLabel::SetCaptionText(const char* text) { SetCaption(MultiLangString::OnePart(text)); }

void VLabel::SetGoto(const char* target) {
  const CString t(target ? target : "");
  if (!t.IsEmpty()) SetState(State() & ~kDisabled);
  gotoTarget_ = t;
}

void VLabel::SetOnClick(const char* line) {
  const CString l(line ? line : "");
  if (!l.IsEmpty()) SetState(State() & ~kDisabled);
  onClick_ = l;
}

void VLabel::SetAlignment(DWORD bits) {
  labelFlags_ = (labelFlags_ & ~kAlignMask) | (bits & kAlignMask);
  Refresh();
}

void VLabel::SetBullet(bool on) {
  if (((labelFlags_ & kBullet) != 0) == on) return;
  labelFlags_ = on ? (labelFlags_ | kBullet) : (labelFlags_ & ~kBullet);
  Refresh();
}

void VLabel::SetArrow(bool on) {
  if (((labelFlags_ & kArrow) != 0) == on) return;
  labelFlags_ = on ? (labelFlags_ | kArrow) : (labelFlags_ & ~kArrow);
  Refresh();
}

void VLabel::SetBorder(DWORD bits) {
  labelFlags_ = (labelFlags_ & ~(kBorder3d | kBorder)) | (bits & (kBorder3d | kBorder));
  Refresh();
}

void VLabel::SetFgColor(COLORREF color) {
  if (color == fgColor_) return;
  fgColor_ = color;
  Invalidate();
}

void VLabel::SetBgColor(COLORREF color, int percent) {
  percent = clampPercent(percent);
  if (!(labelFlags_ & kTransparentLabel) && color == bgColor_ && percent == bgPercent_) return;
  labelFlags_ &= ~kTransparentLabel;
  bgColor_ = color;
  bgPercent_ = percent;
  // A partial background lets the page show through between its pixels.
  SetState(percent == 100 ? (State() & ~kTransparent) : (State() | kTransparent));
  Invalidate();
}

void VLabel::SetTransparent() {
  if (labelFlags_ & kTransparentLabel) return;
  SetState(State() | kTransparent);
  labelFlags_ |= kTransparentLabel;
  Invalidate();
}

void VLabel::SetFontSize(int size) {
  if (size == fontSize_) return;
  fontSize_ = size;
  ForgetFont();
  if (!caption_.Text().IsEmpty()) Refresh();
}

void VLabel::SetFontName(const char* name) {
  const CString n(name ? name : "");
  if (n == fontName_) return;
  fontName_ = n;
  ForgetFont();
  if (!caption_.Text().IsEmpty()) Refresh();
}

void VLabel::SetMode(int mode) {
  if (mode == mode_) return;
  mode_ = mode;
  Invalidate();
}

void VLabel::SetBgPicture(const char* name) {
  const CString n(name ? name : "");
  if (n == bgPicture_) return;
  bgPicture_ = n;
  // Without a picture the label is as transparent as its style says.
  if (n.IsEmpty()) {
    SetState((labelFlags_ & kTransparentLabel) ? (State() | kTransparent)
                                               : (State() & ~kTransparent));
  } else {
    SetState(State() & ~kTransparent);
  }
  if (!n.IsEmpty()) Shell().FetchCached(n);
  if (CurrentPicture() == n) Invalidate();
}

void VLabel::SetBgPictureOver(const char* name) {
  const CString n(name ? name : "");
  if (n == bgPictureOver_) return;
  bgPictureOver_ = n;
  if (!n.IsEmpty()) Shell().FetchCached(n);
  if (CurrentPicture() == n) Invalidate();
}

void VLabel::SetBgPictureDown(const char* name) {
  const CString n(name ? name : "");
  if (n == bgPictureDown_) return;
  bgPictureDown_ = n;
  if (!n.IsEmpty()) Shell().FetchCached(n);
  if (CurrentPicture() == n) Invalidate();
}

const CString& VLabel::CurrentPicture() const {
  if (pressed_ && !bgPictureDown_.IsEmpty()) return bgPictureDown_;
  if (hover_ && !bgPictureOver_.IsEmpty()) return bgPictureOver_;
  return bgPicture_;
}

// ---- Geometry ----

void VLabel::FitCaption() {
  if (caption_.Text().IsEmpty()) {
    VObject::SetRect(layoutRect_.left, layoutRect_.top, layoutRect_.right, layoutRect_.bottom);
    return;
  }
  CWnd* window = GetWindow();
  if (!window || !window->GetSafeHwnd()) return;
  CClientDC dc(window);
  if (!dc.GetSafeHdc()) return;
  RECT r = layoutRect_;
  if (labelFlags_ & kBorder3d)
    InflateRect(&r, -2, -2);
  else if (labelFlags_ & kBorder)
    InflateRect(&r, -1, -1);
  DrawCaption(&dc, &r, kMeasureFormat);
  if (labelFlags_ & (kBullet | kArrow)) r.right += kFitMarkWidth;
  DWORD align = labelFlags_ & kAlignMask;
  if (r.right - r.left > layoutRect_.right - layoutRect_.left &&
      (align == 0 || align == kAlignCenter))
    align = kAlignLeft;
  InflateRect(&r, kFitMarginX, kFitMarginY);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const RECT& l = layoutRect_;
  RECT fitted;
  if (align == kAlignLeft) {
    fitted = RECT{l.left, l.top, l.left + w, l.top + h};
  } else if (align == kAlignRight) {
    fitted = RECT{l.right - w, l.bottom - h, l.right, l.bottom};
  } else {
    const int left = (l.left + l.right - w) / 2, top = (l.top + l.bottom - h) / 2;
    fitted = RECT{left, top, left + w, top + h};
  }
  VObject::SetRect(fitted.left, fitted.top, fitted.right, fitted.bottom);
}

void VLabel::GetRect(RECT* out) const {
  if (labelFlags_ & kFitCaption) const_cast<VLabel*>(this)->FitCaption();
  VObject::GetRect(out);
}

void VLabel::SetRect(int left, int top, int right, int bottom) {
  const RECT r{left, top, right, bottom};
  if (EqualRect(&r, &layoutRect_)) return;
  layoutRect_ = r;
  if (labelFlags_ & kFitCaption)
    FitCaption();
  else
    VObject::SetRect(left, top, right, bottom);
}

void VLabel::OnAttach() {
  VObject::OnAttach();
  if (labelFlags_ & kFitCaption) FitCaption();
}

// ---- Style and attributes ----

void VLabel::ReadStyleAttributes() {
  VObject::ReadStyleAttributes();
  const PropertyStruct* s = GetStyle();
  if (!s) return;
  if (getBool(s->StyleQuery("fitcaption"), 1)) labelFlags_ |= kFitCaption;
  RECT current;
  GetRect(&current);
  const RECT pos = getRect(s->StyleQuery("pos"), current);
  SetRect(pos.left, pos.top, pos.right, pos.bottom);
  if (getBool(s->StyleQuery("transparent"), (labelFlags_ & kTransparentLabel) ? 1 : 0))
    SetTransparent();
  SetFontSize(getInt(s->StyleQuery("fontsize"), DefaultFontSize()));
  SetFontName(getString(s->StyleQuery("fontname"), DefaultFontName()));
  SetFgColor(getColor(s->StyleQuery("fgcolor"), fgColor_));
  if (!(labelFlags_ & kTransparentLabel))
    SetBgColor(getColor(s->StyleQuery("bgcolor"), bgColor_), 100);
  const bool border3d = getBool(s->StyleQuery("border3d"), (labelFlags_ & kBorder3d) ? 1 : 0);
  const bool border = getBool(s->StyleQuery("border"), (labelFlags_ & kBorder) ? 1 : 0);
  SetBorder((border3d ? kBorder3d : 0) | (border ? kBorder : 0));
  if (getBool(s->StyleQuery("bullet"), (labelFlags_ & kBullet) ? 1 : 0)) labelFlags_ |= kBullet;
  if (getBool(s->StyleQuery("arrow"), (labelFlags_ & kArrow) ? 1 : 0)) labelFlags_ |= kArrow;
  const CString alignment = getConstant(s->StyleQuery("alignment"), "CENTER");
  SetAlignment(alignment == "LEFT" ? kAlignLeft : alignment == "RIGHT" ? kAlignRight : kAlignCenter);
  SetMode(ParseMode(getConstant(s->StyleQuery("mode"), ""), kModeZoom));
  SetBgPicture(getFile(s->StyleQuery("bgpicture"), bgPicture_));
  SetBgPictureOver(getFile(s->StyleQuery("bgpictureover"), bgPictureOver_));
  SetBgPictureDown(getFile(s->StyleQuery("bgpicturedown"), bgPictureDown_));
  const CString caption = getString(s->StyleQuery("caption"), CString());
  if (!caption.IsEmpty()) SetCaptionText(caption);
  SetGoto(getString(s->StyleQuery("goto"), CString()));
  SetOnClick(getString(s->StyleQuery("onclick"), CString()));
  if (labelFlags_ & kFitCaption) FitCaption();
}

bool VLabel::SetBoolAttribute(const char* name, bool value) {
  const CString n(name ? name : "");
  if (n == "fitcaption") {
    if (value) {
      labelFlags_ |= kFitCaption;
      FitCaption();
    } else {
      labelFlags_ &= ~kFitCaption;
    }
    Invalidate();
  } else if (n == "transparent") {
    if (value) {
      SetTransparent();
    } else {
      labelFlags_ &= ~kTransparentLabel;
      Invalidate();
    }
  } else if (n == "border3d") {
    SetBorder((value ? kBorder3d : 0) | (labelFlags_ & kBorder));
  } else if (n == "border") {
    SetBorder((value ? kBorder : 0) | (labelFlags_ & kBorder3d));
  } else if (n == "bullet" || n == "arrow") {
    const DWORD bit = n == "bullet" ? kBullet : kArrow;
    labelFlags_ = value ? (labelFlags_ | bit) : (labelFlags_ & ~bit);
    Invalidate();
  } else {
    return VObject::SetBoolAttribute(name, value);
  }
  return true;
}

bool VLabel::SetStringAttribute(const char* name, const char* text) {
  const CString n(name ? name : "");
  const char* value = text ? text : "";
  if (n == "bgpicture") {
    SetBgPicture(value);
  } else if (n == "bgpictureover") {
    SetBgPictureOver(value);
  } else if (n == "bgpicturedown") {
    SetBgPictureDown(value);
  } else if (n == "caption") {
    SetCaptionText(value);
  } else if (n == "goto") {
    SetGoto(value);
  } else if (n == "onclick") {
    SetOnClick(value);
  } else if (n == "fontname") {
    SetFontName(value);
  } else if (n == "alignment") {
    const CString a(value);
    if (a == "LEFT")
      SetAlignment(kAlignLeft);
    else if (a == "RIGHT")
      SetAlignment(kAlignRight);
    else if (a == "CENTER")
      SetAlignment(kAlignCenter);
    else
      return false;
  } else if (n == "mode") {
    SetMode(ParseMode(value, mode_));
  } else {
    return VObject::SetStringAttribute(name, text);
  }
  return true;
}

bool VLabel::SetNumberAttribute(const char* name, int value) {
  if (CString(name ? name : "") == "fontsize") {
    SetFontSize(value);
    return true;
  }
  return VObject::SetNumberAttribute(name, value);
}

bool VLabel::SetColorAttribute(const char* name, COLORREF color) {
  const CString n(name ? name : "");
  if (n == "fgcolor") {
    SetFgColor(color);
  } else if (n == "bgcolor") {
    SetBgColor(color, 100);
  } else {
    return VObject::SetColorAttribute(name, color);
  }
  return true;
}

bool VLabel::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (CString(name ? name : "") == "pos") {
    SetRect(left, top, right, bottom);
    return true;
  }
  return VObject::SetRectAttribute(name, left, top, right, bottom);
}

// ---- Drawing ----

void VLabel::DrawBackground(CDC* dc, const RECT& clip) {
  if ((labelFlags_ & kTransparentLabel) || !bgPicture_.IsEmpty() || bgPercent_ <= 0) return;
  if (bgPercent_ >= 100) {
    FillRectWithColor(dc, clip, bgColor_);
    return;
  }
  const int pattern = std::min(bgPercent_ * 5 / 100, 4);
  const RECT& r = Rect();
  const HDC hdc = dc->GetSafeHdc();
  for (int y = r.top; y < r.bottom; ++y) {
    const std::uint8_t row = StippleRow(pattern, y - r.top);
    if (!row) continue;
    for (int x = r.left; x < r.right; ++x)
      if (row & (1u << ((x - r.left) & 7))) SetPixel(hdc, x, y, bgColor_);
  }
}

bool VLabel::ShowsPress() const {
  return (labelFlags_ & kBorder3d) || !bgPictureDown_.IsEmpty();
}

void VLabel::DrawFrame(CDC* dc, const RECT& clip) {
  const int t = (labelFlags_ & kBorder3d) ? 3 : (labelFlags_ & kBorder) ? 1 : 0;
  if (!t) return;
  RECT inner = layoutRect_;
  InflateRect(&inner, -t, -t);
  if (clip.left >= inner.left && clip.top >= inner.top && clip.right <= inner.right &&
      clip.bottom <= inner.bottom)
    return;
  const HDC hdc = dc->GetSafeHdc();
  const int L = layoutRect_.left, T = layoutRect_.top, R = layoutRect_.right,
            B = layoutRect_.bottom;
  if (!(labelFlags_ & kBorder3d)) {
    HBRUSH black = CreateSolidBrush(kBlack);
    FrameRect(hdc, &layoutRect_, black);
    DeleteObject(black);
    return;
  }
  // Ring 1: black, with light grey corners.
  HLine(hdc, L + 1, R - 2, T, kBlack);
  HLine(hdc, L + 1, R - 2, B - 1, kBlack);
  VLine(hdc, L, T + 1, B - 2, kBlack);
  VLine(hdc, R - 1, T + 1, B - 2, kBlack);
  SetPixel(hdc, L, T, kLightGrey);
  SetPixel(hdc, R - 1, T, kLightGrey);
  SetPixel(hdc, L, B - 1, kLightGrey);
  SetPixel(hdc, R - 1, B - 1, kLightGrey);
  // Ring 2: lit from the top left, or sunk while pressed.
  const COLORREF lit = pressed_ ? kDarkGrey : kWhite;
  const COLORREF shade = pressed_ ? kLightGrey : kDarkGrey;
  HLine(hdc, L + 2, R - 3, T + 1, lit);
  VLine(hdc, L + 1, T + 1, B - 3, lit);
  HLine(hdc, L + 1, R - 2, B - 2, shade);
  VLine(hdc, R - 2, T + 1, B - 3, shade);
  // Ring 3.
  const COLORREF inner3 = pressed_ ? kLightGrey : kDarkGrey;
  HLine(hdc, L + 3, R - 4, T + 2, kLightGrey);
  VLine(hdc, L + 2, T + 2, B - 4, kLightGrey);
  HLine(hdc, L + 2, R - 3, B - 3, inner3);
  VLine(hdc, R - 3, T + 2, B - 4, inner3);
}

void VLabel::DrawMark(CDC* dc) {
  if (!(labelFlags_ & (kBullet | kArrow))) return;
  const RECT& r = Rect();
  const int cy = (r.top + r.bottom) / 2, x0 = r.left;
  const HDC hdc = dc->GetSafeHdc();
  if (labelFlags_ & kBullet) {
    HBRUSH brush = CreateSolidBrush(fgColor_);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    Ellipse(hdc, x0 + 2, cy - 4, x0 + 10, cy + 4);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 3, fgColor_);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  MoveToEx(hdc, x0, cy, nullptr);
  LineTo(hdc, x0 + 10, cy);
  MoveToEx(hdc, x0 + 6, cy - 4, nullptr);
  LineTo(hdc, x0 + 10, cy);
  LineTo(hdc, x0 + 6, cy + 4);
  SelectObject(hdc, oldPen);
  DeleteObject(pen);
}

void VLabel::DrawCaptionText(CDC* dc) {
  if (caption_.Text().IsEmpty()) return;
  RECT r = Rect();
  const DWORD align = labelFlags_ & kAlignMask;
  UINT format = align == kAlignLeft ? DT_LEFT : align == kAlignRight ? DT_RIGHT : DT_CENTER;
  const HDC hdc = dc->GetSafeHdc();
  SetTextColor(hdc, fgColor_);
  SetBkMode(hdc, TRANSPARENT);
  if (labelFlags_ & kBorder3d) {
    InflateRect(&r, -2, -2);
    if (pressed_) OffsetRect(&r, 1, 1);
  } else if (labelFlags_ & kBorder) {
    InflateRect(&r, -1, -1);
  }
  if (labelFlags_ & (kBullet | kArrow)) r.left += kDrawMarkWidth;
  RECT measured = r;
  DrawCaption(dc, &measured, kMeasureFormat);
  if (measured.right - measured.left > r.right - r.left && format == DT_CENTER) format = DT_LEFT;
  DrawCaption(dc, &r, format | kDrawFormat);
}

void VLabel::Draw(CDC* dc, const RECT& clip) {
  if (!dc) return;
  DrawBackground(dc, clip);
  const CString& picture = CurrentPicture();
  if (!picture.IsEmpty()) {
    RECT target = Rect();
    if ((labelFlags_ & kBorder3d) && pressed_ && bgPictureDown_.IsEmpty()) OffsetRect(&target, 1, 1);
    const VObject* page = GetPage();
    const LabelPictureInfo info = LookUpLabelPicture(picture, page);
    if (info.loaded) {
      const DWORD state = info.transparent ? (State() | kTransparent) : (State() & ~kTransparent);
      if (state != State()) VObject::SetState(state);
    }
    DrawLabelPicture(dc, clip, target, picture, mode_, page);
  }
  DrawFrame(dc, clip);
  if (!Has(kDisabled) && Parent() && Parent()->MouseChild() == this) ShowLinkCursor();
  DrawMark(dc);
  DrawCaptionText(dc);
}

// ---- Mouse ----

bool VLabel::PageActive() {
  VObject* page = GetPage();
  return page && !page->Has(kInactive);
}

bool VLabel::PageButtonHeld() {
  VObject* page = GetPage();
  if (!page) return false;
  if (page->IsPage())
    if (auto* p = dynamic_cast<VPage*>(page)) return p->MouseDown();
  if (page->IsDialog())
    if (auto* d = dynamic_cast<VDialog*>(page)) return d->MouseDown();
  return false;
}

void VLabel::UpdateCursor() {
  if (Has(kDisabled))
    RestoreCursor();
  else
    ShowLinkCursor();
}

void VLabel::OnMouseDown(int, int) {
  if (pressed_) return;
  pressed_ = 1;
  if (ShowsPress()) Redraw(layoutRect_);
}

void VLabel::OnMouseUp(int, int) {
  if (pressed_) {
    pressed_ = 0;
    if (ShowsPress()) Redraw(layoutRect_);
  }
  // The shell only queues what a click asks for; nothing here is freed
  // while the page still walks its objects.
  if (!gotoTarget_.IsEmpty()) {
    Shell().PushGotoName(gotoTarget_);
    if (Parent()) Parent()->Notify(kClicked, this);
  } else if (!onClick_.IsEmpty()) {
    Shell().RunCommandLine(onClick_, Ref<KXObject>());
  } else if (Parent()) {
    Parent()->Notify(kClicked, this);
  }
}

void VLabel::OnMouseEnter() {
  if (!GetTopWindow()) return;
  hover_ = 1;
  if (const PropertyStruct* s = GetStyle()) {
    if (VHintDlg* hint = VHintDlg::GetHintWindow()) {
      hint->PlaceNear(this);
      hint->ShowHint(MultiLangString::OnePart(getString(s->StyleQuery("hint"), CString())));
    }
  }
  bool redraw = false;
  if (!pressed_ && PageButtonHeld()) {
    pressed_ = 1;
    redraw = ShowsPress();
  }
  if (!pressed_ && !bgPictureOver_.IsEmpty()) redraw = true;
  if (redraw && PageActive()) Redraw(layoutRect_);
  VObject::OnMouseEnter();
}

void VLabel::OnMouseLeave() {
  if (!GetTopWindow()) return;
  if (VHintDlg* hint = VHintDlg::GetHintWindow()) hint->Hide();
  hover_ = 0;
  bool redraw = false;
  if (pressed_) {
    pressed_ = 0;
    redraw = ShowsPress();
  }
  if (!bgPictureOver_.IsEmpty()) redraw = true;
  if (redraw && PageActive()) Redraw(layoutRect_);
  VObject::OnMouseLeave();
}

// ---- Tool buttons ----

VToolButton::VToolButton(int left, int top, int right, int bottom, const MultiLangString& caption)
    : VLabel(left, top, right, bottom, kBorder3d, caption) {}

VToolButton::~VToolButton() = default;
