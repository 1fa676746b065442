// bench-libs: zemra_wendle_codec gif
//
// GIF decoding throughput of Wendle beside giflib on the same files.
// Wendle reads each file through its file reader (ordinal 2) into a DIB;
// giflib opens the same file and decodes it into its raster (DGifSlurp).
// The counter "vs_giflib" is giflib's time per file divided by Wendle's:
// above 1, Wendle is faster. The files are written once by giflib itself:
// a photograph-like picture (gradients, edges and noise) of 1600 x 1200 in
// 256 colours, plain and interlaced, and in 2 colours.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/decode_versus.h"
#include "wendle/wendle.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

enum Kind { kColors256, kColors256Interlaced, kColors2 };

// The test file of a kind, written once with giflib.
const std::string& File(Kind kind) {
  static std::map<Kind, std::string> files;
  auto it = files.find(kind);
  if (it != files.end()) return it->second;
  std::string name =
      (std::filesystem::temp_directory_path() / ("zemra_gif_bench_" + std::to_string(kind) + ".gif")).string();
  const int colors = kind == kColors2 ? 2 : 256;
  std::vector<GifColorType> palette(static_cast<std::size_t>(colors));
  for (int i = 0; i < colors; ++i)
    palette[static_cast<std::size_t>(i)] = GifColorType{static_cast<GifByteType>(i * 255 / (colors - 1)),
                                                        static_cast<GifByteType>((i * 7) & 0xFF),
                                                        static_cast<GifByteType>(255 - i * 255 / (colors - 1))};
  int error = 0;
  GifFileType* gif = EGifOpenFileName(name.c_str(), false, &error);
  ColorMapObject* map = GifMakeMapObject(colors, palette.data());
  EGifPutScreenDesc(gif, kWidth, kHeight, colors == 2 ? 1 : 8, 0, map);
  const bool interlaced = kind == kColors256Interlaced;
  EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, interlaced, nullptr);
  // Rows in the order the file stores them.
  std::vector<int> order;
  if (interlaced) {
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int p = 0; p < 4; ++p)
      for (int y = starts[p]; y < kHeight; y += steps[p]) order.push_back(y);
  } else {
    for (int y = 0; y < kHeight; ++y) order.push_back(y);
  }
  std::vector<GifPixelType> row(kWidth);
  for (int y : order) {
    std::uint32_t seed = static_cast<std::uint32_t>(y) * 2654435761u + 1;
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525 + 1013904223;
      int noise = (seed >> 28) < 3 ? static_cast<int>(seed >> 24 & 15) : 0;
      int v = std::min(255, (((x / 64 + y / 48) & 1) ? (x * 255 / kWidth) : (y * 255 / kHeight)) + noise);
      row[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(colors == 2 ? v > 127 : v);
    }
    EGifPutLine(gif, row.data(), kWidth);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return files[kind] = name;
}

bool GiflibRead(const std::string& file) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
  if (!gif) return false;
  bool ok = DGifSlurp(gif) == GIF_OK;
  DGifCloseFile(gif, &error);
  return ok;
}

void BM_WendleDecode(benchmark::State& state) {
  const std::string& file = File(static_cast<Kind>(state.range(0)));
  bench_support::DecodeVersus(
      state, file, std::int64_t{kWidth} * kHeight,
      [&](HGLOBAL block) {
        int transparent = -1;
        return wendle::ConvertGIFtoDIB(file.c_str(), 0, nullptr, block, 0, &transparent);
      },
      "Wendle refused giflib's file", "giflib", [&] { return GiflibRead(file); });
}
BENCHMARK(BM_WendleDecode)
    ->Arg(kColors256)
    ->Arg(kColors256Interlaced)
    ->Arg(kColors2)
    ->ArgName("kind_256plain0_256interlaced1_2colours2")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
