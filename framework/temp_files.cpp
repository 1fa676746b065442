#include "framework/temp_files.h"

#include <cstdio>
#include <string>

#include "win/kernel.h"
#include "win/path_map.h"

CString GetTempDirectory() { return CString(win::TempWindowsDirectory()); }

CString MakeTempFileName(const CString& extension) {
  const CString dir = GetTempDirectory();
  // Start from the clock so that two runs rarely probe the same names.
  static DWORD counter = GetTickCount();
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    char number[16];
    std::snprintf(number, sizeof number, "%08X", static_cast<unsigned>(counter++));
    CString name = dir + number + "." + extension;
    if (GetFileAttributes(name) == INVALID_FILE_ATTRIBUTES) return name;
  }
  return CString();
}
