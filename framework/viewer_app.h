// The reusable viewer-application base: it locates the settings file, moves
// to the home directory, sets the help file, and owns the busy cursor and the
// busy count. The client's application class derives from it.
#pragma once

#include "framework/app_services.h"
#include "mfc/afx.h"
#include "mfc/cstring.h"
#include "win/types.h"

#include <cstdint>

class ViewerApp : public CWinApp {
 public:
  // Settings values are read through a buffer of this many characters.
  static constexpr int kProfileValueChars = 259;
  static constexpr int kDirChars = 259;
  // The longest name of one file.
  static constexpr int kMaxFileNameChars = 255;

  explicit ViewerApp(const char* appName = nullptr);
  ~ViewerApp() override;

  // Settings file, home directory (made current), help file, busy cursor.
  BOOL InitInstance() override;
  // MFC's exit, then the three path strings this class owns are freed.
  int ExitInstance() override;

  // The settings file becomes "<current directory>\<name>.ini" and MFC's
  // profile name; `name` (the executable base name when null) becomes the
  // executable base name. A name too long for a file name is refused
  // (false), and nothing changes: a cut name would name another file.
  bool SetIniPath(const char* name);
  const char* GetIniPath() const { return iniPath_; }

  // A value of the settings file, cut to 259 characters; the default (a null
  // default counts as empty) when the key is missing.
  CString GetProfileString(const char* section, const char* key, const char* def = nullptr);
  int GetProfileInt(const char* section, const char* key, int def);

  // The home directory, ending in a separator.
  CString GetHomeDir() const { return homeDir_; }
  // The directory that was current when the application was constructed.
  CString GetStartDir() const { return startDir_; }

  // Adds delta to the busy count. While the count is positive the busy cursor
  // is shown (the cursor it replaced is remembered); when the count drops
  // from positive to 0 the remembered cursor comes back. The count never
  // goes below 0.
  void ChangeBusyCount(int delta);
  int BusyCount() const { return busyCount_; }
  HCURSOR BusyCursor() const { return busyCursor_; }
  HCURSOR SavedCursor() const { return savedCursor_; }

 private:
  // The value of a key without the cut of GetProfileString (a path may be
  // longer than a setting); the default when the key is missing.
  CString ReadWholeValue(const char* section, const char* key, const CString& def);

  // Grows with the path: a deep start directory must not cut it.
  CString iniPath_;
  CString startDir_;
  CString homeDir_;
  HCURSOR busyCursor_ = nullptr;
  HCURSOR savedCursor_ = nullptr;
  std::int32_t busyCount_ = 0;
};

// The current application when it is a ViewerApp; null otherwise.
ViewerApp* GetViewerApp();
