// bench-libs: Pixolt
// The image library against netpbm on the same files: BMP decoding (ReadDIB
// against bmptopnm, for 24-bit, 8-bit and RLE8 files of 2048 x 1536) and
// median-cut reduction of a 640 x 480 picture to 256 colours (ReduceColors
// against pnmquant). The files are made by ImageMagick at start. Pixolt is
// loaded from the build's bin directory and bound by ordinal, as its
// callers bind it. After the benchmarks each pair is timed once more and
// printed as a ratio (ours / netpbm; below 1 is faster). netpbm runs as a
// process that writes a PPM; for the ratio ours does the same work: this
// program run as a small command (`--decode FILE`, `--reduce FILE`) that
// reads the file, converts it and writes the PPM.
// In this process, the 24- and 8-bit files are also decoded from the same
// bytes in memory by ReadMemDIBEx and by stb_image, taking turns; the
// ratio printed as vs_stb_image is stb_image's median time over ours (above
// 1 is faster). stb_image turns the 8-bit file into RGB while we keep the
// palette DIB; it does not read RLE8 files, so those have no partner here.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pixolt.h"
#include "support/dib_to_ppm.h"
#include "win/module.h"
#include "win/path_map.h"
#include "win/windows.h"

// Only the BMP reader: the same decoder a program using stb_image for BMP
// files would carry.
#define STBI_ONLY_BMP
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

struct Api {
  decltype(&ReadDIB) readDib = nullptr;
  decltype(&ReduceColors) reduce = nullptr;
  decltype(&RLEtoDIB) rleToDib = nullptr;
  decltype(&ReadMemDIBEx) readMemDib = nullptr;
} api;

std::filesystem::path g_dir;

std::string File(const char* name) { return (g_dir / name).string(); }

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

bool LoadPixolt() {
  std::string lib = win::ProgramHostDirectory() + "/../bin/Pixolt.DLL";
  HMODULE pixolt = LoadLibrary(lib.c_str());
  if (!pixolt) {
    std::printf("Pixolt not found at %s (build the Pixolt target)\n", lib.c_str());
    return false;
  }
  api.readDib = reinterpret_cast<decltype(&ReadDIB)>(GetProcAddress(pixolt, MAKEINTRESOURCE(PIXOLT_ORD_ReadDIB)));
  api.reduce = reinterpret_cast<decltype(&ReduceColors)>(GetProcAddress(pixolt, MAKEINTRESOURCE(PIXOLT_ORD_ReduceColors)));
  api.rleToDib = reinterpret_cast<decltype(&RLEtoDIB)>(GetProcAddress(pixolt, MAKEINTRESOURCE(PIXOLT_ORD_RLEtoDIB)));
  api.readMemDib =
      reinterpret_cast<decltype(&ReadMemDIBEx)>(GetProcAddress(pixolt, MAKEINTRESOURCE(PIXOLT_ORD_ReadMemDIBEx)));
  return api.readDib && api.reduce && api.rleToDib && api.readMemDib;
}

bool Prepare() {
  if (!LoadPixolt()) return false;
  g_dir = std::filesystem::temp_directory_path() / ("pixolt-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(g_dir);
  std::string source = File("source.ppm");
  return Run("convert -size 2048x1536 -seed 3 plasma:fractal -blur 0x1 ppm:" + source) &&
         Run("convert " + source + " -type TrueColor BMP3:" + File("rgb.bmp")) &&
         Run("convert " + source + " -colors 256 -compress None BMP3:" + File("c256.bmp")) &&
         Run("convert " + source + " -colors 256 -compress RLE BMP3:" + File("rle8.bmp")) &&
         // pnmquant slows down sharply with the number of colours: a
         // smaller picture for the reduction.
         Run("convert " + source + " -resize 640x480 ppm:" + File("small.ppm")) &&
         Run("convert " + File("small.ppm") + " -type TrueColor BMP3:" + File("small.bmp"));
}

HGLOBAL Read(const std::string& path) {
  HGLOBAL dib = api.readDib(path.c_str(), GlobalAlloc(GHND, 44));
  if (dib) {
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    bool rle = h->biCompression != 0;
    GlobalUnlock(dib);
    if (rle) {
      HGLOBAL plain = api.rleToDib(dib);
      GlobalFree(dib);
      dib = plain;
    }
  }
  return dib;
}

void Decode(const char* name) {
  HGLOBAL dib = Read(File(name));
  benchmark::DoNotOptimize(dib);
  GlobalFree(dib);
}

// The files' bytes, read once, for the decoders that work from memory.
std::vector<std::uint8_t> g_rgbBytes, g_c256Bytes;

std::vector<std::uint8_t> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A palette DIB stays one; a 24-bit one stays 24-bit.
bool DecodeMemory(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL dib = api.readMemDib(bytes.data(), static_cast<DWORD>(bytes.size()), GlobalAlloc(GHND, 44));
  benchmark::DoNotOptimize(dib);
  GlobalFree(dib);
  return dib != nullptr;
}

// stb_image gives 8-bit files as RGB, 24-bit ones as they are (RGB).
bool StbDecode(const std::vector<std::uint8_t>& bytes) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 0);
  benchmark::DoNotOptimize(pixels);
  stbi_image_free(pixels);
  return pixels != nullptr;
}

