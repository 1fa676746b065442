// bench-libs: zemra_tevrin_codec tiff
//
// TIFF decoding throughput of Tevrin beside libtiff on the same files.
// Tevrin reads each file through its file reader (ordinal 2) into a DIB;
// libtiff opens the same file and decodes every strip into memory. The
// counter "vs_libtiff" is libtiff's time per file divided by Tevrin's:
// above 1, Tevrin is faster. The files are written once by libtiff itself:
// a photograph-like picture (gradients, edges and noise) of 1600 x 1200 as
// RGB and as 8-bit grey, LZW in strips of 16 rows, and the grey one also
// as PackBits.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/decode_versus.h"
#include "tevrin/tevrin.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

enum Kind { kRgbLzw, kGreyLzw, kGreyPackBits };

std::uint8_t Level(int x, int y, std::uint32_t& seed) {
  seed = seed * 1664525 + 1013904223;
  int noise = (seed >> 28) < 3 ? static_cast<int>(seed >> 24 & 15) : 0;
  int v = ((x / 64 + y / 48) & 1) ? (x * 255 / kWidth) : (y * 255 / kHeight);
  return static_cast<std::uint8_t>(std::min(255, v + noise));
}

// The test file of a kind, written once with libtiff.
const std::string& File(Kind kind) {
  static std::map<Kind, std::string> files;
  auto it = files.find(kind);
  if (it != files.end()) return it->second;
  std::string name =
      (std::filesystem::temp_directory_path() / ("zemra_tiff_bench_" + std::to_string(kind) + ".tif")).string();
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(name.c_str(), "w");
  const int samples = kind == kRgbLzw ? 3 : 1;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, samples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, kind == kGreyPackBits ? COMPRESSION_PACKBITS : COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * samples);
  std::uint32_t seed = 1;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t v = Level(x, y, seed);
      if (samples == 3) {
        row[3 * x] = v;
        row[3 * x + 1] = static_cast<std::uint8_t>((v + x) & 0xF0);
        row[3 * x + 2] = static_cast<std::uint8_t>(255 - v);
      } else {
        row[x] = static_cast<std::uint8_t>(v & 0xF8);
      }
    }
    TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
  }
  TIFFClose(tif);
  return files[kind] = name;
}

// libtiff: open, decode every strip, close.
bool LibtiffRead(const std::string& file, std::vector<std::uint8_t>& buffer) {
  TIFF* tif = TIFFOpen(file.c_str(), "r");
  if (!tif) return false;
  const tmsize_t strip = TIFFStripSize(tif);
  buffer.resize(static_cast<std::size_t>(strip));
  bool ok = true;
  for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s)
    ok = ok && TIFFReadEncodedStrip(tif, s, buffer.data(), strip) >= 0;
  TIFFClose(tif);
  return ok;
}

void BM_TevrinDecode(benchmark::State& state) {
  const std::string& file = File(static_cast<Kind>(state.range(0)));
  std::vector<std::uint8_t> buffer;
  bench_support::DecodeVersus(
      state, file, std::int64_t{kWidth} * kHeight,
      [&](HGLOBAL block) { return tevrin::ConvertTIFtoDIB(file.c_str(), 0, nullptr, block, 0, nullptr); },
      "Tevrin refused libtiff's file", "libtiff", [&] { return LibtiffRead(file, buffer); });
}
BENCHMARK(BM_TevrinDecode)
    ->Arg(kRgbLzw)
    ->Arg(kGreyLzw)
    ->Arg(kGreyPackBits)
    ->ArgName("kind_rgblzw0_greylzw1_greypackbits2")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
