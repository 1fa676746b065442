// The select() loop of the client. Sockets are served only while a caller
// waits: each pass polls the linked sockets and calls back their handlers,
// and, when nothing was ready, sleeps until a socket, input from the
// display, a window timer or a posted message comes, then runs one
// window-message step so that the window stays alive. While a timer is queued a pass instead waits in
// select() up to the timer and runs no window-message step meanwhile.
//
// One thread; at most one instance at a time (instance() makes it, destroy()
// ends it, the next instance() makes a fresh one). The dispatcher owns no
// handler: owners unlink their sockets, and a handler that is deleted is
// forgotten by the dispatcher on its own (see IOHandler).
#pragma once


#include <list>
#include <memory>

#include "framework/user_break.h"
#include "core/environ.h"
#include "net/io_handler.h"
#include "net/socket_set.h"

class Dispatcher {
 public:
  // Socket numbers 0 .. kTableSize - 1 can be linked.
  static constexpr int kTableSize = 65535;
  enum Kind { kRead = 0, kWrite = 1, kException = 2 };

  // Why link refused a socket.
  enum class LinkError { kNone, kSetFull };

  // The current time as the timers see it. Tests put in a clock of their
  // own; null restores the real one (Environ::getTimeOfDay). Returns the
  // previous clock (null for the real one).
  using Clock = TimeVal (*)();
  static Clock setClock(Clock clock);
  static TimeVal now();

  // The one instance, made on first use.
  static Dispatcher* instance();
  // The instance when there is one; never makes one.
  static Dispatcher* existing();
  // Ends the instance (nothing when there is none). The handlers are
  // forgotten, not deleted. Called from inside a pass (a window message or
  // a callback that ends the session), it forgets everything at once and
  // the instance is freed when that pass returns.
  static void destroy();

  // A socket number outside 0 .. kTableSize - 1, or an unknown kind, is a
  // fatal error. False when the socket could not be watched: the set of
  // that kind already holds SocketSet::kWorkingLimit sockets. The refusal
  // is written to the logbook, lastLinkError() tells it, and nothing is
  // stored. Linking a socket that is linked for that kind already replaces
  // its handler.
  virtual bool link(int socket, int kind, IOHandler* handler);
  virtual IOHandler* handlerFor(int socket, int kind) const;
  // Removes every handler of the socket (range checked as in link).
  virtual void unlink(int socket);
  LinkError lastLinkError() const { return lastLinkError_; }

  // Due time = now + the interval, normalised; queued in due-time order.
  // A timer fires once, on the first pass whose time is strictly later
  // than its due time.
  virtual void startTimer(LONG seconds, LONG microseconds, IOHandler* handler);
  // Removes the first queued timer of the handler (only the first).
  virtual void stopTimer(IOHandler* handler);
  int timerCount() const { return static_cast<int>(timers_.size()); }

  // Marks the socket ready for the kind, so that the next pass serves it
  // without select(). False when it has no handler of that kind (or the
  // ready set is full).
  virtual bool setReady(int socket, int kind);

  // One pass; true when at least one socket was served. A pass started
  // from inside a pass (a callback or a window message that waits for the
  // network) returns false at once and calls no handler.
  virtual bool dispatch(TimeVal* timeout);
  // The same with a timeout, which is written back as the time left (zero
  // when it was used up).
  virtual bool dispatch(LONG& seconds, LONG& microseconds);
  // The polling pass every waiting caller runs: dispatch(nullptr). When it
  // waits on the window system (no timer queued) nothing but an event ends
  // the wait short of kIdleWaitMs.
  virtual bool dispatch();
  // The same polling pass for a caller that keeps a deadline of its own:
  // the wait on the window system ends after `limitMs` at the latest.
  virtual bool dispatchWithin(DWORD limitMs);

  // Whether a pass is running: a pass asked for now would return at once.
  static bool passRunning();

  // The longest an idle polling pass waits. Everything that can end a wait
  // (a linked socket, input from the display, a window timer, a posted
  // message) ends it at once, so this bounds only a wait that nothing
  // would end: an idle wait wakes about once a second instead of a
  // hundred times.
  static constexpr DWORD kIdleWaitMs = 1000;

  // One more than the highest socket number that has a handler.
  int slotCount() const { return slotCount_; }

  // Called by ~IOHandler: drops every table entry and timer of the handler.
  void forget(IOHandler* handler);

 protected:
  Dispatcher();
  virtual ~Dispatcher();

  virtual bool addHandler(int socket, int kind, IOHandler* handler);
  virtual void removeHandler(int socket);
  virtual bool hasReady() const;
  virtual int takeReady(SocketSet& read, SocketSet& write, SocketSet& except);
  virtual int waitFor(SocketSet& read, SocketSet& write, SocketSet& except, TimeVal* timeout,
                      DWORD idleLimitMs);
  virtual void notifyHandlers(int count, SocketSet& read, SocketSet& write, SocketSet& except);
  virtual TimeVal* nextTimeout(TimeVal* timeout);
  virtual void selectError();
  virtual void dropBadSockets();

 private:
  struct Timer {
    TimeVal due;
    IOHandler* handler;
  };

  bool pass(TimeVal* timeout, DWORD idleLimitMs);
  static void checkSocket(int socket);
  static void checkKind(int kind);
  void forgetAll();
  bool anyLinked() const;

  int slotCount_ = 0;
  SocketSet linked_[3];
  SocketSet ready_[3];
  std::unique_ptr<IOHandler*[]> handlers_[3];
  std::list<Timer> timers_;
  TimeVal timeoutValue_{};  // what nextTimeout hands out
  LinkError lastLinkError_ = LinkError::kNone;
  bool dying_ = false;  // destroyed inside a pass: freed when it returns
};

// ---- The user-break flag ------------------------------------------------------
// Set by the application shell when the user breaks a running request,
// polled by the waiting caller. Cleared when a Dispatcher is made.

// The flag is the framework's (SetAbortFlag, ClearAbortFlag,
// TestAbortFlag), shared with the object model and the progress reporter.
//
// Runs one window-message step without sleeping (the application's exit
// hook is called when the quit message arrives), then returns the flag and
// clears it.
bool PollMessages();
