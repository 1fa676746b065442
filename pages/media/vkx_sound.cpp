#include "pages/media/vkx_sound.h"

#include <cmath>
#include <cstdio>

#include "core/object_utils.h"
#include "pages/media/media_load_target.h"
#include "pages/media/vmci.h"

namespace {

// Seconds as milliseconds; none for a negative or unrepresentable time.
bool Milliseconds(double seconds, LONG* out) {
  if (!std::isfinite(seconds) || seconds < 0) return false;
  const double ms = std::trunc(seconds * 1000.0);
  if (ms > static_cast<double>(VMCI::kToEnd)) return false;
  *out = static_cast<LONG>(ms);
  return true;
}

}  // namespace

VKxSound::VKxSound(int left, int top, int right, int bottom, const Ref<KXObject>& object)
    : VKxMedia(left, top, right, bottom, object) {}

const char* VKxSound::GetClassName() const { return "VKxSound"; }

VMCI* VKxSound::MakePlayer(const RECT& r) { return new VMCI(r.left, r.top, r.right, r.bottom, "", false); }

void VKxSound::ApplyAnchorPosition(const CString& position) {
  double start = 0, end = 0;
  if (std::sscanf(position, "%lf %lf", &start, &end) != 2) return;
  LONG ms = 0;
  if (Milliseconds(start, &ms)) Player()->SetFrom(ms);
  if (Milliseconds(end, &ms)) Player()->SetTo(ms);
}

std::unique_ptr<LoadTarget> VKxSound::MakeTarget() { return std::make_unique<SoundLoadTarget>(this); }

void VKxSound::OnDelivered() {
  Player()->SetFileName(DeliveredName());
  Player()->Play();
}
