// Fetches the inline pictures of text documents through the shell: each
// start is queued, and at idle time the queued files are brought into the
// file cache (downloaded when missing) and handed to their pool entries. So
// a document is shown at once with placeholders, and its pictures appear as
// they arrive.
#pragma once

#include <deque>

#include "mfc/cstring.h"
#include "store/cache/file_pool.h"

class ShellPictureFetcher : public PictureFetcher {
 public:
  ~ShellPictureFetcher() override;
  void start(const CString& text, const RequestContext* context, PoolEntry* entry) override;
  void cancel(PoolEntry* entry) override;

  // Fetches up to `count` queued files; the number fetched.
  int RunPending(int count);
  size_t Waiting() const { return queue_.size(); }

 private:
  struct Job {
    CString reference;
    PoolEntry* entry;  // one reference held
  };
  std::deque<Job> queue_;
};

// The shared fetcher of the viewer's pool (made with the pool the first
// time a text object needs it).
ShellPictureFetcher& ViewerPictureFetcher();
// Makes sure the viewer's file pool exists.
void EnsureViewerPool();
