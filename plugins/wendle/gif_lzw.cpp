#include "wendle/gif_lzw.h"

namespace wendle {

GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, unsigned minCodeSize,
                          std::uint8_t* out, std::size_t outSize) {
  if (minCodeSize < 1 || minCodeSize > 8) {
    GifLzwResult result;
    result.ok = false;
    result.badCode = minCodeSize < 12 ? 1 << minCodeSize : 4096;  // the clear code it would have
    return result;
  }
  return plugins::lzw::Decode<plugins::lzw::GifOrder>(data, size, 1u << minCodeSize, out, outSize);
}

std::size_t EncodeGifLzw(const std::uint8_t* indices, std::size_t count, unsigned minCodeSize,
                         std::uint8_t* out, std::size_t outSize, std::uint32_t* children) {
  if (minCodeSize < 2 || minCodeSize > 8) return 0;
  return plugins::lzw::Encode<plugins::lzw::GifOrder>(indices, count, 1u << minCodeSize, out, outSize, children);
}

}  // namespace wendle
