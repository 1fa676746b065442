// The file pool as the text documents and the text view see it: documents
// ask for their inline pictures through a build listener that forwards to
// the pool (cancelling a build's requests by its build number when the
// build ends), and the pool's placeholders are the view's pending pictures,
// loaded from the fetched bytes.
#pragma once

#include <memory>

#include "store/cache/file_pool.h"
#include "text/build/build_listener.h"

class ViewPoolPictures : public PoolPictures {
 public:
  NamedObject* NewPending() override;
  bool Load(NamedObject* picture, const void* data, LONG size) override;
};

class PoolBuildListener : public BuildListener {
 public:
  explicit PoolBuildListener(FilePool* pool) : pool_(pool) {}
  void BuildFinished(BuildTarget* target, LONG generation) override;
  NamedObject* RequestPicture(const CString& name, const CString& argument, const PictureContext* context,
                              BuildTarget* target, LONG generation) override;

  // What a fetcher finds in the context of a request: the document's own.
  static const PictureContext* SourceOf(const RequestContext* context);

 private:
  FilePool* pool_;
};

// The pool of the text viewer's resources with the fetcher given (owned from
// then on), made once: later calls do nothing and answer false.
bool InstallViewerPool(std::unique_ptr<PictureFetcher> fetcher);
