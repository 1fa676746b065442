// Drawing DIBs (SetDIBitsToDevice, StretchDIBits) and moving pixels between
// DIBs and device bitmaps (GetDIBits, SetDIBits, CreateDIBitmap).
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/color.h"
#include "gdi/dc_internal.h"
#include "gdi/dib.h"
#include "gdi/palette_state.h"
#include "gdi/paint.h"
#include "gdi/rop.h"
#include "gdi/stretch.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

// Where the rows of the bits given to a call are: `first` is the first row
// (in picture order: 0 = top) that the bits hold, `count` how many.
struct RowWindow {
  std::int64_t first = 0;
  std::int64_t count = 0;
};

// Draws a DIB whose source rectangle is given in picture coordinates (row 0
// the top), through the stretch engine.
int DrawDib(DcRecord& dc, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
            std::int64_t sxTop, std::int64_t syTop, std::int64_t sw, std::int64_t sh,
            const void* bits, const BITMAPINFO* info, const DibInfo& dib, UINT usage,
            std::uint8_t rop, RowWindow window) {
  Surface* s = DcSurface(dc);
  if (!s) return dib.height;
  DeviceSpace space = SpaceOf(*s);
  Ink ink;
  if (RopUsesPattern(rop)) {
    ink = BrushInk(dc, dc.state.brush, space);
    if (ink.none()) return dib.height;
  }
  std::vector<std::uint32_t> lut = DibColorTable(info, dib, usage, &dc);
  // Colour-table entries as device values, computed once. An index past
  // the table decodes as 0: the table is filled up to 256 entries with it,
  // so that no index needs a check.
  std::vector<std::uint32_t> lutDev(std::max<std::size_t>(lut.size(), dib.bitCount <= 8 ? 256 : 0), 0u);
  for (std::size_t i = 0; i < lut.size(); ++i) lutDev[i] = space.FromColor(lut[i]);
  const bool rle = dib.compression == BI_RLE8 || dib.compression == BI_RLE4;
  std::vector<std::uint8_t> indexes, written;
  if (rle && !ExpandRle(dib, static_cast<const std::uint8_t*>(bits), indexes, written)) return 0;

  POINT d0 = LogicalToSurface(dc, POINT{LONG(std::clamp<std::int64_t>(x, -(1 << 27), 1 << 27)),
                                        LONG(std::clamp<std::int64_t>(y, -(1 << 27), 1 << 27))});
  AxisMap ax = MakeAxis(d0.x, w, sxTop, sw);
  AxisMap ay = MakeAxis(d0.y, h, syTop, sh);
  const auto* base = static_cast<const std::uint8_t*>(bits);
  std::vector<std::uint32_t> decoded;
  const bool direct = dib.bitCount > 8 && space.format == PixelFormat::Color;
  // 32-bit pixels in the surface's own layout: copied row by row as they
  // are (a frame of a film each time it is shown).
  if (direct && !rle && dib.bitCount == 32 && dib.masks[0] == 0xFF0000 && dib.masks[1] == 0xFF00 &&
      dib.masks[2] == 0xFF) {
    const PixelRows rows{base, std::int64_t(dib.stride), dib.width, window.first, window.count, !dib.topDown};
    if (CopyPixelRows(dc, ax, ay, rop, rows)) return dib.height;
  }
  RowFetch fetch = [&](std::int64_t row, std::int64_t x0, std::int64_t x1, std::uint32_t* out,
                       std::uint8_t* valid) {
    std::int64_t n = x1 - x0;
    bool rowOk = row >= window.first && row < window.first + window.count && row >= 0 &&
                 row < dib.height;
    std::int64_t c0 = std::max<std::int64_t>(x0, 0), c1 = std::min<std::int64_t>(x1, dib.width);
    if (!rowOk || c0 >= c1) {
      std::fill_n(valid, n, std::uint8_t(0));
      return;
    }
    for (std::int64_t c = x0; c < c0; ++c) valid[c - x0] = 0;
    for (std::int64_t c = c1; c < x1; ++c) valid[c - x0] = 0;
    std::int64_t stored = dib.topDown ? row : dib.height - 1 - row;
    if (rle) {
      const std::uint8_t* ix = indexes.data() + std::size_t(stored) * dib.width;
      const std::uint8_t* wr = written.data() + std::size_t(stored) * dib.width;
      for (std::int64_t c = c0; c < c1; ++c) {
        out[c - x0] = ix[c] < lut.size() ? lutDev[ix[c]] : space.FromColor(0);
        valid[c - x0] = wr[c];
      }
      return;
    }
    // Rows of the window, in the order they are stored in the bits.
    std::int64_t local = dib.topDown ? row - window.first
                                     : (dib.height - 1 - row) - (dib.height - window.first - window.count);
    if (dib.bitCount <= 8) {
      // Decode indexes through the device-value table directly.
      DecodeRow(dib, base, int(local), int(c0), int(c1 - c0), lutDev.data(), int(lutDev.size()),
                out + (c0 - x0));
      return;
    }
    DecodeRow(dib, base, int(local), int(c0), int(c1 - c0), nullptr, 0, out + (c0 - x0));
    if (!direct) {
      for (std::int64_t c = c0; c < c1; ++c) out[c - x0] = space.FromColor(out[c - x0]);
    }
  };
  RunStretch(dc, ax, ay, rop, ink, fetch);
  return dib.height;
}

