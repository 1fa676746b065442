// Converting between DIBs and device-dependent bitmaps of the display.
#include <cstring>

#include "dib_block.h"
#include "gdi_info.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"

using namespace pixolt;

namespace {

// The screen's context with a palette selected (foreground) and realized,
// both given back when it goes.
class ScreenWithPalette {
 public:
  explicit ScreenWithPalette(HPALETTE palette) : dc_(GetDC(nullptr)) {
    if (!dc_ || !palette) return;
    old_ = SelectPalette(dc_, palette, FALSE);
    selected_ = true;
    RealizePalette(dc_);
  }
  ~ScreenWithPalette() {
    if (!dc_) return;
    if (selected_) SelectPalette(dc_, old_, FALSE);
    ReleaseDC(nullptr, dc_);
  }
  ScreenWithPalette(const ScreenWithPalette&) = delete;
  ScreenWithPalette& operator=(const ScreenWithPalette&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
  bool selected_ = false;
};

}  // namespace

HBITMAP DIBtoDDB(HGLOBAL dib, HPALETTE palette) {
  LockedDib d(dib);
  if (d.null()) {
    Report("DIBtoDDB", kNoDib);
    return nullptr;
  }
  if (!d.Valid()) {
    Report("DIBtoDDB", kUnknownFormat);
    return nullptr;
  }
  GdiInfo info(d);
  ScreenWithPalette screen(palette);
  if (!screen.dc()) return nullptr;
  return CreateDIBitmap(screen.dc(), &info.header, CBM_INIT, d.bits(), info.info(), DIB_RGB_COLORS);
}

HGLOBAL DDBtoDIB(HBITMAP bitmap, HPALETTE palette, WORD bitCount, DWORD compression) {
  constexpr char kOp[] = "DDBtoDIB";
  BITMAP bm{};
  if (!bitmap || GetObjectType(reinterpret_cast<HGDIOBJ>(bitmap)) != OBJ_BITMAP ||
      !GetObject(reinterpret_cast<HGDIOBJ>(bitmap), sizeof bm, &bm)) {
    Report(kOp, kNoDdb);
    return nullptr;
  }
  if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  WORD bits = bitCount != 0 ? bitCount : static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
  // Bit-field masks would need room the header does not count: refused.
  bool knownCompression = compression == BI_RGB || compression == BI_RLE8 || compression == BI_RLE4;
  if ((bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
      !knownCompression) {
    Report(kOp, kUnknownFormat);
    return nullptr;
  }
  BITMAPINFOHEADER h{};
  FillHeader(h, bm.bmWidth, bm.bmHeight, bits, 0, kPelsPerMeter, kPelsPerMeter, 0, 0);
  h.biCompression = compression;
  DWORD colors = ColorCount(h);
  h.biClrUsed = colors;

  NewBlock info(kInfoHeaderSize + 4ull * colors);
  if (!info.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  std::memcpy(info.data(), &h, sizeof h);
  ScreenWithPalette screen(palette);
  if (!screen.dc()) {
    Report(kOp, "Fehler in GetDIBits bei Daten\xfc" "bertragung!");
    return nullptr;
  }
  // A first query without bits lets the system fill in the header.
  GetDIBits(screen.dc(), bitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr,
            reinterpret_cast<LPBITMAPINFO>(info.data()), DIB_RGB_COLORS);
  std::memcpy(&h, info.data(), sizeof h);
  std::uint64_t computed = RowBytes(static_cast<std::uint64_t>(bm.bmWidth), bits) *
                           static_cast<std::uint64_t>(bm.bmHeight);
  if (h.biSizeImage == 0) {
    if (compression != BI_RGB) {
      Report(kOp, "Fehler in GetDIBits bei RLE-DIBs!");
      return nullptr;
    }
    h.biSizeImage = static_cast<DWORD>(computed);
  }
  // The rows the second query writes always fit.
  if (compression == BI_RGB && h.biSizeImage < computed) h.biSizeImage = static_cast<DWORD>(computed);
  h.biClrUsed = colors;
  NewBlock out(h.biSizeImage <= kMaxBitsBytes ? kInfoHeaderSize + 4ull * colors + h.biSizeImage : ~0ull);
  if (!out.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  std::memcpy(out.data(), &h, sizeof h);
  int lines = GetDIBits(screen.dc(), bitmap, 0, static_cast<UINT>(bm.bmHeight),
                        out.data() + kInfoHeaderSize + 4ull * colors,
                        reinterpret_cast<LPBITMAPINFO>(out.data()), DIB_RGB_COLORS);
  if (lines == 0) {
    Report(kOp, "Fehler in GetDIBits bei Daten\xfc" "bertragung!");
    return nullptr;
  }
  // The query may have set the count to "all"; the header names it.
  out.header().biClrUsed = colors;
  return out.Release();
}
