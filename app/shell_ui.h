// The dialogs and the command interpreter as the shell's commands and
// frame call them. They live in app/dialogs/ and app/interpreter/, which
// install themselves here (a static initialiser calling SetShellUi with the
// parts they provide); a part that is not installed answers as described,
// and the caller writes one logbook line.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

// The login dialog: shown with the three fields filled; TRUE on OK (the
// fields then hold what the user typed), FALSE on Cancel.
struct LoginFields {
  CString user;
  CString password;
  CString location;
};
using LoginDialogFn = BOOL (*)(LoginFields& fields);

// The search dialog: the expression and the full-text check box (mode not
// 0); TRUE on OK.
using SearchDialogFn = BOOL (*)(CString& expression, int& mode);

// The Language Options dialog, modal: TRUE when the language order differs
// from the order at its opening.
using LanguageDialogFn = BOOL (*)();

// One line of the user command language ("end", "debug", "reload", "goto
// ..."), with the arguments of the context it came from (null for none).
using InterpreterRunFn = BOOL (*)(const char* text, const char* args);

struct ShellUi {
  LoginDialogFn login = nullptr;
  SearchDialogFn search = nullptr;
  LanguageDialogFn language = nullptr;
  InterpreterRunFn run = nullptr;
};

// Installs the parts that are not null (a part already installed is
// replaced); returns what was installed before.
ShellUi SetShellUi(const ShellUi& parts);
const ShellUi& GetShellUi();
// Replaces every part at once (tests put fakes in and take them out).
void ReplaceShellUi(const ShellUi& parts);

// Puts the client's login, search and Language Options dialogs into the
// parts that are still empty (start-up does; a test's fakes stay).
void InstallShellDialogs();

// Runs a line through the interpreter. Without one, "end" (how the frame
// closes the program) is carried out by the shell directly; any other line
// is logged as not run. TRUE when it ran.
BOOL RunInterpreterLine(const char* text, const char* args = nullptr);
