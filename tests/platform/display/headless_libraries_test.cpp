// A headless program loads none of the display's, the fonts' or PNG's
// system libraries until it uses them: each case runs in a process of its
// own and reads which libraries the process has mapped afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "display/headless.h"
#include "win/gdi.h"
#include "win/user.h"

namespace {

bool Mapped(const std::string& library) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find("/" + library) != std::string::npos) return true;
  }
  return false;
}

constexpr char kClass[] = "LibrariesTest";

// Paints its client area, and writes a word on it when its user data is 1.
LRESULT Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(wnd, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(wnd, &ps);
  RECT rc;
  GetClientRect(wnd, &rc);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (GetWindowLong(wnd, GWL_USERDATA) == 1) TextOut(dc, 4, 4, "Harbour", 7);
  EndPaint(wnd, &ps);
  return 0;
}

HWND ShowWindowPainted(bool withText) {
  WNDCLASS wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = kClass;
  RegisterClass(&wc);
  // No caption: a caption is text.
  HWND wnd = CreateWindow(kClass, "Libraries", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 200, 120, nullptr,
                          nullptr, nullptr, nullptr);
  SetWindowLong(wnd, GWL_USERDATA, withText ? 1 : 0);
  InvalidateRect(wnd, nullptr, TRUE);
  win::headless::DispatchPending();
  return wnd;
}

struct Case {
  const char* what;
  void (*run)();
  std::vector<const char*> loaded;
  std::vector<const char*> notLoaded;
};

// In the process of its own: does what the case does, then exits with 0
// when the libraries mapped are as the case says, naming any that are not.
[[noreturn]] void RunAndCheck(const Case& c) {
  ::setenv("ZEMRA_HEADLESS", "1", 1);
  c.run();
  bool ok = win::IsHeadless();
  for (const char* lib : c.loaded) {
    if (!Mapped(lib)) {
      std::fprintf(stderr, "not loaded: %s\n", lib);
      ok = false;
    }
  }
  for (const char* lib : c.notLoaded) {
    if (Mapped(lib)) {
      std::fprintf(stderr, "loaded: %s\n", lib);
      ok = false;
    }
  }
  std::_Exit(ok ? 0 : 1);
}

TEST(HeadlessLibraries, OnlyWhatIsUsedIsLoaded) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Case cases[] = {
      {"a window painted without text", [] { ShowWindowPainted(false); }, {},
       {"libX11.so", "libzemrax11.so", "libfreetype.so", "libfontconfig.so", "libzemrafonts.so",
        "libpng16.so", "libzemrapng.so"}},
      // FreeType reads PNG glyphs with libpng: that may come with it.
      {"a window with text", [] { ShowWindowPainted(true); },
       {"libzemrafonts.so", "libfreetype.so", "libfontconfig.so"},
       {"libX11.so", "libzemrax11.so", "libzemrapng.so"}},
      {"a window saved as a picture",
       [] {
         HWND wnd = ShowWindowPainted(false);
         const std::string path = std::string(::testing::TempDir()) + "/libraries-test.png";
         if (!win::headless::SaveWindowPng(wnd, path)) std::fprintf(stderr, "not saved\n");
         std::remove(path.c_str());
       },
       {"libzemrapng.so", "libpng16.so"},
       {"libX11.so", "libzemrax11.so", "libfreetype.so", "libzemrafonts.so"}},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(RunAndCheck(c), ::testing::ExitedWithCode(0), "")
        << c.what;
  }
}

}  // namespace
