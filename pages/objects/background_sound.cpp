#include "pages/objects/background_sound.h"

namespace {

struct Slot {
  VObject* player = nullptr;
  CString file;
};
Slot& slot() {
  static Slot s;
  return s;
}

}  // namespace

VObject* BackgroundSound() { return slot().player; }

const CString& BackgroundSoundFile() { return slot().file; }

void SetBackgroundSound(VObject* player, const CString& fileName) {
  slot().player = player;
  slot().file = player ? fileName : CString();
}

void ForgetBackgroundSound(const VObject* object) {
  if (object && slot().player == object) SetBackgroundSound(nullptr, CString());
}
