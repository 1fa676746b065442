// The current directory, the temporary directory and temporary file names.
// Results are in Windows form; arguments may be in either form.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "copy_out.h"
#include "errno_map.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

std::string TempDirectoryHostPath() {
  for (const char* var : {"TMPDIR", "TMP", "TEMP"}) {
    const char* v = std::getenv(var);
    if (v && *v) return win::AbsoluteHostPath(win::HostPath(v));
  }
  return "/tmp";
}

bool IsDirectory(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string win::TempWindowsDirectory() {
  std::string path = win::WindowsPath(TempDirectoryHostPath());
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string win::CurrentWindowsDirectory() {
  std::string cwd = win::CurrentHostDirectory();
  return cwd.empty() ? cwd : win::WindowsPath(cwd);
}

DWORD GetTempPath(DWORD size, LPSTR buffer) {
  return win::detail::CopyOutOrNeeded(win::TempWindowsDirectory(), buffer, size);
}

DWORD GetCurrentDirectory(DWORD size, LPSTR buffer) {
  std::string cwd = win::CurrentWindowsDirectory();
  if (cwd.empty()) {
    win::detail::SetLastErrorFromErrno(errno);
    return 0;
  }
  return win::detail::CopyOutOrNeeded(cwd, buffer, size);
}

BOOL SetCurrentDirectory(LPCSTR dir) {
  std::string host = win::HostPath(dir);
  if (host.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (::chdir(host.c_str()) != 0) {
    win::detail::SetLastErrorFromErrno(errno, host);
    return FALSE;
  }
  return TRUE;
}

// The name is the directory, up to three characters of the prefix, four
// hexadecimal digits and ".TMP". With unique 0 a free number is found and the
// file is created empty, so that the name stays reserved; otherwise the name
// is only composed. `out` holds MAX_PATH characters.
UINT GetTempFileName(LPCSTR dir, LPCSTR prefix, UINT unique, LPSTR out) {
  if (!dir || !out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string hostDir = win::HostPath(*dir ? dir : ".");
  if (!IsDirectory(hostDir)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  std::string winDir = win::WindowsPath(hostDir);
  if (winDir.back() != '\\') winDir += '\\';
  std::string pre = prefix ? std::string(prefix).substr(0, 3) : std::string();

  auto compose = [&](UINT number, std::string& fileName) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number & 0xFFFFu);
    fileName = pre + digits + ".TMP";
    return winDir + fileName;
  };

  std::string fileName;
  if (unique != 0) {
    std::string full = compose(unique, fileName);
    if (full.size() >= MAX_PATH) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return 0;
    }
    std::memcpy(out, full.c_str(), full.size() + 1);
    return unique & 0xFFFFu;
  }

  UINT start = (GetTickCount() ^ static_cast<UINT>(::getpid())) & 0xFFFFu;
  for (UINT i = 0; i < 0x10000u; ++i) {
    UINT number = (start + i) & 0xFFFFu;
    if (number == 0) continue;
    std::string full = compose(number, fileName);
    if (full.size() >= MAX_PATH) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return 0;
    }
    std::string hostFile = hostDir + "/" + fileName;
    int fd = ::open(hostFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      std::memcpy(out, full.c_str(), full.size() + 1);
      return number;
    }
    if (errno != EEXIST) {
      win::detail::SetLastErrorFromErrno(errno, hostFile);
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
