// Work that must not run where it was asked for: inside a window-message
// handler that a waiting request dispatches, or inside a walk over page
// objects, work that deletes objects (a reload, a stop) would pull them
// away from under the walk. Such work is put off to the next idle call,
// which runs it before the next command.
#pragma once

#include <functional>

void RunAtIdle(std::function<void()> task);
// Runs the tasks put off so far, in order (tasks put off meanwhile wait for
// the next call). The idle processing calls it.
void RunIdleTasks();
int PendingIdleTasks();
// Drops the tasks not yet run (at exit).
void DropIdleTasks();
