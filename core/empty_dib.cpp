#include "core/empty_dib.h"

#include <cstring>

#include "framework/app_services.h"
#include "win/kernel.h"
#include "win/user.h"

HGLOBAL CreateEmptyDib(int bits, int width, int height) {
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return nullptr;
  if (width < 1 || width > kMaxDibDimension || height < 1 || height > kMaxDibDimension)
    return nullptr;

  const DWORD colors = bits == 24 ? 0 : DWORD{1} << bits;
  const DWORD_PTR row = (3 * static_cast<DWORD_PTR>(width) + 3) / 4 * 4;
  const DWORD_PTR image = row * static_cast<DWORD_PTR>(height);  // < 2^32 by the limits
  const DWORD_PTR total = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + image;

  HGLOBAL block = GlobalAlloc(GHND, total);
  BITMAPINFOHEADER* header = block ? static_cast<BITMAPINFOHEADER*>(GlobalLock(block)) : nullptr;
  if (!header) {
    if (block) GlobalFree(block);
    AppMessageBox("AFX_ERR_OUT_OF_MEM", MB_OK);
    return nullptr;
  }
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bits);
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(image);
  header->biClrUsed = colors;
  header->biClrImportant = colors;
  GlobalUnlock(block);
  return block;
}
