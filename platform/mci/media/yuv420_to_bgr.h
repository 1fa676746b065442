// YUV 4:2:0 pictures (what MPEG-4 and most films decode to) to 32-bit
// pixels, 32 at a time with 256-bit vectors. swscale converts 16 at a time
// on x86; this does the very integer arithmetic its vector code does, step
// by step in the same order and with the same saturation, so the pixels are
// the same, in less time, and can write them straight into a window. It is
// taken only where a check against the scaler itself, when the scaler is
// made, finds the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

struct SwsContext;

namespace win::mci::media {

// swscale's fixed-point factors for one range and colour matrix.
struct YuvFactors {
  std::int16_t y = 0;        // luma gain
  std::int16_t yOffset = 0;  // black level, in luma * 8
  std::int16_t ub = 0;       // blue from Cb
  std::int16_t ug = 0;       // green from Cb
  std::int16_t vg = 0;       // green from Cr
  std::int16_t vr = 0;       // red from Cr
};

// One picture's planes: luma rows of `width` bytes, chroma rows of
// (width + 1) / 2, every second luma row sharing one chroma row.
struct YuvPlanes {
  const std::uint8_t* y = nullptr;
  const std::uint8_t* u = nullptr;
  const std::uint8_t* v = nullptr;
  std::ptrdiff_t yStride = 0;  // bytes
  std::ptrdiff_t uStride = 0;
  std::ptrdiff_t vStride = 0;
};

// The factors a scaler from YUV to 32-bit RGB converts with.
YuvFactors FactorsOf(SwsContext* scaler);

// Makes the scaler convert by the colour matrix `colourSpace` (an
// AVColorSpace), as FFmpeg's own tools do for a stream tagged with one
// (BT.709 for most high-definition films); unspecified keeps the scaler's
// default. False when the scaler refuses it.
bool UseColourMatrix(SwsContext* scaler, int colourSpace);

// Whether this processor has the 256-bit vectors the conversion needs.
bool Yuv420VectorsAvailable();

// Converts `width` x `height` pixels into `out` (rows `outStride` pixels
// apart), as bytes B, G, R, 0.
void ConvertYuv420(const YuvFactors& f, const YuvPlanes& in, int width, int height, std::uint32_t* out,
                   std::ptrdiff_t outStride);

// Whether a scaler made for `format` (a 4:2:0 YUV format) to AV_PIX_FMT_BGR0
// with `flags`, converting by the colour matrix `colourSpace` (an
// AVColorSpace; unspecified: the scaler's default), gives the pixels
// ConvertYuv420 gives, on a test picture of every luma level and a spread
// of chroma.
bool Yuv420AgreesWithScaler(int format, int flags, int colourSpace);

}  // namespace win::mci::media
