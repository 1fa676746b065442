#include "platform/mci/support/media_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace mci_test {

namespace {

constexpr char kListenerClass[] = "MediaListener";

LRESULT ListenerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == MM_MCINOTIFY) MediaTest::notifications().push_back(Notification{wp, lp});
  return DefWindowProc(wnd, msg, wp, lp);
}

void Le16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Le32(std::string& out, std::uint32_t v) {
  Le16(out, v & 0xFFFF);
  Le16(out, v >> 16);
}
std::uint32_t GetLe(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

}  // namespace

std::vector<Notification>& MediaTest::notifications() {
  static std::vector<Notification> n;
  return n;
}

Pcm MakePcm(int rate, int channels, std::size_t frames, std::int16_t (*value)(std::size_t, int)) {
  Pcm p;
  p.rate = rate;
  p.channels = channels;
  for (std::size_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) p.samples.push_back(value(f, c));
  return p;
}

void WriteWav(const std::string& path, const Pcm& pcm) {
  std::string out = "RIFF";
  const std::uint32_t data = static_cast<std::uint32_t>(pcm.samples.size() * 2);
  Le32(out, 36 + data);
  out += "WAVEfmt ";
  Le32(out, 16);
  Le16(out, 1);
  Le16(out, static_cast<std::uint32_t>(pcm.channels));
  Le32(out, static_cast<std::uint32_t>(pcm.rate));
  Le32(out, static_cast<std::uint32_t>(pcm.rate * pcm.channels * 2));
  Le16(out, static_cast<std::uint32_t>(pcm.channels * 2));
  Le16(out, 16);
  out += "data";
  Le32(out, data);
  for (std::int16_t s : pcm.samples) Le16(out, static_cast<std::uint16_t>(s));
  std::ofstream(path, std::ios::binary) << out;
}

Pcm ReadWav(const std::string& path) {
  Pcm p;
  p.samples.clear();
  std::ifstream in(path, std::ios::binary);
  const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0) return p;
  std::size_t at = 12;
  while (at + 8 <= s.size()) {
    const std::uint32_t size = GetLe(s, at + 4, 4);
    if (s.compare(at, 4, "fmt ") == 0 && size >= 16 && at + 24 <= s.size()) {
      p.channels = static_cast<int>(GetLe(s, at + 10, 2));
      p.rate = static_cast<int>(GetLe(s, at + 12, 4));
    } else if (s.compare(at, 4, "data") == 0) {
      const std::size_t n = std::min<std::size_t>(size, s.size() - at - 8) / 2;
      for (std::size_t i = 0; i < n; ++i)
        p.samples.push_back(static_cast<std::int16_t>(GetLe(s, at + 8 + 2 * i, 2)));
      return p;
    }
    at += 8 + size + (size & 1);
  }
  return p;
}

bool RunQuiet(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

void MediaTest::SetUp() {
  win::mci::ResetMedia();
  win::ResetUserState();
  clock_.emplace();
  notifications().clear();
  setenv("ZEMRA_MCI_AUDIO", ("wav:" + SinkPath()).c_str(), 1);
  unsetenv("ZEMRA_MCI_FRAMES");
  WNDCLASS wc{};
  wc.lpfnWndProc = ListenerProc;
  wc.lpszClassName = kListenerClass;
  RegisterClass(&wc);
  listener_ = CreateWindow(kListenerClass, "media", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_NE(listener_, nullptr);
}

void MediaTest::TearDown() {
  win::mci::ResetMedia();
  clock_.reset();
  win::ResetUserState();
  unsetenv("ZEMRA_MCI_AUDIO");
  unsetenv("ZEMRA_MCI_FRAMES");
}

std::string MediaTest::Send(const std::string& command, MCIERROR expected) {
  char reply[128] = "unset";
  const MCIERROR e = mciSendString(command.c_str(), reply, sizeof reply, listener_);
  EXPECT_EQ(e, expected) << command;
  return reply;
}

void MediaTest::RunMessages() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

void MediaTest::Advance(DWORD ms) {
  // In steps no longer than the media's own timer period, as a running
  // message loop would take them.
  while (ms > 0) {
    const DWORD step = std::min<DWORD>(ms, 10);
    clock_->Advance(step);
    ms -= step;
    RunMessages();
  }
}

}  // namespace mci_test
