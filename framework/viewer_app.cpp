#include "framework/viewer_app.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "win/kernel.h"
#include "win/path_map.h"
#include "win/user.h"

namespace {

CString currentDirectory() { return CString(win::CurrentWindowsDirectory()); }

bool endsInSeparator(const CString& s) {
  char last = s.GetAt(s.GetLength() - 1);
  return last == '\\' || last == '/';
}

CString withSeparator(const CString& dir) {
  return dir.IsEmpty() || endsInSeparator(dir) ? dir : dir + "\\";
}

// MFC owns these strings by malloc and frees them with free; replacing one
// frees the old copy.
void replaceOwned(const char*& slot, const char* value) {
  char* copy = value ? strdup(value) : nullptr;
  std::free(const_cast<char*>(slot));
  slot = copy;
}

}  // namespace

ViewerApp::ViewerApp(const char* appName) : CWinApp(appName) {
  startDir_ = currentDirectory();
}

ViewerApp::~ViewerApp() = default;

bool ViewerApp::SetIniPath(const char* name) {
  // Copied first: `name` may be the executable name that is replaced below.
  CString base(name ? name : m_pszExeName);
  // The directory may be as deep as it is, but a name longer than a file
  // name can be is refused rather than cut to another file's name.
  if (base.GetLength() + 4 > kMaxFileNameChars) return false;
  iniPath_ = withSeparator(currentDirectory()) + base + ".ini";
  replaceOwned(m_pszProfileName, iniPath_);
  replaceOwned(m_pszExeName, base);
  return true;
}

CString ViewerApp::GetProfileString(const char* section, const char* key, const char* def) {
  char buffer[kProfileValueChars + 1] = {};
  GetPrivateProfileString(section, key, def ? def : "", buffer, sizeof buffer, iniPath_);
  buffer[kProfileValueChars] = '\0';
  return CString(buffer);
}

int ViewerApp::GetProfileInt(const char* section, const char* key, int def) {
  return static_cast<int>(GetPrivateProfileInt(section, key, def, iniPath_));
}

CString ViewerApp::ReadWholeValue(const char* section, const char* key, const CString& def) {
  // Read into a buffer that grows until the value fits.
  std::string buffer(kProfileValueChars + 1, '\0');
  for (;;) {
    const DWORD n = GetPrivateProfileString(section, key, def, buffer.data(),
                                            static_cast<DWORD>(buffer.size()), iniPath_);
    if (n + 1 < buffer.size()) return CString(buffer.c_str());
    buffer.assign(buffer.size() * 2, '\0');
  }
}

BOOL ViewerApp::InitInstance() {
  // Without a settings file of its own the program would read and write
  // another one.
  if (iniPath_.IsEmpty() && !SetIniPath(nullptr)) return FALSE;

  const char* section = m_pszExeName ? m_pszExeName : "";
  const CString start = currentDirectory();
  CString home = ReadWholeValue(section, "HomeDir", start);
  home.TrimLeft();
  home.TrimRight();
  // An empty value names no directory; with a separator added it would be
  // the root of the drive.
  if (home.IsEmpty()) home = start;
  homeDir_ = withSeparator(home);
  // A home directory that cannot be entered leaves the start directory
  // current; nothing is reported.
  SetCurrentDirectory(homeDir_);

  CString help = withSeparator(currentDirectory()) + section + ".hlp";
  replaceOwned(m_pszHelpFilePath, help);

  busyCursor_ = LoadCursor("BUSYCURSOR");
  return TRUE;
}

int ViewerApp::ExitInstance() {
  int result = CWinApp::ExitInstance();
  replaceOwned(m_pszHelpFilePath, nullptr);
  replaceOwned(m_pszProfileName, nullptr);
  replaceOwned(m_pszExeName, nullptr);
  return result;
}

void ViewerApp::ChangeBusyCount(int delta) {
  const std::int32_t old = busyCount_;
  busyCount_ += delta;
  if (busyCount_ < 1) {
    // Only the step out of the busy state restores: a surplus End must not
    // put back a cursor that the application has replaced since.
    if (old > 0) SetCursor(savedCursor_);
    busyCount_ = 0;
    return;
  }
  HCURSOR previous = SetCursor(busyCursor_);
  if (previous && previous != busyCursor_) savedCursor_ = previous;
}

ViewerApp* GetViewerApp() { return dynamic_cast<ViewerApp*>(AfxGetApp()); }

// The foundation's view of the application (app_services.h).

void BeginBusyCursor() {
  if (ViewerApp* app = GetViewerApp()) app->ChangeBusyCount(1);
}

void EndBusyCursor() {
  if (ViewerApp* app = GetViewerApp()) app->ChangeBusyCount(-1);
}

void RefreshBusyCursor() {
  if (ViewerApp* app = GetViewerApp()) app->ChangeBusyCount(0);
}

bool GetAppStartDir(CString& out) {
  ViewerApp* app = GetViewerApp();
  if (!app) return false;
  out = app->GetStartDir();
  return true;
}

bool GetAppHomeDir(CString& out) {
  ViewerApp* app = GetViewerApp();
  if (!app) return false;
  out = app->GetHomeDir();
  return true;
}

bool GetAppProfileString(const char* section, const char* key, const char* def, CString& out) {
  ViewerApp* app = GetViewerApp();
  if (!app) return false;
  out = app->GetProfileString(section, key, def);
  return true;
}

int AppMessageBox(const char* text, UINT type) { return AfxMessageBox(text, type); }
