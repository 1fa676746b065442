#include "window_store.h"

#include "display_link.h"

#include <cstring>

namespace win::user {
namespace {

// Far above any handle a session creates, so that it never collides.
constexpr std::uintptr_t kDesktopIndex = 0x10010;
// Atoms of registered classes, as Windows numbers string atoms.
constexpr ATOM kFirstAtom = 0xC000;

struct Store {
  std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
  std::uintptr_t nextIndex = 1;
  std::vector<std::shared_ptr<WindowClass>> classes;
  // The standard classes are registered on the first use of the list, not
  // when the library is loaded: a program that makes no window does not pay
  // for them at its start, and one that does finds them first in the list,
  // with the first atoms, as before.
  bool standardClassesPending = true;
  ATOM nextAtom = kFirstAtom;
  Window desktop;

  Store() {
    desktop.handle = HandleFromIndex(kDesktopIndex);
    desktop.proc = DefWindowProc;
    desktop.style = WS_VISIBLE | WS_CLIPCHILDREN;
    desktop.state = WindowState::Alive;
  }
};

Store& store() {
  static Store s;
  return s;
}

std::vector<std::shared_ptr<WindowClass>>& classList() {
  Store& s = store();
  if (s.standardClassesPending) {
    s.standardClassesPending = false;  // first: registering looks classes up
    RegisterControlClasses();
  }
  return s.classes;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameClassName(const std::string& a, const char* b) {
  if (!b) return false;
  size_t n = std::strlen(b);
  if (n != a.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

HWND DesktopHandle() { return store().desktop.handle; }

Window* FindWindow(HWND wnd) {
  Store& s = store();
  if (!wnd) return nullptr;
  if (wnd == s.desktop.handle) {
    s.desktop.rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    s.desktop.client = s.desktop.rect;
    return &s.desktop;
  }
  auto it = s.windows.find(IndexFromHandle(wnd));
  return it == s.windows.end() ? nullptr : it->second.get();
}

HWND TopLevelOf(HWND wnd) {
  Window* w = FindWindow(wnd);
  while (w && w->isChild() && w->parent) {
    Window* p = FindWindow(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->handle : nullptr;
}

Window& NewWindow() {
  Store& s = store();
  if (s.nextIndex == kDesktopIndex) ++s.nextIndex;
  auto w = std::make_unique<Window>();
  w->handle = HandleFromIndex(s.nextIndex++);
  Window& ref = *w;
  s.windows.emplace(IndexFromHandle(ref.handle), std::move(w));
  return ref;
}

void FreeWindow(HWND wnd) {
  Store& s = store();
  auto it = s.windows.find(IndexFromHandle(wnd));
  if (it == s.windows.end()) return;
  if (it->second->cls) --it->second->cls->windowCount;
  s.windows.erase(it);
}

std::vector<HWND> TopLevelWindows() { return store().desktop.children; }

std::vector<HWND> AllWindows() {
  std::vector<HWND> out;
  for (const auto& [index, w] : store().windows) out.push_back(w->handle);
  return out;
}

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
  if (!name) return nullptr;
  for (const auto& c : classList()) {
    if (IS_INTRESOURCE(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name))
                             : SameClassName(c->name, name))
      return c;
  }
  return nullptr;
}

ATOM AddClass(std::shared_ptr<WindowClass> cls) {
  Store& s = store();
  if (FindClass(cls->name.c_str())) return 0;
  if (s.nextAtom == 0) return 0;  // every atom handed out
  cls->atom = s.nextAtom++;
  classList().push_back(std::move(cls));
  return s.classes.back()->atom;
}

bool RemoveClass(LPCSTR name) {
  auto c = FindClass(name);
  if (!c) return false;
  std::erase(classList(), c);
  return true;
}

void ClearWindowsAndClasses() {
  Store& s = store();
  s.windows.clear();
  s.classes.clear();
  s.standardClassesPending = false;  // dropped, as if registered at start
  s.nextIndex = 1;
  s.nextAtom = kFirstAtom;
  s.desktop.children.clear();
  s.desktop.text.clear();
}

bool ReadExtraLong(const std::vector<BYTE>& extra, int offset, LONG_PTR* out) {
  if (offset < 0) return false;
  const size_t at = static_cast<size_t>(offset);
  if (at + sizeof(LONG_PTR) <= extra.size()) {
    std::memcpy(out, extra.data() + at, sizeof(LONG_PTR));
    return true;
  }
  if (at + sizeof(LONG) <= extra.size()) {
    LONG v;
    std::memcpy(&v, extra.data() + at, sizeof v);
    *out = v;
    return true;
  }
  return false;
}

bool WriteExtraLong(std::vector<BYTE>& extra, int offset, LONG_PTR value, LONG_PTR* old) {
  if (!ReadExtraLong(extra, offset, old)) return false;
  const size_t at = static_cast<size_t>(offset);
  if (at + sizeof(LONG_PTR) <= extra.size()) {
    std::memcpy(extra.data() + at, &value, sizeof value);
  } else {
    LONG v = static_cast<LONG>(value);
    std::memcpy(extra.data() + at, &v, sizeof v);
  }
  return true;
}

}  // namespace win::user
