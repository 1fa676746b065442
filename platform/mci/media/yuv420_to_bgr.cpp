#include "mci/media/yuv420_to_bgr.h"

#include <immintrin.h>

#include <algorithm>
#include <memory>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace win::mci::media {

namespace {

// Chroma samples, times 8, are taken about this midpoint.
constexpr int kChromaMid = 128 << 3;

std::int16_t RoundToInt16(std::int64_t f) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>((f + (1 << 15)) >> 16, INT16_MIN, INT16_MAX));
}

// The 16-bit vector operations, one lane at a time.
std::int16_t MulHigh(std::int16_t a, std::int16_t b) {
  return static_cast<std::int16_t>((std::int32_t{a} * b) >> 16);
}
std::int16_t AddSaturated(int a, int b) { return static_cast<std::int16_t>(std::clamp(a + b, INT16_MIN, INT16_MAX)); }
std::uint32_t ToByte(int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); }

std::uint32_t Pixel(const YuvFactors& f, int y, int u, int v) {
  const std::int16_t luma = MulHigh(static_cast<std::int16_t>((y << 3) - f.yOffset), f.y);
  const auto cb = static_cast<std::int16_t>((u << 3) - kChromaMid);
  const auto cr = static_cast<std::int16_t>((v << 3) - kChromaMid);
  const int b = AddSaturated(luma, MulHigh(cb, f.ub));
  const int r = AddSaturated(luma, MulHigh(cr, f.vr));
  const int g = AddSaturated(luma, AddSaturated(MulHigh(cb, f.ug), MulHigh(cr, f.vg)));
  return ToByte(r) << 16 | ToByte(g) << 8 | ToByte(b);
}

void RowOneByOne(const YuvFactors& f, const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v, int from,
                 int to, std::uint32_t* out) {
  for (int x = from; x < to; ++x) out[x] = Pixel(f, y[x], u[x >> 1], v[x >> 1]);
}

// The luma steps and the stores of 32 pixels, given their chroma terms.
__attribute__((target("avx2"))) inline void Store32(const std::uint8_t* ys, std::uint32_t* o, __m256i blue,
                                                    __m256i green, __m256i red, __m256i yOffset, __m256i yGain) {
  const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
  const __m256i zero = _mm256_setzero_si256();
  // Even pixels' bytes then odd pixels' (as packed) back into pixel order.
  const __m256i evenOdd = _mm256_setr_epi8(0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 0, 8, 1, 9, 2, 10,
                                           3, 11, 4, 12, 5, 13, 6, 14, 7, 15);
  const __m256i luma = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ys));
  const __m256i even =
      _mm256_mulhi_epi16(_mm256_sub_epi16(_mm256_slli_epi16(_mm256_and_si256(luma, lowBytes), 3), yOffset), yGain);
  const __m256i odd =
      _mm256_mulhi_epi16(_mm256_sub_epi16(_mm256_slli_epi16(_mm256_srli_epi16(luma, 8), 3), yOffset), yGain);
  const __m256i b = _mm256_shuffle_epi8(
      _mm256_packus_epi16(_mm256_adds_epi16(even, blue), _mm256_adds_epi16(odd, blue)), evenOdd);
  const __m256i g = _mm256_shuffle_epi8(
      _mm256_packus_epi16(_mm256_adds_epi16(even, green), _mm256_adds_epi16(odd, green)), evenOdd);
  const __m256i r =
      _mm256_shuffle_epi8(_mm256_packus_epi16(_mm256_adds_epi16(even, red), _mm256_adds_epi16(odd, red)), evenOdd);
  // Each 128-bit half holds 16 pixels: 0-15 and 16-31.
  const __m256i bgLow = _mm256_unpacklo_epi8(b, g), bgHigh = _mm256_unpackhi_epi8(b, g);
  const __m256i r0Low = _mm256_unpacklo_epi8(r, zero), r0High = _mm256_unpackhi_epi8(r, zero);
  const __m256i p0 = _mm256_unpacklo_epi16(bgLow, r0Low);    // pixels 0-3 and 16-19
  const __m256i p1 = _mm256_unpackhi_epi16(bgLow, r0Low);    // 4-7 and 20-23
  const __m256i p2 = _mm256_unpacklo_epi16(bgHigh, r0High);  // 8-11 and 24-27
  const __m256i p3 = _mm256_unpackhi_epi16(bgHigh, r0High);  // 12-15 and 28-31
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), _mm256_permute2x128_si256(p0, p1, 0x20));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 8), _mm256_permute2x128_si256(p2, p3, 0x20));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 16), _mm256_permute2x128_si256(p0, p1, 0x31));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 24), _mm256_permute2x128_si256(p2, p3, 0x31));
}

