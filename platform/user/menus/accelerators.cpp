// Accelerator tables: from resources or built, and the translation of key
// messages into commands.
#include <map>
#include <memory>
#include <vector>

#include "menu_store.h"
#include "user/dialogs/resource_modules.h"

namespace win::user {
namespace {

constexpr size_t kMaxAccelerators = 10000;
constexpr std::uintptr_t kAccelBase = 0x41000000;

struct Tables {
  std::map<std::uintptr_t, std::vector<ACCEL>> tables;
  std::uintptr_t next = 1;
};

Tables& tables() {
  static Tables t;
  return t;
}

std::vector<ACCEL>* FindTable(HACCEL table) {
  const auto v = reinterpret_cast<std::uintptr_t>(table);
  if (v <= kAccelBase) return nullptr;
  auto it = tables().tables.find(v - kAccelBase);
  return it == tables().tables.end() ? nullptr : &it->second;
}

HACCEL NewTable(std::vector<ACCEL> entries) {
  Tables& t = tables();
  const std::uintptr_t n = t.next++;
  t.tables[n] = std::move(entries);
  return reinterpret_cast<HACCEL>(kAccelBase + n);
}

bool Down(int vk) { return GetKeyState(vk) < 0; }

// Whether the command stands for a disabled item of the window's menu.
bool DisabledInMenu(HWND wnd, WORD cmd) {
  HMENU menu = GetMenu(wnd);
  if (!menu) return false;
  const UINT state = GetMenuState(menu, cmd, MF_BYCOMMAND);
  return state != 0xFFFFFFFF && (state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace
}  // namespace win::user

using namespace win::user;

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
  if (!entries || count <= 0 || static_cast<size_t>(count) > kMaxAccelerators) return nullptr;
  std::vector<ACCEL> v(entries, entries + count);
  for (ACCEL& a : v) a.fVirt &= 0x7F;
  return NewTable(std::move(v));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  if (!FindTable(table)) return FALSE;
  tables().tables.erase(reinterpret_cast<std::uintptr_t>(table) - kAccelBase);
  return TRUE;
}

int CopyAcceleratorTable(HACCEL table, LPACCEL out, int count) {
  const std::vector<ACCEL>* t = FindTable(table);
  if (!t) return 0;
  if (!out) return static_cast<int>(t->size());
  const int n = std::min(count, static_cast<int>(t->size()));
  for (int i = 0; i < n; ++i) out[i] = (*t)[static_cast<size_t>(i)];
  return n;
}

HACCEL LoadAccelerators(HINSTANCE inst, LPCSTR name) {
  const FoundResource r = FindResourceData(inst, name, RT_ACCELERATOR);
  if (!r.data) return nullptr;
  std::vector<ACCEL> entries;
  // Rows of four words: flags (0x80 on the last), key, command, padding.
  for (size_t off = 0; off + 8 <= r.size && entries.size() < kMaxAccelerators; off += 8) {
    const BYTE* p = r.data + off;
    const WORD flags = static_cast<WORD>(p[0] | (p[1] << 8));
    ACCEL a{static_cast<BYTE>(flags & 0x7F), static_cast<WORD>(p[2] | (p[3] << 8)),
            static_cast<WORD>(p[4] | (p[5] << 8))};
    entries.push_back(a);
    if (flags & 0x80) break;
  }
  if (entries.empty()) return nullptr;
  return NewTable(std::move(entries));
}

int TranslateAccelerator(HWND wnd, HACCEL table, LPMSG msg) {
  const std::vector<ACCEL>* t = FindTable(table);
  if (!t || !msg || !IsWindow(wnd)) return 0;
  const UINT m = msg->message;
  const bool keyDown = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
  const bool character = m == WM_CHAR || m == WM_SYSCHAR;
  if (!keyDown && !character) return 0;
  const bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
  const bool alt = Down(VK_MENU) || (msg->lParam & (1 << 29)) != 0;
  for (const ACCEL& a : *t) {
    if (a.fVirt & FVIRTKEY) {
      if (!keyDown || a.key != msg->wParam) continue;
      if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != ctrl ||
          ((a.fVirt & FALT) != 0) != alt)
        continue;
    } else {
      if (!character || a.key != msg->wParam) continue;
      if (((a.fVirt & FALT) != 0) != (m == WM_SYSCHAR)) continue;
    }
    // A command whose menu item is disabled is swallowed, not sent.
    if (!DisabledInMenu(wnd, a.cmd)) {
      if (a.cmd >= 0xF000)
        SendMessage(wnd, WM_SYSCOMMAND, a.cmd, 0);
      else
        SendMessage(wnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    }
    return 1;
  }
  return 0;
}
