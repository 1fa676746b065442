// Environment variables and the computer name.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "copy_out.h"
#include "errno_map.h"
#include "win/kernel.h"

DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size) {
  const char* v = name ? std::getenv(name) : nullptr;
  if (!v) {
    if (buffer && size > 0) buffer[0] = '\0';
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  return win::detail::CopyOutOrNeeded(v, buffer, size);
}

// A null value removes the variable.
BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value) {
  if (!name || !*name || std::strchr(name, '=')) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int r = value ? ::setenv(name, value, 1) : ::unsetenv(name);
  if (r != 0) {
    win::detail::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

// Windows names a computer by its upper-case host name without the domain.
// `*size` holds the buffer size on entry and the length on success; a buffer
// too small gives FALSE, ERROR_BUFFER_OVERFLOW and the size needed.
BOOL GetComputerName(LPSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) {
    win::detail::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  std::string name(host);
  name = name.substr(0, name.find('.'));
  _strupr(name.data());
  if (!buffer || name.size() + 1 > *size) {
    *size = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return TRUE;
}