void NetpbmDecode(const char* name) { Run("bmptopnm " + File(name) + " > /dev/null 2>&1"); }

// This program as a command doing what the netpbm command does.
void OursAsCommand(const char* mode, const std::string& file) {
  Run("'" + std::filesystem::read_symlink("/proc/self/exe").string() + "' " + mode + " '" + file +
      "' > /dev/null 2>&1");
}

HGLOBAL g_rgb = nullptr;

void Reduce() { GlobalFree(api.reduce(g_rgb, 8, PIXOLT_REDUCE_MEDIANCUT)); }

void Pnmquant() { Run("pnmquant -nofs 256 " + File("small.ppm") + " > /dev/null 2>&1"); }

void BM_ReadDib24(benchmark::State& s) {
  for (auto _ : s) Decode("rgb.bmp");
}
void BM_Bmptopnm24(benchmark::State& s) {
  for (auto _ : s) NetpbmDecode("rgb.bmp");
}
void BM_ReadDib8(benchmark::State& s) {
  for (auto _ : s) Decode("c256.bmp");
}
void BM_Bmptopnm8(benchmark::State& s) {
  for (auto _ : s) NetpbmDecode("c256.bmp");
}
void BM_ReadDibRle8(benchmark::State& s) {
  for (auto _ : s) Decode("rle8.bmp");
}
void BM_BmptopnmRle8(benchmark::State& s) {
  for (auto _ : s) NetpbmDecode("rle8.bmp");
}
void BM_ReadMemDib24(benchmark::State& s) {
  for (auto _ : s) DecodeMemory(g_rgbBytes);
}
void BM_StbBmp24(benchmark::State& s) {
  for (auto _ : s) StbDecode(g_rgbBytes);
}
void BM_ReadMemDib8(benchmark::State& s) {
  for (auto _ : s) DecodeMemory(g_c256Bytes);
}
void BM_StbBmp8(benchmark::State& s) {
  for (auto _ : s) StbDecode(g_c256Bytes);
}
void BM_MedianCut(benchmark::State& s) {
  for (auto _ : s) Reduce();
}
void BM_Pnmquant(benchmark::State& s) {
  for (auto _ : s) Pnmquant();
}

double Seconds(const std::function<void()>& work, int reps) {
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

// Whether our DIB and stb_image's RGB hold the same picture: the ratio means
// nothing if one of them skipped work.
bool SamePicture(const std::vector<std::uint8_t>& bytes) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgb = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3);
  HGLOBAL dib = api.readMemDib(bytes.data(), static_cast<DWORD>(bytes.size()), GlobalAlloc(GHND, 44));
  bool same = rgb && dib;
  if (same) {
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    const auto* palette = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const std::uint8_t*>(h) + h->biSize);
    const int colours = h->biBitCount == 8 ? (h->biClrUsed ? static_cast<int>(h->biClrUsed) : 256) : 0;
    const auto* bits = reinterpret_cast<const std::uint8_t*>(palette + colours);
    const std::size_t stride = ((static_cast<std::size_t>(h->biWidth) * h->biBitCount + 31) / 32) * 4;
    same = h->biWidth == width && h->biHeight == height && (h->biBitCount == 24 || h->biBitCount == 8);
    for (int y = 0; same && y < height; ++y) {
      const std::uint8_t* row = bits + static_cast<std::size_t>(height - 1 - y) * stride;
      for (int x = 0; same && x < width; ++x) {
        const stbi_uc* want = rgb + (static_cast<std::size_t>(y) * width + x) * 3;
        std::uint8_t r, g, b;
        if (h->biBitCount == 24) {
          b = row[x * 3], g = row[x * 3 + 1], r = row[x * 3 + 2];
        } else {
          const RGBQUAD& q = palette[row[x]];
          b = q.rgbBlue, g = q.rgbGreen, r = q.rgbRed;
        }
        same = want[0] == r && want[1] == g && want[2] == b;
      }
    }
    GlobalUnlock(dib);
  }
  stbi_image_free(rgb);
  GlobalFree(dib);
  return same;
}

