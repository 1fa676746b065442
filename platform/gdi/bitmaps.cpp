// Device-dependent bitmaps: creation and their raw bits (rows padded to 16
// bits, the top row first; palette depths hold indexes of DeviceColorTable).
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/dib.h"
#include "gdi/palette_state.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

HBITMAP MakeBitmap(int width, int height, int bpp, PixelFormat format) {
  if (width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) {
    width = height = 1;
    bpp = 1;
    format = PixelFormat::Mono;
  }
  auto surface = Surface::Create(width, height, format, 0);
  if (!surface) return nullptr;
  Object o;
  o.kind = Kind::Bitmap;
  BitmapObj b;
  b.surface = std::move(surface);
  b.bitsPerPixel = bpp;
  o.data = std::move(b);
  return static_cast<HBITMAP>(AddObject(std::move(o)));
}

std::size_t RowBytes(int width, int bpp) {
  return std::size_t(((std::int64_t(width) * bpp + 15) / 16) * 2);
}

std::uint32_t ReadPixel(const std::uint8_t* row, int x, int bpp, const std::vector<std::uint32_t>& lut) {
  auto at = [&](unsigned i) { return i < lut.size() ? lut[i] : 0u; };
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1 ? 0xFFFFFFu : 0u;
    case 4: return at((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    case 8: return at(row[x]);
    case 16: {
      unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
      unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      return ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
    }
    case 24: return (std::uint32_t(row[x * 3 + 2]) << 16) | (std::uint32_t(row[x * 3 + 1]) << 8) | row[x * 3];
    default: return (std::uint32_t(row[x * 4 + 2]) << 16) | (std::uint32_t(row[x * 4 + 1]) << 8) | row[x * 4];
  }
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  std::uint64_t bpp = std::uint64_t(planes) * bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  PixelFormat format = bpp == 1 ? PixelFormat::Mono
                       : (int(bpp) == DisplayBits() ? PixelFormat::Display : PixelFormat::Color);
  HBITMAP h = MakeBitmap(width, height, int(bpp), format);
  if (h && bits) {
    BitmapObj* b = LookupBitmap(h);
    SetBitmapBits(h, DWORD(RowBytes(b->surface->width(), b->bitsPerPixel) * b->surface->height()), bits);
  }
  return h;
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return nullptr;
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC h, int width, int height) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return nullptr;
  switch (dc->kind) {
    case DcKind::Memory: {
      // Compatible with the bitmap the DC holds (monochrome for a new DC).
      BitmapObj* b = LookupBitmap(dc->state.bitmap);
      if (!b || !b->surface) return nullptr;
      return MakeBitmap(width, height, b->bitsPerPixel, b->surface->format());
    }
    case DcKind::Printer: return MakeBitmap(width, height, 24, PixelFormat::Color);
    case DcKind::Dib: return MakeBitmap(width, height, std::max(dc->dibBits, 24), PixelFormat::Color);
    default: return MakeBitmap(width, height, DisplayBits(), PixelFormat::Display);
  }
}

LONG GetBitmapBits(HBITMAP bitmap, LONG bytes, LPVOID out) {
  BitmapObj* b = LookupBitmap(bitmap);
  if (!b || !b->surface || bytes < 0) return 0;
  const Surface& s = *b->surface;
  std::size_t stride = RowBytes(s.width(), b->bitsPerPixel);
  std::size_t total = stride * std::size_t(s.height());
  if (!out) return LONG(std::min<std::size_t>(total, 0x7FFFFFFF));
  std::size_t rows = std::min<std::size_t>(std::size_t(bytes) / stride, std::size_t(s.height()));
  auto* dst = static_cast<std::uint8_t*>(out);
  std::vector<std::uint32_t> lut = DeviceColorTable(b->bitsPerPixel);
  std::unordered_map<std::uint32_t, int> exact;
  for (int i = int(lut.size()) - 1; i >= 0; --i) exact[lut[i]] = i;
  DibInfo fake;
  fake.width = s.width();
  fake.bitCount = b->bitsPerPixel;
  fake.stride = stride;
  fake.masks[0] = 0x7C00;
  fake.masks[1] = 0x03E0;
  fake.masks[2] = 0x001F;
  if (fake.bitCount == 32) {
    fake.masks[0] = 0xFF0000;
    fake.masks[1] = 0xFF00;
    fake.masks[2] = 0xFF;
  }
  std::vector<std::uint8_t> row(((std::size_t(s.width()) * b->bitsPerPixel + 31) / 32) * 4);
  for (std::size_t y = 0; y < rows; ++y) {
    fake.stride = row.size();
    EncodeRow(fake, row.data(), 0, s.Row(int(y)), lut.data(), int(lut.size()));
    std::memcpy(dst + y * stride, row.data(), stride);
  }
  return LONG(rows * stride);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD bytes, const void* bits) {
  BitmapObj* b = LookupBitmap(bitmap);
  if (!b || !b->surface || !bits) return 0;
  Surface& s = *b->surface;
  std::size_t stride = RowBytes(s.width(), b->bitsPerPixel);
  std::size_t rows = std::min<std::size_t>(std::size_t(bytes) / stride, std::size_t(s.height()));
  const auto* src = static_cast<const std::uint8_t*>(bits);
  std::vector<std::uint32_t> lut = DeviceColorTable(b->bitsPerPixel);
  DeviceSpace space = SpaceOf(s);
  for (std::size_t y = 0; y < rows; ++y) {
    std::uint32_t* out = s.Row(int(y));
    for (int x = 0; x < s.width(); ++x) {
      out[x] = space.ToPixel(space.FromColor(ReadPixel(src + y * stride, x, b->bitsPerPixel, lut)));
    }
  }
  if (rows) s.AddDamage(RECT{0, 0, s.width(), LONG(rows)});
  return LONG(rows * stride);
}
