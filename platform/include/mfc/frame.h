// Frame windows: CFrameWnd (a top-level window whose client area holds the
// active view and whose menu and accelerators come from one resource id),
// CMDIFrameWnd, and the control bars CStatusBar and CToolBar.
//
// A frame lives on the heap and deletes itself when its window is destroyed
// (PostNcDestroy). Closing the main frame closes the documents; destroying
// it ends the message loop.
#pragma once

#include "mfc/afxres.h"
#include "mfc/cstring.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"

class CView;
class CDocument;

// Frame styles (kept in the window style).
#define FWS_ADDTOTITLE 0x00008000L   // the document's title goes into the caption
#define FWS_PREFIXTITLE 0x00004000L  // "document - application" rather than the reverse
#define FWS_SNAPTOBARS 0x00002000L

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  // CW_USEDEFAULT for the position and size.
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;

  // The window (class and caption from the first part of string idResource),
  // its menu (menu resource idResource; FALSE when there is none) and its
  // accelerators (table idResource, if any). Without a creation context the
  // frame's children get their initial update at once.
  virtual BOOL LoadFrame(UINT idResource, DWORD defaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* parent = nullptr, CCreateContext* context = nullptr);
  using CWnd::Create;
  BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
              DWORD exStyle = 0, CCreateContext* context = nullptr);
  BOOL LoadAccelTable(LPCSTR name);

  // ---- Views and documents
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* view, BOOL notify = TRUE);
  virtual CDocument* GetActiveDocument();
  // Makes the view of the creation context (the first pane).
  CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
  // Activates the first pane, sends the initial update to the views and
  // shows the frame (the application's show state for the main window).
  void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
  virtual void ActivateFrame(int cmdShow = -1);
  virtual void OnUpdateFrameTitle(BOOL addToTitle);
  void UpdateFrameTitleForDocument(LPCSTR docName);
  // The view fills what the control bars leave of the client area.
  virtual void RecalcLayout(BOOL notify = TRUE);
  virtual HACCEL GetDefaultAccelerator();
  void SetTitle(LPCSTR title) { m_strTitle = title; }
  // The caption is brought up to date at the next idle time.
  void DelayUpdateFrameTitle() { titleNeedsUpdate_ = true; }
  CString GetTitle() const { return m_strTitle; }

  BOOL IsFrameWnd() const override { return TRUE; }
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Accelerators of the frame (or of its active document).
  BOOL PreTranslateMessage(MSG* msg) override;
  // The active view first, then the frame, then the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override;  // deletes the frame

  // ---- Handlers
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnEndSession(BOOL ending);
  afx_msg void OnPaletteChanged(CWnd* focusWnd);
  afx_msg BOOL OnQueryNewPalette();
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnHelp();
  afx_msg void OnHelpIndex();
  afx_msg void OnHelpFinder();
  afx_msg void OnHelpUsing();
  afx_msg void OnContextHelp();

  HMENU m_hMenuDefault = nullptr;
  HACCEL m_hAccelTable = nullptr;
  CString m_strTitle;
  CRect m_rectBorder;
  BOOL m_bAutoMenuEnable = TRUE;  // commands without a handler are greyed in menus
  UINT m_nIDHelp = 0;
  // A print preview covering the client area (kept to its size), or null.
  HWND m_hWndPreview = nullptr;

 protected:
  // Creates the views of the creation context.
  virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
  int OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context);

  CView* m_pViewActive = nullptr;
  bool titleNeedsUpdate_ = false;

  DECLARE_MESSAGE_MAP()
};

// A frame of several document windows. The client has none; this is the
// frame class only (no MDI client window).
class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
 public:
  CMDIFrameWnd() = default;
  HWND m_hWndMDIClient = nullptr;
};

// The bars a frame may hold along its edges. The client constructs a status
// bar and a tool bar with its frame but never creates their windows; the
// classes are kept to that.
class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar() = default;
};

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar() = default;
};

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar() = default;
};
