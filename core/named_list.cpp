#include "core/named_list.h"

#include <new>

#include "core/string_array.h"

namespace {
InlinePictureFactory gInlinePictureFactory = nullptr;
}

void SetInlinePictureFactory(InlinePictureFactory factory) { gInlinePictureFactory = factory; }

NamedObject::~NamedObject() = default;

void NamedObject::acquire() { ++references_; }

void NamedObject::release() {
  if (references_ > 0) --references_;
  if (references_ == 0) delete this;
}

NamedEntry::NamedEntry(const CString& name, NamedObject* object) : name_(name), object_(object) {
  if (object_) object_->acquire();
}

NamedEntry::~NamedEntry() {
  if (object_) object_->release();
}

NamedList::~NamedList() { entries_.clearAndDelete(); }

bool NamedList::Add(const CString& name, NamedObject* object) {
  auto* entry = new (std::nothrow) NamedEntry(name, object);
  if (!entry) return false;
  entry->used = 1;
  entries_.prepend(entry);
  return true;
}

NamedObject* NamedList::Find(const char* name) {
  NamedEntry* hit = nullptr;
  for (ListElement* e = entries_.first(); e; e = e->next()) {
    auto* entry = static_cast<NamedEntry*>(e);
    if (CompareMultibyte(entry->name().c_str(), name) == 0) {
      hit = entry;
      break;
    }
  }
  if (!hit) return nullptr;
  hit->used = 1;
  if (ListElement* before = hit->previous()) {
    entries_.unlink(hit);
    entries_.insertBefore(hit, before);
  }
  if (NamedObject* object = hit->object()) {
    object->pending = 0;
    return object;
  }
  if (!gInlinePictureFactory) return nullptr;
  NamedObject* picture = gInlinePictureFactory();
  if (picture) picture->pending = 1;
  return picture;
}
