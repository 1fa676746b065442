// Whole-file operations by name: delete, move, copy, directories,
// attributes, and the kind of a drive.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "errno_map.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

bool Fail(int err, const std::string& host) {
  win::detail::SetLastErrorFromErrno(err, host);
  return false;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string Parent(const std::string& host) {
  size_t slash = host.find_last_of('/');
  if (slash == std::string::npos) return std::string();
  return host.substr(0, slash + 1);
}

// The last component of a name as the caller wrote it.
std::string LastComponent(const char* name) {
  std::string s = name;
  while (!s.empty() && (s.back() == '/' || s.back() == '\\')) s.pop_back();
  size_t cut = s.find_last_of("/\\:");
  return cut == std::string::npos ? s : s.substr(cut + 1);
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

BOOL DeleteFile(LPCSTR name) {
  std::string host = win::HostPath(name);
  if (host.empty()) return Fail(ENOENT, host);
  struct stat st;
  if (::lstat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(EACCES, host);
  return ::unlink(host.c_str()) == 0 ? TRUE : Fail(errno, host);
}

// Like Windows, an existing target is not replaced. A target that differs
// from the source only in letter case renames the source to that spelling.
BOOL MoveFile(LPCSTR from, LPCSTR to) {
  std::string src = win::HostPath(from);
  std::string dst = win::HostPath(to);
  if (src.empty() || dst.empty()) return Fail(ENOENT, src);
  struct stat s, d;
  if (::lstat(src.c_str(), &s) != 0) return Fail(errno, src);
  if (::lstat(dst.c_str(), &d) == 0) {
    if (!SameFile(s, d)) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    dst = Parent(dst) + LastComponent(to);
    if (dst == src) return TRUE;
    return ::rename(src.c_str(), dst.c_str()) == 0 ? TRUE : Fail(errno, dst);
  }
  if (::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return TRUE;
  if (errno != EINVAL && errno != ENOSYS) {
    if (errno == EEXIST) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    return Fail(errno, dst);
  }
  // File systems without RENAME_NOREPLACE: the check above has to do.
  return ::rename(src.c_str(), dst.c_str()) == 0 ? TRUE : Fail(errno, dst);
}

// Copying a file onto itself is refused (it would truncate the source).
BOOL CopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  std::string src = win::HostPath(from);
  std::string dst = win::HostPath(to);
  if (src.empty() || dst.empty()) return Fail(ENOENT, src);
  int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(errno, src);
  struct stat s, d;
  if (::fstat(in, &s) != 0 || !S_ISREG(s.st_mode)) {
    ::close(in);
    return Fail(EACCES, src);
  }
  if (::stat(dst.c_str(), &d) == 0) {
    if (failIfExists) {
      ::close(in);
      SetLastError(ERROR_FILE_EXISTS);
      return FALSE;
    }
    if (SameFile(s, d)) {
      ::close(in);
      SetLastError(ERROR_SHARING_VIOLATION);
      return FALSE;
    }
  }
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  int out = ::open(dst.c_str(), flags, s.st_mode & 0777);
  if (out < 0) {
    int err = errno;
    ::close(in);
    if (err == EEXIST) {
      SetLastError(ERROR_FILE_EXISTS);
      return FALSE;
    }
    return Fail(err, dst);
  }
  char buf[64 * 1024];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || (n > 0 && !WriteAll(out, buf, static_cast<size_t>(n)))) {
      ok = false;
      break;
    }
    if (n == 0) break;
  }
  int err = errno;
  if (ok) ::fchmod(out, s.st_mode & 0777);
  ::close(in);
  if (::close(out) != 0 && ok) {
    ok = false;
    err = errno;
  }
  return ok ? TRUE : Fail(err, dst);
}

BOOL CreateDirectory(LPCSTR name, void*) {
  std::string host = win::HostPath(name);
  if (host.empty()) return Fail(ENOENT, host);
  return ::mkdir(host.c_str(), 0777) == 0 ? TRUE : Fail(errno, host);
}

BOOL RemoveDirectory(LPCSTR name) {
  std::string host = win::HostPath(name);
  if (host.empty()) return Fail(ENOENT, host);
  return ::rmdir(host.c_str()) == 0 ? TRUE : Fail(errno, host);
}

// A file that nobody may write is read-only; a plain file with no other
// attribute reports FILE_ATTRIBUTE_NORMAL.
DWORD GetFileAttributes(LPCSTR name) {
  std::string host = win::HostPath(name);
  struct stat st;
  if (host.empty() || ::stat(host.c_str(), &st) != 0) {
    win::detail::SetLastErrorFromErrno(host.empty() ? ENOENT : errno, host);
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attrs = 0;
  if (S_ISDIR(st.st_mode)) attrs |= FILE_ATTRIBUTE_DIRECTORY;
  if ((st.st_mode & 0222) == 0) attrs |= FILE_ATTRIBUTE_READONLY;
  return attrs == 0 ? FILE_ATTRIBUTE_NORMAL : attrs;
}

// Only drive C: exists, standing for the host's root; any host path lies on it.
UINT GetDriveType(LPCSTR root) {
  if (!root || !*root || root[0] == '/' || root[0] == '\\') return DRIVE_FIXED;
  if ((root[0] == 'C' || root[0] == 'c') && root[1] == ':') return DRIVE_FIXED;
  return DRIVE_NO_ROOT_DIR;
}
