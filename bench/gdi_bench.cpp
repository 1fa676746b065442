// The software GDI against pixman on the same work: StretchDIBits of a large
// 24-bit and 8-bit DIB to a true-colour surface (nearest pixel), BitBlt
// SRCCOPY between two true-colour surfaces, and FillRect. pixman is loaded
// at run time (libpixman-1); without it only our numbers are shown. pixman
// is given every way it has of doing the work and the fastest one counts:
// a stretch either in one step from the DIB's own format (its general
// path) or converted to 32 bits first and then scaled (its fast nearest
// path); a copy either as a composite or as pixman_blt. After the
// benchmarks, each pair is timed once more and printed as a ratio
// (the median of our times over pixman's; below 1 is faster).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "gdi/dc.h"
#include "support/median.h"
#include "support/pixman_api.h"
#include "win/gdi.h"

namespace {

constexpr int kSrcW = 1600, kSrcH = 1200;  // the DIBs
constexpr int kDstW = 2048, kDstH = 1536;  // the surface (a stretch of 1.28)

PixmanApi& Pixman() {
  static PixmanApi api;
  return api;
}

// A top-down packed DIB (so both sides read rows in the same order).
struct Dib {
  std::vector<std::uint8_t> block;
  std::size_t bitsOffset = 0;
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(block.data()); }
  const std::uint8_t* bits() const { return block.data() + bitsOffset; }
};

Dib MakeDib(int bits) {
  Dib d;
  std::size_t stride = ((std::size_t(kSrcW) * bits + 31) / 32) * 4;
  std::size_t table = bits == 8 ? 256 * 4 : 0;
  d.bitsOffset = 40 + table;
  d.block.assign(d.bitsOffset + stride * kSrcH, 0);
  BITMAPINFOHEADER h{40, kSrcW, -kSrcH, 1, WORD(bits), BI_RGB, DWORD(stride * kSrcH), 0, 0,
                     bits == 8 ? 256u : 0u, 0};
  std::memcpy(d.block.data(), &h, 40);
  for (int i = 0; bits == 8 && i < 256; ++i) {
    std::uint8_t* q = d.block.data() + 40 + i * 4;
    q[0] = std::uint8_t(i * 3);
    q[1] = std::uint8_t(255 - i);
    q[2] = std::uint8_t(i * 7);
  }
  std::uint32_t seed = 12345;
  for (std::size_t i = d.bitsOffset; i < d.block.size(); ++i) {
    seed = seed * 1103515245 + 12345;
    d.block[i] = std::uint8_t(seed >> 16);
  }
  return d;
}

struct Target {
  HDC dc;
  HBITMAP bm;
  win::gdi::Surface* surface;
  Target() {
    win::SetDisplayBitsPerPixel(24);
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bm = CreateCompatibleBitmap(screen, kDstW, kDstH);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bm);
    surface = win::gdi::DcSurface(*win::gdi::LookupDc(dc));
  }
};

Target& TheTarget() {
  static Target t;
  return t;
}

void OursStretch(const Dib& d) {
  Target& t = TheTarget();
  SetStretchBltMode(t.dc, COLORONCOLOR);
  StretchDIBits(t.dc, 0, 0, kDstW, kDstH, 0, 0, kSrcW, kSrcH, d.bits(), d.info(), DIB_RGB_COLORS,
                SRCCOPY);
}

void OursFill() {
  Target& t = TheTarget();
  static HBRUSH b = CreateSolidBrush(RGB(12, 200, 99));
  RECT r{0, 0, kDstW, kDstH};
  FillRect(t.dc, &r, b);
}

