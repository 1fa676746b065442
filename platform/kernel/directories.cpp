// The current directory, the temporary directory and temporary file names.
// Results are in Windows form; arguments may be in either form.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
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

// A directory at `hostPath` itself (not a link to one), owned by the user
// and closed to everyone else; made when missing. A directory of ours that
// others could enter is closed first.
bool PrivateDirectoryAt(const std::string& hostPath) {
  // Looked at first: it is there on every use but the first.
  struct stat st;
  if (::lstat(hostPath.c_str(), &st) != 0) {
    if (errno != ENOENT || (::mkdir(hostPath.c_str(), 0700) != 0 && errno != EEXIST)) return false;
    if (::lstat(hostPath.c_str(), &st) != 0) return false;
  }
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
  if ((st.st_mode & 077) != 0 && ::chmod(hostPath.c_str(), 0700) != 0) return false;
  return true;
}

}  // namespace

std::string win::PrivateTempWindowsDirectory() {
  const std::string base = TempDirectoryHostPath();
  std::string dir = base + "/zemra-" + std::to_string(::geteuid());
  if (!PrivateDirectoryAt(dir)) {
    // The usual name is someone else's: one directory of our own per
    // temporary path for the rest of this run.
    static std::map<std::string, std::string> own;
    std::string& made = own[base];
    if (made.empty() || !PrivateDirectoryAt(made)) {
      std::string pattern = dir + "-XXXXXX";
      made = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    if (made.empty()) return std::string();
    dir = made;
  }
  std::string path = win::WindowsPath(dir);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

bool win::CreateNewPrivateFile(const std::string& name) {
  // Made as spelled: O_EXCL tells whether this spelling is free.
  const std::string host = win::HostPathOfNewName(name);
  if (host.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST || errno == ELOOP)
      SetLastError(ERROR_FILE_EXISTS);
    else
      win::detail::SetLastErrorFromErrno(errno, host);
    return false;
  }
  ::close(fd);
  return true;
}

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
    int fd = ::open(hostFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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
