// Builds the local database of a sample web in the peer's content format
// (data/sample) through the database's own insert operations.
//
//   make_sample_localdb <sample directory> <output directory>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"
#include "store/localdb/sample_import.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sample_localdb <sample directory> <output directory>\n");
    return 2;
  }
  const fs::path out = argv[2];
  // The directory holds this database only; a new one starts empty.
  std::error_code ec;
  fs::remove_all(out, ec);
  fs::create_directories(out, ec);
  // The language tables go beside the data set, where its store finds them.
  const fs::path data = fs::path(argv[1]).parent_path();
  for (const char* name : {"SUFFIX.enu", "SUFFIX.deu", "PHONEM.enu", "PHONEM.deu"}) fs::copy_file(data / name, out / name, ec);
  const std::string config = KeyedStore::createDataSet(out.string(), "sample", kRootCollectionName);
  if (config.empty()) {
    std::fprintf(stderr, "make_sample_localdb: cannot write the data set into %s\n", out.c_str());
    return 1;
  }
  InstallObjectFactory();
  SampleImport imported;
  {
    Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
    if (db->getError() != 0) {
      std::fprintf(stderr, "make_sample_localdb: %s\n", db->getErrorText().c_str());
      return 1;
    }
    imported = ImportSampleWeb(*db, argv[1]);
    ClearObjectCache();
  }
  if (!imported.ok) {
    std::fprintf(stderr, "make_sample_localdb: %s\n", imported.error.c_str());
    return 1;
  }
  std::printf("%s: %zu objects\n", config.c_str(), imported.ids.size());
  return 0;
}
