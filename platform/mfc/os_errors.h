// Windows error codes of file operations, and the errno values they stand
// for. Internal to the MFC layer (the kernel keeps its own table).
#pragma once

#include "win/types.h"

namespace zemra_mfc {

namespace os {
constexpr LONG kSuccess = 0;
constexpr LONG kFileNotFound = 2;
constexpr LONG kPathNotFound = 3;
constexpr LONG kTooManyOpenFiles = 4;
constexpr LONG kAccessDenied = 5;
constexpr LONG kInvalidHandle = 6;
constexpr LONG kNotEnoughMemory = 8;
constexpr LONG kCurrentDirectory = 16;
constexpr LONG kNoMoreFiles = 18;
constexpr LONG kWriteProtect = 19;
constexpr LONG kBadUnit = 20;
constexpr LONG kNotReady = 21;
constexpr LONG kSeek = 25;
constexpr LONG kWriteFault = 29;
constexpr LONG kReadFault = 30;
constexpr LONG kGenFailure = 31;
constexpr LONG kSharingViolation = 32;
constexpr LONG kLockViolation = 33;
constexpr LONG kHandleEof = 38;
constexpr LONG kHandleDiskFull = 39;
constexpr LONG kFileExists = 80;
constexpr LONG kCannotMake = 82;
constexpr LONG kDriveLocked = 108;
constexpr LONG kDiskFull = 112;
constexpr LONG kInvalidName = 123;
constexpr LONG kNegativeSeek = 131;
constexpr LONG kBadPathname = 161;
constexpr LONG kAlreadyExists = 183;
constexpr LONG kFilenameTooLong = 206;
constexpr LONG kDirectory = 267;
}  // namespace os

// The Windows code for a C library errno (0 for 0).
LONG OsErrorOfErrno(int err);

}  // namespace zemra_mfc
