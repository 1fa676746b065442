// A local database in a fresh directory: one data set "dovirev" whose home
// collection is named "rootcollection", opened through a "kxlocal:" address.
#pragma once

#include <string>

#include "core/kx_object.h"
#include "store/localdb/local_database.h"
#include "support/temp_dir.h"

namespace localdb_testing {

class LocalDb {
 public:
  explicit LocalDb(const std::string& code = "dovirev", const std::string& title = "rootcollection");
  ~LocalDb();

  LocalDatabase& db() { return *db_; }
  Ref<Store> store() { return Ref<Store>(db_.get()); }
  const std::string& config() const { return config_; }
  const testing_support::TempDir& dir() const { return dir_; }
  // Closes the database (dropping every cached object) and opens it again.
  void reopen();
  void close();

  // A new object (not yet stored) made from a record.
  Ref<KXObject> make(const std::string& record);
  // Inserts a document or anchor under `container`; the object, which now
  // carries its id.
  Ref<KXObject> insert(const std::string& record, const Ref<KXObject>& container);
  // A collection under `container` (none: at the top) with this name.
  Ref<KXObject> collection(const std::string& name, const Ref<KXObject>& container);
  // The object with this id text, read from the database.
  Ref<KXObject> fetch(const std::string& idText);
  // The id texts of the results of a request (kind and text).
  std::vector<std::string> results(const Ref<KXObject>& object, int kind, const std::string& text = {});
  // Names ("Name=" values) of the results, in result order.
  std::vector<std::string> names(const Ref<KXObject>& object, int kind, const std::string& text = {});
  // The body read back through a read request; "<none>" when none opens.
  std::string body(const Ref<KXObject>& object);
  bool storeBody(const Ref<KXObject>& object, const std::string& bytes, size_t piece = 1000);

 private:
  testing_support::TempDir dir_;
  std::string config_;
  Ref<LocalDatabase> db_;
};

}  // namespace localdb_testing
