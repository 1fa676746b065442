// GetPrivateProfileString and its relatives over settings files on disk.
// Every call reads the file afresh (the files are small), and a write
// replaces the file in one step, so a failed write never leaves it half done.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "errno_map.h"
#include "win/kernel.h"
#include "win/path_map.h"
#include "win/profile_parser.h"

namespace {

// Settings files are a few kilobytes; anything past this is not one.
constexpr off_t kMaxProfileBytes = 16 * 1024 * 1024;

std::optional<std::string> ReadFile(const std::string& host) {
  int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    win::detail::SetLastErrorFromErrno(errno, host);
    return std::nullopt;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxProfileBytes) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return bytes;
}

win::profile::Document Load(LPCSTR file) {
  if (!file || !*file) return {};
  auto bytes = ReadFile(win::HostPath(file));
  return bytes ? win::profile::Parse(*bytes) : win::profile::Document{};
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// When the directory takes no new files but the file itself may be written,
// the file is rewritten in place.
bool RewriteInPlace(const std::string& host, const std::string& bytes) {
  int fd = ::open(host.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    win::detail::SetLastErrorFromErrno(errno, host);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) win::detail::SetLastErrorFromErrno(err, host);
  return ok;
}

// Writes `bytes` beside `host` and renames it over the file; a symbolic link
// is followed, so the link stays and its target changes. A read-only file
// stays unchanged, as Windows leaves it.
bool ReplaceFile(std::string host, const std::string& bytes) {
  if (char* real = ::realpath(host.c_str(), nullptr)) {
    host = real;
    std::free(real);
  }
  mode_t mode;
  struct stat st;
  bool exists = ::stat(host.c_str(), &st) == 0;
  if (exists) {
    if ((st.st_mode & 0222) == 0 || ::access(host.c_str(), W_OK) != 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  std::string temp = host + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    if (exists && errno == EACCES) return RewriteInPlace(host, bytes);
    win::detail::SetLastErrorFromErrno(errno, host);
    return false;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.c_str(), host.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    win::detail::SetLastErrorFromErrno(err, host);
  }
  return ok;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that would change the shape of the file when written (a
// line break starts a new line, "=" in a key or "]" in a section name would
// be read back differently, ";" or "[" at the start of a key turns it into
// a comment or a section) are refused instead of written.
bool SafeToWrite(LPCSTR section, LPCSTR key, LPCSTR value) {
  std::string_view s = win::profile::Trim(section);
  if (s.empty() || HasLineBreak(s) || s.find(']') != std::string_view::npos) return false;
  if (key) {
    std::string_view k = win::profile::Trim(key);
    if (k.empty() || HasLineBreak(k) || k.find('=') != std::string_view::npos) return false;
    if (k[0] == ';' || k[0] == '[') return false;
  }
  return !value || !HasLineBreak(value);
}

std::string DefaultText(LPCSTR def) {
  std::string d = def ? def : "";
  while (!d.empty() && d.back() == ' ') d.pop_back();  // Windows drops trailing blanks
  return d;
}

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR out, DWORD size,
                              LPCSTR file) {
  if (!out || size == 0) return 0;
  win::profile::Document doc = Load(file);
  if (!section) return win::profile::CopyList(win::profile::SectionNames(doc), out, size);
  if (!key) return win::profile::CopyList(win::profile::KeyNames(doc, section), out, size);
  auto value = win::profile::FindValue(doc, section, key);
  return win::profile::CopyValue(value ? *value : DefaultText(def), out, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT def, LPCSTR file) {
  if (!section || !key) return static_cast<UINT>(def);
  auto value = win::profile::FindValue(Load(file), section, key);
  return value ? win::profile::ParseInt(*value) : static_cast<UINT>(def);
}

DWORD GetPrivateProfileSection(LPCSTR section, LPSTR out, DWORD size, LPCSTR file) {
  if (!out || size == 0) return 0;
  if (!section) return win::profile::CopyList("", out, size);
  return win::profile::CopyList(win::profile::SectionEntries(Load(file), section), out, size);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  if (!section && !key && !value) return TRUE;  // "flush the cache": there is none
  if (!section || !file || !*file || !SafeToWrite(section, key, value)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string host = win::HostPath(file);
  std::string original;
  if (auto bytes = ReadFile(host)) {
    original = std::move(*bytes);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    return FALSE;  // unreadable, too large, or its directory is missing
  }
  win::profile::Document doc = win::profile::Parse(original);
  if (!key)
    win::profile::DeleteSection(doc, section);
  else if (!value)
    win::profile::DeleteKey(doc, section, key);
  else
    win::profile::SetValue(doc, section, key, value);
  std::string updated = win::profile::Serialize(doc);
  if (updated == original && !original.empty()) return TRUE;
  if (updated.empty() && original.empty()) return TRUE;  // nothing to delete
  return ReplaceFile(host, updated) ? TRUE : FALSE;
}
