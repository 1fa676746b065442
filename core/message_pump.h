// One step of the window-message pump, run while the network layer waits so
// that the window stays alive, and the wait between steps.
#pragma once

#include "win/types.h"
#include "win/winsock.h"

// With `sleep`, waits first as WaitForMessages(kPumpWaitMs) does. Returns -1
// once the quit message has been seen (that message is consumed; every later
// call returns -1 at once and leaves the queue alone), else 0 after
// dispatching at most one message.
int PumpMessages(bool sleep);

// The longest a pump step waits for something to happen before it runs.
inline constexpr DWORD kPumpWaitMs = 1;

// Waits, without spinning, until a socket of the sets is ready as asked,
// the window system has something for the thread (a message waiting, input
// from the display, a timer due), or `limitMs` passes; not at all when a
// socket or a message is ready already. The sets are left holding the ready
// sockets; the result is their number, or SOCKET_ERROR (WSAGetLastError
// tells; the sets are then unchanged). Null or empty sets: the wait is on
// the window system and the time alone.
int WaitForSocketsOrMessages(winsock::fd_set* read, winsock::fd_set* write,
                             winsock::fd_set* except, DWORD limitMs);
// The same for one socket, for reading or for writing: whether it is ready.
bool WaitForSocketOrMessages(int socket, bool forWrite, DWORD limitMs);
// The same without sockets.
void WaitForMessages(DWORD limitMs);

// How many waits above were allowed to sleep (nothing was ready when they
// began): an upper bound of the wake-ups an idle wait costs.
long long PumpWaitCount();

// Whether the pump has met the quit message.
bool PumpQuitSeen();
// Forgets a quit message seen earlier: for tests that run several sessions
// in one process.
void ResetPumpQuit();
