#include "mci/drivers.h"

#include "mci/command_words.h"
#include "mci/midi_source.h"

namespace win::mci {

namespace {

constexpr Driver kDrivers[] = {
    {DeviceType::Video, "avivideo", true},
    {DeviceType::Wave, "waveaudio", false},
    {DeviceType::Sequencer, "sequencer", false},
};

struct Extension {
  const char* text;
  DeviceType type;
};
constexpr Extension kExtensions[] = {
    {".avi", DeviceType::Video}, {".mov", DeviceType::Video},      {".mpg", DeviceType::Video},
    {".mp4", DeviceType::Video}, {".wav", DeviceType::Wave},       {".mp3", DeviceType::Wave},
    {".ogg", DeviceType::Wave},  {".mid", DeviceType::Sequencer},  {".midi", DeviceType::Sequencer},
    {".rmi", DeviceType::Sequencer},
};

bool Installed(DeviceType type) { return type != DeviceType::Sequencer || MidiAvailable(); }

}  // namespace

std::vector<Driver> InstalledDrivers() {
  std::vector<Driver> out;
  for (const Driver& d : kDrivers)
    if (Installed(d.type)) out.push_back(d);
  return out;
}

std::optional<DeviceType> DriverByName(std::string_view name) {
  for (const Driver& d : kDrivers)
    if (SameWord(name, d.name) && Installed(d.type)) return d.type;
  return std::nullopt;
}

const char* DriverName(DeviceType type) {
  for (const Driver& d : kDrivers)
    if (d.type == type) return d.name;
  return "";
}

std::optional<DeviceType> DriverForFile(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || name.find_first_of("/\\", dot) != std::string::npos) return std::nullopt;
  const std::string_view ext = std::string_view(name).substr(dot);
  for (const Extension& e : kExtensions)
    if (SameWord(ext, e.text)) return e.type;
  return std::nullopt;
}

}  // namespace win::mci
