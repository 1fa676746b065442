// Window classes: registration, lookup and the class longs.
#include <algorithm>
#include <cstring>

#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

// Extra bytes are capped so that a corrupt WNDCLASS cannot ask for gigabytes.
constexpr int kMaxExtraBytes = 4096;

bool validExtra(int n) { return n >= 0 && n <= kMaxExtraBytes; }

void setMenuName(WindowClass& c, LPCSTR name) {
  if (!name || IS_INTRESOURCE(name)) {
    c.menuNameText.clear();
    c.menuName = name;
  } else {
    c.menuNameText = name;
    c.menuName = c.menuNameText.c_str();
  }
}

}  // namespace

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName ||
      !validExtra(wc->cbClsExtra) || !validExtra(wc->cbWndExtra)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->clsExtraBytes = wc->cbClsExtra;
  c->wndExtraBytes = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  setMenuName(*c, wc->lpszMenuName);
  c->extra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
  ATOM atom = AddClass(std::move(c));
  if (!atom) SetLastError(ERROR_CLASS_ALREADY_EXISTS);
  return atom;
}

BOOL UnregisterClass(LPCSTR name, HINSTANCE) {
  auto c = FindClass(name);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  return RemoveClass(name) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR name, WNDCLASS* out) {
  auto c = FindClass(name);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  out->style = c->style;
  out->lpfnWndProc = c->proc;
  out->cbClsExtra = c->clsExtraBytes;
  out->cbWndExtra = c->wndExtraBytes;
  out->hInstance = c->instance;
  out->hIcon = c->icon;
  out->hCursor = c->cursor;
  out->hbrBackground = c->background;
  out->lpszMenuName = c->menuName;
  out->lpszClassName = c->name.c_str();
  return TRUE;
}

int GetClassName(HWND wnd, LPSTR out, int size) {
  Window* w = FindWindow(wnd);
  if (!w || !out || size <= 0) return 0;
  const std::string name = w->cls ? w->cls->name : std::string("#32769");  // the desktop's
  const size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, name.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

LONG_PTR GetClassLong(HWND wnd, int index) {
  Window* w = FindWindow(wnd);
  if (!w || !w->cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const WindowClass& c = *w->cls;
  switch (index) {
    case GCL_MENUNAME: return reinterpret_cast<LONG_PTR>(c.menuName);
    case GCL_HBRBACKGROUND: return reinterpret_cast<LONG_PTR>(c.background);
    case GCL_HCURSOR: return reinterpret_cast<LONG_PTR>(c.cursor);
    case GCL_HICON: return reinterpret_cast<LONG_PTR>(c.icon);
    case GCL_HMODULE: return reinterpret_cast<LONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return c.wndExtraBytes;
    case GCL_CBCLSEXTRA: return c.clsExtraBytes;
    case GCL_WNDPROC: return reinterpret_cast<LONG_PTR>(c.proc);
    case GCL_STYLE: return static_cast<LONG_PTR>(c.style);
    default: break;
  }
  LONG_PTR v = 0;
  if (!ReadExtraLong(c.extra, index, &v)) SetLastError(ERROR_INVALID_INDEX);
  return v;
}

LONG_PTR SetClassLong(HWND wnd, int index, LONG_PTR value) {
  Window* w = FindWindow(wnd);
  if (!w || !w->cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WindowClass& c = *w->cls;
  const LONG_PTR old = GetClassLong(wnd, index);
  switch (index) {
    case GCL_MENUNAME: setMenuName(c, reinterpret_cast<LPCSTR>(value)); return old;
    case GCL_HBRBACKGROUND: c.background = reinterpret_cast<HBRUSH>(value); return old;
    case GCL_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); return old;
    case GCL_HICON: c.icon = reinterpret_cast<HICON>(value); return old;
    case GCL_HMODULE: c.instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GCL_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); return old;
    case GCL_STYLE: c.style = static_cast<UINT>(value); return old;
    case GCL_CBWNDEXTRA:
    case GCL_CBCLSEXTRA:
      // The sizes of live blocks do not change under their windows.
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    default: break;
  }
  LONG_PTR previous = 0;
  if (!WriteExtraLong(c.extra, index, value, &previous)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return previous;
}
