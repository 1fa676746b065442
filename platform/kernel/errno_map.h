// Turns a C library errno into the Windows error code that GetLastError
// answers after a failed file call. Internal to the platform layer.
#pragma once

#include <string>

#include "win/types.h"

namespace win::detail {

// ENOENT becomes ERROR_PATH_NOT_FOUND when the parent directory of
// `hostPath` is missing too, as Windows tells the two apart.
DWORD ErrorFromErrno(int err, const std::string& hostPath = std::string());
void SetLastErrorFromErrno(int err, const std::string& hostPath = std::string());

}  // namespace win::detail