// The default colour table of an 8-bit DIB made from a true-colour bitmap:
// the 20 static colours, a 6x6x6 cube and a grey ramp.
std::vector<std::uint32_t> DefaultTable8() {
  std::vector<std::uint32_t> t(256);
  for (int i = 0; i < 256; ++i) t[i] = SystemPixel(0);
  static const std::uint32_t kStatic[20] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0,
      0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
      0x00FFFF, 0xFFFFFF};
  for (int i = 0; i < 10; ++i) {
    t[i] = kStatic[i];
    t[246 + i] = kStatic[10 + i];
  }
  int k = 10;
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r) t[k++] = std::uint32_t((r * 51) << 16 | (g * 51) << 8 | (b * 51));
  for (int i = 0; i < 20; ++i) {
    std::uint32_t v = std::uint32_t(8 + i * 12);
    t[k++] = v << 16 | v << 8 | v;
  }
  return t;
}

}  // namespace

namespace win::gdi {

std::vector<std::uint32_t> DeviceColorTable(int bits) {
  std::vector<std::uint32_t> t;
  if (bits == 1) {
    t = {0x000000, 0xFFFFFF};
  } else if (bits == 4) {
    static const std::uint32_t k16[16] = {0x000000, 0x800000, 0x008000, 0x808000,
                                          0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                          0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    t.assign(k16, k16 + 16);
  } else if (bits == 8) {
    if (DisplayBits() == 8) {
      t.resize(256);
      for (int i = 0; i < 256; ++i) t[i] = SystemPixel(i);
    } else {
      t = DefaultTable8();
    }
  }
  return t;
}

}  // namespace win::gdi

int SetDIBitsToDevice(HDC h, int x, int y, DWORD width, DWORD height, int srcX, int srcY,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                      UINT usage) {
  DcRecord* dc = LookupDc(h);
  DibInfo dib;
  if (!dc || !bits || !info || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) ||
      !ParseDib(&info->bmiHeader, dib)) {
    return 0;
  }
  if (width > ZEMRA_GDI_MAX_SIDE || height > ZEMRA_GDI_MAX_SIDE) return 0;
  const bool rle = dib.compression == BI_RLE8 || dib.compression == BI_RLE4;
  if (rle) {
    startScan = 0;
    lines = UINT(dib.height);
  }
  if (startScan >= UINT(dib.height) || lines == 0) return 0;
  lines = std::min<UINT>(lines, UINT(dib.height) - startScan);
  // The bits hold `lines` rows from `startScan`, counted from the bottom of a
  // bottom-up DIB (the top of a top-down one); (srcX, srcY) is the source
  // rectangle's corner in the same counting.
  RowWindow window;
  std::int64_t top;
  if (dib.topDown) {
    window.first = startScan;
    top = srcY;
  } else {
    window.first = std::int64_t(dib.height) - startScan - lines;
    top = std::int64_t(dib.height) - srcY - std::int64_t(height);
  }
  window.count = lines;
  if (width == 0 || height == 0) return int(lines);
  DrawDib(*dc, x, y, width, height, srcX, top, width, height, bits, info, dib, usage, 0xCC, window);
  return int(lines);
}

