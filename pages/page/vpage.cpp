#include "pages/page/vpage.h"

#include "core/object_utils.h"
#include "core/screen_geometry.h"
#include "framework/progress_reporter.h"
#include "framework/user_break.h"
#include "mfc/afx.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/style_choice.h"
#include "pages/page/page_parts.h"
#include "pages/page/page_window.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/style_expressions.h"
#include "pages/transitions/transitions.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

// Where the standard parts go, as fractions of the page.
constexpr char kBackgroundRect[] = "0 0 640/640 480/480";
constexpr char kToolbarRect[] = "560/640 0 80/640 480/480";
constexpr char kProgressRect[] = "0 460/480 560/640 20/480";

// A background-music file name that means silence.
bool MeansSilence(CString name) {
  name.MakeLower();
  return name == "stop" || name == "no" || name == "nothing";
}

PageTickSource tickSource = nullptr;

}  // namespace

PrintablePageObject::~PrintablePageObject() = default;

void SetPageTickSource(PageTickSource source) { tickSource = source; }
DWORD PageTicks() { return tickSource ? tickSource() : GetTickCount(); }

RECT GetPageArea() {
  const RECT area = Shell().PageArea();
  return IsRectEmpty(&area) ? GetScreenRect() : area;
}

VPage::VPage() : VGroup(0, 0, 0, 0), pageRect_(GetPageArea()) {
  StoreRect(RECT{0, 0, pageRect_.right - pageRect_.left, pageRect_.bottom - pageRect_.top});
}

VPage::~VPage() {
  StopClock();
  if (PageWindow* w = window_) {
    window_ = nullptr;
    w->page_ = nullptr;
    if (IsWindow(w->GetSafeHwnd())) w->DestroyWindow();
  }
}

BOOL VPage::CreatePage(CWnd* parent) {
  RegisterPageResources();
  auto* w = new PageWindow(this);
  window_ = w;
  const DWORD style = WS_CHILD | (Has(kHidden) ? 0 : WS_VISIBLE);
  if (!w->Create(nullptr, "VPage", style, pageRect_, parent, kControlId)) {
    // The view has deleted itself; the page stays with the caller.
    window_ = nullptr;
    return FALSE;
  }
  w->ownsPage_ = true;
  SetClassLong(w->GetSafeHwnd(), GCL_HBRBACKGROUND, 0);
  w->OnInitialUpdate();
  return TRUE;
}

void VPage::InitialUpdate() {
  if (Has(kInitialised)) return;
  Initialize();
  if (const PropertyStruct* style = GetStyle())
    SetEffect(getTransition(style->StyleQuery("effect"), 0));
}

RECT VPage::ProgressRect() { return ReadRect(kProgressRect); }

