#include "pages/media/media_load_target.h"

#include "core/object_utils.h"
#include "pages/media/vkx_media.h"
#include "store/cache/file_cache.h"
#include "win/kernel.h"

MediaLoadTarget::MediaLoadTarget(VKxMedia* owner) : LoadTarget(owner) {}

int MediaLoadTarget::Deliver(const char* fileName, int temporary) {
  const CString file(fileName ? fileName : "");
  auto* owner = static_cast<VKxMedia*>(owner_);
  const Ref<KXObject> document = owner ? owner->Document() : Ref<KXObject>();
  if (!owner || !document || file.IsEmpty()) {
    // Nobody plays it: a file of its own is not left behind.
    if (temporary && !file.IsEmpty()) DeleteFile(file);
    return 1;
  }
  FileCache& cache = TheFileCache();
  const CString key = objectUrl(document);
  if (key.IsEmpty()) {
    // A document without an address has no cache entry: the player opens
    // the file by its own name.
    fileName_ = file;
  } else if (temporary && cache.contains(key) && cache.file(key) != file) {
    // The cache holds the document already; that file is played.
    DeleteFile(file);
  } else {
    fileName_ = file;
    cache.insert(key, file, 1, document->getTitle());
  }
  owner->Notify(kDelivered, owner);
  return temporary ? 1 : 0;
}