__attribute__((target("avx2"))) void ConvertWithVectors(const YuvFactors& f, const YuvPlanes& in, int width,
                                                        int height, std::uint32_t* out, std::ptrdiff_t outStride) {
  const __m256i yOffset = _mm256_set1_epi16(f.yOffset);
  const __m256i yGain = _mm256_set1_epi16(f.y);
  const __m256i ub = _mm256_set1_epi16(f.ub);
  const __m256i ug = _mm256_set1_epi16(f.ug);
  const __m256i vg = _mm256_set1_epi16(f.vg);
  const __m256i vr = _mm256_set1_epi16(f.vr);
  const __m256i mid = _mm256_set1_epi16(kChromaMid);
  const int whole = width & ~31;
  // Two rows at a time: they share their chroma row, whose terms are
  // worked out once for both.
  for (int row = 0; row < height; row += 2) {
    const bool pair = row + 1 < height;
    const std::uint8_t* y0 = in.y + row * in.yStride;
    const std::uint8_t* y1 = pair ? y0 + in.yStride : y0;
    const std::uint8_t* us = in.u + (row >> 1) * in.uStride;
    const std::uint8_t* vs = in.v + (row >> 1) * in.vStride;
    std::uint32_t* o0 = out + row * outStride;
    std::uint32_t* o1 = pair ? o0 + outStride : o0;
    for (int x = 0; x < whole; x += 32) {
      // 16 chroma pairs for 32 pixels: pixels 2k and 2k + 1 take pair k.
      const __m256i cb = _mm256_subs_epi16(
          _mm256_slli_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(us + x / 2))), 3),
          mid);
      const __m256i cr = _mm256_subs_epi16(
          _mm256_slli_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(vs + x / 2))), 3),
          mid);
      const __m256i blue = _mm256_mulhi_epi16(cb, ub);
      const __m256i red = _mm256_mulhi_epi16(cr, vr);
      const __m256i green = _mm256_adds_epi16(_mm256_mulhi_epi16(cb, ug), _mm256_mulhi_epi16(cr, vg));
      Store32(y0 + x, o0 + x, blue, green, red, yOffset, yGain);
      if (pair) Store32(y1 + x, o1 + x, blue, green, red, yOffset, yGain);
    }
    RowOneByOne(f, y0, us, vs, whole, width, o0);
    if (pair) RowOneByOne(f, y1, us, vs, whole, width, o1);
  }
}

struct FreeScaler {
  void operator()(SwsContext* c) const { sws_freeContext(c); }
};

}  // namespace

YuvFactors FactorsOf(SwsContext* scaler) {
  int* inverse = nullptr;
  int* table = nullptr;
  int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
  if (sws_getColorspaceDetails(scaler, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast,
                               &saturation) < 0 ||
      !inverse) {
    return YuvFactors{};
  }
  std::int64_t cr = inverse[0], cbBlue = inverse[1], cbGreen = -inverse[2], crGreen = -inverse[3];
  std::int64_t gain = 1 << 16, offset = 0;
  if (srcRange) {
    // Full-range chroma spans 255 steps where the limited spans 224.
    cr = cr * 224 / 255;
    cbBlue = cbBlue * 224 / 255;
    cbGreen = cbGreen * 224 / 255;
    crGreen = crGreen * 224 / 255;
  } else {
    gain = gain * 255 / 219;
    offset = 16 << 16;
  }
  gain = (gain * contrast) >> 16;
  cr = (cr * contrast * saturation) >> 32;
  cbBlue = (cbBlue * contrast * saturation) >> 32;
  cbGreen = (cbGreen * contrast * saturation) >> 32;
  crGreen = (crGreen * contrast * saturation) >> 32;
  offset -= 256LL * brightness;
  YuvFactors f;
  f.y = RoundToInt16(gain * (1 << 13));
  f.vr = RoundToInt16(cr * (1 << 13));
  f.ub = RoundToInt16(cbBlue * (1 << 13));
  f.vg = RoundToInt16(crGreen * (1 << 13));
  f.ug = RoundToInt16(cbGreen * (1 << 13));
  f.yOffset = RoundToInt16(offset * (1 << 3));
  return f;
}

