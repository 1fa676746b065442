#include "app/app_shell_link.h"

#include <cstring>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/frame/frame_layout.h"
#include "app/frame/main_frame.h"
#include "app/history/nav_history.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "app/zemra_app.h"
#include "framework/progress_reporter.h"
#include "mfc/app.h"

namespace {

CMainFrame* MainFrame() { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }

}  // namespace

void AppShellLink::PushGoto(const Ref<KXObject>& object) {
  TheCommandQueue().Push(new GotoCommand(object));
}

void AppShellLink::RunCommandLine(const char* line, const Ref<KXObject>& anchor) {
  const CString context = anchor ? ObjectId(anchor->getObjectId()).Format() : CString();
  RunInterpreterLine(line, anchor ? context.c_str() : nullptr);
}

void AppShellLink::ExecuteAnchorAction(const Ref<KXObject>& anchor) {
  // The anchor's style may give it an action of its own; without one the
  // anchor is followed.
  Interpreter::ExecuteAnchorAction(anchor);
}

void AppShellLink::PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target,
                            const char* name) {
  Command* c = nullptr;
  switch (kind) {
    case LoadKind::Image:
      c = new LoadImageCommand(document, target);
      break;
    case LoadKind::Movie:
      c = new LoadMovieCommand(document, target);
      break;
    case LoadKind::Sound:
      c = new LoadSoundCommand(document, target);
      break;
    case LoadKind::Inline:
      c = new LoadInlineCommand(document, target, name ? name : "");
      break;
  }
  TheCommandQueue().Push(c);
}

void AppShellLink::CancelLoads(LoadTarget* target) { TheCommandQueue().CancelLoads(target); }

bool AppShellLink::CanRunCommand(const char* word) {
  if (!word) return false;
  struct Test {
    const char* word;
    BOOL (*enabled)();
  };
  static const Test tests[] = {
      {"back", &BackCommand::IsEnabled},       {"forward", &ForwardCommand::IsEnabled},
      {"parents", &ParentsCommand::IsEnabled}, {"up", &UpCommand::IsEnabled},
      {"root", &RootCommand::IsEnabled},       {"korvexroot", &KorvexRootCommand::IsEnabled},
      {"home", &HomeCommand::IsEnabled},       {"next", &NextCommand::IsEnabled},
      {"previous", &PrevCommand::IsEnabled},   {"prev", &PrevCommand::IsEnabled},
      {"history", &HistoryCommand::IsEnabled}, {"search", &SearchCommand::IsEnabled},
  };
  for (const Test& t : tests)
    if (std::strcmp(t.word, word) == 0) return t.enabled() != FALSE;
  return true;
}

Ref<KXObject> AppShellLink::CurrentObject() { return TheHistory().Current(); }

ProgressReporter* AppShellLink::Progress() { return GetFrameProgress(); }

CWnd* AppShellLink::HintWindow() {
  CMainFrame* frame = MainFrame();
  return frame ? frame->HintWindow() : nullptr;
}

void AppShellLink::SetHintWindow(CWnd* hint) {
  if (CMainFrame* frame = MainFrame()) frame->SetHintWindow(hint);
}

RECT AppShellLink::PageArea() { return FramePageArea(); }

int AppShellLink::Effects() { return EffectsSetting(); }

void AppShellLink::LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target) {
  if (ZemraApp* app = GetZemraApp()) app->LoadTextAnchor(record, source, target);
}

void AppShellLink::ClearStartupPicture() {
  if (CMainFrame* frame = MainFrame()) frame->SetShowStartupImage(FALSE);
}

CString AppShellLink::FetchCached(const CString& reference) {
  DocumentFileCache* cache = LoadCache();
  return cache ? cache->Fetch(reference) : CString();
}

CString AppShellLink::AcquireCached(const CString& reference) {
  DocumentFileCache* cache = LoadCache();
  return cache ? cache->Acquire(reference) : CString();
}

void AppShellLink::UnlockCached(const CString& reference) {
  if (DocumentFileCache* cache = LoadCache()) cache->Unlock(reference);
}
