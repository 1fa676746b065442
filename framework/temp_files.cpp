#include "framework/temp_files.h"

#include <cstdio>
#include <random>
#include <string>

#include "win/kernel.h"
#include "win/path_map.h"

namespace {

// Tries before giving up: with 2^32 names a clash is rare, and a run of
// clashes means names are being planted faster than drawn.
constexpr int kAttempts = 64;

CString RandomDigits() {
  static std::random_device source;
  char number[16];
  std::snprintf(number, sizeof number, "%08X", static_cast<unsigned>(source()));
  return CString(number);
}

}  // namespace

CString GetTempDirectory() { return CString(win::PrivateTempWindowsDirectory()); }

CString MakeTempName(const CString& prefix, const CString& suffix, bool make) {
  const CString dir = GetTempDirectory();
  if (dir.IsEmpty()) return CString();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const CString base = dir + prefix + RandomDigits();
    const CString full = base + suffix;
    if (!make) {
      CString probe = full;
      probe.Remove('*');
      if (GetFileAttributes(base) == INVALID_FILE_ATTRIBUTES &&
          GetFileAttributes(probe) == INVALID_FILE_ATTRIBUTES)
        return full;
      continue;
    }
    if (win::CreateNewPrivateFile(full.str())) return full;
    if (GetLastError() != ERROR_FILE_EXISTS) return CString();
  }
  return CString();
}

CString MakeTempFileName(const CString& extension) { return MakeTempName(CString(), "." + extension, true); }
