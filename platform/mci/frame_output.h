// A decoded video frame shown: drawn through GDI into the device's window,
// and written as a PNG file when ZEMRA_MCI_FRAMES names a folder.
#pragma once

#include <cstdint>
#include <vector>

#include "win/mci.h"
#include "win/user.h"

namespace win::mci {

struct FramePicture {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t>* pixels = nullptr;  // 0x00RRGGBB, top-down
};

// Draws into `dest` of the window's client area (nothing without a window).
void DrawFrame(HWND wnd, const RECT& dest, const FramePicture& frame);
// Writes DIR/DDDD-FFFFFF.png when the environment asks for frames.
void DumpFrame(MCIDEVICEID device, std::int64_t index, const FramePicture& frame);

}  // namespace win::mci
