// CDialog and dialog data exchange (DDX_ / DDV_ functions).
//
// A dialog is made from a template (a resource of AfxGetResourceHandle's
// module, or a template in memory). DoModal disables the owner (the
// parent, else the main window), runs a modal loop on the dialog until
// EndDialog and answers EndDialog's result (-1 when the template is missing
// or the window cannot be made). Create makes a modeless dialog; its keys go
// through the dialog keyboard by way of PreTranslateMessage.
#pragma once

#include "mfc/cstring.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // ---- Modeless
  using CWnd::Create;
  virtual BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent = nullptr);

  // ---- Modal
  // The template of a modal dialog given in memory (kept by the caller).
  BOOL InitModalIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // ---- Operations
  void MapDialogRect(LPRECT rect) const;
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  DWORD GetDefID() const;

  // ---- Overridables
  // Fills the controls from the members (UpdateData(FALSE)); TRUE lets the
  // dialog manager put the focus on the first tab stop. A failed exchange
  // ends the dialog with -1.
  virtual BOOL OnInitDialog();
  virtual void OnOK();      // UpdateData(TRUE); then EndDialog(IDOK)
  virtual void OnCancel();  // EndDialog(IDCANCEL)
  virtual void OnSetFont(CFont* font);

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);

  LPCSTR m_lpszTemplateName = nullptr;  // a name or MAKEINTRESOURCE id
  UINT m_nIDHelp = 0;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;

 protected:
  // The owner of a modal dialog; the top-level window disabled for it is
  // kept in m_hWndTop.
  HWND PreModal();
  void PostModal();
  LPCDLGTEMPLATE LoadTemplate(LPCSTR name, HINSTANCE* inst) const;

  HWND m_hWndTop = nullptr;

  DECLARE_MESSAGE_MAP()
};

// ---- Data exchange -----------------------------------------------------------------

// One exchange between a window's members and its controls. m_bSaveAndValidate:
// from the controls to the members (with validation), else the other way.
class CDataExchange {
 public:
  CDataExchange(CWnd* dlg, BOOL bSaveAndValidate);

  // The control with the id; a missing control throws CNotSupportedException.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Validation failed: the focus (and, for an edit, the selection) goes to
  // the last control and CUserException is thrown, which UpdateData
  // catches. Filling controls never fails.
  void Fail();

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
};

// Text of an edit or any other control. Numbers must be the whole text
// (blanks around them allowed) and fit the member's type; otherwise the user
// is told ("Please enter an integer.", "Please enter a positive integer.",
// ...) and the exchange fails.
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);    // also LONG
void DDX_Text(CDataExchange* dx, int id, UINT& value);   // also DWORD
void DDX_Text(CDataExchange* dx, int id, BYTE& value);
void DDX_Text(CDataExchange* dx, int id, short& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
// Check box state: 0, 1 or 2 (indeterminate).
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked radio button of the group that starts with the
// control `id`; -1 when none is checked.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Subclasses the control with `control` (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// At most `count` characters: too long a text fails the exchange; filling
// the controls limits the edit control to that length.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int count);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
