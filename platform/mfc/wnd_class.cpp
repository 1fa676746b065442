// Window classes of the framework's window procedure.
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "mfc/app.h"
#include "mfc/wnd.h"

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  // One name per set of attributes; the names live as long as the program.
  using Key = std::tuple<UINT, HCURSOR, HBRUSH, HICON>;
  static std::map<Key, std::string> names;
  const Key key{classStyle, cursor, background, icon};
  auto it = names.find(key);
  if (it == names.end()) {
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%x:%zx:%zx:%zx", classStyle,
                  reinterpret_cast<size_t>(cursor), reinterpret_cast<size_t>(background),
                  reinterpret_cast<size_t>(icon));
    it = names.emplace(key, name).first;
  }
  LPCSTR name = it->second.c_str();
  // The window system may have been reset since: register again when gone.
  WNDCLASS existing{};
  if (!::GetClassInfo(AfxGetInstanceHandle(), name, &existing)) {
    WNDCLASS wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!::RegisterClass(&wc)) return nullptr;
  }
  return name;
}
