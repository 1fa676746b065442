// MFC's exceptions. They are thrown as pointers to heap objects
// (`throw new CFileException(...)` or the AfxThrow functions), caught as
// pointers, and freed by the catcher with Delete():
//
//   try { file.Read(buf, n); }
//   catch (CFileException* e) { ... e->m_cause ...; e->Delete(); }
#pragma once

#include "mfc/cstring.h"
#include "mfc/object.h"
#include "win/user.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  // `autoDelete` is TRUE for exceptions on the heap (the usual case); an
  // exception object on the stack passes FALSE, and Delete leaves it alone.
  explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
  ~CException() override = default;

  // Frees a heap exception; the catcher calls it once done.
  void Delete();

  // The text that tells the user what went wrong; FALSE when there is none.
  virtual BOOL GetErrorMessage(LPSTR out, UINT size, UINT* helpContext = nullptr);
  // Shows that text in a message box (or `fallbackId`'s string table text
  // when there is none) and returns the box's answer.
  virtual int ReportError(UINT type = MB_OK, UINT fallbackId = 0);

  BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
  BOOL GetErrorMessage(LPSTR out, UINT size, UINT* helpContext = nullptr) override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  CNotSupportedException() = default;
  BOOL GetErrorMessage(LPSTR out, UINT size, UINT* helpContext = nullptr) override;
};

// Thrown when the user has been told of a problem already (a failed
// dialog-data validation): it is caught without a further report.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  CUserException() = default;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = nullptr)
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

  // A Windows error code (GetLastError) or a C library errno as a cause.
  static int OsErrorToException(LONG osError);
  static int ErrnoToException(int err);
  // Throw a CFileException for the error; the Windows code is kept in
  // m_lOsError.
  static void ThrowOsError(LONG osError, LPCSTR fileName = nullptr);
  static void ThrowErrno(int err, LPCSTR fileName = nullptr);

  BOOL GetErrorMessage(LPSTR out, UINT size, UINT* helpContext = nullptr) override;

  int m_cause;
  LONG m_lOsError;  // the Windows error code, -1 when unknown
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = nullptr);

// MFC's exception macros for code written with them. The caught exception is
// deleted when the CATCH block ends, unless THROW_LAST passes it on.
class AfxCaughtException {
 public:
  explicit AfxCaughtException(CException* e) : e_(e) {}
  ~AfxCaughtException() {
    if (e_) e_->Delete();
  }
  AfxCaughtException(const AfxCaughtException&) = delete;
  AfxCaughtException& operator=(const AfxCaughtException&) = delete;
  void Release() { e_ = nullptr; }

 private:
  CException* e_;
};

#define TRY try {
#define CATCH(class_name, e)    \
  }                             \
  catch (class_name * e) {      \
    AfxCaughtException zemra_caught(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST()        \
  do {                      \
    zemra_caught.Release(); \
    throw;                  \
  } while (0)
