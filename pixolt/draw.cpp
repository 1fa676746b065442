// Drawing a DIB or a device bitmap into a device context.
#include "dib_block.h"
#include "gdi_info.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"

using namespace pixolt;

namespace {

// Selects the palette as a background palette and realizes it while alive.
class BackgroundPalette {
 public:
  BackgroundPalette(HDC dc, HPALETTE palette) : dc_(dc) {
    if (!palette) return;
    old_ = SelectPalette(dc, palette, TRUE);
    selected_ = true;
    RealizePalette(dc);
  }
  ~BackgroundPalette() {
    if (selected_) SelectPalette(dc_, old_, TRUE);
  }
  BackgroundPalette(const BackgroundPalette&) = delete;
  BackgroundPalette& operator=(const BackgroundPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
  bool selected_ = false;
};

bool IsBitmap(HBITMAP bitmap) {
  return bitmap && GetObjectType(reinterpret_cast<HGDIOBJ>(bitmap)) == OBJ_BITMAP;
}

// The common part of DrawDDB and StretchDDB: a memory context holding the
// bitmap, both contexts with the palette.
BOOL BlitDdb(const char* op, HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int width,
             int height, bool stretch) {
  if (!IsBitmap(bitmap)) {
    Report(op, kNoDdb);
    return FALSE;
  }
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) {
    Report(op, kNoMemoryContext);
    return FALSE;
  }
  {
    BackgroundPalette screenPalette(dc, palette);
    BackgroundPalette memPalette(mem, palette);
    BITMAP bm{};
    GetObject(reinterpret_cast<HGDIOBJ>(bitmap), sizeof bm, &bm);
    HGDIOBJ oldBitmap = SelectObject(mem, reinterpret_cast<HGDIOBJ>(bitmap));
    if (stretch) {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, x, y, width, height, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    } else {
      BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
    }
    // The bitmap goes back to its owner free to be selected elsewhere.
    SelectObject(mem, oldBitmap);
  }
  DeleteDC(mem);
  return TRUE;
}

}  // namespace

BOOL DrawDIB(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y) {
  LockedDib d(dib);
  if (d.null() || !d.Valid()) return FALSE;
  GdiInfo info(d);
  BackgroundPalette selected(dc, palette);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(d.width()), static_cast<DWORD>(d.height()), 0, 0, 0,
                    static_cast<UINT>(d.height()), d.bits(), info.info(), DIB_RGB_COLORS);
  return TRUE;
}

BOOL StretchDIB(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y, int width, int height) {
  LockedDib d(dib);
  if (d.null() || !d.Valid()) return FALSE;
  GdiInfo info(d);
  BackgroundPalette selected(dc, palette);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, d.width(), d.height(), d.bits(), info.info(),
                DIB_RGB_COLORS, SRCCOPY);
  return TRUE;
}

BOOL DrawDDB(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y) {
  return BlitDdb("DrawDDB", dc, bitmap, palette, x, y, 0, 0, false);
}

BOOL StretchDDB(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int width, int height) {
  return BlitDdb("StretchDDB", dc, bitmap, palette, x, y, width, height, true);
}