// The DIB as a pixman image of its own format (the caller unrefs it).
PixmanApi::Image* PixmanDib(const Dib& d, int bits) {
  PixmanApi& p = Pixman();
  static PixmanApi::Indexed* indexed = nullptr;
  std::size_t stride = ((std::size_t(kSrcW) * bits + 31) / 32) * 4;
  auto* src = p.createBits(bits == 8 ? PixmanApi::kC8 : PixmanApi::kR8G8B8, kSrcW, kSrcH,
                           reinterpret_cast<std::uint32_t*>(const_cast<std::uint8_t*>(d.bits())),
                           int(stride));
  if (bits == 8) {
    if (!indexed) {
      indexed = new PixmanApi::Indexed{};
      for (int i = 0; i < 256; ++i) {
        const std::uint8_t* q = d.block.data() + 40 + i * 4;
        indexed->rgba[i] = 0xFF000000u | std::uint32_t(q[2]) << 16 | std::uint32_t(q[1]) << 8 | q[0];
      }
    }
    p.setIndexed(src, indexed);
  }
  return src;
}

// Scales `src` (kSrcW x kSrcH, any format) onto the target, nearest pixel.
void PixmanScaleToTarget(PixmanApi::Image* src) {
  PixmanApi& p = Pixman();
  Target& t = TheTarget();
  auto* dst = p.createBits(PixmanApi::kX8R8G8B8, kDstW, kDstH, t.surface->pixels(), kDstW * 4);
  PixmanApi::Transform tr{};
  tr.m[0][0] = PixmanApi::Fixed((std::int64_t(kSrcW) << 16) / kDstW);
  tr.m[1][1] = PixmanApi::Fixed((std::int64_t(kSrcH) << 16) / kDstH);
  tr.m[2][2] = 1 << 16;
  p.setTransform(src, &tr);
  p.setFilter(src, PixmanApi::kFilterNearest, nullptr, 0);
  p.composite32(PixmanApi::kOpSrc, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kDstW, kDstH);
  p.unref(dst);
}

// In one composite from the DIB's format.
void PixmanStretch(const Dib& d, int bits) {
  auto* src = PixmanDib(d, bits);
  PixmanScaleToTarget(src);
  Pixman().unref(src);
}

// Converted to x8r8g8b8 first, then scaled by the 32-bit nearest path.
void PixmanStretchInTwo(const Dib& d, int bits) {
  PixmanApi& p = Pixman();
  static std::vector<std::uint32_t> wide(std::size_t(kSrcW) * kSrcH);
  auto* src = PixmanDib(d, bits);
  auto* mid = p.createBits(PixmanApi::kX8R8G8B8, kSrcW, kSrcH, wide.data(), kSrcW * 4);
  p.composite32(PixmanApi::kOpSrc, src, nullptr, mid, 0, 0, 0, 0, 0, 0, kSrcW, kSrcH);
  PixmanScaleToTarget(mid);
  p.unref(mid);
  p.unref(src);
}

// A second true-colour surface of the target's size to copy from.
struct CopySource {
  HDC dc;
  HBITMAP bm;
  win::gdi::Surface* surface;
  CopySource() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bm = CreateCompatibleBitmap(screen, kDstW, kDstH);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bm);
    surface = win::gdi::DcSurface(*win::gdi::LookupDc(dc));
    std::uint32_t seed = 777;
    std::uint32_t* px = surface->pixels();
    for (std::size_t i = 0; i < std::size_t(kDstW) * kDstH; ++i) {
      seed = seed * 1103515245 + 12345;
      px[i] = (seed >> 8) & 0xFFFFFFu;
    }
  }
};

CopySource& TheCopySource() {
  static CopySource c;
  return c;
}

void OursCopy() {
  BitBlt(TheTarget().dc, 0, 0, kDstW, kDstH, TheCopySource().dc, 0, 0, SRCCOPY);
}

void PixmanCopyComposite() {
  PixmanApi& p = Pixman();
  auto* src = p.createBits(PixmanApi::kX8R8G8B8, kDstW, kDstH, TheCopySource().surface->pixels(), kDstW * 4);
  auto* dst = p.createBits(PixmanApi::kX8R8G8B8, kDstW, kDstH, TheTarget().surface->pixels(), kDstW * 4);
  p.composite32(PixmanApi::kOpSrc, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kDstW, kDstH);
  p.unref(src);
  p.unref(dst);
}

