#include "socket_table.h"

#include <mutex>
#include <vector>

#include "posix_backend.h"

namespace winsock_table {
namespace {

// Numbers stay below 65535, the range the client's dispatcher indexes.
constexpr int kNormalLimit = 65534;

struct Table {
  std::mutex lock;
  std::vector<Entry> entries{1};  // number 0 is never handed out
  int open = 0;
  int limit = kNormalLimit;
  int starts = 0;
};

Table& table() {
  static Table* t = new Table;  // lives to the very end of the program
  return *t;
}

thread_local int tLastError = 0;

}  // namespace

int lastError() { return tLastError; }
void setLastError(int error) { tLastError = error; }

bool started() {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  return t.starts > 0;
}

void addStart() {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  ++t.starts;
}

bool dropStart() {
  Table& t = table();
  std::vector<int> toClose;
  {
    std::lock_guard<std::mutex> g(t.lock);
    if (t.starts <= 0) return false;
    if (--t.starts > 0) return true;
    // The last clean-up ends every socket, as WinSock's does.
    for (Entry& e : t.entries) {
      if (e.fd >= 0) toClose.push_back(e.fd);
      e = Entry();
    }
    t.open = 0;
  }
  for (int fd : toClose) winsock_posix::closeFd(fd);
  return true;
}

std::uint32_t add(int fd, bool nonblocking) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  if (t.open >= t.limit) return 0;
  std::size_t i = 1;
  while (i < t.entries.size() && t.entries[i].fd >= 0) ++i;
  if (i >= static_cast<std::size_t>(kNormalLimit) + 1) return 0;
  if (i == t.entries.size()) t.entries.emplace_back();
  t.entries[i].fd = fd;
  t.entries[i].nonblocking = nonblocking;
  ++t.open;
  return static_cast<std::uint32_t>(i);
}

bool find(std::uint32_t s, Entry* out) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  if (s == 0 || s >= t.entries.size() || t.entries[s].fd < 0) return false;
  *out = t.entries[s];
  return true;
}

bool setNonblocking(std::uint32_t s, bool on) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  if (s == 0 || s >= t.entries.size() || t.entries[s].fd < 0) return false;
  t.entries[s].nonblocking = on;
  return true;
}

bool remove(std::uint32_t s, int* fd) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  if (s == 0 || s >= t.entries.size() || t.entries[s].fd < 0) return false;
  *fd = t.entries[s].fd;
  t.entries[s] = Entry();
  --t.open;
  return true;
}

int openCount() {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  return t.open;
}

int setLimit(int count) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  const int old = t.limit;
  t.limit = count < 0 || count > kNormalLimit ? kNormalLimit : count;
  return old;
}

}  // namespace winsock_table
