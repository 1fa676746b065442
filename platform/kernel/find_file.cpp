// Directory searches: FindFirstFile collects the matching names of one
// directory at once (sorted, so every run sees the same order) and hands
// them out one by one.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "win/kernel.h"
#include "win/path_map.h"

namespace {

// Windows-1252 letters folded to lower case; names compare this way.
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  return c;
}

// '*' any run, '?' one character; the usual greedy walk with one point to
// come back to, so a pattern of many stars stays linear per star.
bool Matches(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' ||
               Fold(static_cast<unsigned char>(*pattern)) == Fold(static_cast<unsigned char>(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

struct Search {
  std::string hostDirectory;
  std::vector<std::string> names;
  std::size_t next = 0;
};

// 100-nanosecond steps since 1601, as Windows counts file times.
FILETIME ToFileTime(time_t t) {
  const unsigned long long ticks =
      (static_cast<unsigned long long>(t < 0 ? 0 : t) + 11644473600ull) * 10000000ull;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool Fill(const Search& s, const std::string& name, WIN32_FIND_DATA* data) {
  std::memset(data, 0, sizeof *data);
  struct stat st;
  const std::string full = s.hostDirectory + "/" + name;
  if (::stat(full.c_str(), &st) != 0) return false;
  data->dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  if (!(st.st_mode & S_IWUSR)) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
  const unsigned long long size = S_ISDIR(st.st_mode) ? 0 : static_cast<unsigned long long>(st.st_size);
  data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(size);
  data->ftCreationTime = data->ftLastWriteTime = ToFileTime(st.st_mtime);
  data->ftLastAccessTime = ToFileTime(st.st_atime);
  const std::size_t n = std::min(name.size(), sizeof data->cFileName - 1);
  std::memcpy(data->cFileName, name.data(), n);
  return true;
}

// The next entry that can still be read (one may have gone since the
// search began); false at the end.
bool Advance(Search& s, WIN32_FIND_DATA* data) {
  while (s.next < s.names.size())
    if (Fill(s, s.names[s.next++], data)) return true;
  return false;
}

}  // namespace

HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data) {
  if (!pattern || !*pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string text(pattern);
  const std::size_t cut = text.find_last_of("\\/:");
  const std::string directory = cut == std::string::npos ? "." : text.substr(0, cut + 1);
  const std::string namePattern = cut == std::string::npos ? text : text.substr(cut + 1);
  auto search = new Search;
  search->hostDirectory = win::HostPath(directory);
  if (search->hostDirectory.empty()) search->hostDirectory = ".";
  DIR* dir = ::opendir(search->hostDirectory.c_str());
  if (!dir) {
    delete search;
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  while (const dirent* e = ::readdir(dir))
    if (Matches(namePattern.c_str(), e->d_name)) search->names.emplace_back(e->d_name);
  ::closedir(dir);
  std::sort(search->names.begin(), search->names.end());
  if (!Advance(*search, data)) {
    delete search;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return static_cast<HANDLE>(search);
}

BOOL FindNextFile(HANDLE handle, LPWIN32_FIND_DATA data) {
  if (!handle || handle == INVALID_HANDLE_VALUE || !data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!Advance(*static_cast<Search*>(handle), data)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete static_cast<Search*>(handle);
  return TRUE;
}
