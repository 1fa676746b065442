// The client's application object: start-up from the settings file, the
// idle processing that runs one queued command per call, the cursors over
// links, and the clean-up at exit.
#pragma once

#include <memory>

#include "app/app_shell_link.h"
#include "framework/viewer_app.h"
#include "mfc/msgmap.h"

class CWnd;
class MainWindow;
class FileSource;
class LoadTarget;

class ZemraApp : public ViewerApp {
 public:
  // Goes without a current object before the idle processing gives up the
  // recovery and says the connection failed.
  static constexpr int kMaxRecoveryAttempts = 3;

  ZemraApp();
  ~ZemraApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;
  BOOL OnIdle(LONG count) override;

  // A text anchor's destination, loaded inline for a waiting text object
  // when the anchor's link type asks for that.
  virtual void LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target);

  // The link cursor over active page elements, the arrow elsewhere; neither
  // while a command runs (the busy cursor stays).
  void ShowLinkCursor();
  void RestoreCursor();
  HCURSOR LinkCursor() const { return linkCursor_; }

  // The view that hosts the pages; set by the view's initial update.
  CWnd* PageParent() const { return pageParent_; }
  void SetPageParent(CWnd* parent) { pageParent_ = parent; }

  // The temporary cache table (the temporary directory and "tolm.csh").
  const CString& TempCacheTable() const { return tempCacheTable_; }
  // How often the idle processing found no current object in a row.
  int RecoveryAttempts() const { return recoveryAttempts_; }

  afx_msg void OnAppAbout();

 private:
  void StartLogbook();
  void StartTextViewer();
  void StopTextViewer();
  void StartPageServices();
  void ReadSessionSettings();
  void StartFileCache();
  void ClearFileCacheAtExit();
  void RecoverCurrentObject();
  void UpdateCursorAfterCommand();

  CWnd* pageParent_ = nullptr;
  // The main-window settings and dither tables.
  std::unique_ptr<MainWindow> mainWindow_;
  HCURSOR linkCursor_ = nullptr;
  HCURSOR arrowCursor_ = nullptr;
  AppShellLink shellLink_;
  int recoveryAttempts_ = 0;
  bool recoveryGivenUp_ = false;
  int autologin_ = 0;
  CString login_;
  CString password_;
  CString tempCacheTable_;

  DECLARE_MESSAGE_MAP()
};

// The application when it is the client's; null otherwise.
ZemraApp* GetZemraApp();
