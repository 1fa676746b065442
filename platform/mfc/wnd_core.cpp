// CWnd's tie to its handle: the handle map, attaching and subclassing, the
// creation hook, creation and destruction, and the framework's window and
// dialog procedures.
#include <functional>

#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/dialog.h"
#include "mfc/exceptions.h"
#include "mfc/wnd.h"

using zemra_mfc::State;
using zemra_mfc::ThreadState;

// Reaches CWnd's protected members from the framework's free functions.
struct CWndAccess {
  static WNDPROC& Super(CWnd* w) { return w->m_pfnSuper; }
};

namespace zemra_mfc {

HandleMap<HWND, CWnd>& WindowMap() {
  static HandleMap<HWND, CWnd> map([](CWnd* w) { w->m_hWnd = nullptr; });
  return map;
}

bool SubclassForFramework(CWnd* wnd, HWND hwnd) {
  if (!wnd || !IsWindow(hwnd)) return false;
  if (CWnd* other = WindowMap().Permanent(hwnd); other && other != wnd) return false;
  if (!wnd->Attach(hwnd)) return false;
  // Others may subclass first.
  wnd->PreSubclassWindow();
  const auto old = reinterpret_cast<WNDPROC>(
      SetWindowLong(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) CWndAccess::Super(wnd) = old;
  return true;
}

CWnd* AttachPendingWindow(HWND hwnd) {
  ThreadState& st = State();
  CWnd* w = st.windowInit;
  if (!w || w->m_hWnd) return nullptr;
  st.windowInit = nullptr;
  return SubclassForFramework(w, hwnd) ? w : nullptr;
}

namespace {
void CreationHook(HWND hwnd, CREATESTRUCT*) { AttachPendingWindow(hwnd); }
}  // namespace

void EnsureCreationHook() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  win::SetWindowCreationHook(&CreationHook);
}

}  // namespace zemra_mfc

void AfxHookWindowCreate(CWnd* pWnd) {
  zemra_mfc::EnsureCreationHook();
  State().windowInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  ThreadState& st = State();
  if (st.windowInit) {
    st.windowInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && zemra_mfc::WindowMap().Permanent(m_hWnd) == this) {
    DestroyWindow();
  } else if (m_hWnd) {
    Detach();
  }
}

CWnd* CWnd::FromHandle(HWND wnd) {
  return zemra_mfc::WindowMap().FromHandle<CWnd>(wnd, [wnd] {
    auto* w = new CWnd;
    w->m_hWnd = wnd;
    return w;
  });
}

CWnd* CWnd::FromHandlePermanent(HWND wnd) {
  return wnd ? zemra_mfc::WindowMap().Permanent(wnd) : nullptr;
}

CWnd* AfxWndFromHandle(HWND wnd) { return CWnd::FromHandle(wnd); }

void CWnd::DeleteTempMap() { zemra_mfc::WindowMap().DeleteTemporaries(); }

BOOL CWnd::Attach(HWND wnd) {
  if (!wnd || m_hWnd) return FALSE;
  if (CWnd* other = zemra_mfc::WindowMap().Permanent(wnd); other && other != this) return FALSE;
  m_hWnd = wnd;
  zemra_mfc::WindowMap().SetPermanent(wnd, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND wnd = m_hWnd;
  if (wnd) zemra_mfc::WindowMap().RemovePermanent(wnd, this);
  m_hWnd = nullptr;
  return wnd;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND wnd) {
  if (!::IsWindow(wnd) || m_hWnd) return FALSE;
  return zemra_mfc::SubclassForFramework(this, wnd) ? TRUE : FALSE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) SetWindowLong(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---- Creation -------------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs{};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = windowName;
  cs.style = static_cast<LONG>(style);
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.hwndParent = parent;
  cs.hMenu = idOrMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND wnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                              cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                              cs.lpCreateParams);
  if (!AfxUnhookWindowCreate()) {
    // The window was never tied to this object: either no window was made,
    // or the window system ran no creation hook for it.
    if (wnd && zemra_mfc::SubclassForFramework(this, wnd)) return TRUE;
    PostNcDestroy();
    return FALSE;
  }
  // Tied: when creation failed, WM_NCDESTROY has untied this object and run
  // PostNcDestroy (which may have deleted it).
  return wnd ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, SafeHwnd(parent),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, CCreateContext* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  const HWND wnd = m_hWnd;
  const bool permanent = zemra_mfc::WindowMap().Permanent(wnd) == this;
  const BOOL ok = ::DestroyWindow(wnd);
  // A permanent object was untied by WM_NCDESTROY and may be deleted now.
  if (!permanent) Detach();
  return ok;
}