int StretchDIBits(HDC h, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DcRecord* dc = LookupDc(h);
  DibInfo dib;
  if (!dc || !bits || !info || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) ||
      !ParseDib(&info->bmiHeader, dib)) {
    return 0;
  }
  if (std::abs(std::int64_t(width)) > ZEMRA_GDI_MAX_SIDE * 4 ||
      std::abs(std::int64_t(height)) > ZEMRA_GDI_MAX_SIDE * 4) {
    return 0;
  }
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 0;
  // (srcX, srcY) is the corner nearest the DIB's origin: the bottom-left for
  // a bottom-up DIB. Turn it into picture rows (0 = top).
  std::int64_t sy0 = std::min<std::int64_t>(srcY, std::int64_t(srcY) + srcHeight);
  std::int64_t sh = std::abs(std::int64_t(srcHeight));
  std::int64_t top = dib.topDown ? sy0 : std::int64_t(dib.height) - sy0 - sh;
  std::int64_t sheight = srcHeight > 0 ? sh : -sh;
  std::int64_t syTop = srcHeight > 0 ? top : top + sh - 1;
  return DrawDib(*dc, x, y, width, height, srcX, syTop, srcWidth, sheight, bits, info, dib, usage,
                 Rop3Index(rop), RowWindow{0, dib.height});
}

int GetDIBits(HDC h, HBITMAP bitmap, UINT startScan, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage) {
  DcRecord* dc = LookupDc(h);
  BitmapObj* bm = LookupBitmap(bitmap);
  if (!dc || !bm || !bm->surface || !info) return 0;
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return 0;
  BITMAPINFOHEADER& hd = info->bmiHeader;
  if (hd.biSize < 40) return 0;
  const Surface& surf = *bm->surface;
  if (hd.biBitCount == 0) {
    // Describe the bitmap only.
    hd.biWidth = surf.width();
    hd.biHeight = surf.height();
    hd.biPlanes = 1;
    hd.biBitCount = WORD(bm->bitsPerPixel);
    hd.biCompression = BI_RGB;
    hd.biSizeImage = DWORD(((std::uint64_t(surf.width()) * hd.biBitCount + 31) / 32) * 4 *
                           std::uint64_t(surf.height()));
    return 1;
  }
  int bpp = hd.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  if (hd.biCompression != BI_RGB && !(hd.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) {
    return 0;  // no compressed output
  }
  bool topDown = hd.biHeight < 0;
  hd.biWidth = surf.width();
  hd.biHeight = topDown ? -surf.height() : surf.height();
  hd.biPlanes = 1;
  std::uint64_t stride = ((std::uint64_t(surf.width()) * bpp + 31) / 32) * 4;
  hd.biSizeImage = DWORD(stride * std::uint64_t(surf.height()));
  DibInfo dib;
  if (!ParseDib(&hd, dib)) return 0;
  // The colour table below 16 bits.
  std::vector<std::uint32_t> table = DeviceColorTable(bpp);
  if (bpp <= 8) {
    hd.biClrUsed = 0;
    auto* t = reinterpret_cast<std::uint8_t*>(info) + dib.tableOffset;
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (usage == DIB_PAL_COLORS) {
        t[i * 2] = std::uint8_t(i);
        t[i * 2 + 1] = std::uint8_t(i >> 8);
      } else {
        t[i * 4] = std::uint8_t(table[i]);
        t[i * 4 + 1] = std::uint8_t(table[i] >> 8);
        t[i * 4 + 2] = std::uint8_t(table[i] >> 16);
        t[i * 4 + 3] = 0;
      }
    }
  } else if (hd.biCompression == BI_BITFIELDS && hd.biSize == 40) {
    auto* m = reinterpret_cast<std::uint8_t*>(info) + 40;
    for (int k = 0; k < 3; ++k) {
      for (int b = 0; b < 4; ++b) m[k * 4 + b] = std::uint8_t(dib.masks[k] >> (8 * b));
    }
  }
  if (!bits) return 1;
  if (startScan >= UINT(surf.height())) return 0;
  lines = std::min<UINT>(lines, UINT(surf.height()) - startScan);
  auto* out = static_cast<std::uint8_t*>(bits);
  // `bits` holds rows startScan .. startScan + lines - 1 in stored order.
  for (UINT k = 0; k < lines; ++k) {
    int stored = int(startScan + k);
    int y = topDown ? stored : surf.height() - 1 - stored;
    EncodeRow(dib, out, int(k), surf.Row(y), table.data(), int(table.size()));
  }
  return int(lines);
}

