#include "tevrin/tiff_lzw.h"

namespace tevrin {
namespace {
constexpr unsigned kClear = 256;
}  // namespace

LzwDecodeResult DecodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outSize) {
  return plugins::lzw::Decode<plugins::lzw::TiffOrder>(in, inSize, kClear, out, outSize);
}

std::size_t EncodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                          std::size_t outSize, std::uint32_t* children) {
  return plugins::lzw::Encode<plugins::lzw::TiffOrder>(in, inSize, kClear, out, outSize, children);
}

}  // namespace tevrin
