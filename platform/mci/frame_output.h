// A decoded video frame shown: drawn through GDI into the device's window,
// and written as a PNG file when ZEMRA_MCI_FRAMES names a folder.
#pragma once

#include <cstdint>
#include <vector>

#include "mci/media_module.h"
#include "win/mci.h"
#include "win/user.h"

namespace win::mci {

struct FramePicture {
  int width = 0;
  int height = 0;
  int stride = 0;                                      // pixels from row to row
  const std::vector<std::uint32_t>* pixels = nullptr;  // 0x00RRGGBB, top-down
};

// Draws into `dest` of the window's client area (nothing without a window).
void DrawFrame(HWND wnd, const RECT& dest, const FramePicture& frame);
// Frame `index` of the video converted straight into the window, where
// `dest` is the video's size and all of it can be drawn on; false, with
// nothing drawn, where not (DrawFrame then draws the picture).
bool DrawFrameInto(HWND wnd, const RECT& dest, VideoSource& video, std::int64_t index);
// Whether the environment asks for the frames shown (ZEMRA_MCI_FRAMES).
bool FramesWanted();
// Writes DIR/DDDD-FFFFFF.png when the environment asks for frames.
void DumpFrame(MCIDEVICEID device, std::int64_t index, const FramePicture& frame);

}  // namespace win::mci
