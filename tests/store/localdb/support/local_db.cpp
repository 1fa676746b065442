#include "local_db.h"

#include <gtest/gtest.h>

#include "core/attr_record.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "win/user.h"

namespace localdb_testing {

LocalDb::LocalDb(const std::string& code, const std::string& title) {
  InstallObjectFactory();
  ClearObjectCache();
  win::ClearMessageBoxLog();
  config_ = KeyedStore::createDataSet(dir_.path().string(), code, title);
  // The language tables, where the data set's store finds them.
  for (const char* name : {"SUFFIX.enu", "SUFFIX.deu", "PHONEM.enu", "PHONEM.deu"})
    dir_.write(name, testing_support::TempDir::read(std::string(ZEMRA_SOURCE_DIR "/data/") + name));
  EXPECT_FALSE(config_.empty());
  reopen();
}

LocalDb::~LocalDb() { close(); }

void LocalDb::close() {
  ClearObjectCache();
  db_ = nullptr;
}

void LocalDb::reopen() {
  close();
  db_ = new LocalDatabase(CString("kxlocal:" + config_));
  EXPECT_EQ(db_->getError(), 0) << db_->getErrorText().c_str();
}

Ref<KXObject> LocalDb::make(const std::string& record) {
  KXObject* object = createObject(CString(record));
  Ref<KXObject> ref(object);
  if (ref) ref->setStore(store());
  return ref;
}

Ref<KXObject> LocalDb::insert(const std::string& record, const Ref<KXObject>& container) {
  Ref<KXObject> object = make(record);
  EXPECT_TRUE(object);
  if (!object) return object;
  EXPECT_TRUE(db_->insertObject(object, container, 0)) << record;
  return object;
}

Ref<KXObject> LocalDb::collection(const std::string& name, const Ref<KXObject>& container) {
  return insert("Type=Document\nDocumentType=collection\nName=" + name + "\nTitle=en:" + name + "\n", container);
}

Ref<KXObject> LocalDb::fetch(const std::string& idText) {
  CString record = db_->getRecord(CString(idText));
  if (record.IsEmpty()) return Ref<KXObject>();
  return objectForRecord(record, store());
}

std::vector<std::string> LocalDb::results(const Ref<KXObject>& object, int kind, const std::string& text) {
  std::vector<std::string> out;
  StoreEntry* entry = db_->openRequest(object, kind, nullptr, CString(text));
  if (!entry) return out;
  List* list = db_->getResults(entry, -1, nullptr);
  for (ListElement* e = list ? list->first() : nullptr; e; e = e->next())
    if (KXObject* o = ObjectOf(e)) out.push_back(o->getObjectIdText().str());
  DeleteObjectList(list);
  db_->closeRequest(entry);
  return out;
}

std::vector<std::string> LocalDb::names(const Ref<KXObject>& object, int kind, const std::string& text) {
  std::vector<std::string> out;
  StoreEntry* entry = db_->openRequest(object, kind, nullptr, CString(text));
  if (!entry) return out;
  List* list = db_->getResults(entry, -1, nullptr);
  for (ListElement* e = list ? list->first() : nullptr; e; e = e->next())
    if (KXObject* o = ObjectOf(e)) {
      std::string name = AttrRecord(o->recordText()).getAttribute("Name=").str();
      out.push_back(name.substr(0, name.find(" @")));
    }
  DeleteObjectList(list);
  db_->closeRequest(entry);
  return out;
}

std::string LocalDb::body(const Ref<KXObject>& object) {
  StoreEntry* entry = db_->openRequest(object, kRequestRead, nullptr, CString());
  if (!entry) return "<none>";
  std::string out;
  char buffer[97];
  for (std::int32_t n; (n = db_->readRequest(entry, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  db_->closeRequest(entry);
  return out;
}

bool LocalDb::storeBody(const Ref<KXObject>& object, const std::string& bytes, size_t piece) {
  char size[16];
  std::snprintf(size, sizeof size, "0x%08x", static_cast<unsigned>(bytes.size()));
  StoreEntry* entry = db_->openRequest(object, kRequestWrite, nullptr, CString(size));
  if (!entry) return false;
  bool ok = true;
  for (size_t at = 0; at < bytes.size(); at += piece) {
    const std::string part = bytes.substr(at, piece);
    ok = db_->writeRequest(entry, part.data(), static_cast<std::int32_t>(part.size())) ==
             static_cast<std::int32_t>(part.size()) && ok;
  }
  db_->closeRequest(entry);
  return ok;
}

}  // namespace localdb_testing
