// The shell's dialog templates (app/resources/dialogs.rc, compiled into the
// program) and the ids of their controls, as the script numbers them.
#pragma once

enum ShellDialogId : unsigned {
  kLoginDialog = 142,
  kSearchDialog = 143,
  kInterpreterDialog = 148,
  kLanguageOptionsDialog = 591,
};

enum ShellControlId : int {
  kLoginUserEdit = 1003,
  kLoginPasswordEdit = 1004,
  kLoginLocationEdit = 1005,
  kSearchFullTextCheck = 1004,
  kSearchExpressionEdit = 1005,
  kSearchQuestionText = 1014,
  kInterpreterTextEdit = 1013,
  kLanguageList = 592,
};

// Registers the templates as the program's resources, once; every dialog's
// constructor calls it, so a dialog finds its template without a start-up
// step.
void RegisterShellDialogs();
