#include "net/dispatcher.h"

#include <cstdio>

#include "core/fatal.h"
#include "core/logbook.h"
#include "core/message_pump.h"
#include "win/winsock.h"

namespace {

Dispatcher* gInstance = nullptr;
// A pass is running (of any instance): callbacks get no nested pass.
bool gInPass = false;
Dispatcher::Clock gClock = nullptr;

constexpr LONG kMicro = 1000000;

bool earlier(const TimeVal& a, const TimeVal& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_usec < b.tv_usec);
}

// a - b, never below zero.
TimeVal difference(const TimeVal& a, const TimeVal& b) {
  long long us = (static_cast<long long>(a.tv_sec) - b.tv_sec) * kMicro + (a.tv_usec - b.tv_usec);
  if (us < 0) us = 0;
  return TimeVal{static_cast<LONG>(us / kMicro), static_cast<LONG>(us % kMicro)};
}

// Keeps the passes of one instance from nesting and marks when one runs.
class PassGuard {
 public:
  PassGuard() { gInPass = true; }
  ~PassGuard() { gInPass = false; }
};

}  // namespace

// ---- Clock and instance ------------------------------------------------------

Dispatcher::Clock Dispatcher::setClock(Clock clock) {
  const Clock old = gClock;
  gClock = clock;
  return old;
}

TimeVal Dispatcher::now() {
  if (gClock) return gClock();
  TimeVal tv{0, 0};
  Environ::getTimeOfDay(&tv, nullptr);
  return tv;
}

Dispatcher* Dispatcher::instance() {
  if (!gInstance) gInstance = new Dispatcher();
  return gInstance;
}

Dispatcher* Dispatcher::existing() { return gInstance; }

void Dispatcher::destroy() {
  Dispatcher* d = gInstance;
  if (!d) return;
  gInstance = nullptr;
  if (gInPass) {
    // The running pass still uses this object: it is freed when that pass
    // returns. Its handlers are forgotten now, so the pass calls none.
    d->forgetAll();
    d->dying_ = true;
    return;
  }
  delete d;
}

Dispatcher::Dispatcher() {
  for (auto& table : handlers_) {
    table = std::make_unique<IOHandler*[]>(kTableSize);
    for (int i = 0; i < kTableSize; ++i) table[i] = nullptr;
  }
  ClearAbortFlag();
}

Dispatcher::~Dispatcher() {
  if (gInstance == this) gInstance = nullptr;
  // The handlers belong to their owners: they are forgotten, not deleted.
}

void Dispatcher::forgetAll() {
  for (int k = 0; k < 3; ++k) {
    for (int s = 0; s < slotCount_; ++s) handlers_[k][s] = nullptr;
    linked_[k].clear();
    ready_[k].clear();
  }
  slotCount_ = 0;
  timers_.clear();
}

void Dispatcher::forget(IOHandler* handler) {
  if (!handler) return;
  for (int s = 0; s < slotCount_; ++s) {
    bool mine = false;
    for (int k = 0; k < 3; ++k) mine = mine || handlers_[k][s] == handler;
    if (!mine) continue;
    // A socket whose handler goes away is dropped for every kind, as a
    // negative callback result would drop it.
    removeHandler(s);
  }
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->handler == handler) it = timers_.erase(it);
    else ++it;
  }
}

// ---- Linking -------------------------------------------------------------------

void Dispatcher::checkSocket(int socket) {
  if (socket < 0 || socket >= kTableSize) {
    char text[80];
    std::snprintf(text, sizeof text, "Dispatcher: socket %d out of range", socket);
    FatalErrorText(text);
  }
}

void Dispatcher::checkKind(int kind) {
  if (kind < kRead || kind > kException) {
    char text[80];
    std::snprintf(text, sizeof text, "Dispatcher: unknown kind %d", kind);
    FatalErrorText(text);
  }
}

bool Dispatcher::link(int socket, int kind, IOHandler* handler) {
  checkSocket(socket);
  return addHandler(socket, kind, handler);
}

IOHandler* Dispatcher::handlerFor(int socket, int kind) const {
  checkSocket(socket);
  checkKind(kind);
  return handlers_[kind][socket];
}

void Dispatcher::unlink(int socket) {
  checkSocket(socket);
  removeHandler(socket);
}

bool Dispatcher::addHandler(int socket, int kind, IOHandler* handler) {
  checkKind(kind);
  lastLinkError_ = LinkError::kNone;
  // A socket already linked for this kind keeps its one place in the set.
  if (!linked_[kind].contains(socket)) {
    if (!linked_[kind].add(socket)) {
      // Refused loudly: a socket that is never watched would leave its
      // owner waiting for ever.
      lastLinkError_ = LinkError::kSetFull;
      char text[120];
      std::snprintf(text, sizeof text,
                    "Dispatcher: cannot watch socket %d: %d sockets are watched already", socket,
                    SocketSet::kWorkingLimit);
      TheLogbook().Write(text);
      return false;
    }
  }
  handlers_[kind][socket] = handler;
  if (socket + 1 > slotCount_) slotCount_ = socket + 1;
  return true;
}

