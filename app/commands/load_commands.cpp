#include "app/commands/load_commands.h"

#include "core/object_utils.h"
#include "framework/temp_files.h"
#include "pages/load_target.h"

namespace {

DocumentFileCache* gCache = nullptr;

// The load a document runs for its content ("internal": into the file, no
// viewer started).
bool LoadInto(const Ref<KXObject>& document, const CString& file) {
  return document->loadContent(1, file, "internal", "");
}

}  // namespace

DocumentFileCache::~DocumentFileCache() = default;

DocumentFileCache* LoadCache() { return gCache; }

DocumentFileCache* SetLoadCache(DocumentFileCache* cache) {
  DocumentFileCache* old = gCache;
  gCache = cache;
  return old;
}

BOOL MediaLoadCommand::Execute() {
  if (!target_ || !document_ || document_->getClassCode() != classCode_) return FALSE;
  const CString key = objectUrl(document_);
  if (gCache && gCache->Contains(key)) {
    const CString file = gCache->Fetch(key);
    // An empty answer is a document that could not be had, not a file.
    if (file.IsEmpty()) return FALSE;
    // The fetch may have waited for a download; the target may be gone.
    if (!target_) return FALSE;
    target_->Deliver(file, 0);
    return TRUE;
  }
  const CString file = MakeTempFileName(extension_);
  if (file.IsEmpty()) return FALSE;
  target_->SetFileName(file);
  if (!target_->MatchObject(document_)) return FALSE;
  if (!target_) return FALSE;
  target_->Deliver(file, 0);
  return TRUE;
}

LoadImageCommand::LoadImageCommand(const Ref<KXObject>& document, LoadTarget* target)
    : MediaLoadCommand(document, target, kCommandLoadImage, kClassImage, "img") {}

LoadMovieCommand::LoadMovieCommand(const Ref<KXObject>& document, LoadTarget* target)
    : MediaLoadCommand(document, target, kCommandLoadMovie, kClassMovie, "mov") {}

LoadSoundCommand::LoadSoundCommand(const Ref<KXObject>& document, LoadTarget* target)
    : MediaLoadCommand(document, target, kCommandLoadSound, kClassSound, "snd") {}

LoadInlineCommand::LoadInlineCommand(const Ref<KXObject>& link, LoadTarget* target,
                                     const CString& name)
    : LoadCommand(Ref<KXObject>(), target), link_(link), name_(name) {}

BOOL LoadInlineCommand::Execute() {
  document_ = followLink(link_);
  if (!document_) return FALSE;
  const CString key = objectUrl(document_);
  if (gCache && gCache->Contains(key)) {
    const CString file = gCache->Acquire(key);
    if (file.IsEmpty()) return FALSE;
    if (target_) target_->Deliver(file, 0);
    gCache->Unlock(key);
    return TRUE;
  }
  const CString file = MakeTempFileName("inl");
  if (file.IsEmpty() || !LoadInto(document_, file)) return FALSE;
  if (gCache) gCache->Insert(key, file, true, document_->getTitle());
  // The load may have waited; a target that went meanwhile was dropped.
  if (target_) target_->Deliver(file, 0);
  return TRUE;
}
