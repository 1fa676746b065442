// CWnd: a window object tied to a window handle. Windows created through a
// CWnd (Create, CreateEx, dialogs) or subclassed with SubclassWindow are
// "permanent": their messages go through the framework's window procedure
// to WindowProc and the message maps. FromHandle gives a temporary object
// for any other handle; temporaries are deleted at idle time (the second
// idle call of CWinApp::OnIdle), so a pointer to one must not be kept.
//
// Handlers (afx_msg functions) are public so that message maps of derived
// classes can name the base's handler. The default handler of a message
// passes the current message on to the default window procedure (Default).
#pragma once

#include "mfc/cmd_target.h"
#include "mfc/cstring.h"
#include "mfc/geometry.h"
#include "win/gdi.h"
#include "win/user.h"

class CDC;
class CFont;
class CRgn;
class CMenu;
class CBitmap;
class CScrollBar;
class CFrameWnd;
class CDataExchange;
class CDocument;
class CView;
class CDocTemplate;

// What a frame hands to the views it creates (lpCreateParams of WM_CREATE).
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// WinHelp commands (the client has no help file: help does nothing).
#define HELP_CONTEXT 0x0001L
#define HELP_QUIT 0x0002L
#define HELP_INDEX 0x0003L
#define HELP_CONTENTS 0x0003L
#define HELP_HELPONHELP 0x0004L
#define HELP_FINDER 0x000BL

// Flags of RunModalLoop.
#define MLF_NOIDLEMSG 0x0001   // no WM_ENTERIDLE to the parent
#define MLF_NOKICKIDLE 0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004  // show the window when the loop first goes idle

// CWnd::m_nFlags.
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010

// The window procedure of every permanent window.
LRESULT AfxWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog procedure of the framework's dialogs: WM_INITDIALOG becomes
// OnInitDialog; everything else goes through the window's message map.
INT_PTR AfxDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls pWnd's WindowProc as the window procedure does, keeping the current
// message for Default and GetCurrentMessage.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The next window CreateWindowEx makes is tied to pWnd before its first
// message; AfxUnhookWindowCreate says whether that happened (and forgets
// the request when it did not).
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

// Registers a window class of the framework's procedure with these
// attributes (once per distinct set) and returns its name, which stays valid.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);

// Temporary objects (windows, DCs, GDI objects, menus) are freed when the
// lock count is 0 at idle time. Locking keeps them while code holds them.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps();  // TRUE when the count reached 0 and they were freed

// How many temporary objects are held now (tests).
size_t AfxTemporaryObjectCount();

