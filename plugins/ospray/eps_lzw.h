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

namespace ospray {

class LzwEncoder {
 public:
  using Sink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

  explicit LzwEncoder(Sink sink) : sink_(std::move(sink)) {}
  // Takes the tables; false when the child table cannot be had. Writes the
  // leading Clear.
  bool Start();
  // False once a write to the sink failed.
  bool Put(const std::uint8_t* data, std::size_t size);
  // The last string, the end code and the padded last byte.
  bool Finish();

 private:
  static constexpr int kSlots = 12;
  static constexpr std::uint32_t kEmpty = 4096;
  void Reset();
  void Emit(std::uint32_t code);
  bool Drain(bool all);

  Sink sink_;
  std::unique_ptr<std::uint32_t[]> children_;  // 4096 x 12 slots
  std::uint16_t prefix_[4096] = {};
  std::uint8_t char_[4096] = {};
  std::uint32_t next_ = 258;
  int width_ = 9;
  int current_ = -1;  // the current string's code; -1 right after a Clear
  std::uint32_t acc_ = 0;
  int bits_ = 0;
  std::vector<std::uint8_t> out_;
  bool failed_ = false;
};

}  // namespace ospray
