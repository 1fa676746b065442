// Opening and closing: the file comes from the file cache (locked while it
// is open) and is opened with the device its format calls for, else with
// any device of the object's kind that takes it.
#include <cstdio>
#include <cstdint>

#include "core/logbook.h"
#include "mfc/wnd.h"
#include "pages/media/media_globals.h"
#include "pages/media/vmci.h"
#include "pages/objects/background_sound.h"
#include "store/cache/file_cache.h"

namespace {

// The file name as the open command takes it: a name with a blank goes in
// double quotes, so that no word of it is read as a keyword of the command.
CString OpenName(const CString& file) {
  if (file.Find(' ') < 0 || file.Find('"') >= 0) return file;
  return CString("\"") + file + "\"";
}

}  // namespace

VMCI::VMCI(int left, int top, int right, int bottom, const char* fileName, bool video)
    : VObject(left, top, right, bottom), isVideo_(video ? 1 : 0), area_{left, top, right, bottom} {
  if (!video) SetState(kPassThrough);
  DiscoverDevices();
  SetFileName(fileName);
}

VMCI::~VMCI() {
  ForgetBackgroundSound(this);
  // A closed device is not opened just to be stopped.
  if (IsOpen()) StopMedia();
  Close();
  if (window_) {
    if (window_->GetSafeHwnd()) window_->DestroyWindow();
    delete window_;
    window_ = nullptr;
  }
  SetWindow(nullptr);
}

const char* VMCI::GetClassName() const { return "VMCI"; }

CString VMCI::GetDeviceType() const { return deviceType_; }

CString VMCI::Alias() const {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(aliasId_));
  return text;
}

void VMCI::SetFileName(const char* name) {
  const CString next(name ? name : "");
  if (next == fileName_) return;
  // The old file is given back before the new one is taken.
  Close();
  fileName_ = next;
  Load();
  Layout();
  if (IsOpen() && Has(kStarted) && (!IsVideo() || !Has(kHidden))) {
    if (autoplay_)
      Play();
    else
      ShowStartFrame();
  }
}

void VMCI::Load() {
  Close();
  if (fileName_.IsEmpty()) return;
  // A video opens once its window has been made (or could not be).
  if (IsVideo() && !windowTried_) return;
  const CString local = TheFileCache().acquire(fileName_);
  if (local.IsEmpty()) {
    TheLogbook().Write(CString("cannot open audio/video ") + fileName_);
    state_ = kCannotOpen;
    return;
  }
  lockedKey_ = fileName_;
  locked_ = true;
  MediaGlobals& m = Media();
  if (++m.aliasCounter == 0) ++m.aliasCounter;
  aliasId_ = m.aliasCounter;
  const CString preferred = DeviceForFile(local, IsVideo());
  bool opened = !preferred.IsEmpty() && OpenWith(local, preferred);
  const std::vector<CString>& devices = IsVideo() ? m.videoDevices : m.audioDevices;
  for (std::size_t i = 0; !opened && i < devices.size(); ++i)
    if (devices[i].CompareNoCase(preferred) != 0) opened = OpenWith(local, devices[i]);
  if (!opened) {
    TheLogbook().Write(CString("No MCI driver found that could open ") + fileName_);
    deviceType_ = "";
    aliasId_ = 0;
  }
}

bool VMCI::OpenWith(const CString& localFile, const CString& device) {
  const CString command =
      CString("open ") + OpenName(localFile) + " type " + device + " alias " + Alias() + " wait";
  if (SendCommand(command, false) != 0) return false;
  deviceType_ = device;
  if (IsVideo()) {
    if (HWND w = VideoWindow()) {
      char text[96];
      std::snprintf(text, sizeof text, "window %s handle %lu wait", static_cast<const char*>(Alias()),
                    static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(w)));
      SendCommand(text, true);
      SendAlias("put %s destination wait");
    }
    SendAlias("set %s audio all on wait");
    audioSwitchable_ = Media().lastError == 0 ? 1 : 0;
  } else {
    audioSwitchable_ = 1;
  }
  return true;
}

void VMCI::Close() {
  if (IsOpen()) {
    SendAlias("close %s wait");
    aliasId_ = 0;
  }
  // Exactly the lock Load took, and only once.
  if (locked_) {
    locked_ = false;
    TheFileCache().unlock(lockedKey_);
    lockedKey_ = "";
  }
  state_ = kIdle;
}

void VMCI::SendAlias(const char* format) {
  char text[128];
  std::snprintf(text, sizeof text, format, static_cast<const char*>(Alias()));
  SendCommand(text, true);
}

void VMCI::SendAlias(const char* format, long a) {
  char text[128];
  std::snprintf(text, sizeof text, format, static_cast<const char*>(Alias()), a);
  SendCommand(text, true);
}

void VMCI::SendAlias(const char* format, long a, long b) {
  char text[128];
  std::snprintf(text, sizeof text, format, static_cast<const char*>(Alias()), a, b);
  SendCommand(text, true);
}
