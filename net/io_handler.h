// The base of everything the Dispatcher calls back: a socket that can be
// read, written or has an exception, and timers that expire.
#pragma once

#include "win/types.h"

class IOHandler {
 public:
  IOHandler() = default;
  IOHandler(const IOHandler&) = delete;
  IOHandler& operator=(const IOHandler&) = delete;
  // The dispatcher never deletes a handler; the owner deletes it, and a
  // handler that goes away is forgotten by the dispatcher (every socket
  // kind and every timer that names it), so no callback reaches it later.
  virtual ~IOHandler();

  // Results of the socket callbacks: below 0 unlinks the socket from the
  // dispatcher altogether (every kind); 0 is done; above 0 means more to do
  // at once: the socket is served again on the next pass without waiting.
  // The base versions return -1.
  virtual int inputReady(int socket);
  virtual int outputReady(int socket);
  virtual int exceptionRaised(int socket);
  // A timer of this handler fell due; the time is its due time. The base
  // version does nothing.
  virtual void timerExpired(LONG seconds, LONG microseconds);
};
