// bench-libs: zemra_pages Pixolt
// Pictures for the display: smooth scaling (ScaleDib) against pixman
// scaling the same pixels: bilinearly when enlarging, as ScaleDib does, and
// when shrinking both with a box filter (a mean of every source pixel, the
// work ScaleDib does) and bilinearly (four source pixels per target
// pixel, less work, shown for reference), error diffusion to the 236-colour
// palette against ImageMagick's Floyd-Steinberg remap (a process, so its
// time includes starting it), and a page of ten pictures painted through
// the image cache: the first paint decodes each picture, later paints
// decode nothing. After the benchmarks the pairs are timed once more and
// printed as ratios (ours / theirs; below 1 is faster).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pages/picture/cdib.h"
#include "support/pixman_api.h"
#include "pages/picture/dither_table.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/scale_dib.h"
#include "store/cache/file_cache.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace {

constexpr int kSourceW = 1600, kSourceH = 1200;

// A smooth 24-bit picture in a global block.
HGLOBAL MakePicture(int w, int h) {
  const size_t row = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
  HGLOBAL block = GlobalAlloc(GHND, 40 + row * h);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  header->biSize = 40, header->biWidth = w, header->biHeight = h, header->biPlanes = 1, header->biBitCount = 24;
  header->biSizeImage = static_cast<DWORD>(row * h);
  auto* px = reinterpret_cast<BYTE*>(header + 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      BYTE* p = px + row * y + 3 * x;
      p[0] = static_cast<BYTE>(x * 255 / w), p[1] = static_cast<BYTE>(y * 255 / h), p[2] = static_cast<BYTE>((x ^ y) & 255);
    }
  GlobalUnlock(block);
  return block;
}

HGLOBAL Source() {
  static HGLOBAL source = MakePicture(kSourceW, kSourceH);
  return source;
}

void OurScale(int w, int h) {
  HGLOBAL scaled = ScaleDib(Source(), w, h);
  benchmark::DoNotOptimize(scaled);
  GlobalFree(scaled);
}

PixmanApi& Pixman() {
  static PixmanApi api;
  return api;
}

// The same pixels as 32-bit for pixman, scaled bilinearly or, with `box`,
// through a box filter as wide as a target pixel.
void PixmanScale(int w, int h, bool box = false) {
  static std::vector<uint32_t> pixels = [] {
    std::vector<uint32_t> v(static_cast<size_t>(kSourceW) * kSourceH);
    for (int y = 0; y < kSourceH; ++y)
      for (int x = 0; x < kSourceW; ++x)
        v[static_cast<size_t>(y) * kSourceW + x] =
            static_cast<uint32_t>((x * 255 / kSourceW) | (y * 255 / kSourceH) << 8 | ((x ^ y) & 255) << 16);
    return v;
  }();
  PixmanApi& p = Pixman();
  if (!p.ok) return;
  void* src = p.createBits(PixmanApi::kX8R8G8B8, kSourceW, kSourceH, pixels.data(), kSourceW * 4);
  void* dst = p.createBits(PixmanApi::kX8R8G8B8, w, h, nullptr, 0);
  PixmanApi::Transform t{{{PixmanApi::ToFixed(double(kSourceW) / w), 0, 0},
                          {0, PixmanApi::ToFixed(double(kSourceH) / h), 0},
                          {0, 0, PixmanApi::ToFixed(1)}}};
  p.setTransform(src, &t);
  if (box) {
    int n = 0;
    PixmanApi::Fixed* params =
        p.separableFilter(&n, t.m[0][0], t.m[1][1], PixmanApi::kKernelImpulse, PixmanApi::kKernelImpulse,
                          PixmanApi::kKernelBox, PixmanApi::kKernelBox, 0, 0);
    p.setFilter(src, PixmanApi::kFilterSeparableConvolution, params, n);
    std::free(params);
  } else {
    p.setFilter(src, PixmanApi::kFilterBilinear, nullptr, 0);
  }
  p.composite32(PixmanApi::kOpSrc, src, nullptr, dst, 0, 0, 0, 0, 0, 0, w, h);
  benchmark::DoNotOptimize(dst);
  p.unref(dst);
  p.unref(src);
}

CDitherTable& Table236() {
  static CDitherTable* table = [] {
    auto* t = new CDitherTable;
    t->BuildScaleTable();
    t->CreatePalette256();
    return t;
  }();
  return *table;
}

void OurDither() {
  HGLOBAL result = CDib::DiffuseToDitherPalette(Source(), nullptr, Table236());
  benchmark::DoNotOptimize(result);
  GlobalFree(result);
}

