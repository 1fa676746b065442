#include "app/framework/temp_files.h"

#include <cstdio>
#include <string>

#include "win/kernel.h"

CString GetTempDirectory() {
  // A path longer than the usual buffer is read again with the size the
  // system asks for, rather than used half-filled.
  std::string buffer(MAX_PATH, '\0');
  DWORD n = GetTempPath(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n >= buffer.size()) {
    buffer.assign(static_cast<size_t>(n) + 1, '\0');
    n = GetTempPath(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n >= buffer.size()) n = 0;
  }
  buffer.resize(n);
  if (!buffer.empty() && buffer.back() != '\\' && buffer.back() != '/') buffer += '\\';
  return CString(std::move(buffer));
}

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
