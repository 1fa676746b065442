#include "app/dialogs/interpreter_dialog.h"

#include "app/dialogs/dialog_resources.h"

InterpreterDialog::InterpreterDialog(CWnd* parent) : CDialog(kInterpreterDialog, parent) {
  RegisterShellDialogs();
}

InterpreterDialog::~InterpreterDialog() = default;

void InterpreterDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, kInterpreterTextEdit, text);
}
