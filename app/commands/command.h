// A queued user action. Nothing in the client navigates directly: page
// objects, tool buttons, anchors, the command interpreter, page scripts and
// dialogs make a command and push it on the command queue; the idle
// processing runs one per idle call.
//
// The virtual operations are declared in their fixed order; a command type
// overrides them by that order.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "win/types.h"

// The type ids; a command's GetType answers one of them.
enum CommandType : int {
  kCommandBase = 0,
  kCommandGoto = 1,
  kCommandLanguage = 2,
  kCommandParents = 3,
  kCommandConnect = 4,
  kCommandBack = 5,
  kCommandForward = 6,
  kCommandRoot = 7,
  kCommandNext = 8,
  kCommandPrev = 9,
  kCommandKorvexRoot = 10,
  kCommandSearch = 11,
  kCommandHistory = 12,
  kCommandQuit = 13,
  kCommandUp = 14,
  kCommandHome = 15,
  kCommandLoadInline = 16,
  kCommandLoadImage = 17,
  kCommandLoadMovie = 18,
  kCommandLoadSound = 19
};

class Command {
 public:
  Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  virtual ~Command();
  virtual int GetType() const { return kCommandBase; }
  // Whether pushing this command breaks the running request and empties the
  // queue first, and whether its success switches the page.
  virtual BOOL IsNavigation() const { return FALSE; }
  // Runs the command; TRUE when it succeeded. The base only counts the run.
  virtual BOOL Execute();
  // Called by the idle processing right before and right after Execute.
  virtual void Hook() {}

  // How often the command ran (the command types set it to 1 on success).
  int executed = 0;
};

// A command that arrives at an object.
class NavigationCommand : public Command {
 public:
  BOOL IsNavigation() const override { return TRUE; }
  // The object arrived at (running the command first when it has not run),
  // copied into `out`.
  virtual Ref<KXObject>& GetResult(Ref<KXObject>& out);

  Ref<KXObject> object;
};
