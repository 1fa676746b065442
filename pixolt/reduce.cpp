// Colour reduction of a 24-bit DIB to an 8-bit palette DIB: a histogram of
// 15-bit cells, a colour table by median cut or popularity, every cell
// mapped to its nearest table colour, then every pixel mapped by table
// lookup (with error diffusion when dithering).
#include <cstring>

#include "diffusion.h"
#include "dib_block.h"
#include "median_cut.h"
#include "pixolt.h"
#include "progress.h"
#include "reasons.h"
#include "report.h"

using namespace pixolt;

namespace {

constexpr char kOp[] = "ReduceColors";

// The index of the table colour nearest to (r, g, b) among the first
// `count`, the lowest index winning a tie.
unsigned Nearest(const RGBQUAD* table, unsigned count, int r, int g, int b) {
  unsigned best = 0;
  int bestDistance = 0;
  for (unsigned i = 0; i < count; ++i) {
    int dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
    int distance = dr * dr + dg * dg + db * db;
    if (i == 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void Popularity(std::uint32_t* histogram, RGBQUAD* table, unsigned colours) {
  for (unsigned k = 0; k < colours; ++k) {
    ProgressPercent(k * 100 / colours);
    Pump();
    unsigned best = 0;
    for (unsigned cell = 1; cell < kCells; ++cell) {
      if (histogram[cell] > histogram[best]) best = cell;
    }
    table[k] = RGBQUAD{static_cast<BYTE>(CellBlue(best)), static_cast<BYTE>(CellGreen(best)),
                       static_cast<BYTE>(CellRed(best)), 0};
    // Still counted as used, but not chosen again while others hold more.
    histogram[best] = 1;
  }
}

// Frees what a reduction made, on every path.
struct Cleanup {
  HGLOBAL work = nullptr;  // the dithering copy
  ~Cleanup() {
    if (work) GlobalFree(work);
    ProgressFinish();
  }
};

}  // namespace

HGLOBAL ReduceColors(HGLOBAL dib, UINT nBPP, UINT flags) {
  {
    LockedDib d(dib);
    const char* failure = nullptr;
    if (d.null()) {
      failure = kNoDib;
    } else if (nBPP > 8) {
      failure = "nBPP > 8!";
    } else if (d.os2()) {
      failure = kNoOs2;
    } else if (d.compressed()) {
      failure = kNoRle;
    } else if (d.bitCount() != 24) {
      failure = kAlreadyReduced;
    } else if (!d.Valid()) {
      failure = kUnknownFormat;
    }
    if (failure) {
      Report(kOp, failure);
      return nullptr;
    }
  }
  bool dither = (flags & PIXOLT_REDUCE_DITHER) != 0;
  bool medianCut = (flags & PIXOLT_REDUCE_MEDIANCUT) != 0;
  PumpBegin();
  Cleanup cleanup;
  HGLOBAL source = dib;
  if (dither) {
    // The diffusion changes the pixels it has not visited yet.
    cleanup.work = CopyDIB(dib);
    if (!cleanup.work) return nullptr;
    source = cleanup.work;
  }
  LockedDib d(source);
  d.Valid();
  NewBlock histogramBlock(kCells * 4ull);
  if (!histogramBlock.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  auto* histogram = reinterpret_cast<std::uint32_t*>(histogramBlock.data());
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t height = static_cast<std::uint64_t>(d.height());

  ProgressStep("Step 1: Reduction to 15 Bit");
  for (std::uint64_t y = 0; y < height; ++y) {
    ProgressPercent(static_cast<unsigned>(y * 100 / height));
    Pump();
    const std::uint8_t* row = d.row(y);
    for (std::uint64_t x = 0; x < width; ++x) ++histogram[Cell(row[3 * x + 2], row[3 * x + 1], row[3 * x])];
  }

  std::uint64_t outRow = RowBytes(width, 8);
  NewBlock out(kInfoHeaderSize + 4 * 256 + outRow * height);
  if (!out.ok()) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  FillHeader(out.header(), d.width(), d.height(), 8, static_cast<DWORD>(outRow * height), kPelsPerMeter,
             kPelsPerMeter, 256, 0);
  RGBQUAD* table = out.table();

  Pump();
  ProgressStep("Step 2: Define Colortable");
  unsigned colours = 1u << nBPP;
  if (medianCut) {
    MedianCutState state{table, colours, 0, 0, 2 * colours - 1};
    MedianCut(state, histogram, 0, 31, 0, 31, 0, 31, colours, width * height);
  } else {
    Popularity(histogram, table, colours);
  }

  Pump();
  ProgressStep("Step 3: Mapping Colors");
  for (unsigned cell = 0; cell < kCells; ++cell) {
    if (cell % 163 == 0) ProgressPercent(cell / 327);
    Pump();
    if (dither || histogram[cell] != 0) {
      histogram[cell] = Nearest(table, colours, static_cast<int>(CellRed(cell)),
                                static_cast<int>(CellGreen(cell)), static_cast<int>(CellBlue(cell)));
    }
  }
  const std::uint32_t* lookup = histogram;

  Pump();
  ProgressStep("Step 4: Mapping DIB");
  std::uint8_t* outBits = out.data() + kInfoHeaderSize + 4 * 256;
  Diffuser diffuse(d.bits(), d.rowBytes(), width, height);
  for (std::uint64_t y = 0; y < height; ++y) {
    ProgressPercent(static_cast<unsigned>(y * 100 / height));
    Pump();
    std::uint8_t* o = outBits + y * outRow;
    for (std::uint64_t x = 0; x < width; ++x) {
      const std::uint8_t* p = diffuse.pixel(x, y);
      std::uint32_t index = lookup[Cell(p[2], p[1], p[0])];
      o[x] = static_cast<std::uint8_t>(index);
      if (dither) diffuse.Spread(x, y, table[index].rgbBlue, table[index].rgbGreen, table[index].rgbRed);
    }
  }
  return out.Release();
}
