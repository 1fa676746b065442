// Builds a local database from a sample web in the peer's content format
// (one "*.rec" attribute record per object, its content in "*.body"
// beside it): every document under its collections, every body, every
// anchor, through the database's own insert operations. Users and groups
// are server matters and are left out.
//
//   make_sample_localdb <sample directory> <output directory>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/attr_record.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"

namespace fs = std::filesystem;

namespace {

struct SampleObject {
  std::string record;
  fs::path body;
  std::vector<std::string> parents;  // old ids
  Ref<KXObject> stored;
};

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The record without the lines the database writes itself.
std::string withoutLines(const std::string& record, std::initializer_list<const char*> keys) {
  std::string out;
  std::istringstream in(record);
  for (std::string line; std::getline(in, line);) {
    bool skip = false;
    for (const char* k : keys) skip = skip || line.rfind(k, 0) == 0;
    if (!skip && !line.empty()) out += line + "\n";
  }
  return out;
}

int fail(const std::string& what) {
  std::fprintf(stderr, "make_sample_localdb: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: make_sample_localdb <sample directory> <output directory>");
  const fs::path sample = argv[1];
  const fs::path out = argv[2];
  // The directory holds this database only; a new one starts empty.
  std::error_code ec;
  fs::remove_all(out, ec);
  fs::create_directories(out, ec);
  const std::string config = KeyedStore::createDataSet(out.string(), "sample", kRootCollectionName);
  if (config.empty()) return fail("cannot write the data set into " + out.string());

  std::map<std::string, SampleObject> objects;  // by old id text
  for (const auto& entry : fs::recursive_directory_iterator(sample)) {
    if (entry.path().extension() != ".rec") continue;
    SampleObject o;
    o.record = bytesOf(entry.path());
    AttrRecord attrs{CString(o.record)};
    const std::string id = attrs.getAttribute("ObjectID=").str();
    const std::string type = attrs.getAttribute("Type=").str();
    if (id.empty() || (type != "Document" && type != "Anchor")) continue;
    std::istringstream in(o.record);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("Parent=", 0) == 0) o.parents.push_back(line.substr(7));
    fs::path body = entry.path();
    body.replace_extension(".body");
    if (fs::exists(body)) o.body = body;
    objects[id] = std::move(o);
  }

  InstallObjectFactory();
  Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
  if (db->getError() != 0) return fail(db->getErrorText().str());
  const Ref<Store> store(db.get());
  auto make = [&](const std::string& record) {
    Ref<KXObject> o(createObject(CString(record)));
    if (o) o->setStore(store);
    return o;
  };

  // Documents, each once its first collection is in.
  for (bool progress = true; progress;) {
    progress = false;
    for (auto& [id, o] : objects) {
      if (o.stored || AttrRecord(CString(o.record)).getAttribute("Type=") != "Document") continue;
      Ref<KXObject> parent;
      if (!o.parents.empty()) {
        auto it = objects.find(o.parents.front());
        if (it == objects.end() || !it->second.stored) continue;
        parent = it->second.stored;
      }
      Ref<KXObject> doc = make(withoutLines(o.record, {"ObjectID=", "Parent="}));
      if (!doc || !db->insertObject(doc, parent, 0)) return fail("cannot insert " + id);
      o.stored = doc;
      progress = true;
    }
  }
  for (auto& [id, o] : objects) {
    if (!o.stored) continue;
    for (size_t i = 1; i < o.parents.size(); ++i) {
      auto it = objects.find(o.parents[i]);
      if (it != objects.end() && it->second.stored && !db->addToCollection(o.stored, it->second.stored))
        return fail("cannot add " + id + " to " + o.parents[i]);
    }
    if (o.body.empty()) continue;
    const std::string bytes = bytesOf(o.body);
    char size[16];
    std::snprintf(size, sizeof size, "0x%08x", static_cast<unsigned>(bytes.size()));
    StoreEntry* entry = db->openRequest(o.stored, kRequestWrite, nullptr, CString(size));
    if (!entry) return fail("cannot store the body of " + id);
    for (size_t at = 0; at < bytes.size(); at += kTransferChunk) {
      const std::string piece = bytes.substr(at, kTransferChunk);
      if (db->writeRequest(entry, piece.data(), static_cast<std::int32_t>(piece.size())) < 0)
        return fail("cannot write the body of " + id);
    }
    db->closeRequest(entry);
  }

  // Anchors, with their destinations by new id.
  for (auto& [id, o] : objects) {
    AttrRecord attrs{CString(o.record)};
    if (attrs.getAttribute("Type=") != "Anchor" || o.parents.empty()) continue;
    auto owner = objects.find(o.parents.front());
    if (owner == objects.end() || !owner->second.stored) continue;
    std::string record = withoutLines(o.record, {"ObjectID=", "Parent=", "Dest="});
    const std::string dest = attrs.getAttribute("Dest=").str();
    auto target = objects.find(dest);
    if (target != objects.end() && target->second.stored)
      record += "Dest=" + target->second.stored->getObjectIdText().str() + "\n";
    Ref<KXObject> anchor = make(record);
    if (!anchor || !db->insertObject(anchor, owner->second.stored, 0)) return fail("cannot insert anchor " + id);
  }
  ClearObjectCache();
  std::printf("%s\n", config.c_str());
  return 0;
}
