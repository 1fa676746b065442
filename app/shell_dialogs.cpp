// The dialogs the commands show: the login, search and Language Options
// dialogs, put into the shell's seams (shell_ui.h). A test replaces them
// with scripted answers through ReplaceShellUi.
#include "app/dialogs/language_options_dialog.h"
#include "app/dialogs/login_dialog.h"
#include "app/dialogs/search_dialog.h"
#include "app/shell_ui.h"
#include "mfc/app.h"

namespace {

BOOL ShowLoginDialog(LoginFields& fields) {
  CLoginDlg dialog(AfxGetMainWnd());
  dialog.user = fields.user;
  dialog.password = fields.password;
  dialog.location = fields.location;
  if (dialog.DoModal() != IDOK) return FALSE;
  fields.user = dialog.user;
  fields.password = dialog.password;
  fields.location = dialog.location;
  return TRUE;
}

BOOL ShowSearchDialog(CString& expression, int& mode) {
  CSearchDlg dialog(AfxGetMainWnd());
  dialog.expression = expression;
  dialog.fullText = mode != 0;
  if (dialog.DoModal() != IDOK) return FALSE;
  expression = dialog.expression;
  mode = dialog.fullText;
  return TRUE;
}

BOOL ShowLanguageDialog() {
  CLanguageOptionsDlg dialog(AfxGetMainWnd());
  dialog.DoModal();
  return dialog.IsChanged();
}

}  // namespace

void InstallShellDialogs() {
  ShellUi ui = GetShellUi();
  if (!ui.login) ui.login = &ShowLoginDialog;
  if (!ui.search) ui.search = &ShowSearchDialog;
  if (!ui.language) ui.language = &ShowLanguageDialog;
  ReplaceShellUi(ui);
}