bool UseColourMatrix(SwsContext* scaler, int colourSpace) {
  if (colourSpace == AVCOL_SPC_UNSPECIFIED) return true;
  int* inverse = nullptr;
  int* table = nullptr;
  int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
  if (sws_getColorspaceDetails(scaler, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast,
                               &saturation) < 0)
    return false;
  return sws_setColorspaceDetails(scaler, sws_getCoefficients(colourSpace), srcRange, table, dstRange, brightness,
                                  contrast, saturation) >= 0;
}

bool Yuv420VectorsAvailable() { return __builtin_cpu_supports("avx2"); }

void ConvertYuv420(const YuvFactors& f, const YuvPlanes& in, int width, int height, std::uint32_t* out,
                   std::ptrdiff_t outStride) {
  if (Yuv420VectorsAvailable()) {
    ConvertWithVectors(f, in, width, height, out, outStride);
    return;
  }
  for (int row = 0; row < height; ++row)
    RowOneByOne(f, in.y + row * in.yStride, in.u + (row >> 1) * in.uStride, in.v + (row >> 1) * in.vStride, 0,
                width, out + row * outStride);
}

bool Yuv420AgreesWithScaler(int format, int flags, int colourSpace) {
  // Every luma level on each row, chroma from a simple generator with its
  // extremes; a width past the vectors' 32 pixels, ending on the scaler's
  // 16, so that both convert every pixel.
  constexpr int kWidth = 272, kHeight = 16, kChromaWidth = kWidth / 2, kChromaHeight = kHeight / 2;
  std::vector<std::uint8_t> y(kWidth * kHeight), u(kChromaWidth * kChromaHeight), v(u.size());
  for (int row = 0; row < kHeight; ++row)
    for (int x = 0; x < kWidth; ++x) y[row * kWidth + x] = static_cast<std::uint8_t>(x + 37 * row);
  std::uint32_t seed = 12345;
  for (std::size_t i = 0; i < u.size(); ++i) {
    seed = seed * 1103515245u + 12345u;
    u[i] = static_cast<std::uint8_t>(seed >> 16);
    v[i] = static_cast<std::uint8_t>(seed >> 24);
  }
  u[0] = 0, v[0] = 255, u[1] = 255, v[1] = 0, u[2] = 0, v[2] = 0, u[3] = 255, v[3] = 255;
  std::unique_ptr<SwsContext, FreeScaler> scaler(sws_getContext(kWidth, kHeight, static_cast<AVPixelFormat>(format),
                                                                kWidth, kHeight, AV_PIX_FMT_BGR0, flags, nullptr,
                                                                nullptr, nullptr));
  if (!scaler || !UseColourMatrix(scaler.get(), colourSpace)) return false;
  std::vector<std::uint32_t> theirs(kWidth * kHeight), ours(kWidth * kHeight);
  const std::uint8_t* planes[3] = {y.data(), u.data(), v.data()};
  const int strides[3] = {kWidth, kChromaWidth, kChromaWidth};
  std::uint8_t* dst[1] = {reinterpret_cast<std::uint8_t*>(theirs.data())};
  const int dstStrides[1] = {kWidth * 4};
  if (sws_scale(scaler.get(), planes, strides, 0, kHeight, dst, dstStrides) != kHeight) return false;
  ConvertYuv420(FactorsOf(scaler.get()), YuvPlanes{y.data(), u.data(), v.data(), kWidth, kChromaWidth, kChromaWidth},
                kWidth, kHeight, ours.data(), kWidth);
  for (std::size_t i = 0; i < ours.size(); ++i)
    if ((theirs[i] & 0xFFFFFFu) != ours[i]) return false;
  return true;
}

}  // namespace win::mci::media
