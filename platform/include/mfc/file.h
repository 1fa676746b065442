// CFile and CStdioFile: binary and text files opened through the path layer
// (Windows names or host paths). Failures throw CFileException* (see
// mfc/exceptions.h), except Open, which reports through its result.
#pragma once

#include <cstdio>

#include "mfc/cstring.h"
#include "mfc/exceptions.h"
#include "mfc/object.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,  // as shareExclusive
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,  // with modeCreate: keep an existing file's content
    typeText = 0x4000,        // CStdioFile only
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
  static constexpr HFILE hFileNull = -1;

  CFile();
  // Attaches an open descriptor; it is not closed when the object goes.
  explicit CFile(HFILE hFile);
  // Opens or throws CFileException*.
  CFile(LPCSTR fileName, UINT openFlags);
  ~CFile() override;

  // Opens the file; on failure fills `error` (when given) with the cause,
  // the Windows error code and the name as given, and returns FALSE.
  // Sharing follows Windows: a second open whose access the first one's
  // share mode denies (or whose share mode denies the first one's access)
  // fails with sharingViolation while the first is open in this program.
  virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr);

  // Bytes read; fewer than asked only at the end of the file.
  virtual UINT Read(void* buffer, UINT count);
  // Writes everything or throws (diskFull when the disk takes no more).
  virtual void Write(const void* buffer, UINT count);
  // The new position from the start; a position before the start throws
  // badSeek.
  virtual LONG Seek(LONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
  virtual DWORD GetLength() const;
  virtual DWORD GetPosition() const;
  // Cuts or extends the file; the position moves to the new end.
  virtual void SetLength(DWORD newLength);
  virtual void Flush();
  virtual void Close();  // throws when closing fails (the file is closed anyway)
  virtual void Abort();  // closes, ignoring every error

  // The full path in Windows form ("C:\dir\name.ext"), its last component,
  // and that component without its extension.
  virtual CString GetFilePath() const { return m_strFileName; }
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual void SetFilePath(LPCSTR path);

  // Windows semantics: Rename fails when the new name exists.
  static void Rename(LPCSTR oldName, LPCSTR newName);
  static void Remove(LPCSTR fileName);

  HFILE m_hFile = hFileNull;  // the host file descriptor
  BOOL m_bCloseOnDelete = FALSE;
  CString m_strFileName;

 protected:
  // Opens the descriptor with the flags' access, share and creation rules;
  // -1 with `error` filled on failure.
  HFILE OpenDescriptor(LPCSTR fileName, UINT openFlags, CFileException* error);
  void ReleaseShare();
  void ThrowLastErrno(int err) const;
  void CheckOpen() const;
};

// A text or binary file read and written through a C stream. In text mode
// (the default, or typeText) reading turns CR LF into LF and stops at a
// Ctrl-Z, as the original runtime did; writing keeps "\n" as it is.
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  // Attaches an open stream; it is not closed when the object goes.
  explicit CStdioFile(FILE* stream);
  CStdioFile(LPCSTR fileName, UINT openFlags);  // opens or throws
  ~CStdioFile() override;

  BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

  // The next line without its "\n"; FALSE at the end of the file.
  BOOL ReadString(CString& line);
  // Up to size - 1 characters of the next line, with its "\n" when it fits;
  // the rest of a longer line stays for the next call. Null at the end.
  char* ReadString(char* buffer, UINT size);
  void WriteString(LPCSTR text);

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  LONG Seek(LONG offset, UINT from) override;
  DWORD GetLength() const override;
  DWORD GetPosition() const override;
  void SetLength(DWORD newLength) override;
  void Flush() override;
  void Close() override;
  void Abort() override;

  FILE* m_pStream = nullptr;

 private:
  int GetTextChar();  // the next character with text-mode rules; EOF at the end
  void CheckStream() const;

  bool text_ = true;
  bool sawCtrlZ_ = false;
};
