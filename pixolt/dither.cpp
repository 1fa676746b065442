// Narrowing to 1 and 4 bits per pixel: every source goes through a 24-bit
// working copy that the error-diffusion dither may change.
#include <cstring>

#include "diffusion.h"
#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

namespace {

// The 16 colours of the 4-bit result, (red, green, blue).
constexpr std::uint8_t kFixed[16][3] = {
    {0, 0, 0},       {0, 0, 128},     {0, 128, 0},     {0, 128, 128},
    {128, 0, 0},     {128, 0, 128},   {128, 128, 0},   {128, 128, 128},
    {192, 192, 192}, {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};

struct Owned {
  HGLOBAL h;
  ~Owned() {
    if (h) GlobalFree(h);
  }
};

void ResultHeader(NewBlock& out, const LockedDib& src, WORD bits, DWORD colors) {
  const BITMAPINFOHEADER& h = src.header();
  std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(h.biWidth), bits);
  FillHeader(out.header(), h.biWidth, h.biHeight, bits,
             static_cast<DWORD>(rowBytes * static_cast<std::uint64_t>(h.biHeight)), h.biXPelsPerMeter,
             h.biYPelsPerMeter, colors, colors);
}

std::uint64_t ResultBytes(const LockedDib& src, unsigned bits, DWORD colors) {
  return kInfoHeaderSize + 4ull * colors +
         RowBytes(static_cast<std::uint64_t>(src.width()), bits) * static_cast<std::uint64_t>(src.height());
}

// Black and white by luminance, dithered. Changes `work`.
HGLOBAL Dither24To1(HGLOBAL work) {
  LockedDib d(work);
  if (!AcceptSource(d, {"_DIB24To1", 24, kNo24Bit, nullptr, nullptr})) return nullptr;
  NewBlock out(ResultBytes(d, 1, 2));
  if (!out.ok()) {
    Report("_DIB24To1", kNoMemory);
    return nullptr;
  }
  ResultHeader(out, d, 1, 2);
  RGBQUAD* table = out.table();
  table[0] = RGBQUAD{0, 0, 0, 0};
  table[1] = RGBQUAD{255, 255, 255, 0};
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t height = static_cast<std::uint64_t>(d.height());
  std::uint64_t outRow = RowBytes(width, 1);
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 8;
  Diffuser diffuse(d.bits(), d.rowBytes(), width, height);
  for (std::uint64_t y = 0; y < height; ++y) {
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t x = 0; x < width; ++x) {
      const std::uint8_t* p = diffuse.pixel(x, y);
      unsigned luminance = 77u * p[2] + 151u * p[1] + 28u * p[0];
      bool white = luminance >= 32768;
      if (white) o[x / 8] = static_cast<std::uint8_t>(o[x / 8] | (0x80u >> (x % 8)));
      int v = white ? 255 : 0;
      diffuse.Spread(x, y, v, v, v);
    }
  }
  return out.Release();
}

// The 16 fixed colours, dithered through a lookup of every 15-bit cell.
// Changes `work`.
HGLOBAL Dither24To4(HGLOBAL work) {
  LockedDib d(work);
  if (!AcceptSource(d, {"_DIB24To4", 24, kNo24Bit, nullptr, nullptr})) return nullptr;
  NewBlock out(ResultBytes(d, 4, 16));
  if (!out.ok()) {
    Report("_DIB24to4", kNoMemory);
    return nullptr;
  }
  NewBlock lookupBlock(kCells * 4ull);
  if (!lookupBlock.ok()) {
    Report("_DIB24To4", "Zu wenig Speicher f\xfc" "r Farbw\xfc" "rfel vorhanden!");
    return nullptr;
  }
  auto* lookup = reinterpret_cast<std::uint32_t*>(lookupBlock.data());
  for (unsigned cell = 0; cell < kCells; ++cell) {
    int r = static_cast<int>(CellRed(cell)), g = static_cast<int>(CellGreen(cell)),
        b = static_cast<int>(CellBlue(cell));
    unsigned best = 0;
    int bestDistance = 0;
    for (unsigned i = 0; i < 16; ++i) {
      int dr = r - kFixed[i][0], dg = g - kFixed[i][1], db = b - kFixed[i][2];
      int distance = dr * dr + dg * dg + db * db;
      if (i == 0 || distance < bestDistance) {  // the lower index wins a tie
        best = i;
        bestDistance = distance;
      }
    }
    lookup[cell] = best;
  }
  ResultHeader(out, d, 4, 16);
  RGBQUAD* table = out.table();
  for (unsigned i = 0; i < 16; ++i) table[i] = RGBQUAD{kFixed[i][2], kFixed[i][1], kFixed[i][0], 0};
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t height = static_cast<std::uint64_t>(d.height());
  std::uint64_t outRow = RowBytes(width, 4);
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 64;
  Diffuser diffuse(d.bits(), d.rowBytes(), width, height);
  for (std::uint64_t y = 0; y < height; ++y) {
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t x = 0; x < width; ++x) {
      const std::uint8_t* p = diffuse.pixel(x, y);
      unsigned index = lookup[Cell(p[2], p[1], p[0])];
      o[x / 2] = static_cast<std::uint8_t>(o[x / 2] | (x % 2 ? index : index << 4));
      diffuse.Spread(x, y, kFixed[index][2], kFixed[index][1], kFixed[index][0]);
    }
  }
  return out.Release();
}

using Dither = HGLOBAL (*)(HGLOBAL);

// A chain: `widen` (or a copy) makes the working DIB, the dither the result.
HGLOBAL Narrow(const char* op, HGLOBAL dib, HGLOBAL (*widen)(HGLOBAL), Dither dither) {
  if (!dib) {
    Report(op, kNoDib);
    return nullptr;
  }
  Owned work{widen(dib)};
  return work.h ? dither(work.h) : nullptr;
}

}  // namespace

HGLOBAL DIB24To1(HGLOBAL dib) { return Narrow("DIB24To1", dib, CopyDIB, Dither24To1); }
HGLOBAL DIB8To1(HGLOBAL dib) { return Narrow("DIB8To1", dib, DIB8To24, Dither24To1); }
HGLOBAL DIB4To1(HGLOBAL dib) { return Narrow("DIB4To1", dib, DIB4To24, Dither24To1); }
HGLOBAL DIB24To4(HGLOBAL dib) { return Narrow("DIB24To4", dib, CopyDIB, Dither24To4); }
HGLOBAL DIB8To4(HGLOBAL dib) { return Narrow("DIB8To4", dib, DIB8To24, Dither24To4); }