void PixmanCopyBlt() {
  Pixman().blt(TheCopySource().surface->pixels(), TheTarget().surface->pixels(), kDstW, kDstW, 32, 32, 0, 0, 0, 0,
               kDstW, kDstH);
}

void PixmanFill() {
  Target& t = TheTarget();
  Pixman().fill(t.surface->pixels(), kDstW, 32, 0, 0, kDstW, kDstH, 0x0C63C6u);
}

const Dib& Dib24() {
  static Dib d = MakeDib(24);
  return d;
}
const Dib& Dib8() {
  static Dib d = MakeDib(8);
  return d;
}

void BM_StretchDIBits24(benchmark::State& s) {
  for (auto _ : s) OursStretch(Dib24());
}
void BM_StretchDIBits8(benchmark::State& s) {
  for (auto _ : s) OursStretch(Dib8());
}
void BM_Pixman24InTwo(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanStretchInTwo(Dib24(), 24);
}
void BM_Pixman8InTwo(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanStretchInTwo(Dib8(), 8);
}
void BM_BitBltCopy(benchmark::State& s) {
  for (auto _ : s) OursCopy();
}
void BM_PixmanCopyComposite(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanCopyComposite();
}
void BM_PixmanCopyBlt(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanCopyBlt();
}
void BM_FillRect(benchmark::State& s) {
  for (auto _ : s) OursFill();
}
void BM_Pixman24(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanStretch(Dib24(), 24);
}
void BM_Pixman8(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanStretch(Dib8(), 8);
}
void BM_PixmanFill(benchmark::State& s) {
  if (!Pixman().ok) s.SkipWithError("libpixman-1 not found");
  for (auto _ : s) PixmanFill();
}

BENCHMARK(BM_StretchDIBits24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman24InTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchDIBits8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman8InTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BitBltCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanCopyComposite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanCopyBlt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanFill)->Unit(benchmark::kMillisecond);

double Seconds(const std::function<void()>& fn) {
  auto t0 = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!Pixman().ok) {
    std::printf("pixman not found: no ratios\n");
    return 0;
  }
  // pixman's side: the fastest of its ways.
  struct Pair {
    const char* name;
    std::function<void()> ours;
    std::vector<std::function<void()>> theirs;
  } pairs[] = {
      {"StretchDIBits 24-bit",
       [] { OursStretch(Dib24()); },
       {[] { PixmanStretch(Dib24(), 24); }, [] { PixmanStretchInTwo(Dib24(), 24); }}},
      {"StretchDIBits 8-bit",
       [] { OursStretch(Dib8()); },
       {[] { PixmanStretch(Dib8(), 8); }, [] { PixmanStretchInTwo(Dib8(), 8); }}},
      {"BitBlt SRCCOPY", [] { OursCopy(); }, {[] { PixmanCopyComposite(); }, [] { PixmanCopyBlt(); }}},
      {"FillRect", [] { OursFill(); }, {[] { PixmanFill(); }}},
  };
  // The two sides take turns, so that a change of the machine's load falls
  // on both; the medians of the turns are compared.
  constexpr int kTurns = 21;
  for (const Pair& p : pairs) {
    p.ours();
    for (const auto& way : p.theirs) way();
    std::vector<double> ours;
    std::vector<std::vector<double>> theirs(p.theirs.size());
    for (int turn = 0; turn < kTurns; ++turn) {
      ours.push_back(Seconds(p.ours));
      for (std::size_t w = 0; w < p.theirs.size(); ++w) theirs[w].push_back(Seconds(p.theirs[w]));
    }
    double a = bench_support::Median(ours), b = 1e9;
    for (const auto& t : theirs) b = std::min(b, bench_support::Median(t));
    std::printf("%-22s ours %8.2f ms  pixman %8.2f ms  ratio %.2f\n", p.name, a * 1e3, b * 1e3, a / b);
  }
  return 0;
}