// Ours and stb_image's decoding of the same bytes, taking turns; the
// medians' ratio, stb_image's over ours.
void PrintVsStbImage(const char* name, const std::vector<std::uint8_t>& bytes) {
  if (!SamePicture(bytes)) {
    std::printf("%-16s the decoders disagree or one refused the file: no ratio\n", name);
    return;
  }
  constexpr int kTurns = 15;
  std::vector<double> ours, stb;
  for (int i = 0; i < kTurns; ++i) {
    ours.push_back(Seconds([&] { DecodeMemory(bytes); }, 1));
    stb.push_back(Seconds([&] { StbDecode(bytes); }, 1));
  }
  auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  };
  double a = median(ours), b = median(stb);
  std::printf("%-16s ours %8.2f ms  stb_image %8.2f ms  vs_stb_image %.2f\n", name, a * 1e3, b * 1e3, b / a);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("ZEMRA_HEADLESS", "1", 0);
  if (argc == 3 && (std::string(argv[1]) == "--decode" || std::string(argv[1]) == "--reduce")) {
    if (!LoadPixolt()) return 1;
    HGLOBAL dib = Read(argv[2]);
    if (dib && std::string(argv[1]) == "--reduce") {
      HGLOBAL reduced = api.reduce(dib, 8, PIXOLT_REDUCE_MEDIANCUT);
      GlobalFree(dib);
      dib = reduced;
    }
    const bool ok = dib && bench_support::WriteDibAsPpm(dib, stdout);
    GlobalFree(dib);
    return ok ? 0 : 1;
  }
  if (!Prepare()) {
    std::printf("ImageMagick's convert or the library is missing: nothing to compare\n");
    return 0;
  }
  g_rgb = Read(File("small.bmp"));
  g_rgbBytes = Slurp(File("rgb.bmp"));
  g_c256Bytes = Slurp(File("c256.bmp"));
  BENCHMARK(BM_ReadDib24)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_Bmptopnm24)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_ReadDib8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_Bmptopnm8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_ReadDibRle8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_BmptopnmRle8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_ReadMemDib24)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_StbBmp24)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_ReadMemDib8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_StbBmp8)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_MedianCut)->Unit(benchmark::kMillisecond);
  BENCHMARK(BM_Pnmquant)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("from the same bytes in memory, in this process (RLE8: stb_image cannot read it):\n");
  PrintVsStbImage("decode 24-bit", g_rgbBytes);
  PrintVsStbImage("decode 8-bit", g_c256Bytes);

  struct Pair {
    const char* name;
    std::function<void()> ours, theirs;
  } pairs[] = {
      {"decode 24-bit", [] { Decode("rgb.bmp"); }, [] { NetpbmDecode("rgb.bmp"); }},
      {"decode 8-bit", [] { Decode("c256.bmp"); }, [] { NetpbmDecode("c256.bmp"); }},
      {"decode RLE8", [] { Decode("rle8.bmp"); }, [] { NetpbmDecode("rle8.bmp"); }},
      {"median cut 256", Reduce, Pnmquant},
  };
  Pair commands[] = {
      {"decode 24-bit", [] { OursAsCommand("--decode", File("rgb.bmp")); }, [] { NetpbmDecode("rgb.bmp"); }},
      {"decode 8-bit", [] { OursAsCommand("--decode", File("c256.bmp")); }, [] { NetpbmDecode("c256.bmp"); }},
      {"decode RLE8", [] { OursAsCommand("--decode", File("rle8.bmp")); }, [] { NetpbmDecode("rle8.bmp"); }},
      {"median cut 256", [] { OursAsCommand("--reduce", File("small.bmp")); }, Pnmquant},
  };
  if (std::system("command -v bmptopnm >/dev/null && command -v pnmquant >/dev/null") != 0) {
    std::printf("netpbm not found: no ratios\n");
  } else {
    std::printf("in this process against netpbm's process (not the same work):\n");
    for (const Pair& p : pairs) {
      double a = Seconds(p.ours, 5), b = Seconds(p.theirs, 5);
      std::printf("%-16s ours %8.2f ms  netpbm %8.2f ms  ratio %.2f\n", p.name, a * 1e3, b * 1e3, a / b);
    }
    std::printf("process against process, file to PPM (the ratio to go by):\n");
    for (const Pair& p : commands) {
      double a = Seconds(p.ours, 5), b = Seconds(p.theirs, 5);
      std::printf("%-16s ours %8.2f ms  netpbm %8.2f ms  ratio %.2f\n", p.name, a * 1e3, b * 1e3, a / b);
    }
  }
  GlobalFree(g_rgb);
  std::filesystem::remove_all(g_dir);
  return 0;
}
