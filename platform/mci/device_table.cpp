#include "mci/device_table.h"

#include <algorithm>
#include <optional>

#include "mci/command_words.h"
#include "user/message_queue.h"

namespace win::mci {

namespace {
// A playing film is looked at this often: each frame shows close to its
// time. Sound alone needs the pump only to fill the output ahead of the
// clock (kSoundPumpMs).
constexpr UINT kFramePumpMs = 15;
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

UINT DeviceTable::WantedPeriod(DWORD now) const {
  std::int64_t period = mixer_.Busy() ? kSoundPumpMs : 0;
  for (const auto& d : devices_) {
    const std::optional<std::int64_t> left = d->MsUntilEnd(now);
    if (!left) continue;
    const std::int64_t own = d->hasVideo() ? kFramePumpMs : kSoundPumpMs;
    period = period ? std::min(period, own) : own;
    // The end of a play is told when it comes, not up to a period later.
    period = std::min(period, std::max<std::int64_t>(*left, 1));
  }
  return static_cast<UINT>(period);
}

void DeviceTable::UpdateTimer() {
  const UINT period = WantedPeriod(user::Now());
  // Asked each time: a reset of USER's state may have dropped it. Setting
  // it again puts off its next period, so only a change of period does.
  const bool armed = user::HasSystemTimer(nullptr, kPumpTimer);
  if (period && (!armed || period != armedMs_)) {
    user::SetSystemTimer(nullptr, kPumpTimer, period, PumpTimer);
    armedMs_ = period;
  }
  if (!period && armed) user::KillSystemTimer(nullptr, kPumpTimer);
}

}  // namespace win::mci
