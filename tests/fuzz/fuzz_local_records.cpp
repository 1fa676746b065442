// fuzz-libs: zemra_store
//
// Input: the record file of a local database's data set as it might be
// found on disk, with the record key of one object, a member key and an
// anchor key pointing into it. The object is read by id, by name and as a
// member, its body is read, and the input is also read as a record text
// whose suffixes are added and stripped and whose index keys are made. What
// must hold: no crash or hang; a record read back never exceeds the record
// limit (plus the suffixes its lines gain); reading stays within the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"
#include "store/localdb/local_names.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

std::string directory() {
  static const std::string dir = [] {
    std::string d = "/tmp/zemra_fuzz_local_records_" + std::to_string(getpid());
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    InstallObjectFactory();
    return true;
  }();
  (void)ready;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  LocalDatabase::addSuffixes(bytes, "fuzz", false);
  LocalDatabase::stripSuffixes(bytes, "Score");
  LocalDatabase::attributeKeys(bytes.substr(0, 4096));

  std::error_code ec;
  std::filesystem::remove_all(directory(), ec);
  std::filesystem::create_directories(directory(), ec);
  const std::string config = KeyedStore::createDataSet(directory(), "fuzz", "home");
  if (config.empty()) return 0;
  {
    FILE* f = std::fopen((directory() + "/FUZZ.SDO").c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  ClearObjectCache();
  Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
  if (db->getError() != 0) return 0;
  KeyedStore& store = *db->keyedStore();
  const int set = db->defaultDataSet();
  const std::uint32_t first = 0x100;
  const std::uint32_t middle = first + static_cast<std::uint32_t>(size / 2);
  store.insertKey(set, localdb::idKey(localdb::KeyKind::kRecord, first), DataItem::kText, first);
  store.insertKey(set, localdb::idKey(localdb::KeyKind::kRecord, middle), DataItem::kText, middle);
  store.insertKey(set, localdb::idKey(localdb::KeyKind::kChild, first), DataItem::kText, middle);
  store.insertKey(set, localdb::idKey(localdb::KeyKind::kAnchorFrom, first), DataItem::kText, middle);

  const CString record = db->getRecord(CString(localdb::formatId(first) + "@fuzz"));
  check(static_cast<size_t>(record.GetLength()) <= 2 * LocalDatabase::kMaxRecordBytes);
  Ref<KXObject> object = objectForRecord(record, Ref<Store>(db.get()));
  if (object) {
    for (int kind : {kRequestMembers, kRequestParents, kRequestAnchors, kRequestReferrers, kRequestRead}) {
      StoreEntry* entry = db->openRequest(object, kind, nullptr, CString());
      if (!entry) continue;
      if (kind == kRequestRead) {
        char buffer[512];
        for (int i = 0; i < 64 && db->readRequest(entry, buffer, sizeof buffer) > 0; ++i) {
        }
      } else {
        DeleteObjectList(db->getResults(entry, -1, nullptr));
      }
      db->closeRequest(entry);
    }
  }
  ClearObjectCache();
  return 0;
}
