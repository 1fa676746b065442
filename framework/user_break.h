// The user's break of a running request, and the application's busy flag.
//
// One program-wide flag: breaking the running request sets it, the waits of
// the server connection and the object model poll it (and clear it by
// polling), the idle processing clears it after each command. It lives here,
// below the foundation and the network layer, so that both and the progress
// reporter share the one flag.
//
// Polling also runs one window-message step so that the window stays alive
// while a caller waits. The step itself belongs to the foundation's message
// pump, which this library cannot call: the foundation installs it (see
// core/user_break.h); until then a poll runs no step.
#pragma once

// Set the flag; the previous value.
bool SetAbortFlag();
// Clear the flag; the previous value.
bool ClearAbortFlag();
// The flag, left as it is.
bool TestAbortFlag();

// One window-message step as a waiting caller runs it. Returns the previous
// step; null installs none.
using MessageStep = void (*)();
MessageStep SetMessageStep(MessageStep step);
// Runs the installed step (nothing when none), then returns the flag and
// clears it.
bool PollUserBreak();

// The application's long-operation (busy) flag: set while a queued command
// runs, set and cleared around a download. Breaking the running request and
// waiting for it read it.
void SetLongOperationFlag(int value);
int LongOperationFlag();
