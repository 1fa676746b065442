// The old handle-based file API (_lopen, _lread, ... and OpenFile). Handles
// are host file descriptors, but only descriptors opened here are accepted,
// so a stale or foreign handle (a socket, the display connection) can never be
// read, written or closed by mistake.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "errno_map.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

std::mutex g_mutex;
std::set<int> g_open;

bool Known(HFILE file) {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_open.count(file) != 0;
}

bool CheckHandle(HFILE file) {
  if (Known(file)) return true;
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

int AccessFlags(UINT mode) {
  switch (mode & 0x3) {
    case OF_WRITE: return O_WRONLY;
    case OF_READWRITE: return O_RDWR;
    default: return O_RDONLY;
  }
}

// Opens a regular file (directories are refused, as Windows refuses them)
// and registers the descriptor.
HFILE OpenHandle(const std::string& host, int flags, mode_t perms = 0666) {
  if (host.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return HFILE_ERROR;
  }
  int fd = ::open(host.c_str(), flags | O_CLOEXEC, perms);
  if (fd < 0) {
    win::detail::SetLastErrorFromErrno(errno, host);
    return HFILE_ERROR;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return HFILE_ERROR;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  g_open.insert(fd);
  return fd;
}

}  // namespace

HFILE _lopen(LPCSTR path, int mode) {
  return OpenHandle(win::HostPath(path), AccessFlags(static_cast<UINT>(mode)));
}

// Creates or truncates, open for reading and writing; attribute 1 makes the
// new file read-only.
HFILE _lcreat(LPCSTR path, int attribute) {
  mode_t perms = (attribute & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  return OpenHandle(win::HostPath(path), O_RDWR | O_CREAT | O_TRUNC, perms);
}

UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
  if (!CheckHandle(file)) return static_cast<UINT>(HFILE_ERROR);
  if (bytes == 0) return 0;
  if (!buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<UINT>(HFILE_ERROR);
  }
  // HFILE_ERROR is a UINT too, so one byte less than that can be asked for.
  if (bytes == static_cast<UINT>(HFILE_ERROR)) --bytes;
  auto* out = static_cast<unsigned char*>(buffer);
  UINT done = 0;
  while (done < bytes) {
    ssize_t n = ::read(file, out + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      win::detail::SetLastErrorFromErrno(errno);
      return static_cast<UINT>(HFILE_ERROR);
    }
    if (n == 0) break;  // end of file: a short count
    done += static_cast<UINT>(n);
  }
  return done;
}

// Writing 0 bytes truncates (or extends) the file at the current position.
UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes) {
  if (!CheckHandle(file)) return static_cast<UINT>(HFILE_ERROR);
  if (bytes == 0) {
    off_t here = ::lseek(file, 0, SEEK_CUR);
    if (here < 0 || ::ftruncate(file, here) != 0) {
      win::detail::SetLastErrorFromErrno(errno);
      return static_cast<UINT>(HFILE_ERROR);
    }
    return 0;
  }
  if (!buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<UINT>(HFILE_ERROR);
  }
  if (bytes == static_cast<UINT>(HFILE_ERROR)) --bytes;
  UINT done = 0;
  while (done < bytes) {
    ssize_t n = ::write(file, buffer + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      win::detail::SetLastErrorFromErrno(n < 0 ? errno : ENOSPC);
      return done > 0 ? done : static_cast<UINT>(HFILE_ERROR);
    }
    done += static_cast<UINT>(n);
  }
  return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
  if (!CheckHandle(file)) return HFILE_ERROR;
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  off_t here = ::lseek(file, 0, SEEK_CUR);
  off_t pos = ::lseek(file, offset, whence);
  if (pos < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  if (pos > INT32_MAX) {  // a position a LONG cannot report: stay where we were
    ::lseek(file, here, SEEK_SET);
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  return static_cast<LONG>(pos);
}

HFILE _lclose(HFILE file) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_open.erase(file) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return HFILE_ERROR;
    }
  }
  ::close(file);
  return 0;
}

// OpenFile fills `info` with the full name in Windows form (cut to the
// structure's 128 bytes) and, on failure, the error code. OF_EXIST and
// OF_DELETE answer a positive value on success; OF_PARSE only fills the name.
HFILE OpenFile(LPCSTR name, OFSTRUCT* info, UINT style) {
  OFSTRUCT local;
  if (!info) info = &local;
  std::string given = (style & OF_REOPEN) ? std::string(info->szPathName, strnlen(info->szPathName, sizeof info->szPathName))
                                          : std::string(name ? name : "");
  std::memset(info, 0, sizeof *info);
  info->cBytes = static_cast<BYTE>(sizeof *info);
  info->fFixedDisk = 1;
  auto fail = [info]() {
    info->nErrCode = static_cast<WORD>(GetLastError());
    return HFILE_ERROR;
  };
  if (given.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return fail();
  }
  std::string host = win::HostPath(given);
  std::string full = win::FullWindowsPath(given.c_str());
  size_t n = std::min(full.size(), sizeof info->szPathName - 1);
  std::memcpy(info->szPathName, full.data(), n);

  if (style & OF_PARSE) return 0;
  if (style & OF_DELETE) {
    if (::unlink(host.c_str()) != 0) {
      win::detail::SetLastErrorFromErrno(errno, host);
      return fail();
    }
    return 1;
  }
  if (style & OF_EXIST) {
    HFILE h = OpenHandle(host, O_RDONLY);
    if (h == HFILE_ERROR) return fail();
    _lclose(h);
    return 1;
  }
  int flags = AccessFlags(style);
  if (style & OF_CREATE) {
    if (flags == O_RDONLY) flags = O_RDWR;  // truncating needs write access
    flags |= O_CREAT | O_TRUNC;
  }
  HFILE h = OpenHandle(host, flags);
  return h == HFILE_ERROR ? fail() : h;
}
