#include "mfc/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "file_share.h"
#include "os_errors.h"
#include "win/kernel.h"
#include "win/path_map.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

namespace os = zemra_mfc::os;

bool directoryExists(const std::string& path) {
  struct stat st {};
  return stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& hostPath) {
  const size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// The Windows code of a failed open or rename: a missing directory on the
// way is "path not found", a missing last component "file not found".
LONG openError(int err, const std::string& hostPath) {
  if (err == ENOENT && !directoryExists(parentOf(hostPath))) return os::kPathNotFound;
  return zemra_mfc::OsErrorOfErrno(err);
}

void fillError(CFileException* error, LONG osError, LPCSTR fileName) {
  if (!error) return;
  error->m_cause = CFileException::OsErrorToException(osError);
  error->m_lOsError = osError;
  error->m_strFileName = fileName;
}

[[noreturn]] void throwOs(LONG osError, const CString& fileName) {
  AfxThrowFileException(CFileException::OsErrorToException(osError), osError, fileName);
}

}  // namespace

CFile::CFile() = default;

CFile::CFile(HFILE hFile) : m_hFile(hFile) {}

CFile::CFile(LPCSTR fileName, UINT openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

HFILE CFile::OpenDescriptor(LPCSTR fileName, UINT openFlags, CFileException* error) {
  if (!fileName || !*fileName) {
    fillError(error, os::kPathNotFound, fileName);
    return hFileNull;
  }
  const std::string host = win::HostPath(fileName);
  int flags = O_CLOEXEC;
  switch (openFlags & 3) {
    case modeRead: flags |= O_RDONLY; break;
    case modeWrite: flags |= O_WRONLY; break;
    case modeReadWrite: flags |= O_RDWR; break;
    default:
      fillError(error, ERROR_INVALID_PARAMETER, fileName);
      return hFileNull;
  }
  if (openFlags & modeCreate) flags |= O_CREAT;
  const int fd = ::open(host.c_str(), flags, 0666);
  if (fd < 0) {
    fillError(error, openError(errno, host), fileName);
    return hFileNull;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    fillError(error, os::kAccessDenied, fileName);
    return hFileNull;
  }
  if (!zemra_mfc::RegisterShare(this, fd, openFlags)) {
    ::close(fd);
    fillError(error, os::kSharingViolation, fileName);
    return hFileNull;
  }
  // Truncated only now: a refused open must not empty another's file.
  if ((openFlags & modeCreate) && !(openFlags & modeNoTruncate) && ::ftruncate(fd, 0) != 0) {
    const int err = errno;
    zemra_mfc::UnregisterShare(this);
    ::close(fd);
    fillError(error, zemra_mfc::OsErrorOfErrno(err), fileName);
    return hFileNull;
  }
  return fd;
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
  if (m_hFile != hFileNull) Abort();
  if (error) {
    error->m_cause = CFileException::none;
    error->m_lOsError = 0;
  }
  const HFILE fd = OpenDescriptor(fileName, openFlags & ~static_cast<UINT>(typeText | typeBinary), error);
  if (fd == hFileNull) return FALSE;
  m_hFile = fd;
  m_bCloseOnDelete = TRUE;
  SetFilePath(fileName);
  return TRUE;
}

void CFile::ThrowLastErrno(int err) const { throwOs(zemra_mfc::OsErrorOfErrno(err), m_strFileName); }

void CFile::CheckOpen() const {
  if (m_hFile == hFileNull) throwOs(os::kInvalidHandle, m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
  CheckOpen();
  if (count == 0) return 0;
  if (!buffer) throwOs(ERROR_INVALID_PARAMETER, m_strFileName);
  auto* p = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_hFile, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowLastErrno(errno);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  CheckOpen();
  if (count == 0) return;
  if (!buffer) throwOs(ERROR_INVALID_PARAMETER, m_strFileName);
  const auto* p = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_hFile, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowLastErrno(errno);
    }
    if (n == 0) throwOs(os::kDiskFull, m_strFileName);
    done += static_cast<UINT>(n);
  }
}

LONG CFile::Seek(LONG offset, UINT from) {
  CheckOpen();
  const int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
  if (from > end) throwOs(os::kSeek, m_strFileName);
  const off_t pos = ::lseek(m_hFile, static_cast<off_t>(offset), whence);
  if (pos < 0) throwOs(errno == EINVAL ? os::kNegativeSeek : zemra_mfc::OsErrorOfErrno(errno), m_strFileName);
  return static_cast<LONG>(static_cast<DWORD>(pos));
}

DWORD CFile::GetPosition() const {
  CheckOpen();
  const off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
  if (pos < 0) ThrowLastErrno(errno);
  return static_cast<DWORD>(pos);
}

DWORD CFile::GetLength() const {
  CheckOpen();
  struct stat st {};
  if (fstat(m_hFile, &st) != 0) ThrowLastErrno(errno);
  return static_cast<DWORD>(st.st_size);
}

void CFile::SetLength(DWORD newLength) {
  CheckOpen();
  if (::ftruncate(m_hFile, static_cast<off_t>(newLength)) != 0) ThrowLastErrno(errno);
  if (::lseek(m_hFile, static_cast<off_t>(newLength), SEEK_SET) < 0) ThrowLastErrno(errno);
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  // Pipes and terminals have nothing to flush.
  if (::fdatasync(m_hFile) != 0 && errno != EINVAL && errno != EROFS) ThrowLastErrno(errno);
}

void CFile::ReleaseShare() { zemra_mfc::UnregisterShare(this); }

void CFile::Close() {
  int err = 0;
  if (m_hFile != hFileNull) {
    ReleaseShare();
    if (::close(m_hFile) != 0) err = errno;
  }
  const CString name = m_strFileName;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (err) throwOs(zemra_mfc::OsErrorOfErrno(err), name);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) {
    ReleaseShare();
    ::close(m_hFile);
  }
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

CString CFile::GetFileName() const {
  const int slash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
  return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

void CFile::SetFilePath(LPCSTR path) {
  m_strFileName = path && *path ? CString(win::FullWindowsPath(path)) : CString();
}

void CFile::Rename(LPCSTR oldName, LPCSTR newName) {
  if (!oldName || !newName) throwOs(os::kPathNotFound, oldName);
  const std::string from = win::HostPath(oldName);
  const std::string to = win::HostPath(newName);
  // renameat2 refuses an existing target without a window between test and
  // rename; file systems without it fall back to link and unlink.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  int err = errno;
  if (err == EINVAL || err == ENOSYS) {
    if (::link(from.c_str(), to.c_str()) == 0) {
      if (::unlink(from.c_str()) == 0) return;
      err = errno;
      ::unlink(to.c_str());
    } else {
      err = errno;
    }
  }
  const LONG code = err == EEXIST ? os::kAlreadyExists : openError(err, err == ENOENT ? from : to);
  throwOs(code, oldName);
}

void CFile::Remove(LPCSTR fileName) {
  if (!fileName) throwOs(os::kPathNotFound, fileName);
  const std::string host = win::HostPath(fileName);
  struct stat st {};
  if (stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) throwOs(os::kAccessDenied, fileName);
  if (::unlink(host.c_str()) != 0) throwOs(openError(errno, host), fileName);
}
