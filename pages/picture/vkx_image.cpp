#include "pages/picture/vkx_image.h"

#include <cstring>

#include "core/anchor.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "core/object_utils.h"
#include "framework/user_break.h"
#include "pages/area/area.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/part_makers.h"
#include "pages/picture/vimage.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_struct.h"
#include "store/cache/file_cache.h"
#include "win/kernel.h"

ImageLoadTarget::ImageLoadTarget(VKxImage* owner) : LoadTarget(owner) {}

int ImageLoadTarget::Deliver(const char* fileName, int temporary) {
  if (!owner_) return 1;
  auto* owner = static_cast<VKxImage*>(owner_);
  if (temporary && fileName && *fileName) {
    // A file of its own: the image cache fetches the picture again.
    DeleteFile(fileName);
    owner->Notify(kDelivered, owner);
    return 1;
  }
  fileName_ = fileName ? fileName : "";
  if (owner->Document()) {
    TheFileCache().insert(objectUrl(owner->Document()), fileName_, 1, owner->Document()->getTitle());
  }
  owner->Notify(kDelivered, owner);
  return 1;
}

VKxImage::VKxImage(int left, int top, int right, int bottom, const Ref<KXObject>& object, int fetch)
    : VGroup(left, top, right, bottom), fetch_(fetch) {
  SetState(State() | kPassThrough);
  SetObject(object);
}

VKxImage::~VKxImage() { DropPendingLoad(); }

const char* VKxImage::GetClassName() const { return "VKxImage"; }

bool VKxImage::IsEmpty() const { return true; }

void VKxImage::Draw(CDC*, const RECT&) {}

void VKxImage::DropChild(VObject*& child) {
  if (!child) return;
  RemoveChild(child);
  delete child;
  child = nullptr;
}

// The queued load is cancelled before its target goes, and the target is
// detached too: nothing can deliver to this object any more.
void VKxImage::DropPendingLoad() {
  if (!pending_) return;
  Shell().CancelLoads(pending_.get());
  pending_->Detach();
  pending_.reset();
}

void VKxImage::SetObject(const Ref<KXObject>& object) {
  const bool hadDocument = static_cast<bool>(document_);
  DropChild(title_);
  DropPendingLoad();
  if (!object) return;
  const int code = object->getClassCode();
  if (code == kImageDocumentClass) {
    document_ = object;
    targetAnchor_ = Ref<KXObject>();
  } else if (code == kAnchorClass) {
    auto* anchor = dynamic_cast<Anchor*>(object.get());
    if (anchor && !anchor->isSourceAnchor()) {
      document_ = anchor->getDestObject();
      targetAnchor_ = object;
    }
  }
  if (hadDocument) Build();
}

void VKxImage::Initialize() {
  VObject::Initialize();
  Build();
}

void VKxImage::Build() {
  DropChild(title_);
  DropPendingLoad();
  // A new object replaces the picture of the old one.
  {
    VObject* old = image_;
    image_ = nullptr;
    DropChild(old);
  }
  links_.clear();
  Area area(Rect().left, Rect().top, Rect().right, Rect().bottom);
  title_ = MakePartTitle(area, document_, GetStyle());
  if (title_) AppendChild(title_);
  if (!document_ || document_->getClassCode() != kImageDocumentClass) {
    InitializeChildren();
    PlaceTitle();
    return;
  }
  const RECT bounds = area.GetBounds();
  image_ = new VImage(bounds.left, bounds.top, bounds.right, bounds.bottom, nullptr);
  AppendChild(image_);
  if (const PropertyStruct* style = GetStyle()) image_->SetStyle(style->Instantiate());

  // The anchors, asked of the server only when no other request runs.
  waitWhileBusy();
  auto* document = dynamic_cast<::Document*>(document_.get());
  if (document && !LongOperationFlag()) {
    SetLongOperationFlag(1);
    links_ = LinkAnchorsInPlaceOrder(*document);
    const List* destinations = document->getDestAnchors();
    SetLongOperationFlag(0);
    int id = 0;
    const auto* target = dynamic_cast<const Anchor*>(targetAnchor_.get());
    const CString targetPosition = target ? target->getPosition() : CString();
    for (const Ref<KXObject>& anchor : links_)
      image_->AddAnchor(ImageAnchor(anchor->getAttribute(kxanchor::kPositionKey), id++, 1));
    for (ListElement* e = destinations ? destinations->first() : nullptr; e; e = e->next()) {
      KXObject* object = ObjectOf(e);
      auto* anchor = dynamic_cast<Anchor*>(object);
      const CString position = anchor ? anchor->getPosition() : CString();
      image_->AddAnchor(ImageAnchor(position, id, 0));
      if (target && (object == targetAnchor_.get() || position == targetPosition)) image_->SetHighlightAnchor(id);
      ++id;
    }
  }

  const CString url = objectUrl(document_);
  if (!url.IsEmpty() && (TheImageCache().Find(url) || !fetch_)) {
    image_->SetFileName(url, 1);
    image_->Notify(LoadTarget::kDelivered, image_);
  } else if (!url.IsEmpty()) {
    pending_ = std::make_unique<ImageLoadTarget>(this);
    Shell().PushLoad(LoadKind::Image, document_, pending_.get(), nullptr);
  }
  InitializeChildren();
  PlaceTitle();
}

void VKxImage::PlaceTitle() {
  if (!title_ || !image_) return;
  const RECT t = title_->Rect();
  const RECT i = image_->Rect();
  const int h = t.bottom - t.top;
  if (t.bottom < i.top) title_->SetRect(t.left, i.top - h, t.right, i.top);
  else if (t.top > i.bottom) title_->SetRect(t.left, i.bottom, t.right, i.bottom + h);
}

void VKxImage::Notify(int code, VObject* sender) {
  if (code == LoadTarget::kDelivered) {
    if (image_ && document_) image_->SetFileName(objectUrl(document_), 0);
    if (Parent()) Parent()->Notify(code, this);
    return;
  }
  if (code == VImage::kClickedAnchor && sender == image_ && image_ && document_) {
    const int selected = image_->SelectedAnchor();
    if (selected >= 0 && static_cast<std::size_t>(selected) < links_.size())
      Shell().ExecuteAnchorAction(links_[static_cast<std::size_t>(selected)]);
  }
  VGroup::Notify(code, sender);
}

void VKxImage::ReadStyleAttributes() {
  VGroup::ReadStyleAttributes();
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  const RECT pos = getRect(style->StyleQuery("pos"), Rect());
  SetRect(pos.left, pos.top, pos.right, pos.bottom);
}

bool VKxImage::SetBoolAttribute(const char* name, bool value) {
  if (image_ && image_->SetBoolAttribute(name, value)) return true;
  return VGroup::SetBoolAttribute(name, value);
}
bool VKxImage::SetStringAttribute(const char* name, const char* text) {
  if (image_ && image_->SetStringAttribute(name, text)) return true;
  return VGroup::SetStringAttribute(name, text);
}
bool VKxImage::SetNumberAttribute(const char* name, int value) {
  if (image_ && image_->SetNumberAttribute(name, value)) return true;
  return VGroup::SetNumberAttribute(name, value);
}
bool VKxImage::SetColorAttribute(const char* name, COLORREF color) {
  if (image_ && image_->SetColorAttribute(name, color)) return true;
  return VGroup::SetColorAttribute(name, color);
}
bool VKxImage::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (image_ && image_->SetRectAttribute(name, left, top, right, bottom)) return true;
  return VGroup::SetRectAttribute(name, left, top, right, bottom);
}
