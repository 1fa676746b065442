// The device types this layer offers and what they can do: the answers of
// "sysinfo" and "capability", and the type a file name suggests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mci/device.h"

namespace win::mci {

struct Driver {
  DeviceType type;
  const char* name;  // as "sysinfo" lists it and "type" takes it
  bool hasVideo;
};

// The installed drivers, in the order "sysinfo all name N" counts them.
std::vector<Driver> InstalledDrivers();
std::optional<DeviceType> DriverByName(std::string_view name);
const char* DriverName(DeviceType type);
// The device type for a file name's extension (".wav", ".avi", ".mid" ...).
std::optional<DeviceType> DriverForFile(const std::string& name);

}  // namespace win::mci
