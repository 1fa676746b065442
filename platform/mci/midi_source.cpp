#include "mci/midi_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "mci/media_module.h"
#include "mci/midi_timing.h"

namespace win::mci {

namespace {

constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};
// MIDI files are small; a bigger one is not one.
constexpr std::size_t kMaxMidiBytes = 16u << 20;

bool IsFile(const std::string& path) {
  struct stat st{};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}


}  // namespace

std::string SoundFontPath() {
  if (const char* chosen = std::getenv("ZEMRA_MCI_SOUNDFONT"); chosen && *chosen)
    return IsFile(chosen) ? chosen : "";
  for (const char* f : kSoundFonts)
    if (IsFile(f)) return f;
  return "";
}

bool MidiAvailable() { return !SoundFontPath().empty(); }

std::unique_ptr<AudioSource> OpenMidi(const std::string& hostPath) {
  const std::string font = SoundFontPath();
  if (font.empty()) return nullptr;
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return nullptr;
  std::vector<char> bytes;
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buf, buf + in.gcount());
    if (bytes.size() > kMaxMidiBytes) return nullptr;
  }
  // A file that is no standard MIDI file is refused without the synthesizer.
  if (!MidiTiming::Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) return nullptr;
  const MediaModule* media = Media();
  return media && media->openMidi ? media->openMidi(std::move(bytes), font) : nullptr;
}

}  // namespace win::mci
