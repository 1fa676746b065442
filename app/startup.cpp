// Start-up: the logbook, the settings file and home directory, the text
// viewer's shared resources, the main frame, the session settings, the page
// styles and rules, and the first command of the session (connect).
#include <memory>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/session_commands.h"
#include "app/frame/main_frame.h"
#include "app/frame/zemra_doc.h"
#include "app/frame/zemra_view.h"
#include "app/history/nav_history.h"
#include "app/settings/shell_settings.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "app/zemra_app.h"
#include "core/languages.h"
#include "core/logbook.h"
#include "core/sort_order.h"
#include "mfc/document.h"
#include "net/open_store.h"
#include "net/references.h"
#include "pages/picture/dither_table.h"
#include "pages/picture/image_cache.h"
#include "pages/rules/rule_set.h"
#include "pages/text/shell_picture_fetcher.h"
#include "pages/style/style_files.h"
#include "store/localdb/local_database.h"
#include "text/resources/viewer_resources.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_app_app[];
extern "C" const unsigned long zemra_res_app_app_size;

namespace {

// One line for each service of a later part of the program that is not
// there yet: the client starts without it.
void LogMissing(const char* service) {
  TheLogbook().Write(CString("start-up: ") + service + " not available, starting without it");
}

bool MainWindowClosing() { return TheCommandQueue().IsClosed(); }

}  // namespace

void ZemraApp::StartLogbook() {
  Logbook& log = TheLogbook();
  log.SetFileName("tolm.log");
  log.Remove();
  log.Write("logbook of Tolm (beta version)");
  log.WriteTimeStamp();
}

void ZemraApp::StartTextViewer() {
  // The file pool fetches the inline pictures of text documents through the
  // shell; it is made here, before any page, and its fetcher is the viewer's
  // companion. Inline documents of text anchors go to LoadTextAnchor.
  EnsureViewerPool();
  ViewerResources::Shared().SetDingbats(
      std::make_unique<DingbatTable>(ViewerResources::DingbatPath()));
}

void ZemraApp::StartPageServices() {
  LoadStyles();
  TheRuleSet().load("tolm.rul");
}

void ZemraApp::ReadSessionSettings() {
  const ShellSettings s = ReadShellSettings(*this);
  ApplyShellSettings(s);
  autologin_ = s.autologin;
  login_ = s.login;
  password_ = s.password;
  tempCacheTable_ = s.tempCacheTable;
  TheImageCache().SetMaxCount(s.limitImages);
  TheImageCache().SetMaxBytes(static_cast<int>(s.limitImageSize));
}

void ZemraApp::StartFileCache() {
  InstallProgramFileCache();
  DocumentFileCache* cache = LoadCache();
  if (!cache) {
    LogMissing("file cache");
    return;
  }
  const ShellSettings s = ReadShellSettings(*this);
  cache->SetLimits(s.limitSize, s.limitFiles);
  cache->LoadTable("tolmperm.csh");
  cache->LoadTable(tempCacheTable_);
}

// The menu, accelerators and document template of the main window.
constexpr UINT kMainResourceId = 128;

BOOL ZemraApp::InitInstance() {
  // Registered whenever the main menu is missing, not once per process: a
  // window system started afresh (as tests do between programs) has lost it.
  if (!FindResource(nullptr, MAKEINTRESOURCE(kMainResourceId), RT_MENU))
    win::RegisterResourceScript(nullptr, zemra_res_app_app,
                                static_cast<size_t>(zemra_res_app_app_size));
  StartLogbook();
  ViewerApp::InitInstance();

  InstallObjectFactory();
  // "kxlocal:" addresses open the local database.
  InstallLocalDatabaseMaker();
  InstallReferenceServices();
  SetMainWindowClosingTest(&MainWindowClosing);
  TheHistory();
  SetShellLink(&shellLink_);
  InstallShellDialogs();

  StartTextViewer();
  linkCursor_ = LoadCursor(135);
  arrowCursor_ = LoadStandardCursor(IDC_ARROW);
  Enable3dControls();
  SetMainWindow(mainWindow_.get());
  mainWindow_->InitialShow();
  LoadStdProfileSettings(4);

  AddDocTemplate(new CSingleDocTemplate(kMainResourceId, RUNTIME_CLASS(CZemraDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CZemraView)));
  OnFileNew();

  ReadSessionSettings();
  StartPageServices();
  StartFileCache();
  TheCommandQueue().Push(new ConnectCommand(login_, password_, autologin_));
  return TRUE;
}
