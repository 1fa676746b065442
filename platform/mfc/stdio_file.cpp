#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "file_share.h"
#include "mfc/file.h"
#include "os_errors.h"
#include "win/kernel.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

namespace os = zemra_mfc::os;

constexpr int kCtrlZ = 0x1A;
// ReadString(CString&) hands out at most this much of one line per call; the
// rest follows with the next call, so a file without line ends cannot take
// all memory.
constexpr size_t kMaxLineChunk = 256u << 20;

[[noreturn]] void throwErrno(int err, const CString& name) {
  const LONG code = zemra_mfc::OsErrorOfErrno(err ? err : EIO);
  AfxThrowFileException(CFileException::OsErrorToException(code), code, name);
}

// The C stream mode MFC chose for the open flags: creating writes ("w") or
// appends when the content is kept ("a"); writing without creating appends;
// anything else reads. "+" is added where reading and writing are both asked.
std::string streamMode(UINT flags) {
  std::string mode;
  if (flags & CFile::modeCreate)
    mode = (flags & CFile::modeNoTruncate) ? "a" : "w";
  else if (flags & CFile::modeWrite)
    mode = "a";
  else
    mode = "r";
  if ((mode == "r" && (flags & CFile::modeReadWrite)) || (mode != "r" && !(flags & CFile::modeWrite)))
    mode += '+';
  return mode;
}

}  // namespace

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(FILE* stream) : m_pStream(stream) {
  m_hFile = stream ? ::fileno(stream) : hFileNull;
}

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream && m_bCloseOnDelete) Abort();
}

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
  if (m_pStream || m_hFile != hFileNull) Abort();
  if (error) {
    error->m_cause = CFileException::none;
    error->m_lOsError = 0;
  }
  text_ = !(openFlags & typeBinary);
  sawCtrlZ_ = false;
  const UINT flags = openFlags & ~static_cast<UINT>(typeText | typeBinary);
  const std::string mode = streamMode(flags);
  const HFILE fd = OpenDescriptor(fileName, flags, error);
  if (fd == hFileNull) return FALSE;
  if (mode[0] == 'a') ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_APPEND);
  m_pStream = ::fdopen(fd, mode.c_str());
  if (!m_pStream) {
    const int err = errno;
    ReleaseShare();
    ::close(fd);
    if (error) {
      error->m_lOsError = zemra_mfc::OsErrorOfErrno(err);
      error->m_cause = CFileException::OsErrorToException(error->m_lOsError);
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  m_hFile = fd;
  m_bCloseOnDelete = TRUE;
  SetFilePath(fileName);
  return TRUE;
}

void CStdioFile::CheckStream() const {
  if (!m_pStream)
    AfxThrowFileException(CFileException::invalidFile, os::kInvalidHandle, m_strFileName);
}

int CStdioFile::GetTextChar() {
  if (sawCtrlZ_) return EOF;
  const int c = std::getc(m_pStream);
  if (!text_ || c == EOF) return c;
  if (c == kCtrlZ) {
    sawCtrlZ_ = true;
    return EOF;
  }
  if (c == '\r') {
    const int next = std::getc(m_pStream);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, m_pStream);
  }
  return c;
}

BOOL CStdioFile::ReadString(CString& line) {
  CheckStream();
  std::string s;
  bool any = false;
  int c;
  while (s.size() < kMaxLineChunk && (c = GetTextChar()) != EOF) {
    any = true;
    if (c == '\n') break;
    s.push_back(static_cast<char>(c));
  }
  if (std::ferror(m_pStream)) throwErrno(errno, m_strFileName);
  line = CString(std::move(s));
  return any ? TRUE : FALSE;
}

char* CStdioFile::ReadString(char* buffer, UINT size) {
  CheckStream();
  if (!buffer || size == 0) return nullptr;
  UINT n = 0;
  while (n + 1 < size) {
    const int c = GetTextChar();
    if (c == EOF) break;
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  if (std::ferror(m_pStream)) throwErrno(errno, m_strFileName);
  return (n == 0 && size > 1) ? nullptr : buffer;
}

void CStdioFile::WriteString(LPCSTR text) {
  CheckStream();
  if (!text) return;
  if (std::fputs(text, m_pStream) == EOF) throwErrno(errno, m_strFileName);
}

UINT CStdioFile::Read(void* buffer, UINT count) {
  CheckStream();
  if (count == 0) return 0;
  if (!buffer) AfxThrowFileException(CFileException::generic, ERROR_INVALID_PARAMETER, m_strFileName);
  UINT n = 0;
  if (text_) {
    auto* p = static_cast<char*>(buffer);
    int c;
    while (n < count && (c = GetTextChar()) != EOF) p[n++] = static_cast<char>(c);
  } else {
    n = static_cast<UINT>(std::fread(buffer, 1, count, m_pStream));
  }
  if (std::ferror(m_pStream)) throwErrno(errno, m_strFileName);
  return n;
}

void CStdioFile::Write(const void* buffer, UINT count) {
  CheckStream();
  if (count == 0) return;
  if (!buffer) AfxThrowFileException(CFileException::generic, ERROR_INVALID_PARAMETER, m_strFileName);
  if (std::fwrite(buffer, 1, count, m_pStream) != count) throwErrno(errno, m_strFileName);
}

LONG CStdioFile::Seek(LONG offset, UINT from) {
  CheckStream();
  const int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
  if (from > end || std::fseek(m_pStream, offset, whence) != 0)
    AfxThrowFileException(CFileException::badSeek, os::kNegativeSeek, m_strFileName);
  sawCtrlZ_ = false;
  return static_cast<LONG>(static_cast<DWORD>(std::ftell(m_pStream)));
}

DWORD CStdioFile::GetPosition() const {
  CheckStream();
  const long pos = std::ftell(m_pStream);
  if (pos < 0) throwErrno(errno, m_strFileName);
  return static_cast<DWORD>(pos);
}

DWORD CStdioFile::GetLength() const {
  CheckStream();
  const long pos = std::ftell(m_pStream);
  if (pos < 0 || std::fseek(m_pStream, 0, SEEK_END) != 0) throwErrno(errno, m_strFileName);
  const long length = std::ftell(m_pStream);
  if (length < 0 || std::fseek(m_pStream, pos, SEEK_SET) != 0) throwErrno(errno, m_strFileName);
  return static_cast<DWORD>(length);
}

void CStdioFile::SetLength(DWORD newLength) {
  CheckStream();
  if (std::fflush(m_pStream) != 0) throwErrno(errno, m_strFileName);
  if (::ftruncate(::fileno(m_pStream), static_cast<off_t>(newLength)) != 0)
    throwErrno(errno, m_strFileName);
  if (std::fseek(m_pStream, static_cast<long>(newLength), SEEK_SET) != 0)
    throwErrno(errno, m_strFileName);
}

void CStdioFile::Flush() {
  if (m_pStream && std::fflush(m_pStream) != 0) throwErrno(errno, m_strFileName);
}

void CStdioFile::Close() {
  int err = 0;
  if (m_pStream) {
    ReleaseShare();
    if (std::fclose(m_pStream) != 0) err = errno ? errno : EIO;
  }
  const CString name = m_strFileName;
  m_pStream = nullptr;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (err) throwErrno(err, name);
}

void CStdioFile::Abort() {
  if (m_pStream) {
    ReleaseShare();
    std::fclose(m_pStream);
  }
  m_pStream = nullptr;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}
