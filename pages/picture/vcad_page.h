// The page style "CADPage": like the default page it shows a single
// document as one member, but a cluster, or a collection of the kind
// "MultiCluster", becomes a page with one object per member document, each
// named after its kind and a running number (text1, text2, image1, ...) so
// that style files can place and style it one by one. A plain collection is
// a title list or, when the page style says so, a VRandomImage.
#pragma once

#include "pages/page/vpage.h"

class VCADPage : public VPage {
 public:
  static constexpr char kMemberRect[] = "65/640 27/480 460/640 418/480";

  VCADPage();
  ~VCADPage() override;

  const char* GetClassName() const override;
  void Initialize() override;
};
