// fuzz-libs:
// Media files through the media interface's open: the first byte chooses
// the device (sound, video, MIDI), the rest is the file. A file that opens
// is played for a moment, asked for its state, sought and closed.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "win/mci.h"

namespace {

std::string Prepare() {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  char dir[] = "/tmp/zemra-fuzz-media-XXXXXX";
  if (!mkdtemp(dir)) std::abort();
  return std::string(dir) + "/input";
}

void Run(const std::string& command) {
  char reply[128];
  mciSendString(command.c_str(), reply, sizeof reply, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = Prepare();
  // Big inputs add decoding time, not new ways of reading a header.
  if (size < 1 || size > 64 * 1024) return 0;
  static const char* const kTypes[] = {"waveaudio", "avivideo", "sequencer"};
  const char* type = kTypes[data[0] % 3];
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  char reply[128];
  if (mciSendString(("open \"" + path + "\" type " + type + " alias m").c_str(), reply, sizeof reply, nullptr))
    return 0;
  Run("play m from 0");
  Run("status m length");
  Run("status m position");
  Run("where m source");
  Run("seek m to 1");
  Run("play m from 1 to 1 wait");
  Run("close m");
  return 0;
}
