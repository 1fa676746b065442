#include "pages/objects/vdialog.h"

#include "pages/objects/style_choice.h"
#include "pages/page/page_parts.h"
#include "pages/page/page_window.h"
#include "pages/page/vpage.h"
#include "win/gdi.h"
#include "win/user.h"

// ---- The window side ----

BEGIN_MESSAGE_MAP(DialogWindow, CDialog)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_PAINT()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

DialogWindow::DialogWindow(VDialog* dialog, CWnd* parent)
    : CDialog(VDialog::kTemplateId, parent), dialog_(dialog) {}

DialogWindow::~DialogWindow() {
  // The dialog still hears of its window's end.
  if (GetSafeHwnd()) DestroyWindow();
  VDialog* dialog = dialog_;
  dialog_ = nullptr;
  if (dialog && dialog->window_ == this) dialog->window_ = nullptr;
  if (dialog && ownsDialog_) delete dialog;
}

BOOL DialogWindow::CreateFromTemplate(CWnd* parent) {
  if (dialog_) {
    PageEvent create(PageEvent::Create);
    dialog_->HandleEvent(create);
  }
  return CDialog::Create(VDialog::kTemplateId, parent);
}

BOOL DialogWindow::OnInitDialog() {
  CDialog::OnInitDialog();
  if (dialog_ && !dialog_->Has(VObject::kInitialised)) dialog_->Initialize();
  return TRUE;
}

void DialogWindow::SendMouse(int code, CPoint point) {
  if (!dialog_) return;
  PageEvent event(point.x, point.y, code);
  dialog_->HandleMouse(point.x, point.y, event);
}

void DialogWindow::OnLButtonDown(UINT, CPoint point) {
  SendMouse(PageEvent::MouseDown, point);
  Default();
  if (dialog_) dialog_->mouseDown_ = 1;
}

void DialogWindow::OnLButtonUp(UINT, CPoint point) {
  SendMouse(PageEvent::MouseUp, point);
  Default();
  if (dialog_) dialog_->mouseDown_ = 0;
}

void DialogWindow::OnMouseMove(UINT, CPoint point) {
  SendMouse(PageEvent::MouseMove, point);
  Default();
}

void DialogWindow::OnPaint() {
  CPaintDC dc(this);
  RECT clip;
  const int kind = dc.GetClipBox(&clip);
  if (kind != ERROR && kind != NULLREGION && !IsRectEmpty(&clip) && dialog_)
    dialog_->Paint(&dc, clip);
}

void DialogWindow::OnClose() {
  if (!dialog_) return;
  PageEvent close(PageEvent::Close);
  dialog_->HandleEvent(close);
}

void DialogWindow::OnDestroy() {
  Default();
  if (!dialog_) return;
  if (dialog_->timerId_) KillTimer(dialog_->timerId_);
  dialog_->timerId_ = 0;
  PageEvent destroy(PageEvent::Destroy);
  dialog_->HandleEvent(destroy);
}

void DialogWindow::OnSize(UINT, int, int) { Default(); }

void DialogWindow::OnTimer(UINT_PTR id) {
  if (!dialog_) return;
  PageEvent timer(PageEvent::Timer);
  timer.timerId = id;
  dialog_->HandleEvent(timer);
}

