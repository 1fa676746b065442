#include "pages/objects/vobject.h"

#include "framework/user_break.h"
#include "mfc/dc.h"
#include "mfc/gdi_objects.h"
#include "mfc/wnd.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/style_choice.h"
#include "pages/objects/vgroup.h"
#include "pages/page/vpage.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/transitions/transitions.h"
#include "win/gdi.h"
#include "win/user.h"

namespace {

int effectsSuppressed = 0;

bool hasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

bool intersect(RECT& out, const RECT& a, const RECT& b) {
  return IntersectRect(&out, &a, &b) != FALSE;
}

}  // namespace

bool EffectsEnabled() { return effectsSuppressed == 0 && Shell().Effects() != 0; }
EffectsSuppressed::EffectsSuppressed() { ++effectsSuppressed; }
EffectsSuppressed::~EffectsSuppressed() { --effectsSuppressed; }

void FillRectWithColor(CDC* dc, const RECT& rect, COLORREF color) {
  if (!dc) return;
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc->GetSafeHdc(), &rect, brush);
  DeleteObject(brush);
}

void PumpPendingMessages(int n) {
  MSG msg;
  for (int i = 0; i < n && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

VObject::VObject(int left, int top, int right, int bottom) : rect_{left, top, right, bottom} {}

VObject::~VObject() {
  if (!(state_ & kStopped)) {
    state_ |= kStopped;
    VObject::SetState(state_ | kHidden);
  }
  ForgetBackgroundSound(this);
  if (parent_) {
    VObject::Invalidate();
    parent_->RemoveChild(this);
  }
  delete style_;
  style_ = nullptr;
}

VObject* VObject::GetPage() { return parent_ ? parent_->GetPage() : nullptr; }
VObject* VObject::GetObjectUnderMouse() { return this; }
// An object that has a window of its own owns that window.
VObject* VObject::FindByWindow(HWND window) {
  return window && GetOwnWindow() == window ? this : nullptr;
}
CWnd* VObject::GetWindow() { return parent_ ? parent_->GetWindow() : nullptr; }
CWnd* VObject::GetTopWindow() { return parent_ ? parent_->GetTopWindow() : GetWindow(); }
const char* VObject::GetClassName() const { return "VObject"; }
bool VObject::IsGroup() const { return false; }
bool VObject::IsPage() const { return false; }
bool VObject::IsDialog() const { return false; }
CString VObject::GetName() const { return name_; }

void VObject::Initialize() {
  if (state_ & kInitialised) return;
  state_ |= kInitialised;
  // A style attached earlier has been read by SetStyle already.
  if (!style_) ReadStyleAttributes();
}

void VObject::Invalidate() { InvalidateArea(rect_.left, rect_.top, rect_.right, rect_.bottom); }

void VObject::Draw(CDC* dc, const RECT& clip) {
  if (!(state_ & kTransparent)) FillRectWithColor(dc, clip, kDefaultBackground);
}

void VObject::OnMouseDown(int, int) {}
void VObject::OnMouseUp(int, int) {}
void VObject::OnMouseEnter() {}
void VObject::OnMouseMove(int, int) {}
void VObject::OnMouseLeave() {}

void VObject::UpdateCursor() {
  if (!LongOperationFlag()) SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void VObject::OnIdle() {}
DWORD VObject::IdleWait() const { return kNoIdleWait; }
void VObject::OnTimer(UINT_PTR) {}
void VObject::OnCreate() {}
void VObject::OnClose() {}
void VObject::OnDestroy() {}

void VObject::Notify(int code, VObject* sender) {
  if (parent_) parent_->Notify(code, sender);
}

void VObject::OnQueryEndSession() {}

void VObject::SetState(DWORD flags) {
  if (flags == state_) return;
  const bool hiddenChanges = ((flags ^ state_) & kHidden) != 0;
  if (!hiddenChanges) {
    state_ = flags;
    return;
  }
  const bool nowHidden = (flags & kHidden) != 0;
  if (!nowHidden) OnAttach();
  if (HWND own = GetOwnWindow()) ShowWindow(own, nowHidden ? SW_HIDE : SW_SHOW);
  // Invalidated while counted as shown, so that the area is repainted
  // whichever way the flag goes.
  state_ = flags & ~kHidden;
  InvalidateArea(rect_.left, rect_.top, rect_.right, rect_.bottom);
  state_ = flags;
}

bool VObject::IsShown() const { return !(state_ & (kHidden | kPassThrough)); }

void VObject::AddToRegion(CRgn& region, bool opaqueOnly) {
  if (state_ & (kHidden | kPassThrough)) return;
  if (opaqueOnly && (state_ & kTransparent)) return;
  if (!region.GetSafeHandle()) region.CreateRectRgn(0, 0, 0, 0);
  CRgn own;
  own.CreateRectRgnIndirect(&rect_);
  region.CombineRgn(&region, &own, RGN_OR);
}

void VObject::GetRect(RECT* out) const {
  if (out) *out = rect_;
}

void VObject::SetRect(int left, int top, int right, int bottom) {
  const RECT r{left, top, right, bottom};
  if (!hasArea(r)) {
    rect_ = r;
    return;
  }
  if (EqualRect(&r, &rect_)) return;
  if (HWND own = GetOwnWindow())
    SetWindowPos(own, nullptr, left, top, right - left, bottom - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
  rect_ = r;
  Invalidate();
}

void VObject::MoveTo(int x, int y) {
  SetRect(x, y, x + (rect_.right - rect_.left), y + (rect_.bottom - rect_.top));
}

void VObject::Paint(CDC* dc, const RECT& clip) {
  if (!dc || !(state_ & kInitialised) || (state_ & (kPassThrough | kHidden | kInactive))) return;
  RECT area;
  if (!intersect(area, clip, rect_)) return;
  const HDC target = dc->GetSafeHdc();
  const int saved = SaveDC(target);
  SetBoundsRect(target, nullptr, DCB_ENABLE);
  HRGN clipRegion = CreateRectRgnIndirect(&area);
  SelectClipRgn(target, clipRegion);
  DeleteObject(clipRegion);

  VObject* page = GetPage();
  const bool transition = EffectsEnabled() && effect_ > 0 && page && page->GetEffect() <= 0 &&
                          !IsEmpty();
  // Only a page keeps an off-screen bitmap; an object inside a dialog (or
  // without a page) draws directly.
  VPage* owner = transition && page->IsPage() ? dynamic_cast<VPage*>(page) : nullptr;
  CBitmap* bitmap = owner ? owner->OffscreenBitmap(dc) : nullptr;
  CDC memory;
  if (bitmap && memory.CreateCompatibleDC(dc)) {
    CBitmap* old = memory.SelectObject(bitmap);
    const int w = area.right - area.left, h = area.bottom - area.top;
    memory.BitBlt(area.left, area.top, w, h, dc, area.left, area.top, SRCCOPY);
    Draw(&memory, area);
    PaintTransition(target, memory.GetSafeHdc(), area.left, area.top, area.right, area.bottom,
                    effect_);
    memory.SelectObject(old);
  } else {
    Draw(dc, area);
  }
  RestoreDC(target, saved);
}

void VObject::Redraw(const RECT& clip) {
  VObject* page = GetPage();
  if (!page || !(page->IsPage() || page->IsDialog())) return;
  CWnd* window = page->GetWindow();
  if (!window || !IsWindow(window->GetSafeHwnd())) return;
  CClientDC dc(window);
  SetBoundsRect(dc.GetSafeHdc(), nullptr, DCB_ENABLE);
  page->Paint(&dc, clip);
}

void VObject::SetAudio(bool) {}

void VObject::HandleEvent(PageEvent& event) {
  switch (event.code) {
    case PageEvent::Idle: OnIdle(); break;
    case PageEvent::Timer: OnTimer(event.timerId); break;
    case PageEvent::Clock: OnClock(event.time); break;
    case PageEvent::Create: OnCreate(); break;
    case PageEvent::Close: OnClose(); break;
    case PageEvent::Destroy: OnDestroy(); break;
    case PageEvent::QueryEndSession: OnQueryEndSession(); break;
    case PageEvent::ReadStyle: ReadStyleAttributes(); break;
    case PageEvent::Start:
      if (!(state_ & kStarted)) {
        state_ |= kStarted;
        Start();
      }
      break;
    case PageEvent::Stop:
      if ((state_ & kStarted) && !(state_ & kStopped)) {
        state_ |= kStopped;
        Stop();
      }
      break;
    case PageEvent::AudioOff: SetAudio(true); break;
    case PageEvent::AudioOn: SetAudio(false); break;
    default: break;
  }
}

void VObject::HandleMouse(int x, int y, PageEvent& event) {
  switch (event.code) {
    case PageEvent::MouseDown: OnMouseDown(x, y); break;
    case PageEvent::MouseUp: OnMouseUp(x, y); break;
    case PageEvent::MouseMove: OnMouseMove(x, y); break;
    default: return;
  }
  event.code = PageEvent::Consumed;
}

PropertyStruct* VObject::GetStyle() { return style_; }

void VObject::SetStyle(Property* entry) {
  if (entry && entry->kind != kPropertyStruct) {
    delete entry;
    return;
  }
  delete style_;
  style_ = static_cast<PropertyStruct*>(entry);
  ReadStyleAttributes();
}

void VObject::LoadStyle(const PropertyStruct* context, const char* styleText,
                        const char* defaultStyleText, const Ref<KXObject>&) {
  if (PropertyStruct* chosen = ChooseStyle(context, styleText, defaultStyleText, style_ != nullptr))
    SetStyle(chosen);
}

void VObject::ReadStyleAttributes() {
  const PropertyStruct* s = style_;
  if (!s) return;
  const bool disabled = getBool(s->StyleQuery("disabled"), (state_ & kDisabled) ? 1 : 0) != 0;
  SetState(disabled ? (state_ | kDisabled) : (state_ & ~kDisabled));
  bool visible = getBool(s->StyleQuery("visible"), (state_ & kHidden) ? 0 : 1) != 0;
  startTime_ = SecondsToMilliseconds(getValue(s->StyleQuery("start"), 0.0));
  stopTime_ = SecondsToMilliseconds(getValue(s->StyleQuery("end"), kDefaultEndSeconds));
  effect_ = getTransition(s->StyleQuery("effect"), 0);
  const CString name = getString(s->StyleQuery("name"), CString());
  if (!name.IsEmpty()) name_ = name;
  // An object that starts later is shown by the clock when its time comes.
  if (startTime_ > 0) visible = false;
  SetState(visible ? (state_ & ~kHidden) : (state_ | kHidden));
}

bool VObject::SetBoolAttribute(const char* name, bool value) {
  const CString n(name);
  if (n == "visible") {
    SetState(value ? (state_ & ~kHidden) : (state_ | kHidden));
  } else if (n == "disabled") {
    SetState(value ? (state_ | kDisabled) : (state_ & ~kDisabled));
  } else if (n == "start") {
    if (value) Start();
  } else if (n == "stop") {
    if (value) Stop();
  } else {
    return false;
  }
  return true;
}

bool VObject::SetStringAttribute(const char* name, const char* text) {
  if (CString(name) != "name") return false;
  name_ = text;
  return true;
}

bool VObject::SetNumberAttribute(const char* name, int seconds) {
  const CString n(name);
  if (n == "start")
    startTime_ = SecondsToMilliseconds(seconds);
  else if (n == "end")
    stopTime_ = SecondsToMilliseconds(seconds);
  else
    return false;
  return true;
}

bool VObject::SetColorAttribute(const char*, COLORREF) { return false; }

bool VObject::SetRectAttribute(const char*, int, int, int, int) { return false; }

void VObject::Start() {
  if (style_ && !getBool(style_->StyleQuery("visible"), 1)) return;
  SetState(state_ & ~kHidden);
}

void VObject::Stop() { SetState(state_ | kHidden); }

bool VObject::IsEmpty() const { return false; }

bool VObject::Covers(int left, int top, int right, int bottom) const {
  if (state_ & (kHidden | kTransparent | kPassThrough)) return false;
  return left >= rect_.left && top >= rect_.top && right <= rect_.right && bottom <= rect_.bottom;
}

void VObject::OnClock(DWORD time) {
  if (startTime_ >= stopTime_) return;
  if (time >= startTime_ && !(state_ & kStarted)) {
    state_ |= kStarted;
    Start();
  } else if (time >= stopTime_ && (state_ & kStarted) && !(state_ & kStopped)) {
    state_ |= kStopped;
    Stop();
  }
}

void VObject::OnAttach() {}

void VObject::SetStartTime(std::int64_t ms) {
  startTime_ = ms <= 0 ? 0 : ms >= kNever ? kNever : static_cast<DWORD>(ms);
}

void VObject::SetStopTime(std::int64_t ms) {
  stopTime_ = ms <= 0 ? 0 : ms >= kNever ? kNever : static_cast<DWORD>(ms);
}

HWND VObject::GetOwnWindow() const { return window_ && IsWindow(window_) ? window_ : nullptr; }

void VObject::SendIdleEvent() {
  PageEvent event(PageEvent::Idle);
  HandleEvent(event);
}

void VObject::InvalidateArea(int left, int top, int right, int bottom) {
  if (state_ & (kHidden | kInactive)) return;
  if (state_ & kPassThrough) {
    if (IsGroup())
      for (VObject* c = static_cast<VGroup*>(this)->FirstChild(); c; c = c->next_)
        c->InvalidateArea(left, top, right, bottom);
    return;
  }
  RECT area;
  const RECT wanted{left, top, right, bottom};
  if (!intersect(area, wanted, rect_)) return;
  CWnd* window = GetWindow();
  if (!window) return;
  HWND handle = window->GetSafeHwnd();
  if (handle && IsWindow(handle) && IsWindowVisible(handle)) InvalidateRect(handle, &area, FALSE);
}
