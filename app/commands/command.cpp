#include "app/commands/command.h"

Command::~Command() = default;

BOOL Command::Execute() {
  ++executed;
  return FALSE;
}

Ref<KXObject>& NavigationCommand::GetResult(Ref<KXObject>& out) {
  if (executed == 0) Execute();
  out = object;
  return out;
}
