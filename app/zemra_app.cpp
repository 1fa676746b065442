#include "app/zemra_app.h"

#include "app/commands/command_queue.h"
#include "framework/user_break.h"
#include "mfc/afxres.h"
#include "mfc/dialog.h"
#include "pages/load_target.h"
#include "pages/picture/dither_table.h"
#include "pages/objects/text_anchors.h"
#include "win/user.h"

BEGIN_MESSAGE_MAP(ZemraApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
  ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

ZemraApp::ZemraApp() : ViewerApp("Tolm"), mainWindow_(std::make_unique<MainWindow>()) {
  SetLongOperationFlag(0);
}

ZemraApp::~ZemraApp() {
  SetMainWindow(nullptr);
  if (&Shell() == &shellLink_) SetShellLink(nullptr);
}

ZemraApp* GetZemraApp() { return dynamic_cast<ZemraApp*>(AfxGetApp()); }

void ZemraApp::OnAppAbout() {
  CDialog about(100);
  about.DoModal();
}

void ZemraApp::ShowLinkCursor() {
  if (!LongOperationFlag() && linkCursor_) SetCursor(linkCursor_);
}

void ZemraApp::RestoreCursor() {
  if (!LongOperationFlag() && arrowCursor_) SetCursor(arrowCursor_);
}

void ZemraApp::LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target) {
  // Queues the inline load when the anchor's link type asks for one; other
  // requests are logged by the text anchors and not served.
  ServeTextAnchor(record, source, target);
}
