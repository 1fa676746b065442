// The LZW coding of Ospray's level 2 image data, the same as TIFF strips:
// codes of 9 to 12 bits, most significant bit first, Clear (256) first,
// the early width switch, a reset with Clear at 12 bits when the next free
// code would be 4094, EndOfInformation (257) last. One stream for the
// whole picture, fed a row at a time; whole bytes go to the sink in pieces
// of more than 250.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/lzw_codec.h"

namespace ospray {

class LzwEncoder {
 public:
  using Sink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

  explicit LzwEncoder(Sink sink) : sink_(std::move(sink)) {}
  // Takes the tables; false when they cannot be had. Writes the leading
  // Clear.
  bool Start();
  // False once a write to the sink failed.
  bool Put(const std::uint8_t* data, std::size_t size);
  // The last string, the end code and the padded last byte.
  bool Finish();

 private:
  // Collects the coder's bytes until they are drained to the sink.
  struct Pending {
    std::vector<std::uint8_t>* bytes;
    void operator()(std::uint8_t b) { bytes->push_back(b); }
  };
  using Coder = plugins::lzw::Encoder<plugins::lzw::TiffOrder, Pending>;

  bool Drain(bool all);

  Sink sink_;
  std::vector<std::uint8_t> out_;
  Pending pending_{&out_};
  std::unique_ptr<std::uint32_t[]> children_;  // 4096 x 12 slots
  std::unique_ptr<Coder> coder_;
  bool failed_ = false;
};

}  // namespace ospray
