#include "app/settings/shell_settings.h"

#include <cstdlib>

#include "app/shell_state.h"
#include "core/languages.h"
#include "core/logbook.h"
#include "core/sort_order.h"
#include "framework/temp_files.h"
#include "framework/viewer_app.h"

namespace {

CString& LocalData() {
  static CString path;
  return path;
}

}  // namespace

CString WithDirectorySeparator(const CString& path) {
  if (path.IsEmpty()) return path;
  const char last = path.GetAt(path.GetLength() - 1);
  return last == ':' || last == '\\' || last == '/' ? path : path + "\\";
}

const CString& LocalDataDirectory() { return LocalData(); }

ShellSettings ReadShellSettings(ViewerApp& app) {
  ShellSettings s;
  s.server = app.GetProfileString("CONNECT", "Server", ServerAddress());
  s.login = app.GetProfileString("CONNECT", "Login", "");
  s.password = app.GetProfileString("CONNECT", "Password", "");
  s.autologin = app.GetProfileInt("CONNECT", "Autologin", 0);
  s.localDataPath = WithDirectorySeparator(app.GetProfileString("CONNECT", "LocalDataPath", ""));

  s.sortOrder = app.GetProfileString("INIT", "SortOrder", GetSortOrder());
  s.languageOrder = app.GetProfileString("INIT", "LanguageOrder", "");
  s.effects = app.GetProfileInt("INIT", "Effects", EffectsSetting());
  CString logbook = app.GetProfileString("INIT", "Logbook", "Y");
  logbook.MakeUpper();
  s.logbook = !logbook.IsEmpty() && logbook.GetAt(0) == 'Y';

  s.limitSize = std::atol(app.GetProfileString("CACHE", "LimitSize", "10000000"));
  s.limitFiles = app.GetProfileInt("CACHE", "LimitFiles", 50);
  s.limitImageSize = std::atol(app.GetProfileString("CACHE", "LimitImageSize", "2000000"));
  s.limitImages = app.GetProfileInt("CACHE", "LimitImages", 50);
  const CString clear = app.GetProfileString("CACHE", "ClearCache", "?");
  s.clearCache = clear.IsEmpty() ? '?' : clear.GetAt(0);

  // The temporary directory as a growing string: a deep one is kept whole.
  s.tempCacheTable = GetTempDirectory() + "tolm.csh";
  return s;
}

void ApplyShellSettings(const ShellSettings& s) {
  SetServerAddress(s.server);
  LocalData() = s.localDataPath;
  SetSortOrder(s.sortOrder);
  parseLanguageOrder(s.languageOrder);
  SetEffectsSetting(s.effects);
  Logbook::SetLogging(s.logbook);
  SetClearCacheMode(s.clearCache);
}
