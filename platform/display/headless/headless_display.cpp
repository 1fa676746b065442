// The headless display: the backing stores are the framebuffers; nothing is
// sent anywhere and input comes only from the test API (display/headless.h).
#include "display/display.h"
#include "user/display_link.h"
#include "win/kernel.h"

namespace win::display {
namespace {

// Waiting without an input source: the thread sleeps, in naps so that a
// wait without end still wakes now and then.
constexpr DWORD kMaxNapMs = 250;

class HeadlessDisplay final : public Display {
 public:
  bool IsHeadless() const override { return true; }
  SIZE ScreenSize() const override { return SIZE{1024, 768}; }
  void WindowChanged(HWND) override {}
  void WindowDestroyed(HWND) override {}
  void Flush() override {
    // Nobody looks at the damage: drop it so that it does not pile up.
    for (HWND top : user::TopLevelWindows())
      if (gdi::Surface* s = user::TopSurface(top)) s->TakeDamage();
  }
  void CursorChanged() override {}
  void Poll() override {}
  void Sync() override {}
  void Wait(DWORD timeoutMs) override { Sleep(timeoutMs < kMaxNapMs ? timeoutMs : kMaxNapMs); }
  void Reset() override {}
};

}  // namespace

std::unique_ptr<Display> MakeHeadless() { return std::make_unique<HeadlessDisplay>(); }

}  // namespace win::display
