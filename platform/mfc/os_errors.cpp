#include "os_errors.h"

#include <cerrno>

namespace zemra_mfc {

LONG OsErrorOfErrno(int err) {
  switch (err) {
    case 0: return os::kSuccess;
    case ENOENT: return os::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return os::kPathNotFound;
    case EMFILE:
    case ENFILE: return os::kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ENOTEMPTY: return os::kAccessDenied;
    case EEXIST: return os::kAlreadyExists;
    case EROFS: return os::kWriteProtect;
    case EBADF: return os::kInvalidHandle;
    case ENOMEM: return os::kNotEnoughMemory;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return os::kDiskFull;
    case EINVAL:
    case ESPIPE: return os::kNegativeSeek;
    case EBUSY:
    case ETXTBSY: return os::kSharingViolation;
    default: return os::kGenFailure;  // EIO and the rest
  }
}

}  // namespace zemra_mfc
