#include "pages/objects/vgroup.h"

#include <algorithm>

#include "mfc/gdi_objects.h"
#include "win/gdi.h"
#include "win/user.h"

VGroup::VGroup(int left, int top, int right, int bottom) : VObject(left, top, right, bottom) {}

VGroup::~VGroup() { DeleteChildren(); }

VObject* VGroup::GetObjectUnderMouse() {
  return mouseChild_ ? mouseChild_->GetObjectUnderMouse() : this;
}

VObject* VGroup::FindByWindow(HWND window) {
  if (VObject* self = VObject::FindByWindow(window)) return self;
  for (VObject* c = firstChild_; c; c = c->next_)
    if (VObject* hit = c->FindByWindow(window)) return hit;
  return nullptr;
}

const char* VGroup::GetClassName() const { return "VGroup"; }

bool VGroup::IsGroup() const { return true; }

void VGroup::Initialize() {
  VObject::Initialize();
  InitializeChildren();
}

void VGroup::Invalidate() {
  VObject::Invalidate();
  for (VObject* c = firstChild_; c; c = c->next_)
    if (!c->Has(kHidden)) c->Invalidate();
}

bool VGroup::IsShown() const {
  if (VObject::IsShown()) return true;
  for (VObject* c = firstChild_; c; c = c->next_)
    if (c->IsShown()) return true;
  return false;
}

void VGroup::AddToRegion(CRgn& region, bool opaqueOnly) {
  if (Has(kHidden)) return;
  if (opaqueOnly && Has(kTransparent | kPassThrough)) {
    for (VObject* c = firstChild_; c; c = c->next_) c->AddToRegion(region, opaqueOnly);
    return;
  }
  VObject::AddToRegion(region, opaqueOnly);
}

void VGroup::Paint(CDC* dc, const RECT& clip) {
  if (Has(kHidden)) return;
  RECT area;
  const RECT own = Rect();
  if (!IntersectRect(&area, &clip, &own)) return;
  // The last child that covers the whole area on its own hides everything
  // before it.
  VObject* start = nullptr;
  for (VObject* c = firstChild_; c; c = c->next_)
    if (!c->Has(kHidden | kInactive) && c->Covers(area.left, area.top, area.right, area.bottom))
      start = c;
  // Otherwise, when the opaque parts of all children together cover the
  // area, the group's own background is hidden.
  if (!start && firstChild_) {
    CRgn opaque;
    for (VObject* c = firstChild_; c; c = c->next_) c->AddToRegion(opaque, true);
    if (opaque.GetSafeHandle()) {
      CRgn rest;
      rest.CreateRectRgnIndirect(&area);
      if (rest.CombineRgn(&rest, &opaque, RGN_DIFF) == NULLREGION) start = firstChild_;
    }
  }
  if (!start && !Has(kPassThrough)) VObject::Paint(dc, area);
  for (VObject* c = start ? start : firstChild_; c; c = c->next_) c->Paint(dc, area);
}

void VGroup::HandleEvent(PageEvent& event) {
  VObject::HandleEvent(event);
  for (VObject* c = firstChild_; c && event.code != PageEvent::Consumed; c = c->next_)
    c->HandleEvent(event);
}

DWORD VGroup::IdleWait() const {
  DWORD wait = VObject::IdleWait();
  for (const VObject* c = firstChild_; c && wait != 0; c = c->next_) wait = std::min(wait, c->IdleWait());
  return wait;
}

void VGroup::HandleMouse(int x, int y, PageEvent& event) {
  if (VObject* child = ChildAt(x, y)) {
    SetMouseChild(child);
    child->HandleMouse(x, y, event);
  } else {
    SetMouseChild(nullptr);
    VObject::HandleMouse(x, y, event);
  }
}

bool VGroup::Covers(int left, int top, int right, int bottom) const {
  if (Has(kHidden)) return false;
  if (VObject::Covers(left, top, right, bottom)) return true;
  for (VObject* c = firstChild_; c; c = c->next_)
    if (c->Covers(left, top, right, bottom)) return true;
  return false;
}

