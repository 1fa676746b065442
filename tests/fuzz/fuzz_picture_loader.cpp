// fuzz-libs: zemra_layout
//
// Input: a picture file image in memory as a text document's inline picture
// arrives. The first byte chooses the screen (a palette screen dithers, a
// true-colour one does not) and is not part of the image. What the loader
// gives back must be a whole DIB whose transparent index names an entry of
// its table, and drawing it (stretched, with its transparent colour) into a
// small memory DC must stay inside the DIB. Images claiming more than a
// million pixels are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_blit.h"
#include "layout/pictures/picture_loader.h"
#include "pixolt.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

bool tooLarge(const std::uint8_t* d, std::size_t n) {
  if (n < 26 || d[0] != 'B' || d[1] != 'M') return false;
  auto le32 = [&](int at) { return std::int64_t(std::int32_t(d[at] | d[at + 1] << 8 | d[at + 2] << 16 | std::uint32_t(d[at + 3]) << 24)); };
  std::int64_t w = le32(18), h = le32(22);
  if (w < 0) w = -w;
  if (h < 0) h = -h;
  return w * h > (1 << 20);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The magic table (format.dat) is looked up in the home directory, which
  // is the current one without settings.
  if (chdir(ZEMRA_SOURCE_DIR "/data") != 0) return 0;
  win::ShowMessageBoxWindows(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || tooLarge(data + 1, size - 1)) return 0;
  PictureSettings::ForgetForTests((data[0] & 1) ? 8 : 24);
  std::vector<std::uint8_t> image(data + 1, data + size);
  LONG transparent = -7;
  HGLOBAL dib = PictureLoader::LoadMemory(image.data(), static_cast<LONG>(image.size()), transparent);
  win::ClearMessageBoxLog();
  if (!dib) {
    check(transparent == -1);
    return 0;
  }
  const BITMAPINFOHEADER* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  check(h != nullptr && GlobalSize(dib) >= sizeof(BITMAPINFOHEADER));
  const DWORD entries = h->biClrUsed ? h->biClrUsed : (h->biBitCount <= 8 ? 1u << h->biBitCount : 0);
  check(transparent == -1 || (transparent >= 0 && static_cast<DWORD>(transparent) < entries));
  GlobalUnlock(dib);
  DibPicture picture(dib, CreateDIBPalette(dib), transparent);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 24, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  LayoutSize natural = picture.GetSize();
  BlitPicture(dc, picture, RECT{0, 0, 16, 16}, RECT{0, 0, natural.cx, natural.cy});
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return 0;
}
