#include "mci/frame_output.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win::mci {

void DrawFrame(HWND wnd, const RECT& dest, const FramePicture& frame) {
  if (!wnd || !IsWindow(wnd) || !frame.pixels) return;
  HDC dc = GetDC(wnd);
  if (!dc) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, frame.width,
                frame.height, frame.pixels->data(), &info, DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(wnd, dc);
}

void DumpFrame(MCIDEVICEID device, std::int64_t index, const FramePicture& frame) {
  const char* dir = std::getenv("ZEMRA_MCI_FRAMES");
  if (!dir || !*dir || !frame.pixels) return;
  auto surface = gdi::Surface::Create(frame.width, frame.height);
  if (!surface) return;
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x)
      surface->Row(y)[x] = (*frame.pixels)[static_cast<std::size_t>(y) * frame.width + x] & 0xFFFFFFu;
  char name[48];
  std::snprintf(name, sizeof name, "/%04u-%06lld.png", static_cast<unsigned>(device),
                static_cast<long long>(index));
  gdi::WritePng(*surface, std::string(dir) + name);
}

}  // namespace win::mci
