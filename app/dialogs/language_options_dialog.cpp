#include "app/dialogs/language_options_dialog.h"

#include "app/dialogs/dialog_resources.h"

BEGIN_MESSAGE_MAP(CLanguageOptionsDlg, CDialog)
  ON_LBN_SELCHANGE(kLanguageList, OnSelChange)
END_MESSAGE_MAP()

CLanguageOptionsDlg::CLanguageOptionsDlg(CWnd* parent)
    : CDialog(kLanguageOptionsDialog, parent), languages(Languages::instance()) {
  RegisterShellDialogs();
  if (languages) initialOrder = languages->orderString();
}

void CLanguageOptionsDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kLanguageList, list);
}

BOOL CLanguageOptionsDlg::OnInitDialog() {
  const BOOL focus = CDialog::OnInitDialog();
  FillList();
  return focus;
}

void CLanguageOptionsDlg::FillList() {
  list.ResetContent();
  if (!languages) return;
  // Only the active languages are listed: an inactive one has no rank a
  // click could give it.
  const CString order = languages->orderString();
  for (int i = 0; i + 1 < order.GetLength(); i += 2) list.AddString(languages->name(order.Mid(i, 2)));
}

void CLanguageOptionsDlg::OnSelChange() {
  if (!languages) return;
  const int sel = list.GetCurSel();
  if (sel < 0) return;
  const CString before = languages->orderString();
  languages->preferRank(sel);
  // Refill on every change of the order, also on one that comes back to
  // the order at the opening: the list must always show the order in force.
  if (languages->orderString() == before) return;
  FillList();
  list.InvalidateRect(nullptr, FALSE);
}

void CLanguageOptionsDlg::OnCancel() {
  if (languages) languages->setOrder(initialOrder);
  CDialog::OnCancel();
}

BOOL CLanguageOptionsDlg::IsChanged() const {
  return languages && languages->orderString() != initialOrder;
}
