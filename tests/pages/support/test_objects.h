// Server objects for the page tests, made from attribute records by the
// program's object factory (so each has its real class), with the object
// utilities of the reference layer installed. Collections and clusters get
// their member lists at construction, so no store is needed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/kx_object.h"
#include "core/object_utils.h"
#include "core/objref.h"
#include "core/store.h"
#include "core/store_registry.h"

namespace pages_test {

class TestObjects {
 public:
  ~TestObjects();
  void Install();
  void Remove();

  // "ObjectID=<id>\nType=Document\nDocumentType=<type>\n" and `extra`.
  Ref<KXObject> Document(std::int32_t id, const char* documentType, const char* extra = "");
  Ref<KXObject> Image(std::int32_t id, const char* extra = "") { return Document(id, "Image", extra); }
  Ref<KXObject> Text(std::int32_t id, const char* extra = "") { return Document(id, "text", extra); }
  Ref<KXObject> Sound(std::int32_t id, const char* extra = "") { return Document(id, "Sound", extra); }
  Ref<KXObject> Movie(std::int32_t id, const char* extra = "") { return Document(id, "Movie", extra); }
  Ref<KXObject> Collection(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                           const char* extra = "");
  Ref<KXObject> MultiCluster(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                             const char* extra = "");
  Ref<KXObject> Cluster(std::int32_t id, const std::vector<Ref<KXObject>>& members,
                        const char* extra = "");

 private:
  Ref<KXObject> Held(KXObject* object);

  bool installed_ = false;
  ObjectUtilityServices* previousServices_ = nullptr;
  ObjectFactory* previousFactory_ = nullptr;
  std::vector<Ref<KXObject>> held_;
  Ref<Store> store_;
};

}  // namespace pages_test
