// The headless test API: input injection and window pictures.
#include <algorithm>

#include "display/headless.h"
#include "gdi/png_writer.h"
#include "user/geometry.h"
#include "user/surfaces.h"

namespace win::headless {
namespace {

void Mouse(user::InputKind kind, int x, int y, MouseButton button) {
  user::RawInput in;
  in.kind = kind;
  in.pt = POINT{x, y};
  in.button = button;
  user::QueueInput(in);
}

void Key(user::InputKind kind, UINT vk, int character) {
  user::RawInput in;
  in.kind = kind;
  in.vk = vk;
  in.character = character;
  user::QueueInput(in);
}

}  // namespace

void MoveMouse(int x, int y) { Mouse(user::InputKind::MouseMove, x, y, MouseButton::Left); }
void PressButton(int x, int y, MouseButton b) {
  // A real pointer is over the place before it presses there.
  MoveMouse(x, y);
  Mouse(user::InputKind::ButtonDown, x, y, b);
}
void ReleaseButton(int x, int y, MouseButton b) { Mouse(user::InputKind::ButtonUp, x, y, b); }
void Click(int x, int y, MouseButton b) {
  PressButton(x, y, b);
  ReleaseButton(x, y, b);
}

void PressKey(UINT vk, int character) { Key(user::InputKind::KeyDown, vk, character); }
void ReleaseKey(UINT vk) { Key(user::InputKind::KeyUp, vk, -1); }
void TypeKey(UINT vk) {
  PressKey(vk);
  ReleaseKey(vk);
}

void RequestClose(HWND top) {
  user::RawInput in;
  in.kind = user::InputKind::Close;
  in.top = top;
  user::QueueInput(in);
}

int DispatchPending(int limit) {
  int count = 0;
  MSG msg;
  while (count < limit && PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) break;
    PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    ++count;
  }
  return count;
}

std::unique_ptr<gdi::Surface> CaptureWindow(HWND wnd) {
  user::Window* w = user::FindWindow(wnd);
  if (!w) return nullptr;
  const gdi::Surface* store = user::TopSurface(user::TopLevelOf(wnd));
  if (!store) return nullptr;
  const POINT o = user::WindowOriginInTop(wnd);
  const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  auto out = gdi::Surface::Create(width, height);
  if (!out) return nullptr;
  for (int y = 0; y < height; ++y) {
    const int sy = o.y + y;
    if (sy < 0 || sy >= store->height()) continue;
    const int x0 = std::max(0, -static_cast<int>(o.x));
    const int x1 = std::min(width, store->width() - static_cast<int>(o.x));
    if (x1 > x0) std::copy_n(store->Row(sy) + o.x + x0, x1 - x0, out->Row(y) + x0);
  }
  return out;
}

bool SaveWindowPng(HWND wnd, const std::string& path, std::string* error) {
  auto picture = CaptureWindow(wnd);
  if (!picture) {
    if (error) *error = "the window shows nothing";
    return false;
  }
  return gdi::WritePng(*picture, path, error);
}

}  // namespace win::headless