std::filesystem::path Dir() {
  static std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("picture-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

bool MagickDither() {
  static bool prepared = [] {
    const std::string ppm = (Dir() / "source.ppm").string();
    FILE* f = std::fopen(ppm.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", kSourceW, kSourceH);
    for (int y = 0; y < kSourceH; ++y)
      for (int x = 0; x < kSourceW; ++x) {
        const unsigned char p[3] = {static_cast<unsigned char>((x ^ y) & 255), static_cast<unsigned char>(y * 255 / kSourceH),
                                    static_cast<unsigned char>(x * 255 / kSourceW)};
        std::fwrite(p, 1, 3, f);
      }
    std::fclose(f);
    return true;
  }();
  if (!prepared) return false;
  const std::string command = "convert " + (Dir() / "source.ppm").string() + " -dither FloydSteinberg -colors 236 " +
                              (Dir() / "out.bmp").string() + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Ten pictures of a page, painted (looked up) through the image cache.
std::vector<CString>& PagePictures() {
  static std::vector<CString> names = [] {
    std::vector<CString> out;
    FileCache& files = TheFileCache();
    files.setDownloader([](const CString& key, CString& file) {
      file = key;
      return 1;
    });
    for (int i = 0; i < 10; ++i) {
      HGLOBAL picture = MakePicture(320 + i, 240);
      const std::string path = (Dir() / ("p" + std::to_string(i) + ".bmp")).string();
      BITMAPINFOHEADER h;
      std::memcpy(&h, GlobalLock(picture), 40);
      FILE* f = std::fopen(path.c_str(), "wb");
      const DWORD size = 14 + 40 + h.biSizeImage;
      const unsigned char head[14] = {'B', 'M', static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8),
                                      static_cast<unsigned char>(size >> 16), 0, 0, 0, 0, 0, 54, 0, 0, 0};
      std::fwrite(head, 1, 14, f);
      std::fwrite(GlobalLock(picture), 1, 40 + h.biSizeImage, f);
      std::fclose(f);
      GlobalUnlock(picture);
      GlobalUnlock(picture);
      GlobalFree(picture);
      out.push_back(path.c_str());
    }
    return out;
  }();
  return names;
}

void PaintPage(ImageCache& cache, const void* page) {
  for (const CString& name : PagePictures()) benchmark::DoNotOptimize(cache.Load(name, 1, page));
}

void BM_ScaleDibShrink(benchmark::State& state) {
  for (auto _ : state) OurScale(640, 480);
}
void BM_PixmanShrink(benchmark::State& state) {
  if (!Pixman().ok) state.SkipWithError("libpixman-1 not found");
  for (auto _ : state) PixmanScale(640, 480);
}
void BM_PixmanShrinkBox(benchmark::State& state) {
  if (!Pixman().ok) state.SkipWithError("libpixman-1 not found");
  for (auto _ : state) PixmanScale(640, 480, true);
}
void BM_ScaleDibEnlarge(benchmark::State& state) {
  for (auto _ : state) OurScale(2400, 1800);
}
void BM_PixmanEnlarge(benchmark::State& state) {
  if (!Pixman().ok) state.SkipWithError("libpixman-1 not found");
  for (auto _ : state) PixmanScale(2400, 1800);
}
void BM_ErrorDiffusion(benchmark::State& state) {
  for (auto _ : state) OurDither();
}
void BM_MagickDither(benchmark::State& state) {
  for (auto _ : state)
    if (!MagickDither()) state.SkipWithError("ImageMagick's convert did not run");
}
void BM_PageFirstPaint(benchmark::State& state) {
  int page = 0;
  for (auto _ : state) {
    ImageCache cache;
    cache.SetMaxBytes(1000000);  // less than the page needs: its pictures stay anyway
    PaintPage(cache, &page);
  }
}
void BM_PageLaterPaints(benchmark::State& state) {
  int page = 0;
  ImageCache cache;
  cache.SetMaxBytes(1000000);
  PaintPage(cache, &page);
  for (auto _ : state) PaintPage(cache, &page);
  state.counters["decodes"] = cache.Decodes();
}

BENCHMARK(BM_ScaleDibShrink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanShrink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanShrinkBox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleDibEnlarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanEnlarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ErrorDiffusion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagickDither)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PageFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageLaterPaints)->Unit(benchmark::kMicrosecond);

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Our time over theirs: the medians of turns taken in alternation, so that
// a change of the machine's load falls on both sides.
double Ratio(const std::function<void()>& ours, const std::function<void()>& theirs, int turns) {
  ours();
  theirs();
  std::vector<double> a, b;
  for (int i = 0; i < turns; ++i) {
    a.push_back(Seconds(ours));
    b.push_back(Seconds(theirs));
  }
  auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  return median(a) / median(b);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (Pixman().ok) {
    std::printf("ScaleDib / pixman box, shrinking:       %.2f\n",
                Ratio([] { OurScale(640, 480); }, [] { PixmanScale(640, 480, true); }, 21));
    std::printf("ScaleDib / pixman bilinear, shrinking:  %.2f\n",
                Ratio([] { OurScale(640, 480); }, [] { PixmanScale(640, 480); }, 21));
    std::printf("ScaleDib / pixman bilinear, enlarging:  %.2f\n",
                Ratio([] { OurScale(2400, 1800); }, [] { PixmanScale(2400, 1800); }, 11));
  }
  std::printf("error diffusion / ImageMagick: %.2f\n", Seconds(OurDither) / Seconds([] { MagickDither(); }));
  std::filesystem::remove_all(Dir());
  benchmark::Shutdown();
  return 0;
}
