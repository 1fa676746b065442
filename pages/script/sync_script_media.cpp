// The sounds and videos of a script: media objects made, changed, played,
// paused and stopped by entries.
#include "pages/media/vmci.h"
#include "pages/page/vpage.h"
#include "pages/script/sync_script.h"
#include "win/kernel.h"

namespace {

constexpr const char* kNoVideoSize = "Videosize couldn\xb4t be evaluated automatically";

}  // namespace

VObject* SyncScript::MakeMedia(const RECT& rect, const char* file, bool video) {
  return new VMCI(rect.left, rect.top, rect.right, rect.bottom, file, video);
}

const char* SyncScript::FitVideo(VObject* media) {
  auto* player = dynamic_cast<VMCI*>(media);
  int width = 0, height = 0;
  if (!player || !player->GetSourceSize(&width, &height) || width <= 0 || height <= 0)
    return kNoVideoSize;
  const RECT& r = entry_.rect;
  player->SetRect(r.left, r.top, r.left + width, r.top + height);
  return nullptr;
}

void SyncScript::ChangeMedia(VObject* media, const char* file) {
  if (auto* player = dynamic_cast<VMCI*>(media)) player->SetFileName(file);
}

void SyncScript::PlayMedia(VObject* media) {
  auto* player = dynamic_cast<VMCI*>(media);
  if (!player) return;
  const DWORD t0 = PageTicks();
  player->Play();
  player->SetState(player->State() & ~VObject::kHidden);
  // The medium takes a moment to start; the script waits for it (without
  // handling messages), and the wait does not count on the script clock.
  while (!player->IsPlaying() && player->LastError() == 0 && PageTicks() - t0 < kPlayWaitMs)
    Sleep(1);
  startTick_ += PageTicks() - t0;
}

void SyncScript::PauseMedia(VObject* media) {
  if (auto* player = dynamic_cast<VMCI*>(media)) player->Pause();
}

void SyncScript::StopMedia(VObject* media) {
  if (auto* player = dynamic_cast<VMCI*>(media)) player->StopMedia();
}
