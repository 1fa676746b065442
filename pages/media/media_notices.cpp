#include "pages/media/media_notices.h"

#include "mfc/cstring.h"
#include "pages/media/media_globals.h"
#include "win/mci.h"
#include "win/user.h"

namespace {

constexpr const char* kNoticeClass = "ZemraMediaNotices";

HWND& noticeWindow() {
  static HWND window = nullptr;
  return window;
}

LRESULT CALLBACK NoticeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == MM_MCINOTIFY) {
    ++Media().notices;
    return 0;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

// Whether the handle kept is still the notice window: after a window system
// reset the same handle may name another program window.
bool StillOurs(HWND window) {
  char name[32] = {};
  return window && IsWindow(window) && GetClassName(window, name, sizeof name) > 0 &&
         CString(name).CompareNoCase(kNoticeClass) == 0;
}

}  // namespace

HWND MediaNoticeWindow() {
  HWND& window = noticeWindow();
  if (StillOurs(window)) return window;
  window = nullptr;
  WNDCLASS known{};
  if (!GetClassInfo(nullptr, kNoticeClass, &known)) {
    WNDCLASS cls{};
    cls.lpfnWndProc = NoticeProc;
    cls.lpszClassName = kNoticeClass;
    if (!RegisterClass(&cls)) return nullptr;
  }
  // Never shown: it only receives posted notices.
  window = CreateWindowEx(0, kNoticeClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  return window;
}

std::uint32_t MediaNoticeCount() { return Media().notices; }

void DestroyMediaNoticeWindow() {
  HWND& window = noticeWindow();
  if (StillOurs(window)) DestroyWindow(window);
  window = nullptr;
}
