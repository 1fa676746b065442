// The text viewer's shared resources, filled once by the application's
// start-up and kept until it ends: the picture fetcher (the companion), the
// file pool that fetches and keeps inline pictures, the listener through
// which documents ask the pool for pictures, and the Dingbat table. The
// holder owns all of them; each is destroyed through its own destructor
// (whatever its type), the users of the pool before the pool and the pool
// before the fetcher it calls.
#pragma once

#include <memory>

#include "text/build/build_listener.h"
#include "text/resources/dingbat_table.h"

struct DocumentResources;
class DocumentView;
class PictureContext;

class ViewerResources {
 public:
  ViewerResources() = default;
  ViewerResources(const ViewerResources&) = delete;
  ViewerResources& operator=(const ViewerResources&) = delete;
  ~ViewerResources();

  // Each setter destroys what its slot held and takes the new object.
  template <class T>
  void SetCompanion(std::unique_ptr<T> companion) {
    companion_ = Owned(companion.release(), [](void* p) { delete static_cast<T*>(p); });
  }
  template <class T>
  void SetObject(std::unique_ptr<T> pool) {
    pool_ = Owned(pool.release(), [](void* p) { delete static_cast<T*>(p); });
  }
  void SetDingbats(std::unique_ptr<DingbatTable> dingbats) { dingbats_ = std::move(dingbats); }
  void SetListener(std::unique_ptr<BuildListener> listener) { listener_ = std::move(listener); }

  void* Companion() const { return companion_.get(); }
  void* Pool() const { return pool_.get(); }
  DingbatTable* Dingbats() const { return dingbats_.get(); }
  BuildListener* Listener() const { return listener_.get(); }

  // What a new document is given of the shared resources.
  void FillDocumentResources(DocumentResources& resources) const;

  // The holder the start-up fills.
  static ViewerResources& Shared();
  // The Dingbat table's path from the settings: DingbatDir (default
  // "./Dingbat"), a backslash and "Dingbat.dat".
  static CString DingbatPath();

 private:
  using Owned = std::unique_ptr<void, void (*)(void*)>;
  static void none(void*) {}

  Owned companion_{nullptr, none};
  Owned pool_{nullptr, none};
  std::unique_ptr<DingbatTable> dingbats_;
  std::unique_ptr<BuildListener> listener_;
};
