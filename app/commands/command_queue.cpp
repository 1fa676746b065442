#include "app/commands/command_queue.h"

#include <vector>

#include "app/commands/load_commands.h"
#include "app/shell_state.h"
#include "core/object_utils.h"

CommandQueue::~CommandQueue() { Clear(); }

void CommandQueue::Push(Command* c) {
  if (!c) return;
  if (closed_ || StopFlag()) {
    delete c;
    return;
  }
  if (c->GetType() == kCommandQuit) closed_ = true;
  if (c->IsNavigation()) {
    AbortRunningRequest();
    Clear();
  }
  if (count_ >= kCapacity) {
    delete c;
    return;
  }
  slots_[(head_ + count_) % kCapacity] = c;
  ++count_;
}

Command* CommandQueue::Pop() {
  if (count_ == 0) return nullptr;
  Command* c = slots_[head_];
  slots_[head_] = nullptr;
  head_ = (head_ + 1) % kCapacity;
  --count_;
  return c;
}

void CommandQueue::Cancel(Command* c) {
  if (!c) return;
  for (int i = 0; i < count_; ++i) {
    Command*& slot = slots_[(head_ + i) % kCapacity];
    if (slot == c) {
      slot = nullptr;
      delete c;
      return;
    }
  }
}

Command* CommandQueue::At(int i) const {
  if (i < 0 || i >= count_) return nullptr;
  return slots_[(head_ + i) % kCapacity];
}

void CommandQueue::Clear() {
  // The slots are emptied before any command is deleted: a destructor that
  // reaches the queue finds it consistent.
  std::vector<Command*> pending;
  while (count_ > 0) {
    if (Command* c = Pop()) pending.push_back(c);
  }
  head_ = 0;
  for (Command*& slot : slots_) slot = nullptr;
  for (Command* c : pending) delete c;
}

void CommandQueue::CancelLoads(LoadTarget* target) {
  if (!target) return;
  for (int i = 0; i < count_; ++i) {
    Command*& slot = slots_[(head_ + i) % kCapacity];
    auto* load = dynamic_cast<LoadCommand*>(slot);
    if (load && load->Target() == target) {
      slot = nullptr;
      delete load;
    }
  }
  if (auto* load = dynamic_cast<LoadCommand*>(running_); load && load->Target() == target)
    load->DropTarget();
}

void CommandQueue::ResetForTests() {
  Clear();
  closed_ = false;
  running_ = nullptr;
}

CommandQueue& TheCommandQueue() {
  static CommandQueue queue;
  return queue;
}

void AbortRunningRequest() { stepBusyProgress(); }
