#include "mci/frame_output.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gdi/direct_pixels.h"
#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win::mci {

namespace {

// The pixels hold every row the picture's sizes say.
bool Whole(const FramePicture& frame) {
  return frame.pixels && frame.width > 0 && frame.height > 0 && frame.stride >= frame.width &&
         frame.pixels->size() >= static_cast<std::size_t>(frame.stride) * frame.height;
}

}  // namespace

void DrawFrame(HWND wnd, const RECT& dest, const FramePicture& frame) {
  if (!wnd || !IsWindow(wnd) || !Whole(frame)) return;
  HDC dc = GetDC(wnd);
  if (!dc) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  // The rows are stride pixels wide, of which the picture takes the first.
  info.bmiHeader.biWidth = frame.stride;
  info.bmiHeader.biHeight = -frame.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, frame.width,
                frame.height, frame.pixels->data(), &info, DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(wnd, dc);
}

bool DrawFrameInto(HWND wnd, const RECT& dest, VideoSource& video, std::int64_t index) {
  if (!wnd || !IsWindow(wnd) || dest.right - dest.left != video.width() || dest.bottom - dest.top != video.height())
    return false;
  HDC dc = GetDC(wnd);
  if (!dc) return false;
  gdi::DirectPixels target;
  const bool drawn = gdi::BeginDirectPixels(dc, dest, &target) && video.DrawInto(index, target.first, target.stride);
  if (drawn) gdi::EndDirectPixels(dc, target);
  ReleaseDC(wnd, dc);
  return drawn;
}

bool FramesWanted() {
  const char* dir = std::getenv("ZEMRA_MCI_FRAMES");
  return dir && *dir;
}

void DumpFrame(MCIDEVICEID device, std::int64_t index, const FramePicture& frame) {
  const char* dir = std::getenv("ZEMRA_MCI_FRAMES");
  if (!dir || !*dir || !Whole(frame)) return;
  auto surface = gdi::Surface::Create(frame.width, frame.height);
  if (!surface) return;
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x)
      surface->Row(y)[x] = (*frame.pixels)[static_cast<std::size_t>(y) * frame.stride + x] & 0xFFFFFFu;
  char name[48];
  std::snprintf(name, sizeof name, "/%04u-%06lld.png", static_cast<unsigned>(device),
                static_cast<long long>(index));
  gdi::WritePng(*surface, std::string(dir) + name);
}

}  // namespace win::mci
