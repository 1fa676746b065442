// The interpreter's work that must not run inside an event walk or a wait:
// reloading deletes the current page's objects, the loaded styles, the
// rules and the caches that a walk or a running download may still be
// using, so it is queued as a command and runs at idle time, between
// commands. Emptying the queue for "stop" is a navigating push of a command
// that does nothing when it runs: the queue empties itself on such a push,
// which is safe inside a wait, and then no page switch follows.
#pragma once

#include "app/commands/command.h"

class ReloadCommand : public Command {
 public:
  BOOL Execute() override;
};

class StopCommand : public NavigationCommand {
 public:
  BOOL Execute() override;
};

// The steps of "reload", in their order: styles, rules, caches and the
// queue are emptied and loaded again, and the current object is shown
// again with what was loaded.
void ReloadStylesRulesAndCaches();