BOOL DialogWindow::OnSetCursor(CWnd*, UINT, UINT) {
  VObject* under = dialog_ ? dialog_->GetObjectUnderMouse() : nullptr;
  if (under && under != dialog_)
    under->UpdateCursor();
  else
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

// ---- The page-object side ----

VDialog::VDialog(int left, int top, int right, int bottom, CWnd*)
    : VGroup(0, 0, right - left, bottom - top), windowRect_{left, top, right, bottom} {}

VDialog::~VDialog() {
  timerId_ = 0;
  if (DialogWindow* w = window_) {
    window_ = nullptr;
    w->dialog_ = nullptr;
    w->ownsDialog_ = false;
    delete w;
  }
  // The children go before the window side's pointer to them would.
  DeleteChildren();
}

BOOL VDialog::CreateDialogWindow(CWnd* parent) {
  RegisterPageResources();
  if (window_) return window_->GetSafeHwnd() != nullptr;
  auto* w = new DialogWindow(this, parent);
  window_ = w;
  if (!w->CreateFromTemplate(parent)) {
    window_ = nullptr;
    w->dialog_ = nullptr;
    delete w;
    return FALSE;
  }
  w->ownsDialog_ = true;
  SetClassLong(w->GetSafeHwnd(), GCL_HBRBACKGROUND, 0);
  // The template places the window; the dialog's own rectangle holds.
  ::SetWindowPos(w->GetSafeHwnd(), nullptr, windowRect_.left, windowRect_.top,
                 windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  w->OnInitDialog();
  // The template makes the window hidden; a dialog that is not hidden is
  // shown at once (a later state change would otherwise never show it).
  if (!Has(kHidden) && IsWindow(w->GetSafeHwnd())) w->ShowWindow(SW_SHOW);
  return TRUE;
}

DWORD VDialog::Elapsed() { return PageTicks() - startTick_; }

VObject* VDialog::GetPage() { return this; }

VObject* VDialog::FindByWindow(HWND window) {
  if (window && window_ && window_->GetSafeHwnd() == window) return this;
  return VGroup::FindByWindow(window);
}

CWnd* VDialog::GetWindow() { return window_; }

const char* VDialog::GetClassName() const { return "VDialog"; }

bool VDialog::IsDialog() const { return true; }

void VDialog::Initialize() {
  if (Has(kInitialised)) return;
  VGroup::Initialize();
  AddUserObjects(this, GetStyle());
  CreateBackground();
  InitializeChildren();
}

void VDialog::OnTimer(UINT_PTR id) {
  if (!timerId_ || id != timerId_) return;
  PageEvent clock(PageEvent::Clock);
  clock.time = Elapsed();
  HandleEvent(clock);
}

void VDialog::SetState(DWORD flags) {
  if (((flags ^ State()) & kHidden) && window_ && IsWindow(window_->GetSafeHwnd()))
    window_->ShowWindow((flags & kHidden) ? SW_HIDE : SW_SHOW);
  VGroup::SetState(flags);
}

void VDialog::LoadStyle(const PropertyStruct* context, const char* styleText,
                        const char* defaultStyleText, const Ref<KXObject>& object) {
  if (PropertyStruct* candidate = ChooseStyleWithLayout(context, styleText, defaultStyleText,
                                                        GetStyle() != nullptr, object))
    SetStyle(candidate);
}

void VDialog::Start() {
  SetState(State() & ~kInactive);
  RestartTimer();
}

void VDialog::Stop() {
  SetState(State() | kInactive);
  if (timerEnabled_ && timerId_) {
    if (window_ && IsWindow(window_->GetSafeHwnd())) window_->KillTimer(kClockTimer);
    timerId_ = 0;
  }
  PageEvent stop(PageEvent::Stop);
  HandleEvent(stop);
}

void VDialog::RestartTimer() {
  const bool hasWindow = window_ && IsWindow(window_->GetSafeHwnd());
  if (timerId_ && hasWindow) window_->KillTimer(timerId_);
  timerId_ = 0;
  if (timerEnabled_ && hasWindow) timerId_ = window_->SetTimer(kClockTimer, kClockPeriodMs);
  startTick_ = PageTicks();
}

void VDialog::CreateBackground() {
  const RECT r = Rect();
  VObject* picture = MakeBackgroundPicture(RECT{0, 0, r.right - r.left, r.bottom - r.top});
  if (!picture) return;
  picture->LoadStyle(GetStyle(), "backgr()", "Background()", Ref<KXObject>());
  AddChild(picture);
}