void VPage::DrawProgressBar() {
  ProgressReporter* progress = GetFrameProgress();
  if (!progress || progress->fraction() == 0.0f || !window_) return;
  CClientDC dc(window_);
  RECT bar = ProgressRect();
  InflateRect(&bar, -2, -2);
  dc.FillSolidRect(&bar, RGB(192, 192, 192));
  RECT done = bar;
  const double fraction = progress->fraction();
  done.right = done.left + static_cast<LONG>((bar.right - bar.left) * fraction);
  dc.FillSolidRect(&done, RGB(0, 255, 0));
  CString text;
  text.Format("%d %%", static_cast<int>(fraction * 100));
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(text, &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void VPage::StartClock() {
  if (clockTimer_ && window_) window_->KillTimer(clockTimer_);
  clockTimer_ = 0;
  if (clockWanted_ && window_ && window_->SetTimer(kClockTimer, kClockPeriodMs))
    clockTimer_ = kClockTimer;
  clockStart_ = PageTicks();
}

void VPage::StopClock() {
  if (clockTimer_ && window_ && IsWindow(window_->GetSafeHwnd())) window_->KillTimer(clockTimer_);
  clockTimer_ = 0;
}

void VPage::Enter() {
  SetState(State() & ~kInactive);
  StartClock();
}

void VPage::Leave() {
  SetState(State() | kInactive);
  if (clockWanted_) StopClock();
}

int VPage::GetElapsed() { return static_cast<int>(PageTicks() - clockStart_); }

VObject* VPage::GetPage() { return this; }

VObject* VPage::FindByWindow(HWND window) {
  if (window && window_ && window_->GetSafeHwnd() == window) return this;
  return VGroup::FindByWindow(window);
}

CWnd* VPage::GetWindow() { return window_; }

const char* VPage::GetClassName() const { return "VPage"; }

bool VPage::IsPage() const { return true; }

void VPage::Initialize() {
  historyEntry_ = Shell().CurrentObject();
  layoutSource_ = historyEntry_;
  object_ = followLink(historyEntry_);
  if (object_ && object_->getLayout().IsEmpty())
    if (Ref<KXObject> head = collectionHeadList(object_)) layoutSource_ = followLink(head);
  VGroup::Initialize();
}

void VPage::OnTimer(UINT_PTR id) {
  if (!clockTimer_ || id != clockTimer_) return;
  PageEvent clock(PageEvent::Clock);
  clock.time = static_cast<DWORD>(GetElapsed());
  HandleEvent(clock);
}

void VPage::OnClock(DWORD) {}

void VPage::SetState(DWORD flags) {
  if (((flags ^ State()) & kHidden) && window_ && IsWindow(window_->GetSafeHwnd()))
    window_->ShowWindow((flags & kHidden) ? SW_HIDE : SW_SHOW);
  VGroup::SetState(flags);
}

void VPage::LoadStyle(const PropertyStruct* context, const char* styleText,
                      const char* defaultStyleText, const Ref<KXObject>& object) {
  if (PropertyStruct* candidate = ChooseStyleWithLayout(context, styleText, defaultStyleText,
                                                        GetStyle() != nullptr, object))
    SetStyle(candidate);
}

void VPage::Start() { Enter(); }

void VPage::Stop() {
  Leave();
  PageEvent stop(PageEvent::Stop);
  HandleEvent(stop);
}

VObject* VPage::Background() {
  VObject* picture = MakeBackgroundPicture(ReadRect(kBackgroundRect));
  if (!picture) return nullptr;
  picture->LoadStyle(GetStyle(), "backgr()", "Background()", object_);
  AddChild(picture);
  return picture;
}

VObject* VPage::Toolbar() {
  VObject* toolbar = MakeToolbar(ReadRect(kToolbarRect));
  if (!toolbar) return nullptr;
  toolbar->LoadStyle(GetStyle(), "toolbar()", "Toolbar()", object_);
  AppendChild(toolbar);
  return toolbar;
}

VObject* VPage::Backsound() {
  const PropertyStruct* style = GetStyle();
  if (!style) return nullptr;
  const CString file = getFile(style->StyleQuery("backmusic.filename"), CString());
  if (file.IsEmpty()) return nullptr;
  VObject* current = BackgroundSound();
  if (current && BackgroundSoundFile() == file) return current;
  // The old player leaves its page and forgets itself as the background
  // sound when it is deleted.
  delete current;
  if (MeansSilence(file)) return nullptr;
  VObject* player = MakeSoundPlayer();
  if (!player) return nullptr;
  SetBackgroundSound(player, file);
  player->LoadStyle(style, "backmusic()", "Backsound()", object_);
  player->SetNumberAttribute("loop", -1);
  AppendChild(player);
  return player;
}

void VPage::OnDraw(CDC* dc) {
  if (!dc) return;
  RECT clip;
  if (dc->GetClipBox(&clip) == ERROR || IsRectEmpty(&clip)) return;
  const RECT page = Rect();
  bool drawn = false;
  if (EffectsEnabled() && GetEffect() > 0 && EqualRect(&clip, &page)) {
    CBitmap* bitmap = OffscreenBitmap(dc);
    CDC memory;
    if (bitmap && memory.CreateCompatibleDC(dc)) {
      CBitmap* old = memory.SelectObject(bitmap);
      memory.BitBlt(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, dc,
                    clip.left, clip.top, SRCCOPY);
      // The tree paints the new picture off the screen without effects of
      // its own; the page's effect then brings it onto the window.
      {
        EffectsSuppressed offScreen;
        Paint(&memory, clip);
      }
      PaintTransition(dc->GetSafeHdc(), memory.GetSafeHdc(), clip.left, clip.top, clip.right,
                      clip.bottom, GetEffect());
      memory.SelectObject(old);
      drawn = true;
    }
  }
  if (!drawn) Paint(dc, clip);
}

CBitmap* VPage::OffscreenBitmap(CDC* compatible) {
  if (!offscreen_.GetSafeHandle()) {
    const RECT r = Rect();
    if (!compatible || r.right <= r.left || r.bottom <= r.top ||
        !offscreen_.CreateCompatibleBitmap(compatible, r.right - r.left, r.bottom - r.top))
      return nullptr;
  }
  return &offscreen_;
}

VObject* VPage::FindProgressIndicator() {
  for (VObject* c = FirstChild(); c; c = c->Next())
    if (CString(c->GetClassName()) == "VProgressIndicator") return c;
  return nullptr;
}

LRESULT VPage::OnProgress(WPARAM kind, LPARAM) {
  VObject* indicator = FindProgressIndicator();
  if (kind == kProgressStart) {
    if (indicator) indicator->SetState(indicator->State() | kHidden);
    progressRunning_ = false;
    return 0;
  }
  if (kind != kProgressFraction) return 0;
  ProgressReporter* progress = GetFrameProgress();
  const float fraction = progress ? progress->fraction() : 0.0f;
  if (!progressRunning_ || fraction == 0.0f) {
    progressStart_ = PageTicks();
    progressRunning_ = true;
  }
  if (PageTicks() - progressStart_ >= kProgressDelayMs) {
    const PropertyStruct* style = GetStyle();
    if (!indicator && style && getBool(style->StyleQuery("progress.visible"), 0)) {
      indicator = MakeProgressIndicator(ProgressRect());
      if (indicator) {
        indicator->LoadStyle(style, "progress()", "ProgressIndicator()", layoutSource_);
        AppendChild(indicator);
        indicator->Initialize();
      }
    }
    if (indicator) {
      BringToFront(indicator);
      indicator->SetState(indicator->State() & ~kHidden);
    }
  }
  if (indicator) SetProgressPercent(indicator, static_cast<int>(fraction * 100));
  return 0;
}

void VPage::RealizePalette(HWND changedBy) {
  if (!window_ || changedBy == window_->GetSafeHwnd()) return;
  HPALETTE palette = LargestCachedPalette();
  if (!palette) return;
  CClientDC dc(window_);
  HPALETTE old = SelectPalette(dc.GetSafeHdc(), palette, TRUE);
  if (::RealizePalette(dc.GetSafeHdc()) > 0) UpdateColors(dc.GetSafeHdc());
  SelectPalette(dc.GetSafeHdc(), old, TRUE);
}

void VPage::SetCursorForMouse() {
  if (VObject* under = GetObjectUnderMouse())
    under->UpdateCursor();
  else if (!LongOperationFlag())
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

BOOL VPage::OnChildCommand(WPARAM wParam, LPARAM lParam) {
  const HWND child = reinterpret_cast<HWND>(lParam);
  if (!child || HIWORD(wParam) != 0) return FALSE;
  VObject* owner = FindByWindow(child);
  if (owner && owner->Parent()) owner->Parent()->Notify(0, owner);
  return TRUE;
}

namespace {

PrintablePageObject* FindPrintableIn(VGroup* group) {
  for (VObject* c = group->FirstChild(); c; c = c->Next())
    if (CString(c->GetClassName()) == "VText")
      if (auto* p = dynamic_cast<PrintablePageObject*>(c)) return p;
  for (VObject* c = group->FirstChild(); c; c = c->Next())
    if (c->IsGroup())
      if (PrintablePageObject* p = FindPrintableIn(static_cast<VGroup*>(c))) return p;
  return nullptr;
}

}  // namespace

PrintablePageObject* VPage::FindPrintable() { return FindPrintableIn(this); }
