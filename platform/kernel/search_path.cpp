// SearchPath: finding a file along a list of directories.
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "copy_out.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

std::vector<std::string> SplitList(const std::string& list, char separator) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t end = list.find(separator, start);
    std::string item = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    out.push_back(item.empty() ? "." : item);  // an empty entry is the current directory
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

bool HasExtension(const std::string& name) {
  size_t cut = name.find_last_of("/\\:");
  size_t dot = name.find_last_of('.');
  return dot != std::string::npos && (cut == std::string::npos || dot > cut);
}

bool HasDirectoryPart(const std::string& name) {
  return name.find_first_of("/\\") != std::string::npos ||
         (name.size() >= 2 && name[1] == ':');
}

// The host path of `name` in `dir` when it exists there.
bool Exists(const std::string& candidate, std::string& host) {
  host = win::HostPath(candidate);
  struct stat st;
  return !host.empty() && ::stat(host.c_str(), &st) == 0;
}

}  // namespace

DWORD SearchPath(LPCSTR path, LPCSTR name, LPCSTR ext, DWORD size, LPSTR out, LPSTR* filePart) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string wanted = name;
  if (ext && *ext && !HasExtension(wanted)) wanted += ext;

  std::vector<std::string> dirs;
  if (HasDirectoryPart(wanted)) {
    dirs.push_back("");
  } else if (path) {
    dirs = SplitList(path, ';');
  } else {
    dirs.push_back(".");
    std::string programDir = win::ProgramHostDirectory();
    if (!programDir.empty()) dirs.push_back(programDir);
    if (const char* env = std::getenv("PATH")) {
      for (auto& d : SplitList(env, ':')) dirs.push_back(d);
    }
  }

  std::string host;
  for (const auto& dir : dirs) {
    std::string candidate = dir.empty() ? wanted : dir + "/" + wanted;
    if (!Exists(candidate, host)) continue;
    std::string full = win::WindowsPath(win::AbsoluteHostPath(host));
    DWORD n = win::detail::CopyOutOrNeeded(full, out, size);
    if (filePart && out && n < size) {
      size_t cut = full.find_last_of('\\');
      *filePart = out + (cut == std::string::npos ? 0 : cut + 1);
    }
    return n;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return 0;
}
