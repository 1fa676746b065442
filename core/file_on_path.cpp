#include "core/file_on_path.h"

#include "win/kernel.h"

namespace {

bool isDeviceName(const char* name) {
  static const char* const kDevices[] = {"LPT1", "LPT2", "LPT3", "COM1", "COM2",
                                         "COM3", "COM4", "CON",  "AUX",  "PRN"};
  for (const char* device : kDevices)
    if (_stricmp(name, device) == 0) return true;
  return false;
}

}  // namespace

bool IsFileOnPath(const char* name) {
  if (!name || !*name) return false;
  if (isDeviceName(name)) return false;
  DWORD attributes = GetFileAttributes(name);
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  char found[MAX_PATH];
  // A longer path than the buffer still means the file was found.
  return SearchPath(nullptr, name, nullptr, sizeof found, found, nullptr) != 0;
}
