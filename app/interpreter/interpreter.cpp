#include "app/interpreter/interpreter.h"

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/interpreter/assignment.h"
#include "app/interpreter/deferred_commands.h"
#include "app/interpreter/immediate_statements.h"
#include "app/interpreter/statement.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"

namespace {

struct InterpreterState {
  CString bookmark;
  CString lastDialogText;
};

InterpreterState& State() {
  static InterpreterState state;
  return state;
}

void Push(Command* c) { TheCommandQueue().Push(c); }

}  // namespace

const CString& Interpreter::Bookmark() { return State().bookmark; }
const CString& Interpreter::LastDialogText() { return State().lastDialogText; }

void Interpreter::ResetForTests() { State() = InterpreterState(); }

void Interpreter::Run(const char* text, const char* arguments) {
  SplitCommands(text, [arguments](const CString& line) { Execute(line, arguments); });
}

void Interpreter::Execute(const char* line, const char* arguments) {
  const Statement s = ParseStatement(line, arguments);
  switch (s.kind) {
    case StatementKind::Empty:
      return;
    case StatementKind::Unknown:
      TheLogbook().Write(CString("Cannot interpret unknown command ") + line);
      return;
    case StatementKind::Goto:
      if (s.missingTarget) {
        TheLogbook().Write("goto command missing parameter (URL or collection name)");
        return;
      }
      Push(new GotoCommand(s.argument));
      return;
    case StatementKind::Back:
      Push(new BackCommand);
      return;
    case StatementKind::Again:
      // Nothing is shown yet: there is nothing to load again.
      if (Ref<KXObject> current = TheHistory().Current()) Push(new GotoCommand(current));
      return;
    case StatementKind::Forward:
      Push(new ForwardCommand);
      return;
    case StatementKind::Next:
      Push(new NextCommand);
      return;
    case StatementKind::Previous:
      Push(new PrevCommand);
      return;
    case StatementKind::Root:
      Push(new RootCommand);
      return;
    case StatementKind::KorvexRoot:
      Push(new KorvexRootCommand);
      return;
    case StatementKind::Home:
      Push(new HomeCommand);
      return;
    case StatementKind::Up:
      Push(new UpCommand);
      return;
    case StatementKind::Parents:
      Push(new ParentsCommand);
      return;
    case StatementKind::History:
      Push(new HistoryCommand(NavHistory::kProgramMaximum));
      return;
    case StatementKind::Search:
    case StatementKind::FullTextSearch: {
      const int mode = s.kind == StatementKind::FullTextSearch ? 1 : 0;
      Push(new SearchCommand(mode, s.argument));
      return;
    }
    case StatementKind::End:
      Push(new QuitCommand);
      return;
    case StatementKind::Language:
      Push(s.rest.IsEmpty() ? new LanguageCommand : new LanguageCommand(s.argument));
      return;
    case StatementKind::AudioOn:
      SwitchAudio(CurrentPage(), AudioSwitch::On);
      return;
    case StatementKind::AudioOff:
      SwitchAudio(CurrentPage(), AudioSwitch::Off);
      return;
    case StatementKind::ToggleAudio:
      SwitchAudio(CurrentPage(), AudioSwitch::Toggle);
      return;
    case StatementKind::SetBookmark:
      State().bookmark = s.rest.IsEmpty() ? objectUrl(TheHistory().Current()) : s.rest;
      return;
    case StatementKind::GotoBookmark:
      if (!State().bookmark.IsEmpty()) Push(new GotoCommand(State().bookmark));
      return;
    case StatementKind::Set:
      ExecuteSet(CurrentPage(), line, s.rest);
      return;
    case StatementKind::Debug:
      if (RunCommandWindow(State().lastDialogText)) Run(State().lastDialogText);
      return;
    case StatementKind::Reload:
      // The running request gives up now; the reload itself waits for idle
      // time.
      AbortRunningRequest();
      Push(new ReloadCommand);
      return;
    case StatementKind::Stop:
      AbortRunningRequest();
      Push(new StopCommand);
      return;
    case StatementKind::Info:
      ShowStatusReport();
      return;
    case StatementKind::PrintText:
      SendMainWindowCommand(kPrintCommandId);
      return;
    case StatementKind::PrintPreview:
      SendMainWindowCommand(kPrintPreviewCommandId);
      return;
    case StatementKind::ClearImageCache:
      ClearImageCache();
      return;
  }
}
