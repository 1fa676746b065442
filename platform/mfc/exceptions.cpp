#include "mfc/exceptions.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "mfc/app.h"
#include "os_errors.h"
#include "win/kernel.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

namespace {

namespace os = zemra_mfc::os;

// Copies `text` with "%1" replaced by the file name (or "an unnamed file").
BOOL fill(LPSTR out, UINT size, const char* text, const CString& fileName) {
  if (!out || size == 0) return FALSE;
  std::string s(text);
  const std::string name = fileName.IsEmpty() ? std::string("an unnamed file") : fileName.str();
  if (size_t at = s.find("%1"); at != std::string::npos) s.replace(at, 2, name);
  const size_t n = std::min(s.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, s.data(), n);
  out[n] = '\0';
  return TRUE;
}

}  // namespace

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPSTR out, UINT size, UINT* helpContext) {
  if (helpContext) *helpContext = 0;
  if (out && size) *out = '\0';
  return FALSE;
}

int CException::ReportError(UINT type, UINT fallbackId) {
  char text[512];
  if (GetErrorMessage(text, sizeof text)) return AfxMessageBox(text, type);
  if (fallbackId) return AfxMessageBox(fallbackId, type);
  return AfxMessageBox("An unsupported operation was attempted.", type);
}

BOOL CMemoryException::GetErrorMessage(LPSTR out, UINT size, UINT* helpContext) {
  if (helpContext) *helpContext = 0;
  return fill(out, size, "Out of memory.", CString());
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR out, UINT size, UINT* helpContext) {
  if (helpContext) *helpContext = 0;
  return fill(out, size, "An unsupported operation was attempted.", CString());
}

int CFileException::OsErrorToException(LONG osError) {
  switch (osError) {
    case os::kSuccess: return none;
    case os::kFileNotFound: return fileNotFound;
    case os::kPathNotFound:
    case os::kInvalidName:
    case os::kBadPathname:
    case os::kFilenameTooLong:
    case os::kDirectory: return badPath;
    case os::kTooManyOpenFiles: return tooManyOpenFiles;
    case os::kAccessDenied:
    case os::kWriteProtect:
    case os::kDriveLocked:
    case os::kFileExists:
    case os::kAlreadyExists: return accessDenied;
    case os::kInvalidHandle: return invalidFile;
    case os::kCurrentDirectory: return removeCurrentDir;
    case os::kCannotMake:
    case os::kNoMoreFiles: return directoryFull;
    case os::kSeek:
    case os::kNegativeSeek: return badSeek;
    case os::kBadUnit:
    case os::kNotReady:
    case os::kWriteFault:
    case os::kReadFault:
    case os::kGenFailure: return hardIO;
    case os::kSharingViolation: return sharingViolation;
    case os::kLockViolation: return lockViolation;
    case os::kHandleDiskFull:
    case os::kDiskFull: return diskFull;
    case os::kHandleEof: return endOfFile;
    default: return generic;
  }
}

int CFileException::ErrnoToException(int err) { return OsErrorToException(zemra_mfc::OsErrorOfErrno(err)); }

void CFileException::ThrowOsError(LONG osError, LPCSTR fileName) {
  if (osError != 0) AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

void CFileException::ThrowErrno(int err, LPCSTR fileName) {
  if (err != 0) AfxThrowFileException(ErrnoToException(err), zemra_mfc::OsErrorOfErrno(err), fileName);
}

BOOL CFileException::GetErrorMessage(LPSTR out, UINT size, UINT* helpContext) {
  if (helpContext) *helpContext = 0;
  static const char* const kTexts[] = {
      "No error occurred.",
      "An unexpected error occurred while accessing %1.",
      "%1 was not found.",
      "%1 contains an invalid path.",
      "%1 could not be opened because there are too many open files.",
      "Access to %1 was denied.",
      "An invalid file handle was associated with %1.",
      "%1 could not be removed because it is the current directory.",
      "%1 could not be created because the directory is full.",
      "Seek failed on %1.",
      "A hardware I/O error was reported while accessing %1.",
      "A sharing violation occurred while accessing %1.",
      "A locking violation occurred while accessing %1.",
      "Disk full while accessing %1.",
      "An attempt was made to access %1 past its end.",
  };
  const int n = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
  const char* text = (m_cause >= 0 && m_cause < n) ? kTexts[m_cause] : kTexts[generic];
  return fill(out, size, text, m_strFileName);
}

void AfxThrowMemoryException() { throw new CMemoryException(); }

void AfxThrowNotSupportedException() { throw new CNotSupportedException(); }
void AfxThrowUserException() { throw new CUserException(); }

void AfxThrowFileException(int cause, LONG osError, LPCSTR fileName) {
  throw new CFileException(cause, osError, fileName);
}
