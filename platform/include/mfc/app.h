// The application object: CWinThread and CWinApp, with the message loop and
// idle processing, the profile (settings file) functions, the document
// templates and the standard file, print-setup, help and exit commands, and
// AfxMessageBox.
#pragma once

#include <vector>

#include "mfc/cmd_target.h"
#include "mfc/cstring.h"
#include "mfc/object.h"
#include "mfc/wnd.h"
#include "win/print.h"
#include "win/types.h"
#include "win/user.h"

class CWnd;
class CDocTemplate;
class CDocument;
class CPrintDialog;

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
  // queue is empty again, which starts a new round of idle calls (unless
  // the last message was one IsIdleMessage discounts). WM_QUIT ends the loop
  // with ExitInstance().
  virtual int Run();
  // Idle work: count 0 sends WM_IDLEUPDATECMDUI to the visible main window
  // and its descendants (the user-interface state is brought up to date);
  // count 1 frees the temporary window, DC, GDI-object and menu objects
  // (unless they are locked). TRUE while more idle work is wanted (count 0).
  virtual BOOL OnIdle(LONG count);
  // Walks PreTranslateMessage from the message's window up to the main
  // window; a message of another top-level window (a modeless dialog) is
  // last offered to the main window (its accelerators). TRUE when the
  // message was handled and must not be dispatched.
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
  // Deletes the document templates, frees the four name strings with free()
  // and clears AfxGetApp.
  ~CWinApp() override;

  BOOL InitInstance() override { return TRUE; }
  // Saves the recent-file list (when one was loaded); returns the exit code
  // that WM_QUIT carried.
  int ExitInstance() override;
  // Count 0: CWinThread's count-0 work and the templates' idle work; count 1:
  // the temporary objects are freed. TRUE for count 0 (one more call wanted).
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
  virtual void AddToRecentFileList(LPCSTR path);  // most recent first; kept unique
  int RecentFileCount() const { return static_cast<int>(recentFiles_.size()); }
  CString RecentFile(int index) const;

  // ---- Documents
  // The application owns the template from now on (deleted with it); the
  // template's document strings are loaded.
  void AddDocTemplate(CDocTemplate* tmpl);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  int GetDocTemplateCount() const { return static_cast<int>(templates_.size()); }
  // Opens the file with the first template (a recent-file list entry is made).
  virtual CDocument* OpenDocumentFile(LPCSTR path);
  // Asks every modified document whether to save it; FALSE when the user
  // cancelled.
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL endSession);
  int GetOpenDocumentCount() const;
  // Hides the main window before the documents are closed.
  void HideApplication();
  // The file name for File Open and Save As. There is no file dialog in
  // this system: the base answers FALSE (cancelled); an application that
  // has a way to ask overrides it.
  virtual BOOL DoPromptFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openDialog,
                                CDocTemplate* tmpl);

  // ---- Printing
  // Runs the print dialog from the printer chosen last; what it chose is
  // kept for the next job. IDOK or IDCANCEL.
  virtual int DoPrintDialog(CPrintDialog* dlg);
  // The current printer's blocks (DEVMODE and DEVNAMES) into `pd`; FALSE
  // when there is no printer.
  BOOL GetPrinterDeviceDefaults(PRINTDLG* pd);

  // ---- Help: the client has no help file, so help shows nothing.
  virtual void WinHelp(DWORD data, UINT cmd = HELP_CONTEXT);

  // ---- Cursors and the wait cursor
  HCURSOR LoadCursor(LPCSTR name) const;
  HCURSOR LoadCursor(UINT id) const;
  HCURSOR LoadStandardCursor(LPCSTR name) const;
  HICON LoadIcon(LPCSTR name) const;
  HICON LoadIcon(UINT id) const;
  HICON LoadStandardIcon(LPCSTR name) const;
  // 1 begins, -1 ends, 0 sets the wait cursor again while one is wanted.
  virtual void DoWaitCursor(int code);
  // Windows 95 draws dialogs and controls in three dimensions already.
  BOOL Enable3dControls() { return TRUE; }

  // Shows the box for AfxMessageBox: captioned with the title, owned by the
  // main window, with MFC's default icon for the box type when none is given
  // (exclamation for OK, OK-Cancel, Yes-No and Yes-No-Cancel boxes).
  virtual int DoMessageBox(LPCSTR prompt, UINT type, UINT helpId);

  // ---- Command handlers (map them in the application's message map)
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnFilePrintSetup();
  afx_msg void OnAppExit();  // closes the main window (WM_CLOSE)
  afx_msg void OnHelp();
  afx_msg void OnHelpIndex();
  afx_msg void OnHelpFinder();
  afx_msg void OnHelpUsing();
  afx_msg void OnContextHelp();
  afx_msg BOOL OnOpenRecentFile(UINT id);

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
  // The printer chosen last (DEVMODE and DEVNAMES blocks, owned here).
  HGLOBAL m_hDevMode = nullptr;
  HGLOBAL m_hDevNames = nullptr;

 private:
  bool recentLoaded_ = false;
  bool recentWritten_ = false;  // the file holds a recent-file list
  UINT maxRecentFiles_ = 0;
  std::vector<CString> recentFiles_;
  std::vector<CDocTemplate*> templates_;
  int waitCursorCount_ = 0;
  HCURSOR waitCursorRestore_ = nullptr;

  DECLARE_MESSAGE_MAP()
};

// The current application, or null.
CWinApp* AfxGetApp();
// The thread object of the message loop: the application.
CWinThread* AfxGetThread();
// The application's instance handle (null without an application).
HINSTANCE AfxGetInstanceHandle();
// Where resources are looked for: the application's instance (null, the
// program's module, without one) unless set otherwise.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE inst);
// The application's main window, or null.
CWnd* AfxGetMainWnd();
// The application's title, or null.
LPCSTR AfxGetAppName();
// Ends the message loop with the exit code.
void AfxPostQuitMessage(int exitCode);

// A box with the application's title as caption ("Tolm" without an
// application), owned by the main window. The id form shows a string of the
// string table (an empty text when the id is unknown).
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

// The window handle of a window object (null for null). Tests that stand a
// fake object in for the main window install a resolver for its handle;
// real window objects need none.
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
