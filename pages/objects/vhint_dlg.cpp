#include "pages/objects/vhint_dlg.h"

#include <algorithm>

#include "pages/objects/vlabel.h"
#include "pages/page/vpage.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "win/user.h"

namespace {

// The largest label a hint is measured in before it takes its caption's size.
constexpr RECT kMeasureRect{0, 0, 1024, 80};
constexpr RECT kLabelRect{0, 0, 100, 25};
// Room between an object and its hint.
constexpr int kGap = 2;

}  // namespace

VHintDlg::VHintDlg(int left, int top, int right, int bottom, CWnd* parent)
    : VDialog(left, top, right, bottom, parent) {
  EnableClock(false);
}

VHintDlg::~VHintDlg() = default;

VHintDlg* VHintDlg::GetHintWindow() {
  auto* window = dynamic_cast<DialogWindow*>(Shell().HintWindow());
  return window ? dynamic_cast<VHintDlg*>(window->Dialog()) : nullptr;
}

const char* VHintDlg::GetClassName() const { return "VHintDlg"; }

void VHintDlg::Initialize() {
  if (Has(kInitialised)) return;
  VDialog::Initialize();
  Hide();
  label_ = new VLabel(kLabelRect.left, kLabelRect.top, kLabelRect.right, kLabelRect.bottom, 0);
  label_->LoadStyle(GetStyle(), "hint()", "Label()", Ref<KXObject>());
  AppendChild(label_);
  InitializeChildren();
  if (CWnd* window = GetWindow()) window->SetTimer(kHintTimer, kHintPeriodMs);
}

void VHintDlg::OnTimer(UINT_PTR id) {
  if (!pending_ || id != kHintTimer) return;
  if (static_cast<LONG>(PageTicks() - showTime_) < 0) return;
  SetState(State() & ~kHidden);
  pending_ = 0;
}

void VHintDlg::OnDestroy() {
  if (CWnd* window = GetWindow())
    if (IsWindow(window->GetSafeHwnd())) window->KillTimer(kHintTimer);
}

void VHintDlg::ReadStyleAttributes() {
  VDialog::ReadStyleAttributes();
  if (const PropertyStruct* s = GetStyle())
    SetDelay(getInt(s->StyleQuery("delay"), kStyleDefaultDelay));
}

void VHintDlg::Hide() {
  pending_ = 0;
  SetState(State() | kHidden);
}

void VHintDlg::ShowHint(const MultiLangString& text) {
  if (text.Text().IsEmpty()) {
    if (label_) label_->SetCaption(text);
    Hide();
    return;
  }
  if (!label_ || !GetWindow() || !GetWindow()->GetSafeHwnd()) return;
  if (label_->CaptionText() != text.Text()) {
    // A delay from a style is held to an hour, so that the time cannot wrap.
    const DWORD seconds = static_cast<DWORD>(std::clamp(delay_, 0, kMaxDelay));
    showTime_ = PageTicks() + seconds * 1000u;
    SetState(State() | kHidden);
  }
  pending_ = 1;
  if (label_->LabelFlags() & VLabel::kFitCaption)
    label_->SetRect(kMeasureRect.left, kMeasureRect.top, kMeasureRect.right, kMeasureRect.bottom);
  label_->SetCaption(text);
  RECT r;
  label_->GetRect(&r);
  label_->SetRect(0, 0, r.right - r.left, r.bottom - r.top);
  MoveWindowTo(WindowRect().left, WindowRect().top);
  if (delay_ <= 0) {
    SetState(State() & ~kHidden);
    pending_ = 0;
  }
}

void VHintDlg::MoveWindowTo(int x, int y) {
  CWnd* window = GetWindow();
  if (!window || !label_) return;
  const HWND own = window->GetSafeHwnd();
  SetWindowPos(own, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  const RECT& l = label_->Rect();
  const int w = l.right - l.left, h = l.bottom - l.top;
  SetWindowRect(RECT{x, y, x + w, y + h});
  StoreRect(RECT{0, 0, w, h});
  MoveWindow(own, x, y, w, h, TRUE);
}

void VHintDlg::PlaceNear(VObject* object) {
  if (!object || !label_) return;
  CWnd* window = object->GetWindow();
  if (!window || !window->GetSafeHwnd()) return;
  RECT screen;
  ::GetWindowRect(window->GetSafeHwnd(), &screen);
  const RECT& l = label_->Rect();
  const int w = l.right - l.left, h = l.bottom - l.top;
  RECT o;
  object->GetRect(&o);
  const int windowWidth = screen.right - screen.left, windowHeight = screen.bottom - screen.top;
  int y = windowHeight + kGap >= o.bottom + h ? o.bottom + kGap : o.top - h - kGap;
  if (y < 0) y = 0;
  int x = o.left + (o.right - o.left - w) / 2;
  if (x < 0)
    x = 0;
  else if (windowWidth < x + w)
    x = windowWidth - w;
  // The hint window lives in the main frame's client area, whose origin
  // need not be the screen's.
  POINT at{x + screen.left, y + screen.top};
  if (CWnd* own = GetWindow())
    if (HWND parent = ::GetParent(own->GetSafeHwnd())) ScreenToClient(parent, &at);
  MoveWindowTo(at.x, at.y);
}
