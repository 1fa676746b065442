// The video window: made when the object stands on a page, placed in the
// object's area by the fit mode, and told to the device.
#include <cstdio>

#include "core/logbook.h"
#include "mfc/wnd.h"
#include "pages/media/media_globals.h"
#include "pages/media/vmci.h"
#include "win/user.h"

namespace {

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

// The video window lets the mouse through to the page beneath it, which
// hands a click to the media object as to any other object: a click pauses
// or plays the video, or follows the link live at its frame.
class ClickThroughWindow : public CWnd {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

}  // namespace

HWND VMCI::VideoWindow() const {
  return window_ && window_->GetSafeHwnd() && IsWindow(window_->GetSafeHwnd()) ? window_->GetSafeHwnd()
                                                                               : nullptr;
}

void VMCI::CreateVideoWindow() {
  windowTried_ = 1;
  if (!IsVideo() || VideoWindow()) return;
  CWnd* parent = GetWindow();
  CWnd* window = new ClickThroughWindow();
  const DWORD style = WS_CHILD | (Has(kHidden) ? 0 : WS_VISIBLE);
  if (!parent || !parent->GetSafeHwnd() ||
      !window->Create(nullptr, "VMCI", style, Rect(), parent, kWindowId)) {
    delete window;
    TheLogbook().Write("error creating mci window");
    return;
  }
  window_ = window;
  SetWindow(window_->GetSafeHwnd());
}

void VMCI::Initialize() {
  if (Has(kInitialised)) return;
  CreateVideoWindow();
  windowTried_ = 1;
  if (!IsOpen()) Load();
  Layout();
  VObject::Initialize();
}

void VMCI::PutDestination() {
  if (IsOpen() && VideoWindow()) SendAlias("put %s destination wait");
}

bool VMCI::GetSourceSize(int* width, int* height) {
  if (width) *width = 0;
  if (height) *height = 0;
  if (!IsOpen()) Load();
  if (!IsOpen()) return false;
  SendAlias("where %s source wait");
  if (Media().lastError != 0) return false;
  int x = 0, y = 0, w = 0, h = 0;
  if (std::sscanf(LastReply(), "%d %d %d %d", &x, &y, &w, &h) != 4 || w < 0 || h < 0) return false;
  if (width) *width = w;
  if (height) *height = h;
  return true;
}

void VMCI::Layout() {
  if (!IsVideo() || !IsOpen() || !HasArea(area_)) return;
  const int W = area_.right - area_.left;
  const int H = area_.bottom - area_.top;
  int srcW = 0, srcH = 0;
  const bool known = GetSourceSize(&srcW, &srcH) && srcW > 0 && srcH > 0;
  int w = W, h = H;
  switch (videoMode_) {
    case kModeAspect:
      // A source of no size has no proportions: it takes the whole area.
      if (known) {
        const long long a = static_cast<long long>(srcW) * H;
        const long long b = static_cast<long long>(srcH) * W;
        if (a < b) {
          w = static_cast<int>(a / srcH);
          if (w > W) w = W;
          h = H;
        } else {
          h = static_cast<int>(b / srcW);
          if (h > H) h = H;
          w = W;
        }
      }
      break;
    case kModeZoom:
      break;
    default:
      if (!known) return;
      w = srcW < W ? srcW : W;
      h = srcH < H ? srcH : H;
      break;
  }
  const int left = area_.left + (W - w) / 2;
  const int top = area_.top + (H - h) / 2;
  VObject::SetRect(left, top, left + w, top + h);
  if (HWND window = VideoWindow())
    SetWindowPos(window, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  PutDestination();
}

void VMCI::SetRect(int left, int top, int right, int bottom) {
  area_ = RECT{left, top, right, bottom};
  VObject::SetRect(left, top, right, bottom);
  if (IsVideo() && IsOpen() && HasArea(area_)) Layout();
  else if (IsVideo() && !Has(kHidden)) PutDestination();
}

void VMCI::SetVideoMode(int mode) {
  if (mode != kModeAspect && mode != kModeZoom) mode = kModeCenter;
  if (mode == videoMode_) return;
  videoMode_ = mode;
  Layout();
}

void VMCI::ShowStartFrame() { PlayWait(fromPos_); }

void VMCI::Draw(CDC*, const RECT&) {
  if (!IsVideo() || !IsOpen()) return;
  if (state_ == kIdle)
    PlayWait(fromPos_);
  else if (state_ == kPaused)
    PlayWait(pausePos_);
}
