#include "layout/pictures/pool_link.h"

#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_factory_impl.h"
#include "text/resources/viewer_resources.h"

namespace {

// A document's picture request: the copy of its source the pool keeps.
class SourceContext : public RequestContext {
 public:
  explicit SourceContext(const PictureContext* source) : source_(source ? source->Clone() : nullptr) {}
  RequestContext* Clone() const override { return new SourceContext(source_.get()); }
  const PictureContext* Source() const { return source_.get(); }

 private:
  std::unique_ptr<PictureContext> source_;
};

// Documents need no word of their pictures: the view lays out again when a
// picture arrives. One shared requester; builds differ by their tags.
class QuietRequester : public PictureRequester {
 public:
  int arrived(NamedObject*, FilePool*) override { return 0; }
  void failed(NamedObject*, FilePool*) override {}
  void allDone(FilePool*) override {}
};

QuietRequester& sharedRequester() {
  static QuietRequester requester;
  return requester;
}

}  // namespace

NamedObject* ViewPoolPictures::NewPending() {
  DibPicture* picture = CreateInlinePicture();
  if (picture) picture->acquire();
  return picture;
}

bool ViewPoolPictures::Load(NamedObject* picture, const void* data, LONG size) {
  DibPicture* p = AsDibPicture(picture);
  return p && p->LoadFromMemory(data, size);
}

void PoolBuildListener::BuildFinished(BuildTarget*, LONG generation) {
  if (pool_) pool_->cancel(&sharedRequester(), static_cast<DWORD>(generation));
}

NamedObject* PoolBuildListener::RequestPicture(const CString& name, const CString& argument,
                                               const PictureContext* context, BuildTarget*, LONG generation) {
  if (!pool_) return nullptr;
  SourceContext source(context);
  return pool_->request(name, argument.IsEmpty() ? name : argument, &source, &sharedRequester(),
                        static_cast<DWORD>(generation));
}

const PictureContext* PoolBuildListener::SourceOf(const RequestContext* context) {
  auto* source = dynamic_cast<const SourceContext*>(context);
  return source ? source->Source() : nullptr;
}

bool InstallViewerPool(std::unique_ptr<PictureFetcher> fetcher) {
  ViewerResources& resources = ViewerResources::Shared();
  if (resources.Listener()) return false;
  InstallViewPictures();
  static ViewPoolPictures pictures;
  PictureFetcher* raw = fetcher.get();
  resources.SetCompanion(std::move(fetcher));
  auto pool = std::make_unique<FilePool>(raw, &pictures, false, FilePool::kDefaultLimit);
  FilePool* poolRaw = pool.get();
  resources.SetObject(std::move(pool));
  resources.SetListener(std::make_unique<PoolBuildListener>(poolRaw));
  return true;
}
