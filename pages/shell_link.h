// What page objects ask of the application shell. Page objects never navigate
// and never fetch by themselves: a click, a tool button, an anchor or a script
// line becomes a command that the shell queues, or a line that the shell's
// command interpreter runs. The shell sits above the pages, so it installs
// its implementation here at start-up; until then (in tests and tools) the
// base answers every call with "nothing done".
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "win/types.h"

class CWnd;
class LoadTarget;
class ProgressReporter;
class FileSource;

// Which load command brings a document's file to a waiting page object.
enum class LoadKind { Image, Movie, Sound, Inline };

class ShellLink {
 public:
  virtual ~ShellLink() = default;

  // Queues a goto of the object (a navigating push: it breaks the request
  // that is running).
  virtual void PushGoto(const Ref<KXObject>& object) { (void)object; }
  // Queues a goto of an object named by a name or URL (a navigating push).
  // A shell without its own goto by name runs the interpreter's "goto".
  virtual void PushGotoName(const char* target) {
    RunCommandLine(CString("goto ") + (target ? target : ""), Ref<KXObject>());
  }
  // Runs one line of the user command interpreter; `anchor` is the anchor
  // the line came from, or null.
  virtual void RunCommandLine(const char* line, const Ref<KXObject>& anchor) {
    (void)line, (void)anchor;
  }
  // Runs the action of a link anchor as the interpreter does for a click.
  virtual void ExecuteAnchorAction(const Ref<KXObject>& anchor) { (void)anchor; }
  // Queues a load command that hands the document's file to `target` (for
  // LoadKind::Inline, `name` is the name the waiting text object gave).
  virtual void PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target,
                        const char* name) {
    (void)kind, (void)document, (void)target, (void)name;
  }
  // Forgets every queued load that would deliver to `target`; called before a
  // target goes away, so that no load ever reaches a freed target.
  virtual void CancelLoads(LoadTarget* target) { (void)target; }
  // Whether the navigation command that a tool button's words name could run
  // now ("back", "forward", "up", "home", ...).
  virtual bool CanRunCommand(const char* word) { (void)word; return false; }
  // The object the history shows now, or null.
  virtual Ref<KXObject> CurrentObject() { return {}; }
  // The main frame's progress reporter, or null without a frame.
  virtual ProgressReporter* Progress() { return nullptr; }
  // The hint window the main frame keeps, or null.
  virtual CWnd* HintWindow() { return nullptr; }
  // The page switch makes the hint window once and hands it to the main
  // frame, which keeps it and deletes it with itself.
  virtual void SetHintWindow(CWnd* hint) { (void)hint; }
  // The page area in the main frame's client coordinates (every page is
  // made in it); empty without a frame.
  virtual RECT PageArea() { return RECT{0, 0, 0, 0}; }
  // INIT Effects: non-zero when page transitions are drawn.
  virtual int Effects() { return 1; }
  // A text anchor's destination, to be loaded inline into a text object.
  virtual void LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target) {
    (void)record, (void)source, (void)target;
  }
  // The main frame stops drawing its start-up picture.
  virtual void ClearStartupPicture() {}
  // The local file of a document (a URL or document name) from the file
  // cache, downloaded into it when missing; "" when it cannot be had.
  virtual CString FetchCached(const CString& reference) { (void)reference; return {}; }
  // The same, but the cache keeps the file (it is never evicted) until
  // UnlockCached with the same reference; a base without a cache locks
  // nothing.
  virtual CString AcquireCached(const CString& reference) { return FetchCached(reference); }
  virtual void UnlockCached(const CString& reference) { (void)reference; }
};

// The installed link (a do-nothing base until the shell installs its own).
ShellLink& Shell();
// Installs `link` (null restores the do-nothing base); the caller keeps it
// alive while installed.
void SetShellLink(ShellLink* link);
