#include "store/localdb/sample_import.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/attr_record.h"
#include "core/kx_object.h"
#include "core/store_registry.h"

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

SampleImport failed(const std::string& why) {
  SampleImport result;
  result.error = why;
  return result;
}

}  // namespace

SampleImport ImportSampleWeb(LocalDatabase& db, const std::string& sampleDirectory) {
  std::map<std::string, SampleObject> objects;  // by old id text
  std::error_code ec;
  for (fs::recursive_directory_iterator it(sampleDirectory, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() != ".rec") continue;
    SampleObject o;
    o.record = bytesOf(it->path());
    AttrRecord attrs{CString(o.record)};
    const std::string id = attrs.getAttribute("ObjectID=").str();
    const std::string type = attrs.getAttribute("Type=").str();
    if (id.empty() || (type != "Document" && type != "Anchor")) continue;
    std::istringstream in(o.record);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("Parent=", 0) == 0) o.parents.push_back(line.substr(7));
    fs::path body = it->path();
    body.replace_extension(".body");
    if (fs::exists(body)) o.body = body;
    objects[id] = std::move(o);
  }
  if (ec) return failed("cannot read " + sampleDirectory);

  const Ref<Store> store(&db);
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
      if (!doc || !db.insertObject(doc, parent, 0)) return failed("cannot insert " + id);
      o.stored = doc;
      progress = true;
    }
  }
  for (auto& [id, o] : objects) {
    if (!o.stored) continue;
    for (size_t i = 1; i < o.parents.size(); ++i) {
      auto it = objects.find(o.parents[i]);
      if (it != objects.end() && it->second.stored && !db.addToCollection(o.stored, it->second.stored))
        return failed("cannot add " + id + " to " + o.parents[i]);
    }
    if (o.body.empty()) continue;
    const std::string bytes = bytesOf(o.body);
    char size[16];
    std::snprintf(size, sizeof size, "0x%08x", static_cast<unsigned>(bytes.size()));
    StoreEntry* entry = db.openRequest(o.stored, kRequestWrite, nullptr, CString(size));
    if (!entry) return failed("cannot store the body of " + id);
    for (size_t at = 0; at < bytes.size(); at += kTransferChunk) {
      const std::string piece = bytes.substr(at, kTransferChunk);
      if (db.writeRequest(entry, piece.data(), static_cast<std::int32_t>(piece.size())) < 0) {
        db.closeRequest(entry);
        return failed("cannot write the body of " + id);
      }
    }
    db.closeRequest(entry);
  }

  SampleImport result;
  // Anchors, with their destinations by new id: the destination anchors
  // first, since a link may lead to one.
  for (const bool destinations : {true, false}) {
    for (auto& [id, o] : objects) {
      AttrRecord attrs{CString(o.record)};
      if (attrs.getAttribute("Type=") != "Anchor" || o.parents.empty()) continue;
      if ((attrs.getAttribute("TAnchor=") == "Dest") != destinations) continue;
      auto owner = objects.find(o.parents.front());
      if (owner == objects.end() || !owner->second.stored) continue;
      std::string record = withoutLines(o.record, {"ObjectID=", "Parent=", "Dest="});
      const std::string dest = attrs.getAttribute("Dest=").str();
      auto target = objects.find(dest);
      if (target != objects.end() && target->second.stored)
        record += "Dest=" + target->second.stored->getObjectIdText().str() + "\n";
      Ref<KXObject> anchor = make(record);
      if (!anchor || !db.insertObject(anchor, owner->second.stored, 0)) return failed("cannot insert anchor " + id);
      o.stored = anchor;
    }
  }
  for (auto& [id, o] : objects)
    if (o.stored) result.ids[id] = o.stored->getObjectIdText().str();
  result.ok = true;
  return result;
}
