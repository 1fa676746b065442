// CFrameWnd: creation from a resource id, the view as the client,
// accelerators, command routing, closing, and the control-bar classes.
#include <string>

#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/dc.h"
#include "mfc/document.h"
#include "mfc/frame.h"
#include "mfc/menu.h"
#include "mfc/view.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ERASEBKGND()
  ON_WM_INITMENUPOPUP()
  ON_WM_QUERYENDSESSION()
  ON_WM_ENDSESSION()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace zemra_mfc {
// The class of frames and views: double clicks, redrawn when sized, the
// window colour behind.
LPCSTR FrameOrViewClass() {
  return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                             reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1)));
}
}  // namespace zemra_mfc

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = zemra_mfc::FrameOrViewClass();
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                       CWnd* parent, LPCSTR menuName, DWORD exStyle, CCreateContext* context) {
  HMENU menu = nullptr;
  if (menuName) {
    menu = ::LoadMenu(AfxGetResourceHandle(), menuName);
    if (!menu) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = windowName;
  // CW_USEDEFAULT stands for the position and the size alike.
  const bool defaultPos = rect.left == CW_USEDEFAULT;
  const int x = rect.left;
  const int y = defaultPos ? CW_USEDEFAULT : rect.top;
  const int w = defaultPos ? CW_USEDEFAULT : rect.right - rect.left;
  const int h = defaultPos ? CW_USEDEFAULT : rect.bottom - rect.top;
  if (!CreateEx(exStyle, className, windowName, style, x, y, w, h, SafeHwnd(parent), menu, context)) {
    // The window (and this object) is gone; a menu it never took is freed.
    if (menu && ::IsMenu(menu)) ::DestroyMenu(menu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD defaultStyle, CWnd* parent,
                          CCreateContext* context) {
  m_nIDHelp = idResource;
  CString full;
  if (full.LoadString(idResource)) {
    const int end = full.Find('\n');
    m_strTitle = end < 0 ? full : full.Left(end);
  }
  const CString title = m_strTitle;
  if (!Create(nullptr, title, defaultStyle, rectDefault, parent, MAKEINTRESOURCE(idResource), 0,
              context))
    return FALSE;  // the frame has deleted itself
  if (!m_hMenuDefault) m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(MAKEINTRESOURCE(idResource));
  if (!context) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR name) {
  if (m_hAccelTable) return FALSE;
  m_hAccelTable = ::LoadAccelerators(AfxGetResourceHandle(), name);
  return m_hAccelTable != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
  return OnCreateHelper(cs, cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr);
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  // The menu the frame was made with is its default menu, even when a
  // derived frame removes it next.
  m_hMenuDefault = ::GetMenu(m_hWnd);
  if (!OnCreateClient(cs, context)) return -1;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
  if (context && context->m_pNewViewClass) return CreateView(context) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
  if (!context || !context->m_pNewViewClass) return nullptr;
  CObject* made = context->m_pNewViewClass->CreateObject();
  auto* view = dynamic_cast<CWnd*>(made);
  if (!view) {
    delete made;
    return nullptr;
  }
  // Views are made with a border, which becomes a client edge.
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                    id, context))
    return nullptr;  // the view has deleted itself
  // The view's edge stands in for the frame's.
  if (view->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return view;
}

void CFrameWnd::OnDestroy() {
  // The default menu goes with the window, also when the frame took it off.
  if (m_hMenuDefault && ::IsMenu(m_hMenuDefault) && ::GetMenu(m_hWnd) != m_hMenuDefault)
    ::DestroyMenu(m_hMenuDefault);
  m_hMenuDefault = nullptr;
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->WinHelp(0, HELP_QUIT);
  CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- Views and documents ---------------------------------------------------------------

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
  CView* old = m_pViewActive;
  if (view == old) return;
  m_pViewActive = nullptr;
  if (old) old->OnActivateView(FALSE, view, old);
  // The old view's deactivation may have chosen another view already.
  if (m_pViewActive) return;
  m_pViewActive = view;
  if (view && notify) view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
  CView* view = nullptr;
  if (!GetActiveView()) {
    CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (auto* v = dynamic_cast<CView*>(pane)) {
      view = v;
      SetActiveView(view, FALSE);
    }
  }
  if (makeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (view) view->OnActivateFrame(WA_INACTIVE, this);
    int cmdShow = -1;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
      cmdShow = app->m_nCmdShow;  // the show state the program was started with
      app->m_nCmdShow = -1;       // only once
    }
    ActivateFrame(cmdShow);
    if (view) view->OnActivateView(TRUE, view, view);
  }
  if (doc) doc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int cmdShow) {
  if (cmdShow == -1) {
    if (!IsWindowVisible())
      cmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      cmdShow = SW_RESTORE;
  }
  const bool toTop = cmdShow != SW_HIDE && cmdShow != SW_MINIMIZE &&
                     cmdShow != SW_SHOWMINNOACTIVE && cmdShow != SW_SHOWNA &&
                     cmdShow != SW_SHOWMINIMIZED;
  if (toTop) BringWindowToTop();
  if (cmdShow != -1) {
    ShowWindow(cmdShow);
    if (toTop) BringWindowToTop();
  }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  titleNeedsUpdate_ = false;
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CDocument* doc = GetActiveDocument();
  if (addToTitle && doc)
    UpdateFrameTitleForDocument(doc->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR docName) {
  std::string text;
  if (GetStyle() & FWS_PREFIXTITLE) {
    if (docName) text = std::string(docName) + " - ";
    text += m_strTitle.str();
  } else {
    text = m_strTitle.str();
    if (docName) text += std::string(" - ") + docName;
  }
  CString current;
  GetWindowText(current);
  if (current != text.c_str()) SetWindowText(text.c_str());
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  client.DeflateRect(&m_rectBorder);
  HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
  if (!pane) return;
  CRect r = client;
  if (CWnd* w = FromHandlePermanent(pane))
    w->CalcWindowRect(&r);
  else
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLong(pane, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLong(pane, GWL_EXSTYLE)) &
                             ~static_cast<DWORD>(WS_EX_CLIENTEDGE));
  ::SetWindowPos(pane, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

// ---- Messages ------------------------------------------------------------------------------

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
  if (CWnd::PreTranslateMessage(msg)) return TRUE;
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
    HACCEL accel = GetDefaultAccelerator();
    return accel && ::TranslateAccelerator(m_hWnd, accel, msg) ? TRUE : FALSE;
  }
  return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CView* view = GetActiveView(); view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return FALSE;
}

void CFrameWnd::OnClose() {
  CDocument* doc = GetActiveDocument();
  if (doc && !doc->CanCloseFrame(this)) return;
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    if (!doc && !app->SaveAllModified()) return;
    app->HideApplication();
    // Closing the documents may destroy this frame (which ends the loop).
    const HWND self = m_hWnd;
    app->CloseAllDocuments(FALSE);
    if (!::IsWindow(self)) return;
    if (!app->m_pMainWnd) {
      AfxPostQuitMessage(0);
      return;
    }
    // The document may be gone while the frame stays.
    doc = GetActiveDocument();
  }
  // The last frame of a document closes the document, which closes it.
  if (doc && doc->m_bAutoDelete) {
    bool otherFrame = false;
    POSITION pos = doc->GetFirstViewPosition();
    while (pos) {
      CView* v = doc->GetNextView(pos);
      if (v && v->GetParentFrame() != this) {
        otherFrame = true;
        break;
      }
    }
    if (!otherFrame) {
      doc->OnCloseDocument();
      return;
    }
    doc->PreCloseFrame(this);
  }
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  if (type == SIZE_MINIMIZED) return;
  RecalcLayout();
  if (m_hWndPreview && ::IsWindow(m_hWndPreview)) ::MoveWindow(m_hWndPreview, 0, 0, cx, cy, TRUE);
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd) {
  if (m_pViewActive)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(oldWnd);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc) {
  // The view paints the whole client area.
  if (m_pViewActive) return TRUE;
  return CWnd::OnEraseBkgnd(dc);
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  if (sysMenu || !popup) return;
  CCmdUI state;
  state.m_pMenu = popup;
  state.m_nIndexMax = popup->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;  // a separator
    if (state.m_nID == 0xFFFFFFFFu) {
      // A submenu is offered under the id of its first item, never disabled.
      state.m_pSubMenu = popup->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (!state.m_pSubMenu) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == 0xFFFFFFFFu) continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // An update handler may have added or removed items.
    const UINT count = popup->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count &&
             popup->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}

BOOL CFrameWnd::OnQueryEndSession() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) return app->SaveAllModified();
  return TRUE;
}

void CFrameWnd::OnEndSession(BOOL ending) {
  if (!ending) return;
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->CloseAllDocuments(TRUE);
    app->ExitInstance();
  }
}

void CFrameWnd::OnPaletteChanged(CWnd* focusWnd) {
  CWnd::OnPaletteChanged(focusWnd);
  // The views realise their own palettes.
  SendMessageToDescendants(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(SafeHwnd(focusWnd)), 0,
                           TRUE, TRUE);
}

BOOL CFrameWnd::OnQueryNewPalette() {
  if (CView* view = GetActiveView()) {
    if (view->SendMessage(WM_QUERYNEWPALETTE)) return TRUE;
  }
  return CWnd::OnQueryNewPalette();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (titleNeedsUpdate_) OnUpdateFrameTitle(TRUE);
  return 0;
}

void CFrameWnd::OnHelp() { WinHelp(0, HELP_CONTEXT); }
void CFrameWnd::OnHelpIndex() { WinHelp(0, HELP_INDEX); }
void CFrameWnd::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CFrameWnd::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
void CFrameWnd::OnContextHelp() {}
