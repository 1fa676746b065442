#include "mci/device_table.h"

#include <algorithm>

#include "mci/command_words.h"
#include "user/message_queue.h"

namespace win::mci {

namespace {
// A playing medium is looked at this often: smooth enough for pictures
// and for filling the sound output ahead of the clock.
constexpr UINT kPumpMs = 15;
constexpr UINT_PTR kPumpTimer = 0x4D43;
// More open devices than this is a leak in the caller, not a need.
constexpr std::size_t kMaxDevices = 256;

void PumpTimer(HWND, UINT_PTR) { DeviceTable::Get().Pump(); }
}  // namespace

DeviceTable& DeviceTable::Get() {
  static DeviceTable table;
  return table;
}

DeviceTable::~DeviceTable() { devices_.clear(); }

Mixer& SharedMixer() { return DeviceTable::Get().mixer(); }

Device* DeviceTable::Find(std::string_view name) const {
  for (const auto& d : devices_)
    if (SameWord(d->alias, name)) return d.get();
  return nullptr;
}

Device* DeviceTable::FindById(MCIDEVICEID id) const {
  for (const auto& d : devices_)
    if (d->id == id) return d.get();
  return nullptr;
}

Device* DeviceTable::Add(std::unique_ptr<Device> device) {
  if (devices_.size() >= kMaxDevices) return nullptr;
  while (nextId_ == 0 || FindById(nextId_)) ++nextId_;
  device->id = nextId_++;
  devices_.push_back(std::move(device));
  return devices_.back().get();
}

void DeviceTable::Close(Device* device) {
  std::erase_if(devices_, [device](const std::unique_ptr<Device>& d) { return d.get() == device; });
  UpdateTimer();
}

void DeviceTable::CloseAll() {
  devices_.clear();
  UpdateTimer();
}

void DeviceTable::Pump() {
  const DWORD now = user::Now();
  SharedMixer().Pump(now);
  for (const auto& d : devices_) d->Advance(now);
  UpdateTimer();
}

void DeviceTable::UpdateTimer() {
  const bool busy = SharedMixer().Busy() ||
                    std::any_of(devices_.begin(), devices_.end(),
                                [](const auto& d) { return d->mode() == PlayMode::Playing; });
  // Asked each time: a reset of USER's state may have dropped it. Setting
  // it again would put off its next period.
  const bool armed = user::HasSystemTimer(nullptr, kPumpTimer);
  if (busy && !armed) user::SetSystemTimer(nullptr, kPumpTimer, kPumpMs, PumpTimer);
  if (!busy && armed) user::KillSystemTimer(nullptr, kPumpTimer);
}

}  // namespace win::mci
