// The headless display's test API: input as a real display reports it, and
// the pictures of windows.
//
// Injected input takes the same path as the X11 backend's events: it is
// queued raw and becomes messages (with hit testing, WM_SETCURSOR, capture,
// double clicks, focus) when the message loop takes it. Coordinates are
// screen coordinates.
#pragma once

#include <memory>
#include <string>

#include "gdi/surface.h"
#include "user/input_queue.h"
#include "win/user.h"

namespace win::headless {

using user::MouseButton;

void MoveMouse(int x, int y);
void PressButton(int x, int y, MouseButton button = MouseButton::Left);
void ReleaseButton(int x, int y, MouseButton button = MouseButton::Left);
// A press and a release at the same place.
void Click(int x, int y, MouseButton button = MouseButton::Left);
// A key by its virtual-key code; `character` is what the key makes on the
// display's layout (-1: TranslateMessage uses the US layout).
void PressKey(UINT vk, int character = -1);
void ReleaseKey(UINT vk);
void TypeKey(UINT vk);  // press and release
// The window manager's close request for a top-level window.
void RequestClose(HWND top);

// Takes and dispatches (TranslateMessage first) every message waiting,
// WM_PAINT included, without waiting for timers; at most `limit`. Returns
// how many were dispatched; stops at WM_QUIT, which it leaves queued.
int DispatchPending(int limit = 10000);

// A copy of what the window shows (its whole window rectangle, frame
// included, with what covers it inside its top-level window); null for no
// window or one that shows nothing.
std::unique_ptr<gdi::Surface> CaptureWindow(HWND wnd);
// CaptureWindow written as a PNG file (`path` a Linux path). False (and
// `error`) when there is nothing to save or the file cannot be written.
bool SaveWindowPng(HWND wnd, const std::string& path, std::string* error = nullptr);

}  // namespace win::headless
