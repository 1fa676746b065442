// The media tests' common ground: a fresh USER and media state, a clock the
// test moves, the mixed sound written to a WAV file in a temporary folder,
// a window that records the media notifications, and small media files
// made on the spot.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/user_clock.h"
#include "win/mci.h"
#include "win/user.h"

namespace mci_test {

struct Notification {
  WPARAM flag;
  LPARAM device;
};

// 16-bit PCM frames, channels interleaved.
struct Pcm {
  int rate = 44100;
  int channels = 2;
  std::vector<std::int16_t> samples;
  std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// A WAV file of the samples; `value(frame, channel)` gives each sample.
Pcm MakePcm(int rate, int channels, std::size_t frames, std::int16_t (*value)(std::size_t frame, int channel));
void WriteWav(const std::string& path, const Pcm& pcm);
// The PCM of a 16-bit WAV file (the sink's output); empty when unreadable.
Pcm ReadWav(const std::string& path);

// Runs an outside program through the shell; true when it ends with 0.
bool RunQuiet(const std::string& command);

class MediaTest : public ::testing::Test {
 public:
  static std::vector<Notification>& notifications();

 protected:
  void SetUp() override;
  void TearDown() override;

  // Sends a command; fails the test when the result is not `expected`.
  std::string Send(const std::string& command, MCIERROR expected = 0);
  // Moves the clock and runs the message loop until nothing is left to do.
  void Advance(DWORD ms);
  void RunMessages();

  std::string SinkPath() const { return dir_.file("mixed.wav"); }
  Pcm Mixed() const { return ReadWav(SinkPath()); }

  testing_support::TempDir dir_;
  std::optional<testing_support::TestUserClock> clock_;
  HWND listener_ = nullptr;  // receives MM_MCINOTIFY
};

}  // namespace mci_test
