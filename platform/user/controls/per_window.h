// State that a window class keeps per window outside the window record (an
// edit's text, a list box's items, a dialog's font and result).
//
// Each window's extra bytes hold a serial number at `serialOffset`; the
// table entry counts only while the window exists and holds the same
// serial, so a state never outlives its window, even when a test drops
// every window at once (win::ResetUserState) and handles start again at 1.
// Handlers keep the shared_ptr while they run: a notification that destroys
// the window does not pull the state from under them.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "win/user.h"

namespace win::user {

std::uint64_t NextWindowStateSerial();

template <class T>
class PerWindow {
 public:
  explicit PerWindow(int serialOffset) : offset_(serialOffset) {}

  std::shared_ptr<T> Attach(HWND wnd) {
    if (++attaches_ % 64 == 0) Purge();
    const std::uint64_t serial = NextWindowStateSerial();
    SetWindowLong(wnd, offset_, static_cast<LONG_PTR>(serial));
    auto state = std::make_shared<T>();
    map_[wnd] = Entry{serial, state};
    return state;
  }

  std::shared_ptr<T> Get(HWND wnd) {
    auto it = map_.find(wnd);
    if (it == map_.end()) return nullptr;
    if (!Valid(it->first, it->second)) {
      map_.erase(it);
      return nullptr;
    }
    return it->second.state;
  }

  void Detach(HWND wnd) { map_.erase(wnd); }

 private:
  struct Entry {
    std::uint64_t serial;
    std::shared_ptr<T> state;
  };

  bool Valid(HWND wnd, const Entry& e) const {
    return IsWindow(wnd) && static_cast<std::uint64_t>(GetWindowLong(wnd, offset_)) == e.serial;
  }

  void Purge() {
    for (auto it = map_.begin(); it != map_.end();) {
      if (Valid(it->first, it->second))
        ++it;
      else
        it = map_.erase(it);
    }
  }

  int offset_;
  std::unordered_map<HWND, Entry> map_;
  unsigned attaches_ = 0;
};

}  // namespace win::user
