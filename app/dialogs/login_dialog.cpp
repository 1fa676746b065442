#include "app/dialogs/login_dialog.h"

#include "app/dialogs/dialog_resources.h"

CLoginDlg::CLoginDlg(CWnd* parent) : CDialog(kLoginDialog, parent) { RegisterShellDialogs(); }

void CLoginDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, kLoginPasswordEdit, password);
  DDX_Text(dx, kLoginUserEdit, user);
  DDX_Text(dx, kLoginLocationEdit, location);
}
