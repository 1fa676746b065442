// The per-thread last-error code and the error mode of the process.
#include <sys/stat.h>

#include <cerrno>

#include "errno_map.h"
#include "win/kernel.h"

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
UINT g_errorMode = 0;

bool ParentExists(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return true;  // the current directory
  std::string parent = slash == 0 ? "/" : hostPath.substr(0, slash);
  struct stat st;
  return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD code) { t_lastError = code; }

// There are no critical-error boxes here; the mode is only kept so callers
// that switch it off and back find their old value again.
UINT SetErrorMode(UINT mode) {
  UINT previous = g_errorMode;
  g_errorMode = mode;
  return previous;
}

namespace win::detail {

DWORD ErrorFromErrno(int err, const std::string& hostPath) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ParentExists(hostPath) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case EBUSY: return ERROR_SHARING_VIOLATION;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    default: return ERROR_INVALID_PARAMETER;
  }
}

void SetLastErrorFromErrno(int err, const std::string& hostPath) {
  SetLastError(ErrorFromErrno(err, hostPath));
}

}  // namespace win::detail
