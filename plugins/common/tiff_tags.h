// The TIFF tag numbers and field types that the TIFF reader and the two
// writers of TIFF data (the TIFF plug-in and the EPS preview) share.
#pragma once

#include <cstdint>

namespace plugins::tiff {

enum Tag : std::uint16_t {
  kNewSubfileType = 254,
  kSubfileType = 255,
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kFillOrder = 266,
  kStripOffsets = 273,
  kOrientation = 274,
  kSamplesPerPixel = 277,
  kRowsPerStrip = 278,
  kStripByteCounts = 279,
  kXResolution = 282,
  kYResolution = 283,
  kPlanarConfiguration = 284,
  kResolutionUnit = 296,
  kSoftware = 305,
  kDateTime = 306,
  kColorMap = 320,
  kTileWidth = 322,
  kTileLength = 323,
  kExtraSamples = 338,
};

enum Type : std::uint16_t {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
};

}  // namespace plugins::tiff
