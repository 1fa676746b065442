#include "eps_lzw.h"

#include <new>

namespace ospray {
namespace {
constexpr unsigned kClear = 256;
constexpr std::size_t kFlushAbove = 250;
}  // namespace

bool LzwEncoder::Start() {
  children_.reset(new (std::nothrow) std::uint32_t[plugins::lzw::kChildTableBytes / 4]);
  if (!children_) return false;
  coder_.reset(new (std::nothrow) Coder(kClear, children_.get(), pending_));
  if (!coder_) return false;
  coder_->Start();
  return true;
}

bool LzwEncoder::Drain(bool all) {
  if (failed_) return false;
  if (out_.empty() || (!all && out_.size() <= kFlushAbove)) return true;
  if (!sink_(out_.data(), out_.size())) failed_ = true;
  out_.clear();
  return !failed_;
}

bool LzwEncoder::Put(const std::uint8_t* data, std::size_t size) {
  if (!coder_) return false;
  // A byte at a time, so that the sink gets its pieces as soon as they are
  // longer than 250.
  for (std::size_t i = 0; i < size; ++i) {
    coder_->Put(data + i, 1);
    if (out_.size() > kFlushAbove && !Drain(false)) return false;
  }
  return Drain(false);
}

bool LzwEncoder::Finish() {
  if (!coder_) return false;
  coder_->Finish();
  return Drain(true);
}

}  // namespace ospray