void CWnd::CalcWindowRect(LPRECT clientRect, UINT adjustType) {
  DWORD exStyle = GetExStyle();
  if (adjustType == adjustBorder) exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  ::AdjustWindowRectEx(clientRect, GetStyle(), FALSE, exStyle);
}

// ---- The window procedures ------------------------------------------------------------

namespace {

// What the framework does with an exception a handler let through: a failed
// creation fails the window, a failed paint validates it (so it does not
// repeat), anything else is reported to the user.
LRESULT HandleWndProcException(CException* e, const MSG& msg) {
  LRESULT result = 0;
  if (msg.message == WM_CREATE) {
    result = -1;
  } else if (msg.message == WM_PAINT) {
    ::ValidateRect(msg.hwnd, nullptr);
  }
  if (!e->IsKindOf(RUNTIME_CLASS(CUserException))) e->ReportError(MB_ICONEXCLAMATION);
  e->Delete();
  return result;
}

}  // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ThreadState& st = State();
  const MSG saved = st.lastSentMsg;
  st.lastSentMsg = MSG{hWnd, message, wParam, lParam, GetMessageTime(), {0, 0}};

  // A popup dialog that neither moved nor showed itself while it was being
  // initialised and whose owner is disabled (a modal one) is centred.
  RECT before{};
  DWORD styleBefore = 0;
  const bool initDialog = message == WM_INITDIALOG && dynamic_cast<CDialog*>(pWnd) != nullptr;
  if (initDialog) {
    ::GetWindowRect(hWnd, &before);
    styleBefore = static_cast<DWORD>(::GetWindowLong(hWnd, GWL_STYLE));
  }

  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(message, wParam, lParam);
  } catch (CException* e) {
    result = HandleWndProcException(e, st.lastSentMsg);
  }

  if (initDialog && ::IsWindow(hWnd)) {
    RECT after{};
    ::GetWindowRect(hWnd, &after);
    const auto style = static_cast<DWORD>(::GetWindowLong(hWnd, GWL_STYLE));
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (!(styleBefore & WS_VISIBLE) && !(style & (WS_VISIBLE | WS_CHILD)) &&
        after.left == before.left && after.top == before.top &&
        (!owner || !::IsWindowEnabled(owner))) {
      if (CWnd* w = CWnd::FromHandlePermanent(hWnd)) w->CenterWindow();
    }
  }

  // The last message: a window whose handler did not reach CWnd's
  // OnNcDestroy is untied here all the same.
  if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) pWnd->FinishNcDestroy();
  st.lastSentMsg = saved;
  return result;
}

LRESULT AfxWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(wnd);
  if (!pWnd) pWnd = zemra_mfc::AttachPendingWindow(wnd);
  if (!pWnd) return ::DefWindowProc(wnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, wnd, message, wParam, lParam);
}

INT_PTR AfxDlgProc(HWND wnd, UINT message, WPARAM, LPARAM) {
  CWnd* pWnd = CWnd::FromHandlePermanent(wnd);
  if (!pWnd) {
    // The window system ran no creation hook for the dialog: tie it now.
    pWnd = zemra_mfc::AttachPendingWindow(wnd);
  }
  if (message == WM_INITDIALOG) {
    auto* dlg = dynamic_cast<CDialog*>(pWnd);
    return dlg ? dlg->OnInitDialog() : TRUE;
  }
  return FALSE;
}
