#include "app/idle_tasks.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::function<void()>>& Tasks() {
  static std::vector<std::function<void()>> tasks;
  return tasks;
}

}  // namespace

void RunAtIdle(std::function<void()> task) {
  if (task) Tasks().push_back(std::move(task));
}

void RunIdleTasks() {
  std::vector<std::function<void()>> now;
  now.swap(Tasks());
  for (auto& task : now) task();
}

int PendingIdleTasks() { return static_cast<int>(Tasks().size()); }

void DropIdleTasks() { Tasks().clear(); }
