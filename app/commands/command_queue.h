// The one queue of pending commands: a ring of 50, drained one command per
// idle call. The queue owns every command pushed on it.
#pragma once

#include "app/commands/command.h"
#include "core/static_guard.h"
#include "core/store_registry.h"

class LoadTarget;

class CommandQueue {
 public:
  static constexpr int kCapacity = 50;

  CommandQueue() = default;
  CommandQueue(const CommandQueue&) = delete;
  CommandQueue& operator=(const CommandQueue&) = delete;
  ~CommandQueue();

  // Takes the command. Null is ignored. A closed queue, or one after the
  // quit command ran, deletes it at once. A quit command closes the queue.
  // A navigating command breaks the running request and empties the queue
  // first. A full queue deletes the new command silently.
  void Push(Command* c);
  // The oldest pending slot, or null when none is pending. A cancelled slot
  // also gives null. The caller owns what it gets.
  Command* Pop();
  // Blanks the first pending slot holding `c` and deletes `c` (the queue owns
  // it); nothing for null or a command that is not pending.
  void Cancel(Command* c);
  // The i-th pending slot from the oldest (null for a cancelled slot, an
  // index out of range or an empty queue).
  Command* At(int i) const;
  int Count() const { return count_; }
  // Deletes every pending command; the closed flag stays.
  void Clear();
  bool IsClosed() const { return closed_; }

  // The command the idle processing runs now (null between commands): a
  // target that goes away while its own load runs is dropped from it too.
  Command* Running() const { return running_; }
  void SetRunning(Command* c) { running_ = c; }

  // Forgets every pending load that would deliver to `target`, and drops it
  // from the load that runs now.
  void CancelLoads(LoadTarget* target);

  // Tests start each case with an open, empty queue.
  void ResetForTests();

 private:
  Command* slots_[kCapacity] = {};
  int count_ = 0;
  int head_ = 0;
  bool closed_ = false;
  Command* running_ = nullptr;
};

// The program's queue.
CommandQueue& TheCommandQueue();
// Breaks the request that is running (the user-break flag and the cancel
// byte of the main frame's progress reporter, while a command or a download
// runs).
void AbortRunningRequest();
