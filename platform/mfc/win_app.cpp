// CWinApp: the current application, its names and start-up, and the
// message boxes shown on its behalf.
#include <cstdlib>
#include <cstring>
#include <string>

#include "mfc/app.h"
#include "win/kernel.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// The title of boxes shown while there is no application object.
constexpr char kDefaultTitle[] = "Tolm";
// The string-table entry that may hold the application's title.
constexpr UINT kAppTitleId = 0xE000;

CWinApp* gApp = nullptr;
AfxWindowHandleResolver gResolver = nullptr;

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

BOOL CWinApp::OnIdle(LONG count) { return CWinThread::OnIdle(count); }

int CWinApp::DoMessageBox(LPCSTR prompt, UINT type, UINT) {
  const char* title = m_pszAppName ? m_pszAppName : kDefaultTitle;
  return MessageBox(AfxGetWindowHandle(m_pMainWnd), prompt, title, withDefaultIcon(type));
}

CWinApp* AfxGetApp() { return gApp; }
HINSTANCE AfxGetInstanceHandle() { return gApp ? gApp->m_hInstance : nullptr; }
CWnd* AfxGetMainWnd() { return gApp ? gApp->m_pMainWnd : nullptr; }
LPCSTR AfxGetAppName() { return gApp ? gApp->m_pszAppName : nullptr; }

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

HWND AfxGetWindowHandle(const CWnd* wnd) { return wnd && gResolver ? gResolver(wnd) : nullptr; }

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
    const char* title = win_string_resource(kAppTitleId);
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
