// Objects by reference, and the temporary collections that list objects
// under a title.
#include "net/references.h"

#include <new>

#include "core/collection.h"
#include "core/kx_object.h"
#include "core/store_registry.h"

namespace {

HistoryLookup gHistory = nullptr;

bool IsReference(const CString& reference) {
  return reference.Find(':', 2) >= 0 || reference.Find("0x") >= 0 || reference.Find('@') >= 0 ||
         reference.Find("//") >= 0;
}

}  // namespace

Ref<KXObject> ResolveReference(const CString& reference) {
  if (!IsReference(reference)) return Ref<KXObject>();
  const CString name = reference.Left(2) == "//" ? reference.Mid(2) : reference;
  return fetchObject(name, Ref<Store>());
}

Ref<KXObject> ResolveReference(const char* reference) {
  return ResolveReference(CString(reference ? reference : ""));
}

HistoryLookup SetHistoryLookup(HistoryLookup lookup) {
  const HistoryLookup old = gHistory;
  gHistory = lookup;
  return old;
}

Ref<KXObject> ObjectForId(ObjectId id) {
  if (gHistory) {
    if (Ref<KXObject> seen = gHistory(id)) return seen;
  }
  return fetchObject(id.Format(), Ref<Store>());
}

Ref<KXObject> MakeMultiCluster(const CString& titleLines, List* members, int plain) {
  if (!members) return Ref<KXObject>();
  CString record =
      "ObjectID=0x00000000\nType=Document\nDocumentType=collection\nAuthor=system\n";
  if (!plain) record += "CollectionType=MultiCluster\n";
  record += titleLines;
  auto* collection = new (std::nothrow) Collection(record, members);
  if (!collection) {
    DeleteObjectList(members);
    return Ref<KXObject>();
  }
  return Ref<KXObject>(collection);
}

Ref<KXObject> ReferenceServices::resolveReference(const CString& name) {
  return ResolveReference(name);
}

Ref<KXObject> ReferenceServices::makeMultiCluster(const CString& title, const List& members) {
  List* copy = NewObjectList();
  if (!copy) return Ref<KXObject>();
  for (ListElement* e = members.first(); e; e = e->next())
    if (KXObject* object = ObjectOf(e)) AppendObject(*copy, Ref<KXObject>(object));
  return MakeMultiCluster(title, copy, 0);
}

ObjectUtilityServices* InstallReferenceServices() {
  static ReferenceServices* services = new ReferenceServices;  // lives as long as the program
  return SetObjectUtilityServices(services);
}
