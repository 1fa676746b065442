// The standard window classes in a fresh process: whatever first looks at
// the classes finds them in place, with the first atoms.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win/user.h"

namespace {

LRESULT CALLBACK OwnProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProc(wnd, msg, wp, lp); }

ATOM RegisterOwnClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = OwnProc;
  wc.lpszClassName = "harbourview";
  return RegisterClass(&wc);
}

struct FirstUse {
  const char* what;
  // The first thing the process does with window classes; false when it
  // failed.
  bool (*use)();
  // The standard class it took away, if any.
  const char* gone;
};

// In a process of its own: exits with 0 when, after `first`, every standard
// class is registered (but the one it took away) and the first atom is the
// first standard class's, so none of the program's own came before them.
[[noreturn]] void CheckAfter(const FirstUse& first) {
  int failures = first.use() ? 0 : 1;
  for (const char* name : {"BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR", "#32770"}) {
    WNDCLASS wc{};
    const bool expected = !first.gone || std::strcmp(name, first.gone) != 0;
    if ((GetClassInfo(nullptr, name, &wc) != FALSE) != expected) {
      std::fprintf(stderr, "class %s %s\n", name, expected ? "missing" : "still there");
      ++failures;
    }
  }
  WNDCLASS firstClass{};
  if (!GetClassInfo(nullptr, MAKEINTRESOURCE(0xC000), &firstClass) ||
      std::strcmp(firstClass.lpszClassName, "BUTTON") != 0) {
    std::fprintf(stderr, "the first atom is not BUTTON's\n");
    ++failures;
  }
  std::_Exit(failures);
}

TEST(StandardClasses, AreRegisteredBeforeWhateverFirstUsesTheClasses) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const FirstUse cases[] = {
      {"a class of the program's own registered", [] { return RegisterOwnClass() > 0xC000; }, nullptr},
      {"a standard class looked up", [] {
         WNDCLASS wc{};
         return GetClassInfo(nullptr, "EDIT", &wc) != FALSE && wc.lpfnWndProc != nullptr;
       }, nullptr},
      {"a standard class unregistered", [] { return UnregisterClass("STATIC", nullptr) != FALSE; }, "STATIC"},
      {"a window of a standard class made", [] {
         HWND w = CreateWindow("BUTTON", "OK", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
         return w != nullptr && DestroyWindow(w) != FALSE;
       }, nullptr},
  };
  for (const FirstUse& c : cases)
    EXPECT_EXIT(CheckAfter(c), ::testing::ExitedWithCode(0), "") << c.what;
}

}  // namespace
