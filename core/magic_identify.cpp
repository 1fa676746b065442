// Identifying a file by its first bytes against format.dat in the home
// directory.
#include <cstring>
#include <string>

#include "framework/app_services.h"
#include "core/magic.h"
#include "core/message_boxes.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

constexpr UINT kStrUnableToOpenFile = 9;

std::string homeDirectory() {
  CString home;
  std::string dir = GetAppHomeDir(home) ? home.str() : win::CurrentWindowsDirectory();
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
  return dir;
}

}  // namespace

bool IdentifyFileFormat(const char* file, char* out, int outSize) {
  HFILE f = file ? _lopen(file, OF_READ) : HFILE_ERROR;
  if (f == HFILE_ERROR) {
    ShowMessageId(kStrUnableToOpenFile);
    return false;
  }
  unsigned char head[kMagicReadBytes];
  UINT n = _lread(f, head, sizeof head);
  _lclose(f);
  if (n == static_cast<UINT>(HFILE_ERROR) || n > sizeof head) n = 0;

  char result[kMagicResultSize] = {};
  const std::string magicFile = homeDirectory() + "format.dat";
  const bool found =
      MatchMagic(magicFile.c_str(), head, static_cast<int>(n), result, sizeof result);
  if (out && outSize > 0) {
    std::strncpy(out, result, static_cast<std::size_t>(outSize) - 1);
    out[outSize - 1] = '\0';
  }
  return found;
}
