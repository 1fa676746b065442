#include "pages/media/vkx_media.h"

#include "core/anchor.h"
#include "core/multilang_string.h"
#include "core/object_utils.h"
#include "core/screen_geometry.h"
#include "pages/area/area.h"
#include "pages/load_target.h"
#include "pages/media/vmci.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_struct.h"
#include "pages/style/style_expressions.h"

VKxMedia::VKxMedia(int left, int top, int right, int bottom, const Ref<KXObject>& object)
    : VGroup(left, top, right, bottom) {
  SetState(kPassThrough);
  if (object && object->getClassCode() == kClassAnchor) {
    anchor_ = object;
    document_ = followLink(object);
  } else {
    document_ = object;
  }
}

VKxMedia::~VKxMedia() {
  DropPendingLoad();
  // The children go with the group; the pointers are only forgotten.
  title_ = nullptr;
  player_ = nullptr;
  playButton_ = stopButton_ = nullptr;
}

void VKxMedia::DropPendingLoad() {
  if (!pending_) return;
  Shell().CancelLoads(pending_.get());
  pending_->Detach();
  pending_.reset();
}

VLabel* VKxMedia::MakeButton(int left, int top, int right, int bottom, const char* caption,
                             const char* style) {
  auto* button = new VLabel(left, top, right, bottom, 0);
  button->SetCaption(MultiLangString::OnePart(caption));
  button->LoadStyle(GetStyle(), style, "Toolbutton()", Ref<KXObject>());
  AppendChild(button);
  return button;
}

void VKxMedia::Initialize() {
  if (Has(kInitialised)) return;
  VObject::Initialize();
  Area area(Rect().left, Rect().top, Rect().right, Rect().bottom);
  int buttonHeight = ScaleToScreenHeight(20, 480);
  const int buttonWidth = ScaleToScreenWidth(80, 640);
  const PropertyStruct* style = GetStyle();
  const bool playVisible = !style || getBool(style->StyleQuery("play.visible"), 1);
  const bool stopVisible = !style || getBool(style->StyleQuery("stop.visible"), 1);
  if (!playVisible && !stopVisible) buttonHeight = 0;

  title_ = VTitle::Create(area, document_, style);
  if (title_) AppendChild(title_);

  const RECT r = area.GetBounds();
  player_ = MakePlayer(RECT{r.left, r.top, r.right, r.bottom - buttonHeight});
  AppendChild(player_);
  if (style) player_->SetStyle(InstantiateStruct(style));

  const auto* anchor = dynamic_cast<const ::Anchor*>(anchor_.get());
  if (anchor && !anchor->isSourceAnchor()) ApplyAnchorPosition(anchor->getPosition());

  if (playVisible)
    playButton_ = MakeButton(r.left, r.bottom - buttonHeight, r.left + buttonWidth, r.bottom, "en:Play",
                             "play()");
  if (stopVisible)
    stopButton_ = MakeButton(r.left + buttonWidth, r.bottom - buttonHeight, r.left + 2 * buttonWidth,
                             r.bottom, "en:Stop", "stop()");

  if (WantsLoad()) {
    DropPendingLoad();
    pending_ = MakeTarget();
    Shell().PushLoad(Kind(), document_, pending_.get(), nullptr);
  }
  InitializeChildren();
}

CString VKxMedia::DeliveredName() const {
  const CString url = objectUrl(document_);
  if (!url.IsEmpty() || !pending_) return url;
  return pending_->FileName();
}

void VKxMedia::ApplyRange(const MediaRange& range) {
  if (!player_) return;
  if (range.from) player_->SetFrom(*range.from);
  if (range.to) player_->SetTo(*range.to);
}

bool VKxMedia::WantsLoad() { return static_cast<bool>(document_); }

void VKxMedia::Notify(int code, VObject* sender) {
  if (sender && sender == playButton_) {
    if (player_) {
      if (player_->IsPlaying()) player_->StopMedia();
      player_->Play();
    }
    return;
  }
  if (sender && sender == stopButton_) {
    if (player_) {
      if (player_->IsPlaying())
        player_->Pause();
      else
        player_->StopMedia();
    }
    return;
  }
  if (code == LoadTarget::kDelivered && player_ && document_) OnDelivered();
  VGroup::Notify(code, sender);
}

void VKxMedia::ReadStyleAttributes() {
  VGroup::ReadStyleAttributes();
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  const RECT pos = getRect(style->StyleQuery("pos"), Rect());
  SetRect(pos.left, pos.top, pos.right, pos.bottom);
}

bool VKxMedia::SetBoolAttribute(const char* name, bool value) {
  if (player_ && player_->SetBoolAttribute(name, value)) return true;
  return VGroup::SetBoolAttribute(name, value);
}

bool VKxMedia::SetStringAttribute(const char* name, const char* text) {
  if (player_ && player_->SetStringAttribute(name, text)) return true;
  return VGroup::SetStringAttribute(name, text);
}

bool VKxMedia::SetNumberAttribute(const char* name, int value) {
  if (player_ && player_->SetNumberAttribute(name, value)) return true;
  return VGroup::SetNumberAttribute(name, value);
}

bool VKxMedia::SetColorAttribute(const char* name, COLORREF color) {
  if (player_ && player_->SetColorAttribute(name, color)) return true;
  return VGroup::SetColorAttribute(name, color);
}

bool VKxMedia::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (CString(name ? name : "") == "pos") {
    SetRect(left, top, right, bottom);
    return true;
  }
  if (player_ && player_->SetRectAttribute(name, left, top, right, bottom)) return true;
  return VGroup::SetRectAttribute(name, left, top, right, bottom);
}
