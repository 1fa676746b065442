#include "pages/media/support/media_objects_fixture.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "pages/media/media_notices.h"
#include "pages/media/vmci.h"
#include "pages/objects/background_sound.h"
#include "pages/page/vpage.h"
#include "store/cache/file_cache.h"
#include "support/temp_dir.h"

namespace pages_test {

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

DWORD& pageTicks() {
  static DWORD ticks = 0;
  return ticks;
}
DWORD PageNow() { return pageTicks(); }

void Notice(WPARAM why) { PostMessage(MediaNoticeWindow(), MM_MCINOTIFY, why, 0); }

MCIERROR Reply(const std::string& text, char* reply, UINT length) {
  if (reply && length > 0) {
    std::strncpy(reply, text.c_str(), length - 1);
    reply[length - 1] = '\0';
  }
  return 0;
}

}  // namespace

MCIERROR ScriptedMci::SendString(const char* command, char* reply, UINT length) {
  const std::string c = command ? command : "";
  commands.push_back(c);
  if (reply && length) reply[0] = '\0';
  auto fixed = answers.find(c);
  if (fixed != answers.end()) {
    Reply(fixed->second.second, reply, length);
    return fixed->second.first;
  }
  const std::vector<std::string> w = Words(c);
  if (w.empty()) return MCIERR_MISSING_COMMAND_STRING;
  if (w[0] == "sysinfo" && w.size() >= 3 && w[2] == "quantity")
    return Reply(std::to_string(devices.size()), reply, length);
  if (w[0] == "sysinfo" && w.size() >= 4) {
    const std::size_t i = std::strtoul(w[3].c_str(), nullptr, 10);
    if (i < 1 || i > devices.size()) return MCIERR_OUTOFRANGE;
    return Reply(devices[i - 1].name, reply, length);
  }
  if (w[0] == "capability" && w.size() >= 4) {
    for (const ScriptedDevice& d : devices) {
      if (d.name != w[1]) continue;
      const bool yes = w[2] == "uses" ? d.usesFiles : w[3] == "video" ? d.video : d.audio;
      return Reply(yes ? "TRUE" : "FALSE", reply, length);
    }
    return MCIERR_INVALID_DEVICE_NAME;
  }
  if (w[0] == "open") {
    const std::size_t type = c.rfind(" type ");
    const std::size_t alias = c.rfind(" alias ");
    if (type == std::string::npos || alias == std::string::npos) return MCIERR_MISSING_PARAMETER;
    const std::string device = c.substr(type + 6, alias - type - 6);
    if (refusing.count(device)) return MCIERR_INVALID_FILE;
    mode[w[w.size() - 2]] = "stopped";
    return 0;
  }
  if (w.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  if (w[0] != "close" && !mode.count(w[1])) return MCIERR_INVALID_DEVICE_NAME;
  if (w[0] == "play" && c.find(" wait") == std::string::npos) {
    if (notifying.erase(w[1])) Notice(MCI_NOTIFY_SUPERSEDED);
    mode[w[1]] = "playing";
    if (w.back() == "notify") notifying.insert(w[1]);
  }
  if (w[0] == "stop" || w[0] == "seek" || w[0] == "close") {
    if (notifying.erase(w[1])) Notice(MCI_NOTIFY_ABORTED);
    mode[w[1]] = "stopped";
  }
  if (w[0] == "close") mode.erase(w[1]);
  if (w[0] == "status" && w.size() >= 3 && w[2] == "mode") return Reply(mode[w[1]], reply, length);
  if (w[0] == "status" && w.size() >= 3 && w[2] == "position") return Reply(position, reply, length);
  if (w[0] == "where") return Reply(source, reply, length);
  return 0;
}

BOOL ScriptedMci::ErrorString(MCIERROR error, char* text, UINT length) {
  Reply("scripted error " + std::to_string(error), text, length);
  return TRUE;
}

void ScriptedMci::StandardDevices() {
  devices = {{"AVIVideo", true, true, true}, {"WaveAudio", true, false, true},
             {"Sequencer", true, false, true}};
}

std::vector<std::string> ScriptedMci::Take() {
  std::vector<std::string> taken;
  taken.swap(commands);
  return taken;
}

void ScriptedMci::End(const std::string& alias) {
  mode[alias] = "stopped";
  if (notifying.erase(alias)) Notice(MCI_NOTIFY_SUCCESSFUL);
}

bool ScriptedMci::Sent(const std::string& prefix) const { return Count(prefix) > 0; }

int ScriptedMci::Count(const std::string& prefix) const {
  int n = 0;
  for (const std::string& c : commands)
    if (c.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}

HostGroup::HostGroup() : VGroup(0, 0, 320, 240) {
  window_.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                   nullptr);
}

HostGroup::~HostGroup() {
  DeleteChildren();
  if (window_.GetSafeHwnd()) window_.DestroyWindow();
}

void MediaObjectTest::SetUp() {
  PagesTest::SetUp();
  previousDir_ = std::filesystem::current_path().string();
  std::filesystem::copy_file(std::string(ZEMRA_SOURCE_DIR) + "/data/format.dat", tmp_.file("format.dat"));
  std::filesystem::current_path(tmp_.path());
  TheFileCache().clear();
  TheFileCache().setDownloader([](const CString& key, CString& file) {
    FILE* f = std::fopen(key, "rb");
    if (!f) return 0;
    std::fclose(f);
    file = key;
    return 1;
  });
  VMCI::ResetSharedState();
  pageTicks() = 100000;
  SetPageTickSource(&PageNow);
  SetMciPort(&mci_);
  mci_.StandardDevices();
  SetShellLink(&media_);
  host_ = new HostGroup();
}

void MediaObjectTest::TearDown() {
  delete host_;
  host_ = nullptr;
  SetBackgroundSound(nullptr, CString());
  SetMciPort(nullptr);
  SetShellLink(&shell_);
  VMCI::ResetSharedState();
  TheFileCache().clear();
  std::filesystem::current_path(previousDir_);
  PagesTest::TearDown();
}

std::string MediaObjectTest::File(const std::string& name, const std::string& bytes) {
  return tmp_.write(name, bytes);
}

std::string MediaObjectTest::Wav(const std::string& name) {
  return File(name, std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(32, '\0'));
}

std::string MediaObjectTest::Avi(const std::string& name) {
  return File(name, std::string("RIFF\x24\0\0\0AVI LIST", 16) + std::string(32, '\0'));
}

std::string MediaObjectTest::Mid(const std::string& name) {
  return File(name, std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + std::string(16, '\0'));
}

void MediaObjectTest::Idle(int n) {
  for (int i = 0; i < n; ++i) host_->SendIdleEvent();
}

void MediaObjectTest::AdvancePageClock(DWORD ms) { pageTicks() += ms; }

void MediaObjectTest::PumpMessages() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

}  // namespace pages_test
