// The page object that shows an image document of the server: the
// document's title, the picture (a VImage child) and the document's anchors
// laid over it, so that a click on a link anchor follows the link and the
// destination anchor a navigation arrived at is shown highlighted. The
// picture comes through the image cache, at once or, when it is not cached
// and fetching is asked for, after a queued load command has brought the
// document's file into the file cache.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/load_target.h"
#include "pages/objects/vgroup.h"

class VImage;
class VKxImage;

// The load target of a VKxImage.
class ImageLoadTarget : public LoadTarget {
 public:
  explicit ImageLoadTarget(VKxImage* owner);
  int Deliver(const char* fileName, int temporary) override;
};

class VKxImage : public VGroup {
 public:
  static constexpr int kImageDocumentClass = 9;
  static constexpr int kAnchorClass = 1;

  VKxImage(int left, int top, int right, int bottom, const Ref<KXObject>& object, int fetch);
  ~VKxImage() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void Draw(CDC* dc, const RECT& clip) override;
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;
  bool SetBoolAttribute(const char* name, bool value) override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  bool IsEmpty() const override;

  // Shows another object: an image document, or a destination anchor
  // (its document, with the anchor highlighted). Others are ignored.
  void SetObject(const Ref<KXObject>& object);

  const Ref<KXObject>& Document() const { return document_; }
  const Ref<KXObject>& TargetAnchor() const { return targetAnchor_; }
  VImage* Image() const { return image_; }
  VObject* Title() const { return title_; }
  LoadTarget* PendingLoad() const { return pending_.get(); }

 private:
  void Build();
  void DropPendingLoad();
  void DropChild(VObject*& child);
  void PlaceTitle();

  Ref<KXObject> document_;
  Ref<KXObject> targetAnchor_;
  VObject* title_ = nullptr;
  VImage* image_ = nullptr;
  std::int32_t fetch_ = 0;
  std::unique_ptr<ImageLoadTarget> pending_;
  // The link anchors laid over the picture, in the order of their places;
  // an anchor's index is its id in the picture.
  std::vector<Ref<KXObject>> links_;
};
