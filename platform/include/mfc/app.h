// The application object: CCmdTarget, CWinThread and CWinApp, with the
// message loop and idle processing, the profile (settings file) functions
// and AfxMessageBox. The window classes (CWnd and below) come later; until
// then the main window is only a pointer.
#pragma once

#include <vector>

#include "mfc/cstring.h"
#include "mfc/object.h"
#include "win/types.h"
#include "win/user.h"

class CWnd;

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;
};

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread() = default;

  // Start-up; FALSE ends the program at once (after ExitInstance).
  virtual BOOL InitInstance() { return FALSE; }
  // Clean-up; the result is the program's exit code.
  virtual int ExitInstance();
  // The message loop: while nothing is waiting, OnIdle(0), OnIdle(1), ...
  // until it returns FALSE; then messages are taken and dispatched until the
  // queue is empty again, which starts a new round of idle calls. WM_QUIT
  // ends the loop with ExitInstance().
  virtual int Run();
  // FALSE when no more idle processing is needed until the next message.
  virtual BOOL OnIdle(LONG count);
  // TRUE when the message was handled and must not be dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // Takes one message (waiting for it) and dispatches it; FALSE for WM_QUIT.
  virtual BOOL PumpMessage();
  // Whether a message starts a new round of idle processing (mouse moves
  // that do not move, paint messages and the caret's system timer do not).
  virtual BOOL IsIdleMessage(MSG* msg);

  CWnd* m_pMainWnd = nullptr;
  BOOL m_bAutoDelete = FALSE;
  MSG m_msgCur{};

 private:
  POINT lastMousePos_{-1, -1};
  UINT lastMouseMsg_ = 0;
};

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // Makes this object the current application (AfxGetApp). The name is
  // copied; null leaves the title to start-up (the executable's name).
  explicit CWinApp(LPCSTR appName = nullptr);
  // Frees the four name strings with free() and clears AfxGetApp.
  ~CWinApp() override;

  BOOL InitInstance() override { return TRUE; }
  // Saves the recent-file list (when one was loaded); returns the exit code
  // that WM_QUIT carried.
  int ExitInstance() override;
  BOOL OnIdle(LONG count) override;

  // Settings from the file m_pszProfileName names (a private-profile file).
  // Without a profile name the defaults are returned and writes fail.
  CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
  UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
  BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
  BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);

  // The standard settings: the recent-file list ("Recent File List",
  // File1..FileN) and the print-preview page count ("Settings",
  // "PreviewPages").
  void LoadStdProfileSettings(UINT maxRecentFiles = 4);
  void SaveStdProfileSettings();
  void AddToRecentFileList(LPCSTR path);  // most recent first; kept unique
  int RecentFileCount() const { return static_cast<int>(recentFiles_.size()); }
  CString RecentFile(int index) const;

  // Shows the box for AfxMessageBox: captioned with the title, owned by the
  // main window, with MFC's default icon for the box type when none is given
  // (exclamation for OK, OK-Cancel, Yes-No and Yes-No-Cancel boxes).
  virtual int DoMessageBox(LPCSTR prompt, UINT type, UINT helpId);

  // The names below are plain C strings owned by the application object;
  // the application may replace one with a string of its own from malloc()
  // (freeing the old one with free()), as MFC applications do.
  const char* m_pszAppName = nullptr;
  const char* m_pszExeName = nullptr;
  const char* m_pszHelpFilePath = nullptr;
  const char* m_pszProfileName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  HINSTANCE m_hPrevInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  UINT m_nNumPreviewPages = 0;

 private:
  bool recentLoaded_ = false;
  bool recentWritten_ = false;  // the file holds a recent-file list
  UINT maxRecentFiles_ = 0;
  std::vector<CString> recentFiles_;
};

// The current application, or null.
CWinApp* AfxGetApp();
// The application's instance handle (null without an application).
HINSTANCE AfxGetInstanceHandle();
// The application's main window, or null.
CWnd* AfxGetMainWnd();
// The application's title, or null.
LPCSTR AfxGetAppName();

// A box with the application's title as caption ("Tolm" without an
// application), owned by the main window. The id form shows a string of the
// string table (an empty text when the id is unknown).
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

// The window handle of a CWnd. The window classes install the resolver when
// they arrive; until then a main window has no handle and boxes no owner.
using AfxWindowHandleResolver = HWND (*)(const CWnd*);
void AfxSetWindowHandleResolver(AfxWindowHandleResolver resolver);
HWND AfxGetWindowHandle(const CWnd* wnd);

// Start-up of the application object, as WinMain did it: fills the instance
// handle, command line and show state, and the names that are still null:
// the executable's base name, the title (the executable's name), the profile
// name ("<exe>.INI") and the help path ("<program path without extension>.HLP").
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
// AfxWinInit, InitInstance, then Run (or ExitInstance when InitInstance
// fails); the result is the exit code. Returns -1 without an application.
int AfxWinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
