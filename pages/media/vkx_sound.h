// The page object that plays a sound document of the server: its title, a
// player without a picture and the play and stop buttons. The document's
// file is fetched by a queued load command; once it has come it plays at
// once, whatever the player's autoplay says.
#pragma once

#include "pages/media/vkx_media.h"

class VKxSound : public VKxMedia {
 public:
  VKxSound(int left, int top, int right, int bottom, const Ref<KXObject>& object);
  const char* GetClassName() const override;

 protected:
  VMCI* MakePlayer(const RECT& rect) override;
  // "start end" in seconds (fractions allowed); a negative one is ignored.
  void ApplyAnchorPosition(const CString& position) override;
  LoadKind Kind() const override { return LoadKind::Sound; }
  std::unique_ptr<LoadTarget> MakeTarget() override;
  void OnDelivered() override;
};
