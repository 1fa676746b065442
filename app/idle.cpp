// The idle processing: at most one queued command per idle call, run under
// the busy cursor; a page switch after a navigation that succeeded; the
// recovery when the history has no current object; the idle event of the
// current page, and the next one when the page says it needs it.
#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/idle_tasks.h"
#include "app/idle_wake.h"
#include "app/shell_state.h"
#include "app/zemra_app.h"
#include "framework/progress_reporter.h"
#include "framework/user_break.h"
#include "pages/objects/vobject.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "win/user.h"

namespace {

void SendIdleEventToPage() {
  if (VPage* page = CurrentPage()) page->SendIdleEvent();
}

// A break asked for during the command that ended must not hit the next
// one: neither the wait's flag nor a search's cancel byte stays set.
void ForgetBreak() {
  if (ProgressReporter* progress = GetFrameProgress()) {
    progress->ResetAbort();
    progress->TestAndClearCancel();
  } else {
    ClearAbortFlag();
  }
}

}  // namespace

void ZemraApp::UpdateCursorAfterCommand() {
  if (VPage* page = CurrentPage()) {
    if (VObject* under = page->GetObjectUnderMouse()) {
      under->UpdateCursor();
      return;
    }
  }
  RestoreCursor();
}

void ZemraApp::RecoverCurrentObject() {
  if (TheHistory().Current()) {
    recoveryAttempts_ = 0;
    return;
  }
  if (recoveryGivenUp_) return;
  // Each attempt is one navigating command; when that many have not
  // brought an object, the data source is not answering.
  if (recoveryAttempts_ >= kMaxRecoveryAttempts) {
    recoveryGivenUp_ = true;
    AfxMessageBox(kConnectionFailedText, MB_OK);
    return;
  }
  ++recoveryAttempts_;
  Command* recovery;
  if (TheHistory().CanGoBack())
    recovery = new BackCommand;
  else if (ServerAddress().IsEmpty())
    recovery = new RootCommand;
  else
    recovery = new GotoCommand(ServerAddress());
  TheCommandQueue().Push(recovery);
}

BOOL ZemraApp::OnIdle(LONG count) {
  if (StopFlag()) return FALSE;
  RunIdleTasks();
  if (StopFlag()) return FALSE;
  CommandQueue& queue = TheCommandQueue();
  if (Command* c = queue.Pop()) {
    if (LongOperationFlag()) {
      // A command runs further up the stack: this one is not run, and not
      // kept either.
      delete c;
      SendIdleEventToPage();
      return CWinApp::OnIdle(count);
    }
    SetLongOperationFlag(1);
    ChangeBusyCount(+1);
    queue.SetRunning(c);
    c->Hook();
    const BOOL ok = c->Execute();
    queue.SetRunning(nullptr);
    if (StopFlag()) {
      delete c;
      return FALSE;
    }
    ForgetBreak();
    SetLongOperationFlag(0);
    if (ok && c->IsNavigation()) setCurrentPage(pageParent_, TRUE);
    c->Hook();
    delete c;
    ChangeBusyCount(-1);
    UpdateCursorAfterCommand();
  }
  RecoverCurrentObject();
  SendIdleEventToPage();
  // More work queued: MFC calls again at once while no message waits.
  if (queue.Count() != 0 || PendingIdleTasks() != 0) return TRUE;
  // Otherwise MFC sleeps until the next message: a page with work waiting
  // is called again at once, one that needs an idle event later (a medium
  // playing) is woken by a timer then, and an idle page costs nothing.
  VPage* page = CurrentPage();
  return WakeForIdle(page ? page->IdleWait() : VObject::kNoIdleWait);
}
