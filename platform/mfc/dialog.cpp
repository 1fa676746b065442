// CDialog: modal and modeless dialogs from templates.
#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/dialog.h"
#include "mfc/gdi_objects.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(LPCSTR templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_pParentWnd(parent) {
  if (IS_INTRESOURCE(templateName)) m_nIDHelp = LOWORD(reinterpret_cast<UINT_PTR>(templateName));
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCE(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  // Destroyed while this class's handlers still exist.
  if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate(LPCSTR name, HINSTANCE* inst) const {
  HINSTANCE module = AfxGetResourceHandle();
  if (inst) *inst = module;
  HRSRC res = ::FindResource(module, name, RT_DIALOG);
  HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
  return static_cast<LPCDLGTEMPLATE>(data ? ::LockResource(data) : nullptr);
}

// ---- Modeless ----------------------------------------------------------------------------

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (IS_INTRESOURCE(templateName) && m_nIDHelp == 0)
    m_nIDHelp = LOWORD(reinterpret_cast<UINT_PTR>(templateName));
  m_pParentWnd = parent;
  HINSTANCE inst = nullptr;
  LPCDLGTEMPLATE tmpl = LoadTemplate(templateName, &inst);
  if (!tmpl) {
    PostNcDestroy();
    return FALSE;
  }
  return CreateDlgIndirect(tmpl, parent, inst);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  return Create(MAKEINTRESOURCE(templateId), parent);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent) {
  m_pParentWnd = parent;
  return CreateDlgIndirect(tmpl, parent, AfxGetResourceHandle());
}

// ---- Modal -----------------------------------------------------------------------------------

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent) {
  m_lpDialogTemplate = tmpl;
  m_lpszTemplateName = nullptr;
  m_pParentWnd = parent;
  return tmpl != nullptr;
}

HWND CDialog::PreModal() {
  HWND owner = CWnd::SafeHwnd(m_pParentWnd);
  if (!owner) owner = AfxGetWindowHandle(AfxGetMainWnd());
  // A popup is owned by a top-level window, never by a child.
  while (owner && (::GetWindowLong(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
  HWND top = owner;
  for (HWND up = owner ? ::GetParent(owner) : nullptr; up; up = ::GetParent(up)) top = up;
  m_hWndTop = nullptr;
  if (top && top != owner && ::IsWindowEnabled(top)) {
    ::EnableWindow(top, FALSE);
    m_hWndTop = top;
  }
  return owner;
}

void CDialog::PostModal() {
  if (m_hWndTop) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE inst = AfxGetResourceHandle();
  LPCDLGTEMPLATE tmpl = m_lpszTemplateName ? LoadTemplate(m_lpszTemplateName, &inst) : m_lpDialogTemplate;
  if (!tmpl) return -1;

  HWND owner = PreModal();
  const bool enableOwner = owner && ::IsWindowEnabled(owner);
  if (enableOwner) ::EnableWindow(owner, FALSE);

  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  if (CreateDlgIndirect(tmpl, CWnd::FromHandle(owner), inst)) {
    // EndDialog may have come from OnInitDialog already.
    if (m_nFlags & WF_CONTINUEMODAL) {
      DWORD flags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) flags |= MLF_NOIDLEMSG;
      RunModalLoop(flags);
    }
    if (m_hWnd)
      SetWindowPos(nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  m_nFlags &= ~WF_CONTINUEMODAL;
  if (enableOwner) ::EnableWindow(owner, TRUE);
  if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}

void CDialog::EndDialog(int result) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
  ::EndDialog(m_hWnd, result);
}

// ---- Operations ---------------------------------------------------------------------------------

void CDialog::MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }
void CDialog::NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control)
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}
void CDialog::SetDefID(UINT id) { ::SendMessage(m_hWnd, DM_SETDEFID, id, 0); }
DWORD CDialog::GetDefID() const {
  return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0));
}

// ---- Overridables and handlers ----------------------------------------------------------------------

BOOL CDialog::OnInitDialog() {
  if (!ExecuteDlgInit(m_lpszTemplateName) || !UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  // A failed validation has put the focus on the offending control.
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnSetFont(CFont*) {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  // The dialog manager calls the dialog procedure, which calls OnInitDialog.
  return Default();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
  return Default();
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (CWnd::PreTranslateMessage(msg)) return TRUE;
  // Escape in a multi-line edit would be swallowed by the edit: it cancels
  // the dialog when its Cancel button is there and enabled, or missing.
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_CANCEL) &&
      (::GetWindowLong(msg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
    char cls[16] = {};
    ::GetClassName(msg->hwnd, cls, sizeof cls);
    if (CString(cls).CompareNoCase("Edit") == 0) {
      HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
      if (!cancel || ::IsWindowEnabled(cancel)) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
    }
  }
  return PreTranslateInput(msg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Menu and accelerator commands (ids from 0x8000) reach the application.
  const auto code = static_cast<UINT>(nCode);
  if ((code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) || !(nID & 0x8000) || nID >= 0xF000)
    return FALSE;
  CWinThread* thread = AfxGetThread();
  return thread && thread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
