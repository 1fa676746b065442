// One step of the window-message pump, run while the network layer waits so
// that the window stays alive.
#pragma once

// Sleeps 1 ms first when `sleep` is set. Returns -1 once the quit message has
// been seen (that message is consumed; every later call returns -1 at once
// and leaves the queue alone), else 0 after dispatching at most one message.
int PumpMessages(bool sleep);

// Whether the pump has met the quit message.
bool PumpQuitSeen();
// Forgets a quit message seen earlier: for tests that run several sessions
// in one process.
void ResetPumpQuit();
