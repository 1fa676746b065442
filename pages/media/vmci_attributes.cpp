// What pages, styles and scripts set on a media object, and how it follows
// the page: start, stop, clicks and closing.
#include "pages/link_cursor.h"
#include "pages/media/vmci.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_struct.h"
#include "win/user.h"

namespace {

int ModeOf(const CString& text) {
  CString upper = text;
  upper.MakeUpper();
  if (upper == "ZOOM") return VMCI::kModeZoom;
  if (upper == "ASPECTRATIO") return VMCI::kModeAspect;
  return VMCI::kModeCenter;
}

}  // namespace

void VMCI::ReadStyleAttributes() {
  VObject::ReadStyleAttributes();
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  if (IsVideo()) {
    const RECT pos = getRect(style->StyleQuery("videopos"), Rect());
    if (!EqualRect(&pos, &Rect())) SetRect(pos.left, pos.top, pos.right, pos.bottom);
    SetVideoMode(ModeOf(getConstant(style->StyleQuery("mode"), CString())));
  }
  autoplay_ = getBool(style->StyleQuery("autoplay"), 1) ? 1 : 0;
  SetLoop(static_cast<int>(getValue(style->StyleQuery("loop"), 1.0)));
  SetSoundPriority(static_cast<int>(getValue(style->StyleQuery("soundpriority"), 0.0)));
  SetFileName(getFile(style->StyleQuery("filename"), fileName_));
}

bool VMCI::SetBoolAttribute(const char* name, bool value) {
  const CString n(name ? name : "");
  if (n == "autoplay") {
    autoplay_ = value ? 1 : 0;
    return true;
  }
  if (n == "visible") {
    if (!value) {
      if (state_ == kPlaySent || state_ == kPlaying) Pause();
    } else if (autoplay_) {
      Play();
    } else {
      ShowStartFrame();
    }
  }
  return VObject::SetBoolAttribute(name, value);
}

bool VMCI::SetStringAttribute(const char* name, const char* text) {
  const CString n(name ? name : "");
  if (n == "filename") {
    SetFileName(text);
    return true;
  }
  if (n == "mode") {
    SetVideoMode(ModeOf(CString(text ? text : "")));
    return true;
  }
  return VObject::SetStringAttribute(name, text);
}

bool VMCI::SetNumberAttribute(const char* name, int value) {
  const CString n(name ? name : "");
  if (n == "loop") {
    SetLoop(value);
    return true;
  }
  if (n == "soundpriority") {
    SetSoundPriority(value);
    return true;
  }
  return VObject::SetNumberAttribute(name, value);
}

bool VMCI::SetColorAttribute(const char* name, COLORREF color) {
  return VObject::SetColorAttribute(name, color);
}

bool VMCI::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (CString(name ? name : "") == "videopos") {
    SetRect(left, top, right, bottom);
    return true;
  }
  return VObject::SetRectAttribute(name, left, top, right, bottom);
}

void VMCI::Start() {
  SetState(State() | kStarted);
  VObject::Start();
  if (autoplay_)
    Play();
  else
    ShowStartFrame();
}

void VMCI::Stop() {
  SetState(State() | kStopped);
  StopMedia();
  VObject::Stop();
}

void VMCI::OnMouseUp(int, int) {
  if (!IsOpen()) return;
  if (clickHandler_ && clickHandler_(GetPosition())) return;
  if (IsPlaying())
    Pause();
  else
    Play();
}

void VMCI::OnMouseMove(int, int) {
  if (!linkTest_ || !IsOpen()) return;
  if (linkTest_(GetPosition()))
    ShowPageLinkCursor();
  else
    RestorePageCursor();
}

void VMCI::OnClose() {
  if (IsOpen()) StopMedia();
  Close();
}

void VMCI::Notify(int code, VObject* sender) { VObject::Notify(code, sender); }
