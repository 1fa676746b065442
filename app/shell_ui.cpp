#include "app/shell_ui.h"

#include <cstring>

#include "app/commands/command_queue.h"
#include "app/commands/session_commands.h"
#include "core/logbook.h"

namespace {

ShellUi& Installed() {
  static ShellUi ui;
  return ui;
}

}  // namespace

ShellUi SetShellUi(const ShellUi& parts) {
  ShellUi& ui = Installed();
  const ShellUi old = ui;
  if (parts.login) ui.login = parts.login;
  if (parts.search) ui.search = parts.search;
  if (parts.language) ui.language = parts.language;
  if (parts.run) ui.run = parts.run;
  return old;
}

const ShellUi& GetShellUi() { return Installed(); }

void ReplaceShellUi(const ShellUi& parts) { Installed() = parts; }

BOOL RunInterpreterLine(const char* text, const char* args) {
  if (InterpreterRunFn run = Installed().run) return run(text, args);
  if (text && std::strcmp(text, "end") == 0) {
    // Closing must work without the interpreter: it is how the program ends.
    TheCommandQueue().Push(new QuitCommand);
    return TRUE;
  }
  TheLogbook().Write(CString("command interpreter not available: '") + (text ? text : "") +
                     "' not run");
  return FALSE;
}
