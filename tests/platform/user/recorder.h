// A window class whose procedure records every message it receives, for the
// USER tests; the fixture gives each test a fresh USER state.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "win/user.h"

namespace user_test {

struct Received {
  HWND wnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
  bool operator==(const Received& o) const { return wnd == o.wnd && msg == o.msg; }
};

inline std::vector<Received>& received() {
  static std::vector<Received> r;
  return r;
}

// Per-window reactions: a test sets what a window answers to a message;
// otherwise DefWindowProc answers.
using Reaction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
inline std::map<std::pair<HWND, UINT>, Reaction>& reactions() {
  static std::map<std::pair<HWND, UINT>, Reaction> r;
  return r;
}
// Reactions for windows being created (their handle is not known yet).
inline std::map<UINT, Reaction>& anyWindowReactions() {
  static std::map<UINT, Reaction> r;
  return r;
}

inline LRESULT RecordingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  received().push_back({wnd, msg, wp, lp});
  if (auto it = reactions().find({wnd, msg}); it != reactions().end()) return it->second(wnd, msg, wp, lp);
  if (auto it = anyWindowReactions().find(msg); it != anyWindowReactions().end())
    return it->second(wnd, msg, wp, lp);
  return DefWindowProc(wnd, msg, wp, lp);
}

inline constexpr char kClass[] = "Recorder";

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    received().clear();
    reactions().clear();
    anyWindowReactions().clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kClass;
    wc.cbWndExtra = 12;
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    reactions().clear();
    anyWindowReactions().clear();
    win::ResetUserState();
  }

  HWND Top(const char* title = "top") {
    return CreateWindow(kClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr, nullptr,
                        nullptr);
  }
  HWND Child(HWND parent, int id) {
    return CreateWindow(kClass, "child", WS_CHILD | WS_VISIBLE, 1, 2, 30, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // The messages received, of the numbers given, in order.
  static std::vector<Received> Only(std::initializer_list<UINT> msgs) {
    std::vector<Received> out;
    for (const Received& r : received())
      for (UINT m : msgs)
        if (r.msg == m) out.push_back(r);
    return out;
  }
};

}  // namespace user_test
