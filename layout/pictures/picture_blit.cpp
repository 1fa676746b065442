#include "layout/pictures/picture_blit.h"

#include <cstring>
#include <vector>

#include "layout/pictures/dib_picture.h"
#include "win/kernel.h"

namespace {

// The number of colour-table entries behind a DIB header.
DWORD tableEntries(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed) return h.biClrUsed > 256 ? 256 : h.biClrUsed;
  return h.biBitCount <= 8 ? (1u << h.biBitCount) : 0;
}

// Bytes between the header and the pixel bits.
DWORD tableBytes(const BITMAPINFOHEADER& h) {
  DWORD extra = (h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32)) ? 12 : 0;
  return extra + tableEntries(h) * sizeof(RGBQUAD);
}

class LockedDib {
 public:
  explicit LockedDib(HGLOBAL dib) : dib_(dib), base_(dib ? static_cast<BYTE*>(GlobalLock(dib)) : nullptr) {
    if (base_ && GlobalSize(dib) < sizeof(BITMAPINFOHEADER)) {
      GlobalUnlock(dib_);
      base_ = nullptr;
    }
  }
  ~LockedDib() {
    if (base_) GlobalUnlock(dib_);
  }
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  bool ok() const {
    if (!base_) return false;
    const BITMAPINFOHEADER& h = header();
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 4096) return false;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return false;
    // Every row the header promises must be in the block.
    const unsigned long long rowBytes = ((static_cast<unsigned long long>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    const unsigned long long rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    return h.biSize + tableBytes(h) + rowBytes * rows <= GlobalSize(dib_);
  }
  const BITMAPINFOHEADER& header() const { return *reinterpret_cast<const BITMAPINFOHEADER*>(base_); }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(base_); }
  const BYTE* bits() const { return base_ + header().biSize + tableBytes(header()); }

 private:
  HGLOBAL dib_;
  BYTE* base_;
};

}  // namespace

bool BlitPicture(HDC dc, const DibPicture& picture, const RECT& dst, const RECT& src) {
  LockedDib locked(picture.Dib());
  if (!dc || !locked.ok()) return false;
  const BITMAPINFOHEADER& h = locked.header();
  const LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return true;
  // StretchDIBits counts a bottom-up DIB's source from its bottom row.
  const int sy = h.biHeight < 0 ? src.top : height - src.bottom;

  HPALETTE oldPalette = nullptr;
  if (picture.Palette()) {
    oldPalette = SelectPalette(dc, picture.Palette(), TRUE);
    RealizePalette(dc);
  }
  const DWORD entries = tableEntries(h);
  const LONG index = picture.TransparentIndex();
  if (!picture.HasTransparent() || entries == 0 || index < 0 || static_cast<DWORD>(index) >= entries) {
    StretchDIBits(dc, dst.left, dst.top, dw, dh, src.left, sy, sw, sh, locked.bits(), locked.info(),
                  DIB_RGB_COLORS, SRCCOPY);
  } else {
    // Our own copies of the header and colour table: the mask paints every
    // colour black and the transparent one white (ANDed, the background
    // stays there); the picture paints the transparent colour black (ORed,
    // it changes nothing) and every other colour as it is.
    const size_t infoBytes = h.biSize + entries * sizeof(RGBQUAD);
    std::vector<BYTE> mask(reinterpret_cast<const BYTE*>(locked.info()),
                           reinterpret_cast<const BYTE*>(locked.info()) + infoBytes);
    std::vector<BYTE> paint = mask;
    auto* maskTable = reinterpret_cast<RGBQUAD*>(mask.data() + h.biSize);
    auto* paintTable = reinterpret_cast<RGBQUAD*>(paint.data() + h.biSize);
    for (DWORD i = 0; i < entries; ++i) maskTable[i] = RGBQUAD{0, 0, 0, 0};
    maskTable[index] = RGBQUAD{255, 255, 255, 0};
    paintTable[index] = RGBQUAD{0, 0, 0, 0};
    StretchDIBits(dc, dst.left, dst.top, dw, dh, src.left, sy, sw, sh, locked.bits(),
                  reinterpret_cast<const BITMAPINFO*>(mask.data()), DIB_RGB_COLORS, SRCAND);
    StretchDIBits(dc, dst.left, dst.top, dw, dh, src.left, sy, sw, sh, locked.bits(),
                  reinterpret_cast<const BITMAPINFO*>(paint.data()), DIB_RGB_COLORS, SRCPAINT);
  }
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  return true;
}
