// What all media objects share: device discovery, the command door with its
// error reporting, the device a file calls for, and the audio switch.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/logbook.h"
#include "core/magic.h"
#include "pages/media/media_globals.h"
#include "pages/media/mci_port.h"
#include "pages/media/media_notices.h"
#include "pages/media/vmci.h"
#include "win/kernel.h"

namespace {

constexpr UINT kReplySize = 128;
constexpr long kMaxDevicesAsked = 100;

CString Upper(const CString& text) {
  CString u = text;
  u.MakeUpper();
  return u;
}

// A command whose reply is a text; "" when it fails.
CString Ask(const char* command, bool report) {
  char reply[kReplySize] = {};
  MediaGlobals& m = Media();
  const MCIERROR error = TheMciPort().SendString(command, reply, kReplySize);
  m.lastError = error;
  if (error == 0) {
    reply[kReplySize - 1] = '\0';
    m.lastReply = reply;
    return m.lastReply;
  }
  char text[kReplySize] = {};
  if (!TheMciPort().ErrorString(error, text, kReplySize)) text[0] = '\0';
  text[kReplySize - 1] = '\0';
  if (report) {
    TheLogbook().Write(CString("Error doing mci command: ") + command);
    char line[64 + kReplySize];
    std::snprintf(line, sizeof line, "MCI error %d: %s", static_cast<int>(error), text);
    TheLogbook().Write(line);
  }
  m.lastReply = "";
  return CString();
}

bool AskTrue(const CString& device, const char* what) {
  const CString reply = Ask(CString("capability ") + device + what, false);
  return Media().lastError == 0 && Upper(reply) == "TRUE";
}

void AddDevice(std::vector<CString>& list, const CString& name, const char* kind) {
  if (static_cast<int>(list.size()) >= VMCI::kMaxDevices) {
    TheLogbook().Write(CString("Too many MCI ") + kind + " devices. Device " + name + " ignored.");
    return;
  }
  list.push_back(name);
}

}  // namespace

MediaGlobals& Media() {
  static MediaGlobals globals;
  return globals;
}

MCIERROR VMCI::SendCommand(const char* command, bool report) {
  Ask(command ? command : "", report);
  return Media().lastError;
}

MCIERROR VMCI::LastError() const {
  const MCIERROR e = Media().lastError;
  if (e == 0 && !IsOpen()) return kNotOpenError;
  return e;
}

const std::vector<CString>& VMCI::VideoDevices() { return Media().videoDevices; }
const std::vector<CString>& VMCI::AudioDevices() { return Media().audioDevices; }
const CString& VMCI::LastReply() { return Media().lastReply; }

void VMCI::ResetSharedState() {
  DestroyMediaNoticeWindow();
  Media() = MediaGlobals();
}

bool VMCI::ToggleAudioMute() {
  Media().audioMuted = !Media().audioMuted;
  return Media().audioMuted;
}

bool VMCI::IsAudioMuted() { return Media().audioMuted; }

void VMCI::DiscoverDevices() {
  MediaGlobals& m = Media();
  if (!m.videoDevices.empty() || !m.audioDevices.empty()) return;
  const CString quantity = Ask("sysinfo all quantity", true);
  long count = m.lastError == 0 ? std::strtol(quantity, nullptr, 10) : 0;
  // Each name is a blocking query: a count no machine has is cut.
  if (count > kMaxDevicesAsked) count = kMaxDevicesAsked;
  for (long i = 1; i <= count; ++i) {
    char command[64];
    std::snprintf(command, sizeof command, "sysinfo all name %ld", i);
    const CString name = Ask(command, true);
    if (name.IsEmpty()) continue;
    if (!AskTrue(name, " uses files")) continue;
    const CString upper = Upper(name);
    if (AskTrue(name, " has video")) {
      AddDevice(m.videoDevices, name, "video");
      if (upper == kAviDriver) m.aviDriver = true;
    } else if (AskTrue(name, " has audio")) {
      AddDevice(m.audioDevices, name, "audio");
      if (upper == kWaveDriver) m.waveDriver = true;
      if (upper == kMidiDriver) m.midiDriver = true;
    }
  }
  const struct {
    bool found;
    const char* kind;
    const char* name;
  } standard[] = {{m.aviDriver, "AVI", kAviDriver},
                  {m.waveDriver, "WAVE", kWaveDriver},
                  {m.midiDriver, "MIDI", kMidiDriver}};
  for (const auto& s : standard)
    if (!s.found)
      TheLogbook().Write(CString("Warning: standard ") + s.kind + " driver " + s.name + " not found");
}

CString VMCI::DeviceForFile(const CString& localFile, bool) {
  // Only a file that is there is matched: a missing one would bring up the
  // format table's "cannot open" box.
  if (localFile.IsEmpty() || GetFileAttributes(localFile) == INVALID_FILE_ATTRIBUTES) return CString();
  char format[kMagicResultSize] = {};
  if (!IdentifyFileFormat(localFile, format, sizeof format)) return CString();
  const CString kind = Upper(CString(format));
  const MediaGlobals& m = Media();
  if (kind == "AVI" && m.aviDriver) return kAviDriver;
  if (kind == "WAV" && m.waveDriver) return kWaveDriver;
  if (kind == "MID" && m.midiDriver) return kMidiDriver;
  return CString();
}