// Tests: deletes the temporary objects and unties every permanent object
// from its handle (without calling it), as before win::ResetUserState.
void AfxResetWindowMaps();

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  CWnd();
  // Destroys a window that is still tied to this object.
  ~CWnd() override;

  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The handle of a window object that may be null.
  static HWND SafeHwnd(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }
  BOOL operator==(const CWnd& other) const { return other.m_hWnd == m_hWnd; }
  BOOL operator!=(const CWnd& other) const { return other.m_hWnd != m_hWnd; }

  // ---- Handle maps
  // The permanent object of the handle, else a temporary one; null for null.
  static CWnd* FromHandle(HWND wnd);
  static CWnd* FromHandlePermanent(HWND wnd);
  static void DeleteTempMap();
  // Ties this object to an existing window (no subclassing).
  BOOL Attach(HWND wnd);
  HWND Detach();
  // Ties this object to the window and routes its messages through this
  // object's map; what the window did before is the default processing.
  BOOL SubclassWindow(HWND wnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();
  virtual void PreSubclassWindow();

  // ---- Creation
  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                      CWnd* parent, UINT id, CCreateContext* context = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();
  // Called before the window is made; FALSE stops the creation.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Called after the last message (WM_NCDESTROY); objects that live on the
  // heap and belong to their window delete themselves here.
  virtual void PostNcDestroy();
  enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
  // The window rectangle around a client rectangle.
  virtual void CalcWindowRect(LPRECT clientRect, UINT adjustType = adjustBorder);

  // ---- Messages
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // To every child (bDeep: every descendant); bOnlyPerm: only to windows with
  // a permanent object, whose WindowProc is then called directly.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
  static const MSG* GetCurrentMessage();
  // The current message to the default processing.
  LRESULT Default();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message map's handler, if any; FALSE when there is none.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // What the window did before it was subclassed (DefWindowProc otherwise).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // A message from this control to its parent, offered back to the control.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Offers the current message to the permanent object of `child`.
  static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
  BOOL SendChildNotifyLastMsg(LRESULT* result = nullptr);
  // TRUE when the message was handled and must not be dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // The dialog keyboard for key and mouse messages.
  BOOL PreTranslateInput(LPMSG msg);
  BOOL IsDialogMessage(LPMSG msg);
  // PreTranslateMessage of the permanent windows from the message's window
  // up to `stop`.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
  // A modal loop on this window: messages are dispatched until
  // EndModalLoop; the result is EndModalLoop's (-1 when WM_QUIT ended it).
  int RunModalLoop(DWORD flags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int result);

  // ---- Attributes
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
  void SetWindowText(LPCSTR text);
  int GetWindowText(LPSTR out, int size) const;
  void GetWindowText(CString& out) const;
  int GetWindowTextLength() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* menu);
  void DrawMenuBar();
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);

  // ---- Geometry
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void GetWindowRect(LPRECT out) const;
  void GetClientRect(LPRECT out) const;
  void ClientToScreen(LPPOINT pt) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT pt) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT pts, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* out) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
  void BringWindowToTop();
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  // Centres a popup over its owner (or `alternate`) when that is visible,
  // else on the screen, and keeps it on the screen; a child in its parent.
  void CenterWindow(CWnd* alternate = nullptr);

  // ---- Painting
  CDC* GetDC();  // a temporary CDC; give it back with ReleaseDC
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);
  CDC* BeginPaint(LPPAINTSTRUCT ps);
  void EndPaint(LPPAINTSTRUCT ps);
  void UpdateWindow();
  void SetRedraw(BOOL redraw = TRUE);
  BOOL GetUpdateRect(LPRECT out, BOOL erase = FALSE);
  int GetUpdateRgn(CRgn* rgn, BOOL erase = FALSE);
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void ValidateRgn(CRgn* rgn);
  BOOL ShowWindow(int cmd);
  BOOL IsWindowVisible() const;
  BOOL RedrawWindow(LPCRECT rect = nullptr, CRgn* rgn = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  void ScrollWindow(int dx, int dy, LPCRECT scroll = nullptr, LPCRECT clip = nullptr);
  int ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, CRgn* updateRgn,
                     LPRECT updateRect, UINT flags);

  // ---- Timers
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // ---- State
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  static CWnd* GetActiveWindow();
  CWnd* SetActiveWindow();
  static CWnd* GetCapture();
  CWnd* SetCapture();
  static CWnd* GetFocus();
  CWnd* SetFocus();
  static CWnd* GetDesktopWindow();

  // ---- Dialog items
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* out) const;
  void CheckDlgButton(int id, UINT check);
  void CheckRadioButton(int first, int last, int check);
  int GetCheckedRadioButton(int first, int last);
  UINT IsDlgButtonChecked(int id) const;
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  int GetDlgItemText(int id, LPSTR out, int size) const;
  int GetDlgItemText(int id, CString& out) const;
  void SetDlgItemText(int id, LPCSTR text);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* ctl, BOOL previous = FALSE) const;

  // ---- Scroll bars
  int GetScrollPos(int bar) const;
  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
  void GetScrollRange(int bar, LPINT min, LPINT max) const;
  void SetScrollRange(int bar, int min, int max, BOOL redraw = TRUE);
  void ShowScrollBar(UINT bar, BOOL show = TRUE);
  // Shows or enables the window's own bar (there are no sibling bar controls).
  void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);
  BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH);
  BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
  // The largest position: max - page + 1 (max with no page).
  int GetScrollLimit(int bar);
  virtual CScrollBar* GetScrollBarCtrl(int bar) const;

  // ---- Relations
  CWnd* GetParent() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetOwner() const;
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetWindow(UINT cmd) const;
  CWnd* GetTopWindow() const;
  CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const;
  BOOL IsChild(const CWnd* wnd) const;
  CWnd* ChildWindowFromPoint(POINT pt) const;
  static CWnd* WindowFromPoint(POINT pt);
  // The first descendant (breadth first) with the id; bOnlyPerm: permanent ones.
  CWnd* GetDescendantWindow(int id, BOOL bOnlyPerm = FALSE) const;
  // Whether the top-level window holding this one is the active window.
  BOOL IsTopParentActive() const;
  virtual BOOL IsFrameWnd() const { return FALSE; }

  // ---- Caret
  void CreateSolidCaret(int width, int height);
  void CreateGrayCaret(int width, int height);
  void CreateCaret(CBitmap* bitmap);
  static CPoint GetCaretPos();
  static void SetCaretPos(POINT pt);
  void HideCaret();
  void ShowCaret();

  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
  // Help goes to the application, which has no help file.
  void WinHelp(DWORD data, UINT cmd = HELP_CONTEXT);

  // ---- Data exchange with dialog controls
  // FALSE when validation failed (the user has been told) or the exchange
  // could not be made. Notifications from controls are ignored meanwhile.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* dx);
  // Asks pTarget's update handlers about every child control.
  void UpdateDialogControls(CCmdTarget* target, BOOL bDisableIfNoHandler);
  // Dialog creation from a template (resource name, or the template itself).
  BOOL CreateDlg(LPCSTR templateName, CWnd* parent);
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent, HINSTANCE inst);
  // Initialisation data of a dialog template; there is none in this system.
  BOOL ExecuteDlgInit(LPCSTR templateName);

  // ---- Handlers
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnActivateApp(BOOL active, DWORD threadId);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnClose();
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  afx_msg void OnDestroy();
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
  afx_msg void OnEnable(BOOL enable);
  afx_msg void OnEndSession(BOOL ending);
  afx_msg void OnEnterIdle(UINT why, CWnd* who);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnGetMinMaxInfo(void* info);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnInitMenu(CMenu* menu);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  afx_msg void OnMButtonUp(UINT flags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
  afx_msg void OnMove(int x, int y);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
  afx_msg void OnNcDestroy();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnNcPaint();
  afx_msg void OnPaint();
  afx_msg void OnPaletteChanged(CWnd* focusWnd);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg BOOL OnQueryEndSession();
  afx_msg BOOL OnQueryNewPalette();
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* pos);

  HWND m_hWnd = nullptr;

 protected:
  // What the window did before it was subclassed; null: DefWindowProc.
  WNDPROC m_pfnSuper = nullptr;
  UINT m_nFlags = 0;
  int m_nModalResult = 0;

  // The end of WM_NCDESTROY after the default processing: the main window
  // ends the thread's message loop, the window gets its procedure back, the
  // object is untied and PostNcDestroy runs.
  void FinishNcDestroy();

  friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
  friend struct CWndAccess;

  DECLARE_MESSAGE_MAP()
};

// The window handle of a window object that may be null; the application
// object uses it for the owner of its message boxes.
inline HWND AfxGetSafeHwnd(const CWnd* wnd) { return CWnd::SafeHwnd(wnd); }
