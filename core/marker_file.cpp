#include "core/marker_file.h"

#include <string>

#include "core/environ.h"
#include "win/kernel.h"

namespace {

constexpr int kMaxHostName = 100;

// Asked once and kept; asked again only while it could not be had.
const CString& markerHostName() {
  static CString name;
  if (name.IsEmpty()) QueryHostName(name);
  return name;
}

bool writeAll(HFILE file, const std::string& bytes) {
  if (bytes.empty()) return true;
  UINT n = _lwrite(file, bytes.data(), static_cast<UINT>(bytes.size()));
  return n == bytes.size();
}

}  // namespace

bool writeMarkerFileFor(const char* path, const CString& host, int port) {
  if (!path) return false;
  DeleteFile(path);
  HFILE file = _lcreat(path, 0);
  if (file == HFILE_ERROR) return false;
  std::string bytes = host.str().substr(0, kMaxHostName);
  bytes += '\0';
  bytes += std::to_string(port);
  bool ok = writeAll(file, bytes);
  if (_lclose(file) == HFILE_ERROR) ok = false;
  return ok;
}

bool writeMarkerFile(const char* path, int port) {
  return writeMarkerFileFor(path, markerHostName(), port);
}

bool removeMarkerFile(const char* path) {
  if (!path) return false;
  return DeleteFile(path) != FALSE;
}
