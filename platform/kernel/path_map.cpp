// Windows names -> host paths and back (see win/path_map.h).
#include "win/path_map.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "win/kernel.h"

namespace win {
namespace {

struct SplitName {
  bool absolute = false;
  std::vector<std::string> parts;
};

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrivePrefix(const char* name) {
  unsigned char c = static_cast<unsigned char>(name[0]);
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && name[1] == ':';
}

// "C:\x" and "\x" and "/x" are absolute; "C:x" is relative to the current
// directory of drive C:, which is the current directory.
SplitName Split(const char* name) {
  SplitName out;
  const char* p = name;
  if (HasDrivePrefix(p)) p += 2;
  out.absolute = IsSeparator(*p);
  while (*p) {
    while (IsSeparator(*p)) ++p;
    const char* start = p;
    while (*p && !IsSeparator(*p)) ++p;
    if (p > start) out.parts.emplace_back(start, p);
  }
  return out;
}

std::string Join(bool absolute, size_t ups, const std::vector<std::string>& parts) {
  std::string s = absolute ? "/" : "";
  for (size_t i = 0; i < ups; ++i) {
    if (!s.empty() && s.back() != '/') s += '/';
    s += "..";
  }
  for (const auto& part : parts) {
    if (!s.empty() && s.back() != '/') s += '/';
    s += part;
  }
  return s;
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The name under which `wanted` exists in `dir`, or `wanted` itself when it
// does not exist there (or the directory cannot be read).
std::string MatchComponent(const std::string& dir, const std::string& wanted) {
  std::string lookIn = dir.empty() ? "." : dir;
  std::string exact = lookIn == "/" ? "/" + wanted : lookIn + "/" + wanted;
  if (EntryExists(exact)) return wanted;
  DIR* d = ::opendir(lookIn.c_str());
  if (!d) return wanted;
  // A directory of thousands of names is read whenever a name does not
  // exist (a fresh temporary name, say): names of another length are passed
  // over before anything else is done with them.
  std::string best;
  bool found = false;
  while (dirent* e = ::readdir(d)) {
    const char* name = e->d_name;
    if (std::strlen(name) != wanted.size() || _stricmp(name, wanted.c_str()) != 0) continue;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    if (!found || best.compare(name) > 0) best = name;
    found = true;
  }
  ::closedir(d);
  return found ? best : wanted;
}

// Folds "." and ".." of an already split name without touching the disk.
void Fold(const std::vector<std::string>& in, bool absolute, size_t& ups,
          std::vector<std::string>& out) {
  for (const auto& part : in) {
    if (part == ".") continue;
    if (part == "..") {
      if (!out.empty())
        out.pop_back();
      else if (!absolute)
        ++ups;
      continue;
    }
    out.push_back(part);
  }
}

}  // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && _stricmp(a.c_str(), b.c_str()) == 0;
}

std::string HostPath(const char* name) {
  if (!name || !*name) return std::string();
  SplitName split = Split(name);
  // A name spelled as it stands on disk, as most are, is found with one
  // look rather than one a component: when the whole of it exists, every
  // component exists in that spelling, which is what the search below
  // would keep.
  {
    size_t exactUps = 0;
    std::vector<std::string> folded;
    Fold(split.parts, split.absolute, exactUps, folded);
    const std::string exact = Join(split.absolute, exactUps, folded);
    if (exact.empty()) return ".";
    if (EntryExists(exact)) return exact;
  }
  size_t ups = 0;
  std::vector<std::string> resolved;
  for (const auto& part : split.parts) {
    if (part == "." || part == "..") {
      std::vector<std::string> one{part};
      Fold(one, split.absolute, ups, resolved);
      continue;
    }
    resolved.push_back(MatchComponent(Join(split.absolute, ups, resolved), part));
  }
  std::string out = Join(split.absolute, ups, resolved);
  return out.empty() ? "." : out;
}

std::string HostPathOfNewName(const std::string& name) {
  const char* const start = name.c_str();
  const char* leaf = HasDrivePrefix(start) ? start + 2 : start;
  const char* const afterDrive = leaf;
  for (const char* p = leaf; *p; ++p)
    if (IsSeparator(*p)) leaf = p + 1;
  if (!*leaf || std::strcmp(leaf, ".") == 0 || std::strcmp(leaf, "..") == 0) return std::string();
  if (leaf == afterDrive) return leaf;  // in the current directory
  std::string dir = HostPath(std::string(start, leaf));
  if (dir.back() != '/') dir += '/';
  return dir + leaf;
}

std::string WindowsPath(const std::string& hostPath) {
  std::string out;
  size_t start = 0;
  if (!hostPath.empty() && IsSeparator(hostPath[0])) {
    out = "C:";
  } else if (hostPath.size() >= 2 && HasDrivePrefix(hostPath.c_str())) {
    out = hostPath.substr(0, 2);
    start = 2;
  }
  for (size_t i = start; i < hostPath.size(); ++i) out += hostPath[i] == '/' ? '\\' : hostPath[i];
  if (out.size() == 2 && out[1] == ':') out += '\\';
  return out;
}

std::string CurrentHostDirectory() {
  std::vector<char> buf(4096);
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (::getcwd(buf.data(), buf.size())) return std::string(buf.data());
    if (errno != ERANGE) return std::string();
    buf.resize(buf.size() * 4);
  }
  return std::string();
}

std::string AbsoluteHostPath(const std::string& hostPath) {
  std::string full = hostPath;
  if (full.empty() || full[0] != '/') full = CurrentHostDirectory() + "/" + full;
  SplitName split = Split(full.c_str());
  size_t ups = 0;
  std::vector<std::string> parts;
  Fold(split.parts, true, ups, parts);
  return Join(true, 0, parts);
}

std::string FullWindowsPath(const char* name) {
  return WindowsPath(AbsoluteHostPath(HostPath(name)));
}

}  // namespace win

DWORD MapPathToHost(LPCSTR name, LPSTR out, DWORD size) {
  std::string host = win::HostPath(name);
  if (!out || size == 0) return 0;
  if (host.size() + 1 > size) {
    out[0] = '\0';
    return 0;
  }
  std::memcpy(out, host.c_str(), host.size() + 1);
  return static_cast<DWORD>(host.size());
}
