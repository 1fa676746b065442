// One open device: a medium with its position, the clock it plays by, its
// sound voice in the mixer and, for video, the window its frames go to.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "mci/audio_source.h"
#include "mci/media_module.h"
#include "mci/mixer.h"
#include "win/mci.h"
#include "win/user.h"

namespace win::mci {

enum class DeviceType { Video, Wave, Sequencer };
enum class PlayMode { Stopped, Playing, Paused };
enum class TimeFormat { Milliseconds, Frames };

class Device {
 public:
  // Opens the file at the host path as a device of `type`; an MCIERR_
  // number when it cannot be played by that device.
  static MCIERROR Open(DeviceType type, const std::string& hostPath, std::unique_ptr<Device>* out);
  ~Device();

  DeviceType type() const { return type_; }
  bool hasVideo() const { return video_ != nullptr; }
  PlayMode mode() const { return mode_; }
  TimeFormat timeFormat() const { return format_; }
  MCIERROR SetTimeFormat(TimeFormat f);

  // Positions and lengths in the device's time format.
  std::int64_t Length() const { return FromMs(lengthMs_); }
  std::int64_t Position(DWORD now) const { return FromMs(PositionMs(now)); }
  // Frames per second times 1000 (video), 0 for sound.
  std::int64_t FrameRateMilli() const;

  // Plays from `from` (else from where it is) to `to` (else the end).
  MCIERROR Play(std::optional<std::int64_t> from, std::optional<std::int64_t> to, DWORD now, HWND notify);
  void Stop(DWORD now);
  void Pause(DWORD now);
  MCIERROR Resume(DWORD now);
  // `to` in the time format; none for the end.
  MCIERROR Seek(std::optional<std::int64_t> to, DWORD now);
  // Catches up with the clock: the frame of the moment, the end of a play.
  void Advance(DWORD now);
  // While playing, the milliseconds left until the play ends.
  std::optional<std::int64_t> MsUntilEnd(DWORD now) const;

  void SetAudioOn(bool on);
  bool audioOn() const { return audioOn_; }

  // Video: the window frames are drawn in (null: none), and where in it.
  MCIERROR SetWindow(HWND wnd);
  void SetDestination(std::optional<RECT> r);
  RECT Destination() const;
  RECT Source() const;

  // Ends a waiting notification: `why` (MCI_NOTIFY_ABORTED or _SUPERSEDED)
  // to its window.
  void AbortNotify(WPARAM why);
  // Forgets a waiting notification without a word to its window.
  void DropNotify() { notifyWnd_ = nullptr; }

  MCIDEVICEID id = 0;
  std::string alias;  // the name commands use for it: the alias, else the file

 private:
  Device() = default;
  std::int64_t PositionMs(DWORD now) const;
  std::int64_t ToMs(std::int64_t v) const;
  std::int64_t FromMs(std::int64_t ms) const;
  void StartSound(DWORD now);
  void StopSound();
  void ShowFrameAt(std::int64_t ms);
  void Finish();

  DeviceType type_ = DeviceType::Wave;
  std::unique_ptr<AudioSource> audio_;
  std::unique_ptr<VideoSource> video_;
  std::shared_ptr<Voice> voice_;
  TimeFormat format_ = TimeFormat::Milliseconds;
  PlayMode mode_ = PlayMode::Stopped;
  std::int64_t lengthMs_ = 0;
  std::int64_t posMs_ = 0;      // where it is when not playing; where a play started
  std::int64_t endMs_ = 0;      // where a play ends
  DWORD playClock_ = 0;         // the clock when the play started
  bool audioOn_ = true;
  HWND notifyWnd_ = nullptr;    // the window waiting for the end of a play
  HWND window_ = nullptr;
  std::optional<RECT> destination_;
  std::int64_t shownFrame_ = -1;
};

// The mixer every device sounds through (device_table.cpp).
Mixer& SharedMixer();

}  // namespace win::mci
