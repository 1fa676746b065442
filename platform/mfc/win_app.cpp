// CWinApp: the current application, its names and start-up, idle work, the
// message boxes shown on its behalf, cursors and the standard commands.
#include <cstdlib>
#include <cstring>
#include <string>

#include "afx_state.h"
#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/document.h"
#include "mfc/print.h"
#include "win/kernel.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {

// The title of boxes shown while there is no application object.
constexpr char kDefaultTitle[] = "Tolm";

CWinApp* gApp = nullptr;
AfxWindowHandleResolver gResolver = nullptr;
HINSTANCE gResourceHandle = nullptr;
bool gResourceHandleSet = false;

char* copyOf(const char* s) { return s ? ::strdup(s) : nullptr; }

// MFC gives boxes without an icon the exclamation mark, except the rarely
// used retry boxes, whose callers choose their own.
UINT withDefaultIcon(UINT type) {
  if ((type & MB_ICONMASK) != 0) return type;
  switch (type & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_YESNOCANCEL: return type | MB_ICONEXCLAMATION;
    default: return type;
  }
}

std::string modulePath() {
  char buf[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileName(nullptr, buf, MAX_PATH);
  return n > 0 && n <= MAX_PATH ? std::string(buf, n) : std::string();
}

std::string withoutExtension(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return withoutExtension(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName) {
  m_pszAppName = copyOf(appName);
  m_hInstance = GetModuleHandle(nullptr);
  gApp = this;
}

CWinApp::~CWinApp() {
  for (CDocTemplate* t : templates_) delete t;
  templates_.clear();
  if (m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames) ::GlobalFree(m_hDevNames);
  m_hDevMode = m_hDevNames = nullptr;
  std::free(const_cast<char*>(m_pszAppName));
  std::free(const_cast<char*>(m_pszExeName));
  std::free(const_cast<char*>(m_pszHelpFilePath));
  std::free(const_cast<char*>(m_pszProfileName));
  m_pszAppName = m_pszExeName = m_pszHelpFilePath = m_pszProfileName = nullptr;
  if (gApp == this) gApp = nullptr;
}

int CWinApp::ExitInstance() {
  SaveStdProfileSettings();
  return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinApp::OnIdle(LONG count) {
  if (count <= 0) {
    CWinThread::OnIdle(count);
    for (CDocTemplate* t : templates_) t->OnIdle();
  } else if (count == 1) {
    CWinThread::OnIdle(count);
  }
  return count < 1 ? TRUE : FALSE;
}

int CWinApp::DoMessageBox(LPCSTR prompt, UINT type, UINT) {
  const char* title = m_pszAppName ? m_pszAppName : kDefaultTitle;
  return MessageBox(AfxGetWindowHandle(m_pMainWnd), prompt, title, withDefaultIcon(type));
}

void CWinApp::WinHelp(DWORD, UINT) {}

// ---- Cursors ---------------------------------------------------------------------------------

HCURSOR CWinApp::LoadCursor(LPCSTR name) const { return ::LoadCursor(AfxGetResourceHandle(), name); }
HCURSOR CWinApp::LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCE(id)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR name) const { return ::LoadCursor(nullptr, name); }
HICON CWinApp::LoadIcon(LPCSTR name) const { return ::LoadIcon(AfxGetResourceHandle(), name); }
HICON CWinApp::LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCE(id)); }
HICON CWinApp::LoadStandardIcon(LPCSTR name) const { return ::LoadIcon(nullptr, name); }

void CWinApp::DoWaitCursor(int code) {
  waitCursorCount_ += code;
  if (waitCursorCount_ > 0) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (code > 0 && waitCursorCount_ == 1) waitCursorRestore_ = previous;
  } else {
    waitCursorCount_ = 0;
    ::SetCursor(waitCursorRestore_);
  }
}

// ---- Commands ----------------------------------------------------------------------------------

void CWinApp::OnAppExit() {
  if (HWND main = AfxGetWindowHandle(m_pMainWnd)) ::SendMessage(main, WM_CLOSE, 0, 0);
}

void CWinApp::OnHelp() { WinHelp(0, HELP_CONTEXT); }
void CWinApp::OnHelpIndex() { WinHelp(0, HELP_INDEX); }
void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CWinApp::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
void CWinApp::OnContextHelp() {}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
  const int index = static_cast<int>(id) - ID_FILE_MRU_FILE1;
  if (index < 0 || index >= RecentFileCount()) return FALSE;
  const CString path = recentFiles_[static_cast<size_t>(index)];
  if (!OpenDocumentFile(path)) {
    // A file that cannot be opened leaves the list.
    recentFiles_.erase(recentFiles_.begin() + index);
  }
  return TRUE;
}

// ---- The current application ----------------------------------------------------------------------

CWinApp* AfxGetApp() { return gApp; }
CWinThread* AfxGetThread() { return gApp; }
HINSTANCE AfxGetInstanceHandle() { return gApp ? gApp->m_hInstance : nullptr; }
HINSTANCE AfxGetResourceHandle() {
  if (gResourceHandleSet) return gResourceHandle;
  return gApp ? gApp->m_hInstance : nullptr;
}
void AfxSetResourceHandle(HINSTANCE inst) {
  gResourceHandle = inst;
  gResourceHandleSet = true;
}
CWnd* AfxGetMainWnd() { return gApp ? gApp->m_pMainWnd : nullptr; }
LPCSTR AfxGetAppName() { return gApp ? gApp->m_pszAppName : nullptr; }
void AfxPostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
  if (gApp) return gApp->DoMessageBox(text, type, helpId);
  return MessageBox(nullptr, text, kDefaultTitle, withDefaultIcon(type));
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
  CString text;
  text.LoadString(stringId);  // an unknown id shows an empty box
  if (helpId == static_cast<UINT>(-1)) helpId = stringId;
  return AfxMessageBox(text, type, helpId);
}

void AfxSetWindowHandleResolver(AfxWindowHandleResolver resolver) { gResolver = resolver; }

HWND AfxGetWindowHandle(const CWnd* wnd) {
  if (!wnd) return nullptr;
  if (gResolver) return gResolver(wnd);
  return wnd->m_hWnd;
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow) {
  CWinApp* app = gApp;
  if (!app) return FALSE;
  app->m_hInstance = instance ? instance : GetModuleHandle(nullptr);
  app->m_hPrevInstance = prevInstance;
  app->m_lpCmdLine = cmdLine;
  app->m_nCmdShow = cmdShow;

  const std::string path = modulePath();
  const std::string exe = baseName(path);
  if (!app->m_pszExeName) app->m_pszExeName = copyOf(exe.c_str());
  if (!app->m_pszAppName) {
    const char* title = win_string_resource(AFX_IDS_APP_TITLE);
    app->m_pszAppName = copyOf(title ? title : app->m_pszExeName);
  }
  if (!app->m_pszHelpFilePath && !path.empty())
    app->m_pszHelpFilePath = copyOf((withoutExtension(path) + ".HLP").c_str());
  if (!app->m_pszProfileName && app->m_pszExeName)
    app->m_pszProfileName = copyOf((std::string(app->m_pszExeName) + ".INI").c_str());
  return TRUE;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow) {
  CWinApp* app = gApp;
  if (!app || !AfxWinInit(instance, prevInstance, cmdLine, cmdShow)) return -1;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
