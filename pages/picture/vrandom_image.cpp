#include "pages/picture/vrandom_image.h"

#include <cstdint>
#include <cstring>

#include "core/collection.h"
#include "core/kx_object.h"
#include "core/list.h"
#include "core/object_utils.h"
#include "framework/user_break.h"
#include "pages/area/area.h"
#include "pages/page/vpage.h"
#include "pages/picture/part_makers.h"
#include "pages/picture/vimage.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "win/kernel.h"

namespace {

constexpr int kCollectionClass = 5;
constexpr int kImageDocumentClass = 9;

List* MembersOf(const Ref<KXObject>& collection) {
  auto* c = dynamic_cast<Collection*>(collection.get());
  if (!c || collection->getClassCode() != kCollectionClass) return nullptr;
  return c->getChildren(nullptr, 0);
}

}  // namespace

VRandomImage::VRandomImage(int left, int top, int right, int bottom, const Ref<KXObject>& collection)
    : VGroup(left, top, right, bottom), collection_(collection) {
  SetState(State() | kPassThrough);
  if (const List* members = MembersOf(collection_)) count_ = members->count();
}

VRandomImage::~VRandomImage() {
  // The children made here go with the group; nothing else is owned.
  title_ = nullptr;
  image_ = nullptr;
}

const char* VRandomImage::GetClassName() const { return "VRandomImage"; }

void VRandomImage::Initialize() {
  VObject::Initialize();
  Area area(Rect().left, Rect().top, Rect().right, Rect().bottom);
  title_ = MakePartTitle(area, collection_, GetStyle());
  if (title_) AppendChild(title_);
  InitializeChildren();
}

Ref<KXObject> VRandomImage::MemberAt(int index) {
  const List* members = MembersOf(collection_);
  if (!members) return {};
  auto* entry = dynamic_cast<MemberEntry*>(members->at(index));
  return entry ? entry->object : Ref<KXObject>();
}

int VRandomImage::ChooseNext() {
  if (random_) {
    if (count_ <= 0) return -1;
    if (count_ == 1 && current_ == 0) return loop_ ? 0 : -1;
    int r = win_rand() % count_;
    while (count_ > 1 && r == current_) r = (r + 1) % count_;
    return r;
  }
  if (count_ <= 0) return -1;
  if (current_ < 0) return 0;
  if (current_ < count_ - 1) return current_ + 1;
  if (loop_) {
    current_ = 0;
    return 0;
  }
  return -1;
}

void VRandomImage::Step() {
  if (!running_) return;
  if (next_ < 0) next_ = ChooseNext();
  if (next_ < 0) {
    // The show is over: it asks no more, whether or not it goes anywhere.
    running_ = 0;
    GoToDestination();
    return;
  }
  const Ref<KXObject> member = MemberAt(next_);
  if (member && linkTargetClass(member) == kImageDocumentClass) {
    const CString url = objectUrl(followLink(member));
    if (!image_) {
      image_ = new VImage(Rect().left, Rect().top, Rect().right, Rect().bottom, url);
      if (GetStyle()) image_->LoadStyle(GetStyle(), "Image", "image()", member);
      AppendChild(image_);
      image_->Initialize();
    }
    image_->SetFileName(url, 0);
  }
  current_ = next_;
  next_ = -1;
  nextTime_ = PageTicks() + static_cast<DWORD>(delay_) * 1000u;
}

void VRandomImage::GoToDestination() {
  if (destination_.IsEmpty()) return;
  running_ = 0;
  Shell().RunCommandLine(CString("goto ") + destination_, Ref<KXObject>());
}

void VRandomImage::Start() {
  SetState(State() & ~kHidden);
  running_ = 1;
  Step();
}

void VRandomImage::Stop() {
  SetState(State() | kHidden);
  running_ = 0;
}

void VRandomImage::OnClose() { running_ = 0; }

void VRandomImage::OnIdle() {
  if (!running_ || LongOperationFlag()) return;
  if (static_cast<std::int32_t>(PageTicks() - nextTime_) >= 0) Step();
}

DWORD VRandomImage::IdleWait() const {
  if (!running_) return kNoIdleWait;
  const auto left = static_cast<std::int32_t>(nextTime_ - PageTicks());
  return left <= 0 ? 0 : static_cast<DWORD>(left);
}

void VRandomImage::OnTimer(UINT_PTR) {}

void VRandomImage::OnMouseDown(int, int) { GoToDestination(); }

void VRandomImage::Notify(int code, VObject* sender) { VGroup::Notify(code, sender); }

void VRandomImage::ReadStyleAttributes() {
  VGroup::ReadStyleAttributes();
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  const RECT pos = getRect(style->StyleQuery("pos"), Rect());
  SetRect(pos.left, pos.top, pos.right, pos.bottom);
  delay_ = getInt(style->StyleQuery("delay"), delay_);
  loop_ = getBool(style->StyleQuery("loop"), loop_) ? 1 : 0;
  random_ = getBool(style->StyleQuery("random"), random_) ? 1 : 0;
  destination_ = getString(style->StyleQuery("destination"), destination_);
}

bool VRandomImage::SetBoolAttribute(const char* name, bool value) {
  if (std::strcmp(name, "loop") == 0) {
    loop_ = value ? 1 : 0;
    return true;
  }
  if (std::strcmp(name, "random") == 0) {
    random_ = value ? 1 : 0;
    return true;
  }
  if (image_ && image_->SetBoolAttribute(name, value)) return true;
  return VGroup::SetBoolAttribute(name, value);
}

bool VRandomImage::SetStringAttribute(const char* name, const char* text) {
  if (std::strcmp(name, "destination") == 0) {
    destination_ = text ? text : "";
    return true;
  }
  if (image_ && image_->SetStringAttribute(name, text)) return true;
  return VGroup::SetStringAttribute(name, text);
}

bool VRandomImage::SetNumberAttribute(const char* name, int value) {
  if (std::strcmp(name, "delay") == 0) {
    delay_ = value;
    return true;
  }
  if (image_ && image_->SetNumberAttribute(name, value)) return true;
  return VGroup::SetNumberAttribute(name, value);
}

bool VRandomImage::SetColorAttribute(const char* name, COLORREF color) {
  if (image_ && image_->SetColorAttribute(name, color)) return true;
  return VGroup::SetColorAttribute(name, color);
}

bool VRandomImage::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (image_ && image_->SetRectAttribute(name, left, top, right, bottom)) return true;
  return VGroup::SetRectAttribute(name, left, top, right, bottom);
}
