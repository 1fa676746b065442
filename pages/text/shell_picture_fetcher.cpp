#include "pages/text/shell_picture_fetcher.h"

#include <memory>

#include "layout/pictures/pool_link.h"
#include "pages/shell_link.h"

namespace {
ShellPictureFetcher* gFetcher = nullptr;
}

ShellPictureFetcher::~ShellPictureFetcher() {
  for (Job& job : queue_) job.entry->release();
  if (gFetcher == this) gFetcher = nullptr;
}

void ShellPictureFetcher::start(const CString& text, const RequestContext*, PoolEntry* entry) {
  if (!entry) return;
  entry->acquire();
  queue_.push_back(Job{text, entry});
}

void ShellPictureFetcher::cancel(PoolEntry* entry) {
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->entry == entry) {
      it->entry->release();
      queue_.erase(it);
      return;
    }
  }
}

int ShellPictureFetcher::RunPending(int count) {
  int done = 0;
  while (done < count && !queue_.empty()) {
    Job job = queue_.front();
    queue_.pop_front();
    if (job.entry->attached()) {
      CString file = Shell().FetchCached(job.reference);
      job.entry->load(file, file.IsEmpty() ? 1 : 0);
    }
    job.entry->release();
    ++done;
  }
  return done;
}

ShellPictureFetcher& ViewerPictureFetcher() {
  EnsureViewerPool();
  static ShellPictureFetcher spare;  // only when another fetcher was installed first
  return gFetcher ? *gFetcher : spare;
}

void EnsureViewerPool() {
  auto fetcher = std::make_unique<ShellPictureFetcher>();
  ShellPictureFetcher* raw = fetcher.get();
  if (InstallViewerPool(std::move(fetcher))) gFetcher = raw;
}
