// Choosing the display: X11 when there is an X server to talk to, headless
// otherwise.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display/display.h"
#include "win/user.h"

namespace win::display {
namespace {

struct Choice {
  std::unique_ptr<Display> display;
};

Choice& choice() {
  static Choice c;
  return c;
}

bool HeadlessAsked() {
  const char* v = std::getenv("ZEMRA_HEADLESS");
  return v && std::strcmp(v, "0") != 0 && *v;
}

std::unique_ptr<Display> Choose() {
  const char* name = std::getenv("DISPLAY");
  if (!HeadlessAsked() && name && *name) {
    std::string why;
    if (auto x11 = MakeX11(name, &why)) return x11;
    std::fprintf(stderr, "zemra: cannot open display %s (%s); running headless\n", name, why.c_str());
  }
  return MakeHeadless();
}

}  // namespace

Display& Active() {
  Choice& c = choice();
  if (!c.display) {
    c.display = Choose();
    const SIZE size = c.display->ScreenSize();
    SetScreenSize(size.cx, size.cy);
  }
  return *c.display;
}

bool Chosen() { return choice().display != nullptr; }

void Use(std::unique_ptr<Display> display) {
  if (!display) display = MakeHeadless();
  choice().display = std::move(display);
  const SIZE size = choice().display->ScreenSize();
  SetScreenSize(size.cx, size.cy);
}

}  // namespace win::display
