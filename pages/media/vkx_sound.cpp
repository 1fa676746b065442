#include "pages/media/vkx_sound.h"

#include "core/object_utils.h"
#include "pages/media/media_load_target.h"
#include "pages/media/media_positions.h"
#include "pages/media/vmci.h"

VKxSound::VKxSound(int left, int top, int right, int bottom, const Ref<KXObject>& object)
    : VKxMedia(left, top, right, bottom, object) {}

const char* VKxSound::GetClassName() const { return "VKxSound"; }

VMCI* VKxSound::MakePlayer(const RECT& r) { return new VMCI(r.left, r.top, r.right, r.bottom, "", false); }

void VKxSound::ApplyAnchorPosition(const CString& position) {
  ApplyRange(ReadSoundPosition(position));
}

std::unique_ptr<LoadTarget> VKxSound::MakeTarget() { return std::make_unique<SoundLoadTarget>(this); }

void VKxSound::OnDelivered() {
  Player()->SetFileName(DeliveredName());
  Player()->Play();
}