void Dispatcher::removeHandler(int socket) {
  if (socket < 0 || socket >= kTableSize) return;
  for (int k = 0; k < 3; ++k) {
    while (linked_[k].remove(socket)) {
    }
    while (ready_[k].remove(socket)) {
    }
    handlers_[k][socket] = nullptr;
  }
  if (socket + 1 == slotCount_) {
    int s = socket;
    while (s >= 0 && !handlers_[kRead][s] && !handlers_[kWrite][s] && !handlers_[kException][s]) --s;
    slotCount_ = s + 1;
  }
}

bool Dispatcher::anyLinked() const {
  return !linked_[kRead].empty() || !linked_[kWrite].empty() || !linked_[kException].empty();
}

// ---- Timers ---------------------------------------------------------------------

void Dispatcher::startTimer(LONG seconds, LONG microseconds, IOHandler* handler) {
  const TimeVal t = now();
  long long sec = static_cast<long long>(t.tv_sec) + seconds;
  long long usec = static_cast<long long>(t.tv_usec) + microseconds;
  if (usec >= kMicro) {
    sec += usec / kMicro;
    usec %= kMicro;
  } else if (usec < 0 && sec >= 1) {
    const long long borrow = (-usec + kMicro - 1) / kMicro;
    sec -= borrow;
    usec += borrow * kMicro;
  }
  const TimeVal due{static_cast<LONG>(sec), static_cast<LONG>(usec)};
  const Timer entry{due, handler};
  // In front only of a first entry that is due strictly later; otherwise
  // behind every entry due strictly earlier, never in front of the first.
  if (timers_.empty() || earlier(due, timers_.front().due)) {
    timers_.push_front(entry);
    return;
  }
  auto it = std::next(timers_.begin());
  while (it != timers_.end() && earlier(it->due, due)) ++it;
  timers_.insert(it, entry);
}

void Dispatcher::stopTimer(IOHandler* handler) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->handler == handler) {
      timers_.erase(it);
      return;
    }
  }
}

// ---- Ready sockets ------------------------------------------------------------------

bool Dispatcher::setReady(int socket, int kind) {
  checkSocket(socket);
  checkKind(kind);
  if (!handlers_[kind][socket]) return false;
  if (ready_[kind].contains(socket)) return true;
  return ready_[kind].add(socket);
}

bool Dispatcher::hasReady() const {
  return !ready_[kRead].empty() || !ready_[kWrite].empty() || !ready_[kException].empty();
}

int Dispatcher::takeReady(SocketSet& read, SocketSet& write, SocketSet& except) {
  read = ready_[kRead];
  write = ready_[kWrite];
  except = ready_[kException];
  const int count = read.count() + write.count() + except.count();
  for (auto& set : ready_) set.clear();
  return count;
}

// ---- The pass ------------------------------------------------------------------------

bool Dispatcher::dispatch(TimeVal* timeout) { return pass(timeout, kIdleWaitMs); }

bool Dispatcher::dispatchWithin(DWORD limitMs) { return pass(nullptr, limitMs); }

bool Dispatcher::passRunning() { return gInPass; }

bool Dispatcher::pass(TimeVal* timeout, DWORD idleLimitMs) {
  if (gInPass) return false;
  // A break the user asked for already is not slept over: the caller is
  // to see it at once.
  if (TestAbortFlag()) idleLimitMs = 0;
  int count;
  {
    PassGuard guard;
    SocketSet read, write, except;
    if (hasReady()) count = takeReady(read, write, except);
    else count = waitFor(read, write, except, timeout, idleLimitMs);
    if (!dying_) notifyHandlers(count, read, write, except);
  }
  if (dying_) {
    delete this;  // destroyed during the pass
    return count != 0;
  }
  return count != 0;
}

bool Dispatcher::dispatch(LONG& seconds, LONG& microseconds) {
  const TimeVal start = now();
  TimeVal timeout{seconds, microseconds};
  const bool served = dispatch(&timeout);
  const TimeVal end = now();
  const TimeVal used = difference(end, start);
  const TimeVal asked{seconds, microseconds};
  const TimeVal left = earlier(used, asked) ? difference(asked, used) : TimeVal{0, 0};
  seconds = left.tv_sec;
  microseconds = left.tv_usec;
  return served;
}

