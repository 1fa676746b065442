// Widening conversions without loss: 1 to 4, 4 to 8 and 8 to 24 bits per
// pixel, and the chains made of them.
#include <array>
#include <cstring>

#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

namespace {

// A palette result: the source's N entries, the rest of `slots` black.
NewBlock* MakePaletteResult(NewBlock& out, const LockedDib& src, WORD bits, DWORD slots) {
  const BITMAPINFOHEADER& h = src.header();
  std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(h.biWidth), bits);
  FillHeader(out.header(), h.biWidth, h.biHeight, bits,
             static_cast<DWORD>(rowBytes * static_cast<std::uint64_t>(h.biHeight)), h.biXPelsPerMeter,
             h.biYPelsPerMeter, slots, src.colors());
  std::memcpy(out.table(), src.table(), 4ull * src.colors());
  return &out;
}

std::uint64_t ResultBytes(const LockedDib& src, unsigned bits, DWORD slots) {
  return kInfoHeaderSize + 4ull * slots +
         RowBytes(static_cast<std::uint64_t>(src.width()), bits) * static_cast<std::uint64_t>(src.height());
}

// Frees an intermediate of a chain.
struct Intermediate {
  HGLOBAL h;
  ~Intermediate() {
    if (h) GlobalFree(h);
  }
};

}  // namespace

HGLOBAL DIB1To4(HGLOBAL dib) {
  LockedDib d(dib);
  if (!AcceptSource(d, {"DIB1To4", 1, kNo1Bit, nullptr, nullptr})) return nullptr;
  NewBlock out(ResultBytes(d, 4, 16));
  if (!out.ok()) {
    Report("DIB1To4", kOutOfMemory);
    return nullptr;
  }
  MakePaletteResult(out, d, 4, 16);
  // Each source byte (eight pixels) becomes four bytes of two pixels.
  std::array<std::uint32_t, 256> spread{};
  for (unsigned b = 0; b < 256; ++b) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < 8; ++i) {
      unsigned px = (b >> (7 - i)) & 1u;
      v |= px << ((i / 2) * 8 + (i % 2 ? 0 : 4));
    }
    spread[b] = v;
  }
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t srcBytes = (width + 7) / 8;
  std::uint64_t outRow = RowBytes(width, 4);
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4 * 16;
  for (std::uint64_t y = 0; y < static_cast<std::uint64_t>(d.height()); ++y) {
    const std::uint8_t* s = d.row(y);
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t k = 0; k < srcBytes; ++k) {
      std::uint32_t v = spread[s[k]];
      for (unsigned i = 0; i < 4; ++i) o[4 * k + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }
  return out.Release();
}

HGLOBAL DIB4To8(HGLOBAL dib) {
  LockedDib d(dib);
  if (!AcceptSource(d, {"DIB4To8", 4, kNo4Bit, "DIB4to8", kIsRle})) return nullptr;
  NewBlock out(ResultBytes(d, 8, 256));
  if (!out.ok()) {
    Report("DIB4To8", kOutOfMemory);
    return nullptr;
  }
  MakePaletteResult(out, d, 8, 256);
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t srcBytes = (width + 1) / 2;
  std::uint64_t outRow = RowBytes(width, 8);
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4 * 256;
  for (std::uint64_t y = 0; y < static_cast<std::uint64_t>(d.height()); ++y) {
    const std::uint8_t* s = d.row(y);
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t k = 0; k < srcBytes; ++k) {
      o[2 * k] = static_cast<std::uint8_t>(s[k] >> 4);
      o[2 * k + 1] = static_cast<std::uint8_t>(s[k] & 0xF);
    }
  }
  return out.Release();
}

// An index beyond the colour table gives black rather than whatever lies
// after the table.
HGLOBAL DIB8To24(HGLOBAL dib) {
  LockedDib d(dib);
  if (!AcceptSource(d, {"DIB8To24", 8, kNo8Bit, "DIB8To24", kIsRle})) return nullptr;
  NewBlock out(ResultBytes(d, 24, 0));
  if (!out.ok()) {
    Report("DIB8To24", kOutOfMemory);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = d.header();
  std::uint64_t width = static_cast<std::uint64_t>(h.biWidth);
  std::uint64_t outRow = RowBytes(width, 24);
  FillHeader(out.header(), h.biWidth, h.biHeight, 24,
             static_cast<DWORD>(outRow * static_cast<std::uint64_t>(h.biHeight)), h.biXPelsPerMeter,
             h.biYPelsPerMeter, 0, 0);
  std::array<RGBQUAD, 256> table{};
  std::memcpy(table.data(), d.table(), 4ull * d.colors());
  std::uint8_t* outBits = out.data() + kInfoHeaderSize;
  for (std::uint64_t y = 0; y < static_cast<std::uint64_t>(h.biHeight); ++y) {
    const std::uint8_t* s = d.row(y);
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t x = 0; x < width; ++x) {
      const RGBQUAD& c = table[s[x]];
      o[3 * x] = c.rgbBlue;
      o[3 * x + 1] = c.rgbGreen;
      o[3 * x + 2] = c.rgbRed;
    }
  }
  return out.Release();
}

HGLOBAL DIB1To8(HGLOBAL dib) {
  if (!dib) {
    Report("DIB1To8", kNoDib);
    return nullptr;
  }
  Intermediate four{DIB1To4(dib)};
  return four.h ? DIB4To8(four.h) : nullptr;
}

HGLOBAL DIB1To24(HGLOBAL dib) {
  if (!dib) {
    Report("DIB1To24", kNoDib);
    return nullptr;
  }
  Intermediate four{DIB1To4(dib)};
  if (!four.h) return nullptr;
  Intermediate eight{DIB4To8(four.h)};
  return eight.h ? DIB8To24(eight.h) : nullptr;
}

HGLOBAL DIB4To24(HGLOBAL dib) {
  if (!dib) {
    Report("DIB4To24", kNoDib);
    return nullptr;
  }
  Intermediate eight{DIB4To8(dib)};
  return eight.h ? DIB8To24(eight.h) : nullptr;
}
