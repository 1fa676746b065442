// The single top-level window of the client: a borderless pop-up over the
// configured main-window rectangle that hosts the view in which pages
// appear. Until the first page it shows the start-up picture centred on the
// background colour. Every way of closing
// the program goes through the quit command, so that the running request is
// broken and the program ends at idle time.
#pragma once

#include "app/frame/sdi_main_frame.h"
#include "mfc/frame.h"

// The frame's own commands (accelerator table 128).
enum MainFrameCommand : UINT {
  kCmdDebug = 32774,
  kCmdReload = 32775,
  kCmdMinimize = 32776,
  kCmdEnd = 32777
};

class CMainFrame : public CSDIMainFrame {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void SetShowStartupImage(BOOL show) { showStartup_ = show; }
  BOOL ShowsStartupImage() const { return showStartup_; }
  // The hint window the page switch makes once; the frame destroys it.
  CWnd* HintWindow() const { return hint_; }
  void SetHintWindow(CWnd* hint) { hint_ = hint; }

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnPaletteChanged(CWnd* focusWnd);
  afx_msg BOOL OnQueryNewPalette();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnDebug();
  afx_msg void OnReload();
  afx_msg void OnMinimize();
  afx_msg void OnEnd();
  afx_msg void OnDestroy();
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnClose();
  afx_msg LRESULT OnProgressMessage(WPARAM kind, LPARAM value);

 private:
  void DrawStartupPicture(CDC* dc, const RECT& client);

  CWnd* hint_ = nullptr;
  BOOL showStartup_ = TRUE;
  CStatusBar statusBar_;
  CToolBar toolBar_;

  DECLARE_MESSAGE_MAP()
};

// The name of the start-up picture in the home directory.
inline constexpr const char* kStartupPicture = "startup.i";
