#include "pages/objects/vprogress_indicator.h"

#include <algorithm>

#include "framework/progress_reporter.h"
#include "pages/objects/vgroup.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "win/gdi.h"
#include "win/user.h"

VProgressIndicator::VProgressIndicator(int left, int top, int right, int bottom)
    : VLabel(left, top, right, bottom, 0) {
  SetLabelFlags(kBorder3d);
  SetState(kHidden);
  SetFgColor(0x000000FF);
  SetBgColor(0x00FFFFFF, 100);
  SetEffect(0);
}

VProgressIndicator::~VProgressIndicator() = default;

VProgressIndicator* VProgressIndicator::Find(VGroup* group) {
  if (!group) return nullptr;
  for (VObject* c = group->FirstChild(); c; c = c->Next())
    if (CString(c->GetClassName()) == "VProgressIndicator")
      return dynamic_cast<VProgressIndicator*>(c);
  return nullptr;
}

const char* VProgressIndicator::GetClassName() const { return "VProgressIndicator"; }

// The page reads the indicator's style when it makes it.
void VProgressIndicator::Initialize() { SetState(State() | kInitialised); }

CString VProgressIndicator::GetProgressText() {
  CString text;
  text.Format("%d %%", percent_);
  return text;
}

void VProgressIndicator::SetPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_) return;
  percent_ = percent;
  SetCaption(MultiLangString::OnePart(GetProgressText()));
  PumpPendingMessages(kMessagesPerStep);
}

void VProgressIndicator::SetProgressColor(COLORREF color) {
  if (color == progressColor_) return;
  progressColor_ = color;
  Invalidate();
}

void VProgressIndicator::Draw(CDC* dc, const RECT& clip) {
  if (!dc) return;
  const DWORD flags = LabelFlags();
  // The bar is the background; the label draws only its frame and caption.
  SetLabelFlags(flags | kTransparentLabel);
  const RECT r = Rect();
  FillRectWithColor(dc, r, BgColor());
  RECT inner = r;
  InflateRect(&inner, -2, -2);
  inner.right = inner.left + (inner.right - inner.left) * percent_ / 100;
  if (inner.right > inner.left && inner.bottom > inner.top)
    FillRectWithColor(dc, inner, progressColor_);
  VLabel::Draw(dc, clip);
  SetLabelFlags(flags);
}

void VProgressIndicator::OnMouseUp(int, int) {
  if (ProgressReporter* progress = Shell().Progress()) progress->RequestAbort();
}

void VProgressIndicator::ReadStyleAttributes() {
  VLabel::ReadStyleAttributes();
  if (const PropertyStruct* s = GetStyle())
    SetProgressColor(getColor(s->StyleQuery("progresscolor"), progressColor_));
}
