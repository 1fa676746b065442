#include "pages/support/test_objects.h"

#include "core/cluster.h"
#include "core/collection.h"
#include "core/store.h"
#include "net/open_store.h"
#include "net/references.h"

namespace pages_test {

namespace {

CString Record(std::int32_t id, const char* documentType, const char* extra) {
  CString record;
  record.Format("ObjectID=0x%08x\nType=Document\nDocumentType=%s\n", static_cast<unsigned>(id),
                documentType);
  return record + extra;
}

List* MemberList(const std::vector<Ref<KXObject>>& members) {
  List* list = NewObjectList();
  for (const Ref<KXObject>& m : members) AppendObject(*list, m);
  return list;
}

}  // namespace

TestObjects::~TestObjects() { Remove(); }

void TestObjects::Install() {
  if (installed_) return;
  installed_ = true;
  previousServices_ = InstallReferenceServices();
  previousFactory_ = InstallObjectFactory();
}

void TestObjects::Remove() {
  // Members are held by their collections; the collections let them go
  // before the handles here do.
  for (const Ref<KXObject>& o : held_)
    if (auto* c = dynamic_cast<::Collection*>(o.get())) c->clearMembers();
  held_.clear();
  store_ = nullptr;
  if (!installed_) return;
  installed_ = false;
  SetObjectUtilityServices(previousServices_);
  SetObjectFactory(previousFactory_);
}

Ref<KXObject> TestObjects::Held(KXObject* object) {
  if (!store_) store_ = Ref<Store>(new Store("korvex://pages.test/"));
  // A store of its own gives the object its identifier (its id text).
  if (object) object->setStore(store_);
  Ref<KXObject> handle(object);
  held_.push_back(handle);
  return handle;
}

Ref<KXObject> TestObjects::Document(std::int32_t id, const char* documentType, const char* extra) {
  return Held(TheObjectFactory().createObject(Record(id, documentType, extra)));
}

Ref<KXObject> TestObjects::Collection(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                                      const char* extra) {
  return Held(new ::Collection(Record(id, "collection", extra), MemberList(members)));
}

Ref<KXObject> TestObjects::MultiCluster(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                                        const char* extra) {
  CString lines("CollectionType=MultiCluster\n");
  lines += extra;
  return Held(new ::Collection(Record(id, "collection", lines), MemberList(members)));
}

Ref<KXObject> TestObjects::Cluster(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                                   const char* extra) {
  CString lines("CollectionType=Cluster\n");
  lines += extra;
  return Held(new ::Cluster(Record(id, "collection", lines), MemberList(members)));
}

}  // namespace pages_test