int SetDIBits(HDC h, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage) {
  DcRecord* dc = LookupDc(h);
  BitmapObj* bm = LookupBitmap(bitmap);
  DibInfo dib;
  if (!dc || !bm || !bm->surface || !bits || !info || !ParseDib(&info->bmiHeader, dib)) return 0;
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return 0;
  Surface& surf = *bm->surface;
  if (dib.compression == BI_RLE8 || dib.compression == BI_RLE4) {
    startScan = 0;
    lines = UINT(dib.height);
  }
  if (startScan >= UINT(dib.height) || lines == 0) return 0;
  lines = std::min<UINT>(lines, UINT(dib.height) - startScan);
  // Draw the DIB into the bitmap through a scratch memory DC, without the
  // bitmap having to be free of other DCs.
  HDC scratch = NewDc(DcKind::Memory);
  DcRecord* sdc = LookupDc(scratch);
  if (!sdc) return 0;
  sdc->state.bitmap = bitmap;
  sdc->state.palette = dc->state.palette;
  RowWindow window;
  if (dib.topDown) {
    window.first = startScan;
  } else {
    window.first = std::int64_t(dib.height) - startScan - lines;
  }
  window.count = lines;
  int w = std::min(dib.width, surf.width());
  int hgt = std::min(dib.height, surf.height());
  // The DIB's top-left pixel lands on the bitmap's top-left; the bitmap keeps
  // its pixels where the DIB has none.
  DrawDib(*sdc, 0, 0, w, hgt, 0, 0, w, hgt, bits, info, dib, usage, 0xCC, window);
  sdc->state.bitmap = nullptr;
  DestroyDc(scratch);
  return int(lines);
}

HBITMAP CreateDIBitmap(HDC h, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header) return nullptr;
  LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (header->biHeight == INT32_MIN) return nullptr;
  HBITMAP bm = nullptr;
  if (h && LookupDc(h)) {
    bm = CreateCompatibleBitmap(h, header->biWidth, height);
  } else {
    bm = CreateBitmap(header->biWidth, height, 1, 1, nullptr);
  }
  if (!bm) return nullptr;
  if ((init & CBM_INIT) && bits && info) {
    HDC dc = h ? h : CreateCompatibleDC(nullptr);
    int ok = SetDIBits(dc, bm, 0, UINT(height), bits, info, usage);
    if (!h) DeleteDC(dc);
    if (!ok) {
      DeleteObject(bm);
      return nullptr;
    }
  }
  return bm;
}