bool Dispatcher::dispatch() { return dispatch(static_cast<TimeVal*>(nullptr)); }

TimeVal* Dispatcher::nextTimeout(TimeVal* timeout) {
  if (timers_.empty()) return timeout;
  const TimeVal t = now();
  const TimeVal& due = timers_.front().due;
  if (!earlier(t, due)) {
    timeoutValue_ = TimeVal{0, 0};
    return &timeoutValue_;
  }
  const TimeVal untilTimer = difference(due, t);
  timeoutValue_ = timeout && earlier(*timeout, untilTimer) ? *timeout : untilTimer;
  return &timeoutValue_;
}

int Dispatcher::waitFor(SocketSet& read, SocketSet& write, SocketSet& except, TimeVal* timeout,
                        DWORD idleLimitMs) {
  while (true) {
    read = linked_[kRead];
    write = linked_[kWrite];
    except = linked_[kException];
    TimeVal* t = nextTimeout(timeout);
    int count;
    if (t) {
      if (!anyLinked()) return 0;  // due timers fire in notifyHandlers
      const winsock::timeval tv{t->tv_sec, t->tv_usec};
      count = winsock::select(slotCount_, read.raw(), write.raw(), except.raw(), &tv);
    } else {
      // Waits on the linked sockets, the display and the next window timer
      // together: a ready socket is served at once, and an idle wait sleeps
      // until something happens instead of waking to look.
      count = WaitForSocketsOrMessages(read.raw(), write.raw(), except.raw(), idleLimitMs);
      if (count == 0) {
        PumpMessages(false);
        return 0;
      }
    }
    if (count >= 0) return count;
    selectError();
    if (dying_) return 0;
  }
}

void Dispatcher::notifyHandlers(int count, SocketSet& read, SocketSet& write, SocketSet& except) {
  for (int s = 0; s < slotCount_ && count > 0; ++s) {
    struct Step {
      SocketSet* set;
      int kind;
    };
    const Step steps[3] = {{&read, kRead}, {&write, kWrite}, {&except, kException}};
    for (const Step& step : steps) {
      if (!step.set->contains(s)) continue;
      --count;
      IOHandler* h = s < slotCount_ ? handlers_[step.kind][s] : nullptr;
      int result = 0;  // a handler that is gone counts as done
      if (h) {
        switch (step.kind) {
          case kRead: result = h->inputReady(s); break;
          case kWrite: result = h->outputReady(s); break;
          default: result = h->exceptionRaised(s); break;
        }
      }
      if (dying_) return;
      if (result < 0) removeHandler(s);
      else if (result > 0 && handlers_[step.kind][s]) ready_[step.kind].add(s);
    }
  }
  if (timers_.empty()) return;
  const TimeVal t = now();
  while (!timers_.empty() && earlier(timers_.front().due, t)) {
    const Timer entry = timers_.front();
    timers_.pop_front();
    if (entry.handler) entry.handler->timerExpired(entry.due.tv_sec, entry.due.tv_usec);
    if (dying_) return;
  }
}

void Dispatcher::selectError() {
  const int error = winsock::WSAGetLastError();
  if (error == winsock::WSAEINTR) return;
  if (error == winsock::WSAEBADF) {
    dropBadSockets();
    return;
  }
  char text[200];
  std::snprintf(text, sizeof text, "Dispatcher: select, code: %d (%s)", error,
                winsock::ErrorText(error));
  FatalErrorText(text);
}

void Dispatcher::dropBadSockets() {
  for (int s = 0; s < slotCount_; ++s) {
    if (!handlers_[kRead][s]) continue;
    SocketSet one;
    one.add(s);
    const winsock::timeval zero{0, 0};
    if (winsock::select(s + 1, one.raw(), nullptr, nullptr, &zero) < 0) removeHandler(s);
  }
  // A socket linked only for writing or exceptions can be bad too; without
  // this the same select() would fail for ever.
  for (int k = kWrite; k <= kException; ++k) {
    for (int i = linked_[k].count() - 1; i >= 0; --i) {
      const int s = linked_[k].at(i);
      SocketSet one;
      one.add(s);
      const winsock::timeval zero{0, 0};
      if (winsock::select(s + 1, nullptr, k == kWrite ? one.raw() : nullptr,
                          k == kException ? one.raw() : nullptr, &zero) < 0)
        removeHandler(s);
    }
  }
}

// ---- IOHandler --------------------------------------------------------------------

IOHandler::~IOHandler() {
  if (Dispatcher* d = Dispatcher::existing()) d->forget(this);
}

int IOHandler::inputReady(int) { return -1; }
int IOHandler::outputReady(int) { return -1; }
int IOHandler::exceptionRaised(int) { return -1; }
void IOHandler::timerExpired(LONG, LONG) {}