void VGroup::AppendChild(VObject* child) {
  if (!child) return;
  if (!firstChild_) {
    AddChild(child);
    return;
  }
  if (Contains(child, false)) return;
  VObject* last = LastChild();
  last->next_ = child;
  child->next_ = nullptr;
  child->parent_ = this;
  child->OnAttach();
  child->Invalidate();
}

void VGroup::AddChild(VObject* child) {
  if (!child || Contains(child, false)) return;
  child->parent_ = this;
  child->next_ = firstChild_;
  firstChild_ = child;
  child->OnAttach();
  child->Invalidate();
}

VObject* VGroup::RemoveChild(VObject* child) {
  if (!firstChild_ || !child) return nullptr;
  SetMouseChild(nullptr);
  for (VObject** link = &firstChild_; *link; link = &(*link)->next_) {
    if (*link != child) continue;
    child->Invalidate();
    *link = child->next_;
    child->parent_ = nullptr;
    child->next_ = nullptr;
    return child;
  }
  return nullptr;
}

void VGroup::DeleteChildren() {
  mouseChild_ = nullptr;
  VObject* c = firstChild_;
  firstChild_ = nullptr;
  while (c) {
    VObject* following = c->next_;
    c->next_ = nullptr;
    c->parent_ = nullptr;
    delete c;
    c = following;
  }
}

void VGroup::BringToFront(VObject* child) {
  if (!child || !child->next_ || child->parent_ != this) return;
  RemoveChild(child);
  AppendChild(child);
}

void VGroup::SendToBack(VObject* child) {
  if (!child || child == firstChild_ || child->parent_ != this) return;
  RemoveChild(child);
  AddChild(child);
}

void VGroup::SetMouseChild(VObject* child) {
  if (child == mouseChild_) return;
  for (VObject* c = firstChild_; c; c = c->next_)
    if (c->IsGroup()) static_cast<VGroup*>(c)->SetMouseChild(nullptr);
  if (mouseChild_) {
    VObject* old = mouseChild_;
    mouseChild_ = nullptr;
    old->OnMouseLeave();
  }
  if (child) {
    mouseChild_ = child;
    child->OnMouseEnter();
  }
}

void VGroup::InitializeChildren() {
  for (VObject* c = firstChild_; c; c = c->next_)
    if (!c->Has(kInitialised)) c->Initialize();
}

VObject* VGroup::Contains(const VObject* object, bool recursive) {
  if (!object) return nullptr;
  if (object == this) return this;
  for (VObject* c = firstChild_; c; c = c->next_) {
    if (c == object) return c;
    if (recursive && c->IsGroup())
      if (VObject* hit = static_cast<VGroup*>(c)->Contains(object, true)) return hit;
  }
  return nullptr;
}

VObject* VGroup::LastChild() const {
  VObject* c = firstChild_;
  while (c && c->next_) c = c->next_;
  return c;
}

VObject* VGroup::ChildAt(int x, int y) {
  const RECT own = Rect();
  const POINT pt{x, y};
  if (!PtInRect(&own, pt)) return nullptr;
  VObject* hit = nullptr;
  for (VObject* c = firstChild_; c; c = c->next_) {
    if (c->Has(kDisabled | kHidden)) continue;
    if (c->Has(kPassThrough)) {
      if (c->IsGroup() && static_cast<VGroup*>(c)->ChildAt(x, y)) hit = c;
      continue;
    }
    const RECT r = c->Rect();
    if (PtInRect(&r, pt)) hit = c;
  }
  return hit;
}

VObject* VGroup::FindByName(const char* name, bool recursive) {
  if (!name || !*name) return nullptr;
  if (GetName() == name) return this;
  for (VObject* c = firstChild_; c; c = c->next_) {
    if (c->GetName() == name) return c;
    if (recursive && c->IsGroup())
      if (VObject* hit = static_cast<VGroup*>(c)->FindByName(name, true)) return hit;
  }
  return nullptr;
}
