// The interpreter as the shell's frame and page links reach it: installed
// into the shell's seam when the program starts.
#include "app/interpreter/interpreter.h"
#include "app/shell_ui.h"

namespace {

BOOL RunLine(const char* text, const char* arguments) {
  Interpreter::Run(text, arguments);
  return TRUE;
}

[[maybe_unused]] const bool installed = [] {
  ShellUi parts;
  parts.run = &RunLine;
  SetShellUi(parts);
  return true;
}();

}  // namespace
