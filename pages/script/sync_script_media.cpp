// The sounds and videos of a script. This build has no media player page
// object yet: a script's sounds and videos are not made (the program's
// logbook says so), and every command for them finds no object.
#include "core/logbook.h"
#include "pages/objects/vobject.h"
#include "pages/script/sync_script.h"

VObject* SyncScript::MakeMedia(const RECT&, const char* file, bool video) {
  TheLogbook().Write(CString(video ? "no video player for " : "no sound player for ") +
                     (file ? file : ""));
  return nullptr;
}

const char* SyncScript::FitVideo(VObject*) { return nullptr; }
void SyncScript::ChangeMedia(VObject*, const char*) {}
void SyncScript::PlayMedia(VObject*) {}
void SyncScript::PauseMedia(VObject*) {}
void SyncScript::StopMedia(VObject*) {}
