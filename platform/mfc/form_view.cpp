// CFormView: a view made from a dialog template, as a modeless child dialog.
#include "mfc/dc.h"
#include "mfc/document.h"
#include "mfc/frame.h"
#include "mfc/view.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
  ON_WM_CREATE()
  ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CFormView::CFormView(LPCSTR templateName) : m_lpszTemplateName(templateName) {}
CFormView::CFormView(UINT templateId) : m_lpszTemplateName(MAKEINTRESOURCE(templateId)) {}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       CCreateContext* context) {
  m_pCreateContext = context;  // WM_CREATE hands it to the document
  CREATESTRUCT cs{};
  cs.style = static_cast<LONG>(style ? style : (WS_CHILD | WS_VISIBLE | WS_BORDER));
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  if (!CreateDlg(m_lpszTemplateName, parent)) return FALSE;  // deleted itself
  // A window tied only after its WM_CREATE still joins its document.
  if (context && context->m_pCurrentDoc && !m_pDocument) context->m_pCurrentDoc->AddView(this);
  m_pCreateContext = nullptr;
  // The template's style, but the border as requested.
  ModifyStyle(WS_BORDER | WS_CAPTION, static_cast<DWORD>(cs.style) & (WS_BORDER | WS_CAPTION),
              SWP_FRAMECHANGED);
  ModifyStyleEx(WS_EX_CLIENTEDGE, cs.dwExStyle & WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  SetDlgCtrlID(static_cast<int>(id));
  CRect templateRect;
  GetWindowRect(&templateRect);
  SetScrollSizes(MM_TEXT, templateRect.Size());
  if (!ExecuteDlgInit(m_lpszTemplateName)) return FALSE;
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (static_cast<DWORD>(cs.style) & WS_VISIBLE) ShowWindow(SW_NORMAL);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT cs) {
  // The dialog manager's own creation parameters stay as they are; the
  // creation context comes from Create.
  if (CWnd::OnCreate(cs) == -1) return -1;
  if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc)
    m_pCreateContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CFormView::OnDraw(CDC*) {}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CScrollView::OnInitialUpdate();
}

BOOL CFormView::SaveFocusControl() {
  HWND focus = ::GetFocus();
  if (focus && ::IsChild(m_hWnd, focus)) {
    m_hWndFocus = focus;
    return TRUE;
  }
  return FALSE;
}

void CFormView::OnActivateView(BOOL activate, CView* activated, CView* deactivated) {
  // A control of the form keeps the focus.
  if (activate && SaveFocusControl()) return;
  CScrollView::OnActivateView(activate, activated, deactivated);
}

void CFormView::OnSetFocus(CWnd* oldWnd) {
  if (m_hWndFocus && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus)) {
    ::SetFocus(m_hWndFocus);
    return;
  }
  m_hWndFocus = nullptr;
  if (HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE)) {
    ::SetFocus(first);
    return;
  }
  CScrollView::OnSetFocus(oldWnd);
}

BOOL CFormView::PreTranslateMessage(MSG* msg) {
  if (CScrollView::PreTranslateMessage(msg)) return TRUE;
  // The dialog keyboard would take the frames' accelerators: they come first.
  for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame()) {
    if (frame->PreTranslateMessage(msg)) return TRUE;
  }
  // An empty form has no dialog keyboard.
  if (!::GetWindow(m_hWnd, GW_CHILD)) return FALSE;
  return PreTranslateInput(msg);
}
