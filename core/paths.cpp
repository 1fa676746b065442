#include "core/paths.h"

#include <cstring>
#include <string>

#include "framework/app_services.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

// The buffers of the three composing functions.
char gGeneral[kPathBufferSize];
char gStartPath[kPathBufferSize];
char gLocalPath[kPathBufferSize];

bool isSeparator(char c) { return c == '\\' || c == '/'; }

const char* store(char* buffer, const std::string& text) {
  size_t n = text.size() < kPathBufferSize - 1 ? text.size() : kPathBufferSize - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return buffer;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(win_toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string currentDirectory() { return win::CurrentWindowsDirectory(); }

struct Directories {
  bool haveStart = false;
  std::string start;
  bool haveLocal = false;
  std::string local;
};
Directories& directories() {
  static Directories d;
  return d;
}

const std::string& startDirectory() {
  Directories& d = directories();
  if (!d.haveStart) {
    CString start;
    d.start = upper(GetAppStartDir(start) ? start.str() : currentDirectory());
    d.haveStart = true;
  }
  return d.start;
}

const std::string& localDirectory() {
  Directories& d = directories();
  if (!d.haveLocal) {
    CString configured;
    GetAppProfileString("CONNECT", "LocalDataPath", "", configured);
    std::string dir = configured.str();
    if (dir.empty()) dir = currentDirectory();
    d.local = upper(dir);
    d.haveLocal = true;
  }
  return d.local;
}

std::string compose(const char* dir, const char* name, const char* ext) {
  std::string result;
  if (!name) name = "";
  if (isAbsolute(name)) {
    result = name;
  } else {
    result = dir ? dir : "";
    if (!result.empty() && !isSeparator(result.back())) result += '\\';
    result += name;
  }
  if (ext && *ext) {
    // An extension of the last component is replaced, a dot in a directory
    // name is left alone.
    size_t cut = result.find_last_of(".\\/");
    if (cut != std::string::npos && result[cut] == '.') result.erase(cut);
    if (ext[0] != '.') result += '.';
    result += ext;
  }
  return upper(std::move(result));
}

}  // namespace

bool isAbsolute(const char* name) {
  if (!name || !*name) return false;
  if (name[0] == '/') return true;
  if (name[1] == ':') return true;
  return name[0] == '\\' && name[1] == '\\';
}

const char* makePath(const char* dir, const char* name, const char* ext) {
  return store(gGeneral, compose(dir, name, ext));
}

const char* makeAppPath(const char* name, const char* ext) {
  return store(gStartPath, compose(startDirectory().c_str(), name, ext));
}

const char* localDataPath(const char* name, const char* ext) {
  return store(gLocalPath, compose(localDirectory().c_str(), name, ext));
}

const char* makeDataDirPath(const char* name, const char* ext) {
  return store(gGeneral, compose("", name, ext));
}

void ForgetPathDirectories() { directories() = Directories(); }

int driveKind(const char* path) {
  if (!path || !*path) return 0;
  char root[4] = {};
  if (path[0] == '/') {
    root[0] = '/';
  } else {
    for (int i = 0; i < 3 && path[i]; ++i)
      root[i] = static_cast<char>(win_toupper(static_cast<unsigned char>(path[i])));
  }
  // A drive without a medium must not bring up the system's error box.
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  UINT type = GetDriveType(root);
  SetErrorMode(old);
  switch (type) {
    case DRIVE_FIXED: return 0;
    case DRIVE_REMOTE: return 1;
    case DRIVE_CDROM: return 2;
    case DRIVE_REMOVABLE: return 3;
    default: return 0;
  }
}

int getVolumeLabel(const char* /*path*/, CString& /*out*/) { return 0; }
