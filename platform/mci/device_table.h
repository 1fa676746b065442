// The open devices of the program, and the pump that keeps them in step
// with the clock: run before every command and, while anything plays, from
// a system timer of the message loop.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "mci/device.h"

namespace win::mci {

class DeviceTable {
 public:
  static DeviceTable& Get();
  ~DeviceTable();
  Mixer& mixer() { return mixer_; }

  // By its name: the alias, or the file name when it was opened without
  // one (any letter case).
  Device* Find(std::string_view name) const;
  Device* FindById(MCIDEVICEID id) const;
  // Takes the device in and gives it the next id; null when too many are open.
  Device* Add(std::unique_ptr<Device> device);
  void Close(Device* device);
  void CloseAll();
  const std::vector<std::unique_ptr<Device>>& devices() const { return devices_; }

  // Mixes the sound that is due, moves every playing device to the clock,
  // and keeps the timer running exactly while something plays or sounds:
  // as often as frames need while a film plays, less often for sound
  // alone, and always in time for the end of a play.
  void Pump();

 private:
  void UpdateTimer();
  // How often the pump should run now; 0 when nothing plays or sounds.
  UINT WantedPeriod(DWORD now) const;

  // Before the devices: a device closed at exit takes its sound out of it.
  Mixer mixer_;
  std::vector<std::unique_ptr<Device>> devices_;
  MCIDEVICEID nextId_ = 1;
  UINT armedMs_ = 0;  // the period the timer was last set with
};

}  // namespace win::mci
