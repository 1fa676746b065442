// Lists of objects: the MemberEntry element and helpers.
#include "core/kx_object.h"

#include <new>

MemberEntry::MemberEntry(const Ref<KXObject>& o) : object(o) {}
MemberEntry::~MemberEntry() = default;

SortableObject* MemberEntry::sortObject() const { return object ? &view_ : nullptr; }

CString MemberEntry::SortView::sortAttribute(const char* key) {
  return entry_.object->getAttribute(key);
}
CString MemberEntry::SortView::sortIdentifier() { return entry_.object->getIdentifier(); }
CString MemberEntry::SortView::sortTitle() { return entry_.object->getTitle(); }
CString MemberEntry::SortView::sortType() { return entry_.object->getType(); }
CString MemberEntry::SortView::sortScore() { return entry_.object->getScoreText(); }
int MemberEntry::SortView::sortClassCode() { return entry_.object->getClassCode(); }

List* NewObjectList() { return new List; }

bool AppendObject(List& list, const Ref<KXObject>& object) {
  auto* entry = new (std::nothrow) MemberEntry(object);
  if (!entry) return false;
  list.append(entry);
  return true;
}

KXObject* ObjectOf(const ListElement* element) {
  const auto* entry = dynamic_cast<const MemberEntry*>(element);
  return entry ? entry->object.get() : nullptr;
}

void DeleteObjectList(List* list) {
  if (!list) return;
  list->clearAndDelete();
  delete list;
}
