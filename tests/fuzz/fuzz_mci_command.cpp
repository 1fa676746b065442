// fuzz-libs:
// Command strings of the media interface, run against a short sound that is
// open as "a" (and opened again when an input closed it). Inputs hold no
// path separators and no "..", so they name no file outside the folder the
// fuzzer runs in.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "win/mci.h"

namespace {

// 20 ms of silence, so that "play a wait" on the real clock stays short.
void WriteShortWav(const std::string& path) {
  const std::uint32_t frames = 882, data = frames * 4;
  std::string h = "RIFF";
  auto le32 = [&h](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) h.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto le16 = [&h](std::uint32_t v) {
    h.push_back(static_cast<char>(v));
    h.push_back(static_cast<char>(v >> 8));
  };
  le32(36 + data);
  h += "WAVEfmt ";
  le32(16);
  le16(1);
  le16(2);
  le32(44100);
  le32(44100 * 4);
  le16(4);
  le16(16);
  h += "data";
  le32(data);
  h.append(data, '\0');
  std::ofstream(path, std::ios::binary) << h;
}

std::string Prepare() {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  char dir[] = "/tmp/zemra-fuzz-mci-XXXXXX";
  if (!mkdtemp(dir)) std::abort();
  const std::string wav = std::string(dir) + "/a.wav";
  WriteShortWav(wav);
  return "open \"" + wav + "\" type waveaudio alias a";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string openA = Prepare();
  if (size > 512) return 0;
  std::string command(reinterpret_cast<const char*>(data), size);
  if (command.find_first_of("/\\") != std::string::npos || command.find("..") != std::string::npos ||
      command.find('\0') != std::string::npos)
    return 0;
  if (!mciGetDeviceID("a")) mciSendString(openA.c_str(), nullptr, 0, nullptr);
  char reply[128];
  const MCIERROR e = mciSendString(command.c_str(), reply, sizeof reply, nullptr);
  if (!e && std::strlen(reply) >= sizeof reply) std::abort();
  char text[128];
  mciGetErrorString(e, text, sizeof text);
  return 0;
}
